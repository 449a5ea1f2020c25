// A practice run on the realistic database (ModelDatabaseGenerator.h) with every one of its 50,000
// cards due (about 75,000 directions, half the cards being practised inverted), driven through the
// window procedure of a headless window as the learner drives it, measured in the same run against
// baselines:
// - "Start" on the options page with no filters and no time limit, up to the first card painted,
//   against std::sort of the same 50,000 due counters (StartRun_Practice: the due directions were
//   gathered in the idle time after the options page was shown, and the queue behind the first
//   card is made in the idle time after it); StartRunAtOnce_Practice presses Start before any idle
//   time came, so Start gathers them itself; StartRunWhole_Practice makes the whole queue before
//   it stops the clock; StartQueue_Practice is what Start computes of the queue before the first
//   card is shown (the run planned from the gathered due directions, the first container made);
// - one card answered: Submit, then Continue, which moves the card up a level and saves the
//   flashcard table (and the level table, whose time statistic the answer fed) durably, against
//   one committed single-row UPDATE of the same card in SQLite (its default, fully synchronous
//   journal).
#include <sqlite3.h>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchRatios.h"
#include "ModelDatabaseGenerator.h"
#include "ScratchDirectory.h"
#include "SqliteMirror.h"
#include "gui/GuiCheckBox.h"
#include "gui/IdleWork.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "platform/headless/HeadlessPlatform.h"
#include "practice/CardFacts.h"
#include "practice/DueDirections.h"
#include "practice/RunQueue.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeScreen.h"
#include "practice/statePractice.h"
#include "shell/framework.h"
#include "states/WindowProcedure.h"

namespace {

const char* const SQLITE_FILE = "baseline.sqlite";

// Where the buttons the learner presses lie (virtual units = pixels of the 1000 x 500 window).
struct Point {
    int x;
    int y;
};
constexpr Point START_BUTTON{680, 460};
constexpr Point SUBMIT_BUTTON{850, 40};
constexpr Point QUICK_CONTINUE_BUTTON{803, 450};
constexpr Point EXIT_BUTTON{950, 40};

// The generated database with every direction due, stored, and its SQLite mirror.
void buildDatabases() {
    bench::DatabaseGenerator generator;
    generator.buildAllDue();
    {
        bench::SqliteWriter writer(SQLITE_FILE);
        writer.mirrorModel();
    }
    resetDatabase();
    if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
        throw std::runtime_error("the database did not load cleanly");
    }
}

// The window the learner works in, with the program's own window procedure.
class Window {
public:
    Window() : procedure(window) {
        window.setSink(&procedure);
        framewUpdate(&window);
        framewInit(1000, 500);
        getKL(preApplicationKeyboard);
    }
    ~Window() {
        stateMachineReset();
        framewReset();
        platform::setCurrent(nullptr);
    }
    void click(Point at) {
        window.send(platform::Message::mouse(platform::MessageCode::LButtonDown, at.x, at.y));
        window.send(platform::Message::mouse(platform::MessageCode::LButtonUp, at.x, at.y));
        window.deliverPaint();
    }
    // A new practice screen, current and painted, on its options page, and the idle time that
    // follows while the learner looks at the options.
    void openPractice() {
        nextState = createPracticeState();
        updateStateStatus();
        window.deliverPaint();
        window.deliverPaint();
        idle();
    }
    void idle() {
        while (idleWork::pending() && window.deliverIdle()) {
        }
    }

    // The boxes that told of a failed save (a card leaving the ladder's top says so in a box too).
    std::size_t failedSaves() {
        std::size_t failed = 0;
        for (const platform::MessageBoxRequest& box : window.dialogs().messageBoxes()) {
            failed += box.text == curStrings[String_ERROR_SAVE_DB] ? 1 : 0;
        }
        return failed;
    }

    platform::HeadlessPlatform window{{1000, 500}};
    WindowProcedure procedure;
};

// With `idleBefore`, the window is idle between opening the options page and Start, as when the
// learner looks at the options first.
void startRun(benchmark::State& state, bool idleBefore) {
    Window window;
    window.openPractice();
    std::size_t queued = 0;
    for (auto _ : state) {
        if (!idleBefore) {
            state.PauseTiming();
            prepareNextRun();  // the gathering begun and not yet done
            state.ResumeTiming();
        }
        window.click(START_BUTTON);
        state.PauseTiming();
        completeRunQueue();
        queued = Practice_container::listLength(practiceRun.pQ.get());
        if (queued == 0 || curState->condition == 1) {
            state.SkipWithError("no card was shown");
            break;
        }
        window.click(EXIT_BUTTON);  // back to the options page, the run destroyed
        if (idleBefore) {
            window.idle();
        }
        state.ResumeTiming();
    }
    state.counters["queued"] = static_cast<double>(queued);
}

void StartRun_Practice(benchmark::State& state) { startRun(state, true); }
void StartRunAtOnce_Practice(benchmark::State& state) { startRun(state, false); }

