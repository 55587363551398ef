#include "holiday_files/holiday_file.h"

#include <sys/stat.h>

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "holiday_files/exported_holidays.h"
#include "holiday_files/holiday_ics_writer.h"
#include "holiday_files/imported_holidays.h"
#include "tests/support/temp_folder.h"

namespace {

using Days = std::vector<std::string>;

std::string MonthDay(const SolarDate& date)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d-%02d", date.month, date.day);
    return text;
}

// "MM-DD" per day.
Days DaysOf(const HolidayFile& file, int year)
{
    Days days;
    for (const ImportedHoliday& d : ImportedHolidays({file}, year).days) days.push_back(MonthDay(d.date));
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
    MarkNames names;
    EXPECT_TRUE(MarkHolidayFileDays({*read.file}, 2027, settings, names).empty());
    EXPECT_EQ(settings.marks[8][4], 1);
    EXPECT_EQ(settings.marks[8][5], 0);
    EXPECT_EQ(MarkName(names, 8, 4), "여름 방학 휴관");

    // Where a day comes from, for whoever shows it: the replacement's own SUMMARY and the file.
    const std::vector<ImportedHoliday> moved = ImportedHolidays({*read.file}, 2029).days;
    ASSERT_EQ(moved.size(), 1u);
    ASSERT_EQ(moved[0].names.size(), 1u);
    EXPECT_EQ(moved[0].names[0].summary, "개교기념일 (옮김)");
    EXPECT_EQ(moved[0].names[0].file, "school.ics");
}

