// The word editor on the realistic database (ModelDatabaseGenerator.h: 100,000 words in three
// languages), each subject against a plain substring scan of the same 100,000 word texts measured
// in the same run (what any search over the words costs at the least):
//   - WordEditorOpen: the editor opened from the settings screen, up to its search list filled
//     with every word (building the screen, then INIT). Destroying the editor opened before is
//     left out: that happens when the user leaves it.
//   - WordEditorType: one character typed into the search of that list, up to its refiltered
//     first page; the character is taken back outside the measurement.
// The goal for both is one frame at 60 Hz (16.7 ms).

#include <string>
#include <vector>

#include "BenchRatios.h"
#include "ScreenBenchSetting.h"
#include "gui/GuiSearchItemfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "platform/KeyCodes.h"
#include "screens/stateWord.h"
#include "states/ListState.h"

namespace {

bench::ScreenBenchSetting& setting() {
    static bench::ScreenBenchSetting once("words");
    return once;
}

constexpr wchar_t TYPED = L'k';

void openWordEditor() {
    nextState = createWordState();
    updateStateStatus();
    updateStateStatus();
}

GuiSearchItemfield& wordList() { return *getElementByTag<GuiSearchItemfield>(TAG_ITEMLIST, curState); }

void WordEditorOpen(benchmark::State& state) {
    setting();
    for (auto _ : state) {
        // The editor opened before goes when the user leaves it, not when he opens the next one.
        state.PauseTiming();
        stateMachineReset();
        state.ResumeTiming();
        openWordEditor();
    }
    state.counters["words"] = static_cast<double>(wordList().getNumberOfEntries());
}

void WordEditorType(benchmark::State& state) {
    setting();
    stateMachineReset();
    openWordEditor();
    GuiSearchItemfield& list = wordList();
    for (auto _ : state) {
        list.unicode(TYPED);
        state.PauseTiming();
        list.unicode(platform::character::Backspace);
        state.ResumeTiming();
    }
    list.unicode(TYPED);
    state.counters["matches"] = static_cast<double>(list.fullList().matchCount());
}

// The baseline: which of the word texts contain the character, by a plain scan.
void SubstringScan(benchmark::State& state) {
    setting();
    std::vector<std::wstring> texts;
    for (auto it = Word::begin(); it != Word::end(); ++it) {
        texts.emplace_back(it->get_text());
    }
    const std::wstring typed(1, TYPED);
    for (auto _ : state) {
        std::vector<std::size_t> matches;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i].find(typed) != std::wstring::npos) {
                matches.push_back(i);
            }
        }
        benchmark::DoNotOptimize(matches.data());
    }
}

void SubstringScanOpen(benchmark::State& state) { SubstringScan(state); }
void SubstringScanType(benchmark::State& state) { SubstringScan(state); }

BENCHMARK(WordEditorOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(SubstringScanOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(WordEditorType)->Unit(benchmark::kMillisecond);
BENCHMARK(SubstringScanType)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::runWithRatios(argc, argv, {{"WordEditor", "SubstringScan"}}); }
