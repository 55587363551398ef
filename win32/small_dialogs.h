// The weekday, loan-period and about dialogs on Win32, made from their res/ templates and run
// modally over `owner`; what they decide is dialog/small_dialog_rules.h.
#pragma once

#include <string>

#include "base/windows_api.h"
#include "res/dialog_template.h"

// After OK: the ticked weekdays' digits. False when cancelled.
bool RunWeekdayDialog(HWND owner, std::string& digits);
// After OK: the two loan periods, each checked against its range. False when cancelled.
bool RunLoanPeriodDialog(HWND owner, int& first, int& second);
void RunAboutDialog(HWND owner);

// Runs `t` modally over `owner`: `onInit` (null: none) fills its controls, `onOk` (null: none)
// decides whether OK ends it. Returns the id of the button that ended it.
INT_PTR RunTemplateDialog(HWND owner, const DialogTemplate& t, void (*onInit)(HWND dialog, void* context),
                          bool (*onOk)(HWND dialog, void* context), void* context);
