#include <filesystem>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "PracticeFixture.h"
#include "model/AnswerBlock.h"
#include "practice/PracticePages.h"
#include "practice/RunQueue.h"
#include "states/ScreenRegistry.h"
#include "states/WelcomeState.h"

namespace {

using namespace practicetest;
namespace page = practicepage;
namespace fs = std::filesystem;

class PracticeRunScreenTest : public PracticeTest {
protected:
    // As the learner gets there: the welcome screen, then its Practice button.
    void openFromWelcome() {
        linkScreen(LinkedScreen::Practice, createPracticeState);
        show(createWelcomeState());
        pressButton(L"Practice");
        paint();
        ASSERT_EQ(page(), page::START);
    }
    // Answers every card correctly and continues, until the all-done page.
    void practiseAllCorrectly() {
        for (int card = 0; card < 20 && page() != page::ALL_DONE; ++card) {
            answerHeadCorrectly();
            ASSERT_NE(page(), page::OVERVIEW) << "the answer was not judged correct";
            pressButton(L"Continue");
        }
        ASSERT_EQ(page(), page::ALL_DONE);
    }
    std::size_t boxes() const { return window->dialogs().messageBoxes().size(); }
};

// A long run: the due directions are gathered in the idle time of the options page, Start shows
// the first card at once and the queue behind it is made in idle time, or at once by the first
// step that goes beyond the head. The queue is the one made at once with the same draws.
TEST_F(PracticeRunScreenTest, ALongQueueIsMadeBehindItsFirstCardAndIsTheSameQueue) {
    for (int i = 0; i < 2100; ++i) {
        auto* flashcard = new Flashcard(true, -(i % 5));
        flashcard->setDependency(D_WORD, i % 2 == 0 ? v.maison : v.chat);
        F_W::add(new F_W(Flashcard::add(flashcard), v.house));
    }
    saveDatabase(D_ENDTAG);
    RunOptions options;
    options.languages = {v.french, v.english};
    options.lessons = {0, v.basics};
    options.categories = {0, v.animals};
    RunRandom random(SEED);
    Practice_container::Queue atOnce = buildRunQueue(options, random);
    auto order = [](const Practice_container* from) {
        std::vector<std::pair<unsigned, bool>> found;
        for (const Practice_container* c = from; c != nullptr; c = c->getNext()) {
            found.emplace_back(c->fcard()->getId(), c->getInverse());
        }
        return found;
    };

    openFromWelcome();
    while (window->deliverIdle()) {  // the learner looks at the options
    }
    pressButton(L"Start");
    ASSERT_NE(head(), nullptr);
    EXPECT_EQ(head()->getNext(), nullptr);
    EXPECT_EQ(head()->fcard(), atOnce->fcard());
    EXPECT_EQ(head()->getInverse(), atOnce->getInverse());
    while (window->deliverIdle()) {
    }
    EXPECT_EQ(order(head()), order(atOnce.get()));

    // Exit before the queue is made, start again, and answer at once: Continue makes it first.
    pressButton(L"Exit");
    ASSERT_EQ(page(), page::START);
    pressButton(L"Start");
    ASSERT_EQ(head()->getNext(), nullptr);
    answerHeadCorrectly();
    pressButton(L"Continue");
    EXPECT_EQ(order(head()), order(atOnce->getNext()));
}

TEST_F(PracticeRunScreenTest, ADaysCardsInBothDirectionsWithArticlesAndVerbsEndAllDoneAndAreStored) {
    const unsigned chien = card(v.chien, {v.dog}, true, -2);      // article, both directions
    const unsigned parler = card(v.parler, {v.speak, v.talk});    // pattern
    const unsigned etre = card(v.etre, {v.be}, false, -1);        // irregular verb
    const unsigned later = card(v.maison, {v.house}, true, 3);    // not due
    Flashcard::getById(chien)->set_primaryLevel(3, false);
    Flashcard::getById(chien)->set_invertedLevel(1, false);
    saveDatabase(D_ENDTAG);

    openFromWelcome();
    pressButton(L"Start");
    EXPECT_EQ(Practice_container::listLength(head()), 4u);
    practiseAllCorrectly();
    EXPECT_TRUE(painted(L"Whoop Whoop!"));
    EXPECT_TRUE(painted(L"All done for today!"));
    screenshot("all-done");
    EXPECT_EQ(boxes(), 0u);
    pressButton(L"Continue");
    EXPECT_TRUE(painted(L"Welcome back!"));

    // Levels and due counters as the default ladder gives them, read from disk.
    reloadDatabase();
    const Flashcard* stored = Flashcard::getById(chien);
    EXPECT_EQ(stored->get_primaryLevel(), 4u);
    EXPECT_EQ(stored->get_primaryNextDue(), 12);
    EXPECT_EQ(stored->get_invertedLevel(), 2u);
    EXPECT_EQ(stored->get_invertedNextDue(), 3);
    for (unsigned id : {parler, etre}) {
        EXPECT_EQ(Flashcard::getById(id)->get_primaryLevel(), 1u);
        EXPECT_EQ(Flashcard::getById(id)->get_primaryNextDue(), 1);
    }
    EXPECT_EQ(Flashcard::getById(later)->get_primaryLevel(), 0u);
    EXPECT_EQ(Flashcard::getById(later)->get_primaryNextDue(), 3);
    // Each correct answer fed the statistic of the level its card stood on.
    EXPECT_EQ(Level::getByLevel(0)->get_statSubmissions(), 3u);
    EXPECT_EQ(Level::getByLevel(3)->get_statSubmissions(), 2u);

    // And each is in the history, with what was judged part by part.
    std::vector<Answer> history;
    AnswerBlock::forEveryAnswer([&](const AnswerBlock::View& view) { history.push_back(view.toAnswer()); });
    ASSERT_EQ(history.size(), 4u);
    for (const Answer& answer : history) {
        EXPECT_EQ(answer.verdict, Verdict::Correct);
        EXPECT_TRUE(answer.firstTry);
        EXPECT_EQ(answer.language, v.french);
        EXPECT_EQ(utcDayOf(answer.time), utcDayOf(fakeNow));
        if (answer.card == chien) {
            EXPECT_EQ(answer.article, ArticleJudgement::Right);
            EXPECT_EQ(answer.articleId, v.le);
            EXPECT_EQ(answer.levelBefore, answer.inverted ? 1u : 3u);
            EXPECT_EQ(answer.levelAfter, answer.inverted ? 2u : 4u);
        } else {
            EXPECT_TRUE(answer.verbAsked()) << answer.card;
            EXPECT_EQ(answer.verbLayout.cells(), 4u);
            EXPECT_EQ(answer.cellsRight, std::vector<bool>(4, true));
        }
    }
}

TEST_F(PracticeRunScreenTest, ExitInTheMiddleEndsTheRunAndReturnsToFreshOptions) {
    const unsigned first = card(v.chien, {v.dog});
    card(v.chat, {v.cat});
    openPractice();
    setBox(practiceScreen.checkBoxArticles, false);
    pressButton(L"Start");
    answerHeadCorrectly();
    const unsigned answered = head()->fcard()->getId();
    pressButton(L"Continue");
    ASSERT_EQ(page(), page::QUESTION_PRIMARY);
    pressButton(L"Exit");
    EXPECT_EQ(page(), page::START);
    EXPECT_EQ(head(), nullptr);
    EXPECT_TRUE(practiceScreen.checkBoxArticles->getCheck());
    // Exit again after a second start: the queue of every run is destroyed (the leak checker
    // watches).
    pressButton(L"Start");
    pressButton(L"Exit");
    reloadDatabase();
    EXPECT_EQ(Flashcard::getById(answered)->get_primaryLevel(), 1u);
    const unsigned other = answered == first ? first + 1 : first;
    EXPECT_EQ(Flashcard::getById(other)->get_primaryLevel(), 0u);
}

TEST_F(PracticeRunScreenTest, AFailedSaveKeepsTheResultAndContinueRetriesWithoutMovingTwice) {
    const unsigned id = card(v.maison, {v.house});
    startAt(id, 2, false);
    type(L"maison");
    pressButton(L"Submit");
    fs::rename("Data/Flashcard", "Data/FlashcardAside");
    writeFile("Data/Flashcard", "in the way");
    pressButton(L"Continue");
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(window->dialogs().messageBoxes()[0].text, curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(page(), page::RESULT_PRIMARY);
    EXPECT_EQ(typedForeignWord(), L"maison");
    ASSERT_NE(head(), nullptr);

    fs::remove("Data/Flashcard");
    fs::rename("Data/FlashcardAside", "Data/Flashcard");
    pressButton(L"Continue");
    EXPECT_EQ(boxes(), 1u);
    EXPECT_EQ(page(), page::ALL_DONE);
    reloadDatabase();
    EXPECT_EQ(Flashcard::getById(id)->get_primaryLevel(), 3u);
    EXPECT_EQ(Flashcard::getById(id)->get_primaryNextDue(), 5);
    // The answer went with the move, once.
    EXPECT_EQ(AnswerBlock::totalAnswers(), 1u);
}

TEST_F(PracticeRunScreenTest, WithNothingDueStartSaysSoAndTheOptionsStay) {
    card(v.chien, {v.dog}, false, 4);
    openPractice();
    pressButton(L"Start");
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(window->dialogs().messageBoxes()[0].text, L"All done for today!");
    EXPECT_EQ(page(), page::START);
    EXPECT_EQ(head(), nullptr);
}

TEST_F(PracticeRunScreenTest, AMinorOrWrongCardComesBackInTheSameRunUntilItIsRight) {
    const unsigned id = card(v.chien, {v.dog});
    startAt(id, 4, false);
    type(L"toutou");  // shares the meaning of chien
    pressButton(L"Submit");
    EXPECT_TRUE(painted(L"Minor"));
    EXPECT_EQ(practiceScreen.buttonCorrectContinue->getConditions(), page::HIDDEN);
    pressButton(L"Next");
    ASSERT_EQ(page(), page::OVERVIEW);
    pressButton(L"Continue");
    ASSERT_EQ(page(), page::QUESTION_PRIMARY);  // the only card, back again
    EXPECT_EQ(typedForeignWord(), L"");
    type(L"toutou");
    pressButton(L"Submit");
    pressButton(L"Next");
    pressButton(L"Minor");
    reloadDatabase();
    EXPECT_EQ(Flashcard::getById(id)->get_primaryLevel(), 3u);  // the second minor error in a row
    EXPECT_TRUE(Flashcard::getById(id)->get_primaryMinorFlag());
}

TEST_F(PracticeRunScreenTest, TheOverridesDecideInsteadOfTheJudgement) {
    const unsigned id = card(v.chien, {v.dog});
    startAt(id, 4, false);
    type(L"chat");
    pressButton(L"Submit");
    EXPECT_TRUE(painted(L"Wrong"));
    pressButton(L"Next");
    pressButton(L"Correct");
    EXPECT_EQ(page(), page::ALL_DONE);
    reloadDatabase();
    EXPECT_EQ(Flashcard::getById(id)->get_primaryLevel(), 5u);
}

// The state machine gives every screen the layout it was left with; a new practice screen must
// switch to the foreign keyboard again even though the last one did so already.
TEST_F(PracticeRunScreenTest, ComingBackToPracticeSwitchesTheKeyboardAgain) {
    card(v.chien, {v.dog});
    openFromWelcome();
    pressButton(L"Start");
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), "0000040C");
    pressButton(L"Exit");
    pressButton(L"Cancel");
    paint();
    ASSERT_TRUE(painted(L"Welcome back!"));
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), "00000409");
    pressButton(L"Practice");
    paint();
    pressButton(L"Start");
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), "0000040C");
}

TEST_F(PracticeRunScreenTest, LeavingTheScreenInTheMiddleOfARunDestroysIt) {
    card(v.chien, {v.dog});
    card(v.chat, {v.cat});
    openFromWelcome();
    pressButton(L"Start");
    ASSERT_NE(head(), nullptr);
    // The window closes during the run: the screen hears FORCED_EXIT and goes with its queue.
    window->send(platform::Message::plain(platform::MessageCode::Destroy));
    stateMachineReset();
    EXPECT_EQ(head(), nullptr);
    EXPECT_EQ(practiceScreen.state, nullptr);
}

}  // namespace
