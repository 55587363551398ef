#include "date/lunar_date.h"

#include <climits>
#include <gtest/gtest.h>

#include "date/lunar_table.h"

namespace {

struct Day {
    int year, month, day;
};

struct LunarDay {
    int year, month, day, leap;
};

CLunarDate Solar(int y, int m, int d)
{
    CLunarDate date;
    EXPECT_EQ(date.SetDate(y, m, d, CAL_SOLAR, 0), 1) << y << "-" << m << "-" << d;
    return date;
}

void ExpectSolar(const CLunarDate& date, Day want)
{
    EXPECT_EQ(date.GetYear(CAL_SOLAR), want.year);
    EXPECT_EQ(date.GetMonth(CAL_SOLAR), want.month);
    EXPECT_EQ(date.GetDay(CAL_SOLAR), want.day);
}

void ExpectLunar(const CLunarDate& date, LunarDay want)
{
    EXPECT_EQ(date.GetYear(CAL_LUNAR), want.year);
    EXPECT_EQ(date.GetMonth(CAL_LUNAR), want.month);
    EXPECT_EQ(date.GetDay(CAL_LUNAR), want.day);
    EXPECT_EQ(date.IsLeapMonth(), want.leap);
}

}  // namespace

TEST(SolarCalendar, DayNumberAndFromDayNumberAreInversesOverYears1To9999)
{
    int expected = 1;
    for (int y = 1; y <= 9999; ++y) {
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        ASSERT_EQ(DaysInMonth(y, 2, CAL_SOLAR, 0), leap ? 29 : 28) << y;
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= DaysInMonth(y, m, CAL_SOLAR, 0); ++d) {
                ASSERT_EQ(DayNumber(y, m, d), expected) << y << "-" << m << "-" << d;
                const SolarDate back = FromDayNumber(expected);
                ASSERT_TRUE(back.year == y && back.month == m && back.day == d) << expected;
                ++expected;
            }
        }
    }
}

TEST(SolarCalendar, ValidityAndWeekdays)
{
    EXPECT_EQ(IsValidDate(2009, 2, 29, CAL_SOLAR, 0), 0);
    EXPECT_EQ(IsValidDate(2008, 2, 29, CAL_SOLAR, 0), 1);
    EXPECT_EQ(IsValidDate(2000, 2, 29, CAL_SOLAR, 0), 1);
    EXPECT_EQ(IsValidDate(1900, 2, 29, CAL_SOLAR, 0), 0);
    for (int calendar : {CAL_SOLAR, CAL_LUNAR}) {
        EXPECT_EQ(IsValidDate(2009, 1, 0, calendar, 0), 0);
        EXPECT_EQ(IsValidDate(2009, 1, 32, calendar, 0), 0);
        EXPECT_EQ(IsValidDate(2009, 13, 1, calendar, 0), 0);
        EXPECT_EQ(IsValidDate(0, 1, 1, calendar, 0), 0);
        EXPECT_EQ(IsValidDate(-5, 1, 1, calendar, 0), 0);
    }
    EXPECT_EQ(DayNumber(1, 1, 1), 1);
    EXPECT_EQ(DayNumber(1841, 1, 22), LUNAR_BASE_DAY);
    EXPECT_EQ(DayNumber(2009, 1, 1), 733408);
    EXPECT_EQ(DayNumber(2009, 2, 29), -1);
    EXPECT_EQ(DayOfWeek(1, 1, 1), 2);
    EXPECT_EQ(DayOfWeek(2009, 1, 1), 5);
    EXPECT_EQ(DayOfWeek(2009, 1, 26), 2);
    EXPECT_EQ(DayOfWeek(2009, 2, 30), 0);
}

TEST(SolarCalendar, DayNumbersStayWithin32Bits)
{
    EXPECT_GT(DayNumber(MAX_SOLAR_YEAR, 12, 31), 0);
    EXPECT_EQ(DayNumber(MAX_SOLAR_YEAR + 1, 1, 1), -1);
    const SolarDate last = FromDayNumber(DayNumber(MAX_SOLAR_YEAR, 12, 31));
    EXPECT_EQ(last.year, MAX_SOLAR_YEAR);
    const SolarDate top = FromDayNumber(INT_MAX);
    EXPECT_EQ(top.year, MAX_SOLAR_YEAR + 1);
    for (int n : {0, -1, INT_MIN}) {
        const SolarDate none = FromDayNumber(n);
        EXPECT_TRUE(none.year == 0 && none.month == 0 && none.day == 0) << n;
    }
}

