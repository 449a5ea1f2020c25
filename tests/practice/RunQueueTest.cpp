#include <algorithm>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "PracticeFixture.h"
#include "practice/RunQueue.h"

namespace {

using namespace practicetest;

// (card id, inverted) of every container of a queue, in queue order.
using Entries = std::vector<std::pair<unsigned, bool>>;

class RunQueueTest : public PracticeTest {
protected:
    // No filters: every language, lesson (with "n/a") and category (with "n/a").
    RunOptions openOptions() const {
        RunOptions options;
        options.languages = {v.french, v.english};
        options.lessons = {0, v.basics};
        options.categories = {0, v.animals};
        return options;
    }
    static Entries entries(const Practice_container* head) {
        Entries found;
        for (const Practice_container* c = head; c != nullptr; c = c->getNext()) {
            found.emplace_back(c->fcard()->getId(), c->getInverse());
        }
        return found;
    }
    Entries build(const RunOptions& options, std::uint32_t seed = 1) const {
        RunRandom random(seed);
        Practice_container::Queue queue = buildRunQueue(options, random);
        return entries(queue.get());
    }
    static Entries sorted(Entries e) {
        std::sort(e.begin(), e.end());
        return e;
    }
};

TEST_F(RunQueueTest, EveryDueDirectionIsQueuedAndOnlyThose) {
    const unsigned overdue = card(v.chien, {v.dog}, false, -3);
    const unsigned today = card(v.chat, {v.cat}, true, 0);
    const unsigned bothDirections = card(v.maison, {v.house}, true, 0);
    card(v.parler, {v.speak}, true, 1);  // due tomorrow: not asked
    Flashcard::getById(bothDirections)->set_invertedNextDue(2, false);
    // useInverted off: only the primary direction, whatever the inverted counter says.
    Flashcard::getById(overdue)->set_invertedNextDue(-9, false);

    EXPECT_EQ(sorted(build(openOptions())),
              (Entries{{overdue, false}, {today, false}, {today, true}, {bothDirections, false}}));
}

TEST_F(RunQueueTest, TheBudgetIsTestedBeforeEachCardSoTheOneThatExhaustsItIsStillTaken) {
    const unsigned today = card(v.chat, {v.cat}, false, 0);
    const unsigned overdue = card(v.maison, {v.house}, false, -3);
    RunOptions options = openOptions();
    options.parts.articles = false;  // one part per card
    options.timeRestricted = true;
    options.minutes = 1;  // the default ladder estimates 60 seconds per part
    EXPECT_EQ(build(options), (Entries{{overdue, false}}));
    options.minutes = 2;
    EXPECT_EQ(sorted(build(options)), (Entries{{today, false}, {overdue, false}}));
    options.minutes = 0;
    EXPECT_TRUE(build(options).empty());
}

TEST_F(RunQueueTest, EachPartAskedAddsTheLevelsEstimate) {
    const unsigned withArticle = card(v.chien, {v.dog}, false, -1);
    card(v.maison, {v.house}, false, 0);
    RunOptions options = openOptions();
    options.timeRestricted = true;
    options.minutes = 2;
    // With articles asked the first card counts 120 seconds and spends the budget alone.
    EXPECT_EQ(build(options), (Entries{{withArticle, false}}));
    options.parts.articles = false;
    EXPECT_EQ(build(options).size(), 2u);

    Practice_container withVerb(Flashcard::getById(card(v.parler, {v.speak})), false);
    Practice_container irregular(Flashcard::getById(card(v.etre, {v.be})), false);
    EXPECT_EQ(fullEstimate(withVerb, PartOptions{}), 120u);
    EXPECT_EQ(fullEstimate(irregular, PartOptions{true, false, true}), 60u);
    EXPECT_EQ(fullEstimate(irregular, PartOptions{false, true, false}), 120u);
}

TEST_F(RunQueueTest, AnAbsurdTimeLimitIsNoLimitAndNeverOverflows) {
    RunOptions options = openOptions();
    options.timeRestricted = true;
    options.minutes = 4294967295u;
    EXPECT_EQ(budgetSeconds(options), NO_TIME_LIMIT);
    options.minutes = 35791394;  // just below the limit in seconds
    EXPECT_EQ(budgetSeconds(options), 35791394LL * 60);
}

TEST_F(RunQueueTest, TheNotApplicableEntriesDecideCardsWithoutLessonOrCategory) {
    const unsigned inLesson = card(v.maison, {v.house});
    Flashcard::getById(inLesson)->setDependency(D_LESSON, v.basics);
    const unsigned noLesson = card(v.parler, {v.speak});  // and no category
    RunOptions options = openOptions();
    options.lessons = {v.basics};
    EXPECT_EQ(build(options), (Entries{{inLesson, false}}));
    options.lessons = {0};
    EXPECT_EQ(build(options), (Entries{{noLesson, false}}));
    options.lessons = {0, v.basics};
    options.categories = {v.animals};
    EXPECT_TRUE(build(options).empty());
}

// A card's categories are those of its foreign word's meanings: the category is two links away
// from the word and three from the card.
TEST_F(RunQueueTest, TheCategoryFilterTakesACardWhoseForeignWordsMeaningIsInTheCategory) {
    const unsigned animal = card(v.chien, {v.dog});
    const unsigned thing = card(v.maison, {v.house});
    RunOptions options = openOptions();
    options.categories = {v.animals};
    EXPECT_EQ(build(options), (Entries{{animal, false}}));
    options.categories = {0};
    EXPECT_EQ(build(options), (Entries{{thing, false}}));
    Practice_container container(Flashcard::getById(animal), false);
    EXPECT_EQ(cardCategories(container), (std::vector<unsigned>{v.animals}));
}

TEST_F(RunQueueTest, TheLanguageFilterReadsTheForeignLanguage) {
    const unsigned french = card(v.chien, {v.dog});
    const unsigned english = card(v.dog, {v.chien});
    RunOptions options = openOptions();
    options.languages = {v.english};
    EXPECT_EQ(build(options), (Entries{{english, false}}));
    options.languages = {v.french};
    EXPECT_EQ(build(options), (Entries{{french, false}}));
}

TEST_F(RunQueueTest, ACardLeavesOutWhatItCannotAskAndIsSkippedWhenNothingIsLeft) {
    // Cards without known words (the editors never make one, a damaged link table may leave one).
    const unsigned chien = card(v.chien, {});
    const unsigned maison = card(v.maison, {v.house});
    Word::getById(v.chat)->setDependency(D_ARTICLE, 0);
    card(v.chat, {});

    RunOptions options = openOptions();
    Entries queued = build(options);
    Practice_container chienContainer(Flashcard::getById(chien), false);
    const CardParts parts = partsAsked(chienContainer, options.parts);
    EXPECT_FALSE(parts.word);
    EXPECT_TRUE(parts.article);
    EXPECT_EQ(sorted(queued), (Entries{{chien, false}, {maison, false}}));
    // Without articles the card has nothing left to ask.
    options.parts.articles = false;
    EXPECT_EQ(build(options), (Entries{{maison, false}}));
}

TEST_F(RunQueueTest, AVerbIsOnlyAskedInALanguageWithPersonsAndTenses) {
    Practice_container parler(Flashcard::getById(card(v.parler, {v.speak})), false);
    EXPECT_TRUE(partsAsked(parler, PartOptions{}).verb);
    EXPECT_FALSE(partsAsked(parler, PartOptions{false, true, true}).verb);
    // A Spanish word pointing at the French pattern: Spanish has no persons and tenses.
    const unsigned spanish = language(L"Spanish", "0000040A");
    const unsigned hablar = word(spanish, L"hablar", 0);
    Word::getById(hablar)->setDependency(D_VERBPATTERN, v.er);
    Practice_container spanishVerb(Flashcard::getById(card(hablar, {v.speak})), false);
    EXPECT_FALSE(partsAsked(spanishVerb, PartOptions{}).verb);
    EXPECT_TRUE(partsAsked(spanishVerb, PartOptions{}).word);
    EXPECT_EQ(fullEstimate(spanishVerb, PartOptions{}), 60u);
}

// The queue is built in one pass with sorting and a tree of free positions; it must equal the
// queue the one-by-one insertions give with the same random draws.
TEST_F(RunQueueTest, TheQueueEqualsInsertingEachCardOneByOneWithTheSameDraws) {
    std::mt19937 dues(7);
    for (int i = 0; i < 60; ++i) {
        card(i % 2 == 0 ? v.chien : v.maison, {v.dog}, i % 3 == 0, static_cast<int>(dues() % 7) - 5);
    }
    for (std::uint32_t seed : {1u, 2u, 99u}) {
        // The candidate order by one-by-one prioQueue insertions, in ascending card id.
        Practice_container::Queue candidates;
        for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
            if (it->get_primaryNextDue() <= 0) {
                candidates = Practice_container::prioQueue(std::make_unique<Practice_container>(*it, false),
                                                           std::move(candidates));
            }
            if (it->get_useInverted() && it->get_invertedNextDue() <= 0) {
                candidates = Practice_container::prioQueue(std::make_unique<Practice_container>(*it, true),
                                                           std::move(candidates));
            }
        }
        RunRandom random(seed);
        Practice_container::Queue run;
        while (candidates != nullptr) {
            run = Practice_container::randPushback(Practice_container::takeHead(candidates), std::move(run), random);
        }
        EXPECT_EQ(build(openOptions(), seed), entries(run.get())) << "seed " << seed;
    }
}

