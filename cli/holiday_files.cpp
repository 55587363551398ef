#include "cli/holiday_files.h"

#include <cstdio>
#include <ctime>

#include "holiday_files/exported_holidays.h"
#include "holiday_files/holiday_file.h"
#include "holiday_files/holiday_folder.h"
#include "holiday_files/holiday_ics_writer.h"
#include "holiday_files/holiday_json.h"
#include "date/holidays.h"

namespace {

// On standard error, so that an export on standard output stays a clean file.
void Say(const OperatorMessage& message)
{
    PrintCliError(message);
}

}  // namespace

bool MarkHolidayFiles(const CliRequest& request, OperatorMessage& error)
{
    HolidayFolderRead folder = ReadHolidayFolder(HolidayFolderPath());
    for (const OperatorMessage& message : folder.refusals) Say(message);
    for (const OperatorMessage& message : folder.skipped) Say(message);
    for (const std::string& path : request.imports) {
        HolidayFileRead read = ReadHolidayFile(std::filesystem::path(path));
        if (!read.file) {
            error = {read.refusal.korean, read.refusal.english};
            return false;
        }
        for (const OperatorMessage& message : read.skipped) Say(message);
        folder.files.push_back(std::move(*read.file));
    }
    MarkHolidayFileDays(folder.files, request.year, g_holidaySettings);
    return true;
}

bool WriteHolidayExport(const CliRequest& request, OperatorMessage&)
{
    const std::vector<ExportedHoliday> days = ExportedHolidays(request.year, g_holidaySettings);
    const std::string text = request.format == HolidayFormat::Ics
                                 ? HolidayCalendarText(request.year, days, std::time(nullptr))
                                 : HolidayJsonText(request.year, days);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return true;
}
