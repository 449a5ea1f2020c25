// "Save and next" of the flashcard editor on the realistic database (ModelDatabaseGenerator.h:
// 100,000 words, 60,000 meanings, 50,000 cards), durable, each subject against the same inserts
// committed in one SQLite transaction (default journal, fully synchronous) on the same data,
// measured in the same run:
//   - SaveAndNext_OrnQL: a new card for a new foreign word with two known words on the list (a
//     stored one with its meanings in use, and one the editor created when it was added), from
//     Save to the page ready for the next card: the notes of the new records, the five tables,
//     the notes taken away. Baseline SaveAndNext_SQLite: the foreign word, the card, its two
//     links to the known words and its links to the meanings, in one transaction.
//   - SaveAndNextCheckpointed_OrnQL: the same, followed by the checkpoint that makes the files
//     written in place durable and removes the transaction log (base/FileTransaction.h): the
//     worst case, a checkpoint after every card, where the program makes one when the log has
//     grown past its limit and one at its end. Baseline: the same SQLite transaction.
//   - WholeCard_OrnQL: the same card from adding its two known words on (the new one is stored
//     at once, so that meanings can be linked to it) to the page ready for the next card.
//     Baseline WholeCard_SQLite: the inserts above and the new known word, in one transaction.

#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BenchRatios.h"
#include "ModelDatabaseGenerator.h"
#include "SqliteMirror.h"
#include "base/FileTransaction.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/ProvisionalRecords.h"
#include "platform/headless/HeadlessPlatform.h"
#include "screens/stateFlashcard.h"
#include "screens/stateFlashcardScreen.h"
#include "shell/framework.h"
#include "resources/frameworkFileManager.h"

namespace {

const char* const SQLITE_FILE = "baseline.sqlite";

// The database in both forms, built once in a scratch directory, and a headless window.
struct Setting {
    Setting() {
        char pattern[] = "/tmp/mernolex-bench-flashcard-XXXXXX";
        directory = mkdtemp(pattern);
        std::filesystem::current_path(directory);
        platform::setCurrent(&window);
        framewUpdate(&window);
        framewInit(1000, 500);
        getKL(preApplicationKeyboard);
        bench::DatabaseGenerator().build();
        bench::SqliteWriter(SQLITE_FILE).mirrorModel();
        // The known language is the one typed in the layout active at start (English); the
        // stored known word is one of its words with meanings.
        for (auto it = Language::begin(); it != Language::end(); ++it) {
            if (std::string(it->get_keyboardLocalID()) == preApplicationKeyboard) {
                knownLanguage = it->getId();
            }
        }
        for (auto it = M_W::begin(); it != M_W::end(); ++it) {
            Word* word = Word::getById(it->getDependency(D_WORD));
            if (word->getDependency(D_LANGUAGE) == knownLanguage) {
                storedKnown = word->get_text();
                meaningsOfKnown = static_cast<unsigned>(word->fTR(D_MEANING).size());
                break;
            }
        }
        // What building wrote is on the disk before anything is timed: otherwise the first
        // durable commit of either side pays for writing all of it.
        ::sync();
    }
    ~Setting() {
        stateMachineReset();
        resetDatabase();
        resetProvisionalRecords();
        platform::setCurrent(nullptr);
        std::filesystem::current_path("/");
        std::filesystem::remove_all(directory);
    }
    std::string directory;
    platform::HeadlessPlatform window{{1000, 500}};
    unsigned knownLanguage = 0;
    std::wstring storedKnown;
    unsigned meaningsOfKnown = 0;
};

Setting& setting() {
    static Setting once;
    return once;
}

// The editor for a new card, current, with its first update delivered.
void openEditor() {
    stateMachineReset();
    editFlashcard = nullptr;
    nextState = createFlashcardState();
    updateStateStatus();
    updateStateStatus();
}

void typeInto(const char* tag, const std::wstring& text) {
    getElementByTag<GuiTextfield>(tag, curState)->setText(text.c_str());
}

void addKnown(const std::wstring& text) {
    typeInto(TAG_FLASHCARD_KNOWN, text);
    flashcard_editor::addWordToListButton();
    updateStateStatus();
}

void saveAndNext(benchmark::State& state) {
    curState->updateFunc("SAVE_PRESSED");
    updateStateStatus();
    if (curState->condition != FLASHCARD_FIRST_PAGE) {
        state.SkipWithError("the card was not stored");
    }
}

// The foreign word of card number `card` and its two known words: the stored one and a new one.
void fillCard(const Setting& s, const std::wstring& foreign, const std::wstring& newKnown, unsigned card) {
    typeInto(TAG_FLASHCARD_WORD, foreign + std::to_wstring(card));
    addKnown(s.storedKnown);
    addKnown(newKnown + std::to_wstring(card));
}

void SaveAndNext_OrnQL(benchmark::State& state) {
    Setting& s = setting();
    openEditor();
    unsigned card = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fillCard(s, L"Wort ", L"known word ", ++card);
        state.ResumeTiming();
        saveAndNext(state);
    }
    state.counters["meanings"] = s.meaningsOfKnown;
}

