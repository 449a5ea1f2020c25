// A scripted walk over every screen on the realistic database (ModelDatabaseGenerator.h: 100,000
// words, 60,000 meanings, 50,000 cards, every direction of every card due, as after a long
// break: about 75,000), driven as a learner drives the program: the real start-up on a headless
// 1000 x 500 window, its window procedure, buttons pressed by their captions.
//
// Each step is timed from its first input message to the end of the paint that answers it (the
// frame the learner waits for): Step/<name>. What the program finishes in slices after that
// frame (the rest of a long list's texts, the rest of a practice queue) is run before the next
// step, as the window's idle time runs it between two inputs, and is not part of the step; the
// longest single slice after the step is reported as the counter "slice cpu ms" (a slice delays
// an input that comes while it runs). "cpu ms" is the step's median processor time, which other
// work on a shared machine does not inflate. The goal for every step that does not save is one frame at 60 Hz, 16.7 ms.
//
// Baseline, measured in the same run: Repaint/<name>, a full repaint of the screen the step
// leads to (the frame alone, with nothing to compute).

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchRatios.h"
#include "ModelDatabaseGenerator.h"
#include "ScratchDirectory.h"
#include "gui/IdleWork.h"
#include "gui/StateMachine.h"
#include "platform/headless/HeadlessPlatform.h"
#include "program/StartUp.h"
#include "shell/framework.h"
#include "states/WelcomeState.h"
#include "states/WindowProcedure.h"

namespace {

using Clock = std::chrono::steady_clock;

// The processor time of this thread: on a machine shared with other work the wall clock also
// counts the time others ran.
std::chrono::duration<double> threadTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::duration<double>(static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9);
}

// Where the search box of an editor's list lies (states/ListState.h: the list at (143, 119),
// 408 wide, its search box the first 50 units).
constexpr int SEARCH_BOX_X = 347;
constexpr int SEARCH_BOX_Y = 144;

struct Action {
    enum Kind { Caption, Point, Type } kind;
    std::wstring text;  // the caption, or the characters typed
    int x = 0;
    int y = 0;
};

Action press(const wchar_t* caption) { return {Action::Caption, caption}; }
Action point(int x, int y) { return {Action::Point, L"", x, y}; }
Action typed(const wchar_t* text) { return {Action::Type, text}; }

struct Step {
    const char* name;
    std::vector<Action> before;  // from the welcome screen to where the step starts
    Action action;
};

const wchar_t* const SETTINGS = L"\u270E";
const wchar_t* const BACK = L"\u22D8";

