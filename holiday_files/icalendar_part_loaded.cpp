// Each call goes through the iCalendar part, loading it on first use.
#include <mutex>

#include "holiday_files/holiday_ics_writer.h"
#include "holiday_files/icalendar_part.h"

namespace {

// Null, with why, when the part is missing.
const ICalendarPart* Part(OperatorMessage& failure)
{
    static std::once_flag once;
    static const ICalendarPart* part = nullptr;
    static OperatorMessage missing;
    std::call_once(once, [] {
        if (void* entry = LoadPluginEntry(ICALENDAR_PART, ICALENDAR_PART_ENTRY, missing)) {
            part = reinterpret_cast<ICalendarPartEntry>(entry)();
        }
    });
    if (part == nullptr) failure = missing;
    return part;
}

}  // namespace

HolidayFileRead ReadHolidayFile(std::string_view text, const std::string& name)
{
    HolidayFileRead read;
    if (const ICalendarPart* part = Part(read.refusal)) return part->readHolidayFile(text, name);
    return read;
}

ImportedYear ImportedHolidays(const std::vector<HolidayFile>& files, int year)
{
    // Files come only from the part: without any there is nothing to load it for.
    ImportedYear imported;
    if (files.empty()) return imported;
    OperatorMessage missing;
    if (const ICalendarPart* part = Part(missing)) return part->importedHolidays(files, year);
    imported.refusals.push_back(missing);
    return imported;
}

bool HolidayCalendarText(int year, const std::vector<ExportedHoliday>& days, std::time_t stamp, std::string& text,
                         OperatorMessage& refusal)
{
    const ICalendarPart* part = Part(refusal);
    return part != nullptr && part->holidayCalendarText(year, days, stamp, text, refusal);
}
