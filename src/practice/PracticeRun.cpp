#include "practice/PracticeRun.h"

#include "gui/GuiButton.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/IdleWork.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/InterfaceText.h"
#include "model/Level.h"
#include "model/Verb.h"
#include "model/Word.h"
#include "platform/Platform.h"
#include "practice/AnswerJudging.h"
#include "practice/AnswerRecording.h"
#include "practice/CardDisplay.h"
#include "practice/PracticePages.h"
#include "practice/PracticeScreen.h"
#include "practice/RunQueue.h"
#include "practice/Submission.h"
#include "states/SaveTables.h"

PracticeRunState practiceRun;

namespace {

namespace page = practicepage;

std::optional<std::uint32_t> injectedSeed;

PracticeRunState& run = practiceRun;
PracticeScreen& screen = practiceScreen;

Practice_container* head() { return run.pQ.get(); }

// A queue this short is made whole at Start; a longer one gets its first card at once and the rest
// in slices of this many containers.
constexpr std::size_t QUEUE_MADE_AT_ONCE = 4096;
constexpr std::size_t QUEUE_MADE_PER_SLICE = 2048;

bool makeMoreOfQueue() {
    if (run.queueBehindHead && run.queueBehindHead->buildSome(QUEUE_MADE_PER_SLICE)) {
        return true;
    }
    completeRunQueue();
    return false;
}

void dropQueueBehindHead() {
    idleWork::cancel(&run);
    run.queueBehindHead.reset();
}

constexpr std::size_t GATHERED_PER_SLICE = 1024;

bool gatherMoreDueDirections() { return run.dueDirections && run.dueDirections->gatherSome(GATHERED_PER_SLICE); }

void dropDueDirections() {
    idleWork::cancel(&run.dueDirections);
    run.dueDirections.reset();
}

bool onScreen() { return screen.state != nullptr; }

// --- pages and arrows ----------------------------------------------------------------------------

void clearPages() { run.conLength = 0; }

void addPage(long mask) {
    if (run.conLength < MAX_CARD_PAGES) {
        run.conArray[run.conLength++] = mask;
    }
}

void showPosition(int position) {
    if (position < 0 || position >= run.conLength) {
        return;
    }
    run.conPosition = position;
    nextCondition = run.conArray[position];
}

// Next on every page but the last, Back on every page but the first, Submit on the last one or
// nowhere.
void arrangeArrows(bool submitOnLast) {
    if (run.conLength == 0) {
        return;
    }
    const long first = run.conArray[0];
    const long last = run.conArray[run.conLength - 1];
    screen.buttonSubmit->setConditions(submitOnLast ? last : page::HIDDEN);
    screen.buttonNext->setConditions(page::CARD_PAGES ^ last);
    screen.buttonBack->setConditions(page::CARD_PAGES ^ first);
}

// Hands the keyboard focus to an input of the page about to be shown, so the learner can type at
// once (and its focus function switches the keyboard).
void focusOn(FocusElement* element) {
    State* state = screen.state;
    if (element == nullptr || state->focus == element) {
        return;
    }
    if (state->focus != nullptr) {
        state->focus->changeFocus(false);
    }
    state->focus = element;
    element->changeFocus(true);
}

FocusElement* firstInput(const Practice_container& card) {
    if (run.headParts.word) {
        return card.getInverse() ? screen.textfieldKWord : screen.textfieldFWord;
    }
    if (run.headParts.article) {
        return screen.selectionArticle;
    }
    return screen.tableVerb;
}

void showAllDone() {
    releaseCardTables();
    run.phase = RunPhase::AllDone;
    nextCondition = page::ALL_DONE;
}

// Cards left with nothing to ask (their word lost its known words or verb since the run began)
// leave the run unasked.
bool dropCardsWithNothingToAsk() {
    while (head() != nullptr) {
        run.headParts = partsAsked(*head(), run.parts);
        if (run.headParts.any()) {
            return true;
        }
        completeRunQueue();
        Practice_container::takeHead(run.pQ);
    }
    return false;
}

// Fills the question pages of the card and shows the first; false when none can be shown.
bool showCard(Practice_container& card) {
    fillQuestionPages(card);
    clearPages();
    if (run.headParts.word) {
        addPage(card.getInverse() ? page::QUESTION_INVERTED : page::QUESTION_PRIMARY);
    }
    if (run.headParts.article) {
        addPage(page::ARTICLE_QUESTION);
    }
    if (run.headParts.verb) {
        addPage(page::VERB_QUESTION);
    }
    if (run.conLength == 0) {
        return false;
    }
    arrangeArrows(true);
    run.forcedActivated = false;
    run.phase = RunPhase::Question;
    card.statIn();
    noteCardShown(card);
    showPosition(0);
    focusOn(firstInput(card));
    return true;
}

const wchar_t* verdict(int result) {
    switch (result) {
    case ANSWER_CORRECT:
        return interfaceText(String_CORRECT);
    case ANSWER_MINOR:
        return interfaceText(String_MINOR);
    default:
        return interfaceText(String_WRONG);
    }
}

void informUser(framew_strings text) {
    platform::current().messageBox(interfaceText(text), interfaceText(String_INFORMATION),
                                   platform::MessageIcon::Warning, platform::MessageButtons::Ok);
}

// --- continuing --------------------------------------------------------------------------------

void applyLevelMove(Practice_container& card, int result) {
    switch (result) {
    case ANSWER_CORRECT:
        if (!card.finishContainer()) {
            informUser(String_FLASHCARD_FINAL_LEVEL);
        }
        break;
    case ANSWER_MINOR:
        card.setMinor();
        break;
    default:
        card.setIncorrect();
        break;
    }
}

// A correct answer also fed the level's time statistic. The answer's history row goes in the same
// unit as the move.
bool saveLevelMove(int result) {
    return result == ANSWER_CORRECT ? saveTablesOrWarn({D_FLASHCARD, D_LEVEL, D_ANSWER})
                                    : saveTablesOrWarn({D_FLASHCARD, D_ANSWER});
}

bool mustRetype(const Practice_container& card) {
    const Level* level = card.getCurrentLevel();
    return level != nullptr && level->get_forceAnswerTyping();
}

}  // namespace

