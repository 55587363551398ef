// dorvane-cli on several terminals at once, uploads read back (--verify), the TLS trust file
// (--ca) and the scheduled service's run, as a process against simulated terminals on real
// pseudo-terminals.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

#include "protocol/terminal_model.h"
#include "tests/support/case_name.h"
#include "tests/support/received_frames.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_simulator.h"

namespace {

using namespace std::chrono_literals;

using Sim = std::unique_ptr<CTerminalSimulator>;

class CliFleet : public ::testing::Test {
protected:
    Sim Start(int model, const SimulatorFaults& faults = {})
    {
        std::string error;
        Sim sim = StartTestSimulator(model, error, faults);
        EXPECT_TRUE(sim) << error;
        return sim;
    }

    std::string WritePortsFile(const std::string& text)
    {
        const std::string path = m_folder.File("ports");
        std::ofstream(path) << text;
        return path;
    }

    CTempFolder m_folder{"dorvane-fleet"};
};

std::vector<std::string> Cli(std::vector<std::string> args)
{
    args.insert(args.begin(), DORVANE_CLI_PATH);
    return args;
}

// The lines of `text` that start with none of `starts`.
std::vector<std::string> LinesStartingOtherwise(const std::string& text, const std::vector<std::string>& starts)
{
    std::vector<std::string> others;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        bool known = false;
        for (const std::string& start : starts) known = known || line.rfind(start, 0) == 0;
        if (!known) others.push_back(line);
    }
    return others;
}

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(CliFleet, ASilentTerminalFailsAloneAndItsStatusIsTheFleets)
{
    const Sim a = Start(MODEL_ZEFA102);
    const Sim b = Start(MODEL_ZEFA102);
    const Sim silent = Start(MODEL_ZEFA102, {.silent = true});
    const std::string file =
        WritePortsFile("# the lending desks\n\n" + b->SlavePath() + "  # second floor\n" + silent->SlavePath() + "\n");
    const ProcessResult r =
        RunProcess(Cli({"--port", a->SlavePath(), "--ports-file", file, "--model", "ZEFA-102", "--timeout", "0.5",
                        "send", "2027", "--unset-sunday", "--unset-holiday", "--mark", "03-03"}));
    EXPECT_EQ(r.exitStatus, 4) << r.err;
    for (const Sim* sim : {&a, &b}) EXPECT_EQ(FrameTexts(**sim), (std::vector<std::string>{"E", "D270303", "D270000"}));
    EXPECT_TRUE(Has(r.out, "[요약] " + a->SlavePath() + ": 성공 / ok (exit 0)\n")) << r.out;
    EXPECT_TRUE(Has(r.out, "[요약] " + b->SlavePath() + ": 성공 / ok (exit 0)\n")) << r.out;
    EXPECT_TRUE(Has(r.out, "[요약] " + silent->SlavePath() + ": 응답 없음 / no reply (exit 4)\n")) << r.out;
    EXPECT_TRUE(Has(r.err, silent->SlavePath() + ": dorvane-cli: 단말기 응답이 없습니다.")) << r.err;
    const std::vector<std::string> starts = {a->SlavePath() + ": ", b->SlavePath() + ": ", silent->SlavePath() + ": ",
                                             "[요약] "};
    EXPECT_EQ(LinesStartingOtherwise(r.out, starts), std::vector<std::string>{}) << r.out;
    EXPECT_EQ(LinesStartingOtherwise(r.err, starts), std::vector<std::string>{}) << r.err;
}

// Four runs at once would hold 3 + 4 x 3 descriptors, more than 12: without fewer at a time, a run
// would fail to start.
TEST_F(CliFleet, UnderALowOpenFileLimitFewerRunAtOnceAndNoneIsLeftOut)
{
    std::vector<std::string> args = {"/usr/bin/prlimit", "--nofile=12:12", "--", DORVANE_CLI_PATH};
    std::vector<Sim> sims;
    for (int i = 0; i < 4; ++i) {
        sims.push_back(Start(MODEL_ZEFA102));
        args.insert(args.end(), {"--port", sims.back()->SlavePath()});
    }
    args.insert(args.end(), {"--model", "ZEFA-102", "set-time"});
    const ProcessResult r = RunProcess(args);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_TRUE(Has(r.err,
                    "dorvane-cli: 열린 파일 한도가 12 개라서 단말기를 한 번에 1 대씩 실행합니다 / the open-file "
                    "limit of 12 allows terminals only 1 at a time\n"))
        << r.err;
    for (const Sim& sim : sims)
        EXPECT_TRUE(Has(r.out, "[요약] " + sim->SlavePath() + ": 성공 / ok (exit 0)\n")) << r.out;
}

