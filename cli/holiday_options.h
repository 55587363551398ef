// The dialog's holiday options, taken from the command line.
#pragma once

#include "cli/command_line.h"

// Resets g_holidaySettings and applies the request's options and marks to it.
void ApplyHolidayOptions(const CliRequest& request);
