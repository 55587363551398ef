#include "holiday_files/holiday_file.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "holiday_files/exported_holidays.h"
#include "holiday_files/holiday_ics_writer.h"

namespace {

using Days = std::vector<std::string>;

// "MM-DD" per day.
Days DaysOf(const HolidayFile& file, int year)
{
    Days days;
    for (const SolarDate& d : HolidayFileDays(file, year)) {
        char text[8];
        std::snprintf(text, sizeof text, "%02d-%02d", d.month, d.day);
        days.push_back(text);
    }
    return days;
}

const char* const kSchool = R"(BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//School//Closures//KO
BEGIN:VEVENT
UID:anniversary
SUMMARY:개교기념일
DTSTART;VALUE=DATE:20200420
RRULE:FREQ=YEARLY
EXDATE;VALUE=DATE:20280420
END:VEVENT
BEGIN:VEVENT
UID:anniversary
RECURRENCE-ID;VALUE=DATE:20290420
SUMMARY:개교기념일 (옮김)
DTSTART;VALUE=DATE:20290423
END:VEVENT
BEGIN:VEVENT
UID:sports-day
SUMMARY:체육대회
DTSTART;VALUE=DATE:20270515
END:VEVENT
BEGIN:VEVENT
UID:summer
SUMMARY:여름 방학 휴관
DTSTART;VALUE=DATE:20270802
DTEND;VALUE=DATE:20270805
END:VEVENT
BEGIN:VEVENT
UID:inventory
SUMMARY:장서 점검
DTSTART;VALUE=DATE:20271231
DURATION:P3D
END:VEVENT
BEGIN:VEVENT
UID:meeting
SUMMARY:교직원 회의
DTSTART:20270310T140000
DTEND:20270310T160000
END:VEVENT
END:VCALENDAR
)";

}  // namespace

TEST(HolidayFile, OneOffYearlyAndMultiDayEventsGiveTheirDaysOfEachYear)
{
    const HolidayFileRead read = ReadHolidayFile(kSchool, "school.ics");
    ASSERT_TRUE(read.file) << read.refusal.english;
    EXPECT_EQ(DaysOf(*read.file, 2019), Days{});
    EXPECT_EQ(DaysOf(*read.file, 2027), (Days{"04-20", "05-15", "08-02", "08-03", "08-04", "12-31"}));
    EXPECT_EQ(DaysOf(*read.file, 2028), (Days{"01-01", "01-02"}));  // 04-20 excluded
    EXPECT_EQ(DaysOf(*read.file, 2029), (Days{"04-23"}));           // moved by its replacement

    ASSERT_EQ(read.skipped.size(), 1u);
    EXPECT_EQ(read.skipped[0].korean,
              "휴일 파일 school.ics 34번째 줄의 일정 \"교직원 회의\": 하루 종일 일정이 아니어서 건너뜁니다");

    HolidaySettings settings = DEFAULT_HOLIDAY_SETTINGS;
    MarkHolidayFileDays({*read.file}, 2027, settings);
    EXPECT_EQ(settings.marks[8][4], 1);
    EXPECT_EQ(settings.marks[8][5], 0);
}

TEST(HolidayFile, ExportedYearReadsBackAsTheSameDays)
{
    HolidaySettings settings = DEFAULT_HOLIDAY_SETTINGS;
    settings.marks[11][11] = 1;
    const std::vector<ExportedHoliday> exported = ExportedHolidays(2027, settings);
    const HolidayFileRead read = ReadHolidayFile(HolidayCalendarText(2027, exported, 0), "2027.ics");
    ASSERT_TRUE(read.file) << read.refusal.english;
    const std::vector<SolarDate> days = HolidayFileDays(*read.file, 2027);
    ASSERT_EQ(days.size(), 25u);
    for (size_t i = 0; i < days.size(); ++i) {
        EXPECT_EQ(DayNumber(days[i].year, days[i].month, days[i].day),
                  DayNumber(exported[i].date.year, exported[i].date.month, exported[i].date.day));
    }
}

TEST(HolidayFile, BrokenFileRefusedAtTheLineAtFault)
{
    struct Case {
        const char* what;
        const char* text;
        int line;
    } const cases[] = {
        {"unknown property",
         "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270101\nFOO:bar\nEND:VEVENT\nEND:VCALENDAR\n", 4},
        {"no such date", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20271345\nEND:VEVENT\nEND:VCALENDAR\n", 3},
        {"bad rule",
         "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270101\nRRULE:FREQ=SOMETIMES\nEND:VEVENT\nEND:"
         "VCALENDAR\n",
         4},
        {"folded lines count",
         "BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:a long\n  summary\nDTSTART;VALUE=DATE:2027\r\n "
         "0230\nEND:VEVENT\nEND:VCALENDAR\n",
         5},
        {"no DTSTART", "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nSUMMARY:x\nEND:VEVENT\nEND:VCALENDAR\n", 3},
        {"ends before it starts",
         "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270105\nDTEND;VALUE=DATE:20270101\nEND:VEVENT\nEND:"
         "VCALENDAR\n",
         4},
        {"END of another", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270101\nEND:VCALENDAR\n", 2},
        {"never ended", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270101\nEND:VEVENT\n", 1},
        {"END without BEGIN", "BEGIN:VCALENDAR\nEND:VEVENT\nEND:VCALENDAR\n", 2},
        {"text outside", "BEGIN:VCALENDAR\nEND:VCALENDAR\nhello\n", 3},
        {"empty", "", 1},
    };
    for (const Case& c : cases) {
        const HolidayFileRead read = ReadHolidayFile(c.text, "x.ics");
        EXPECT_FALSE(read.file) << c.what;
        EXPECT_EQ(read.refusedLine, c.line) << c.what << ": " << read.refusal.english;
    }
    EXPECT_EQ(ReadHolidayFile(cases[0].text, "x.ics").refusal.korean,
              "휴일 파일을 읽을 수 없습니다: x.ics 4번째 줄, 알 수 없는 속성입니다 (FOO:bar)");
}
