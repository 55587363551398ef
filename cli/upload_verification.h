// send --verify: after the upload the year is read back, and the days the terminal holds are
// compared with the days sent.
#pragma once

#include <vector>

#include "cli/exit_status.h"
#include "cli/run_result.h"

class CTerminalSession;

// How each difference starts its console line ("Missing => 2027-03-03": sent but not held;
// "Extra => 2027-05-05": held but not sent).
inline constexpr const char* MISSING_LINE = "Missing => ";
inline constexpr const char* EXTRA_LINE = "Extra => ";

// After the upload of the upload list: reads `year` back (R) and lists every day that differs,
// by month and day (a ZEFA-101 frame carries no year: the terminal files a day under its
// clock's year), on the console and in `differences`. EXIT_NOT_VERIFIED when one does, with the
// session's error saying how many.
ExitStatus VerifyUpload(CTerminalSession& session, int model, int year, std::vector<HeldDayDifference>& differences);