// The same, with the rest of the queue made right away instead of in idle time after the first
// card: the whole queue's cost.
void StartRunWhole_Practice(benchmark::State& state) {
    Window window;
    window.openPractice();
    std::size_t queued = 0;
    for (auto _ : state) {
        window.click(START_BUTTON);
        completeRunQueue();
        state.PauseTiming();
        queued = Practice_container::listLength(practiceRun.pQ.get());
        if (queued == 0 || curState->condition == 1) {
            state.SkipWithError("no card was shown");
            break;
        }
        window.click(EXIT_BUTTON);
        window.idle();
        state.ResumeTiming();
    }
    state.counters["queued"] = static_cast<double>(queued);
}

// What Start computes of the queue before it shows the first card: the run planned from the
// due directions gathered beforehand (the filters, the budget, every random draw) and the first
// container made.
void StartQueue_Practice(benchmark::State& state) {
    DueDirections due;
    due.gatherAll();
    RunOptions options;
    for (auto it = Language::begin(); it != Language::end(); ++it) {
        options.languages.insert(it->getId());
    }
    options.lessons.insert(0);
    for (auto it = Lesson::begin(); it != Lesson::end(); ++it) {
        options.lessons.insert(it->getId());
    }
    options.categories.insert(0);
    for (auto it = Category::begin(); it != Category::end(); ++it) {
        options.categories.insert(it->getId());
    }
    RunRandom random(1);
    std::size_t queued = 0;
    for (auto _ : state) {
        RunQueuePlan plan(options, random, due);
        Practice_container::Queue head = plan.takeHead();
        benchmark::DoNotOptimize(head.get());
        queued = plan.size();
    }
    state.counters["queued"] = static_cast<double>(queued);
}

void StartRun_StdSort(benchmark::State& state) {
    std::vector<std::int32_t> dues;
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        dues.push_back(it->get_primaryNextDue());
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::int32_t> sorted = dues;
        state.ResumeTiming();
        std::sort(sorted.begin(), sorted.end());
        benchmark::DoNotOptimize(sorted.data());
    }
    state.counters["cards"] = static_cast<double>(dues.size());
}

// Puts the right answer of the card shown where the learner would have typed it.
void answerShownCard() {
    const Practice_container& card = *practiceRun.pQ;
    if (!card.getInverse()) {
        practiceScreen.textfieldFWord->setText(foreignWord(card)->get_text());
        return;
    }
    for (const Word* known : knownWords(*card.fcard())) {
        practiceScreen.itemfieldKWord->addItem(known->get_text());
        practiceScreen.itemfieldKWord->setLastId(known->getId());
    }
}

void SubmitContinue_Practice(benchmark::State& state) {
    Window window;
    window.openPractice();
    // Only the word part, so that every card is answered the same way.
    practiceScreen.checkBoxRegularVerbs->setCheck(false);
    practiceScreen.checkBoxIrregularVerbs->setCheck(false);
    practiceScreen.checkBoxArticles->setCheck(false);
    window.click(START_BUTTON);
    for (auto _ : state) {
        state.PauseTiming();
        answerShownCard();
        state.ResumeTiming();
        window.click(SUBMIT_BUTTON);
        window.click(QUICK_CONTINUE_BUTTON);
        state.PauseTiming();
        if (practiceRun.phase != RunPhase::Question || window.failedSaves() != 0) {
            state.SkipWithError("the card was not answered correctly and saved");
            break;
        }
        state.ResumeTiming();
    }
}

void SubmitContinue_SQLite(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open(SQLITE_FILE, &db);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE flashcards SET plevel = ?1, pdue = ?2, pminor = 0 WHERE id = ?3", -1, &update,
                       nullptr);
    int card = 0;
    for (auto _ : state) {
        ++card;
        sqlite3_bind_int(update, 1, 1 + card % 6);
        sqlite3_bind_int(update, 2, card % 90);
        sqlite3_bind_int(update, 3, 1 + card % 50000);
        if (sqlite3_step(update) != SQLITE_DONE) {  // one statement, one committed transaction
            state.SkipWithError(sqlite3_errmsg(db));
        }
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);
    sqlite3_close(db);
}

BENCHMARK(StartRun_Practice)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(StartRunAtOnce_Practice)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(StartRunWhole_Practice)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(StartQueue_Practice)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(StartRun_StdSort)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(SubmitContinue_Practice)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(SubmitContinue_SQLite)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
    bench::ScratchDirectory scratch("practice");
    buildDatabases();
    const int result = bench::runWithRatios(
        argc, argv, {{"Run_Practice", "Run_StdSort"},
                         {"RunAtOnce_Practice", "Run_StdSort"},
                         {"RunWhole_Practice", "Run_StdSort"},
                         {"StartQueue_Practice", "StartRun_StdSort"},
                         {"_Practice", "_SQLite"}});
    resetDatabase();
    return result;
}
