#include "dialog/small_dialog_rules.h"

#include <charconv>

#include "res/resource.h"

namespace {

struct WeekdayBox {
    int id;
    char digit;
};

// The terminal expects Sunday's digit last.
constexpr WeekdayBox DIGIT_ORDER[] = {
    {IDC_WEEKDAY_MON, '2'}, {IDC_WEEKDAY_TUE, '3'}, {IDC_WEEKDAY_WED, '4'}, {IDC_WEEKDAY_THU, '5'},
    {IDC_WEEKDAY_FRI, '6'}, {IDC_WEEKDAY_SAT, '7'}, {IDC_WEEKDAY_SUN, '1'},
};

}  // namespace

std::string WeekdayDigits(const std::function<bool(int id)>& ticked)
{
    std::string digits;
    for (const WeekdayBox& box : DIGIT_ORDER) {
        if (ticked(box.id)) digits += box.digit;
    }
    return digits;
}

bool ParseLoanPeriod(const std::string& text, int minValue, int maxValue, int& value)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    std::string digits = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    if (digits[0] == '+') digits.erase(0, 1);
    if (digits.empty()) return false;
    int parsed = 0;
    const char* end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, parsed);
    if (ec != std::errc() || ptr != end || parsed < minValue || parsed > maxValue) return false;
    value = parsed;
    return true;
}

std::string LoanPeriodPrompt(int minValue, int maxValue)
{
    return std::to_string(minValue) + "에서 " + std::to_string(maxValue) + " 사이의 정수를 입력하십시오.";
}