void setPracticeSeed(std::optional<std::uint32_t> seed) { injectedSeed = seed; }

void prepareNextRun() {
    run.dueDirections = std::make_unique<DueDirections>();
    idleWork::post(&run.dueDirections, gatherMoreDueDirections);
}

bool startRun(const RunOptions& options) {
    endRun();
    run.parts = options.parts;
    run.random.seed(injectedSeed ? *injectedSeed : std::random_device{}());
    startRecordingRun();
    if (!run.dueDirections) {
        run.dueDirections = std::make_unique<DueDirections>();
    }
    idleWork::cancel(&run.dueDirections);
    run.dueDirections->gatherAll();
    auto plan = std::make_unique<RunQueuePlan>(options, run.random, *run.dueDirections);
    if (plan->empty()) {
        return false;  // nothing changed: the directions stay for another Start
    }
    dropDueDirections();  // the run changes cards; the options page gathers anew afterwards
    run.pQ = plan->takeHead();
    run.queueBehindHead = std::move(plan);
    if (run.queueBehindHead->size() <= QUEUE_MADE_AT_ONCE) {
        completeRunQueue();
    } else {
        idleWork::post(&run, makeMoreOfQueue);
    }
    swapIn();
    return true;
}

void completeRunQueue() {
    if (!run.queueBehindHead) {
        return;
    }
    Practice_container::Queue rest = run.queueBehindHead->takeRest();
    dropQueueBehindHead();
    // The head has been alone so far: nothing that goes beyond it ran before this.
    run.pQ = run.pQ != nullptr ? Practice_container::pushback(std::move(run.pQ), std::move(rest), 0) : std::move(rest);
}

void swapIn() {
    if (!onScreen()) {
        return;
    }
    while (dropCardsWithNothingToAsk()) {
        if (showCard(*head())) {
            return;
        }
        completeRunQueue();
        Practice_container::takeHead(run.pQ);  // its only part, the verb table, could not be built
    }
    showAllDone();
}

void swapOut() {
    if (head() == nullptr) {
        return;
    }
    completeRunQueue();
    head()->statOut();
    Practice_container::Queue card = Practice_container::takeHead(run.pQ);
    run.pQ = Practice_container::randPushback(std::move(card), std::move(run.pQ), run.random);
}

void evaluate() {
    Practice_container* card = head();
    if (card == nullptr || !onScreen() || run.phase != RunPhase::Question) {
        return;
    }
    int result = checkSubmission(*card, false);
    const Level* level = card->getCurrentLevel();
    if (result == ANSWER_CORRECT && card->getHintMark() && level != nullptr &&
        level->get_hintHandling() == PUNISHHINT) {
        result = ANSWER_MINOR;
    }
    run.evaluatedResult = result;
    screen.textResultWord->setText(verdict(result));
    screen.textResultOverview->setText(verdict(result));
    screen.buttonCorrectContinue->setConditions(result == ANSWER_CORRECT ? page::RESULTS : page::HIDDEN);

    clearPages();
    if (run.headParts.word) {
        addPage(card->getInverse() ? page::RESULT_INVERTED : page::RESULT_PRIMARY);
    }
    if (run.headParts.article) {
        addPage(page::ARTICLE_RESULT);
    }
    if (run.headParts.verb) {
        addPage(page::VERB_RESULT);
        addPage(page::VERB_SOLUTION);
    }
    addPage(page::OVERVIEW);
    arrangeArrows(false);
    run.phase = RunPhase::Result;
    showPosition(0);
}

