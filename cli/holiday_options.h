// The dialog's holiday options, taken from the command line, and the days of the holiday files.
#pragma once

#include "cli/command_line.h"

// Resets g_holidaySettings and applies the request's options and marks, then, for holidays and
// send, marks the days of the holiday files: every .ics of the holiday folder and every --import.
// A refused file, of the folder or --import, fails it with `error` (nothing may be sent); each
// event with a time of day is said on standard error and the rest still counts.
bool ApplyHolidayOptions(const CliRequest& request, OperatorMessage& error);
