#include "date/holidays.h"

#include <cstring>
#include <gtest/gtest.h>

#include "date/holiday_reasons.h"
#include "date/lunar_date.h"
#include "tests/support/holiday_kind.h"

namespace {

struct KindCase {
    const char* what;
    int year, month, day;
    int kind;
};

}  // namespace

TEST(HolidayNames, KindTextsAreExactAndFitTheirField)
{
    EXPECT_STREQ(HolidayKindName[HOLIDAY_NONE], "");
    EXPECT_STREQ(HolidayKindName[HOLIDAY_SUNDAY], "일요일    ");
    EXPECT_STREQ(HolidayKindName[HOLIDAY_NATIONAL], "국가공휴일");
    EXPECT_STREQ(HolidayKindName[HOLIDAY_SET], "설정공휴일");
}

TEST(HolidayTables, SortedByMonthThenDaySoTheEarlyStopIsSafe)
{
    for (const auto* table : {&SolarHolidays, &LunarHolidays}) {
        for (int i = 1; i < HOLIDAY_TABLE_ROWS; ++i) {
            const HolidayRule& a = (*table)[i - 1];
            const HolidayRule& b = (*table)[i];
            EXPECT_TRUE(a.month < b.month || (a.month == b.month && a.day < b.day)) << i;
        }
    }
}

TEST(HolidayKind, DefaultSettings)
{
    const KindCase cases[] = {
        {"new year, Thursday", 2009, 1, 1, HOLIDAY_NATIONAL},
        {"ordinary Friday", 2009, 1, 2, HOLIDAY_NONE},
        {"solar and lunar at once", 2009, 10, 3, HOLIDAY_NATIONAL},
        {"lunar 8-14 Friday", 2009, 10, 2, HOLIDAY_NATIONAL},
        {"lunar 8-16 Sunday", 2009, 10, 4, HOLIDAY_SUNDAY},
        {"lunar 12-30 Sunday", 2009, 1, 25, HOLIDAY_SUNDAY},
        {"lunar 1-1", 2009, 1, 26, HOLIDAY_NATIONAL},
        {"lunar 1-2", 2009, 1, 27, HOLIDAY_NATIONAL},
        {"lunar 1-3 is not", 2009, 1, 28, HOLIDAY_NONE},
        {"eve in a 29-day month, 2011", 2012, 1, 22, HOLIDAY_SUNDAY},
        {"lunar 12-29 of a 30-day month is not", 2009, 1, 24, HOLIDAY_NONE},
        {"eve Saturday 2010", 2010, 2, 13, HOLIDAY_NATIONAL},
        {"lunar 4-8 Saturday", 2009, 5, 2, HOLIDAY_NATIONAL},
        {"lunar 4-8 of 2020", 2020, 4, 30, HOLIDAY_NATIONAL},
        {"leap 4-8 of 2020 is not", 2020, 5, 30, HOLIDAY_NONE},
        {"leap 5-1 of 2009 is not a holiday", 2009, 6, 23, HOLIDAY_NONE},
        {"Christmas", 2009, 12, 25, HOLIDAY_NATIONAL},
        {"Christmas past the lunar table", 2051, 12, 25, HOLIDAY_NATIONAL},
        {"lunar new year 2044, Saturday", 2044, 1, 30, HOLIDAY_NATIONAL},
        {"the table's last eve, 2049", 2049, 2, 1, HOLIDAY_NATIONAL},
        {"past the table, the 2050 eve not found", 2050, 1, 22, HOLIDAY_NONE},
        {"Saturday alone", 2009, 1, 3, HOLIDAY_NONE},
        {"Sunday", 2009, 1, 4, HOLIDAY_SUNDAY},
        {"Dec 31 ordinary", 2009, 12, 31, HOLIDAY_NONE},
    };
    for (const KindCase& c : cases) {
        EXPECT_EQ(KindOf(c.year, c.month, c.day), c.kind) << c.what;
    }
}

