#pragma once

#include <ctime>

// Calendar times in the user's time zone.

// The local calendar time of a moment (std::tm fields: year - 1900, month 0..11, Sunday = 0).
std::tm localCalendarTime(std::time_t moment);
// The moment of a local calendar time; out-of-range fields carry over (a 32nd day is the first
// of the next month), and whether daylight saving time applies is found from the date itself.
std::time_t momentOfLocalTime(std::tm calendarTime);
