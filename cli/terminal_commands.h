// The commands that talk to a terminal: connect first, then one exchange, then exit.
#pragma once

#include "cli/command_line.h"

// `port` is a number in g_portMap. Errors are printed on stderr, traffic on stdout. Returns the
// process's exit status (cli/exit_status.h; 128 + the signal when one ended the run).
int RunTerminalCommand(const CliRequest& request, int port);
