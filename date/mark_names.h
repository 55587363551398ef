// What marked days are called where they came from: the SUMMARY of the holiday file's event that
// marked one ("개교기념일"). The listing and the exports call a marked day by it; a day marked by
// hand has none and goes by its kind's name, "설정공휴일".
#pragma once

#include <string>
#include <vector>

// One source of a marked day's name: an event's SUMMARY and the file it came from.
struct MarkOrigin {
    std::string name;  // may be empty: an event without a SUMMARY
    std::string file;  // the file's name; empty for a name from anywhere else
    friend bool operator==(const MarkOrigin&, const MarkOrigin&) = default;
};

struct MarkNames {
    // [solar month][solar day] of the year shown, as HolidaySettings::marks; UTF-8 as
    // PrintableText shows it, each origin once; none for a day marked by hand.
    std::vector<MarkOrigin> origins[13][32];
};

// The one instance beside g_holidaySettings, cleared with its marks (ClearHolidayMarks).
extern MarkNames g_markNames;

// Adds (`name`, `file`) to the day's origins, unless it is among them already.
void AddMarkName(MarkNames& names, int month, int day, const std::string& name, const std::string& file = {});
// The day's names joined by ", ", each once; empty when it has none.
std::string MarkName(const MarkNames& names, int month, int day);
