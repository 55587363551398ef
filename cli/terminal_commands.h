// The commands that talk to a terminal: connect first, then one exchange, then exit.
#pragma once

#include "cli/command_line.h"
#include "cli/run_result.h"

// `port` is a number in g_portMap. Errors are printed on stderr, traffic on stdout. The result's
// exit status is the process's (cli/exit_status.h; 128 + the signal when one ended the run).
TerminalRunResult RunTerminalCommand(const CliRequest& request, int port);
