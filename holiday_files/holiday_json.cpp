#include "holiday_files/holiday_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "date/unknown_holidays.h"

std::string HolidayJsonText(int year, const std::vector<ExportedHoliday>& days)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const ExportedHoliday& day : days) {
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", day.date.year, day.date.month, day.date.day);
        list.push_back({{"date", date}, {"kind", DayOffKindKey(day.kind)}, {"name", day.name}});
    }
    nlohmann::ordered_json notes = nlohmann::ordered_json::array();
    for (const OperatorMessage& note : UnknownHolidayNotes(year)) {
        notes.push_back({{"korean", note.korean}, {"english", note.english}});
    }
    const nlohmann::ordered_json document = {{"year", year}, {"holidays", list}, {"notes", notes}};
    return document.dump(2) + "\n";
}
