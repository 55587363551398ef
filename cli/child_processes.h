// Runs of this program side by side, one per terminal of a fleet: the OS side of a fleet. The
// protocol keeps one terminal's state per process, so each terminal gets a process of its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"

// Where the children's output goes, in the pieces the pipes deliver.
class ChildOutput {
public:
    virtual ~ChildOutput() = default;
    // `child` indexes the argument lists; `standardError` tells its stderr from its stdout.
    virtual void OnOutput(std::size_t child, bool standardError, std::string_view bytes) = 0;
};

// Starts this program once per argument list (without the program's name), all at once, and
// hands their output to `output` until every one has ended. A signal that reaches this process
// meanwhile (cli/interrupts.h, watched by the caller) is passed on to every child still running.
// `statuses` gets each child's exit status: 128 + n after signal n, EXIT_NOT_STARTED when it
// could not start (said on its stderr). False, with `error`, where children cannot be run.
bool RunChildren(const std::vector<std::vector<std::string>>& argLists, ChildOutput& output, std::vector<int>& statuses,
                 OperatorMessage& error);
