// What a --columns list says each field of a line holds: the one reading
// of such lists for point files and common-point files, each with its own
// kinds of field.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "batch/run_error.h"
#include "number/number_text.h"

namespace torvane {

// One way of writing a kind of field in a list ("x", "skip").
template <class Field>
struct ColumnSpelling {
  std::string_view text;
  Field field;
};

// The first spelling of `field` in `spellings`, or "-" where it has none.
template <class Field>
std::string_view ColumnName(std::span<const ColumnSpelling<Field>> spellings, Field field) {
  for (const ColumnSpelling<Field>& spelling : spellings) {
    if (spelling.field == field) return spelling.text;
  }
  return "-";
}

// The kinds of `list`, items separated by commas, blanks around an item
// ignored, each one of `spellings` in any case. Rejects, quoting the list:
// an empty item, one that is not spelled in `spellings` (the message lists
// `choices`, e.g. "name, code, x, y, h, - or skip"), a kind other than
// `skip` given twice, and a list without one of `required`.
template <class Field>
Expected<std::vector<Field>, std::string> ParseColumnList(
    std::string_view list, std::span<const ColumnSpelling<Field>> spellings, Field skip,
    std::initializer_list<Field> required, std::string_view choices) {
  const std::string quoted = "\"" + MessageExcerpt(std::string(list)) + "\"";
  auto same_letters = [](std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char p, char q) { return lower(p) == lower(q); });
  };
  std::vector<Field> fields;
  for (std::size_t start = 0; start <= list.size();) {
    std::size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view item = TrimBlanks(list.substr(start, end - start));
    start = end + 1;
    if (item.empty()) return Fail(quoted + " has an empty item");
    const auto spelling =
        std::find_if(spellings.begin(), spellings.end(),
                     [&](const ColumnSpelling<Field>& s) { return same_letters(item, s.text); });
    if (spelling == spellings.end()) {
      return Fail(quoted + ": \"" + MessageExcerpt(std::string(item)) + "\" is not one of " +
                  std::string(choices));
    }
    if (spelling->field != skip &&
        std::find(fields.begin(), fields.end(), spelling->field) != fields.end()) {
      return Fail(quoted + ": " + std::string(ColumnName(spellings, spelling->field)) +
                  " is given twice");
    }
    fields.push_back(spelling->field);
  }
  for (Field needed : required) {
    if (std::find(fields.begin(), fields.end(), needed) == fields.end()) {
      return Fail(quoted + " has no " + std::string(ColumnName(spellings, needed)));
    }
  }
  return fields;
}

}  // namespace torvane
