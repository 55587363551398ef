// dorvane-cli.exe and the Win32 serial code under Wine: a private prefix whose COM5 is the
// pseudo-terminal of a simulated terminal. Run by the Windows build's ctest (tests/wine), with
// DORVANE_WINDOWS_BUILD naming that build.
#include <algorithm>
#include <gtest/gtest.h>
#include <thread>

#include "tests/support/received_frames.h"
#include "wine_prefix.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

fs::path CliExe()
{
    return g_windowsBuild / "bin" / "dorvane-cli.exe";
}

fs::path ConsoleHostExe()
{
    return g_windowsBuild / "bin" / "console_host.exe";
}

// dorvane-cli.exe on COM5, with the terminal's model.
class CliTerminal : public WineTerminal {
protected:
    ProcessResult Cli(const std::vector<std::string>& args, const char* timeoutSeconds = "3", bool modemLines = true)
    {
        std::vector<std::string> all = {
            "--port", "COM" + std::to_string(kWinePort), "--model", ModelName(m_nModel), "--timeout", timeoutSeconds};
        all.insert(all.end(), args.begin(), args.end());
        return RunWindows(CliExe(), all, modemLines);
    }
};

class WineConnect : public CliTerminal, public ::testing::WithParamInterface<int> {};

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

TEST_F(CliTerminal, SendUploadsTheMarkedDayThenTheEndRecord)
{
    StartSimulator(MODEL_ZEFA102);
    const ProcessResult r = Cli({"send", "2027", "--unset-sunday", "--unset-holiday", "--mark", "03-03"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(FrameTexts(*m_sim), (std::vector<std::string>{"E", "D270303", "D270000"}));
}

TEST_F(CliTerminal, ReadListsWhatTheTerminalHolds)
{
    StartSimulator(MODEL_ZEFA102);
    ASSERT_EQ(
        Cli({"send", "2027", "--unset-sunday", "--unset-holiday", "--mark", "01-05", "--mark", "12-31"}).exitStatus, 0);
    const ProcessResult r = Cli({"read", "2027"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(LinesStartingWith(r.out, "Read => "),
              (std::vector<std::string>{"Read => 2027-01-05", "Read => 2027-12-31"}));
}

TEST_F(CliTerminal, SilentTerminalEndsTheRunWithExit4)
{
    StartSimulator(MODEL_ZEFA102, {.silent = true});
    const ProcessResult r = Cli({"connect"}, "1");
    EXPECT_EQ(r.exitStatus, 4) << r.err;
    EXPECT_EQ(Lines(r.err).at(0), "dorvane-cli: 단말기 응답이 없습니다. / no reply from the terminal within 1 s");
}

TEST_F(CliTerminal, HangUpEndsTheRunWithExit5)
{
    StartSimulator(MODEL_ZEFA102, {.hangUpAfterFrames = 3});
    const ProcessResult r = Cli({"send", "2027"});
    EXPECT_EQ(r.exitStatus, 5) << r.err;
    EXPECT_EQ(Lines(r.err).at(0), "dorvane-cli: COM5 포트의 연결이 끊어졌습니다. / the port went away: COM5: hang-up");
}

// Without the test aid Wine aborts every wait on the pseudo-terminal (ERROR_OPERATION_ABORTED):
// the reader must keep reading, not take the quiet second before the greeting for a hang-up.
TEST_F(CliTerminal, WaitsThatWineAbortsAreNoHangUp)
{
    StartSimulator(MODEL_ZEFA101, {}, 1s);
    const ProcessResult r = Cli({"connect"}, "3", /*modemLines=*/false);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(FrameTexts(*m_sim), (std::vector<std::string>{"#E"}));
}

// On a quiet line only the close's wake-up ends the reader's wait. Each close comes at another
// moment: before the reader's first wait, as it begins, during it.
TEST_F(CliTerminal, TwoHundredOpensAndClosesWhileTheReaderWaitsNoneHangs)
{
    StartSimulator(MODEL_ZEFA102, {.silent = true});
    const ProcessResult r =
        RunWindows(g_windowsBuild / "bin" / "comm_open_close_cycles.exe", {std::to_string(kWinePort), "200"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(Lines(r.out).at(0), "200 open/close cycles, none hung");
}

// Fleets: a dorvane-cli.exe per terminal, on COM5 and the ports after it.
class WineFleet : public ::testing::Test {
protected:
    void Start(const std::vector<SimulatorFaults>& terminals)
    {
        for (const SimulatorFaults& faults : terminals) {
            m_sims.push_back(StartSimulatorOnCom(kWinePort + static_cast<int>(m_sims.size()), MODEL_ZEFA102, faults));
            ASSERT_TRUE(m_sims.back());
        }
    }

    std::vector<std::unique_ptr<CTerminalSimulator>> m_sims;
};

TEST_F(WineFleet, ASilentTerminalFailsAloneAndItsStatusIsTheFleets)
{
    Start({{}, {}, {.silent = true}});
    const ProcessResult r =
        RunWindows(CliExe(), {"--port", "COM5", "--port", "COM6", "--port", "COM7", "--model", "ZEFA-102", "--timeout",
                              "1", "send", "2027", "--unset-sunday", "--unset-holiday", "--mark", "03-03"});
    EXPECT_EQ(r.exitStatus, 4) << r.err;
    EXPECT_EQ(LinesStartingWith(r.out, "[요약] "),
              (std::vector<std::string>{"[요약] COM5: 성공 / ok (exit 0)", "[요약] COM6: 성공 / ok (exit 0)",
                                        "[요약] COM7: 응답 없음 / no reply (exit 4)"}));
    EXPECT_EQ(Lines(r.err), (std::vector<std::string>{
                                "COM7: dorvane-cli: 단말기 응답이 없습니다. / no reply from the terminal within 1 s"}));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(FrameTexts(*m_sims[i]), (std::vector<std::string>{"E", "D270303", "D270000"}));
    }
    EXPECT_EQ(FrameTexts(*m_sims[2]), (std::vector<std::string>{"E"}));
}

// Ctrl+C on the console reaches every run of the fleet: each closes its port and says how far it
// got, and the ports serve the next run.
TEST_F(WineFleet, CtrlCEndsEveryRunWhichSaysHowFarItGot)
{
    // Replies paced at 300 baud: the 52 Sundays of 2027 take seven seconds.
    Start({{.baudRate = 300}, {.baudRate = 300}});
    // Once eight replies have come: each terminal's connect and some of its holidays.
    const ProcessResult r =
        RunWindowsOnConsole(ConsoleHostExe(), {"ctrl-c", "8", "[RX]", WindowsPath(CliExe()), "--port", "COM5", "--port",
                                               "COM6", "--model", "ZEFA-102", "send", "2027", "--unset-holiday"});
    EXPECT_EQ(r.exitStatus, 130) << r.err;
    EXPECT_EQ(LinesStartingWith(r.out, "[요약] "),
              (std::vector<std::string>{"[요약] COM5: 중단됨 / interrupted (exit 130)",
                                        "[요약] COM6: 중단됨 / interrupted (exit 130)"}));
    for (const std::string port : {"COM5", "COM6"}) {
        EXPECT_EQ(
            LinesStartingWith(r.out, port + ": dorvane-cli: Ctrl+C 신호를 받아 중단했습니다 (데이터 전송 ").size(), 1u)
            << r.out;
    }
    for (const auto& sim : m_sims) EXPECT_LT(FrameTexts(*sim).size(), 54u);  // E, 52 Sundays, the end
    const ProcessResult next =
        RunWindows(CliExe(), {"--port", "COM5", "--port", "COM6", "--model", "ZEFA-102", "connect"});
    EXPECT_EQ(next.exitStatus, 0) << next.err;
}

TEST(WineCli, PortsListsTheRegistrysPortsInComboboxOrder)
{
    const ProcessResult r = RunWindows(CliExe(), {"ports"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{"COM10", "COM2"}));
}

// Korean in and out: an argument arrives as the operator typed it (in the ANSI code page it
// was ???), and reads right on a console (through the C runtime, 국 showed as êµ­).
TEST(WineCli, KoreanReadsRightOnAConsoleScreen)
{
    const ProcessResult r = RunWindowsOnConsole(
        ConsoleHostExe(), {"screen", WindowsPath(CliExe()), "holidays", "2027", "--biweekly", "토요일:even"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 96u) << r.out;  // 94 holidays, the note and the total
    EXPECT_EQ(rows.front(), "Holiday[국가공휴일] => 2027-01-01");
    EXPECT_EQ(rows.back(), "    총휴일수 :    94 일");
}

TEST(WineCli, SimulateIsRefusedForWantOfAPseudoTerminal)
{
    const ProcessResult r = RunWindows(CliExe(), {"--simulate", "ZEFA-102", "connect"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(Lines(r.err).at(0),
              "dorvane-cli: Windows 에서는 --simulate 를 쓸 수 없습니다 (시뮬레이터는 가상 터미널이 필요합니다) / "
              "--simulate is not available on Windows: the simulator needs a pseudo-terminal");
}

// The help lists only what works here; what it leaves out is refused when given.
TEST(WineCli, TheHelpLeavesOutWhatThisBuildRefuses)
{
    const std::string help = RunWindows(CliExe(), {"--help"}).out + RunWindows(CliExe(), {"holidays", "--help"}).out;
    EXPECT_EQ(LinesStartingWith(help, "  --port "),
              (std::vector<std::string>{"  --port COMn                    port to use; repeated: a fleet"}));
    for (const std::string option : {"--simulate", "--ca", "--report", "--format", "--import"}) {
        EXPECT_EQ(LinesStartingWith(help, "  " + option), std::vector<std::string>{}) << option;
    }
    const std::vector<std::string> refused[] = {
        {"--simulate", "ZEFA-102", "connect"},
        {"--port", "COM5", "--model", "ZEFA-102", "--ca", "C:\\ca.pem", "connect"},
        {"--port", "COM5", "--model", "ZEFA-102", "--report", "C:\\report.json", "connect"},
        {"holidays", "--format", "ics"},
        {"holidays", "--import", "C:\\closures.ics"},
        // Windows opens a port by its name: a path for it is refused, not ignored.
        {"--port", "COM5=\\\\.\\COM12", "--model", "ZEFA-102", "connect"},
        {"--port", "/dev/ttyS0", "--model", "ZEFA-102", "connect"},
    };
    for (const auto& args : refused) EXPECT_EQ(RunWindows(CliExe(), args).exitStatus, 2) << args[args.size() - 2];
}

// The key as `reg export` writes it (UTF-16), in lines of UTF-8; none when it is not there.
std::vector<std::string> ExportedKey(const std::string& key)
{
    const fs::path file = g_prefix / "exported.reg";
    if (RunWindows("reg", {"export", key, WindowsPath(file), "/y"}, false).exitStatus != 0) return {};
    return Lines(RunProcess({"/usr/bin/iconv", "-f", "UTF-16", "-t", "UTF-8", file.string()}).out);
}

// The installer as an administrator deploys it: silently (/S) into Program Files, with the Start
// menu entry, the desktop's and the uninstall key; the program answering from where it went; and
// the silent uninstall taking it all away again.
TEST(WineInstaller, InstallsSilentlyAndUninstallsWithoutATrace)
{
    const std::string key = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Dorvane";
    const fs::path folder = g_prefix / "drive_c" / "Program Files" / "Dorvane";
    const fs::path entries[] = {
        folder / "dorvane.exe",
        folder / "dorvane-cli.exe",
        folder / "LICENSE.txt",
        folder / "COPYRIGHT.txt",
        folder / "COPYRIGHT-mingw-w64.txt",
        folder / "uninstall.exe",
        g_prefix / "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/도르베인 (Dorvane).lnk",
        g_prefix / "drive_c/users/Public/Desktop/도르베인 (Dorvane).lnk"};
    ASSERT_EQ(RunWindows(g_windowsBuild / "dorvane-1.0-setup.exe", {"/S"}, false).exitStatus, 0);
    for (const fs::path& entry : entries) EXPECT_TRUE(fs::exists(entry)) << entry;
    std::vector<std::string> values = ExportedKey(key);
    // Its size in KiB is whatever the programs' is.
    const auto size = std::find_if(values.begin(), values.end(), [](const std::string& line) {
        return line.starts_with("\"EstimatedSize\"=dword:");
    });
    ASSERT_NE(size, values.end());
    values.erase(size);
    EXPECT_EQ(values, (std::vector<std::string>{
                          "Windows Registry Editor Version 5.00",
                          "",
                          "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Dorvane]",
                          "\"DisplayIcon\"=\"C:\\\\Program Files\\\\Dorvane\\\\dorvane.exe,0\"",
                          "\"DisplayName\"=\"도르베인 (Dorvane)\"",
                          "\"DisplayVersion\"=\"1.0\"",
                          "\"InstallLocation\"=\"C:\\\\Program Files\\\\Dorvane\"",
                          "\"NoModify\"=dword:00000001",
                          "\"NoRepair\"=dword:00000001",
                          "\"Publisher\"=\"Dorvane\"",
                          "\"QuietUninstallString\"=\"\\\"C:\\\\Program Files\\\\Dorvane\\\\uninstall.exe\\\" /S\"",
                          "\"UninstallString\"=\"\\\"C:\\\\Program Files\\\\Dorvane\\\\uninstall.exe\\\"\"",
                          "",
                      }));
    const ProcessResult holidays = RunWindows(folder / "dorvane-cli.exe", {"holidays", "2027"}, false);
    EXPECT_EQ(holidays.exitStatus, 0) << holidays.err;
    EXPECT_EQ(Lines(holidays.out).back(), "    총휴일수 :    72 일");

    // The uninstaller hands over to a copy of itself in the temporary folder and returns at once.
    ASSERT_EQ(RunWindows(folder / "uninstall.exe", {"/S"}, false).exitStatus, 0);
    for (int tenths = 0; tenths < 300 && fs::exists(folder); ++tenths) std::this_thread::sleep_for(100ms);
    for (const fs::path& entry : entries) EXPECT_FALSE(fs::exists(entry)) << entry;
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(ExportedKey(key), std::vector<std::string>{});
}

const auto* const g_winePrefix = ::testing::AddGlobalTestEnvironment(new WinePrefix(false));

}  // namespace
