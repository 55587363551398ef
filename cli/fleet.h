// A fleet: one terminal command on several terminals at once, each in a run of this program of
// its own (the protocol keeps one terminal's state per process). A terminal that fails never
// stops the others.
#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"

// Several ports, or a ports file (whose output looks the same for one port as for ten).
bool IsFleet(const CliRequest& request);

// Runs the request's command once per port, all at once, every line of each run behind its
// port's name; then one summary line per terminal. Returns the highest of the runs' exit
// statuses, or 128 + n when signal n came (it is passed on to every run). `args` is the command
// line as given, without the program's name.
int RunFleet(const CliRequest& request, const std::vector<std::string>& args);
