// dorvane-cli: the terminal's set-up without a window, for scripts and headless machines.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/printable_text.h"
#include "cli/calendar_listing.h"
#include "cli/child_processes.h"
#include "cli/command_line.h"
#include "cli/console_output.h"
#include "cli/exit_status.h"
#include "cli/fleet.h"
#include "cli/holiday_files.h"
#include "cli/holiday_options.h"
#include "sim/simulated_port.h"
#include "cli/stdout_listing.h"
#include "cli/terminal_commands.h"
#include "ports/port_enumerator.h"
#include "ports/port_map.h"
#include "comm/trusted_certificates.h"
#include "date/local_clock.h"
#include "protocol/holiday_upload.h"

namespace {

ExitStatus Fail(ExitStatus status, const OperatorMessage& message)
{
    PrintCliError(message);
    return status;
}

int RunHolidays(const CliRequest& request)
{
    if (OperatorMessage error; !ApplyHolidayOptions(request, error)) {
        return Fail(EXIT_INVALID_ARGUMENT, error);
    }
    switch (request.format) {
    case HolidayFormat::Text: {
        StdoutListing out;
        CountHolidays(request.year, 1, out);
        break;
    }
    case HolidayFormat::Ics:
    case HolidayFormat::Json:
        if (OperatorMessage error; !WriteHolidayExport(request, error)) {
            return Fail(EXIT_INVALID_ARGUMENT, error);
        }
        break;
    }
    return EXIT_OK;
}

// The ports the kernel has, then each --port and the simulator, all numbered in g_portMap. `port`
// becomes the one the command is to use: the simulator's, else the last --port one, else 0.
ExitStatus PreparePorts(const CliRequest& request, std::unique_ptr<CSimulatedPort>& simulator, int& port)
{
    CPortEnumerator kernelPorts;
    kernelPorts.Enumerate();
    port = 0;
    for (const std::string& text : request.ports) {
        std::string error;
        port = ParsePortArgument(text, g_portMap, error);
        if (port == 0) return Fail(EXIT_INVALID_ARGUMENT, {error, "invalid port: " + text});
    }
    if (request.simulateModel >= 0) {
        SimulatedPortFailure failure;
        simulator = StartSimulatedPort(request.simulateModel, failure);
        if (!simulator) {
            return Fail(failure.unavailable ? EXIT_INVALID_ARGUMENT : EXIT_PORT_UNAVAILABLE, failure.message);
        }
        port = simulator->Port();
    }
    return EXIT_OK;
}

// In the combobox's order, each with its device where the port map knows one.
int RunPorts(const CliRequest& request)
{
    std::unique_ptr<CSimulatedPort> simulator;
    int port = 0;
    if (const ExitStatus status = PreparePorts(request, simulator, port); status != EXIT_OK) return status;
    CSortedPortList names;
    CPortEnumerator enumerator;
    enumerator.m_pCombo = &names;
    enumerator.Enumerate();
    for (const std::string& name : names.Items()) {
        std::printf("%s\n", PrintableText(PortListLine(g_portMap, name)).c_str());
    }
    if (names.Items().empty()) std::printf("직렬 포트가 없습니다. / no serial ports\n");
    return EXIT_OK;
}

// The TLS trust is the process's, set before any port opens; a fleet checks the file once
// before its runs, which set it again each.
ExitStatus ApplyTrustedCertificates(const CliRequest& request)
{
    if (request.caFile.empty()) return EXIT_OK;
    if (OperatorMessage failure; !SetTrustedCertificates(request.caFile, failure)) {
        return Fail(EXIT_INVALID_ARGUMENT, failure);
    }
    return EXIT_OK;
}

int RunOnTerminal(const CliRequest& request)
{
    std::unique_ptr<CSimulatedPort> simulator;
    int port = 0;
    if (const ExitStatus status = PreparePorts(request, simulator, port); status != EXIT_OK) return status;
    const TerminalRunResult result = RunTerminalCommand(request, port);
    if (request.resultFd >= 0) ReportToFleet(request.resultFd, result);
    return result.exitStatus;
}

}  // namespace

int main(int argc, char** argv)
{
    UseUtf8Console();
    const std::vector<std::string> args(argv + 1, argv + argc);
    CliRequest request;
    OperatorMessage error;
    if (!ParseCommandLine(args, ReadLocalClock().year, request, error)) {
        return Fail(EXIT_INVALID_ARGUMENT, error);
    }
    switch (request.command) {
    case CliCommand::Help: std::fputs(request.output.c_str(), stdout); return EXIT_OK;
    case CliCommand::Calendar: PrintCalendar(request.year, stdout); return EXIT_OK;
    case CliCommand::Holidays: return RunHolidays(request);
    case CliCommand::Ports: return RunPorts(request);
    default:
        if (const ExitStatus status = ApplyTrustedCertificates(request); status != EXIT_OK) return status;
        return IsFleet(request) ? RunFleet(request, args) : RunOnTerminal(request);
    }
}