void SaveAndNextCheckpointed_OrnQL(benchmark::State& state) {
    Setting& s = setting();
    openEditor();
    unsigned card = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fillCard(s, L"Punkt ", L"checkpointed word ", ++card);
        if (!FileTransaction::checkpoint()) {  // what adding the known words wrote is not timed
            state.SkipWithError("the checkpoint failed");
        }
        state.ResumeTiming();
        saveAndNext(state);
        if (!FileTransaction::checkpoint()) {
            state.SkipWithError("the checkpoint failed");
        }
    }
}

void WholeCard_OrnQL(benchmark::State& state) {
    Setting& s = setting();
    openEditor();
    unsigned card = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++card;
        typeInto(TAG_FLASHCARD_WORD, L"Ganz " + std::to_wstring(card));
        state.ResumeTiming();
        addKnown(s.storedKnown);
        addKnown(L"whole word " + std::to_wstring(card));
        saveAndNext(state);
    }
}

// --- the baseline -----------------------------------------------------------------------------

class SqliteCard {
public:
    SqliteCard() {
        sqlite3_open(SQLITE_FILE, &db);
        prepare(insertWord, "INSERT INTO words(language, article, pattern, irregular, text, ipa, mnemonic)"
                            " VALUES(?1, 0, 0, 0, ?2, '', '')");
        prepare(insertCard, "INSERT INTO flashcards(language, word, lesson, pdue, pminor, plevel, inverted, idue,"
                            " iminor, ilevel) VALUES(?1, ?2, 0, 0, 0, 0, 1, 0, 0, 0)");
        prepare(insertKnown, "INSERT INTO fw(flashcard, word) VALUES(?1, ?2)");
        prepare(insertMeaning, "INSERT INTO mw(meaning, word) VALUES(?1, ?2)");
    }
    ~SqliteCard() {
        for (sqlite3_stmt* statement : {insertWord, insertCard, insertKnown, insertMeaning}) {
            sqlite3_finalize(statement);
        }
        sqlite3_close(db);
    }

    // One card in one committed transaction; with `newKnown` its new known word too.
    bool store(const std::wstring& foreign, const std::wstring* newKnown, unsigned meanings) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        const long long known = newKnown != nullptr ? word(*newKnown) : 1;
        const long long foreignId = word(foreign);
        bind(insertCard, {1, foreignId});
        const long long cardId = run(insertCard);
        bind(insertKnown, {cardId, 1});
        run(insertKnown);
        bind(insertKnown, {cardId, known});
        run(insertKnown);
        for (unsigned m = 1; m <= meanings; ++m) {
            bind(insertMeaning, {m, foreignId});
            run(insertMeaning);
        }
        return sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    }

private:
    void prepare(sqlite3_stmt*& statement, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &statement, nullptr); }
    static void bind(sqlite3_stmt* statement, std::initializer_list<long long> values) {
        int at = 0;
        for (long long value : values) {
            sqlite3_bind_int64(statement, ++at, value);
        }
    }
    long long run(sqlite3_stmt* statement) {
        sqlite3_step(statement);
        sqlite3_reset(statement);
        return sqlite3_last_insert_rowid(db);
    }
    long long word(const std::wstring& text) {
        const std::u16string units = utf16::encode(text.c_str());
        sqlite3_bind_int64(insertWord, 1, 1);
        sqlite3_bind_text16(insertWord, 2, units.data(), static_cast<int>(units.size() * 2), SQLITE_TRANSIENT);
        return run(insertWord);
    }

    sqlite3* db = nullptr;
    sqlite3_stmt* insertWord = nullptr;
    sqlite3_stmt* insertCard = nullptr;
    sqlite3_stmt* insertKnown = nullptr;
    sqlite3_stmt* insertMeaning = nullptr;
};

void SaveAndNext_SQLite(benchmark::State& state) {
    Setting& s = setting();
    SqliteCard sqlite;
    unsigned card = 0;
    for (auto _ : state) {
        if (!sqlite.store(L"Wort " + std::to_wstring(++card), nullptr, s.meaningsOfKnown)) {
            state.SkipWithError("the transaction failed");
        }
    }
}

void SaveAndNextCheckpointed_SQLite(benchmark::State& state) {
    Setting& s = setting();
    SqliteCard sqlite;
    unsigned card = 0;
    for (auto _ : state) {
        if (!sqlite.store(L"Punkt " + std::to_wstring(++card), nullptr, s.meaningsOfKnown)) {
            state.SkipWithError("the transaction failed");
        }
    }
}

void WholeCard_SQLite(benchmark::State& state) {
    Setting& s = setting();
    SqliteCard sqlite;
    unsigned card = 0;
    for (auto _ : state) {
        const std::wstring known = L"whole word " + std::to_wstring(++card);
        if (!sqlite.store(L"Ganz " + std::to_wstring(card), &known, s.meaningsOfKnown)) {
            state.SkipWithError("the transaction failed");
        }
    }
}

BENCHMARK(SaveAndNext_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(SaveAndNext_SQLite)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(SaveAndNextCheckpointed_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(SaveAndNextCheckpointed_SQLite)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(WholeCard_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(WholeCard_SQLite)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

int main(int argc, char** argv) { return bench::runWithRatios(argc, argv, {{"_OrnQL", "_SQLite"}}); }
