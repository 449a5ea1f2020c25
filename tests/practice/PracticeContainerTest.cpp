#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "PracticeFixture.h"
#include "practice/Practice_container.h"

namespace {

using namespace practicetest;

class PracticeContainerTest : public PracticeTest {
protected:
    void SetUp() override {
        PracticeTest::SetUp();
        cardId = card(v.chien, {v.dog}, true);
    }
    Flashcard& flashcard() const { return *Flashcard::getById(cardId); }
    std::unique_ptr<Practice_container> container(bool inverse = false) const {
        return std::make_unique<Practice_container>(&flashcard(), inverse);
    }
    static void steps(Practice_container& c, int count, int seconds) {
        for (int i = 0; i < count; ++i) {
            fakeNow += seconds;
            c.statAlive();
        }
    }

    unsigned cardId = 0;
};

// --- level moves on the default ladder (break days 0, 1, 3, 5, 12, 30, 90) ---

TEST_F(PracticeContainerTest, ACorrectAnswerOnLevelThreeMovesToFourDueInTwelveDaysAndClearsTheMinorFlag) {
    flashcard().set_primaryLevel(3, false);
    flashcard().set_primaryMinorFlag(true, false);
    auto primary = container();
    EXPECT_TRUE(primary->finishContainer());
    EXPECT_EQ(flashcard().get_primaryLevel(), 4u);
    EXPECT_EQ(flashcard().get_primaryNextDue(), 12);
    EXPECT_FALSE(flashcard().get_primaryMinorFlag());
    // The other direction is untouched.
    EXPECT_EQ(flashcard().get_invertedLevel(), 0u);
    EXPECT_EQ(flashcard().get_invertedNextDue(), 0);
}

TEST_F(PracticeContainerTest, OnTheFinalLevelACorrectAnswerStaysAndIsDueInAYear) {
    flashcard().set_invertedLevel(6, false);
    auto inverted = container(true);
    EXPECT_FALSE(inverted->finishContainer());
    EXPECT_EQ(flashcard().get_invertedLevel(), 6u);
    EXPECT_EQ(flashcard().get_invertedNextDue(), 365);
}

TEST_F(PracticeContainerTest, TheFirstMinorErrorOnlyMarksTheSecondInARowCostsALevelNeverBelowZero) {
    flashcard().set_primaryLevel(2, false);
    auto primary = container();
    primary->setMinor();
    EXPECT_EQ(flashcard().get_primaryLevel(), 2u);
    EXPECT_TRUE(flashcard().get_primaryMinorFlag());
    primary->setMinor();
    EXPECT_EQ(flashcard().get_primaryLevel(), 1u);
    primary->setMinor();
    primary->setMinor();
    EXPECT_EQ(flashcard().get_primaryLevel(), 0u);
    EXPECT_TRUE(flashcard().get_primaryMinorFlag());
    // A correct answer ends the streak: the next minor error only marks again.
    primary->finishContainer();
    primary->setMinor();
    EXPECT_EQ(flashcard().get_primaryLevel(), 1u);
}

TEST_F(PracticeContainerTest, AWrongAnswerSetsLevelZeroAndKeepsTheMinorFlagAndTheDueCounter) {
    flashcard().set_primaryLevel(5, false);
    flashcard().set_primaryMinorFlag(true, false);
    flashcard().set_primaryNextDue(-4, false);
    container()->setIncorrect();
    EXPECT_EQ(flashcard().get_primaryLevel(), 0u);
    EXPECT_TRUE(flashcard().get_primaryMinorFlag());
    EXPECT_EQ(flashcard().get_primaryNextDue(), -4);
}

// --- timing ---

TEST_F(PracticeContainerTest, PausesOfThirtySecondsOrMoreAndStepsBackInTimeAddNothing) {
    auto primary = container();
    primary->statIn();
    steps(*primary, 10, 10);
    EXPECT_EQ(primary->getStatTotalTime(), 100u);
    steps(*primary, 1, 45);
    steps(*primary, 1, 30);
    EXPECT_EQ(primary->getStatTotalTime(), 100u);
    // A clock set back by a day, then running on: the step back counts nothing, the next ones do.
    steps(*primary, 1, -86400);
    steps(*primary, 2, 5);
    EXPECT_EQ(primary->getStatTotalTime(), 110u);
    // Stopped, the timer counts nothing; started again, the total grows on.
    primary->statOut();
    steps(*primary, 3, 10);
    primary->statIn();
    steps(*primary, 1, 29);
    EXPECT_EQ(primary->getStatTotalTime(), 139u);
}

TEST_F(PracticeContainerTest, TheTimeOfACorrectAnswerGoesToTheLevelTheCardStartedOn) {
    flashcard().set_primaryLevel(2, false);
    auto primary = container();
    primary->statIn();
    steps(*primary, 3, 10);
    primary->finishContainer();  // now on level 3
    const Level* started = Level::getByLevel(2);
    EXPECT_EQ(started->get_statSubmissions(), 2u);
    EXPECT_EQ(started->get_statTotal(), 90u);
    EXPECT_EQ(Level::getByLevel(3)->get_statSubmissions(), 1u);
}

TEST_F(PracticeContainerTest, MinorAndWrongAnswersGiveTheStatisticNothing) {
    auto primary = container();
    primary->statIn();
    steps(*primary, 2, 10);
    primary->setMinor();
    primary->statOut();
    primary->statIn();
    primary->setIncorrect();
    primary->statOut();
    EXPECT_EQ(Level::getByLevel(0)->get_statSubmissions(), 1u);
    EXPECT_EQ(Level::getByLevel(0)->get_statTotal(), 60u);
}

// --- the queue ---

// Containers for `dues.size()` cards, each with one of the due counters.
class QueueListTest : public PracticeTest {
protected:
    std::vector<unsigned> cardsWithDues(const std::vector<int>& dues) {
        std::vector<unsigned> ids;
        for (int due : dues) {
            ids.push_back(card(v.chien, {v.dog}, false, due));
        }
        return ids;
    }
    static std::vector<unsigned> order(const Practice_container* head) {
        std::vector<unsigned> ids;
        for (const Practice_container* c = head; c != nullptr; c = c->getNext()) {
            ids.push_back(c->fcard()->getId());
        }
        return ids;
    }
    static Practice_container::Queue make(unsigned id) {
        return std::make_unique<Practice_container>(Flashcard::getById(id), false);
    }
};

TEST_F(QueueListTest, PrioQueueKeepsTheListAscendingWithNewcomersBeforeEqualCounters) {
    const std::vector<unsigned> ids = cardsWithDues({0, -3, 0, -7, -3});
    Practice_container::Queue head;
    for (unsigned id : ids) {
        head = Practice_container::prioQueue(make(id), std::move(head));
    }
    EXPECT_EQ(order(head.get()), (std::vector<unsigned>{ids[3], ids[4], ids[1], ids[2], ids[0]}));
}

TEST_F(QueueListTest, PushbackPlacesAtTheGivenPositionAndTakeHeadDetachesTheFirst) {
    const std::vector<unsigned> ids = cardsWithDues({0, 0, 0, 0});
    Practice_container::Queue head = make(ids[0]);
    head = Practice_container::pushback(make(ids[1]), std::move(head), 1);   // second
    head = Practice_container::pushback(make(ids[2]), std::move(head), 0);   // new head
    head = Practice_container::pushback(make(ids[3]), std::move(head), 99);  // beyond the end: last
    EXPECT_EQ(order(head.get()), (std::vector<unsigned>{ids[2], ids[0], ids[1], ids[3]}));
    EXPECT_EQ(Practice_container::listLength(head.get()), 4u);
    Practice_container::Queue taken = Practice_container::takeHead(head);
    EXPECT_EQ(taken->fcard()->getId(), ids[2]);
    EXPECT_EQ(taken->getNext(), nullptr);
    EXPECT_EQ(order(head.get()), (std::vector<unsigned>{ids[0], ids[1], ids[3]}));
}

// A list far longer than any run must go without exhausting the stack when it is destroyed.
TEST_F(QueueListTest, AVeryLongQueueIsDestroyedWithoutRecursion) {
    const unsigned id = cardsWithDues({0}).front();
    Practice_container::Queue head;
    for (int i = 0; i < 300000; ++i) {
        head = Practice_container::pushback(make(id), std::move(head), 0);
    }
    Practice_container::deleteQueue(head);
    EXPECT_EQ(head, nullptr);
}

}  // namespace
