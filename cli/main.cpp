// dorvane-cli: the terminal's set-up without a window, for scripts and headless machines.
#include <cstdio>
#include <string>
#include <vector>

#include "app/holiday_upload.h"
#include "cli/calendar_listing.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/holiday_options.h"
#include "cli/stdout_listing.h"
#include "date/local_clock.h"

namespace {

int RunHolidays(const CliRequest& request)
{
    ApplyHolidayOptions(request);
    StdoutListing out;
    CountHolidays(request.year, 1, out);
    return EXIT_OK;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    CliRequest request;
    CliError error;
    if (!ParseCommandLine(args, ReadLocalClock().year, request, error)) {
        std::fprintf(stderr, "dorvane-cli: %s / %s\n", error.korean.c_str(), error.english.c_str());
        return EXIT_INVALID_ARGUMENT;
    }
    switch (request.command) {
    case CliCommand::Help: std::fputs(kCliUsage, stdout); return EXIT_OK;
    case CliCommand::Calendar: PrintCalendar(request.year, stdout); return EXIT_OK;
    case CliCommand::Holidays: return RunHolidays(request);
    default: break;
    }
    return EXIT_OK;
}
