// libical's recurrence iterator as the holiday files walk it, and where its reach ends: it asks
// ICU, whose Gregorian calendar is Julian before 1582-10-15, and gives up after 2582 (its
// MAX_TIME_T_YEAR), so outside those days the starts it gives are not the file's.
#pragma once

#include <libical/ical.h>

#include <memory>

// The first and the last day number on which libical's starts are the file's.
int FirstRepeatDay();
int LastRepeatDay();

// An all-day date for libical, and the day number of one from it (-1 for no date).
icaltimetype DateOf(int dayNumber);
int DayOf(icaltimetype time);

struct IteratorFree {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};
using RecurIterator = std::unique_ptr<icalrecur_iterator, IteratorFree>;

// Calls `visit` with each start the iterator gives, until it ends, a start passes `to`, `visit`
// says false, or, for a rule finer than a day, libical gives the same date for ever. Returns the
// last start, or 0.
template <typename Visit>
int WalkStarts(icalrecur_iterator* iterator, int to, Visit visit)
{
    int previous = 0;
    for (;;) {
        const icaltimetype time = icalrecur_iterator_next(iterator);
        if (icaltime_is_null_time(time)) break;
        const int start = DayOf(time);
        if (start <= previous || start > to) break;
        previous = start;
        if (!visit(start)) break;
    }
    return previous;
}
