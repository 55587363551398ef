// Template of the main dialog, its combobox items and its string table.
#pragma once

#include "res/dialog_template.h"

extern const DialogTemplate SETUP_TEMPLATE;

// Items of combobox 1010, Sunday first: the index plus one is the weekday number.
extern const char* const BIWEEKLY_WEEKDAY_ITEMS[7];

// The text of string resource `id`; empty when the table has none.
const char* LoadResourceString(int id);
