// The year walk over the holiday rules: the total, the console listing and the upload list.
#pragma once

#include <string>

#include "protocol/listing_output.h"

struct SendRecord {
    int year;   // year - 2000
    int month;  // 1..12; 0 in the end record
    int day;    // 1..31; 0 in the end record

    bool IsEndRecord() const { return month == 0; }
};

// Every day of a leap year plus the end record, so no holiday is ever left out.
inline constexpr int SEND_LIST_CAPACITY = 366 + 1;

extern SendRecord g_sendList[SEND_LIST_CAPACITY];
extern int g_nSendCount;     // records in use
extern int g_nSendIndex;     // next record the upload sends
extern int g_nSendAnswered;  // records of this upload the terminal has answered

// "    총휴일수 : %5d 일"
std::string TotalCaption(int total);
// "Holiday[%s] => %04d-%02d-%02d\n" with the name a listed day goes by.
std::string HolidayListingLine(const std::string& name, int year, int month, int day);
// A listed day's name: a marked day's own names (g_markNames, a holiday file's SUMMARYs) where it
// has any, else its kind's (HolidayKindName).
std::string ListedName(int kind, int month, int day);

// "[NOTE]=>%s\n": what the listing of a year cannot hold, and how to add it.
std::string NoteLine(const std::string& note);

// Counts the days of `year` whose kind is not HOLIDAY_NONE, lists them and what the rules cannot
// know of the year when `list` is 1, sets the total caption and returns the total.
int CountHolidays(int year, int list, ListingOutput& out);

// Rebuilds g_sendList for `model` (ZEFA-101 leaves Sundays out; ZEFA-102 sends every kind and
// ends a non-empty list with the end record), lists every holiday and what the rules cannot know
// of the year, and returns the total of all kinds. The caller sets the total caption once the upload has started or been refused.
int BuildSendList(int year, int model, ListingOutput& out);