TEST_F(RunQueueTest, TheRunOrderIsReproducibleWithASeedAndEachCardComesFirstAboutAThirdOfTheTime) {
    const std::vector<unsigned> ids = {card(v.chien, {v.dog}), card(v.chat, {v.cat}), card(v.maison, {v.house})};
    EXPECT_EQ(build(openOptions(), 5), build(openOptions(), 5));
    std::map<unsigned, int> first;
    constexpr int RUNS = 3000;
    for (std::uint32_t seed = 0; seed < RUNS; ++seed) {
        ++first[build(openOptions(), seed).front().first];
    }
    for (unsigned id : ids) {
        EXPECT_NEAR(first[id], RUNS / 3, RUNS / 20) << "card " << id;
    }
}

}  // namespace

// Start plans the run (all draws) and makes the queue behind its first card later, a slice at a
// time; the due directions may come from a gathering done in slices. Both give exactly the queue
// made at once, and so do due counters too far apart to be sorted by counting.
TEST_F(RunQueueTest, AQueueMadeInSlicesFromDirectionsGatheredInSlicesIsTheQueueMadeAtOnce) {
    std::mt19937 dues(11);
    for (int i = 0; i < 80; ++i) {
        const std::int32_t due = i % 4 == 0 ? -static_cast<std::int32_t>(dues() % 2000000) : static_cast<int>(dues() % 5) - 4;
        card(i % 3 == 0 ? v.chien : i % 3 == 1 ? v.parler : v.maison, {v.dog}, i % 2 == 0, due);
    }
    for (std::uint32_t seed : {1u, 5u}) {
        DueDirections due;
        while (due.gatherSome(3)) {
        }
        RunRandom random(seed);
        RunQueuePlan plan(openOptions(), random, due);
        Practice_container::Queue head = plan.takeHead();
        const Practice_container* shownFirst = head.get();
        while (plan.buildSome(4)) {
        }
        head = Practice_container::pushback(std::move(head), plan.takeRest(), 0);
        const Entries sliced = entries(head.get());
        EXPECT_EQ(build(openOptions(), seed), sliced) << "seed " << seed;
        EXPECT_EQ(head.get(), shownFirst);
        EXPECT_GT(sliced.size(), 100u);
    }
}

TEST_F(RunQueueTest, AGatheringStartsOverWhenATableChangesMeanwhile) {
    for (int i = 0; i < 30; ++i) {
        card(v.chien, {v.dog}, false, -1);
    }
    DueDirections due;
    due.gatherSome(10);
    const unsigned late = card(v.maison, {v.house}, false, -5);
    while (due.gatherSome(10)) {
    }
    ASSERT_FALSE(due.ordered().empty());
    EXPECT_EQ(due.ordered().front().card->getId(), late);
    EXPECT_EQ(due.ordered().size(), 31u);
}
