#include "practice/AnswerRecording.h"

#include <set>
#include <utility>

#include "model/AnswerBlock.h"
#include "model/Flashcard.h"
#include "practice/AnswerJudging.h"
#include "practice/CardFacts.h"
#include "practice/Practice_container.h"

namespace {

// The directions (card id, inverted) answered in this run.
std::set<std::pair<std::uint32_t, bool>> answeredInRun;
unsigned long secondsWhenShown = 0;
JudgedParts judged;

Verdict verdictOf(int result) {
    switch (result) {
    case ANSWER_CORRECT:
        return Verdict::Correct;
    case ANSWER_MINOR:
        return Verdict::Minor;
    default:
        return Verdict::Wrong;
    }
}

}  // namespace

void startRecordingRun() {
    answeredInRun.clear();
    judged = JudgedParts();
}

void noteCardShown(const Practice_container& card) {
    secondsWhenShown = card.getStatTotalTime();
    judged = JudgedParts();
}

void noteJudgement(JudgedParts parts) { judged = std::move(parts); }

void recordAnswer(Practice_container& card, int verdict, unsigned levelBefore, bool mustRetype) {
    card.statAlive();  // a correct answer's move stopped the timer already
    const Flashcard& flashcard = *card.fcard();
    Answer answer;
    answer.card = flashcard.getId();
    answer.language = langId(card);
    answer.lesson = flashcard.getDependency(D_LESSON);
    answer.time = static_cast<std::int64_t>(Practice_container::now());
    answer.verdict = verdictOf(verdict);
    answer.inverted = card.getInverse();
    answer.hintUsed = card.getHintMark();
    answer.forcedRetyping = mustRetype;
    answer.firstTry = answeredInRun.insert({answer.card, answer.inverted}).second;
    const unsigned long total = card.getStatTotalTime();
    answer.secondsCounted = static_cast<std::uint32_t>(total >= secondsWhenShown ? total - secondsWhenShown : 0);
    answer.levelBefore = levelBefore;
    answer.levelAfter = card.levelNumber();
    answer.article = judged.article;
    answer.articleId = judged.articleId;
    answer.verbLayout = judged.verbLayout;
    answer.cellsRight = judged.cellsRight;
    AnswerBlock::record(answer);
    secondsWhenShown = total;
}
