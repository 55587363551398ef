// dorvane-cli commands that need no terminal, run as a real process.
#include <gtest/gtest.h>

#include "tests/support/run_process.h"
#include "tests/support/unknown_holiday_notes.h"

namespace {

ProcessResult Cli(std::vector<std::string> args)
{
    args.insert(args.begin(), DORVANE_CLI_PATH);
    return RunProcess(args);
}

size_t CountLines(const std::string& text, const std::string& prefix)
{
    size_t count = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = text.find('\n', pos);
        if (text.compare(pos, prefix.size(), prefix) == 0) ++count;
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    return count;
}

}  // namespace

TEST(CliOffline, CalendarPrintsEveryDayOfTheYear)
{
    const ProcessResult r = Cli({"calendar", "2024"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(CountLines(r.out, "2024년 "), 366u);
    EXPECT_NE(r.out.find("2024년 02월 10일 토요일  음력 2024년 01월 01일\n"), std::string::npos);
    EXPECT_NE(r.out.find("2024년 12월 31일 화요일  음력 2024년 12월 01일\n"), std::string::npos);
}

TEST(CliOffline, HolidaysListEveryKindAndTheTotal)
{
    const ProcessResult r = Cli({"holidays", "2009", "--mark", "08-08", "--biweekly", "sat:even"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.out.find("Holiday[일요일    ] => 2009-01-04\n"), std::string::npos);
    EXPECT_NE(r.out.find("Holiday[국가공휴일] => 2009-01-26\n"), std::string::npos);
    EXPECT_NE(r.out.find("Holiday[설정공휴일] => 2009-08-08\n"), std::string::npos);
    EXPECT_NE(r.out.find("Holiday[설정공휴일] => 2009-08-22\n"), std::string::npos);
    const size_t listed = CountLines(r.out, "Holiday[");
    char total[64];
    std::snprintf(total, sizeof total, "    총휴일수 : %5zu 일\n", listed);
    EXPECT_NE(r.out.find(total), std::string::npos) << r.out;
}

TEST(CliOffline, OptionsChangeTheCount)
{
    const ProcessResult all = Cli({"holidays", "2027"});
    const ProcessResult noSundays = Cli({"holidays", "2027", "--unset-sunday"});
    const ProcessResult nothing = Cli({"holidays", "2027", "--unset-sunday", "--unset-holiday"});
    ASSERT_EQ(all.exitStatus, 0);
    EXPECT_EQ(CountLines(noSundays.out, "Holiday[일요일"), 0u);
    EXPECT_LT(CountLines(noSundays.out, "Holiday["), CountLines(all.out, "Holiday["));
    EXPECT_EQ(nothing.out, std::string(kDeclaredDaysNoteLine) + "\n    총휴일수 :     0 일\n");
}

TEST(CliOffline, InvalidArgumentsExitWithStatus2AndABilingualLine)
{
    const std::vector<std::vector<std::string>> bad = {
        {"holidays", "--mark", "02-30"}, {"calendar", "abc"}, {"nonsense"}, {}};
    for (const auto& args : bad) {
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitStatus, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err.rfind("dorvane-cli: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(" / "), std::string::npos) << r.err;
    }
}

TEST(CliOffline, HelpDocumentsEveryCommand)
{
    const ProcessResult r = Cli({"--help"});
    ASSERT_EQ(r.exitStatus, 0);
    for (const char* command : {"ports", "calendar", "holidays", "connect", "set-time", "read", "delete", "send",
                                "weekdays", "loan", "--simulate", "--timeout", "--port", "--model"}) {
        EXPECT_NE(r.out.find(command), std::string::npos) << command;
    }
}

TEST(CliOffline, PortsListsNamedPortsInComboboxOrderWithTheirDevices)
{
    const ProcessResult r = Cli({"ports", "--port", "COM2=/dev/dorvane-test", "--simulate", "ZEFA-102"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const size_t simulator = r.out.find(" (ZEFA-102 simulator)\n");
    const size_t two = r.out.find("COM2 = /dev/dorvane-test\n");
    ASSERT_NE(simulator, std::string::npos) << r.out;
    ASSERT_NE(two, std::string::npos) << r.out;
    EXPECT_LT(simulator, two);  // COM129 before COM2: string order, as the sorted combobox shows them
}
