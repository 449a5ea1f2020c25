#pragma once

// The pages of the practice screen: bit values of the screen's condition. An element takes part
// on every page whose bit is in its own mask.

namespace practicepage {

inline constexpr long START = 1;             // options and Start
inline constexpr long LANGUAGES = 2;         // language filter
inline constexpr long LESSONS = 4;           // lesson filter
inline constexpr long CATEGORIES = 8;        // category filter
inline constexpr long QUESTION_PRIMARY = 16;      // known words shown, foreign word typed
inline constexpr long QUESTION_INVERTED = 32;     // foreign word shown, known words entered
inline constexpr long RESULT_PRIMARY = 256;
inline constexpr long RESULT_INVERTED = 512;
inline constexpr long FORCED_PRIMARY = 4096;      // forced re-typing after a wrong answer
inline constexpr long FORCED_INVERTED = 8192;
inline constexpr long ARTICLE_QUESTION = 65536;
inline constexpr long ARTICLE_RESULT = 131072;
inline constexpr long ARTICLE_FORCED = 262144;
inline constexpr long VERB_QUESTION = 1048576;
inline constexpr long VERB_RESULT = 2097152;      // the submitted table, coloured
inline constexpr long VERB_SOLUTION = 4194304;    // the correct table
inline constexpr long VERB_FORCED = 8388608;
inline constexpr long OVERVIEW = 16777216;        // verdict, Continue and the overrides
inline constexpr long ALL_DONE = 33554432;
inline constexpr long NO_CARDS = 67108864;       // the collection has no flashcards yet
// No page has this bit: the mask of hidden elements.
inline constexpr long HIDDEN = 268435456;

// Every page a card is shown on (16 .. 16777216): the mask of the arrows and of Exit.
inline constexpr long CARD_PAGES = 33554416;

inline constexpr long RESULTS = RESULT_PRIMARY | RESULT_INVERTED;
// The headers and the texts naming the word on the article pages and on the verb pages.
inline constexpr long WORD_ON_ARTICLE_PAGES = 983040;
inline constexpr long WORD_ON_VERB_PAGES = 11534336;
// Where pronunciation, hint text and hint picture show once the hint was asked for.
inline constexpr long HINT_SHOWN = QUESTION_PRIMARY | QUESTION_INVERTED | RESULTS | FORCED_PRIMARY | FORCED_INVERTED;
// Before that: the pronunciation everywhere but where the foreign word is asked, the hint text and
// picture on the result and forced pages.
inline constexpr long PRONUNCIATION_HIDDEN_HINT = HINT_SHOWN & ~QUESTION_PRIMARY;
inline constexpr long HINT_HIDDEN = RESULTS | FORCED_PRIMARY | FORCED_INVERTED;

}  // namespace practicepage
