#include "date/holidays.h"

#include <cstring>

#include "date/holiday_law.h"
#include "date/lunar_date.h"
#include "date/mark_names.h"

const char HolidayKindName[4][20] = {
    "",
    "일요일    ",
    "국가공휴일",
    "설정공휴일",
};

const HolidayRule SolarHolidays[HOLIDAY_TABLE_ROWS] = {
    {1, 1, HOLIDAY_NATIONAL, CAL_SOLAR, "신정"},     {3, 1, HOLIDAY_NATIONAL, CAL_SOLAR, "3.1절"},
    {5, 5, HOLIDAY_NATIONAL, CAL_SOLAR, "어린이날"}, {6, 6, HOLIDAY_NATIONAL, CAL_SOLAR, "현충일"},
    {8, 15, HOLIDAY_NATIONAL, CAL_SOLAR, "광복절"},  {10, 3, HOLIDAY_NATIONAL, CAL_SOLAR, "개천절"},
    {12, 25, HOLIDAY_NATIONAL, CAL_SOLAR, "성탄절"},
};

const HolidayRule LunarHolidays[HOLIDAY_TABLE_ROWS] = {
    {1, 1, HOLIDAY_NATIONAL, CAL_LUNAR, "설날"},
    {1, 2, HOLIDAY_NATIONAL, CAL_LUNAR, ""},
    {4, 8, HOLIDAY_NATIONAL, CAL_LUNAR, "석가탄신일"},
    {8, 14, HOLIDAY_NATIONAL, CAL_LUNAR, ""},
    {8, 15, HOLIDAY_NATIONAL, CAL_LUNAR, "추석"},
    {8, 16, HOLIDAY_NATIONAL, CAL_LUNAR, ""},
    // The eve of the New Year; its day depends on the year, so a rule of its own finds it.
    {12, 0, HOLIDAY_NATIONAL, CAL_LUNAR, ""},
};

HolidaySettings g_holidaySettings = DEFAULT_HOLIDAY_SETTINGS;

void ClearHolidayMarks()
{
    std::memset(g_holidaySettings.marks, 0, sizeof g_holidaySettings.marks);
    g_markNames = MarkNames{};
}

int IsLunarNewYearsEve(const CLunarDate& day)
{
    if (day.GetMonth(CAL_LUNAR) != 12) return 0;
    const int year = day.GetYear(CAL_LUNAR);
    const int leap = HasLeapMonth(year, 12);
    return day.IsLeapMonth() == leap && day.GetDay(CAL_LUNAR) == DaysInMonth(year, 12, CAL_LUNAR, leap) ? 1 : 0;
}

const HolidayRule* FindHolidayRow(const HolidayRule (&table)[HOLIDAY_TABLE_ROWS], int month, int day)
{
    for (const HolidayRule& rule : table) {
        if (rule.month > month) break;
        if (rule.month == month && rule.day == day) return rule.kind != 0 ? &rule : nullptr;
    }
    return nullptr;
}

const HolidayRule* LunarHolidayRow(const CLunarDate& day)
{
    // The eve has the row with day 0, since the 12th month has 29 or 30 days.
    if (IsLunarNewYearsEve(day)) return FindHolidayRow(LunarHolidays, 12, 0);
    if (day.IsLeapMonth() != 0) return nullptr;
    return FindHolidayRow(LunarHolidays, day.GetMonth(CAL_LUNAR), day.GetDay(CAL_LUNAR));
}

int HolidayKindOf(const CLunarDate& day, const HolidaySettings& s)
{
    const int weekday = day.GetWeekday();
    const int month = day.GetMonth(CAL_SOLAR);
    const int dayOfMonth = day.GetDay(CAL_SOLAR);
    if (s.unsetSunday == 0 && weekday == 1) return HOLIDAY_SUNDAY;

    if (s.unsetHoliday == 0) {
        if (FindHolidayRow(SolarHolidays, month, dayOfMonth) || LunarHolidayRow(day)) return HOLIDAY_NATIONAL;
        // What the public-holiday law of this year adds: 한글날, election days, substitutes, ...
        if (IsLawHoliday(day.GetYear(CAL_SOLAR), month, dayOfMonth)) return HOLIDAY_NATIONAL;
    }

    if (s.marks[month][dayOfMonth] == 1) return HOLIDAY_SET;

    if (IsBiweeklyDayOff(day, s)) return HOLIDAY_SET;
    return HOLIDAY_NONE;
}

int IsBiweeklyDayOff(const CLunarDate& day, const HolidaySettings& s)
{
    if (s.biweeklyUse != 1 || day.GetWeekday() != s.biweeklyWeekday) return 0;
    const int odd = day.GetWeekOfMonth() % 2;
    return (odd == 0 && s.biweeklyOdd == 0) || (odd == 1 && s.biweeklyOdd != 0) ? 1 : 0;
}

int CLunarDate::GetHolidayKind() const
{
    return HolidayKindOf(*this, g_holidaySettings);
}
