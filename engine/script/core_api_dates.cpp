#include "core_api_dates.h"

#include "platform/local_time.h"

#include <ctime>

namespace {

squirrel::Object dateTable(squirrel::VM& vm, const std::tm& parts) {
    squirrel::Object table = vm.newTable();
    table.set("_day", squirrel::Object(parts.tm_mday));
    table.set("_dayOfWeek", squirrel::Object(parts.tm_wday));
    table.set("_month", squirrel::Object(parts.tm_mon + 1));
    table.set("_year", squirrel::Object(parts.tm_year + 1900));
    table.set("_hour", squirrel::Object(parts.tm_hour));
    table.set("_min", squirrel::Object(parts.tm_min));
    table.set("_sec", squirrel::Object(parts.tm_sec));
    return table;
}

} // namespace

squirrel::Object core_GetDate(squirrel::CallContext& call) {
    return dateTable(call.vm(), localCalendarTime(std::time(nullptr)));
}

squirrel::Object core_AddTime2Date(squirrel::CallContext& call) {
    squirrel::Object date = call.arg(0);
    std::tm parts{};
    parts.tm_mday = date.get("_day").toInt();
    parts.tm_mon = date.get("_month").toInt() - 1;
    parts.tm_year = date.get("_year").toInt();
    if (parts.tm_year > 1900) {
        parts.tm_year -= 1900;
    }
    parts.tm_hour = date.get("_hour").toInt();
    parts.tm_min = date.get("_min").toInt();
    parts.tm_sec = date.get("_sec").toInt();
    // Integer seconds are taken exactly; a float would round them beyond 2^24 (half a year).
    squirrel::Object seconds = call.arg(1);
    std::time_t added = seconds.type() == squirrel::Type::Integer
                            ? static_cast<std::time_t>(seconds.toInt())
                            : static_cast<std::time_t>(seconds.toFloat());
    std::time_t moment = momentOfLocalTime(parts) + added;
    return dateTable(call.vm(), localCalendarTime(moment));
}
