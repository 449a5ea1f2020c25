// Importing word lists into the realistic database (ModelDatabaseGenerator.h), measured in one run:
// - 10,000 rows of delimited text (a foreign word and two known words each, every one new):
//   the whole import (read, preview, store, the one save to its commit point: the user waits for
//   no more) against SQLite inserting the same rows (three words, a meaning, three meaning
//   links, a card, two card links per row) in one transaction with its default, fully
//   synchronous journal. The files written in place and the checkpoint afterwards, paid in the
//   window's idle time, are counters of their own. Each repetition imports words of its own into
//   the collection as it grew;
// - the preview alone of a 100,000-row file (it must stay under a second);
// - afterwards, 100,000 rows imported in a fresh process: the time of each step and the peak
//   memory, against a process that only loads the collection before and one that loads it after
//   the import (whose records then are in memory): the import may need no more than the records
//   it makes plus its file.
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "BenchRatios.h"
#include "ModelDatabaseGenerator.h"
#include "ScratchDirectory.h"
#include "SqliteMirror.h"
#include "base/FileTransaction.h"
#include "base/Utf8.h"
#include "base/WindowThreadTasks.h"
#include "exchange/ImportChoices.h"
#include "model/DatabaseSaveInSteps.h"

namespace {

using namespace exchange;

const char* const SQLITE_FILE = "baseline.sqlite";
constexpr unsigned SMALL = 10000;
constexpr unsigned LARGE = 100000;

std::string listFile(const std::string& name, unsigned rows) {
    const std::string path = name + ".txt";
    std::ofstream out(path);
    out << "#separator:tab\n#columns:Front\tBack\n";
    for (unsigned i = 0; i < rows; ++i) {
        out << "Einfuhr" << name << "x" << i << "\timport " << name << " " << i << "; brought in " << name << " " << i
            << "\n";
    }
    return path;
}

// Seconds spent in each step of the last import; the save until its commit point (what the user
// waits for), then, paid in the window's idle time, the files written in place and the
// checkpoint (its sync on a thread of its own).
struct Steps {
    double read = 0, preview = 0, store = 0, save = 0, idleWrites = 0, idleCheckpoint = 0;
};
Steps steps;

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The program's idle time after the save, in slices of 8 ms as the window gives them.
void runIdleTime() {
    auto start = std::chrono::steady_clock::now();
    const auto slice = [] {
        window_thread::runPosted();
        return FileTransaction::writePendingFiles(std::chrono::steady_clock::now() + std::chrono::milliseconds(8));
    };
    while (FileTransaction::pendingFileSteps() > 0) {
        slice();
    }
    steps.idleWrites = seconds(start);
    start = std::chrono::steady_clock::now();
    while (FileTransaction::hasPendingWork()) {
        if (!slice()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));  // the window waits for the sync's message
        }
    }
    steps.idleCheckpoint = seconds(start);
}

// The save as the import screen makes it: the tables walked into the unit in slices of 8 ms,
// then the unit appended to the log and synced on a thread of its own while the window waits.
bool saveAsTheImportScreen() {
    DatabaseSaveInSteps save;
    std::optional<SaveResult> result;
    while (!(result = save.step(std::chrono::steady_clock::now() + std::chrono::milliseconds(8)))) {
        if (save.staged()) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
    return *result != SaveResult::NOTHING_SAVED;
}

// Reads, previews and stores the list; with `save`, saves it as one unit.
bool importList(const std::string& path, bool save, bool previewOnly = false) {
    auto start = std::chrono::steady_clock::now();
    std::wstring problem;
    std::unique_ptr<ImportFile> file = ImportFile::open(path, problem);
    if (file == nullptr) {
        return false;
    }
    ImportChoices choices = defaultChoices(*file);
    choices.foreignLanguage = L"Deutsch";
    choices.knownLanguage = L"English";
    std::unique_ptr<Import> import = prepareImport(*file, choices, problem);
    steps.read = seconds(start);
    start = std::chrono::steady_clock::now();
    if (import == nullptr || !import->previewSome(noDeadline()) || import->preview().counts.added == 0) {
        return false;
    }
    steps.preview = seconds(start);
    if (previewOnly) {
        return true;
    }
    start = std::chrono::steady_clock::now();
    import->storeSome(noDeadline());
    steps.store = seconds(start);
    start = std::chrono::steady_clock::now();
    if (save && !saveAsTheImportScreen()) {
        return false;
    }
    steps.save = seconds(start);
    import->kept();
    return true;
}

unsigned repetition = 0;

void Import10k_Mernolex(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = listFile("m" + std::to_string(repetition++), SMALL);
        state.ResumeTiming();
        if (!importList(path, true)) {
            state.SkipWithError("the import failed");
            break;
        }
        state.PauseTiming();
        runIdleTime();
        state.ResumeTiming();
        state.counters["read_ms"] = steps.read * 1000;
        state.counters["preview_ms"] = steps.preview * 1000;
        state.counters["store_ms"] = steps.store * 1000;
        state.counters["save_ms"] = steps.save * 1000;
        state.counters["idle_write_ms"] = steps.idleWrites * 1000;
        state.counters["idle_checkpoint_ms"] = steps.idleCheckpoint * 1000;
    }
}

