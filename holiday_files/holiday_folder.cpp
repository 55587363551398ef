#include "holiday_files/holiday_folder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

bool IsCalendarFile(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".ics";
}

HolidayFileRead CannotWrite(const std::filesystem::path& target, const std::string& reason)
{
    HolidayFileRead read;
    read.refusal = {"휴일 폴더에 파일을 쓸 수 없습니다: " + target.string() + " (" + reason + ")",
                    "cannot write to the holiday folder: " + target.string() + ": " + reason};
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
        std::error_code unreadable;  // a dangling link is no holiday file
        if (entry->is_regular_file(unreadable) && IsCalendarFile(entry->path())) paths.push_back(entry->path());
    }
    if (error && error != std::errc::no_such_file_or_directory) {
        read.refusals.push_back({"휴일 폴더를 읽을 수 없습니다: " + folder.string() + " (" + error.message() + ")",
                                 "cannot read the holiday folder " + folder.string() + ": " + error.message()});
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

HolidayFileRead ImportIntoHolidayFolder(const std::filesystem::path& file, const std::filesystem::path& folder)
{
    std::string text;
    HolidayFileRead read = ReadHolidayFile(file, &text);
    if (!read.file) return read;
    std::filesystem::path target = folder / file.filename();
    if (!IsCalendarFile(target)) target += ".ics";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return CannotWrite(folder, error.message());
    // Written beside the target and renamed over it, so a half-written file is never read.
    std::filesystem::path partial = target;
    partial += ".part";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        const std::string reason = std::strerror(errno);
        std::filesystem::remove(partial, error);
        return CannotWrite(target, reason);
    }
    std::filesystem::rename(partial, target, error);
    if (error) return CannotWrite(target, error.message());
    read.file->name = target.string();
    return read;
}
