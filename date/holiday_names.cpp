#include "date/holiday_names.h"

#include "date/holiday_law.h"
#include "date/holidays.h"
#include "date/lunar_date.h"

namespace {

// A lunar row's name as the law gave it later. The amendment of the public-holiday regulation
// of October 2017 renamed 석가탄신일 "부처님 오신 날" (its text spells it with the blanks), so the
// first 4-8 under the new name fell in 2018; earlier years keep the name they had.
struct Renaming {
    int month, day;  // of the lunar row
    int since;       // solar year
    const char* name;
};
constexpr Renaming kRenamings[] = {{4, 8, 2018, "부처님 오신 날"}};

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

const char* LunarName(const HolidayRule& row, int year)
{
    for (const Renaming& r : kRenamings) {
        if (r.month == row.month && r.day == row.day && year >= r.since) return r.name;
    }
    return FestivalName(row);
}

}  // namespace

std::vector<std::string> HolidayNames(const CLunarDate& day)
{
    const int year = day.GetYear(CAL_SOLAR);
    const int month = day.GetMonth(CAL_SOLAR);
    const int dayOfMonth = day.GetDay(CAL_SOLAR);
    std::vector<std::string> names;
    if (const HolidayRule* solar = FindHolidayRow(SolarHolidays, month, dayOfMonth)) names.emplace_back(solar->name);
    if (const HolidayRule* lunar = LunarHolidayRow(day)) names.emplace_back(LunarName(*lunar, year));
    for (const LawHoliday& law : LawHolidays(year)) {
        if (law.month == month && law.day == dayOfMonth) names.emplace_back(law.name);
    }
    return names;
}
