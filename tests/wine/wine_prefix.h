// What the Wine tests' drivers share: one private prefix for the whole run, Windows programs run
// in it within a time limit, and a simulated terminal on a pseudo-terminal that it maps as COM5.
// DORVANE_WINDOWS_BUILD names the Windows build whose programs are run.
#pragma once

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/run_process.h"

inline constexpr int kWinePort = 5;

extern std::filesystem::path g_windowsBuild;
extern std::filesystem::path g_prefix;

// Output lines without the CR that Windows' text mode adds.
std::vector<std::string> Lines(const std::string& text);
std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix);

// Windows program `exe` under Wine, within `limitSeconds`; `modemLines` loads the test aid that
// answers Wine's modem-status query on the pseudo-terminal as a cabled UART does.
ProcessResult RunWindows(const std::filesystem::path& exe, const std::vector<std::string>& args, bool modemLines = true,
                         const char* limitSeconds = "60");
// The same with a pseudo-terminal as its standard input: Wine then gives it a console, as a
// Windows user's console window would.
ProcessResult RunWindowsOnConsole(const std::filesystem::path& exe, const std::vector<std::string>& args);
// A file of this machine as a Windows program names it (Wine's Z: drive).
std::string WindowsPath(const std::filesystem::path& path);

// The prefix, made once for the run. With `desktop` it is a Windows desktop on the X server the
// driver runs under (xvfb-run): a virtual desktop whose frames and title bars Wine draws, the
// Korean faces the dialog names (굴림, 굴림체, 돋움체) and Wine's own UI font mapped to Nanum faces;
// without, it has no display at all.
class WinePrefix : public ::testing::Environment {
public:
    explicit WinePrefix(bool desktop) : m_bDesktop(desktop) {}
    void SetUp() override;
    void TearDown() override;

private:
    bool m_bDesktop;
};

// A simulated terminal on a pseudo-terminal that the prefix maps as COM`port`; null, with a
// failure of the test, when it cannot start.
std::unique_ptr<CTerminalSimulator> StartSimulatorOnCom(
    int port, int model, const SimulatorFaults& faults = {},
    std::chrono::milliseconds greeting = std::chrono::milliseconds(50));

// A simulated terminal on a pseudo-terminal that the prefix maps as COM5.
class WineTerminal : public ::testing::Test {
protected:
    void StartSimulator(int model, const SimulatorFaults& faults = {},
                        std::chrono::milliseconds greeting = std::chrono::milliseconds(50));

    std::unique_ptr<CTerminalSimulator> m_sim;
    int m_nModel = MODEL_ZEFA102;
};
