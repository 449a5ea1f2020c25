// The program's whole database at a realistic size (ModelDatabaseGenerator.h), against the same
// rows in SQLite, measured in the same run:
// - start-up: loadDatabase(D_ENDTAG) against reading every row of the SQLite file into the same
//   record objects (SqliteObjectReader.h) and against a plain read of the rows (values copied);
// - the same start-up with a cold page cache: the files of both forms evicted first
//   (posix_fadvise DONTNEED; they are clean, as every save fsyncs them);
// - a word edit: one word's text changed and saveDatabaseExternal(2, D_WORD, D_IRREGULARVERB)
//   against the same UPDATE committed in SQLite (its default, fully synchronous journal);
// - an edit of two tables saved as one unit (the program's journal) against two UPDATEs in one
//   SQLite transaction;
// - the transaction log at the size where a commit checkpoints it (just under 4 MiB of units):
//   the checkpoint that makes its files durable and removes it, and a start-up that finds it
//   (a crash before the checkpoint) and writes every unit again, against a start-up without one;
// - the same loads with an answer history of 1,000,000 answers (HistoryGenerator.h) against the
//   loads without it (its directory moved aside): what the history adds to every start;
// - afterwards, the peak memory of a fresh process that only loads, for each form (the program's
//   with and without the history).
// Loads are timed as the median of five repetitions (three when cold).
#include <fcntl.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "BenchRatios.h"
#include "HistoryGenerator.h"
#include "base/FileTransaction.h"
#include "model/DataPaths.h"
#include "ModelDatabaseGenerator.h"
#include "ScratchDirectory.h"
#include "SqliteMirror.h"
#include "SqliteObjectReader.h"

namespace {

const char* const SQLITE_FILE = "baseline.sqlite";

// The rows read from SQLite: numbers and UTF-16 texts, as the model holds them in memory.
struct SqliteRow {
    std::vector<long long> numbers;
    std::vector<std::u16string> texts;
};

std::vector<SqliteRow> readAllSqliteRows() {
    std::vector<SqliteRow> rows;
    sqlite3* db = nullptr;
    sqlite3_open_v2(SQLITE_FILE, &db, SQLITE_OPEN_READONLY, nullptr);
    for (const std::string& table : bench::MIRROR_TABLES) {
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, ("SELECT * FROM " + table).c_str(), -1, &select, nullptr);
        const int columns = sqlite3_column_count(select);
        while (sqlite3_step(select) == SQLITE_ROW) {
            SqliteRow row;
            for (int c = 0; c < columns; ++c) {
                if (sqlite3_column_type(select, c) == SQLITE_TEXT) {
                    const auto* units = static_cast<const char16_t*>(sqlite3_column_text16(select, c));
                    row.texts.emplace_back(units, static_cast<std::size_t>(sqlite3_column_bytes16(select, c)) / 2);
                } else {
                    row.numbers.push_back(sqlite3_column_int64(select, c));
                }
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(select);
    }
    sqlite3_close(db);
    return rows;
}

// The answer history lies here while the loads without it run.
const char* const HISTORY_DIR = "Data/History";
const char* const HISTORY_ASIDE = "HistoryAside";

// While one exists, the database has its answer history.
class WithHistory {
public:
    WithHistory() { std::filesystem::rename(HISTORY_ASIDE, HISTORY_DIR); }
    ~WithHistory() { std::filesystem::rename(HISTORY_DIR, HISTORY_ASIDE); }
    WithHistory(const WithHistory&) = delete;
    WithHistory& operator=(const WithHistory&) = delete;
};

// Builds the database in both forms in the working directory, the scratch directory of the run,
// and the answer history, kept aside.
void buildBothDatabases() {
    bench::DatabaseGenerator generator;
    generator.build();
    {
        bench::SqliteWriter writer(SQLITE_FILE);
        writer.mirrorModel();
    }
    bench::HistoryGenerator(utcDayOf(std::time(nullptr))).build();
    resetDatabase();
    std::filesystem::rename(HISTORY_DIR, HISTORY_ASIDE);
}

void LoadDatabase_OrnQL(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        resetDatabase();
        state.ResumeTiming();
        if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
            state.SkipWithError("the database did not load cleanly");
        }
    }
    state.counters["words"] = static_cast<double>(Word::elementTree().size());
    resetDatabase();
}

