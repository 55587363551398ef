#include "holiday_files/holiday_folder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "base/printable_text.h"
#include "base/regular_file.h"

namespace {

bool IsCalendarFile(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".ics";
}

HolidayFileRead CannotWrite(const std::filesystem::path& target, const OperatorMessage& reason)
{
    const std::string shown = PrintableText(target.string());
    HolidayFileRead read;
    read.refusal = {"휴일 폴더에 파일을 쓸 수 없습니다: " + shown + " (" + reason.korean + ")",
                    "cannot write to the holiday folder: " + shown + ": " + reason.english};
    return read;
}

}  // namespace

std::filesystem::path HolidayFolderPath(const char* xdgConfigHome, const char* home)
{
    std::filesystem::path config;
    if (xdgConfigHome != nullptr && std::filesystem::path(xdgConfigHome).is_absolute()) {
        config = xdgConfigHome;
    } else if (home != nullptr && std::filesystem::path(home).is_absolute()) {
        config = std::filesystem::path(home) / ".config";
    } else {
        return {};
    }
    return config / "dorvane" / "holidays";
}

std::filesystem::path HolidayFolderPath()
{
    return HolidayFolderPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

HolidayFolderRead ReadHolidayFolder(const std::filesystem::path& folder)
{
    HolidayFolderRead read;
    std::error_code error;
    std::vector<std::filesystem::path> paths;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        // Whatever is named *.ics, so that one that is no file is refused aloud, not passed over.
        if (IsCalendarFile(entry->path())) paths.push_back(entry->path());
    }
    if (error && error != std::errc::no_such_file_or_directory) {
        const std::string shown = PrintableText(folder.string());
        read.refusals.push_back({"휴일 폴더를 읽을 수 없습니다: " + shown + " (" + error.message() + ")",
                                 "cannot read the holiday folder " + shown + ": " + error.message()});
    }
    std::sort(paths.begin(), paths.end());
    for (const std::filesystem::path& path : paths) {
        HolidayFileRead file = ReadHolidayFile(path);
        if (!file.file) read.refusals.push_back(file.refusal);
        read.skipped.insert(read.skipped.end(), file.skipped.begin(), file.skipped.end());
        if (file.file) read.files.push_back(std::move(*file.file));
    }
    return read;
}

std::optional<HolidayFileRead> ImportIntoHolidayFolder(const std::filesystem::path& file,
                                                       const std::filesystem::path& folder,
                                                       const std::function<bool(const std::filesystem::path&)>& mayReplace)
{
    std::string text;
    HolidayFileRead read = ReadHolidayFile(file, &text);
    if (!read.file) return read;
    std::filesystem::path target = folder / file.filename();
    if (!IsCalendarFile(target)) target += ".ics";
    std::error_code error;
    if (std::filesystem::symlink_status(target, error).type() != std::filesystem::file_type::not_found &&
        !mayReplace(target)) {
        return std::nullopt;
    }
    std::filesystem::create_directories(folder, error);
    if (error) return CannotWrite(folder, {error.message(), error.message()});
    if (OperatorMessage failure; !ReplaceFileWith(target, text, failure)) return CannotWrite(target, failure);
    read.file->name = target.string();
    return read;
}