TEST(DateRecord, SetDateRefusesYearOneAndBadDates)
{
    CLunarDate date = Solar(2009, 3, 1);
    EXPECT_EQ(date.SetDate(1, 1, 1, CAL_SOLAR, 0), 0);
    EXPECT_EQ(date.SetDate(2009, 2, 30, CAL_SOLAR, 0), 0);
    ExpectSolar(date, {2009, 3, 1});
    EXPECT_EQ(date.SetDate(2, 1, 1, CAL_SOLAR, 0), 1);
    EXPECT_EQ(date.GetWeekday(), DayOfWeek(2, 1, 1));
}

TEST(DateRecord, OutOfTableYearHasNoLunarDate)
{
    CLunarDate date = Solar(2050, 3, 1);
    ExpectLunar(date, {0, 0, 0, 0});
    EXPECT_EQ(date.Format(CAL_LUNAR), "0년 00월 00일");
    EXPECT_EQ(date.GetWeekday(), DayOfWeek(2050, 3, 1));
}

TEST(DateRecord, ConstructorWithInvalidDateFallsBackToToday)
{
    const CLunarDate today;
    const CLunarDate bad(2009, 13, 1, CAL_SOLAR, 0);
    ExpectSolar(bad, {today.GetYear(CAL_SOLAR), today.GetMonth(CAL_SOLAR), today.GetDay(CAL_SOLAR)});
    EXPECT_EQ(bad.GetWeekday(), today.GetWeekday());
}

struct SolarShift {
    Day from;
    int years, months, days;
    Day to;
};

TEST(DateRecord, AddSolarClampsTheDayAndCarriesYears)
{
    const SolarShift shifts[] = {
        {{2009, 1, 31}, 0, 1, 0, {2009, 2, 28}},   {{2008, 1, 31}, 0, 1, 0, {2008, 2, 29}},
        {{2009, 1, 15}, 0, -1, 0, {2008, 12, 15}}, {{2008, 12, 31}, 0, 0, 1, {2009, 1, 1}},
        {{2009, 3, 1}, 0, 14, 0, {2010, 5, 1}},    {{2009, 3, 1}, 0, -13, 0, {2008, 2, 1}},
        {{2008, 2, 29}, 1, 0, 0, {2009, 2, 28}},   {{2008, 2, 29}, -1, 0, 0, {2007, 2, 28}},
        {{2009, 5, 31}, 0, 1, 1, {2009, 7, 1}},    {{2009, 1, 1}, 0, 0, -365, {2008, 1, 2}},
    };
    for (const SolarShift& s : shifts) {
        CLunarDate date = Solar(s.from.year, s.from.month, s.from.day);
        ASSERT_EQ(date.Add(s.years, s.months, s.days, CAL_SOLAR), 1);
        ExpectSolar(date, s.to);
        EXPECT_EQ(date.GetWeekday(), DayOfWeek(s.to.year, s.to.month, s.to.day));
    }
}

TEST(DateRecord, AddSolarThatWouldOverflowFailsAndKeepsTheRecord)
{
    const SolarShift refused[] = {
        {{2009, 6, 1}, 0, 0, INT_MAX, {}},       {{2009, 6, 1}, 0, 0, INT_MIN, {}},
        {{2009, 6, 1}, INT_MAX, 0, 0, {}},       {{2009, 6, 1}, INT_MIN, 0, 0, {}},
        {{2009, 6, 1}, INT_MAX, INT_MAX, 0, {}}, {{2009, 6, 1}, -2009, 0, 0, {}},
        {{2009, 6, 1}, 0, 0, -733500, {}},       {{MAX_SOLAR_YEAR, 12, 31}, 0, 0, 1, {}},
        {{MAX_SOLAR_YEAR, 12, 1}, 0, 1, 0, {}},
    };
    for (const SolarShift& s : refused) {
        CLunarDate date = Solar(s.from.year, s.from.month, s.from.day);
        const CLunarDate before = date;
        EXPECT_EQ(date.AddSolar(s.years, s.months, s.days), 0) << s.years << " " << s.months << " " << s.days;
        ExpectSolar(date, s.from);
        EXPECT_EQ(date.GetWeekday(), before.GetWeekday());
    }
}

TEST(DateRecord, WeekRows)
{
    EXPECT_EQ(Solar(2009, 2, 10).GetWeeksInMonth(), 4);
    EXPECT_EQ(Solar(2009, 5, 10).GetWeeksInMonth(), 6);
    EXPECT_EQ(Solar(2009, 8, 1).GetWeeksInMonth(), 6);
    EXPECT_EQ(Solar(2009, 8, 1).GetWeekOfMonth(), 1);
    EXPECT_EQ(Solar(2009, 8, 2).GetWeekOfMonth(), 2);
    EXPECT_EQ(Solar(2009, 8, 31).GetWeekOfMonth(), 6);
}

