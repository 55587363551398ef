#include "protocol/holiday_upload.h"

#include <gtest/gtest.h>

#include "date/holidays.h"
#include "date/lunar_date.h"
#include "protocol/terminal_model.h"
#include "tests/support/recording_listing.h"

namespace {

class HolidayUpload : public ::testing::Test {
protected:
    RecordingListing out;
};

// 2009: 52 Sundays; 1-1, 5-5, 6-6, 8-15, 10-3, 12-25 and the lunar 1-26, 1-27, 5-2, 10-2 on weekdays.
constexpr int kHolidays2009 = 62;
constexpr int kWeekdayNationals2009 = 10;

void ExpectCalendarOrder(int count)
{
    for (int i = 1; i < count; ++i) {
        const SendRecord& a = g_sendList[i - 1];
        const SendRecord& b = g_sendList[i];
        ASSERT_TRUE(b.month == 0 || a.month < b.month || (a.month == b.month && a.day < b.day)) << i;
    }
}

}  // namespace

TEST(HolidayUploadTexts, CaptionAndListingLine)
{
    EXPECT_EQ(TotalCaption(62), "    총휴일수 :    62 일");
    EXPECT_EQ(TotalCaption(123456), "    총휴일수 : 123456 일");
    EXPECT_EQ(HolidayListingLine(HolidayKindName[HOLIDAY_SUNDAY], 2009, 1, 4), "Holiday[일요일    ] => 2009-01-04\n");
    EXPECT_EQ(HolidayListingLine(HolidayKindName[HOLIDAY_SET], 2009, 12, 31), "Holiday[설정공휴일] => 2009-12-31\n");
}

TEST_F(HolidayUpload, CountWithAndWithoutListing)
{
    EXPECT_EQ(CountHolidays(2009, 0, out), kHolidays2009);
    EXPECT_TRUE(out.lines.empty());
    ASSERT_EQ(out.captions.size(), 1u);
    EXPECT_EQ(out.captions[0], TotalCaption(kHolidays2009));

    EXPECT_EQ(CountHolidays(2009, 1, out), kHolidays2009);
    ASSERT_EQ(out.lines.size(), static_cast<size_t>(kHolidays2009));
    EXPECT_EQ(out.lines.front(), "Holiday[국가공휴일] => 2009-01-01\n");
    EXPECT_EQ(out.lines[1], "Holiday[일요일    ] => 2009-01-04\n");
    EXPECT_EQ(out.lines.back(), "Holiday[일요일    ] => 2009-12-27\n");
}

TEST_F(HolidayUpload, WalkReachesEveryMonthsLastDay)
{
    g_holidaySettings.unsetSunday = 1;
    g_holidaySettings.unsetHoliday = 1;
    for (int m = 1; m <= 12; ++m) g_holidaySettings.marks[m][DaysInMonth(2012, m, CAL_SOLAR, 0)] = 1;
    g_holidaySettings.marks[2][30] = 1;  // read back from a terminal; no walk visits it
    EXPECT_EQ(CountHolidays(2012, 1, out), 12);
    EXPECT_EQ(out.lines[1], "Holiday[설정공휴일] => 2012-02-29\n");
    EXPECT_EQ(out.lines[11], "Holiday[설정공휴일] => 2012-12-31\n");
}

TEST_F(HolidayUpload, ListByModel)
{
    struct Case {
        int model;
        int records;
        bool endRecord;
    } const cases[] = {
        {MODEL_ZEFA101, kWeekdayNationals2009, false},
        {MODEL_ZEFA102, kHolidays2009 + 1, true},
    };
    for (const Case& c : cases) {
        out.lines.clear();
        g_nSendCount = 55;
        EXPECT_EQ(BuildSendList(2009, c.model, out), kHolidays2009) << c.model;
        EXPECT_EQ(out.lines.size(), static_cast<size_t>(kHolidays2009)) << "every kind is listed";
        EXPECT_TRUE(out.captions.empty()) << "the caller sets the caption after the upload starts";
        ASSERT_EQ(g_nSendCount, c.records) << c.model;
        ExpectCalendarOrder(g_nSendCount);
        EXPECT_EQ(g_sendList[0].year, 9);
        EXPECT_EQ(g_sendList[0].month, 1);
        EXPECT_EQ(g_sendList[0].day, 1);
        const SendRecord& last = g_sendList[g_nSendCount - 1];
        if (c.endRecord) {
            EXPECT_TRUE(last.year == 9 && last.month == 0 && last.day == 0);
        } else {
            EXPECT_TRUE(last.month == 12 && last.day == 25);
        }
    }
}

TEST_F(HolidayUpload, ZEFA101SkipsSundaysEvenWhenTheyAreNationalHolidays)
{
    BuildSendList(2009, MODEL_ZEFA101, out);
    for (int i = 0; i < g_nSendCount; ++i) {
        EXPECT_NE(DayOfWeek(2009, g_sendList[i].month, g_sendList[i].day), 1) << i;
        EXPECT_FALSE(g_sendList[i].month == 3 && g_sendList[i].day == 1) << "3-1 is a Sunday in 2009";
    }
    g_holidaySettings.unsetSunday = 1;
    BuildSendList(2009, MODEL_ZEFA101, out);
    EXPECT_EQ(g_nSendCount, kWeekdayNationals2009 + 3) << "3-1, 1-25 and 10-4 count as national once Sundays are unset";
}

TEST_F(HolidayUpload, NothingToUploadStillCountsTheSundays)
{
    g_holidaySettings.unsetHoliday = 1;
    EXPECT_EQ(BuildSendList(2009, MODEL_ZEFA101, out), 52);
    EXPECT_EQ(g_nSendCount, 0);
    EXPECT_EQ(out.lines.size(), 52u);
    g_holidaySettings.unsetSunday = 1;
    EXPECT_EQ(BuildSendList(2009, MODEL_ZEFA102, out), 0);
    EXPECT_EQ(g_nSendCount, 0) << "an empty ZEFA-102 list gets no end record";
}

TEST_F(HolidayUpload, EveryDayOfALeapYearFitsWithTheEndRecord)
{
    g_holidaySettings.unsetHoliday = 1;
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= 31; ++d) g_holidaySettings.marks[m][d] = 1;
    }
    EXPECT_EQ(BuildSendList(2012, MODEL_ZEFA102, out), 366);
    ASSERT_EQ(g_nSendCount, SEND_LIST_CAPACITY);
    ExpectCalendarOrder(g_nSendCount);
    EXPECT_EQ(g_sendList[365].month, 12);
    EXPECT_EQ(g_sendList[365].day, 31);
    EXPECT_EQ(g_sendList[366].month, 0);
}

TEST_F(HolidayUpload, SundaysNationalHolidaysAndABiweeklyDayAllGoOut)
{
    // More than the hundred records an older terminal list held.
    g_holidaySettings.biweeklyUse = 1;
    g_holidaySettings.biweeklyWeekday = 4;
    for (int m = 1; m <= 12; ++m) g_holidaySettings.marks[m][10] = g_holidaySettings.marks[m][20] = 1;
    const int total = BuildSendList(2012, MODEL_ZEFA102, out);
    EXPECT_GT(total, 100);
    EXPECT_EQ(g_nSendCount, total + 1);
    ExpectCalendarOrder(g_nSendCount);
}
