#include "date/lunar_table.h"

#include <gtest/gtest.h>

TEST(LunarTable, CumulativeDaysAreTheRunningSumOfTheCodes)
{
    int sum = 0;
    int leapYears = 0;
    for (int k = 0; k < LUNAR_YEAR_COUNT; ++k) {
        int leapMonths = 0;
        for (int m = 0; m < 12; ++m) {
            const int code = LunarMonthCodes[k][m];
            ASSERT_GE(code, 1) << "year " << LUNAR_FIRST_YEAR + k;
            ASSERT_LE(code, 6) << "year " << LUNAR_FIRST_YEAR + k;
            sum += LunarCodeDays(code);
            if (code >= 3) {
                ++leapMonths;
                EXPECT_TRUE(m >= 1 && m <= 10) << "leap month after month " << m + 1;
            }
        }
        EXPECT_LE(leapMonths, 1);
        leapYears += leapMonths;
        EXPECT_EQ(LunarCumDays[k], sum) << "year " << LUNAR_FIRST_YEAR + k;
        const int yearDays = LunarCumDays[k] - (k ? LunarCumDays[k - 1] : 0);
        if (leapMonths) {
            EXPECT_TRUE(yearDays >= 383 && yearDays <= 385) << LUNAR_FIRST_YEAR + k;
        } else {
            EXPECT_TRUE(yearDays >= 353 && yearDays <= 355) << LUNAR_FIRST_YEAR + k;
        }
    }
    EXPECT_EQ(leapYears, 77);
    const int first[] = {383, 737, 1121, 1476, 1830, 2214};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(LunarCumDays[k], first[k]);
    EXPECT_EQ(LunarCumDays[202], 74151);  // 2043
    EXPECT_EQ(LunarCumDays[208], 76336);  // 2049
}
