#include "date/holiday_law.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "date/holidays.h"
#include "protocol/holiday_upload.h"
#include "tests/support/holiday_kind.h"
#include "tests/support/recording_listing.h"

namespace {

using Days = std::vector<std::string>;

// "MM-DD name" per addition, calendar order.
Days Additions(int year)
{
    Days days;
    for (const LawHoliday& h : LawHolidays(year)) {
        char text[64];
        std::snprintf(text, sizeof text, "%02d-%02d %s", h.month, h.day, h.name);
        days.push_back(text);
    }
    return days;
}

const char* const S = "대체공휴일";

std::string D(const char* monthDay, const char* name)
{
    return std::string(monthDay) + " " + name;
}

struct YearCase {
    int year;
    Days days;
};

const std::vector<YearCase>& LawByYear()
{
    static const std::vector<YearCase> cases = {
        {2009, {}},
        {2010, {D("06-02", "지방선거일")}},
        {2011, {}},
        {2012, {D("04-11", "국회의원선거일"), D("12-19", "대통령선거일")}},
        {2013, {D("10-09", "한글날")}},
        {2014, {D("06-04", "지방선거일"), D("09-10", S), D("10-09", "한글날")}},
        {2015, {D("08-14", "임시공휴일"), D("09-29", S), D("10-09", "한글날")}},
        {2016, {D("02-10", S), D("04-13", "국회의원선거일"), D("05-06", "임시공휴일"), D("10-09", "한글날")}},
        {2017,
         {D("01-30", S), D("05-09", "대통령선거일"), D("10-02", "임시공휴일"), D("10-06", S), D("10-09", "한글날")}},
        {2018, {D("05-07", S), D("06-13", "지방선거일"), D("09-26", S), D("10-09", "한글날")}},
        {2019, {D("05-06", S), D("10-09", "한글날")}},
        {2020, {D("01-27", S), D("04-15", "국회의원선거일"), D("08-17", "임시공휴일"), D("10-09", "한글날")}},
        {2021, {D("08-16", S), D("10-04", S), D("10-09", "한글날"), D("10-11", S)}},
        {2022,
         {D("03-09", "대통령선거일"), D("06-01", "지방선거일"), D("09-12", S), D("10-09", "한글날"), D("10-10", S)}},
        {2023, {D("01-24", S), D("05-29", S), D("10-02", "임시공휴일"), D("10-09", "한글날")}},
        {2024,
         {D("02-12", S), D("04-10", "국회의원선거일"), D("05-06", S), D("10-01", "임시공휴일"), D("10-09", "한글날")}},
        {2025,
         {D("01-27", "임시공휴일"), D("03-03", S), D("05-06", S), D("06-03", "대통령선거일"), D("10-08", S),
          D("10-09", "한글날")}},
        {2026,
         {D("03-02", S), D("05-01", "노동절"), D("05-25", S), D("06-03", "지방선거일"), D("07-17", "제헌절"),
          D("08-17", S), D("10-05", S), D("10-09", "한글날")}},
        {2027,
         {D("02-09", S), D("05-01", "노동절"), D("05-03", S), D("07-17", "제헌절"), D("07-19", S), D("08-16", S),
          D("10-04", S), D("10-09", "한글날"), D("10-11", S), D("12-27", S)}},
        // 추석 2028 takes in 개천절: one day after the block.
        {2028,
         {D("04-12", "국회의원선거일"), D("05-01", "노동절"), D("07-17", "제헌절"), D("10-05", S),
          D("10-09", "한글날")}},
        // 어린이날 on a Saturday, 부처님 오신 날 on a Sunday, 추석 block ending on a Sunday.
        {2029,
         {D("05-01", "노동절"), D("05-07", S), D("05-21", S), D("07-17", "제헌절"), D("09-24", S),
          D("10-09", "한글날")}},
        // The president elected early on 2025-06-03 took office the next day: the term ends 2030-06-03.
        {2030,
         {D("02-05", S), D("03-27", "대통령선거일"), D("05-01", "노동절"), D("05-06", S), D("06-12", "지방선거일"),
          D("07-17", "제헌절"), D("10-09", "한글날")}},
    };
    return cases;
}

}  // namespace

TEST(HolidayLaw, ExactAdditionsPerYear)
{
    for (const YearCase& c : LawByYear()) EXPECT_EQ(Additions(c.year), c.days) << c.year;
}

