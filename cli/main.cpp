// dorvane-cli: the terminal's set-up without a window, for scripts and headless machines.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/console_text.h"
#include "base/printable_text.h"
#include "cli/calendar_listing.h"
#include "cli/child_processes.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/fleet.h"
#include "cli/holiday_files.h"
#include "cli/holiday_options.h"
#include "cli/run_report.h"
#include "cli/stdout_listing.h"
#include "cli/terminal_commands.h"
#include "comm/trusted_certificates.h"
#include "date/local_clock.h"
#include "ports/port_enumerator.h"
#include "ports/port_map.h"
#include "protocol/holiday_upload.h"
#include "sim/simulated_port.h"

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
ExitStatus PreparePorts(const CliRequest& request, std::unique_ptr<CSimulatedPort>& simulator, int& port,
                        OperatorMessage& error)
{
    CPortEnumerator kernelPorts;
    kernelPorts.Enumerate();
    port = 0;
    for (const GivenPort& given : request.ports) {
        std::string korean;
        port = ParsePortArgument(given.port, g_portMap, korean);
        if (port == 0) {
            error = {korean, "invalid port: " + given.port};
            return EXIT_INVALID_ARGUMENT;
        }
    }
    if (request.simulateModel >= 0) {
        SimulatedPortFailure failure;
        simulator = StartSimulatedPort(request.simulateModel, failure);
        if (!simulator) {
            error = failure.message;
            return failure.unavailable ? EXIT_INVALID_ARGUMENT : EXIT_PORT_UNAVAILABLE;
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
    if (OperatorMessage error; const ExitStatus status = PreparePorts(request, simulator, port, error)) {
        return Fail(status, error);
    }
    CSortedPortList names;
    CPortEnumerator enumerator;
    enumerator.m_pCombo = &names;
    enumerator.Enumerate();
    for (const std::string& name : names.Items()) {
        WriteText(stdout, PrintableText(PortListLine(g_portMap, name)) + "\n");
    }
    if (names.Items().empty()) WriteText(stdout, "직렬 포트가 없습니다. / no serial ports\n");
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

// One terminal, reported as a fleet of one.
int RunOnTerminal(const CliRequest& request, CRunReport& report)
{
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<CSimulatedPort> simulator;
    int port = 0;
    TerminalRunResult result;
    if (OperatorMessage error; const ExitStatus status = PreparePorts(request, simulator, port, error)) {
        result.exitStatus = Fail(status, error);
        result.message = error;
    } else {
        result = RunTerminalCommand(request, port);
    }
    if (request.resultFd >= 0) ReportToFleet(request.resultFd, result);
    const std::string name = request.ports.empty() ? g_portMap.Path(port) : request.ports.back().port;
    report.Add(name, request.model, result,
               std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return result.exitStatus;
}

// The report's file is made before anything is sent, and filled once the run has ended.
int RunTerminalCommandWithReport(const CliRequest& request, const std::vector<std::string>& args)
{
    CRunReport report(request);
    if (OperatorMessage error; !report.Open(error)) return Fail(EXIT_INVALID_ARGUMENT, error);
    const int status = IsFleet(request) ? RunFleet(request, args, report) : RunOnTerminal(request, report);
    if (OperatorMessage error; !report.Commit(status, error)) {
        PrintCliError(error);
        return std::max(status, static_cast<int>(EXIT_REPORT_NOT_WRITTEN));
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    CliRequest request;
    OperatorMessage error;
    if (!ParseCommandLine(args, ReadLocalClock(), request, error)) {
        return Fail(EXIT_INVALID_ARGUMENT, error);
    }
    switch (request.command) {
    case CliCommand::Help: WriteText(stdout, request.output); return EXIT_OK;
    case CliCommand::Calendar: PrintCalendar(request.year); return EXIT_OK;
    case CliCommand::Holidays: return RunHolidays(request);
    case CliCommand::Ports: return RunPorts(request);
    default:
        if (const ExitStatus status = ApplyTrustedCertificates(request); status != EXIT_OK) return status;
        return RunTerminalCommandWithReport(request, args);
    }
}