TEST_F(CliFleet, APortsFileLineOrACaFileThatWillNotDoSendsNothing)
{
    const Sim sim = Start(MODEL_ZEFA102);
    const std::string file = WritePortsFile("# desks\n" + sim->SlavePath() + "\n\nttyS0\n");
    const struct {
        std::vector<std::string> args;
        std::string said;
    } refusals[] = {
        {{"--ports-file", file},
         file + ":4: invalid port (COMn, /dev/PATH, tcp://HOST:PORT, or COMn= either; n 1-255): ttyS0\n"},
        {{"--port", sim->SlavePath(), "--ca", "/nonexistent/ca.pem"},
         "인증기관 인증서 파일을 읽을 수 없습니다: /nonexistent/ca.pem (No such file or directory) / "},
    };
    for (const auto& refusal : refusals) {
        std::vector<std::string> args = Cli(refusal.args);
        args.insert(args.end(), {"--model", "ZEFA-102", "connect"});
        const ProcessResult r = RunProcess(args);
        EXPECT_EQ(r.exitStatus, 2);
        EXPECT_TRUE(Has(r.err, refusal.said)) << r.err;
    }
    EXPECT_TRUE(sim->Received().empty());
}

TEST_F(CliFleet, TheSummarySaysWhatAVerifiedUploadFoundOnEachTerminal)
{
    const Sim good = Start(MODEL_ZEFA102);
    const Sim forgetful = Start(MODEL_ZEFA102, {.forgetDay = 303});
    const ProcessResult r = RunProcess(
        Cli({"--port", good->SlavePath(), "--port", forgetful->SlavePath(), "--model", "ZEFA-102", "send", "2027",
             "--unset-sunday", "--unset-holiday", "--mark", "03-03", "--mark", "03-04", "--verify"}));
    EXPECT_EQ(r.exitStatus, 6) << r.err;
    EXPECT_TRUE(Has(r.out, "[요약] " + good->SlavePath() + ": 검증됨 / verified (exit 0)\n")) << r.out;
    EXPECT_TRUE(Has(r.out, "[요약] " + forgetful->SlavePath() + ": 다름 / not verified: missing 2027-03-03 (exit 6)\n"))
        << r.out;
}

TEST_F(CliFleet, ASignalReachesEveryTerminalAndEachSaysHowFarItGot)
{
    // Replies paced at 300 baud: the 52 Sundays of 2027 take seven seconds.
    const Sim a = Start(MODEL_ZEFA102, {.baudRate = 300});
    const Sim b = Start(MODEL_ZEFA102, {.baudRate = 300});
    CChildProcess cli(Cli({"--port", a->SlavePath(), "--port", b->SlavePath(), "--model", "ZEFA-102", "send", "2027",
                           "--unset-holiday"}));
    ASSERT_TRUE(cli.Started());
    ASSERT_TRUE(a->WaitForFrames(5, 20s));
    ASSERT_TRUE(b->WaitForFrames(5, 20s));
    cli.Signal(SIGTERM);
    const ProcessResult r = cli.Wait();
    EXPECT_EQ(r.exitStatus, 143) << r.err;
    for (const Sim* sim : {&a, &b}) {
        const std::string port = (*sim)->SlavePath();
        EXPECT_TRUE(Has(r.err, port + ": dorvane-cli: SIGTERM 신호를 받아 중단했습니다 (데이터 전송 ")) << r.err;
        EXPECT_TRUE(Has(r.out, "[요약] " + port + ": 중단됨 / interrupted (exit 143)\n")) << r.out;
    }
}

