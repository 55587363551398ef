#include "date/unknown_holidays.h"

#include <cstdio>
#include <string>

#include "date/lunar_table.h"

namespace {

const char* const kHowKorean = "달력에서 그 날을 누르거나, --mark MM-DD 또는 휴일 파일로 더하십시오.";
const char* const kHowEnglish = "add them by clicking the days in the dialog, with --mark MM-DD, or with a holiday file";

}  // namespace

bool LunarHolidaysUnknown(int year)
{
    // Solar LUNAR_FIRST_YEAR begins before its lunar year does: the eve of its 설날 is not held.
    return year <= LUNAR_FIRST_YEAR || year > LUNAR_LAST_YEAR;
}

std::vector<OperatorMessage> UnknownHolidayNotes(int year)
{
    std::vector<OperatorMessage> notes;
    const std::string y = std::to_string(year);
    if (LunarHolidaysUnknown(year)) {
        const std::string range = std::to_string(LUNAR_FIRST_YEAR) + "-" + std::to_string(LUNAR_LAST_YEAR);
        notes.push_back({y + "년은 음력 표(" + range + "년) 밖이라 설날, 부처님 오신 날, 추석과 그 대체공휴일이 빠져 있습니다. " +
                             kHowKorean,
                         y + " lies outside the lunar table (" + range +
                             "): 설날, Buddha's Birthday, 추석 and their substitute days are missing; " + kHowEnglish});
    }
    const SolarDate known = DECLARED_DAYS_KNOWN_UNTIL;
    if (year >= known.year) {
        char day[16];
        std::snprintf(day, sizeof day, "%04d-%02d-%02d", known.year, known.month, known.day);
        notes.push_back({std::string(day) + " 뒤에 지정된 임시공휴일과 보궐선거일은 들어 있지 않습니다. " + kHowKorean,
                         std::string("one-off holidays and early elections declared after ") + day +
                             " are not included; " + kHowEnglish});
    }
    return notes;
}
