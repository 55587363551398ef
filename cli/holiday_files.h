// The holiday files as the headless tool meets them: the folder's and --import's days marked,
// and the year written for other programs.
#pragma once

#include "cli/command_line.h"

// Marks, in g_holidaySettings, the days of the request's year in every .ics of the holiday folder
// and every --import, with their names in g_markNames. A refused file, of the folder or
// --import, or one whose days of the year cannot be known, fails it with `error` (nothing may
// be sent, so that no broken file goes unnoticed), the others said on standard error before it;
// each event with a time of day is said there too.
bool MarkHolidayFiles(const CliRequest& request, OperatorMessage& error);

// Writes the year's holidays (national, marked, biweekly) to standard output as iCalendar or JSON;
// fails with `error`, writing nothing, for a year libical cannot write.
bool WriteHolidayExport(const CliRequest& request, OperatorMessage& error);
