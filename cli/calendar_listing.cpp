#include "cli/calendar_listing.h"

#include <cstdio>

#include "base/console_text.h"
#include "date/lunar_date.h"

void PrintCalendar(int year)
{
    CLunarDate day;
    for (int month = 1; month <= 12; ++month) {
        for (int d = 1; d <= DaysInMonth(year, month, CAL_SOLAR, 0); ++d) {
            day.SetDate(year, month, d, CAL_SOLAR, 0);
            const std::string lunar = day.GetYear(CAL_LUNAR) != 0 ? "음력 " + day.Format(CAL_LUNAR) : "음력 없음";
            WriteText(stdout, day.Format(CAL_SOLAR) + "  " + lunar + "\n");
        }
    }
}
