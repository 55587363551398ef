#include "holiday_files/exported_holidays.h"

#include "date/holiday_names.h"

namespace {

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

const char* DayOffKindKey(DayOffKind kind)
{
    switch (kind) {
    case DayOffKind::National: return "national";
    case DayOffKind::Marked: return "marked";
    case DayOffKind::Biweekly: return "biweekly";
    }
    return "";
}

const char* DayOffKindName(DayOffKind kind)
{
    switch (kind) {
    case DayOffKind::National: return HolidayKindName[HOLIDAY_NATIONAL];
    case DayOffKind::Marked: return HolidayKindName[HOLIDAY_SET];
    case DayOffKind::Biweekly: return "격주휴무";
    }
    return "";
}

std::vector<ExportedHoliday> ExportedHolidays(int year, const HolidaySettings& settings, const MarkNames& names)
{
    HolidaySettings withoutSundays = settings;
    withoutSundays.unsetSunday = 1;
    std::vector<ExportedHoliday> days;
    CLunarDate cursor;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= DaysInMonth(year, month, CAL_SOLAR, 0); ++day) {
            cursor.SetDate(year, month, day, CAL_SOLAR, 0);
            const int kind = HolidayKindOf(cursor, withoutSundays);
            if (kind == HOLIDAY_NATIONAL) {
                days.push_back({{year, month, day}, DayOffKind::National, Joined(HolidayNames(cursor))});
            } else if (kind == HOLIDAY_SET) {
                // The rule looks at the marks before the biweekly day off.
                const DayOffKind set = settings.marks[month][day] == 1 ? DayOffKind::Marked : DayOffKind::Biweekly;
                const std::string own = set == DayOffKind::Marked ? MarkName(names, month, day) : "";
                days.push_back({{year, month, day}, set, own.empty() ? DayOffKindName(set) : own});
            }
        }
    }
    return days;
}
