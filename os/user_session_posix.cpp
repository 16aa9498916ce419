#include <pwd.h>
#include <unistd.h>

#include <ctime>
#include <string>

#include "os/user_session.h"

namespace torvane {

std::string LocalDateTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  return DateTimeText(local);
}

std::string LoginName() {
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_name != nullptr ? std::string(entry->pw_name)
                                                       : std::string();
}

}  // namespace torvane
