#include "local_time.h"

std::tm localCalendarTime(std::time_t moment) {
    std::tm parts{};
    tzset();
    localtime_r(&moment, &parts);
    return parts;
}

std::time_t momentOfLocalTime(std::tm calendarTime) {
    calendarTime.tm_isdst = -1;
    return std::mktime(&calendarTime);
}
