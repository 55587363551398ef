#include "holiday_files/recurrence.h"

#include "date/lunar_date.h"
#include "holiday_files/ics_document.h"

int FirstRepeatDay()
{
    static const int day = DayNumber(1582, 10, 15);
    return day;
}

int LastRepeatDay()
{
    static const int day = DayNumber(2582, 12, 31);
    return day;
}

icaltimetype DateOf(int dayNumber)
{
    return IcalDate(FromDayNumber(dayNumber));
}

int DayOf(icaltimetype time)
{
    return DayNumber(time.year, time.month, time.day);
}
