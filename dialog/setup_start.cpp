#include "dialog/setup_start.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "base/console_text.h"
#include "comm/trusted_certificates.h"
#include "ports/port_enumerator.h"
#include "ports/port_map.h"
#include "protocol/terminal_model.h"

namespace {

// The help says only what works on the platform it was built for. Windows opens a port by its
// name; it has no pseudo-terminal for the simulator, and its build no network ports: both are
// refused when given (sim/, comm/network_none.cpp), so its help leaves them out and says so.
// One status a line: help2man makes "Exit status:" a heading of the manual page.
#ifdef _WIN32
constexpr bool PORTS_OPEN_BY_NAME = true;
constexpr bool SIMULATOR_AND_NETWORK = false;
const char* const kPortValue = "COMn";
const char* const kPortHelp = "list this port and select it, such as a virtual COM port the registry does not list";
const char* const kFooter =
    "dorvane-cli.exe runs the same commands without a window.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  2  invalid argument\n"
    "\n"
    "Not in the Windows build, and refused when given: --simulate (it needs a pseudo-terminal),\n"
    "network ports (URLs, --ca).";
#else
constexpr bool PORTS_OPEN_BY_NAME = false;
constexpr bool SIMULATOR_AND_NETWORK = true;
const char* const kPortValue = "COMn|/dev/PATH|URL";
const char* const kPortHelp =
    "list this port and select it; COMn=/dev/PATH also maps COMn to that device; a network terminal: "
    "tcp://HOST:PORT, rfc2217://HOST:PORT, tcp+tls://HOST:PORT or rfc2217+tls://HOST:PORT, also as COMn=URL";
const char* const kFooter =
    "Without a display (DISPLAY and WAYLAND_DISPLAY unset, or none that answers) dorvane says so and\n"
    "exits: dorvane-cli runs the same commands without a window.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  no display, or none that answers\n"
    "  2  invalid argument\n"
    "  3  the simulated terminal cannot start";
#endif
// CLI11's group of an option: its usual one, or none, which leaves it out of the help.
const char* const kShown = SIMULATOR_AND_NETWORK ? "Options" : "";

int Fail(const std::string& korean, const std::string& english)
{
    WriteText(stderr, "dorvane: " + korean + " / " + english + "\n");
    return APP_EXIT_INVALID_ARGUMENT;
}

}  // namespace

std::optional<int> CSetupStart::ParseCommandLine(int argc, char** argv)
{
    CLI::App app("Sets up a " + ModelNames(" or ") + " lending terminal: the setup dialog.", "dorvane");
    app.footer(kFooter);
    app.set_version_flag("--version", "dorvane " DORVANE_VERSION);
    std::string portArgument;  // as dorvane-cli takes it
    std::string simulate;
    std::string caFile;
    app.add_option("--port", portArgument, kPortHelp)->type_name(kPortValue);
    app.add_option("--ca", caFile,
                   "trust only the certificate authorities in this PEM file for +tls:// ports (default: the "
                   "system's trust store)")
        ->group(kShown)
        ->type_name("FILE");
    app.add_option("--simulate", simulate, "a simulated terminal on a pseudo-terminal, listed as a port and selected")
        ->group(kShown)
        ->type_name(ModelNames("|"));
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) {
        std::ostringstream out;
        const int status = app.exit(done, out);
        WriteText(stdout, out.str());
        return status;
    } catch (const CLI::ParseError& failure) {
        return Fail("명령줄을 읽을 수 없습니다 (--help 참고)", failure.what());
    }
    // As in dorvane-cli: which of the two the port box should select would be a guess.
    if (!portArgument.empty() && !simulate.empty()) {
        return Fail("--port 와 --simulate 는 함께 쓸 수 없습니다", "--port and --simulate cannot be used together");
    }
    if (!simulate.empty()) {
        m_nSimulateModel = ParseModelName(simulate);
        if (m_nSimulateModel < 0) {
            return Fail("시뮬레이터 모델은 " + ModelNames(" 또는 ") + " 입니다: " + simulate,
                        "simulated model must be " + ModelNames(" or ") + ": " + simulate);
        }
    }

    if (OperatorMessage failure; !SetTrustedCertificates(caFile, failure)) return Fail(failure.korean, failure.english);

    // Without either, the dialog lists the ports itself.
    if (portArgument.empty() && m_nSimulateModel < 0) return std::nullopt;
    // The kernel's ports first, then --port and the simulator: the numbers dorvane-cli gives them.
    CPortEnumerator kernelPorts;
    kernelPorts.Enumerate();
    if (portArgument.empty()) return std::nullopt;
    std::string korean;
    m_nPort = ParsePortArgument(portArgument, g_portMap, korean);
    if (m_nPort == 0) {
        return Fail(korean, "invalid port (COMn, COMn=/dev/PATH, /dev/PATH or a tcp://, rfc2217:// URL, n 1-255): " +
                                portArgument);
    }
    // The port box lists only ports with a device: a bare COMn must name one the kernel has.
    // Windows opens COMn by its name: a virtual COM port may be missing from the registry's list.
    if (!PORTS_OPEN_BY_NAME && g_portMap.Path(m_nPort).empty()) {
        const std::string name = "COM" + std::to_string(m_nPort);
        return Fail(name + " 에 해당하는 장치가 없습니다 (" + name + "=/dev/경로 로 지정하십시오)",
                    name + " has no device (give " + name + "=/dev/PATH)");
    }
    return std::nullopt;
}

std::optional<int> CSetupStart::StartSimulator()
{
    if (m_nSimulateModel < 0) return std::nullopt;
    SimulatedPortFailure failure;
    m_simulator = StartSimulatedPort(m_nSimulateModel, failure);
    if (m_simulator) return std::nullopt;
    WriteText(stderr, "dorvane: " + failure.message.korean + " / " + failure.message.english + "\n");
    return failure.unavailable ? APP_EXIT_INVALID_ARGUMENT : APP_EXIT_SIMULATOR_FAILED;
}

int CSetupStart::Port() const
{
    return m_simulator ? m_simulator->Port() : m_nPort;
}

int CSetupStart::Model() const
{
    return m_simulator ? m_nSimulateModel : MODEL_ZEFA101;  // the model the dialog starts with
}
