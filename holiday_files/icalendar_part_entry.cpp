// The iCalendar part's one export: the table of what it does (icalendar_part.h).
#include "holiday_files/holiday_ics_writer.h"
#include "holiday_files/icalendar_part.h"

extern "C" __attribute__((visibility("default"))) const ICalendarPart* DorvaneICalendarPart()
{
    static const ICalendarPart part{ReadHolidayFile, ImportedHolidays, HolidayCalendarText};
    return &part;
}
