#include "base/regular_file_messages.h"

#include <string>

namespace {

// Thousands apart, as sizes read in a sentence: 1,048,576.
std::string Grouped(std::uintmax_t number)
{
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

OperatorMessage NotRegularFile(const OperatorMessage& kind)
{
    return {"일반 파일이 아닙니다 (" + kind.korean + ")", "not a regular file (" + kind.english + ")"};
}

OperatorMessage TooLarge(std::uintmax_t size, std::size_t maxBytes)
{
    return {"파일이 너무 큽니다: " + Grouped(size) + "바이트, " + Grouped(maxBytes) + "바이트까지",
            "too large: " + Grouped(size) + " bytes, at most " + Grouped(maxBytes)};
}
