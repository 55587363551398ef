#include "wine_prefix.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "tests/support/pty_peer.h"

extern char** environ;

namespace fs = std::filesystem;

fs::path g_windowsBuild;
fs::path g_prefix;

namespace {

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

void PutUtf16(std::ofstream& out, const std::u16string& text)
{
    for (char16_t c : text) {
        out.put(static_cast<char>(c & 0xFF));
        out.put(static_cast<char>(c >> 8));
    }
}

// The desktop's settings as a registry file; Korean names need its UTF-16 form. The Nanum
// faces come with fonts-nanum.
fs::path WriteDesktopRegistry()
{
    const fs::path path = g_prefix / "desktop.reg";
    std::ofstream out(path, std::ios::binary);
    PutUtf16(out,
             u"\xFEFF"
             u"Windows Registry Editor Version 5.00\r\n\r\n"
             u"[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n\"Desktop\"=\"Default\"\r\n\r\n"
             u"[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n\"Default\"=\"1280x1024\"\r\n\r\n"
             u"[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"
             u"\"굴림\"=\"NanumGothic\"\r\n"
             // NanumGothicCoding's regular face comes apart into its letters in Wine's edit
             // control, so the console's fixed-pitch face is NanumGothic too.
             u"\"굴림체\"=\"NanumGothic\"\r\n"
             u"\"돋움체\"=\"NanumGothicCoding\"\r\n"
             u"\"Tahoma\"=\"NanumGothic\"\r\n");
    return path;
}

}  // namespace

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

ProcessResult RunWindows(const fs::path& exe, const std::vector<std::string>& args, bool modemLines,
                         const char* limitSeconds)
{
    std::vector<std::string> argv = {"/usr/bin/env"};
    if (modemLines) argv.push_back(std::string("LD_PRELOAD=") + DORVANE_WINE_PTY_MODEM_LINES);
    argv.insert(argv.end(), {"timeout", limitSeconds, "wine", exe.string()});
    argv.insert(argv.end(), args.begin(), args.end());
    ProcessResult result = RunProcess(argv);
    EXPECT_NE(result.exitStatus, 124) << exe.filename() << " did not end within " << limitSeconds << " s";
    return result;
}

ProcessResult RunWindowsOnConsole(const fs::path& exe, const std::vector<std::string>& args)
{
    const PtyPeer console;
    // The program inherits this process's standard input, for its run only.
    const int saved = ::dup(STDIN_FILENO);
    ::dup2(console.SlaveFd(), STDIN_FILENO);
    ProcessResult result = RunWindows(exe, args);
    ::dup2(saved, STDIN_FILENO);
    ::close(saved);
    return result;
}

std::string WindowsPath(const fs::path& path)
{
    return "Z:" + path.string();
}

void WinePrefix::SetUp()
{
    const char* build = std::getenv("DORVANE_WINDOWS_BUILD");
    ASSERT_NE(build, nullptr) << "DORVANE_WINDOWS_BUILD must name the Windows build "
                                 "(cmake --preset windows -DDORVANE_TESTS=ON; ctest runs this)";
    g_windowsBuild = build;
    ASSERT_EQ(RunProcess({"/usr/bin/env", "wine", "--version"}).exitStatus, 0)
        << "wine is missing (Debian: apt-get install wine wine64)";

    std::string dir = (fs::temp_directory_path() / "dorvane-wine-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    g_prefix = dir;
    ::setenv("WINEPREFIX", dir.c_str(), 1);
    ::setenv("WINEDEBUG", "-all", 1);
    ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);  // no Mono or Gecko installer
    if (m_bDesktop) {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the dialog's tests run on an X server: run under xvfb-run";
    } else {
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
    }
    // Persistent, so that no program's run starts (and ends) a server of its own.
    ASSERT_EQ(RunLogged({"wineserver", "-p"}), 0) << "see " << g_prefix / "wine.log";
    ASSERT_EQ(RunLogged({"wineboot", "-i"}), 0) << "see " << g_prefix / "wine.log";
    ASSERT_EQ(RunLogged({"wine", "reg", "import", std::string(DORVANE_WINE_TEST_DIR) + "/serial_ports.reg"}), 0)
        << "see " << g_prefix / "wine.log";
    if (m_bDesktop) {
        ASSERT_EQ(RunLogged({"wine", "reg", "import", WriteDesktopRegistry().string()}), 0)
            << "see " << g_prefix / "wine.log";
        // The desktop wineboot started has no virtual desktop yet: start again, services and all,
        // before any program of ours would start them with its pipes.
        ASSERT_EQ(RunLogged({"wineserver", "-k"}), 0);
        ASSERT_EQ(RunLogged({"wineserver", "-p"}), 0);
        ASSERT_EQ(RunLogged({"wineboot"}), 0) << "see " << g_prefix / "wine.log";
    }
}

void WinePrefix::TearDown()
{
    if (g_prefix.empty()) return;
    RunLogged({"wineserver", "-k"});
    std::error_code ignored;
    fs::remove_all(g_prefix, ignored);
}

std::unique_ptr<CTerminalSimulator> StartSimulatorOnCom(int port, int model, const SimulatorFaults& faults,
                                                        std::chrono::milliseconds greeting)
{
    auto sim = std::make_unique<CTerminalSimulator>(model, faults);
    sim->SetGreetingInterval(greeting);
    sim->KeepReceivedFrames();
    std::string error;
    if (!sim->Start(error)) {
        ADD_FAILURE() << error;
        return nullptr;
    }
    const fs::path link = g_prefix / "dosdevices" / ("com" + std::to_string(port));
    fs::remove(link);
    fs::create_symlink(sim->SlavePath(), link);
    return sim;
}

void WineTerminal::StartSimulator(int model, const SimulatorFaults& faults, std::chrono::milliseconds greeting)
{
    m_nModel = model;
    m_sim = StartSimulatorOnCom(kWinePort, model, faults, greeting);
    ASSERT_TRUE(m_sim);
}
