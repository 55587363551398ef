#include "holiday_files/exported_holidays.h"

#include <libical/ical.h>

#include <gtest/gtest.h>
#include <map>
#include <string>

#include "holiday_files/holiday_ics_writer.h"
#include "holiday_files/holiday_json.h"

namespace {

std::string Key(int year, int month, int day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
    return text;
}

// "kind name" by "YYYYMMDD".
std::map<std::string, std::string> ByDate(const std::vector<ExportedHoliday>& days)
{
    std::map<std::string, std::string> byDate;
    for (const ExportedHoliday& d : days) {
        byDate[Key(d.date.year, d.date.month, d.date.day)] = std::string(DayOffKindKey(d.kind)) + " " + d.name;
    }
    return byDate;
}

}  // namespace

TEST(ExportedHolidays, NationalMarkedAndBiweeklyWithSundaysAsOrdinaryDays)
{
    HolidaySettings settings = DEFAULT_HOLIDAY_SETTINGS;
    settings.marks[3][7] = 1;  // a Sunday
    settings.marks[6][6] = 1;  // 현충일, a Sunday
    settings.marks[4][20] = 1;
    MarkNames names;  // as holiday files give them
    AddMarkName(names, 4, 20, "개교기념일");
    AddMarkName(names, 4, 20, "장서 점검");
    AddMarkName(names, 4, 20, "개교기념일");
    settings.biweeklyUse = 1;
    settings.biweeklyWeekday = 7;  // Saturdays of even week rows
    const auto byDate = ByDate(ExportedHolidays(2027, settings, names));
    const std::map<std::string, std::string> expected = {
        {"20270101", "national 신정"},   {"20270109", "biweekly 격주휴무"}, {"20270123", "biweekly 격주휴무"},
        {"20270206", "national 설날"},   {"20270307", "marked 설정공휴일"}, {"20270606", "national 현충일"},
        {"20271003", "national 개천절"}, {"20270420", "marked 개교기념일, 장서 점검"},
    };
    for (const auto& [date, what] : expected) EXPECT_EQ(byDate.count(date) ? byDate.at(date) : "", what) << date;
    for (const char* absent : {"20270102", "20270103", "20270116"}) EXPECT_EQ(byDate.count(absent), 0u) << absent;
}

TEST(HolidayCalendarText, LibicalReadsBackTheRulesDaysOf2027)
{
    std::string text;
    OperatorMessage refusal;
    ASSERT_TRUE(HolidayCalendarText(2027, ExportedHolidays(2027, DEFAULT_HOLIDAY_SETTINGS, MarkNames{}), 1800000000,
                                    text, refusal));
    for (size_t begin = 0, end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
        ASSERT_EQ(text[end - 1], '\r') << "line at " << begin;
        EXPECT_LE(end - 1 - begin, 75u) << "line at " << begin;
    }

    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(icalcomponent_count_errors(calendar), 0);
    std::map<std::string, std::string> summaries;
    icalcomponent* first = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
    for (icalcomponent* e = first; e != nullptr;
         e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        const icaltimetype start = icalcomponent_get_dtstart(e);
        EXPECT_TRUE(start.is_date);
        summaries[Key(start.year, start.month, start.day)] = icalcomponent_get_summary(e);
    }
    EXPECT_EQ(summaries.size(), 24u);
    const std::map<std::string, std::string> some = {
        {"20270101", "신정"},   {"20270206", "설날"}, {"20270209", "대체공휴일"}, {"20270501", "노동절"},
        {"20270606", "현충일"}, {"20270915", "추석"}, {"20271003", "개천절"},     {"20271227", "대체공휴일"},
    };
    for (const auto& [date, name] : some) EXPECT_EQ(summaries[date], name) << date;
    EXPECT_STREQ(icalcomponent_get_uid(first), "20270101-holiday@dorvane");
    EXPECT_STREQ(icaltime_as_ical_string(icalcomponent_get_dtend(first)), "20270102");
    EXPECT_STREQ(icaltime_as_ical_string(
                     icalproperty_get_dtstamp(icalcomponent_get_first_property(first, ICAL_DTSTAMP_PROPERTY))),
                 "20270115T080000Z");
    icalcomponent_free(calendar);
}

TEST(HolidayJsonText, DateKindAndName)
{
    const std::vector<ExportedHoliday> days = {
        {{2027, 1, 1}, DayOffKind::National, "신정"},
        {{2027, 1, 9}, DayOffKind::Biweekly, "격주휴무"},
    };
    EXPECT_EQ(HolidayJsonText(2027, days), R"({
  "year": 2027,
  "holidays": [
    {
      "date": "2027-01-01",
      "kind": "national",
      "name": "신정"
    },
    {
      "date": "2027-01-09",
      "kind": "biweekly",
      "name": "격주휴무"
    }
  ],
  "notes": [
    {
      "korean": "2025-06-03 뒤에 지정된 임시공휴일과 보궐선거일은 들어 있지 않습니다. 달력에서 그 날을 누르거나, --mark MM-DD 또는 휴일 파일로 더하십시오.",
      "english": "one-off holidays and early elections declared after 2025-06-03 are not included; add them by clicking the days in the dialog, with --mark MM-DD, or with a holiday file"
    }
  ]
}
)");
    EXPECT_EQ(HolidayJsonText(2024, {}), "{\n  \"year\": 2024,\n  \"holidays\": [],\n  \"notes\": []\n}\n");
}