TEST(DateRecord, FormatInBothCalendars)
{
    EXPECT_EQ(Solar(2009, 1, 26).Format(CAL_SOLAR), "2009년 01월 26일 월요일");
    EXPECT_EQ(Solar(2009, 1, 26).Format(CAL_LUNAR), "2009년 01월 01일");
    EXPECT_EQ(Solar(2009, 6, 23).Format(CAL_LUNAR), "2009년 05월 01일(윤달)");
    EXPECT_EQ(Solar(2009, 6, 23).Format(3), "2009년 05월 01일(윤달)");
}

struct Conversion {
    Day solar;
    LunarDay lunar;
};

TEST(LunarCalendar, KnownConversionsBothWays)
{
    const Conversion known[] = {
        {{2009, 1, 26}, {2009, 1, 1, 0}},
        {{2009, 5, 2}, {2009, 4, 8, 0}},
        {{2009, 10, 3}, {2009, 8, 15, 0}},
        {{2009, 6, 23}, {2009, 5, 1, 1}},
        {{2012, 4, 21}, {2012, 3, 1, 1}},
        {{2023, 3, 22}, {2023, 2, 1, 1}},
        {{1841, 1, 23}, {1841, 1, 1, 0}},
        {{2049, 12, 31}, {2049, 12, 7, 0}},
        {{2009, 1, 25}, {2008, 12, 30, 0}},
        {{2012, 1, 22}, {2011, 12, 29, 0}},
        {{2009, 7, 7}, {2009, 5, 15, 1}},
        // Facts of the official calendar that older tables got wrong.
        {{2016, 2, 8}, {2016, 1, 1, 0}},
        {{2033, 9, 8}, {2033, 8, 15, 0}},
        {{2033, 12, 22}, {2033, 11, 1, 1}},
        {{2034, 2, 19}, {2034, 1, 1, 0}},
        // 설날, 추석 and leap months of the years added from the official calendar.
        {{2044, 1, 30}, {2044, 1, 1, 0}},
        {{2044, 8, 23}, {2044, 7, 1, 1}},
        {{2045, 2, 16}, {2044, 12, 30, 0}},
        {{2045, 2, 17}, {2045, 1, 1, 0}},
        {{2047, 6, 23}, {2047, 5, 1, 1}},
        {{2047, 10, 4}, {2047, 8, 15, 0}},
        {{2049, 9, 11}, {2049, 8, 15, 0}},
    };
    for (const Conversion& c : known) {
        const CLunarDate fromSolar = Solar(c.solar.year, c.solar.month, c.solar.day);
        ExpectLunar(fromSolar, c.lunar);
        CLunarDate fromLunar;
        ASSERT_EQ(fromLunar.SetDate(c.lunar.year, c.lunar.month, c.lunar.day, CAL_LUNAR, c.lunar.leap), 1);
        ExpectSolar(fromLunar, c.solar);
        EXPECT_EQ(fromLunar.GetWeekday(), DayOfWeek(c.solar.year, c.solar.month, c.solar.day));
    }
    EXPECT_EQ(HasLeapMonth(2033, 11), 1);
    EXPECT_EQ(HasLeapMonth(2033, 7), 0);
}

TEST(LunarCalendar, DaysWithoutALunarDate)
{
    for (Day d : {Day{1841, 1, 1}, Day{1841, 1, 22}, Day{1840, 1, 1}, Day{2050, 1, 1}, Day{2050, 1, 22}}) {
        CLunarDate date = Solar(d.year, d.month, d.day);
        ExpectLunar(date, {0, 0, 0, 0});
        EXPECT_EQ(date.SolarToLunar(), 0);
    }
}

TEST(LunarCalendar, InvalidLunarDatesAreRefused)
{
    CLunarDate date = Solar(2009, 3, 1);
    EXPECT_EQ(date.SetDate(2009, 4, 1, CAL_LUNAR, 1), 0);  // no leap month after the 4th
    EXPECT_EQ(DaysInMonth(2009, 3, CAL_LUNAR, 0), 29);
    EXPECT_EQ(date.SetDate(2009, 3, 30, CAL_LUNAR, 0), 0);
    EXPECT_EQ(date.SetDate(2050, 1, 1, CAL_LUNAR, 0), 0);
    EXPECT_EQ(date.SetDate(1840, 1, 1, CAL_LUNAR, 0), 0);
    ExpectSolar(date, {2009, 3, 1});
}

