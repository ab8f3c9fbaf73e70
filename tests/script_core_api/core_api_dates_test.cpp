#include "script_core_api/core_api_fixture.h"

#include <cstdlib>
#include <ctime>

namespace {

// Dates in a time zone with daylight saving time (Central European rules), restored after.
class CoreDates : public CoreApiTest {
protected:
    void SetUp() override {
        CoreApiTest::SetUp();
        const char* zone = std::getenv("TZ");
        hadZone = zone != nullptr;
        savedZone = zone ? zone : "";
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    void TearDown() override {
        if (hadZone) {
            setenv("TZ", savedZone.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
        CoreApiTest::TearDown();
    }

    // "year-month-day hour:min:sec weekday" of core_AddTime2Date on the date and seconds.
    static std::string added(const std::string& date, const std::string& seconds) {
        run("::d <- core_AddTime2Date(" + date + ", " + seconds + ");");
        squirrel::Object d = vm().rootTable().get("d");
        char text[64];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %d", d.get("_year").toInt(),
                      d.get("_month").toInt(), d.get("_day").toInt(), d.get("_hour").toInt(),
                      d.get("_min").toInt(), d.get("_sec").toInt(), d.get("_dayOfWeek").toInt());
        return text;
    }
    static std::string date(int year, int month, int day, int hour, int min, int sec) {
        return "{_year=" + std::to_string(year) + ", _month=" + std::to_string(month) +
               ", _day=" + std::to_string(day) + ", _hour=" + std::to_string(hour) +
               ", _min=" + std::to_string(min) + ", _sec=" + std::to_string(sec) + "}";
    }

    bool hadZone = false;
    std::string savedZone;
};

TEST_F(CoreDates, CurrentDateHasEveryIntegerSlotOfLocalTime) {
    std::time_t before = std::time(nullptr);
    run("::now <- core_GetDate();");
    std::time_t after = std::time(nullptr);
    squirrel::Object now = vm().rootTable().get("now");
    EXPECT_EQ(now.size(), 7);
    for (const char* slot : {"_day", "_dayOfWeek", "_month", "_year", "_hour", "_min", "_sec"}) {
        EXPECT_EQ(now.get(slot).type(), squirrel::Type::Integer) << slot;
    }
    std::tm parts{};
    parts.tm_year = now.get("_year").toInt() - 1900;
    parts.tm_mon = now.get("_month").toInt() - 1;
    parts.tm_mday = now.get("_day").toInt();
    parts.tm_hour = now.get("_hour").toInt();
    parts.tm_min = now.get("_min").toInt();
    parts.tm_sec = now.get("_sec").toInt();
    parts.tm_isdst = -1;
    std::time_t moment = std::mktime(&parts);
    EXPECT_GE(moment, before);
    EXPECT_LE(moment, after);
    EXPECT_EQ(now.get("_dayOfWeek").toInt(), parts.tm_wday);
}

TEST_F(CoreDates, AddedTimeCarriesOverDaysMonthsAndYears) {
    EXPECT_EQ(added(date(2023, 12, 31, 23, 59, 30), "45"), "2024-01-01 00:00:15 1");
    EXPECT_EQ(added(date(2024, 2, 28, 12, 0, 0), "86400"), "2024-02-29 12:00:00 4");
    EXPECT_EQ(added(date(2024, 2, 28, 12, 0, 0), "2 * 86400.0"), "2024-03-01 12:00:00 5");
    EXPECT_EQ(added(date(2024, 1, 1, 0, 0, 0), "-1"), "2023-12-31 23:59:59 0");
    // Fractions are cut off; a year given without its century counts from 1900.
    EXPECT_EQ(added(date(124, 6, 15, 8, 0, 0), "59.9"), "2024-06-15 08:00:59 6");
}

TEST_F(CoreDates, LongSpansAndDaylightSavingChangesAddExactSeconds) {
    // 366 days and one second: exact for integers beyond what a float holds.
    EXPECT_EQ(added(date(2024, 1, 1, 0, 0, 0), "31622401"), "2025-01-01 00:00:01 3");
    // A summer date comes back unchanged, and the day clocks go forward has 23 hours.
    EXPECT_EQ(added(date(2024, 7, 1, 12, 0, 0), "0"), "2024-07-01 12:00:00 1");
    EXPECT_EQ(added(date(2024, 3, 30, 12, 0, 0), "86400"), "2024-03-31 13:00:00 0");
}

} // namespace