TEST(HolidayLaw, CacheGivesTheSameAnswerWhateverTheOrderOfYears)
{
    // More years than the cache keeps, asked forwards, backwards and interleaved.
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < LawByYear().size(); ++i) {
            const YearCase& c = LawByYear()[pass == 0 ? i : LawByYear().size() - 1 - i];
            EXPECT_EQ(Additions(c.year), c.days) << c.year;
            EXPECT_EQ(IsLawHoliday(2027, 12, 27), 1) << c.year;
            EXPECT_EQ(IsLawHoliday(2026, 12, 27), 0) << c.year;
        }
    }
}

TEST(HolidayLaw, EveryAdditionIsNationalUnlessSundayComesFirstAndTheOptionRemovesThem)
{
    for (const YearCase& c : LawByYear()) {
        for (const LawHoliday& h : LawHolidays(c.year)) {
            const bool sunday = DayOfWeek(c.year, h.month, h.day) == 1;
            EXPECT_EQ(KindOf(c.year, h.month, h.day), sunday ? HOLIDAY_SUNDAY : HOLIDAY_NATIONAL)
                << c.year << "-" << h.month << "-" << h.day;
            HolidaySettings unset = DEFAULT_HOLIDAY_SETTINGS;
            unset.unsetHoliday = 1;
            EXPECT_EQ(KindOf(c.year, h.month, h.day, unset), sunday ? HOLIDAY_SUNDAY : HOLIDAY_NONE)
                << c.year << "-" << h.month << "-" << h.day;
        }
    }
}

TEST(HolidayLaw, TheDaysAroundAreUntouched)
{
    const struct {
        int year, month, day, kind;
    } cases[] = {
        {2012, 10, 9, HOLIDAY_NONE},                                // before 한글날 was restored
        {2026, 7, 16, HOLIDAY_NONE},  {2025, 7, 17, HOLIDAY_NONE},  // 제헌절 only from 2026
        {2025, 5, 1, HOLIDAY_NONE},   {2025, 5, 7, HOLIDAY_NONE},   // one substitute for 5 May 2025, not two
        {2020, 10, 5, HOLIDAY_NONE},   // 개천절 on a Saturday gave none before August 2021
        {2022, 5, 9, HOLIDAY_NONE},    // nor 부처님 오신 날 on a Sunday before May 2023
        {2022, 12, 26, HOLIDAY_NONE},  // nor 성탄절
        {2027, 6, 7, HOLIDAY_NONE},    // 현충일 never
        {2021, 2, 15, HOLIDAY_NONE},   // 설날 block ending on a Saturday
        {2014, 2, 3, HOLIDAY_NONE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KindOf(c.year, c.month, c.day), c.kind) << c.year << "-" << c.month << "-" << c.day;
}

TEST(HolidayLaw, YearWalkOf2027WithAndWithoutPublicHolidays)
{
    // 52 Sundays; 10 table holidays on other days (1-1, 3-1, 5-5, 12-25, 2-6, 2-8, 5-13, 9-14..16);
    // 10 additions, none on a Sunday.
    RecordingListing out;
    EXPECT_EQ(CountHolidays(2027, 0, out), 72);
    g_holidaySettings.unsetHoliday = 1;
    EXPECT_EQ(CountHolidays(2027, 0, out), 52);
}

TEST(HolidayLaw, NothingOutsideTheYearsItCanCompute)
{
    EXPECT_TRUE(LawHolidays(1).empty());
    EXPECT_TRUE(LawHolidays(MAX_SOLAR_YEAR).empty());
    EXPECT_EQ(IsLawHoliday(2027, 0, 9), 0);
    EXPECT_EQ(IsLawHoliday(2027, 13, 1), 0);
    EXPECT_EQ(IsLawHoliday(2027, 10, 32), 0);
    // Past the lunar table only the solar rules are left; 2100 puts six of them on a weekend and
    // has a presidential (term ending 3 June) and an assembly election (29 May).
    EXPECT_EQ(Additions(2100), Days({D("03-31", "대통령선거일"), D("04-14", "국회의원선거일"), D("05-01", "노동절"),
                                     D("05-03", S), D("07-17", "제헌절"), D("07-19", S), D("08-16", S), D("10-04", S),
                                     D("10-09", "한글날"), D("10-11", S), D("12-27", S)}));
}