TEST(HolidayFile, ExportedYearReadsBackAsTheSameDays)
{
    HolidaySettings settings = DEFAULT_HOLIDAY_SETTINGS;
    settings.marks[11][11] = 1;
    const std::vector<ExportedHoliday> exported = ExportedHolidays(2027, settings, MarkNames{});
    std::string text;
    OperatorMessage refusal;
    ASSERT_TRUE(HolidayCalendarText(2027, exported, 0, text, refusal));
    const HolidayFileRead read = ReadHolidayFile(text, "2027.ics");
    ASSERT_TRUE(read.file) << read.refusal.english;
    const std::vector<ImportedHoliday> days = ImportedHolidays({*read.file}, 2027).days;
    ASSERT_EQ(days.size(), 25u);
    for (size_t i = 0; i < days.size(); ++i) {
        EXPECT_EQ(MonthDay(days[i].date), MonthDay(exported[i].date));
        EXPECT_EQ(days[i].names[0].summary, exported[i].name);
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

namespace {

std::string Calendar(const std::string& event)
{
    return "BEGIN:VCALENDAR\nBEGIN:VEVENT\n" + event + "END:VEVENT\nEND:VCALENDAR\n";
}

// What reading the file came to: "refused: <why>", or the days of `year` ("01-01..12-31 (365)",
// "none"), then the year's refusal and the first skipped event, each after " / ".
std::string Outcome(const std::filesystem::path& path, int year)
{
    // libical prints some faults on standard error itself: none may reach the screen.
    ::testing::internal::CaptureStderr();
    const HolidayFileRead read = ReadHolidayFile(path);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    if (!printed.empty()) return "printed: " + printed;
    if (!read.file) return "refused: " + read.refusal.english;
    const ImportedYear imported = ImportedHolidays({*read.file}, year);
    const auto& days = imported.days;
    std::string outcome = days.empty() ? "none"
                                       : MonthDay(days.front().date) + ".." + MonthDay(days.back().date) + " (" +
                                             std::to_string(days.size()) + ")";
    for (const OperatorMessage& refusal : imported.refusals) outcome += " / " + refusal.english;
    for (const OperatorMessage& skipped : read.skipped) outcome += " / " + skipped.english;
    return outcome;
}

}  // namespace

TEST(HolidayFile, HostileFilesAreRefusedOrReadAsTheySay)
{
    const CTempFolder folder("dorvane-hostile");
    std::string nested = "BEGIN:VCALENDAR\n";
    for (int i = 0; i < 40000; ++i) nested += "BEGIN:VEVENT\n";
    std::string dailies = "BEGIN:VCALENDAR\n";
    for (int i = 0; i < 250; ++i) dailies += "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20270101\nRRULE:FREQ=DAILY\nEND:VEVENT\n";
    dailies += "END:VCALENDAR\n";
    const struct {
        const char* what;
        std::string text;  // written to a file of that name, or: "fifo", "folder"
        int year;
        std::string outcome;  // a part of it
    } rows[] = {
        {"nested", nested, 2027, "line 9: components nested deeper than 8 levels"},
        {"oversized", std::string(HOLIDAY_FILE_MOST_BYTES + 1, '\n'), 2027,
         "too large: 1,048,577 bytes, at most 1,048,576"},
        {"fifo", "fifo", 2027, ": not a regular file (a FIFO)"},
        {"folder", "folder", 2027, ": not a regular file (a folder)"},
        {"counted from year 1", Calendar("DTSTART;VALUE=DATE:00010101\nRRULE:FREQ=DAILY;COUNT=3\n"), 2027,
         "line 4: a repeating event must start on 1582-10-15 or later"},
        {"counted once, shown far from its start",
         Calendar("DTSTART;VALUE=DATE:16000301\nRRULE:FREQ=YEARLY;COUNT=1000\n"), 2027, "03-01..03-01 (1)"},
        {"counted past 2582", Calendar("DTSTART;VALUE=DATE:16000301\nRRULE:FREQ=YEARLY;COUNT=1000\n"), 2583,
         "none / holiday file " + folder.File("counted past 2582") +
             ", line 2: libical repeats nothing after 2582, so the days of 2583 are unknown"},
        {"counted too long", Calendar("DTSTART;VALUE=DATE:16000101\nRRULE:FREQ=DAILY;COUNT=1000000\n"), 2027,
         "line 4: rules with COUNT too long: 100000 repetitions in all per file"},
        {"daily past 2582", Calendar("DTSTART;VALUE=DATE:20270101\nRRULE:FREQ=DAILY\n"), 2583,
         "libical repeats nothing after 2582, so the days of 2583 are unknown"},
        {"repeating from 2600", Calendar("DTSTART;VALUE=DATE:26000101\nRRULE:FREQ=YEARLY\n"), 2600,
         "line 4: libical repeats nothing after 2582"},
        {"matches no day", Calendar("DTSTART;VALUE=DATE:20270101\nRRULE:FREQ=MONTHLY;BYMONTH=2;BYMONTHDAY=30\n"),
         2027, "line 4: the RRULE matches no day"},
        {"days beyond an int of seconds", Calendar("DTSTART;VALUE=DATE:20270101\nDURATION:P24855D\n"), 2095,
         "01-01..01-18 (18)"},
        {"weeks beyond 9999", Calendar("DTSTART;VALUE=DATE:20270101\nDURATION:P99999999W\n"), 2027,
         "line 4: DURATION runs past 9999-12-31"},
        {"repeating, each longer than a year",
         Calendar("DTSTART;VALUE=DATE:20270101\nDURATION:P367D\nRRULE:FREQ=YEARLY\n"), 2027,
         "line 5: a repeating event lasts at most 366 days each time"},
        {"too many daily rules", dailies, 2027, ", line 986: the repeating events up to it repeat too often in 2027"},
        {"a long line", "BEGIN:VCALENDAR\nX" + std::string(10000, 'A') + ":1\nEND:VCALENDAR\n", 2027,
         "line 2: Parse error in property name: XAAAA"},
        {"escape codes", Calendar("SUMMARY:\x1b[2Jhi\nDTSTART:20270101T090000\n"), 2027,
         "none / holiday file " + folder.File("escape codes") + ", line 2: skipped \"\\x1B[2Jhi\""},
        {"libical's own properties", Calendar("X-LIC-ERROR:made up\nX-LIC-CLASS:\x1b[31mred\nDTSTART;VALUE=DATE:20270505\n"),
         2027, "05-05..05-05 (1)"},
        {"BEGIN without a colon", "BEGIN:VCALENDAR\nBEGIN\nEND:VCALENDAR\n", 2027,
         "line 2: Got a data line, but could not find a property name"},
    };
    for (const auto& row : rows) {
        const std::filesystem::path path = folder.File(row.what);
        if (row.text == "fifo") {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        } else if (row.text == "folder") {
            std::filesystem::create_directory(path);
        } else {
            std::ofstream(path, std::ios::binary) << row.text;
        }
        const std::string outcome = Outcome(path, row.year);
        EXPECT_NE(outcome.find(row.outcome), std::string::npos) << row.what << ": " << outcome;
        // A message quotes the start of a line, never the whole.
        EXPECT_LT(outcome.size(), 400u) << row.what;
    }
}