TEST(HolidayKind, OptionsAndMarksFollowThePrecedence)
{
    struct Case {
        const char* what;
        int unsetSunday, unsetHoliday, marked;
        int year, month, day;
        int kind;
    } const cases[] = {
        {"unset Sunday reveals the lunar 8-16", 1, 0, 0, 2009, 10, 4, HOLIDAY_NATIONAL},
        {"unset Sunday reveals the eve", 1, 0, 0, 2009, 1, 25, HOLIDAY_NATIONAL},
        {"unset holiday", 0, 1, 0, 2009, 1, 1, HOLIDAY_NONE},
        {"unset holiday, marked", 0, 1, 1, 2009, 1, 1, HOLIDAY_SET},
        {"unset holiday keeps Sunday", 0, 1, 0, 2009, 10, 4, HOLIDAY_SUNDAY},
        {"marked Sunday", 0, 0, 1, 2009, 1, 4, HOLIDAY_SUNDAY},
        {"marked Sunday, Sundays unset", 1, 0, 1, 2009, 1, 4, HOLIDAY_SET},
        {"marked national holiday", 0, 0, 1, 2009, 1, 1, HOLIDAY_NATIONAL},
        {"marked weekday", 0, 0, 1, 2009, 1, 2, HOLIDAY_SET},
        {"everything unset", 1, 1, 0, 2009, 10, 4, HOLIDAY_NONE},
    };
    for (const auto& c : cases) {
        HolidaySettings settings = DEFAULT_HOLIDAY_SETTINGS;
        settings.unsetSunday = c.unsetSunday;
        settings.unsetHoliday = c.unsetHoliday;
        settings.marks[c.month][c.day] = c.marked;
        EXPECT_EQ(KindOf(c.year, c.month, c.day, settings), c.kind) << c.what;
    }
}

TEST(HolidayKind, OnlyAMarkOfExactlyOneCounts)
{
    HolidaySettings settings = DEFAULT_HOLIDAY_SETTINGS;
    settings.marks[1][2] = 2;
    EXPECT_EQ(KindOf(2009, 1, 2, settings), HOLIDAY_NONE);
    settings.marks[1][2] = -1;
    EXPECT_EQ(KindOf(2009, 1, 2, settings), HOLIDAY_NONE);
}

TEST(HolidayKind, BiweeklySaturdaysOfAugust2009)
{
    // The 1st is a Saturday in week row 1; the 15th is Liberation Day.
    struct Case {
        int use, odd;
        int kinds[5];  // Saturdays 1, 8, 15, 22, 29
    } const cases[] = {
        {1, 0, {HOLIDAY_NONE, HOLIDAY_SET, HOLIDAY_NATIONAL, HOLIDAY_SET, HOLIDAY_NONE}},
        {1, 1, {HOLIDAY_SET, HOLIDAY_NONE, HOLIDAY_NATIONAL, HOLIDAY_NONE, HOLIDAY_SET}},
        {1, 7, {HOLIDAY_SET, HOLIDAY_NONE, HOLIDAY_NATIONAL, HOLIDAY_NONE, HOLIDAY_SET}},
        {2, 0, {HOLIDAY_NONE, HOLIDAY_NONE, HOLIDAY_NATIONAL, HOLIDAY_NONE, HOLIDAY_NONE}},
        {0, 1, {HOLIDAY_NONE, HOLIDAY_NONE, HOLIDAY_NATIONAL, HOLIDAY_NONE, HOLIDAY_NONE}},
    };
    for (const auto& c : cases) {
        HolidaySettings settings = DEFAULT_HOLIDAY_SETTINGS;
        settings.biweeklyUse = c.use;
        settings.biweeklyOdd = c.odd;
        settings.biweeklyWeekday = 7;
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(KindOf(2009, 8, 1 + 7 * i, settings), c.kinds[i])
                << "use " << c.use << " odd " << c.odd << " day " << 1 + 7 * i;
        }
        EXPECT_EQ(KindOf(2009, 8, 7, settings), HOLIDAY_NONE) << "a Friday is not the chosen weekday";
    }
}

