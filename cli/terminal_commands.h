// The commands that talk to a terminal: connect first, then one exchange, then exit.
#pragma once

#include "cli/command_line.h"
#include "cli/exit_status.h"

// `port` is a number in g_portMap. Errors are printed on stderr, traffic on stdout.
ExitStatus RunTerminalCommand(const CliRequest& request, int port);
