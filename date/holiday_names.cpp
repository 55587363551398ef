#include "date/holiday_names.h"

#include "date/holiday_law.h"
#include "date/holidays.h"
#include "date/lunar_date.h"

namespace {

// An unnamed row belongs to the festival of its month; the eve, alone in the 12th month, to the
// festival that follows it round the year: the New Year.
const char* FestivalName(const HolidayRule& row)
{
    if (row.name[0] != '\0') return row.name;
    for (const HolidayRule& rule : LunarHolidays) {
        if (rule.month == row.month && rule.name[0] != '\0') return rule.name;
    }
    const int index = static_cast<int>(&row - LunarHolidays);
    for (int step = 1; step < HOLIDAY_TABLE_ROWS; ++step) {
        const HolidayRule& rule = LunarHolidays[(index + step) % HOLIDAY_TABLE_ROWS];
        if (rule.name[0] != '\0') return rule.name;
    }
    return row.name;
}

}  // namespace

std::vector<std::string> HolidayNames(const CLunarDate& day)
{
    const int year = day.GetYear(CAL_SOLAR);
    const int month = day.GetMonth(CAL_SOLAR);
    const int dayOfMonth = day.GetDay(CAL_SOLAR);
    std::vector<std::string> names;
    if (const HolidayRule* solar = FindHolidayRow(SolarHolidays, month, dayOfMonth)) names.emplace_back(solar->name);
    if (const HolidayRule* lunar = LunarHolidayRow(day)) names.emplace_back(FestivalName(*lunar));
    for (const LawHoliday& law : LawHolidays(year)) {
        if (law.month == month && law.day == dayOfMonth) names.emplace_back(law.name);
    }
    return names;
}
