#pragma once

// The calendar behind a lesson's due date. A due date is stored as a day number: the whole days
// from 1 January 1970 to the date in the Gregorian calendar (day 0 is 1 January 1970), or -1 for
// no date. Counted from a fixed day, a stored number names the same calendar date on every later
// day, so nothing has to lower it as days pass and saving it again never moves it; the years the
// editor accepts (1970 to 2037) give the numbers 0 to 24,836, so no valid date is ever negative.
//
// "Today" is the date of the user's local calendar, read from a clock that tests may replace.

#include <cstdint>
#include <ctime>

struct CalendarDate {
    unsigned year = 0;
    unsigned month = 0;  // 1 to 12
    unsigned day = 0;    // 1 to the month's length
};

inline constexpr unsigned FIRST_DUE_YEAR = 1970;
inline constexpr unsigned LAST_DUE_YEAR = 2037;

// Gregorian rule: divisible by 4 and not by 100, or divisible by 400.
bool isleapyear(unsigned year);
// Whether the three numbers form a date of the years FIRST_DUE_YEAR to LAST_DUE_YEAR (zero
// fields, month 13, 31 April and 29 February outside leap years are not dates).
bool valid_date(unsigned year, unsigned month, unsigned day);

// The day number of a date (any Gregorian date from 1970 on; earlier dates give negative numbers).
std::int32_t dayNumberOf(const CalendarDate& date);
// The date of a day number; the inverse of dayNumberOf.
CalendarDate calendarDateOf(std::int32_t dayNumber);

// The day number of the local calendar's date at the clock's current time.
std::int32_t todayDayNumber();

// Replaces the clock today is read from (seconds since 1970, like std::time); null restores the
// system clock. For tests that let days pass.
using DueDateClock = std::time_t (*)();
void setDueDateClock(DueDateClock clock);
