#include "cli/fleet.h"

#include <algorithm>
#include <cstdio>

#include "base/console_text.h"
#include "base/printable_text.h"
#include "cli/child_processes.h"
#include "cli/exit_status.h"
#include "cli/fleet_console.h"
#include "cli/interrupts.h"
#include "protocol/terminal_model.h"

namespace {

// A summary lists this many differences of a terminal at most; its own lines list them all.
constexpr std::size_t kDifferencesInSummary = 5;

// The options the fleet keeps to itself, each with a value.
constexpr const char* kFleetOptions[] = {PORT_OPTION, PORTS_FILE_OPTION, MODEL_OPTION, JOBS_OPTION, REPORT_OPTION};

bool IsFleetOption(const std::string& arg, bool withValue)
{
    for (const std::string option : kFleetOptions) {
        if (withValue ? arg.starts_with(option + "=") : arg == option) return true;
    }
    return false;
}

// The fleet's command line for one terminal: its port and model instead of the fleet's.
std::vector<std::string> RunArguments(const std::vector<std::string>& args, const GivenPort& port)
{
    std::vector<std::string> run = {PORT_OPTION, port.port, MODEL_OPTION, ModelName(port.model)};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (IsFleetOption(args[i], false)) {
            ++i;  // and its value
        } else if (!IsFleetOption(args[i], true)) {
            run.push_back(args[i]);
        }
    }
    return run;
}

std::string ListDifferences(const std::vector<HeldDayDifference>& differences)
{
    std::string list;
    for (std::size_t i = 0; i < differences.size() && i < kDifferencesInSummary; ++i) {
        list += (i > 0 ? ", " : "") + std::string(differences[i].missing ? "missing " : "extra ") + differences[i].date;
    }
    if (differences.size() > kDifferencesInSummary) {
        list += " (+" + std::to_string(differences.size() - kDifferencesInSummary) + ")";
    }
    return list;
}

// What became of one terminal, in the words of its exit status.
std::string Outcome(int status, bool verify, const std::vector<HeldDayDifference>& differences)
{
    switch (status) {
    case EXIT_OK: return verify ? "검증됨 / verified" : "성공 / ok";
    case EXIT_INVALID_ARGUMENT: return "잘못된 인수 / invalid argument";
    case EXIT_PORT_UNAVAILABLE: return "포트를 열 수 없음 / port cannot be opened";
    case EXIT_NO_REPLY: return "응답 없음 / no reply";
    case EXIT_PORT_LOST: return "포트 끊김 / port went away";
    case EXIT_NOT_VERIFIED: return "다름 / not verified: " + ListDifferences(differences);
    case EXIT_NOT_STARTED: return "시작할 수 없음 / could not start";
    default: return status > EXIT_INTERRUPTED ? "중단됨 / interrupted" : "실패 / failed";
    }
}

}  // namespace

bool IsFleet(const CliRequest& request)
{
    return request.ports.size() > 1 || request.portsFromFile;
}

int RunFleet(const CliRequest& request, const std::vector<std::string>& args, CRunReport& report)
{
    WatchInterrupts();
    std::vector<std::vector<std::string>> argLists;
    std::vector<std::string> names;
    for (const GivenPort& port : request.ports) {
        argLists.push_back(RunArguments(args, port));
        names.push_back(PortDisplayName(port.port));
    }
    CFleetConsole console(names);
    std::vector<ChildRun> runs;
    if (OperatorMessage error; !RunChildren(argLists, request.jobs, console, runs, error)) {
        PrintCliError(error);
        return EXIT_INVALID_ARGUMENT;
    }
    console.Flush();
    int worst = EXIT_OK;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        // What the run reported on its own channel, never what its console said.
        TerminalRunResult result;
        if (runs[i].result) {
            result = *runs[i].result;
        } else {
            result.message = {"결과를 알리지 않고 끝났습니다", "ended without reporting its result"};
        }
        result.exitStatus = runs[i].status;
        const std::string outcome = Outcome(result.exitStatus, request.verify, result.differences);
        WriteText(stdout, "[요약] " + PrintableText(names[i]) + ": " + outcome + " (exit " +
                              std::to_string(result.exitStatus) + ")\n");
        report.Add(request.ports[i].port, request.ports[i].model, result, runs[i].seconds);
        worst = std::max(worst, result.exitStatus);
    }
    if (const int signal = InterruptSignal(); signal != 0) return EXIT_INTERRUPTED + signal;
    return worst;
}
