#include "os/user_session.h"

#include <cassert>
#include <cstdio>

namespace torvane {

std::string DateTimeText(const std::tm& when) {
  assert(when.tm_mon >= 0 && when.tm_mon < 12 && when.tm_mday >= 1 && when.tm_mday <= 31);
  assert(when.tm_hour >= 0 && when.tm_hour < 24 && when.tm_min >= 0 && when.tm_min < 60);
  assert(when.tm_sec >= 0 && when.tm_sec <= 60);  // 60: a leap second
  char text[80];                                  // room for six ints of any size
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", when.tm_year + 1900,
                when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
  return text;
}

std::string LocalDateTimeNow() {
  const std::optional<std::tm> now = LocalTime(std::time(nullptr));
  return now ? DateTimeText(*now) : std::string();
}

}  // namespace torvane
