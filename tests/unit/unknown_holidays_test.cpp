#include <gtest/gtest.h>

#include "date/unknown_holidays.h"

TEST(UnknownHolidays, EachYearSaysWhatItLacks)
{
    const struct {
        int year;
        bool lunarUnknown;
        std::size_t notes;
    } rows[] = {
        {1841, true, 1},  // the eve of its 설날 lies before the table
        {1842, false, 0}, {2024, false, 0}, {2025, false, 1}, {2049, false, 1}, {2050, true, 2}, {9999, true, 2},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LunarHolidaysUnknown(row.year), row.lunarUnknown) << row.year;
        EXPECT_EQ(UnknownHolidayNotes(row.year).size(), row.notes) << row.year;
    }
    EXPECT_EQ(UnknownHolidayNotes(2050).front().korean,
              "2050년은 음력 표(1841-2049년) 밖이라 설날, 부처님 오신 날, 추석과 그 대체공휴일이 빠져 있습니다. "
              "달력에서 그 날을 누르거나, --mark MM-DD 또는 휴일 파일로 더하십시오.");
}
