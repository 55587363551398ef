// The holiday files as the headless tool meets them: the folder's and --import's days marked,
// and the year written for other programs.
#pragma once

#include "cli/command_line.h"

// Marks, in g_holidaySettings, the days of the request's year in every .ics of the holiday folder
// and every --import. A refused --import fails it with `error` (nothing may be sent); a refused
// file of the folder, and each event with a time of day, are said on standard error.
bool MarkHolidayFiles(const CliRequest& request, OperatorMessage& error);

// Writes the year's holidays (national, marked, biweekly) to standard output as iCalendar or JSON.
bool WriteHolidayExport(const CliRequest& request, OperatorMessage& error);
