// Command frames for the terminal. ZEFA-101 frames are "#", letter, fields, CR LF; ZEFA-102
// frames are STX, letter, fields, ETX. Fields are zero-padded decimal; a year field is the year
// minus 2000 and so takes three digits from 2100 on.
#pragma once

#include <string>

#include "date/local_clock.h"
#include "protocol/holiday_upload.h"

std::string FrameConnect(int model);
// The ZEFA-101 frame has no seconds field.
std::string FrameSetTime(int model, const LocalTime& now);
// The ZEFA-102 frames R and C carry the year shown; the ZEFA-101 ones carry none.
std::string FrameRead(int model, int year);
std::string FrameDelete(int model, int year);
// The ZEFA-101 frame leaves the year out.
std::string FrameHoliday(int model, const SendRecord& record);
// ZEFA-102 only: one digit per weekday, 1 = Sunday .. 7 = Saturday.
std::string FrameWeekdays(const std::string& digits);
// ZEFA-102 only: loan periods #1 (0..255) and #2 (0..250).
std::string FrameLoanPeriods(int first, int second);
