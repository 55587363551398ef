#include <fstream>
#include <gtest/gtest.h>

#include "cli/command_line.h"
#include "tests/support/temp_folder.h"

namespace {

struct Parsed {
    bool ok;
    CliRequest request;
    OperatorMessage error;
};

constexpr LocalTime kMay2026 = {2026, 5, 15, 12, 0, 0};

Parsed Parse(std::vector<std::string> args, const LocalTime& now = kMay2026)
{
    Parsed p{};
    p.ok = ParseCommandLine(args, now, p.request, p.error);
    return p;
}

}  // namespace

TEST(CliCommandLine, HolidayOptionsAndYear)
{
    const Parsed p = Parse({"holidays", "2027", "--unset-sunday", "--biweekly", "sat:odd", "--mark", "05-01",
                            "--mark=12-31", "--unset-holiday"});
    ASSERT_TRUE(p.ok) << p.error.english;
    EXPECT_EQ(p.request.command, CliCommand::Holidays);
    EXPECT_EQ(p.request.year, 2027);
    EXPECT_TRUE(p.request.unsetSunday);
    EXPECT_TRUE(p.request.unsetHoliday);
    EXPECT_TRUE(p.request.biweeklyUse);
    EXPECT_TRUE(p.request.biweeklyOdd);
    EXPECT_EQ(p.request.biweeklyWeekday, 7);
    ASSERT_EQ(p.request.marks.size(), 2u);
    EXPECT_EQ(p.request.marks[1].month, 12);
    EXPECT_EQ(p.request.marks[1].day, 31);
}

