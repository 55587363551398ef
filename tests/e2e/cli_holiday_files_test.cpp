// dorvane-cli with holiday files: the year out as iCalendar and JSON, days in from .ics files.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/received_frames.h"
#include "tests/support/run_process.h"
#include "tests/support/unknown_holiday_notes.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A config home of the test's own, holding what the test puts in it.
class CliHolidayFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_config = fs::temp_directory_path() / ("dorvane-config-" + std::to_string(::getpid()));
        fs::remove_all(m_config);
        fs::create_directories(m_config / "dorvane/holidays");
        ::setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(m_config); }

    fs::path Write(const fs::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    fs::path m_config;
};

const char* const kClosure =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Library//Closures//KO\r\n"
    "BEGIN:VEVENT\r\nUID:anniversary\r\nSUMMARY:개관기념일\r\nDTSTART;VALUE=DATE:20200520\r\n"
    "RRULE:FREQ=YEARLY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

ProcessResult Cli(std::vector<std::string> args)
{
    args.insert(args.begin(), DORVANE_CLI_PATH);
    return RunProcess(args);
}

TEST_F(CliHolidayFiles, TheYearAsJsonForScripts)
{
    const ProcessResult r = Cli({"holidays", "2027", "--unset-holiday", "--mark", "03-03", "--format", "json"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.out.find(R"(
  "holidays": [
    {
      "date": "2027-03-03",
      "kind": "marked",
      "name": "설정공휴일"
    }
  ],
  "notes": [
    {
      "korean": "2025-06-03 뒤에)"),
              std::string::npos)
        << r.out;
}

TEST_F(CliHolidayFiles, TheYearAsICalendar)
{
    const ProcessResult r = Cli({"holidays", "2027", "--format", "ics"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
    EXPECT_NE(r.out.find("DTSTART;VALUE=DATE:20270101\r\nDTEND;VALUE=DATE:20270102\r\nSUMMARY:신정\r\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("UID:20270209-holiday@dorvane\r\n"), std::string::npos);
    EXPECT_EQ(r.out.find("DTSTART;VALUE=DATE:20270103\r\n"), std::string::npos) << "a plain Sunday";

    const ProcessResult late = Cli({"holidays", "3001", "--format", "ics"});
    EXPECT_EQ(late.exitStatus, 2);
    EXPECT_EQ(late.out, "");
    EXPECT_NE(late.err.find("libical cannot write a date after 3000 in iCalendar (3001-01-01)"), std::string::npos)
        << late.err;
}

TEST_F(CliHolidayFiles, TheFolderAndImportsCountAsMarkedDays)
{
    Write(m_config / "dorvane/holidays/closure.ics", kClosure);
    const fs::path extra = Write(m_config / "extra.ics",
                                 "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//KO\r\nBEGIN:VEVENT\r\nUID:one\r\n"
                                 "DTSTART;VALUE=DATE:20270707\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    const ProcessResult r = Cli({"holidays", "2027", "--unset-sunday", "--unset-holiday", "--import", extra.string()});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    // A day goes by its SUMMARY where it has one.
    EXPECT_EQ(r.out, "Holiday[개관기념일] => 2027-05-20\nHoliday[설정공휴일] => 2027-07-07\n" +
                         std::string(kDeclaredDaysNoteLine) + "\n    총휴일수 :     2 일\n");
    const ProcessResult json = Cli({"holidays", "2027", "--unset-holiday", "--format", "json"});
    ASSERT_EQ(json.exitStatus, 0) << json.err;
    EXPECT_NE(json.out.find(R"(
  "holidays": [
    {
      "date": "2027-05-20",
      "kind": "marked",
      "name": "개관기념일"
    }
  ],)"),
              std::string::npos)
        << json.out;
}

TEST_F(CliHolidayFiles, ABrokenFileImportedOrInTheFolderIsRefusedWithItsLineAndNothingIsSent)
{
    CTerminalSimulator sim(MODEL_ZEFA102);
    sim.KeepReceivedFrames();
    std::string error;
    ASSERT_TRUE(sim.Start(error)) << error;
    const std::string broken =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:2027xx01\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const fs::path imported = Write(m_config / "broken.ics", broken);
    const fs::path inFolder = m_config / "dorvane/holidays/broken.ics";
    const struct {
        std::vector<std::string> extra;
        fs::path file;
    } ways[] = {{{"--import", imported.string()}, imported}, {{}, inFolder}};
    for (const auto& way : ways) {
        if (way.file == inFolder) Write(inFolder, broken);
        std::vector<std::string> args = {"--port", sim.SlavePath(), "--model", "ZEFA-102", "send", "2027"};
        args.insert(args.end(), way.extra.begin(), way.extra.end());
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitStatus, 2) << way.file;
        EXPECT_NE(r.err.find(way.file.string() + " 4번째 줄"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(sim.Received().empty());
}

TEST_F(CliHolidayFiles, SendTakesTheImportedDays)
{
    CTerminalSimulator sim(MODEL_ZEFA102);
    sim.KeepReceivedFrames();
    std::string error;
    ASSERT_TRUE(sim.Start(error)) << error;
    const fs::path closure = Write(m_config / "closure.ics", kClosure);
    const ProcessResult r = Cli({"--port", sim.SlavePath(), "--model", "ZEFA-102", "send", "2027", "--unset-sunday",
                                 "--unset-holiday", "--import", closure.string()});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(FrameTexts(sim), (std::vector<std::string>{"E", "D270520", "D270000"}));
}

}  // namespace
