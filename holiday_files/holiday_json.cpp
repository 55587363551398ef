#include "holiday_files/holiday_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>

std::string HolidayJsonText(const std::vector<ExportedHoliday>& days)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const ExportedHoliday& day : days) {
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", day.date.year, day.date.month, day.date.day);
        list.push_back({{"date", date}, {"kind", DayOffKindKey(day.kind)}, {"name", day.name}});
    }
    return list.dump(2) + "\n";
}