TEST(CliCommandLine, YearDefaultsToThisYear)
{
    const Parsed p = Parse({"calendar"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.request.year, 2026);
}

TEST(CliCommandLine, TerminalCommands)
{
    Parsed p = Parse({"--port", "COM3=/dev/ttyUSB0", "--model", "ZEFA-102", "weekdays", "1762"});
    ASSERT_TRUE(p.ok) << p.error.english;
    ASSERT_EQ(p.request.ports.size(), 1u);
    EXPECT_EQ(p.request.ports[0].port, "COM3=/dev/ttyUSB0");
    EXPECT_EQ(p.request.weekdayDigits, "2671");  // Monday..Saturday, Sunday last

    p = Parse({"loan", "255", "250", "--simulate", "ZEFA-102", "--timeout", "0.5"});
    ASSERT_TRUE(p.ok) << p.error.english;
    EXPECT_EQ(p.request.model, 1);
    EXPECT_EQ(p.request.loanPeriod1, 255);
    EXPECT_EQ(p.request.loanPeriod2, 250);
    EXPECT_DOUBLE_EQ(p.request.timeoutSeconds, 0.5);
    EXPECT_DOUBLE_EQ(Parse({"connect", "--simulate", "ZEFA-102", "--timeout", "0.1"}).request.timeoutSeconds, 0.1);

    p = Parse({"send", "2100", "--port", "/dev/ttyS0", "--model", "ZEFA-101", "--without-lunar"});
    ASSERT_TRUE(p.ok) << p.error.english;
    EXPECT_EQ(p.request.year, 2100);
    EXPECT_EQ(p.request.model, 0);
}

TEST(CliCommandLine, InvalidInputIsRefusedWithAReason)
{
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"frobnicate"},
        {"holidays", "--bogus"},
        {"holidays", "20x7"},
        {"holidays", "1"},
        {"holidays", "--mark", "02-30"},
        {"holidays", "2027", "--mark", "02-29"},
        {"holidays", "--mark", "13-01"},
        {"holidays", "--mark", "1-1"},
        {"holidays", "--biweekly", "8:even"},
        {"holidays", "--biweekly", "sat:weekly"},
        {"holidays", "--mark"},
        {"connect"},
        {"connect", "--port", "COM3"},
        {"connect", "--port", "COM0", "--model", "ZEFA-101"},
        {"connect", "--port", "COM256", "--model", "ZEFA-101"},
        {"connect", "--port", "ttyS0", "--model", "ZEFA-101"},
        {"connect", "--port", "COM1", "--port", "COM1=/dev/ttyS5", "--model", "ZEFA-101"},
        {"connect", "--port", "COM3", "--port", "com3", "--model", "ZEFA-101"},
        {"connect", "--port", "COM3=/dev/ttyS7", "--port", "COM4=/dev/ttyS7", "--model", "ZEFA-101"},
        {"connect", "--ports-file", "/nonexistent/ports", "--model", "ZEFA-101"},
        {"read", "--verify", "--simulate", "ZEFA-102"},
        {"connect", "--port", "COM1", "--model", "ZEFA-103"},
        {"connect", "--simulate", "ZEFA-101", "--model", "ZEFA-102"},
        {"connect", "--simulate", "ZEFA-102", "--port", "COM1"},
        {"weekdays", "0", "--simulate", "ZEFA-102"},
        {"weekdays", "8", "--simulate", "ZEFA-102"},
        {"weekdays", "11", "--simulate", "ZEFA-102"},
        {"weekdays", "12345678", "--simulate", "ZEFA-102"},
        {"weekdays", "12", "--simulate", "ZEFA-101"},
        {"loan", "256", "0", "--simulate", "ZEFA-102"},
        {"loan", "0", "251", "--simulate", "ZEFA-102"},
        {"loan", "-1", "0", "--simulate", "ZEFA-102"},
        {"loan", "7일", "0", "--simulate", "ZEFA-102"},
        {"loan", "1", "--simulate", "ZEFA-102"},
        {"read", "1999", "--simulate", "ZEFA-102"},
        {"connect", "--simulate", "ZEFA-102", "--timeout", "0"},
        {"connect", "--simulate", "ZEFA-102", "--timeout", "abc"},
        {"connect", "--simulate", "ZEFA-102", "--timeout", "0.09"},
        {"connect", "--simulate", "ZEFA-102", "--timeout", "0x10"},
        {"connect", "--simulate", "ZEFA-102", "--timeout", " 5"},
        {"connect", "--simulate", "ZEFA-102", "--timeout", "1e-300"},
        {"connect", "--simulate", "ZEFA-102", "--timeout", "inf"},
        {"connect", "--simulate", "ZEFA-102", "--timeout", "nan"},
        {"connect", "--simulate", "ZEFA-102", "--timeout", "-1"},
        {"connect", "--simulate", "ZEFA-102", "--timeout", "+5"},
        {"ports", "extra"},
        {"connect", "--simulate", "ZEFA-102", "--jobs", "0"},
        {"connect", "--simulate", "ZEFA-102", "--report", ""},
        {"holidays", "--report", "report.json"},
        {"read", "coming", "--simulate", "ZEFA-102"},
    };
    for (const auto& args : refused) {
        const Parsed p = Parse(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_FALSE(p.ok) << joined;
        EXPECT_FALSE(p.error.korean.empty()) << joined;
        EXPECT_FALSE(p.error.english.empty()) << joined;
    }
}

TEST(CliCommandLine, HelpIsHonouredButATypoStillFails)
{
    const Parsed p = Parse({"send", "--help", "--bogus-later-is-not-read"});
    // An unknown option still fails: help does not hide a typo before it is read.
    EXPECT_FALSE(p.ok);
    EXPECT_FALSE(Parse({"--version", "--bogus"}).ok);
    const Parsed q = Parse({"send", "--help"});
    ASSERT_TRUE(q.ok);
    EXPECT_EQ(q.request.command, CliCommand::Help);
    EXPECT_NE(q.request.output.find("dorvane-cli send"), std::string::npos) << q.request.output;
    const Parsed v = Parse({"loan", "--version"});
    ASSERT_TRUE(v.ok) << v.error.english;
    EXPECT_EQ(v.request.command, CliCommand::Help);
    EXPECT_EQ(v.request.output, "dorvane-cli 1.0\n");
}