// Drops the cached pages of the file, or of every file below a directory.
void evictFromPageCache(const std::filesystem::path& path) {
    auto evict = [](const std::filesystem::path& file) {
        const int fd = open(file.c_str(), O_RDONLY);
        if (fd >= 0) {
            posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            close(fd);
        }
    };
    if (!std::filesystem::is_directory(path)) {
        evict(path);
        return;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
        if (entry.is_regular_file()) {
            evict(entry.path());
        }
    }
}

void LoadDatabaseWithHistory_OrnQL(benchmark::State& state) {
    WithHistory history;
    LoadDatabase_OrnQL(state);
}

void LoadDatabaseCold_OrnQL(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        resetDatabase();
        evictFromPageCache("Data");
        state.ResumeTiming();
        if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
            state.SkipWithError("the database did not load cleanly");
            break;  // the library refuses another pause after an error
        }
    }
    resetDatabase();
}

void LoadDatabaseColdWithHistory_OrnQL(benchmark::State& state) {
    WithHistory history;
    LoadDatabaseCold_OrnQL(state);
}

std::size_t readSqliteObjects(bench::SqliteObjectReader::Records& records) {
    bench::SqliteObjectReader reader(SQLITE_FILE);
    return reader.readAll(records);
}

void LoadDatabase_SQLiteObjects(benchmark::State& state) {
    bench::SqliteObjectReader::Records records;
    for (auto _ : state) {
        state.PauseTiming();
        records.clear();  // destroyed outside the timing, as the load's reset is
        state.ResumeTiming();
        readSqliteObjects(records);
    }
    state.counters["objects"] = static_cast<double>(records.size());
}

void LoadDatabaseCold_SQLiteObjects(benchmark::State& state) {
    bench::SqliteObjectReader::Records records;
    for (auto _ : state) {
        state.PauseTiming();
        records.clear();
        evictFromPageCache(SQLITE_FILE);
        state.ResumeTiming();
        readSqliteObjects(records);
    }
}

