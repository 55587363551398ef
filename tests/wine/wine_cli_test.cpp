// dorvane-cli.exe and the Win32 serial code under Wine: a private prefix whose COM5 is the
// pseudo-terminal of a simulated terminal. Run by the Windows build's ctest (tests/wine), with
// DORVANE_WINDOWS_BUILD naming that build.
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/received_frames.h"
#include "tests/support/run_process.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kPort = 5;
constexpr const char* kRunLimitSeconds = "60";  // a run past this is a hang: timeout ends it with 124

fs::path g_windowsBuild;
fs::path g_prefix;

// Output lines without the CR that Windows' text mode adds.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& line : Lines(text)) {
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    }
    return found;
}

// Runs `argv` (found on PATH) with its output appended to the prefix's log, and no pipe of ours:
// Wine's server and services outlive the command and would hold a pipe open for ever.
int RunLogged(const std::vector<std::string>& argv)
{
    const std::string log = (g_prefix / "wine.log").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Windows program `exe` under Wine, within the run limit; `modemLines` loads the test aid that
// answers Wine's modem-status query on the pseudo-terminal as a cabled UART does.
ProcessResult RunWindows(const fs::path& exe, const std::vector<std::string>& args, bool modemLines = true)
{
    std::vector<std::string> argv = {"/usr/bin/env"};
    if (modemLines) argv.push_back(std::string("LD_PRELOAD=") + DORVANE_WINE_PTY_MODEM_LINES);
    argv.insert(argv.end(), {"timeout", kRunLimitSeconds, "wine", exe.string()});
    argv.insert(argv.end(), args.begin(), args.end());
    ProcessResult result = RunProcess(argv);
    EXPECT_NE(result.exitStatus, 124) << exe.filename() << " did not end within " << kRunLimitSeconds << " s";
    return result;
}

fs::path CliExe()
{
    return g_windowsBuild / "bin" / "dorvane-cli.exe";
}

// One prefix for the whole run: wineboot takes seconds.
class WinePrefix : public ::testing::Environment {
public:
    void SetUp() override
    {
        const char* build = std::getenv("DORVANE_WINDOWS_BUILD");
        ASSERT_NE(build, nullptr) << "DORVANE_WINDOWS_BUILD must name the Windows build "
                                     "(cmake --preset windows -DDORVANE_TESTS=ON; ctest runs this)";
        g_windowsBuild = build;
        for (const fs::path& exe : {CliExe(), g_windowsBuild / "bin" / "comm_open_close_cycles.exe"}) {
            ASSERT_TRUE(fs::exists(exe)) << exe << " is missing: build the Windows build first";
        }
        ASSERT_EQ(RunProcess({"/usr/bin/env", "wine", "--version"}).exitStatus, 0)
            << "wine is missing (Debian: apt-get install wine wine64)";

        std::string dir = (fs::temp_directory_path() / "dorvane-wine-XXXXXX").string();
        ASSERT_NE(::mkdtemp(dir.data()), nullptr);
        g_prefix = dir;
        ::setenv("WINEPREFIX", dir.c_str(), 1);
        ::setenv("WINEDEBUG", "-all", 1);
        ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);  // no Mono or Gecko installer
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        // Persistent, so that no program's run starts (and ends) a server of its own.
        ASSERT_EQ(RunLogged({"wineserver", "-p"}), 0) << "see " << g_prefix / "wine.log";
        ASSERT_EQ(RunLogged({"wineboot", "-i"}), 0) << "see " << g_prefix / "wine.log";
        ASSERT_EQ(RunLogged({"wine", "reg", "import", std::string(DORVANE_WINE_TEST_DIR) + "/serial_ports.reg"}), 0)
            << "see " << g_prefix / "wine.log";
    }

    void TearDown() override
    {
        if (g_prefix.empty()) return;
        RunLogged({"wineserver", "-k"});
        std::error_code ignored;
        fs::remove_all(g_prefix, ignored);
    }
};

// A simulated terminal on a pseudo-terminal that the prefix maps as COM5.
class WineTerminal : public ::testing::Test {
protected:
    void StartSimulator(int model, const SimulatorFaults& faults = {},
                        std::chrono::milliseconds greeting = std::chrono::milliseconds(50))
    {
        m_nModel = model;
        m_sim = std::make_unique<CTerminalSimulator>(model, faults);
        m_sim->SetGreetingInterval(greeting);
        m_sim->KeepReceivedFrames();
        std::string error;
        ASSERT_TRUE(m_sim->Start(error)) << error;
        const fs::path link = g_prefix / "dosdevices" / ("com" + std::to_string(kPort));
        fs::remove(link);
        fs::create_symlink(m_sim->SlavePath(), link);
    }

