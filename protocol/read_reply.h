// The terminal's answer to a data read: a header, then MMDD groups.
#pragma once

// Sets marks[month][day] to 1 for every group of `text` (NUL-terminated) with month 1..12
// and day 1..31; other groups are skipped. A trailing short group is read as far as it goes.
// Returns the number of groups that set a mark.
int ParseReadReply(const char* text, int model, int (&marks)[13][32]);
