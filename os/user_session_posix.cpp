#include <pwd.h>
#include <unistd.h>

#include <ctime>
#include <optional>
#include <string>

#include "os/user_session.h"

namespace torvane {

std::optional<std::tm> LocalTime(std::time_t when) {
  std::tm local = {};
  return localtime_r(&when, &local) != nullptr ? std::optional(local) : std::nullopt;
}

std::string LoginName() {
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_name != nullptr ? std::string(entry->pw_name)
                                                       : std::string();
}

}  // namespace torvane
