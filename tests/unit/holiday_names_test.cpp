#include "date/holiday_names.h"

#include <gtest/gtest.h>

#include "date/holidays.h"
#include "date/lunar_date.h"
#include "date/lunar_table.h"

namespace {

using Names = std::vector<std::string>;

Names NamesOf(int year, int month, int day)
{
    CLunarDate date;
    EXPECT_EQ(date.SetDate(year, month, day, CAL_SOLAR, 0), 1);
    return HolidayNames(date);
}

}  // namespace

TEST(HolidayNamesOfADay, EachReasonByItsOwnName)
{
    struct Case {
        int year, month, day;
        Names names;
    } const cases[] = {
        {2027, 1, 1, {"신정"}},
        {2027, 2, 6, {"설날"}},  // the eve, last day of a 29-day 12th month
        {2027, 2, 8, {"설날"}},
        {2027, 2, 9, {"대체공휴일"}},
        {2027, 5, 13, {"부처님 오신 날"}},
        {2018, 5, 22, {"부처님 오신 날"}},  // the first under the name of the 2017 amendment
        {2017, 5, 3, {"석가탄신일"}},
        {2027, 9, 14, {"추석"}},
        {2027, 9, 16, {"추석"}},
        {2027, 10, 3, {"개천절"}},  // a Sunday
        {2009, 10, 3, {"개천절", "추석"}},
        {2026, 6, 3, {"지방선거일"}},
        {2027, 7, 17, {"제헌절"}},
        {2051, 12, 25, {"성탄절"}},  // past the lunar table
        {2027, 1, 2, {}},
        {2020, 5, 30, {}},  // 8th day of the leap 4th month
        {2009, 1, 24, {}},  // 12-29 of a 30-day 12th month
    };
    for (const Case& c : cases)
        EXPECT_EQ(NamesOf(c.year, c.month, c.day), c.names) << c.year << "-" << c.month << "-" << c.day;
}

// The names only add text: every day of the lunar table's years has a name exactly when the
// rule makes it a national holiday.
TEST(HolidayNamesOfADay, NamedExactlyWhenTheRuleFindsANationalHoliday)
{
    HolidaySettings sundaysOrdinary = DEFAULT_HOLIDAY_SETTINGS;
    sundaysOrdinary.unsetSunday = 1;
    int named = 0;
    for (int n = DayNumber(1841, 1, 1); n <= DayNumber(LUNAR_LAST_YEAR, 12, 31); ++n) {
        const SolarDate d = FromDayNumber(n);
        CLunarDate date(d.year, d.month, d.day, CAL_SOLAR, 0);
        const bool national = HolidayKindOf(date, sundaysOrdinary) == HOLIDAY_NATIONAL;
        ASSERT_EQ(!HolidayNames(date).empty(), national) << d.year << "-" << d.month << "-" << d.day;
        named += national;
    }
    EXPECT_GT(named, LUNAR_YEAR_COUNT * 12);  // not passing for want of holidays
}
