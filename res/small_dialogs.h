// Templates of the about, holiday weekday and loan period dialogs.
#pragma once

#include "res/dialog_template.h"

extern const DialogTemplate ABOUT_TEMPLATE;
extern const DialogTemplate WEEKDAY_TEMPLATE;
extern const DialogTemplate LOAN_PERIOD_TEMPLATE;