TEST(HolidayKind, BiweeklyParityRestartsEveryMonth)
{
    // Tuesdays 18 and 25 August 2009 sit in rows 4 and 5, 1 and 8 September in rows 1 and 2:
    // two Tuesdays in a row are working days, which a plain every-other-week count never gives.
    HolidaySettings settings = DEFAULT_HOLIDAY_SETTINGS;
    settings.biweeklyUse = 1;
    settings.biweeklyWeekday = 3;
    const struct {
        int month, day, kind;
    } tuesdays[] = {{8, 18, HOLIDAY_SET}, {8, 25, HOLIDAY_NONE}, {9, 1, HOLIDAY_NONE}, {9, 8, HOLIDAY_SET}};
    for (const auto& t : tuesdays) {
        EXPECT_EQ(KindOf(2009, t.month, t.day, settings), t.kind) << t.month << "-" << t.day;
    }
}

TEST(HolidayKind, SaturdayOptionChangesNothing)
{
    HolidaySettings settings = DEFAULT_HOLIDAY_SETTINGS;
    settings.unsetSaturday = 1;
    EXPECT_EQ(KindOf(2009, 1, 3, settings), HOLIDAY_NONE);
    EXPECT_EQ(KindOf(2009, 5, 2, settings), HOLIDAY_NATIONAL);
}

// The tooltip over a day: every reason in force, the kind's own text first.
TEST(HolidayTipOfADay, TheDateThenEveryReason)
{
    HolidaySettings settings = DEFAULT_HOLIDAY_SETTINGS;
    settings.marks[3][3] = 1;
    settings.marks[4][20] = 1;
    MarkNames names;
    AddMarkName(names, 4, 20, "개교기념일", "/home/librarian/.config/dorvane/holidays/school.ics");
    AddMarkName(names, 4, 20, "", "closures.ics");
    settings.biweeklyUse = 1;
    settings.biweeklyOdd = 1;
    settings.biweeklyWeekday = 7;
    struct Case {
        int year, month, day;
        const char* tip;
    } const cases[] = {
        {2026, 5, 24, "2026년 05월 24일 일요일 (음력 4월 8일)\n일요일\n국가공휴일: 부처님 오신 날"},
        {2026, 5, 25, "2026년 05월 25일 월요일 (음력 4월 9일)\n국가공휴일: 대체공휴일"},
        {2026, 3, 3, "2026년 03월 03일 화요일 (음력 1월 15일)\n설정공휴일: 달력에 표시한 날"},
        {2026, 4, 20,
         "2026년 04월 20일 월요일 (음력 3월 4일)\n설정공휴일: 개교기념일 (휴일 파일 school.ics)\n"
         "설정공휴일: 휴일 파일 closures.ics"},
        {2026, 2, 21, "2026년 02월 21일 토요일 (음력 1월 5일)\n설정공휴일: 격주휴무 (홀수 주 토요일)"},
        {2020, 5, 29, "2020년 05월 29일 금요일 (음력 윤4월 7일)"},
        {2051, 12, 25, "2051년 12월 25일 월요일\n국가공휴일: 성탄절"},  // past the lunar table
    };
    for (const Case& c : cases) {
        const CLunarDate date(c.year, c.month, c.day, CAL_SOLAR, 0);
        EXPECT_EQ(HolidayTipText(date, HolidayReasons(date, settings, names)), c.tip);
    }
    settings.unsetSunday = settings.unsetHoliday = 1;  // switched off, a source gives no reason
    const CLunarDate buddha(2026, 5, 24, CAL_SOLAR, 0);
    EXPECT_TRUE(HolidayReasons(buddha, settings, names).empty());
}
