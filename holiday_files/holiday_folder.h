// The folder of holiday files that both programs read at start: the days of every .ics file in
// it count as marked days of whatever year is shown.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "holiday_files/holiday_file.h"

// $XDG_CONFIG_HOME/dorvane/holidays, else $HOME/.config/dorvane/holidays; empty when neither
// variable holds an absolute path (the XDG rule: a relative one is ignored). Null means unset.
std::filesystem::path HolidayFolderPath(const char* xdgConfigHome, const char* home);
// The same from this process's environment.
std::filesystem::path HolidayFolderPath();

struct HolidayFolderRead {
    std::vector<HolidayFile> files;
    std::vector<OperatorMessage> refusals;  // files, or the folder, that could not be read
    std::vector<OperatorMessage> skipped;   // events with a time of day, which mark nothing
};

// Every *.ics (any case) in the folder, in order of name. A refused file adds its message and
// the others still count; so does a *.ics that is no regular file (a FIFO, a link to nothing).
// A missing folder holds nothing and says nothing.
HolidayFolderRead ReadHolidayFolder(const std::filesystem::path& folder);

// Reads `file` and, when it is not refused, writes the text read into `folder` (made when
// missing) under the file's name, with ".ics" added when it has another ending: it then applies
// at every start. Where that name is taken, `mayReplace` is asked first, with the path; when it
// says no, nothing is written and nothing returned. The copy is made without following a link
// that stands in the folder (ReplaceFileWith). The file read is named by its copy, so it can
// take the place of a file of that name read from the folder before. A failed write is a
// refusal without a line.
std::optional<HolidayFileRead> ImportIntoHolidayFolder(const std::filesystem::path& file,
                                                       const std::filesystem::path& folder,
                                                       const std::function<bool(const std::filesystem::path&)>& mayReplace);