// Every answer to a holiday frame carries a line of its own and an escape sequence.
TEST_F(CliFleet, ATerminalsBytesAreShownEscapedAndCannotWriteTheSummary)
{
    const SimulatorFaults hostile = {.forgetDay = 303, .uploadReplyTail = "\nMissing => 2027-12-25\x1b[2K"};
    const Sim alone = Start(MODEL_ZEFA102, hostile);
    const Sim inFleet = Start(MODEL_ZEFA102, hostile);
    const std::vector<std::string> send = {"--model",         "ZEFA-102", "send",  "2027",    "--unset-sunday",
                                           "--unset-holiday", "--mark",   "03-03", "--verify"};
    std::vector<std::string> one = Cli({"--port", alone->SlavePath()});
    std::vector<std::string> fleet = Cli({"--ports-file", WritePortsFile(inFleet->SlavePath() + "\n")});
    for (auto* args : {&one, &fleet}) args->insert(args->end(), send.begin(), send.end());
    const ProcessResult single = RunProcess(one);
    const ProcessResult many = RunProcess(fleet);

    const std::string shown = "[RX]=>(28)OK<LF>Missing => 2027-12-25\\x1B[2K\n";
    EXPECT_EQ(single.exitStatus, 6) << single.err;
    EXPECT_TRUE(Has(single.out, "\n" + shown + "[TX]=>")) << single.out;
    EXPECT_TRUE(Has(many.out, "\n" + inFleet->SlavePath() + ": " + shown)) << many.out;
    EXPECT_TRUE(
        Has(many.out, "[요약] " + inFleet->SlavePath() + ": 다름 / not verified: missing 2027-03-03 (exit 6)\n"))
        << many.out;
    for (const ProcessResult* r : {&single, &many}) EXPECT_EQ(r->out.find('\x1b'), std::string::npos) << r->out;
}

struct Upload {
    const char* name;
    int model;
    SimulatorFaults faults;
    bool heldBefore;  // the terminal already holds 05-05 from an earlier upload
    int exitStatus;
    const char* listed;  // how its standard output ends
    const char* said;    // on its standard error
};

void PrintTo(const Upload& c, std::ostream* out)
{
    *out << c.name;
}

// 03-03 and 03-04 go out; a ZEFA-101 files them under its clock's year, which may not be 2027.
const Upload kUploads[] = {
    {"ZEFA101 good", MODEL_ZEFA101, {}, false, 0, "verified: the terminal holds the 2 holidays sent\n", ""},
    {"ZEFA102 good", MODEL_ZEFA102, {}, false, 0, "verified: the terminal holds the 2 holidays sent\n", ""},
    {"ZEFA101 forgets",
     MODEL_ZEFA101,
     {.forgetDay = 303},
     true,
     6,
     "\nMissing => 2027-03-03\nExtra => 2027-05-05\n",
     "/ the terminal's holidays differ from those sent (1 missing, 1 extra)\n"},
    {"ZEFA102 forgets",
     MODEL_ZEFA102,
     {.forgetDay = 303},
     true,
     6,
     "\nMissing => 2027-03-03\nExtra => 2027-05-05\n",
     "/ the terminal's holidays differ from those sent (1 missing, 1 extra)\n"},
};

class CliVerify : public CliFleet, public ::testing::WithParamInterface<Upload> {};

TEST_P(CliVerify, ListsEveryDayTheTerminalHoldsOtherwise)
{
    const Upload& c = GetParam();
    const Sim sim = Start(c.model, c.faults);
    const std::vector<std::string> common = {"--port", sim->SlavePath(), "--model",        ModelName(c.model),
                                             "send",   "2027",           "--unset-sunday", "--unset-holiday"};
    std::vector<std::string> seed = Cli(common);
    seed.insert(seed.end(), {"--mark", "05-05"});
    if (c.heldBefore) {
        ASSERT_EQ(RunProcess(seed).exitStatus, 0);
    }
    std::vector<std::string> verify = Cli(common);
    verify.insert(verify.end(), {"--mark", "03-03", "--mark", "03-04", "--verify"});
    const ProcessResult r = RunProcess(verify);
    EXPECT_EQ(r.exitStatus, c.exitStatus) << r.err;
    EXPECT_TRUE(r.out.ends_with(c.listed)) << r.out;
    EXPECT_TRUE(Has(r.err, c.said)) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Terminals, CliVerify, ::testing::ValuesIn(kUploads), CaseName());

// The value of `key=` in a unit file, split at blanks.
std::vector<std::string> UnitSetting(const std::string& unit, const std::string& key)
{
    std::ifstream file(std::string(DORVANE_UNITS_DIR) + "/" + unit);
    std::vector<std::string> words;
    for (std::string line; std::getline(file, line);) {
        if (!line.starts_with(key + "=")) continue;
        std::istringstream value(line.substr(key.size() + 1));
        for (std::string word; value >> word;) words.push_back(word);
    }
    return words;
}

