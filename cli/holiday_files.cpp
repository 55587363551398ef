#include "cli/holiday_files.h"

#include <cstdio>
#include <ctime>

#include "base/console_text.h"
#include "date/holidays.h"
#include "date/mark_names.h"
#include "holiday_files/exported_holidays.h"
#include "holiday_files/holiday_file.h"
#include "holiday_files/holiday_folder.h"
#include "holiday_files/holiday_ics_writer.h"
#include "holiday_files/holiday_json.h"
#include "holiday_files/imported_holidays.h"

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
    std::vector<OperatorMessage> refusals = std::move(folder.refusals);
    for (const OperatorMessage& message : folder.skipped) Say(message);
    for (const std::string& path : request.imports) {
        HolidayFileRead read = ReadHolidayFile(std::filesystem::path(path));
        for (const OperatorMessage& message : read.skipped) Say(message);
        if (read.file) {
            folder.files.push_back(std::move(*read.file));
        } else {
            refusals.push_back(read.refusal);
        }
    }
    for (OperatorMessage& refusal : MarkHolidayFileDays(folder.files, request.year, g_holidaySettings, g_markNames)) {
        refusals.push_back(std::move(refusal));
    }
    if (refusals.empty()) return true;
    // Each said once, the last as the failure; a year without a file's days is never sent.
    for (size_t i = 0; i + 1 < refusals.size(); ++i) Say(refusals[i]);
    error = refusals.back();
    return false;
}

bool WriteHolidayExport(const CliRequest& request, OperatorMessage& error)
{
    const std::vector<ExportedHoliday> days = ExportedHolidays(request.year, g_holidaySettings, g_markNames);
    std::string text;
    if (request.format == HolidayFormat::Ics) {
        if (!HolidayCalendarText(request.year, days, std::time(nullptr), text, error)) return false;
    } else {
        text = HolidayJsonText(request.year, days);
    }
    WriteText(stdout, text);
    return true;
}
