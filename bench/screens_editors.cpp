// The meaning editor on the realistic database (ModelDatabaseGenerator.h: 100,000 words, 60,000
// meanings linked to two or three words each, 20 categories linked to about a third of them),
// each subject against a baseline measured in the same run:
//   - OpenAlone: the editor opened from the settings screen, up to its list of every meaning
//     (building the screen, then INIT: each meaning's description into the search list).
//     Baseline OpenPrepared: the same descriptions, computed beforehand, added to a search list.
//   - ListWord: refilling the list of one word's meanings (INIT of the editor opened for the
//     word, which reads the word's own relation tree). Baseline ListByLinks: the same list filled
//     from the word's links, selected from the whole link table.
//   - EditRelations: Edit on a meaning, up to its categories sorted into Use and Don't use from
//     the meaning's own relation tree (what the editor does). Baseline EditTally: the same lists
//     filled by asking the link table once per category whether it joins that category to the
//     meaning.

#include <string>
#include <vector>

#include "BenchRatios.h"
#include "ScreenBenchSetting.h"
#include "gui/GuiSearchItemfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "screens/stateMeaning.h"
#include "states/ListState.h"

namespace {

bench::ScreenBenchSetting& setting() {
    static bench::ScreenBenchSetting once("editors");
    return once;
}

// Opens the meaning editor (for `word`, or alone) as the current screen and delivers its INIT.
void openMeaningEditor(Word* word) {
    stateMachineReset();
    editWordMeaningState = word;
    nextState = createMeaningState();
    updateStateStatus();
    updateStateStatus();
}

GuiItemfield& listOnScreen(const char* tag) { return *getElementByTag<GuiItemfield>(tag, curState); }

void OpenAlone(benchmark::State& state) {
    setting();
    for (auto _ : state) {
        openMeaningEditor(nullptr);
    }
    state.counters["meanings"] = static_cast<double>(
        static_cast<GuiSearchItemfield&>(listOnScreen(TAG_ITEMLIST)).getNumberOfEntries());
}

void OpenPrepared(benchmark::State& state) {
    setting();
    std::vector<std::wstring> descriptions;
    for (auto it = Meaning::begin(); it != Meaning::end(); ++it) {
        descriptions.emplace_back(it->get_description());
    }
    for (auto _ : state) {
        stateMachineReset();
        State* screen = createEmptyState(L"Meanings");
        auto* list = addElementToState(screen, new GuiSearchItemfield(143, 119, 408, 343));
        unsigned id = 0;
        for (const std::wstring& description : descriptions) {
            list->addItem(description.c_str());
            list->setLastId(++id);
        }
        nextState = screen;
        updateStateStatus();
    }
}

// The word of the first link: a word with meanings.
Word* wordWithMeanings() { return Word::getById(M_W::begin()->getDependency(D_WORD)); }

void ListWord(benchmark::State& state) {
    setting();
    openMeaningEditor(wordWithMeanings());
    for (auto _ : state) {
        curState->updateFunc(UPDATE_INIT);
    }
    state.counters["meanings"] = listOnScreen(TAG_ITEMLIST).getNumberOfCurrentElements();
}

void ListByLinks(benchmark::State& state) {
    setting();
    Word* word = wordWithMeanings();
    openMeaningEditor(word);
    GuiItemfield& list = listOnScreen(TAG_ITEMLIST);
    for (auto _ : state) {
        list.clearField();
        for (auto link = M_W::constrain(true, 1, D_WORD, word->getId()); link != M_W::endSel(); ++link) {
            Meaning* meaning = Meaning::getById(link->getDependency(D_MEANING));
            list.addItem(meaning->get_description());
            list.setLastId(meaning->getId());
        }
    }
}

// Opens the editor alone with a meaning that has categories as its highlighted entry.
void highlightMeaningWithCategories() {
    openMeaningEditor(nullptr);
    auto& list = static_cast<GuiSearchItemfield&>(listOnScreen(TAG_ITEMLIST));
    for (int position = 0; position < list.getNumberOfCurrentElements(); ++position) {
        if (Meaning::getById(list.getEntryId(position))->hasFirstTierRelations(D_CATEGORY)) {
            list.setActivePosition(position);
            return;
        }
    }
}

void EditRelations(benchmark::State& state) {
    setting();
    highlightMeaningWithCategories();
    for (auto _ : state) {
        curState->updateFunc(UPDATE_EDIT_PRESSED);
    }
    nextCondition = 0;
    state.counters["in use"] = listOnScreen("CATEGORY_USE").getNumberOfCurrentElements();
}

void EditTally(benchmark::State& state) {
    setting();
    highlightMeaningWithCategories();
    const unsigned meaning = listOnScreen(TAG_ITEMLIST).getActiveId();
    GuiItemfield& use = listOnScreen("CATEGORY_USE");
    GuiItemfield& dontUse = listOnScreen("CATEGORY_DONT_USE");
    for (auto _ : state) {
        use.clearField();
        dontUse.clearField();
        for (auto it = Category::begin(); it != Category::end(); ++it) {
            const bool linked = C_M::getAsTally(2, D_CATEGORY, it->getId(), D_MEANING, meaning) != 0;
            GuiItemfield& target = linked ? use : dontUse;
            target.addItem(it->get_description());
            target.setLastId(it->getId());
        }
    }
    state.counters["in use"] = use.getNumberOfCurrentElements();
}

BENCHMARK(OpenAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenPrepared)->Unit(benchmark::kMillisecond);
BENCHMARK(ListWord)->Unit(benchmark::kMillisecond);
BENCHMARK(ListByLinks)->Unit(benchmark::kMillisecond);
BENCHMARK(EditRelations)->Unit(benchmark::kMicrosecond);
BENCHMARK(EditTally)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithRatios(argc, argv,
                                {{"OpenAlone", "OpenPrepared"}, {"ListWord", "ListByLinks"},
                                 {"EditRelations", "EditTally"}});
}