// The holiday service's command as the unit has it, on 5 December 2026, with the system's
// folders under a folder of the test's own: the ZEFA-102 terminals take 2027, the ZEFA-101 2026,
// each with the library's anniversary from the service's holiday folder.
TEST_F(CliFleet, TheHolidayServiceReportsAMixedFleetWithASilentTerminal)
{
    const Sim zefa101 = Start(MODEL_ZEFA101);
    const Sim zefa102 = Start(MODEL_ZEFA102);
    const Sim silent = Start(MODEL_ZEFA102, {.silent = true});
    const std::string root = m_folder.Path();
    std::filesystem::create_directories(root + "/etc/dorvane/holidays");
    std::filesystem::create_directories(root + "/var/lib/dorvane");
    std::ofstream(root + "/etc/dorvane/terminals") << zefa101->SlavePath() << " ZEFA-101\n"
                                                   << zefa102->SlavePath() << " ZEFA-102\n"
                                                   << silent->SlavePath() << "   ZEFA-102  # the reading room\n";
    std::ofstream(root + "/etc/dorvane/holidays/closures.ics")
        << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Library//Closures//KO\r\nBEGIN:VEVENT\r\n"
           "UID:anniversary\r\nSUMMARY:개관기념일\r\nDTSTART;VALUE=DATE:20200420\r\nRRULE:FREQ=YEARLY\r\n"
           "END:VEVENT\r\nEND:VCALENDAR\r\n";

    // faketime preloads its clock, which AddressSanitizer would refuse to start behind; the steady
    // clock stays the kernel's, whose deadlines the waits hand to it.
    std::vector<std::string> args = {"/usr/bin/env", "ASAN_OPTIONS=verify_asan_link_order=0",
                                     "FAKETIME_DONT_FAKE_MONOTONIC=1"};
    for (const std::string& setting : UnitSetting("dorvane-holidays.service", "Environment")) {
        const std::size_t equals = setting.find('=');
        args.push_back(setting.substr(0, equals + 1) + root + setting.substr(equals + 1));
    }
    args.insert(args.end(), {"/usr/bin/faketime", "-f", "@2026-12-05 10:00:00"});
    const std::vector<std::string> command = UnitSetting("dorvane-holidays.service", "ExecStart");
    ASSERT_FALSE(command.empty());
    EXPECT_EQ(command[0], "/usr/bin/dorvane-cli");
    args.push_back(DORVANE_CLI_PATH);
    for (std::size_t i = 1; i < command.size(); ++i)
        args.push_back(command[i].starts_with("/") ? root + command[i] : command[i]);
    args.insert(args.end(), {"--timeout", "0.5"});  // the silent terminal given up sooner than in service
    const ProcessResult r = RunProcess(args);
    EXPECT_EQ(r.exitStatus, 4) << r.err;

    std::ifstream file(root + "/var/lib/dorvane/holidays.json");
    nlohmann::json report = nlohmann::json::parse(file, nullptr, false);
    ASSERT_TRUE(report.is_object()) << r.out << r.err;
    EXPECT_TRUE(report["start"].get<std::string>().starts_with("2026-12-05T10:00:")) << report["start"];
    EXPECT_GE(report["end"].get<std::string>(), report["start"].get<std::string>());
    for (nlohmann::json& terminal : report["terminals"]) {
        EXPECT_GT(terminal["seconds"].get<double>(), 0.0);
        terminal.erase("seconds");
    }
    report.erase("start");
    report.erase("end");
    const nlohmann::json verified = {{"missing", nlohmann::json::array()}, {"extra", nlohmann::json::array()}};
    const nlohmann::json expected = {
        {"exitStatus", 4},
        {"terminals",
         {{{"port", zefa101->SlavePath()},
           {"model", "ZEFA-101"},
           {"command", "send"},
           {"year", 2026},
           {"exitStatus", 0},
           {"message", nullptr},
           {"holidaysSent", 21},
           {"differences", verified}},
          {{"port", zefa102->SlavePath()},
           {"model", "ZEFA-102"},
           {"command", "send"},
           {"year", 2027},
           {"exitStatus", 0},
           {"message", nullptr},
           {"holidaysSent", 73},
           {"differences", verified}},
          {{"port", silent->SlavePath()},
           {"model", "ZEFA-102"},
           {"command", "send"},
           {"year", 2027},
           {"exitStatus", 4},
           {"message", {{"korean", "단말기 응답이 없습니다."}, {"english", "no reply from the terminal within 0.5 s"}}},
           {"holidaysSent", 0}}}}};
    EXPECT_EQ(report, expected) << report.dump(2);
}

}  // namespace