TEST(LunarCalendar, EveryDayOfTheTableRoundTrips)
{
    const int first = DayNumber(1841, 1, 23);
    const int last = DayNumber(2049, 12, 31);
    CLunarDate previous = Solar(1841, 1, 23);
    int days = 1;
    for (int n = first + 1; n <= last; ++n, ++days) {
        const SolarDate s = FromDayNumber(n);
        CLunarDate date = Solar(s.year, s.month, s.day);
        ASSERT_EQ(DayNumber(s.year, s.month, s.day),
                  DayNumber(previous.GetYear(CAL_SOLAR), previous.GetMonth(CAL_SOLAR), previous.GetDay(CAL_SOLAR)) + 1);
        ASSERT_EQ(date.GetWeekday(), previous.GetWeekday() % 7 + 1) << n;
        ASSERT_NE(date.GetYear(CAL_LUNAR), 0) << n;
        // The lunar date is the previous one plus a day.
        const bool sameMonth =
            date.GetMonth(CAL_LUNAR) == previous.GetMonth(CAL_LUNAR) && date.IsLeapMonth() == previous.IsLeapMonth();
        if (sameMonth) {
            ASSERT_EQ(date.GetDay(CAL_LUNAR), previous.GetDay(CAL_LUNAR) + 1) << n;
        } else {
            ASSERT_EQ(date.GetDay(CAL_LUNAR), 1) << n;
            ASSERT_EQ(previous.GetDay(CAL_LUNAR), previous.GetDaysInMonth(CAL_LUNAR)) << n;
        }
        CLunarDate back;
        ASSERT_EQ(back.SetDate(date.GetYear(CAL_LUNAR), date.GetMonth(CAL_LUNAR), date.GetDay(CAL_LUNAR), CAL_LUNAR,
                               date.IsLeapMonth()),
                  1);
        ASSERT_EQ(DayNumber(back.GetYear(CAL_SOLAR), back.GetMonth(CAL_SOLAR), back.GetDay(CAL_SOLAR)), n);
        previous = date;
    }
    EXPECT_EQ(days, 76336 - 22);  // the table runs to 22 January 2050; solar 2050 is not converted
}

struct LunarShift {
    LunarDay from;
    int years, months, days;
    Day solar;
};

TEST(LunarCalendar, AddLunarStepsThroughLeapMonths)
{
    const LunarShift shifts[] = {
        {{2009, 5, 15, 0}, 0, 1, 0, {2009, 7, 7}},  {{2009, 6, 15, 0}, 0, -1, 0, {2009, 7, 7}},
        {{2009, 5, 30, 0}, 0, 1, 0, {2009, 7, 21}}, {{2009, 5, 15, 1}, 0, 1, 0, {2009, 8, 5}},
        {{2009, 5, 15, 1}, 0, -1, 0, {2009, 6, 7}}, {{2009, 5, 1, 1}, 1, 0, 0, {2010, 6, 12}},
        {{2009, 12, 1, 0}, 0, 1, 0, {2010, 2, 14}}, {{2010, 1, 1, 0}, 0, -1, 0, {2010, 1, 15}},
        {{2009, 1, 1, 0}, 0, 0, 10, {2009, 2, 5}},
    };
    for (const LunarShift& s : shifts) {
        CLunarDate date;
        ASSERT_EQ(date.SetDate(s.from.year, s.from.month, s.from.day, CAL_LUNAR, s.from.leap), 1);
        ASSERT_EQ(date.Add(s.years, s.months, s.days, CAL_LUNAR), 1)
            << s.from.year << "-" << s.from.month << "-" << s.from.day;
        ExpectSolar(date, s.solar);
    }
}

TEST(LunarCalendar, AddLunarOutsideTheTableFailsQuickly)
{
    CLunarDate date = Solar(2009, 3, 1);
    for (int months : {INT_MAX, INT_MIN, 12 * 50, -12 * 200}) {
        EXPECT_EQ(date.AddLunar(0, months, 0), 0) << months;
    }
    EXPECT_EQ(date.AddLunar(INT_MAX, 0, 0), 0);
    EXPECT_EQ(date.AddLunar(41, 0, 0), 0);
    ExpectSolar(date, {2009, 3, 1});
    CLunarDate noLunar = Solar(2050, 1, 1);
    EXPECT_EQ(noLunar.AddLunar(0, 1, 0), 0);
    ExpectSolar(noLunar, {2050, 1, 1});
}
