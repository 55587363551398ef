// Every day of a year with its weekday and lunar date, one line a day.
#pragma once

void PrintCalendar(int year);
