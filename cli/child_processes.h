// Runs of this program side by side, one per terminal of a fleet: the OS side of a fleet. The
// protocol keeps one terminal's state per process, so each terminal gets a process of its own.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/run_result.h"

// Where the children's output goes, in the pieces the pipes deliver.
class ChildOutput {
public:
    virtual ~ChildOutput() = default;
    // `child` indexes the argument lists; `standardError` tells its stderr from its stdout.
    virtual void OnOutput(std::size_t child, bool standardError, std::string_view bytes) = 0;
};

// What became of one child.
struct ChildRun {
    int status = EXIT_NOT_STARTED;            // its exit status; 128 + n after signal n
    std::optional<TerminalRunResult> result;  // what it reported with ReportToFleet, or why it never ran
    double seconds = 0;                       // from its start to its end
};

// Starts this program once per argument list (without the program's name), at most `jobs` at
// once, the next as one ends, and hands their output to `output` until every one has ended.
// The open-file limit is raised to what `jobs` children take where the system allows, and
// otherwise fewer run at once, with a note. Each child also gets a channel of its own for
// ReportToFleet (RESULT_FD_OPTION), apart from its output. A signal that reaches this process
// meanwhile (cli/interrupts.h, watched by the caller) reaches every child still running (on
// Windows the console brings it to each), and no other starts. `runs` gets one entry per argument
// list; a child that could not start is EXIT_NOT_STARTED, said on its stderr. False, with
// `error`, where children cannot be run.
bool RunChildren(const std::vector<std::vector<std::string>>& argLists, int jobs, ChildOutput& output,
                 std::vector<ChildRun>& runs, OperatorMessage& error);

// In a child of RunChildren: reports `result` on the channel it was given (`fd`, the value of
// RESULT_FD_OPTION). Terminal text reaches the child's output, never this channel.
void ReportToFleet(int fd, const TerminalRunResult& result);
