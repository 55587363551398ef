// The holiday kind of a solar date, as the holiday tests ask for it.
#pragma once

#include <gtest/gtest.h>

#include "date/holidays.h"
#include "date/lunar_date.h"

// HOLIDAY_* of y-m-d (solar); a date that does not exist fails the test.
inline int KindOf(int y, int m, int d, const HolidaySettings& settings = DEFAULT_HOLIDAY_SETTINGS)
{
    CLunarDate date(2009, 1, 1, CAL_SOLAR, 0);  // not today: no answer hangs on the wall clock
    EXPECT_EQ(date.SetDate(y, m, d, CAL_SOLAR, 0), 1);
    return HolidayKindOf(date, settings);
}