void Import10k_SQLite(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open(SQLITE_FILE, &db);
    auto prepare = [&](const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        return statement;
    };
    sqlite3_stmt* word = prepare("INSERT INTO words(language, article, pattern, irregular, text, ipa, mnemonic) "
                                 "VALUES(?1, 0, 0, 0, ?2, '', '')");
    sqlite3_stmt* meaning = prepare("INSERT INTO meanings(niveau) VALUES(1)");
    sqlite3_stmt* mw = prepare("INSERT INTO mw(meaning, word) VALUES(?1, ?2)");
    sqlite3_stmt* card = prepare("INSERT INTO flashcards(language, word, lesson, pdue, pminor, plevel, inverted, "
                                 "idue, iminor, ilevel) VALUES(3, ?1, 0, 0, 0, 0, 1, 0, 0, 0)");
    sqlite3_stmt* fw = prepare("INSERT INTO fw(flashcard, word) VALUES(?1, ?2)");
    auto run = [&](sqlite3_stmt* statement) {
        const bool done = sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_reset(statement);
        return done ? sqlite3_last_insert_rowid(db) : -1;
    };
    auto addWord = [&](int language, const std::u16string& text) {
        sqlite3_bind_int(word, 1, language);
        sqlite3_bind_text16(word, 2, text.data(), static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
        return run(word);
    };
    for (auto _ : state) {
        const std::string name = "s" + std::to_string(repetition++);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (unsigned i = 0; i < SMALL; ++i) {
            const std::string n = name + " " + std::to_string(i);
            const long long foreign = addWord(3, utf16::encode(utf8::decode("Einfuhr" + name + "x" + std::to_string(i))));
            const long long known[2] = {addWord(1, utf16::encode(utf8::decode("import " + n))),
                                        addWord(1, utf16::encode(utf8::decode("brought in " + n)))};
            const long long meaningId = run(meaning);
            for (long long w : {foreign, known[0], known[1]}) {
                sqlite3_bind_int64(mw, 1, meaningId);
                sqlite3_bind_int64(mw, 2, w);
                run(mw);
            }
            sqlite3_bind_int64(card, 1, foreign);
            const long long cardId = run(card);
            for (long long w : known) {
                sqlite3_bind_int64(fw, 1, cardId);
                sqlite3_bind_int64(fw, 2, w);
                run(fw);
            }
        }
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(db));
            break;
        }
    }
    for (sqlite3_stmt* statement : {word, meaning, mw, card, fw}) {
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
}

std::string previewFile;

void Preview100k(benchmark::State& state) {
    for (auto _ : state) {
        if (!importList(previewFile, false, true)) {
            state.SkipWithError("the preview failed");
            break;
        }
    }
}

BENCHMARK(Import10k_Mernolex)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(Import10k_SQLite)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(Preview100k)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// Runs `work` in a fresh process; returns its peak memory in MiB (negative when it failed).
template <typename Work>
double peakOfProcess(Work work) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return ok ? static_cast<double>(usage.ru_maxrss) / 1024.0 : -1.0;
}


void measureLargeImport(const std::string& path) {
    resetDatabase();
    const double fileMiB = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
    const double loaded = peakOfProcess([] { return loadDatabase(D_ENDTAG) == LOAD_DONE; });
    const double stored = peakOfProcess([&] {
        if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
            return false;
        }
        const auto start = std::chrono::steady_clock::now();
        const bool done = importList(path, false);
        std::printf("\n100,000 rows read, previewed and stored in memory in %.2f s\n", seconds(start));
        std::fflush(stdout);
        return done;
    });
    const double importing = peakOfProcess([&] {
        if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
            return false;
        }
        const auto start = std::chrono::steady_clock::now();
        const bool done = importList(path, true);
        const double imported = seconds(start);
        runIdleTime();
        std::printf("\n100,000 rows imported in %.2f s: read %.2f s, preview %.2f s, store %.2f s, the one save "
                    "(to its commit point) %.2f s; then in idle time: the files written in place %.2f s, the "
                    "checkpoint %.2f s\n", imported, steps.read, steps.preview, steps.store, steps.save,
                    steps.idleWrites, steps.idleCheckpoint);
        std::fflush(stdout);
        return done && checkpointDatabase();
    });
    const double after = peakOfProcess([] { return loadDatabase(D_ENDTAG) == LOAD_DONE; });
    std::printf("peak memory: loading the collection %.0f MiB; importing 100,000 rows %.0f MiB before the\n"
                "save, %.0f MiB with it; loading the collection with them %.0f MiB; the file %.1f MiB.\n"
                "Beyond the records made and the file, the import needs %.0f MiB before the save and\n"
                "%.0f MiB with it (at most 0 is the aim).\n",
                loaded, stored, importing, after, fileMiB, stored - after - fileMiB, importing - after - fileMiB);
}

}  // namespace

int main(int argc, char** argv) {
    bench::ScratchDirectory scratch("import");
    bench::DatabaseGenerator().build();
    {
        bench::SqliteWriter writer(SQLITE_FILE);
        writer.mirrorModel();
    }
    previewFile = listFile("preview", LARGE);
    const std::string large = listFile("large", LARGE);
    // As the program: a large save's files are written in idle time (runIdleTime).
    FileTransaction::setIdleWork([] {});
    const int status = bench::runWithRatios(argc, argv, {{"_Mernolex", "_SQLite"}});
    measureLargeImport(large);
    return status;
}