    ProcessResult Cli(const std::vector<std::string>& args, const char* timeoutSeconds = "3", bool modemLines = true)
    {
        std::vector<std::string> all = {
            "--port", "COM" + std::to_string(kPort), "--model", ModelName(m_nModel), "--timeout", timeoutSeconds};
        all.insert(all.end(), args.begin(), args.end());
        return RunWindows(CliExe(), all, modemLines);
    }

    std::unique_ptr<CTerminalSimulator> m_sim;
    int m_nModel = MODEL_ZEFA102;
};

class WineConnect : public WineTerminal, public ::testing::WithParamInterface<int> {};

TEST_P(WineConnect, ConnectsOverTheComPort)
{
    StartSimulator(GetParam());
    const ProcessResult r = Cli({"connect"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(LinesStartingWith(r.out, "연결 성공").size(), 1u) << r.out;
    EXPECT_EQ(FrameTexts(*m_sim), (std::vector<std::string>{GetParam() == MODEL_ZEFA101 ? "#E" : "E"}));
}

INSTANTIATE_TEST_SUITE_P(BothModels, WineConnect, ::testing::Values(MODEL_ZEFA101, MODEL_ZEFA102),
                         [](const auto& info) { return info.param == MODEL_ZEFA101 ? "ZEFA101" : "ZEFA102"; });

TEST_F(WineTerminal, SendUploadsTheMarkedDayThenTheEndRecord)
{
    StartSimulator(MODEL_ZEFA102);
    const ProcessResult r = Cli({"send", "2027", "--unset-sunday", "--unset-holiday", "--mark", "03-03"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(FrameTexts(*m_sim), (std::vector<std::string>{"E", "D270303", "D270000"}));
}

TEST_F(WineTerminal, ReadListsWhatTheTerminalHolds)
{
    StartSimulator(MODEL_ZEFA102);
    ASSERT_EQ(
        Cli({"send", "2027", "--unset-sunday", "--unset-holiday", "--mark", "01-05", "--mark", "12-31"}).exitStatus, 0);
    const ProcessResult r = Cli({"read", "2027"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(LinesStartingWith(r.out, "Read => "),
              (std::vector<std::string>{"Read => 2027-01-05", "Read => 2027-12-31"}));
}

TEST_F(WineTerminal, SilentTerminalEndsTheRunWithExit4)
{
    StartSimulator(MODEL_ZEFA102, {.silent = true});
    const ProcessResult r = Cli({"connect"}, "1");
    EXPECT_EQ(r.exitStatus, 4) << r.err;
    EXPECT_EQ(Lines(r.err).at(0), "dorvane-cli: 단말기 응답이 없습니다. / no reply from the terminal within 1 s");
}

TEST_F(WineTerminal, HangUpEndsTheRunWithExit5)
{
    StartSimulator(MODEL_ZEFA102, {.hangUpAfterFrames = 3});
    const ProcessResult r = Cli({"send", "2027"});
    EXPECT_EQ(r.exitStatus, 5) << r.err;
    EXPECT_EQ(Lines(r.err).at(0), "dorvane-cli: COM5 포트의 연결이 끊어졌습니다. / the port went away: COM5: hang-up");
}

// Without the test aid Wine aborts every wait on the pseudo-terminal (ERROR_OPERATION_ABORTED):
// the reader must keep reading, not take the quiet second before the greeting for a hang-up.
TEST_F(WineTerminal, WaitsThatWineAbortsAreNoHangUp)
{
    StartSimulator(MODEL_ZEFA101, {}, 1s);
    const ProcessResult r = Cli({"connect"}, "3", /*modemLines=*/false);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(FrameTexts(*m_sim), (std::vector<std::string>{"#E"}));
}

// On a quiet line only the close's wake-up ends the reader's wait. Each close comes at another
// moment: before the reader's first wait, as it begins, during it.
TEST_F(WineTerminal, TwoHundredOpensAndClosesWhileTheReaderWaitsNoneHangs)
{
    StartSimulator(MODEL_ZEFA102, {.silent = true});
    const ProcessResult r =
        RunWindows(g_windowsBuild / "bin" / "comm_open_close_cycles.exe", {std::to_string(kPort), "200"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(Lines(r.out).at(0), "200 open/close cycles, none hung");
}

TEST(WineCli, PortsListsTheRegistrysPortsInComboboxOrder)
{
    const ProcessResult r = RunWindows(CliExe(), {"ports"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{"COM10", "COM2"}));
}

TEST(WineCli, SimulateIsRefusedForWantOfAPseudoTerminal)
{
    const ProcessResult r = RunWindows(CliExe(), {"--simulate", "ZEFA-102", "connect"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(Lines(r.err).at(0),
              "dorvane-cli: Windows 에서는 --simulate 를 쓸 수 없습니다 (시뮬레이터는 가상 터미널이 필요합니다) / "
              "--simulate is not available on Windows: the simulator needs a pseudo-terminal");
}

const auto* const g_winePrefix = ::testing::AddGlobalTestEnvironment(new WinePrefix);

}  // namespace
