// The iCalendar files as a part of their own (dorvane-icalendar.so): libical and ICU are loaded
// only by a program that reads or writes a holiday file. The part hands over this table;
// icalendar_part_loaded.cpp gives ReadHolidayFile, ImportedHolidays and HolidayCalendarText
// through it, and says so when the part is missing.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "base/plugin.h"
#include "holiday_files/exported_holidays.h"
#include "holiday_files/holiday_file.h"
#include "holiday_files/imported_holidays.h"

struct ICalendarPart {
    HolidayFileRead (*readHolidayFile)(std::string_view text, const std::string& name);
    ImportedYear (*importedHolidays)(const std::vector<HolidayFile>& files, int year);
    bool (*holidayCalendarText)(int year, const std::vector<ExportedHoliday>& days, std::time_t stamp,
                                std::string& text, OperatorMessage& refusal);
};

inline constexpr PluginName ICALENDAR_PART{"휴일 파일(iCalendar)", "holiday files (iCalendar)",
                                           "dorvane-icalendar.so"};
inline constexpr const char* ICALENDAR_PART_ENTRY = "DorvaneICalendarPart";
using ICalendarPartEntry = const ICalendarPart* (*)();
