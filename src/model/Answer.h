#pragma once

// One judged answer of a practice run, as the answer history keeps it (model/AnswerBlock.h).
//
// The card, its language and its lesson are plain ids, not dependencies: a card deleted later
// keeps its answers (they are then flagged cardDeleted, so that a new card taking the freed id
// does not inherit them), and so does a deleted lesson or language. Times are seconds since
// 1970-01-01 00:00 UTC; days are UTC day numbers, as the daily roll-over counts them.

#include <cstdint>
#include <vector>

enum class Verdict : std::uint8_t { Correct = 0, Minor = 1, Wrong = 2 };
enum class ArticleJudgement : std::uint8_t { NotAsked = 0, Right = 1, Wrong = 2 };

inline constexpr std::int32_t SECONDS_OF_A_DAY = 86400;

// The UTC day of a time and the second within it (floored, so a second of the day is never
// negative; for every time since 1970 this is the roll-over's truncated division).
constexpr std::int32_t utcDayOf(std::int64_t time) {
    return static_cast<std::int32_t>(time >= 0 ? time / SECONDS_OF_A_DAY : -((-time - 1) / SECONDS_OF_A_DAY) - 1);
}
constexpr std::uint32_t secondOfDayOf(std::int64_t time) {
    return static_cast<std::uint32_t>(time - static_cast<std::int64_t>(utcDayOf(time)) * SECONDS_OF_A_DAY);
}

// The grid of a verb table when it was asked: the tense ids of its columns and the person ids of
// its rows, in the order the table showed them (ascending id).
struct VerbLayout {
    std::vector<std::uint32_t> tenses;
    std::vector<std::uint32_t> persons;
    bool operator==(const VerbLayout&) const = default;
    std::size_t cells() const { return tenses.size() * persons.size(); }
};

struct Answer {
    std::uint32_t card = 0;
    std::uint32_t language = 0;  // the card's foreign language
    std::uint32_t lesson = 0;    // 0: the card had no lesson
    std::int64_t time = 0;       // when the answer was judged
    Verdict verdict = Verdict::Correct;  // the final one, after the learner's override
    bool inverted = false;
    bool hintUsed = false;
    bool forcedRetyping = false;  // the wrong answer had to be typed again
    bool firstTry = false;        // the direction's first answer in its run
    bool cardDeleted = false;
    std::uint32_t secondsCounted = 0;
    std::uint32_t levelBefore = 0;
    std::uint32_t levelAfter = 0;
    ArticleJudgement article = ArticleJudgement::NotAsked;
    std::uint32_t articleId = 0;  // the word's article, when it was asked
    // When a verb table was asked: its grid and, tense by tense, whether each cell (tense t,
    // person p at t * persons + p) was right. Empty otherwise.
    VerbLayout verbLayout;
    std::vector<bool> cellsRight;

    bool verbAsked() const { return !verbLayout.tenses.empty() && !verbLayout.persons.empty(); }
};