const std::vector<Step>& walk() {
    static const std::vector<Step> steps = {
        {"settings_open", {}, press(SETTINGS)},
        {"categories_open", {press(SETTINGS)}, press(L"Categories")},
        {"categories_new", {press(SETTINGS), press(L"Categories")}, press(L"New Category")},
        {"categories_edit", {press(SETTINGS), press(L"Categories")}, press(L"Edit Category")},
        {"categories_back", {press(SETTINGS), press(L"Categories")}, press(BACK)},
        {"flashcards_open", {press(SETTINGS)}, press(L"Flashcards")},
        {"flashcards_search_click", {press(SETTINGS), press(L"Flashcards")}, point(SEARCH_BOX_X, SEARCH_BOX_Y)},
        {"flashcards_type", {press(SETTINGS), press(L"Flashcards"), point(SEARCH_BOX_X, SEARCH_BOX_Y)}, typed(L"k")},
        {"flashcards_next_page", {press(SETTINGS), press(L"Flashcards")}, press(L">")},
        {"flashcards_language", {press(SETTINGS), press(L"Flashcards"), press(L"All languages")}, press(L"Deutsch")},
        {"flashcards_new", {press(SETTINGS), press(L"Flashcards")}, press(L"New Flashcard")},
        {"flashcards_edit", {press(SETTINGS), press(L"Flashcards")}, press(L"Edit Flashcard")},
        {"flashcards_edit_lessons", {press(SETTINGS), press(L"Flashcards"), press(L"Edit Flashcard")},
         press(L"Lessons")},
        {"flashcards_edit_close", {press(SETTINGS), press(L"Flashcards"), press(L"Edit Flashcard")}, press(L"Close")},
        {"flashcards_back", {press(SETTINGS), press(L"Flashcards")}, press(BACK)},
        {"languages_open", {press(SETTINGS)}, press(L"Languages")},
        {"lessons_open", {press(SETTINGS)}, press(L"Lessons")},
        {"lessons_new", {press(SETTINGS), press(L"Lessons")}, press(L"New Lesson")},
        {"lessons_edit", {press(SETTINGS), press(L"Lessons")}, press(L"Edit Lesson")},
        {"levels_open", {press(SETTINGS)}, press(L"Levels")},
        {"levels_edit", {press(SETTINGS), press(L"Levels")}, press(L"Edit Level")},
        {"meanings_open", {press(SETTINGS)}, press(L"Meanings")},
        {"meanings_search_click", {press(SETTINGS), press(L"Meanings")}, point(SEARCH_BOX_X, SEARCH_BOX_Y)},
        {"meanings_type", {press(SETTINGS), press(L"Meanings"), point(SEARCH_BOX_X, SEARCH_BOX_Y)}, typed(L"k")},
        {"meanings_next_page", {press(SETTINGS), press(L"Meanings")}, press(L">")},
        {"meanings_edit", {press(SETTINGS), press(L"Meanings")}, press(L"Edit Meaning")},
        {"meanings_categories", {press(SETTINGS), press(L"Meanings"), press(L"Edit Meaning")}, press(L"Categories")},
        {"meanings_back", {press(SETTINGS), press(L"Meanings")}, press(BACK)},
        {"verbpatterns_open", {press(SETTINGS)}, press(L"Verb Patterns")},
        {"verbpatterns_edit", {press(SETTINGS), press(L"Verb Patterns")}, press(L"Edit Pattern")},
        {"words_open", {press(SETTINGS)}, press(L"Words")},
        {"words_search_click", {press(SETTINGS), press(L"Words")}, point(SEARCH_BOX_X, SEARCH_BOX_Y)},
        {"words_type", {press(SETTINGS), press(L"Words"), point(SEARCH_BOX_X, SEARCH_BOX_Y)}, typed(L"k")},
        {"words_next_page", {press(SETTINGS), press(L"Words")}, press(L">")},
        {"words_new", {press(SETTINGS), press(L"Words")}, press(L"New Word")},
        {"words_edit", {press(SETTINGS), press(L"Words")}, press(L"Edit Word")},
        {"words_meanings", {press(SETTINGS), press(L"Words"), press(L"Edit Word")}, press(L"Meanings")},
        {"words_back", {press(SETTINGS), press(L"Words")}, press(BACK)},
        {"practice_open", {}, press(L"Practice")},
        {"practice_restrictions", {press(L"Practice")}, press(L"More restrictions")},
        {"practice_restrictions_next", {press(L"Practice"), press(L"More restrictions")}, press(L"Next")},
        {"practice_start", {press(L"Practice")}, press(L"Start")},
        {"practice_hint", {press(L"Practice"), press(L"Start")}, press(L"Hint")},
        {"practice_exit", {press(L"Practice"), press(L"Start")}, press(L"Exit")},
        {"feed_open", {}, press(L"Feed")},
        {"feed_classic", {press(L"Feed")}, press(L"Classic Flashcards")},
    };
    return steps;
}

// The realistic database with every direction due, stored in the working directory.
void buildDatabase() {
    bench::DatabaseGenerator generator;
    generator.buildAllDue();
    resetDatabase();
}

// The program as it runs after its start-up, on a headless window.
class Program {
public:
    Program() : procedure(window) {
        window.setSink(&procedure);
        platform::setCurrent(&window);
        framewUpdate(&window);
        if (startUp(nullptr) != LOAD_DONE) {
            throw std::runtime_error("the database did not load cleanly");
        }
        settle();
    }
    ~Program() {
        shutDown();
        framewReset();
        platform::setCurrent(nullptr);
    }

    // Back to a freshly painted welcome screen.
    void home() {
        stateMachineReset();
        switchToState(createWelcomeState());
        updateStateStatus();
        settle();
    }

    // Performs the action up to the end of the paint that answers it; returns false when its
    // caption is not on the screen.
    bool act(const Action& action) {
        int x = action.x;
        int y = action.y;
        if (action.kind == Action::Caption && !locate(action.text, x, y)) {
            return false;
        }
        const Clock::time_point begin = Clock::now();
        const auto beginCpu = threadTime();
        if (action.kind == Action::Type) {
            for (wchar_t c : action.text) {
                window.send(platform::Message::keyDown(static_cast<char32_t>(c), 0));
            }
        } else {
            window.send(platform::Message::mouse(platform::MessageCode::LButtonDown, x, y));
            window.send(platform::Message::mouse(platform::MessageCode::LButtonUp, x, y));
        }
        paintAll();
        lastTook = Clock::now() - begin;
        lastCpu = threadTime() - beginCpu;
        return true;
    }

