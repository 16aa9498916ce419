// Who is at the machine and when, as a report that is filed records them.
#pragma once

#include <ctime>
#include <string>

namespace torvane {

// "2026-12-09 16:40:12": year, month, day, 24-hour time; `when` as
// localtime gives it. Asserts the fields are those of a calendar date.
std::string DateTimeText(const std::tm& when);

// DateTimeText of the present moment in the machine's time zone.
std::string LocalDateTimeNow();

// The login name of the user running the program (getpwuid on Linux,
// GetUserNameW on Windows), UTF-8; empty when the system does not say.
std::string LoginName();

}  // namespace torvane
