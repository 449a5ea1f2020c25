#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "screens/DueDate.h"

namespace {

TEST(DueDate, LeapYearsFollowTheGregorianRule) {
    EXPECT_TRUE(isleapyear(2024));
    EXPECT_TRUE(isleapyear(2000));
    EXPECT_FALSE(isleapyear(2023));
    EXPECT_FALSE(isleapyear(2100));
    EXPECT_FALSE(isleapyear(1900));
}

TEST(DueDate, ValidDatesLieWithinTheMonthAndTheYears1970To2037) {
    EXPECT_TRUE(valid_date(2024, 2, 29));
    EXPECT_FALSE(valid_date(2023, 2, 29));
    EXPECT_TRUE(valid_date(1970, 1, 1));
    EXPECT_FALSE(valid_date(1969, 12, 31));
    EXPECT_TRUE(valid_date(2037, 12, 31));
    EXPECT_FALSE(valid_date(2038, 1, 1));
    EXPECT_FALSE(valid_date(2030, 4, 31));
    EXPECT_TRUE(valid_date(2030, 4, 30));
    EXPECT_FALSE(valid_date(2030, 0, 1));
    EXPECT_FALSE(valid_date(2030, 1, 0));
    EXPECT_FALSE(valid_date(0, 1, 1));
    EXPECT_FALSE(valid_date(2030, 13, 1));
    EXPECT_FALSE(valid_date(4294967295u, 4294967295u, 4294967295u));
}

TEST(DueDate, DayNumbersCountFromTheFirstOfJanuary1970AndTurnBackIntoTheSameDates) {
    EXPECT_EQ(dayNumberOf({1970, 1, 1}), 0);
    EXPECT_EQ(dayNumberOf({2000, 3, 1}), 11017);
    EXPECT_EQ(dayNumberOf({2037, 12, 31}), 24836);
    EXPECT_EQ(dayNumberOf({1969, 12, 31}), -1);
    // Every day of the editor's years, one after the other.
    std::int32_t expected = 0;
    for (unsigned year = FIRST_DUE_YEAR; year <= LAST_DUE_YEAR; ++year) {
        for (unsigned month = 1; month <= 12; ++month) {
            for (unsigned day = 1; valid_date(year, month, day); ++day) {
                ASSERT_EQ(dayNumberOf({year, month, day}), expected) << day << "/" << month << "/" << year;
                const CalendarDate back = calendarDateOf(expected);
                ASSERT_EQ(back.year, year);
                ASSERT_EQ(back.month, month);
                ASSERT_EQ(back.day, day);
                ++expected;
            }
        }
    }
}

std::time_t fixedNow = 0;
std::time_t fixedClock() { return fixedNow; }

TEST(DueDate, TodayIsTheDateOfTheLocalCalendar) {
    setenv("TZ", "UTC-10", 1);  // ten hours east of Greenwich
    tzset();
    setDueDateClock(fixedClock);
    const std::int32_t day = dayNumberOf({2030, 6, 15});
    fixedNow = std::time_t{day} * 86400 + 13 * 3600 + 59 * 60;  // 13:59 UTC, 23:59 there
    EXPECT_EQ(todayDayNumber(), day);
    fixedNow += 60;  // midnight there, still 14:00 UTC on the same day
    EXPECT_EQ(todayDayNumber(), day + 1);
    setDueDateClock(nullptr);
    EXPECT_GT(todayDayNumber(), dayNumberOf({2024, 1, 1}));
}

}  // namespace
