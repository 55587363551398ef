#include "date/holiday_reasons.h"

#include <string_view>

#include "date/holiday_names.h"
#include "date/lunar_date.h"

namespace {

constexpr const char* kWeekdayNames[8] = {"", "일요일", "월요일", "화요일", "수요일", "목요일", "금요일", "토요일"};

// The biweekly radio buttons' captions, "짝수" and "홀수", with the week they count; the
// weekday is the day's own.
std::string BiweeklyDetail(const HolidaySettings& s)
{
    return std::string("격주휴무 (") + (s.biweeklyOdd != 0 ? "홀수" : "짝수") + " 주 " +
           kWeekdayNames[s.biweeklyWeekday] + ")";
}

// HolidayKindName without the blanks that pad it for the console listing.
std::string KindText(int kind)
{
    std::string_view text = HolidayKindName[kind];
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

}  // namespace

std::vector<HolidayReason> HolidayReasons(const CLunarDate& day, const HolidaySettings& s, const MarkNames& names)
{
    std::vector<HolidayReason> reasons;
    const int weekday = day.GetWeekday();
    if (s.unsetSunday == 0 && weekday == 1) reasons.push_back({HOLIDAY_SUNDAY, ""});
    if (s.unsetHoliday == 0) {
        for (std::string& name : HolidayNames(day)) reasons.push_back({HOLIDAY_NATIONAL, std::move(name)});
    }
    const int month = day.GetMonth(CAL_SOLAR);
    const int dayOfMonth = day.GetDay(CAL_SOLAR);
    if (s.marks[month][dayOfMonth] == 1) {
        const std::size_t before = reasons.size();
        for (const MarkOrigin& origin : names.origins[month][dayOfMonth]) {
            if (origin.file.empty()) continue;
            // The file by its own name: the folder is the holiday folder, or where it was imported from.
            const std::string from = "휴일 파일 " + origin.file.substr(origin.file.find_last_of("/\\") + 1);
            reasons.push_back({HOLIDAY_SET, origin.name.empty() ? from : origin.name + " (" + from + ")"});
        }
        if (reasons.size() == before) reasons.push_back({HOLIDAY_SET, "달력에 표시한 날"});
    }
    if (IsBiweeklyDayOff(day, s)) reasons.push_back({HOLIDAY_SET, BiweeklyDetail(s)});
    return reasons;
}

std::string HolidayTipText(const CLunarDate& day, const std::vector<HolidayReason>& reasons)
{
    std::string text = day.Format(CAL_SOLAR);
    // Outside the lunar table the lunar fields are 0.
    if (day.GetMonth(CAL_LUNAR) != 0) {
        text += " (음력 " + std::string(day.IsLeapMonth() ? "윤" : "") + std::to_string(day.GetMonth(CAL_LUNAR)) +
                "월 " + std::to_string(day.GetDay(CAL_LUNAR)) + "일)";
    }
    // Appended piece by piece: GCC 12 at -O3 takes "\n" + text for an overlapping copy (-Wrestrict).
    for (const HolidayReason& reason : reasons) {
        text += '\n';
        text += KindText(reason.kind);
        if (!reason.detail.empty()) {
            text += ": ";
            text += reason.detail;
        }
    }
    return text;
}
