// What a holiday file marks in the calendars: the days of its events, each with its SUMMARY and
// the file's name for the listing, the exports and the tooltips.
#include "holiday_files/imported_holidays.h"

std::vector<OperatorMessage> MarkHolidayFileDays(const std::vector<HolidayFile>& files, int year,
                                                 HolidaySettings& settings, MarkNames& names)
{
    ImportedYear imported = ImportedHolidays(files, year);
    for (const ImportedHoliday& day : imported.days) {
        settings.marks[day.date.month][day.date.day] = 1;
        for (const ImportedName& name : day.names) {
            AddMarkName(names, day.date.month, day.date.day, name.summary, name.file);
        }
    }
    return std::move(imported.refusals);
}
