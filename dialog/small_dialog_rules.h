// What the weekday and loan-period dialogs decide, whatever shows them: the digits of the ticked
// weekdays, and which loan periods stand.
#pragma once

#include <functional>
#include <string>

// The ticked weekdays as digits (1 = Sunday .. 7 = Saturday), Monday to Saturday first and
// Sunday last, as the terminal expects; `ticked` tells whether check box `id` is ticked.
std::string WeekdayDigits(const std::function<bool(int id)>& ticked);

inline constexpr int LOAN_PERIOD1_MAX = 255;
inline constexpr int LOAN_PERIOD2_MAX = 250;  // the terminal's second period is shorter

// A whole number from `minValue` to `maxValue`, blanks around it allowed, an optional sign,
// nothing else; false when the text is not one.
bool ParseLoanPeriod(const std::string& text, int minValue, int maxValue, int& value);
// What the operator is told when a field is refused: the range allowed.
std::string LoanPeriodPrompt(int minValue, int maxValue);