void setUpForced() {
    Practice_container* card = head();
    if (card == nullptr || !onScreen()) {
        return;
    }
    const Word& word = *foreignWord(*card);
    prepareTextfield(*screen.textfieldForcedFWord, getFLang(*card));
    prepareTextfield(*screen.textfieldKWord, getKLang(*card));
    screen.itemfieldForcedKWord->clearField();

    clearPages();
    if (run.headParts.word) {
        addPage(card->getInverse() ? page::RESULT_INVERTED : page::RESULT_PRIMARY);
        addPage(card->getInverse() ? page::FORCED_INVERTED : page::FORCED_PRIMARY);
    }
    if (run.headParts.article) {
        addPage(page::ARTICLE_RESULT);
        addPage(page::ARTICLE_FORCED);
        fillArticles(*screen.selectionForcedArticle, langId(*card));
        screen.textForcedWordArticle->setText(word.get_text());
        // The forced page names the correct word at the place of the typed one.
        screen.textWordArticle->resetConditions(page::WORD_ON_ARTICLE_PAGES & ~page::ARTICLE_FORCED);
    }
    if (run.headParts.verb) {
        addPage(page::VERB_RESULT);
        addPage(page::VERB_SOLUTION);
        if (placeTable(screen.tableForcedVerb, Verb::createEmptyTable(langId(*card)), page::VERB_FORCED)) {
            addPage(page::VERB_FORCED);
        }
        screen.textWordVerb->resetConditions(page::WORD_ON_VERB_PAGES & ~page::VERB_FORCED);
    }
    arrangeArrows(true);
    run.forcedActivated = true;
    run.phase = RunPhase::Forced;
    showPosition(0);
}

void evaluateForced() {
    Practice_container* card = head();
    if (card == nullptr || !onScreen() || run.phase != RunPhase::Forced) {
        return;
    }
    if (checkSubmission(*card, true) != ANSWER_CORRECT) {
        informUser(String_FORCED_INCORRECT);
        return;
    }
    run.forcedActivated = false;
    swapOut();
    swapIn();
}

void continueRun() {
    Practice_container* card = head();
    if (card == nullptr || !onScreen() || run.phase != RunPhase::Result) {
        return;
    }
    completeRunQueue();
    if (!run.moveApplied) {
        const unsigned levelBefore = card->levelNumber();
        applyLevelMove(*card, run.evaluatedResult);
        recordAnswer(*card, run.evaluatedResult, levelBefore,
                     run.evaluatedResult == ANSWER_WRONG && mustRetype(*card));
        run.moveApplied = true;
        run.appliedResult = run.evaluatedResult;
    }
    if (!saveLevelMove(run.appliedResult)) {
        return;  // the result page stays; Continue tries the save again
    }
    run.moveApplied = false;
    if (run.appliedResult == ANSWER_CORRECT) {
        Practice_container::takeHead(run.pQ);
        swapIn();
    } else if (run.appliedResult == ANSWER_WRONG && mustRetype(*card)) {
        setUpForced();
    } else {
        swapOut();
        swapIn();
    }
}

void endRun() {
    dropQueueBehindHead();
    Practice_container::deleteQueue(run.pQ);
    if (onScreen()) {
        releaseCardTables();
    }
    run.conLength = 0;
    run.conPosition = 0;
    run.forcedActivated = false;
    run.moveApplied = false;
    run.phase = RunPhase::Options;
}

void showPreviousPage() { showPosition(run.conPosition - 1); }

void showNextPage() { showPosition(run.conPosition + 1); }

void pressHint() {
    if (head() == nullptr || !onScreen()) {
        return;
    }
    head()->hintPressed(true);
    showHints(true);
}

void loadInput() {
    const Practice_container* card = head();
    if (card == nullptr || !onScreen() || card->getInverse() || !run.headParts.word) {
        return;
    }
    const std::wstring typed = screen.textfieldFWord->visibleText();
    screen.textWordArticle->setText(typed.c_str());
    screen.textWordVerb->setText(typed.c_str());
}

void alive() {
    if (head() != nullptr) {
        head()->statAlive();
    }
}

void resetPracticeRun() {
    dropQueueBehindHead();
    dropDueDirections();
    practiceRun.pQ.reset();
    practiceRun = PracticeRunState();
}
