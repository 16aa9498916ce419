// Options whose value a command keeps in a field of its own: text kept as
// typed, to be read when the command runs, or a name from a fixed list,
// kept as that name's enum value.
#pragma once

#include <CLI/CLI.hpp>

#include <cassert>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/named_choice.h"

namespace torvane::cli {

// Adds the option `name` to `command`: its value, when given, is kept in
// `text` as typed (an empty value included), for the command to read.
inline CLI::Option* AddTextOption(CLI::App& command, const std::string& name,
                                  std::optional<std::string>& text,
                                  const std::string& description) {
  return command.add_option_function<std::string>(
      name, [&text](const std::string& value) { text = value; }, description);
}

// Adds the option `name` to `command`, its value read into `value` as
// CLI11 reads a value of that type, shown in the help as `type_name`.
template <typename T>
CLI::Option* AddOption(CLI::App& command, const std::string& name, T& value,
                       const std::string& type_name, const std::string& description) {
  return command.add_option(name, value, description)->type_name(type_name);
}

// The names of `choices`, in order, `separator` between them.
template <typename Enum>
std::string ChoiceNames(std::span<const NamedChoice<Enum>> choices, std::string_view separator) {
  std::string names;
  for (const NamedChoice<Enum>& choice : choices) {
    if (!names.empty()) names += separator;
    names += choice.name;
  }
  return names;
}

// Adds the option `name` to `command`, its value one of the names of
// `choices` (exactly as written there), shown in the help as "a|b|c";
// `choices` lives as long as the program (a table at namespace scope).
// `value` (an Enum, or an optional Enum that stays empty unless the option
// is given) takes the named choice. Rejects any other name as CLI11's
// IsMember would: "NAME: VALUE not in {a,b,c}".
template <typename Enum, std::size_t N, typename Target>
CLI::Option* AddChoiceOption(CLI::App& command, const std::string& name, Target& value,
                             const NamedChoice<Enum> (&table)[N], const std::string& description) {
  const std::span<const NamedChoice<Enum>> choices(table);
  const auto find = [choices](std::string_view text) -> const NamedChoice<Enum>* {
    for (const NamedChoice<Enum>& choice : choices) {
      if (choice.name == text) return &choice;
    }
    return nullptr;
  };
  CLI::Option* option = command.add_option_function<std::string>(
      name,
      [&value, find](const std::string& text) {
        // The check below has let only the names through.
        assert(find(text) != nullptr);
        value = find(text)->value;
      },
      description);
  option->type_name(ChoiceNames(choices, "|"));
  option->check(CLI::Validator(
      [choices, find](const std::string& text) {
        return find(text) ? std::string() : text + " not in {" + ChoiceNames(choices, ",") + "}";
      },
      ""));
  return option;
}

}  // namespace torvane::cli
