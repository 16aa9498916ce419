// Who is at the machine and when, as a report that is filed records them.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace torvane {

// "2026-12-09 16:40:12": year, month, day, 24-hour time; `when` as
// localtime gives it. Asserts the fields are those of a calendar date.
std::string DateTimeText(const std::tm& when);

// `when` in the machine's time zone (localtime_r on Linux, localtime_s on
// Windows, both safe from other threads); none where the system cannot
// say (a time beyond its calendar).
std::optional<std::tm> LocalTime(std::time_t when);

// DateTimeText of the present moment in the machine's time zone; empty
// where the system cannot say.
std::string LocalDateTimeNow();

// The login name of the user running the program (getpwuid on Linux,
// GetUserNameW on Windows), UTF-8; empty when the system does not say.
std::string LoginName();

}  // namespace torvane
