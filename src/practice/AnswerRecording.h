#pragma once

// Keeps every judged answer of a practice run in the answer history (model/AnswerBlock.h). The
// judging notes what it found part by part; when the learner continues and the card's level move
// is made, the answer is recorded in memory, and the run's save of that move writes both as one
// unit (a failed save keeps both for the next one).
//
// Per answer: card, direction, languages and lesson, the time on the practice clock, the final
// verdict (after the learner's override), the article and every verb-table cell as judged, the
// seconds counted since the card was shown, the level before and after the move, whether the hint
// was used, whether the wrong answer has to be typed again, and whether it was the direction's
// first answer in this run.

#include <cstdint>
#include <vector>

#include "model/Answer.h"

class Practice_container;

// What the judging of one submission found beyond the word.
struct JudgedParts {
    ArticleJudgement article = ArticleJudgement::NotAsked;
    std::uint32_t articleId = 0;
    VerbLayout verbLayout;  // empty when no verb table was judged
    std::vector<bool> cellsRight;
};

// A new run: each direction's next answer is its first try.
void startRecordingRun();
// The card is shown: its seconds are counted from here.
void noteCardShown(const Practice_container& card);
// The judging of the shown card's submission (not of a forced re-typing).
void noteJudgement(JudgedParts parts);
// Records the answer the level move just applied belongs to. `verdict` is an AnswerResult.
void recordAnswer(Practice_container& card, int verdict, unsigned levelBefore, bool mustRetype);