void LoadDatabase_SQLite(benchmark::State& state) {
    std::vector<SqliteRow> rows;
    for (auto _ : state) {
        state.PauseTiming();
        rows.clear();
        rows.shrink_to_fit();
        state.ResumeTiming();
        rows = readAllSqliteRows();
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}

constexpr unsigned EDITED_WORD = 54321;

// Loads the database, then times editAndSave(n) for n = 1, 2, ...; it returns the save's status.
template <typename EditAndSave>
void timeEdits(benchmark::State& state, EditAndSave editAndSave) {
    resetDatabase();
    loadDatabase(D_ENDTAG);
    unsigned edit = 0;
    for (auto _ : state) {
        if (editAndSave(++edit) != 0) {
            state.SkipWithError("the save failed");
        }
    }
    resetDatabase();
}

void EditWord_OrnQL(benchmark::State& state) {
    timeEdits(state, [](unsigned edit) {
        Word::getById(EDITED_WORD)->set_text((L"edited " + std::to_wstring(edit)).c_str(), true);
        return saveDatabaseExternal(2, D_WORD, D_IRREGULARVERB);
    });
}

void EditWord_SQLite(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open(SQLITE_FILE, &db);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE words SET text = ?1 WHERE id = ?2", -1, &update, nullptr);
    unsigned edit = 0;
    for (auto _ : state) {
        const std::u16string text = utf16::encode(L"edited " + std::to_wstring(++edit));
        sqlite3_bind_text16(update, 1, text.data(), static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_int(update, 2, static_cast<int>(EDITED_WORD));
        if (sqlite3_step(update) != SQLITE_DONE) {  // one statement, one committed transaction
            state.SkipWithError(sqlite3_errmsg(db));
        }
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);
    sqlite3_close(db);
}

// Two tables in one save: the word's text and a meaning's niveau. The program's save needs its
// journal here (two files renamed as one unit); SQLite commits both UPDATEs in one transaction.
constexpr unsigned EDITED_MEANING = 4321;

void EditTwoTables_OrnQL(benchmark::State& state) {
    timeEdits(state, [](unsigned edit) {
        Word::getById(EDITED_WORD)->set_text((L"edited " + std::to_wstring(edit)).c_str(), true);
        Meaning::getById(EDITED_MEANING)->set_niveau(static_cast<int>(1 + edit % 10));
        return saveDatabaseExternal(2, D_WORD, D_MEANING);
    });
}

void EditTwoTables_SQLite(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open(SQLITE_FILE, &db);
    sqlite3_stmt* updateWord = nullptr;
    sqlite3_stmt* updateMeaning = nullptr;
    sqlite3_prepare_v2(db, "UPDATE words SET text = ?1 WHERE id = ?2", -1, &updateWord, nullptr);
    sqlite3_prepare_v2(db, "UPDATE meanings SET niveau = ?1 WHERE id = ?2", -1, &updateMeaning, nullptr);
    unsigned edit = 0;
    for (auto _ : state) {
        const std::u16string text = utf16::encode(L"edited " + std::to_wstring(++edit));
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_bind_text16(updateWord, 1, text.data(), static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_int(updateWord, 2, static_cast<int>(EDITED_WORD));
        sqlite3_bind_int(updateMeaning, 1, static_cast<int>(1 + edit % 10));
        sqlite3_bind_int(updateMeaning, 2, static_cast<int>(EDITED_MEANING));
        if (sqlite3_step(updateWord) != SQLITE_DONE || sqlite3_step(updateMeaning) != SQLITE_DONE ||
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(db));
        }
        sqlite3_reset(updateWord);
        sqlite3_reset(updateMeaning);
    }
    sqlite3_finalize(updateWord);
    sqlite3_finalize(updateMeaning);
    sqlite3_close(db);
}

// The log grown to just below the size at which a commit checkpoints it, by saves that each change
// words of 100 bound files; returns the log's size.
std::uintmax_t growLogToCheckpointSize() {
    constexpr std::uintmax_t CHECKPOINT_BYTES = 4 * 1024 * 1024;
    constexpr unsigned BOUNDS_PER_SAVE = 100;
    static unsigned edit = 0;
    std::uintmax_t size = 0;
    std::uintmax_t unit = 0;
    for (unsigned first = 1; size + 2 * unit < CHECKPOINT_BYTES; first += BOUNDS_PER_SAVE * RECORDS_PER_BOUND) {
        ++edit;
        for (unsigned bound = 0; bound < BOUNDS_PER_SAVE; ++bound) {
            if (Word* word = Word::getById(first + bound * RECORDS_PER_BOUND)) {
                word->set_text((L"grown " + std::to_wstring(edit) + L" " + std::to_wstring(bound)).c_str(), true);
            }
        }
        if (saveDatabaseExternal(1, D_WORD) != 0) {
            return 0;
        }
        const std::uintmax_t now = std::filesystem::file_size(TRANSACTION_JOURNAL);
        unit = now - size;
        size = now;
    }
    return size;
}

void Checkpoint4MiBLog_OrnQL(benchmark::State& state) {
    resetDatabase();
    loadDatabase(D_ENDTAG);
    std::uintmax_t logged = 0;
    for (auto _ : state) {
        state.PauseTiming();
        logged = growLogToCheckpointSize();
        state.ResumeTiming();
        if (logged == 0 || !checkpointDatabase()) {
            state.SkipWithError("the log did not grow or the checkpoint failed");
            break;
        }
    }
    state.counters["log MiB"] = static_cast<double>(logged) / (1024.0 * 1024.0);
    resetDatabase();
}

void LoadDatabaseWithLog4MiB_OrnQL(benchmark::State& state) {
    std::uintmax_t logged = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetDatabase();
        loadDatabase(D_ENDTAG);
        logged = growLogToCheckpointSize();
        FileTransaction::forgetOpenLog();  // the program ends without its checkpoint
        resetDatabase();
        state.ResumeTiming();
        if (logged == 0 || loadDatabase(D_ENDTAG) != LOAD_DONE || std::filesystem::exists(TRANSACTION_JOURNAL)) {
            state.SkipWithError("the log was not replayed");
            break;
        }
    }
    state.counters["log MiB"] = static_cast<double>(logged) / (1024.0 * 1024.0);
    resetDatabase();
}

BENCHMARK(LoadDatabase_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(LoadDatabase_SQLiteObjects)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(LoadDatabase_SQLite)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(LoadDatabaseCold_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(LoadDatabaseWithHistory_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(LoadDatabaseColdWithHistory_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(LoadDatabaseCold_SQLiteObjects)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(EditWord_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(EditWord_SQLite)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(EditTwoTables_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(EditTwoTables_SQLite)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(Checkpoint4MiBLog_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(LoadDatabaseWithLog4MiB_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// --- peak memory of a process that only loads ---------------------------------------------------

// The process's peak resident set (VmHWM) in KiB.
long peakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// Child mode: load one form of the database and print the peak before and after, in KiB.
int loadOnly(const std::string& form) {
    const long before = peakResidentKiB();
    std::size_t held = 0;
    if (form == "OrnQL") {
        held = loadDatabase(D_ENDTAG) == LOAD_DONE ? Word::elementTree().size() : 0;
    } else if (form == "SQLiteObjects") {
        bench::SqliteObjectReader::Records records;
        held = readSqliteObjects(records);
        std::printf("%ld %ld %zu\n", before, peakResidentKiB(), held);  // while the objects live
        return 0;
    } else {
        held = readAllSqliteRows().size();
    }
    std::printf("%ld %ld %zu\n", before, peakResidentKiB(), held);
    return 0;
}

// Runs this program again in child mode and reads its answer.
bool measureChild(const std::string& form, long& before, long& after) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return false;
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        execl("/proc/self/exe", "bench_model_database", "--load-only", form.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    char answer[128] = {};
    const ssize_t got = read(pipeEnds[0], answer, sizeof answer - 1);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    std::size_t held = 0;
    return got > 0 && std::sscanf(answer, "%ld %ld %zu", &before, &after, &held) == 3 && held > 0;
}

void reportPeakMemory() {
    struct Form {
        const char* name;
        const char* label;
        long before = 0;
        long after = 0;
    };
    Form forms[] = {{"OrnQL", "loadDatabase(D_ENDTAG)"},
                    {"SQLiteObjects", "SQLite into the same objects"},
                    {"SQLite", "all rows from SQLite (values)"},
                    {"OrnQL", "loadDatabase, 1,000,000 answers"}};
    for (Form& form : forms) {
        std::optional<WithHistory> history;
        if (&form == &forms[3]) {
            history.emplace();
        }
        if (!measureChild(form.name, form.before, form.after)) {
            std::printf("\nPeak memory: could not be measured\n");
            return;
        }
    }
    std::printf("\nPeak memory of a process that only loads (VmHWM):\n");
    for (const Form& form : forms) {
        std::printf("  %-30s %8.1f MiB (%7.1f MiB above the idle process), ratio of the peaks %5.2f\n", form.label,
                    form.after / 1024.0, (form.after - form.before) / 1024.0,
                    static_cast<double>(forms[0].after) / static_cast<double>(form.after));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--load-only") == 0) {
        return loadOnly(argv[2]);  // runs in the scratch directory its parent made current
    }
    bench::ScratchDirectory scratch("model");
    buildBothDatabases();
    const int result = bench::runWithRatios(
        argc, argv,
        {{"_OrnQL", "_SQLite"},
         {"_OrnQL", "_SQLiteObjects"},
         {"WithLog4MiB_OrnQL", "_OrnQL"},
         {"WithHistory_OrnQL", "_OrnQL"}});
    reportPeakMemory();
    return result;
}
