#include "cli/holiday_options.h"

#include "cli/holiday_files.h"
#include "date/holidays.h"
#include "date/mark_names.h"

bool ApplyHolidayOptions(const CliRequest& request, OperatorMessage& error)
{
    g_holidaySettings = DEFAULT_HOLIDAY_SETTINGS;
    g_markNames = MarkNames{};
    g_holidaySettings.unsetSunday = request.unsetSunday ? 1 : 0;
    g_holidaySettings.unsetHoliday = request.unsetHoliday ? 1 : 0;
    g_holidaySettings.biweeklyUse = request.biweeklyUse ? 1 : 0;
    g_holidaySettings.biweeklyOdd = request.biweeklyOdd ? 1 : 0;
    g_holidaySettings.biweeklyWeekday = request.biweeklyWeekday;
    for (const DayMark& mark : request.marks) g_holidaySettings.marks[mark.month][mark.day] = 1;
    // The other commands send no holidays: the files would only be read for their warnings.
    return !CountsTheYearsHolidays(request.command) || MarkHolidayFiles(request, error);
}
