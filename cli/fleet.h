// A fleet: one terminal command on several terminals, each in a run of this program of its own
// (the protocol keeps one terminal's state per process), --jobs of them at once. A terminal that
// fails never stops the others.
#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/run_report.h"

// Several ports, or a ports file (whose output looks the same for one port as for ten).
bool IsFleet(const CliRequest& request);

// Runs the request's command once per port, each as its port's model, every line of each run
// behind its port's name; then one summary line per terminal, and each terminal's run in
// `report`. Returns the highest of the runs' exit statuses, or 128 + n when signal n came (it is
// passed on to every run). `args` is the command line as given, without the program's name.
int RunFleet(const CliRequest& request, const std::vector<std::string>& args, CRunReport& report);
