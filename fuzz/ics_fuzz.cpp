// The iCalendar reader over any text: no crash, no leak, no input that takes long. A file it
// takes gives its days for a year chosen by the input, on either side of libical's end at 2582;
// every message it says quotes only the start of a line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "holiday_files/holiday_file.h"
#include "holiday_files/imported_holidays.h"

namespace {

constexpr std::size_t kMostMessageBytes = 1024;

void CheckShort(const OperatorMessage& message)
{
    if (message.korean.size() > kMostMessageBytes || message.english.size() > kMostMessageBytes) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const int year = 1583 + (data[0] << 8 | data[1]) % 1256;  // 1583..2838
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const HolidayFileRead read = ReadHolidayFile(text, "fuzz.ics");
    CheckShort(read.refusal);
    for (const OperatorMessage& skipped : read.skipped) CheckShort(skipped);
    if (read.file) {
        for (const OperatorMessage& refusal : ImportedHolidays({*read.file}, year).refusals) CheckShort(refusal);
    }
    return 0;
}
