#include "cli/holiday_options.h"

#include "date/holidays.h"

void ApplyHolidayOptions(const CliRequest& request)
{
    g_holidaySettings = DEFAULT_HOLIDAY_SETTINGS;
    g_holidaySettings.unsetSunday = request.unsetSunday ? 1 : 0;
    g_holidaySettings.unsetHoliday = request.unsetHoliday ? 1 : 0;
    g_holidaySettings.biweeklyUse = request.biweeklyUse ? 1 : 0;
    g_holidaySettings.biweeklyOdd = request.biweeklyOdd ? 1 : 0;
    g_holidaySettings.biweeklyWeekday = request.biweeklyWeekday;
    for (const DayMark& mark : request.marks) g_holidaySettings.marks[mark.month][mark.day] = 1;
}