    // Runs what the program left for its idle time, slice by slice, as the window's idle time
    // would; remembers the longest slice.
    void idle() {
        while (idleWork::pending()) {
            const auto begin = threadTime();
            window.deliverIdle();
            longestSlice = std::max(longestSlice, threadTime() - begin);
        }
    }

    // A full repaint of the screen shown; returns its duration.
    std::chrono::duration<double> repaint() {
        const Clock::time_point begin = Clock::now();
        framewRepaint();
        paintAll();
        return Clock::now() - begin;
    }

    std::chrono::duration<double> lastTook{};
    std::chrono::duration<double> lastCpu{};
    std::chrono::duration<double> longestSlice{};

private:
    void paintAll() {
        for (int paints = 0; paints < 4 && window.deliverPaint(); ++paints) {
        }
        window.clearPaints();
    }
    void settle() {
        paintAll();
        idle();
    }
    // The centre of the first text painted exactly as `caption`, on a full repaint.
    bool locate(const std::wstring& caption, int& x, int& y) {
        window.clearPaints();
        framewRepaint();
        window.deliverPaint();
        const platform::DrawnText* drawn = window.lastPaint() ? window.lastPaint()->findText(caption) : nullptr;
        if (drawn == nullptr) {
            window.clearPaints();
            return false;
        }
        x = (drawn->box.left + drawn->box.right) / 2;
        y = (drawn->box.top + drawn->box.bottom) / 2;
        window.clearPaints();
        return true;
    }

    platform::HeadlessPlatform window{{1000, 500}};
    WindowProcedure procedure;
};

Program& program() {
    static Program once;
    return once;
}

bool reach(const Step& step) {
    program().home();
    for (const Action& action : step.before) {
        if (!program().act(action)) {
            return false;
        }
        program().idle();
    }
    return true;
}

void StepBench(benchmark::State& state, const Step& step) {
    std::vector<double> cpu;
    for (auto _ : state) {
        if (!reach(step)) {
            state.SkipWithError("a caption of the walk is not on the screen");
            break;
        }
        program().longestSlice = {};
        if (!program().act(step.action)) {
            state.SkipWithError("a caption of the walk is not on the screen");
            break;
        }
        state.SetIterationTime(program().lastTook.count());
        cpu.push_back(program().lastCpu.count() * 1000);
        program().idle();
    }
    if (!cpu.empty()) {
        std::sort(cpu.begin(), cpu.end());
        state.counters["cpu ms"] = cpu[cpu.size() / 2];
        state.counters["slice cpu ms"] = program().longestSlice.count() * 1000;
    }
}

void RepaintBench(benchmark::State& state, const Step& step) {
    for (auto _ : state) {
        if (!reach(step) || !program().act(step.action)) {
            state.SkipWithError("a caption of the walk is not on the screen");
            break;
        }
        program().idle();
        state.SetIterationTime(program().repaint().count());
    }
}

void registerWalk() {
    for (const Step& step : walk()) {
        benchmark::RegisterBenchmark((std::string("Step/") + step.name).c_str(), StepBench, step)
            ->UseManualTime()
            ->Iterations(7)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("Repaint/") + step.name).c_str(), RepaintBench, step)
            ->UseManualTime()
            ->Iterations(7)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace

// MERNOLEX_WALK_DIR=<directory> keeps the database there between runs (built when the directory
// holds none), for profiling one step again and again.
int main(int argc, char** argv) {
    std::optional<bench::ScratchDirectory> scratch;
    if (const char* kept = std::getenv("MERNOLEX_WALK_DIR")) {
        std::filesystem::create_directories(kept);
        std::filesystem::current_path(kept);
        if (!std::filesystem::exists("Data")) {
            buildDatabase();
        }
    } else {
        scratch.emplace("walk");
        buildDatabase();
    }
    registerWalk();
    const int result = bench::runWithRatios(argc, argv, {{"Step/", "Repaint/"}});
    return result;
}
