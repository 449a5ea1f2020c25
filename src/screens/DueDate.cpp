#include "screens/DueDate.h"

namespace {

constexpr unsigned MONTHS_PER_YEAR = 12;
constexpr unsigned monthLengths[MONTHS_PER_YEAR] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days of a 400-year cycle, and from 1 March of year 0 to 1 January 1970.
constexpr std::int64_t DAYS_PER_ERA = 146097;
constexpr std::int64_t DAYS_TO_1970 = 719468;

std::time_t systemClock() { return std::time(nullptr); }

DueDateClock currentClock = systemClock;

unsigned monthLength(unsigned year, unsigned month) {
    if (month == 2 && isleapyear(year)) {
        return 29;
    }
    return monthLengths[month - 1];
}

}  // namespace

bool isleapyear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool valid_date(unsigned year, unsigned month, unsigned day) {
    if (year == 0 || month == 0 || day == 0 || month > MONTHS_PER_YEAR) {
        return false;
    }
    if (day > monthLength(year, month)) {
        return false;
    }
    return year >= FIRST_DUE_YEAR && year <= LAST_DUE_YEAR;
}

// The count runs in years that start on 1 March, so the leap day closes each year and the
// month lengths from March on repeat in a fixed pattern (153 days every five months).
std::int32_t dayNumberOf(const CalendarDate& date) {
    const std::int64_t year = static_cast<std::int64_t>(date.year) - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t shiftedMonth = date.month > 2 ? date.month - 3 : date.month + 9;
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<std::int32_t>(era * DAYS_PER_ERA + dayOfEra - DAYS_TO_1970);
}

CalendarDate calendarDateOf(std::int32_t dayNumber) {
    const std::int64_t days = static_cast<std::int64_t>(dayNumber) + DAYS_TO_1970;
    const std::int64_t era = (days >= 0 ? days : days - (DAYS_PER_ERA - 1)) / DAYS_PER_ERA;
    const std::int64_t dayOfEra = days - era * DAYS_PER_ERA;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    CalendarDate date;
    date.day = static_cast<unsigned>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    date.month = static_cast<unsigned>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    date.year = static_cast<unsigned>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

std::int32_t todayDayNumber() {
    const std::time_t now = currentClock();
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return static_cast<std::int32_t>(now / 86400);  // the UTC date, when no local one is known
    }
    return dayNumberOf({static_cast<unsigned>(local.tm_year + 1900), static_cast<unsigned>(local.tm_mon + 1),
                        static_cast<unsigned>(local.tm_mday)});
}

void setDueDateClock(DueDateClock clock) { currentClock = clock != nullptr ? clock : systemClock; }
