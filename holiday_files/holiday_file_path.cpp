// A holiday file from the disk: only a regular file of a holiday file's size is read, so that a
// FIFO, a device or a huge file can never hold a program up; libical parses what was read.
#include "base/printable_text.h"
#include "base/regular_file.h"
#include "holiday_files/holiday_file.h"

HolidayFileRead ReadHolidayFile(const std::filesystem::path& path, std::string* text)
{
    std::string bytes;
    OperatorMessage reason;
    if (!ReadRegularFile(path, HOLIDAY_FILE_MOST_BYTES, bytes, reason)) {
        const std::string shown = PrintableText(path.string());
        HolidayFileRead read;
        read.refusal = {"휴일 파일을 읽을 수 없습니다: " + shown + " (" + reason.korean + ")",
                        "cannot read holiday file " + shown + ": " + reason.english};
        return read;
    }
    if (text != nullptr) *text = bytes;
    return ReadHolidayFile(bytes, path.string());
}
