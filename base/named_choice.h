// A value of an enumeration and the word that names it where a person reads
// or types it: on the command line, in a project file. Tables of them are
// defined once, beside their enumeration, for every place that spells one.
#pragma once

#include <string_view>

namespace torvane {

template <typename Enum>
struct NamedChoice {
  std::string_view name;
  Enum value;
};

}  // namespace torvane
