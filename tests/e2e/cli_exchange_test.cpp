// dorvane-cli against terminals that do not answer as they should, and runs cut short by a signal.
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/case_name.h"
#include "tests/support/ordinary_user.h"
#include "tests/support/pty_peer.h"
#include "tests/support/received_frames.h"
#include "tests/support/run_process.h"
#include "tests/support/test_simulator.h"

namespace {

using namespace std::chrono_literals;

std::unique_ptr<CTerminalSimulator> StartSimulator(int model, const SimulatorFaults& faults)
{
    auto sim = std::make_unique<CTerminalSimulator>(model, faults);
    PrepareTestSimulator(*sim);
    std::string error;
    EXPECT_TRUE(sim->Start(error)) << error;
    return sim;
}

std::vector<std::string> Cli(const CTerminalSimulator& sim, int model, std::vector<std::string> args)
{
    args.insert(args.begin(), {DORVANE_CLI_PATH, "--port", sim.SlavePath(), "--model", ModelName(model)});
    return args;
}

struct Misbehaviour {
    const char* name;
    int model;
    SimulatorFaults faults;
    const char* why;  // in the English half of the message
};

void PrintTo(const Misbehaviour& c, std::ostream* out)
{
    *out << c.name;
}

const Misbehaviour kMisbehaviours[] = {
    {"NG", MODEL_ZEFA102, {.refuse = true}, "the terminal answered \"NG\""},
    {"greets but never OK", MODEL_ZEFA101, {.refuse = true}, "the terminal answered \""},
    {"noise", MODEL_ZEFA102, {.noiseEveryMs = 20}, "only line noise, no reply from the terminal within 0.5 s"},
    {"noise lines", MODEL_ZEFA101, {.noiseEveryMs = 20}, "only line noise, no reply from the terminal within 0.5 s"},
};

class CliMisbehaviour : public ::testing::TestWithParam<Misbehaviour> {};

// Replies that do not connect leave the deadline where the connect frame put it.
TEST_P(CliMisbehaviour, EndsAtTheDeadlineSayingWhatCame)
{
    const Misbehaviour& c = GetParam();
    const auto sim = StartSimulator(c.model, c.faults);
    const ProcessResult r = RunProcess(Cli(*sim, c.model, {"--timeout", "0.5", "connect"}));
    EXPECT_EQ(r.exitStatus, 4);
    EXPECT_NE(r.err.find(c.why), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("[TIMEOUT]=>"), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(Terminals, CliMisbehaviour, ::testing::ValuesIn(kMisbehaviours), CaseName());

TEST(CliStep, AReplyStillArrivingIsNotCutOff)
{
    // About 1.3 s for the read reply at 1200 baud, against a time-out of 0.5 s between bytes.
    const auto sim = StartSimulator(MODEL_ZEFA101, {.baudRate = 1200});
    const ProcessResult r = RunProcess(Cli(*sim, MODEL_ZEFA101, {"--timeout", "0.5", "read", "2026"}));
    EXPECT_EQ(r.exitStatus, 0) << r.err;
}

// A terminal that writes two replies at once: they reach dorvane-cli in one read.
TEST(CliStep, EveryReplyOfOneWriteIsTaken)
{
    const struct {
        int model;
        std::string awaited;  // the frame the terminal answers; the ZEFA-101 speaks first
        std::string replies;
        const char* console;
    } terminals[] = {
        {MODEL_ZEFA101, "", "#READY\r\nOK\r\n", "[RX]=>(6)#READY\n연결 성공\n[RX]=>(2)OK\n"},
        {MODEL_ZEFA102, std::string("\x02") + "E\x03", "\x02NG\x03\x02OK\x03", "[RX]=>(2)NG\n연결 성공\n[RX]=>(2)OK\n"},
    };
    for (const auto& c : terminals) {
        PtyPeer peer;
        CChildProcess cli({DORVANE_CLI_PATH, "--port", peer.SlavePath(), "--model", ModelName(c.model), "connect"});
        ASSERT_TRUE(peer.WaitForOpen());
        ASSERT_EQ(peer.Receive(c.awaited.size()), c.awaited);
        peer.Send(c.replies);
        const ProcessResult r = cli.Wait();
        EXPECT_EQ(r.exitStatus, 0) << r.err;
        EXPECT_EQ(r.out, c.console);
    }
}

TEST(CliStep, AClockBefore2000IsRefusedBeforeAnythingIsSent)
{
    const auto sim = StartSimulator(MODEL_ZEFA102, {});
    std::vector<std::string> args = Cli(*sim, MODEL_ZEFA102, {"set-time"});
    // faketime preloads its clock, which AddressSanitizer would refuse to start behind.
    args.insert(args.begin(),
                {"/usr/bin/env", "ASAN_OPTIONS=verify_asan_link_order=0", "/usr/bin/faketime", "1999-12-31 23:59:00"});
    const ProcessResult r = RunProcess(args);
    EXPECT_EQ(r.exitStatus, 2) << r.err;
    EXPECT_NE(r.err.find("(1999)"), std::string::npos) << r.err;
    EXPECT_TRUE(sim->Received().empty());
}

TEST(CliPort, APortTheUserMayNotUseSaysHowToGetAccess)
{
    const auto sim = StartSimulator(MODEL_ZEFA102, {});
    const group* dialout = getgrnam("dialout");
    if (geteuid() != 0 || dialout == nullptr) GTEST_SKIP() << "needs root and the dialout group to play another user";
    ASSERT_EQ(chown(sim->SlavePath().c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(chmod(sim->SlavePath().c_str(), 0660), 0);
    std::vector<std::string> args = Cli(*sim, MODEL_ZEFA102, {"connect"});
    args.insert(args.begin(), {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    const ProcessResult r = RunProcess(args);
    EXPECT_EQ(r.exitStatus, 3);
    EXPECT_NE(r.err.find("포트를 열수가 없습니다. 이 사용자는 " + sim->SlavePath() + " 를 쓸 수 없습니다."),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("sudo usermod -aG dialout $USER"), std::string::npos) << r.err;
}

struct Interruption {
    const char* name;
    int signal;
    int exitStatus;
};

void PrintTo(const Interruption& c, std::ostream* out)
{
    *out << c.name;
}

class CliInterrupted : public ::testing::TestWithParam<Interruption> {};

TEST_P(CliInterrupted, ClosesThePortAndSaysHowFarTheUploadGot)
{
    const Interruption& c = GetParam();
    // Replies paced at 300 baud: the 52 Sundays of 2027 take seven seconds.
    const auto sim = StartSimulator(MODEL_ZEFA102, {.baudRate = 300});
    ASSERT_EQ(chmod(sim->SlavePath().c_str(), 0666), 0);
    CChildProcess cli(Cli(*sim, MODEL_ZEFA102, {"send", "2027", "--unset-holiday"}));
    ASSERT_TRUE(cli.Started());
    ASSERT_TRUE(sim->WaitForFrames(5, 20s));
    if (c.signal == SIGPIPE) {
        cli.ReadLine();
        cli.CloseOutput();  // the next line it writes meets a closed pipe
    } else {
        cli.Signal(c.signal);
    }
    const ProcessResult r = cli.Wait();
    EXPECT_EQ(r.exitStatus, c.exitStatus) << r.err;
    EXPECT_NE(r.err.find(std::string(c.name) + " 신호를 받아 중단했습니다 (데이터 전송 "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" / 52)"), std::string::npos) << r.err;
    const int opened = OpenAsOrdinaryUser(sim->SlavePath());
    if (opened < 0) GTEST_SKIP() << "only root can try the port as another user";
    EXPECT_EQ(opened, 0) << "the port is still held exclusively: " << std::strerror(opened);
}

INSTANTIATE_TEST_SUITE_P(Signals, CliInterrupted,
                         ::testing::Values(Interruption{"SIGINT", SIGINT, 130}, Interruption{"SIGTERM", SIGTERM, 143},
                                           Interruption{"SIGPIPE", SIGPIPE, 141}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
