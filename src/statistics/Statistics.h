#pragma once

// What the statistics screen shows, worked out from the cards and the answer history in one pass
// over each (computeStatistics). Days are UTC day numbers, as the daily roll-over counts them;
// weeks begin on Monday.
//
//   forecast        the card directions due on each of the next FORECAST_DAYS days, the ones
//                   overdue today in the first; a direction with due counter c is due on day
//                   today + c (the roll-over lowers every counter once a day)
//   levels          the card directions on each level of the ladder, with the level's break days
//   answersPerDay   answers of each of the last ANSWER_DAYS days (the last is today) by verdict
//   firstTryWeeks   each of the last WEEKS weeks (the last is this week): the directions' first
//                   answers in their run, and how many of them were correct
//   articles        per article: how often it was asked, how often the right one was chosen
//   tenses, persons per tense and per person of the verb tables: cells asked and cells right
//                   (a table with two wrong cells counts two wrong cells)
//   hardest         the HARD_CARDS cards answered wrong most often in the last HARD_DAYS days
//                   (most first, then by card id), cards that exist only
//   calendar        answers of every day from calendarStart (a Monday, CALENDAR_WEEKS weeks
//                   back) to today
//   streak          the days in a row with answers, ending today, or yesterday while today has
//                   none yet
// Answers of cards deleted since (or whose id a newer card took) count everywhere but in the
// hardest cards, and are also counted apart.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct StatisticsFilter {
    static constexpr std::uint32_t ALL_LANGUAGES = 0;
    std::uint32_t language = ALL_LANGUAGES;
    // nullopt: every lesson; 0: the cards (answers) without a lesson.
    std::optional<std::uint32_t> lesson;
};

struct VerdictCounts {
    std::uint32_t correct = 0;
    std::uint32_t minor = 0;
    std::uint32_t wrong = 0;
    std::uint32_t total() const { return correct + minor + wrong; }
};

struct ShareCount {
    std::uint32_t asked = 0;
    std::uint32_t right = 0;
    // The share right in percent, rounded; nullopt when nothing was asked.
    std::optional<unsigned> percent() const {
        if (asked == 0) {
            return std::nullopt;
        }
        return static_cast<unsigned>((static_cast<std::uint64_t>(right) * 200 + asked) / (2 * asked));
    }
};

struct LevelBar {
    unsigned level = 0;
    std::optional<unsigned> breakDays;  // nullopt for a number the ladder does not have
    std::uint32_t directions = 0;
};

// An article, tense or person; `id` 0 with an empty name stands for all those deleted since.
struct GrammarRow {
    std::uint32_t id = 0;
    std::wstring name;
    ShareCount count;
};

struct HardCard {
    std::uint32_t card = 0;
    std::wstring foreignWord;
    std::wstring knownWords;  // separated by ", "
    std::uint32_t wrong = 0;
};

struct Statistics {
    static constexpr int FORECAST_DAYS = 30;
    static constexpr int ANSWER_DAYS = 90;
    static constexpr int WEEKS = 26;
    static constexpr int CALENDAR_WEEKS = 53;
    static constexpr int HARD_CARDS = 10;
    static constexpr int HARD_DAYS = 30;

    std::int32_t today = 0;
    std::uint32_t cards = 0;       // cards of the filter
    std::uint32_t directions = 0;  // their directions in practice
    std::array<std::uint32_t, FORECAST_DAYS> forecast{};
    std::vector<LevelBar> levels;  // level 0 up; every level of the ladder, then numbers beyond it
    std::array<VerdictCounts, ANSWER_DAYS> answersPerDay{};  // [i] is day today - 89 + i
    std::int32_t firstWeek = 0;  // the Monday of firstTryWeeks[0]
    std::array<ShareCount, WEEKS> firstTryWeeks{};
    std::vector<GrammarRow> articles;
    std::vector<GrammarRow> tenses;
    std::vector<GrammarRow> persons;
    std::vector<HardCard> hardest;
    std::uint32_t deletedCardsWrong = 0;  // wrong answers of deleted cards in the last HARD_DAYS days
    std::int32_t calendarStart = 0;
    std::vector<std::uint32_t> calendar;  // [i] is day calendarStart + i, up to today
    std::uint32_t streak = 0;
    std::uint64_t answers = 0;             // every answer of the filter
    std::uint64_t deletedCardAnswers = 0;  // of those, answers of deleted cards
    std::uint32_t practiceDays = 0;        // days with answers, all time

    std::int32_t answerDay(int index) const { return today - (ANSWER_DAYS - 1) + index; }
    std::int32_t weekStart(int index) const { return firstWeek + 7 * index; }
};

// The Monday of the week of a day.
std::int32_t mondayOf(std::int32_t day);

// Works everything out for the filter as of `today` (settling the card deletions of the history
// first).
Statistics computeStatistics(const StatisticsFilter& filter, std::int32_t today);