TEST(CliCommandLine, APortsFileLineNamesItsModelElseTakesTheModelOption)
{
    const CTempFolder folder("dorvane-ports");
    const std::string file = folder.File("terminals");
    std::ofstream(file) << "# desks\nCOM3   # --model's\ntcp://Branch3:4001 zefa-101\ntcp://branch3:4002\t"
                           "ZEFA-102\ntcp://branch4:4001 ZEFA-101\n";
    const Parsed p = Parse({"--ports-file", file, "--model", "ZEFA-102", "connect"});
    ASSERT_TRUE(p.ok) << p.error.english;
    const std::vector<std::pair<std::string, int>> expected = {
        {"COM3", 1}, {"tcp://Branch3:4001", 0}, {"tcp://branch3:4002", 1}, {"tcp://branch4:4001", 0}};
    std::vector<std::pair<std::string, int>> ports;
    for (const GivenPort& port : p.request.ports) ports.emplace_back(port.port, port.model);
    EXPECT_EQ(ports, expected);
}

TEST(CliCommandLine, APortsFileLineThatWillNotDoIsRefusedByFileAndLine)
{
    const CTempFolder folder("dorvane-ports");
    const struct {
        const char* lines;
        const char* model;  // --model, or empty
        const char* command;
        std::string said;  // after "FILE:"
    } refusals[] = {
        {"COM3 ZEFA-102\n\nCOM4\n", "", "connect", "3: name the model after the port, or give --model: COM4"},
        {"COM3 ZEFA-103\n", "", "connect", "1: model must be ZEFA-101 or ZEFA-102: ZEFA-103"},
        {"COM3 ZEFA-101 desk\n", "", "connect", "1: more than a port and a model: desk"},
        {"tcp://branch3:4001\nTCP://BRANCH3:4001\n", "ZEFA-101", "connect",
         "2: the same port is given twice: TCP://BRANCH3:4001"},
        {"tcp://branch3:4001\nrfc2217://branch3:4001\n", "ZEFA-101", "connect",
         "2: the same port is given twice: rfc2217://branch3:4001"},
        {"/dev/ttyUSB0\ncom33\n", "ZEFA-101", "connect", "2: the same port is given twice: com33"},
        {"COM5=/dev/ttyS9\n/dev/ttyS9\n", "ZEFA-101", "connect", "2: the same port is given twice: /dev/ttyS9"},
    };
    for (const auto& refusal : refusals) {
        const std::string file = folder.File("terminals");
        std::ofstream(file) << refusal.lines;
        std::vector<std::string> args = {"--ports-file", file, refusal.command};
        if (*refusal.model != '\0') args.insert(args.end(), {"--model", refusal.model});
        const Parsed p = Parse(args);
        EXPECT_FALSE(p.ok) << refusal.lines;
        EXPECT_EQ(p.error.english, file + ":" + refusal.said);
    }
    std::ofstream(folder.File("mixed")) << "COM3 ZEFA-102\nCOM4 ZEFA-101\n";
    const Parsed p = Parse({"--ports-file", folder.File("mixed"), "weekdays", "17"});
    EXPECT_EQ(p.error.english, "COM4: this command is for ZEFA-102 only");
}

TEST(CliCommandLine, TheComingYearIsTheNextFromDecemberOnButAZefa101s)
{
    const struct {
        int month;
        const char* model;
        int year;
    } cases[] = {{11, "ZEFA-102", 2026}, {12, "ZEFA-102", 2027}, {12, "ZEFA-101", 2026}, {1, "ZEFA-101", 2026}};
    for (const auto& c : cases) {
        const Parsed p = Parse({"send", "coming", "--simulate", c.model}, {2026, c.month, 1, 4, 30, 0});
        ASSERT_TRUE(p.ok) << p.error.english;
        EXPECT_EQ(p.request.year, c.year) << c.model << " in month " << c.month;
    }
}
