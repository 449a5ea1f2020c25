// Links and relation lookups at run time on the realistic database (ModelDatabaseGenerator.h),
// against the same rows in SQLite (with indexes on the link columns), measured in the same run:
// - a link added and deleted again, in memory, as the editors do before they save (meaning to
//   word, card to known word, category to meaning), against an INSERT and a DELETE of the row in
//   one transaction that is not synced;
// - the same with the save after each step (the link table's bound file), against the INSERT and
//   the DELETE each committed with SQLite's default, fully synchronous journal;
// - relation lookups the screens make: the meanings of 1000 words, the words of 1000 meanings
//   (their description text), the categories of 200 words reached over their meanings, against
//   the same lookups through the SQLite indexes;
// - a query over all words (TEXT == ...), against the same SELECT without an index.
#include <sqlite3.h>

#include <string>
#include <vector>

#include "BenchRatios.h"
#include "ModelDatabaseGenerator.h"
#include "ScratchDirectory.h"
#include "SqliteMirror.h"

namespace {

const char* const SQLITE_FILE = "baseline.sqlite";

constexpr unsigned LINKED_MEANING = 4321;
constexpr unsigned LINKED_WORD = 54321;
constexpr unsigned LINKED_CARD = 2345;
constexpr unsigned LINKED_CATEGORY = 7;
constexpr unsigned LOOKUPS = 1000;

void buildBothDatabases() {
    bench::DatabaseGenerator generator;
    generator.build();
    {
        bench::SqliteWriter writer(SQLITE_FILE);
        writer.mirrorModel();
    }
    sqlite3* db = nullptr;
    sqlite3_open(SQLITE_FILE, &db);
    sqlite3_exec(db,
                 "CREATE INDEX mw_word ON mw(word); CREATE INDEX mw_meaning ON mw(meaning);"
                 "CREATE INDEX cm_meaning ON cm(meaning); CREATE INDEX fw_flashcard ON fw(flashcard);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    resetDatabase();
    loadDatabase(D_ENDTAG);
}

// --- links in memory -----------------------------------------------------------------------------

template <typename A>
void addAndDeleteLinks(benchmark::State& state, unsigned fromId, unsigned toId) {
    for (auto _ : state) {
        const unsigned link = A::add(new A(fromId, toId));
        A::deleteEntry(link);
    }
}

void LinkMeaningWord_OrnQL(benchmark::State& state) { addAndDeleteLinks<M_W>(state, LINKED_MEANING, LINKED_WORD); }
void LinkCardWord_OrnQL(benchmark::State& state) { addAndDeleteLinks<F_W>(state, LINKED_CARD, LINKED_WORD); }
void LinkCategoryMeaning_OrnQL(benchmark::State& state) {
    addAndDeleteLinks<C_M>(state, LINKED_CATEGORY, LINKED_MEANING);
}

class SqliteLinks {
public:
    SqliteLinks(const std::string& table, bool synchronous) {
        sqlite3_open(SQLITE_FILE, &db);
        sqlite3_exec(db, synchronous ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=OFF", nullptr, nullptr,
                     nullptr);
        sqlite3_prepare_v2(db, ("INSERT INTO " + table + " VALUES(NULL, ?1, ?2)").c_str(), -1, &insert, nullptr);
        sqlite3_prepare_v2(db, ("DELETE FROM " + table + " WHERE id = ?1").c_str(), -1, &remove, nullptr);
    }
    ~SqliteLinks() {
        sqlite3_finalize(insert);
        sqlite3_finalize(remove);
        sqlite3_close(db);
    }
    SqliteLinks(const SqliteLinks&) = delete;
    SqliteLinks& operator=(const SqliteLinks&) = delete;

    // INSERT and DELETE, in one transaction (together) or each in its own.
    bool addAndDelete(unsigned from, unsigned to, bool together) {
        bool done = !together || exec("BEGIN");
        sqlite3_bind_int(insert, 1, static_cast<int>(from));
        sqlite3_bind_int(insert, 2, static_cast<int>(to));
        done = done && sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
        sqlite3_bind_int64(remove, 1, sqlite3_last_insert_rowid(db));
        done = done && sqlite3_step(remove) == SQLITE_DONE;
        sqlite3_reset(remove);
        return done && (!together || exec("COMMIT"));
    }

private:
    bool exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

    sqlite3* db = nullptr;
    sqlite3_stmt* insert = nullptr;
    sqlite3_stmt* remove = nullptr;
};

void sqliteLinks(benchmark::State& state, const std::string& table, unsigned from, unsigned to) {
    SqliteLinks links(table, false);
    for (auto _ : state) {
        if (!links.addAndDelete(from, to, true)) {
            state.SkipWithError("the SQLite link failed");
        }
    }
}

void LinkMeaningWord_SQLite(benchmark::State& state) { sqliteLinks(state, "mw", LINKED_MEANING, LINKED_WORD); }
void LinkCardWord_SQLite(benchmark::State& state) { sqliteLinks(state, "fw", LINKED_CARD, LINKED_WORD); }
void LinkCategoryMeaning_SQLite(benchmark::State& state) {
    sqliteLinks(state, "cm", LINKED_CATEGORY, LINKED_MEANING);
}

// --- links saved -------------------------------------------------------------------------------

void LinkMeaningWordSaved_OrnQL(benchmark::State& state) {
    for (auto _ : state) {
        const unsigned link = M_W::add(new M_W(LINKED_MEANING, LINKED_WORD));
        const int added = saveDatabaseExternal(1, D_ASSO_M_W);
        M_W::deleteEntry(link);
        if (added != 0 || saveDatabaseExternal(1, D_ASSO_M_W) != 0) {
            state.SkipWithError("the save failed");
        }
    }
}

void LinkMeaningWordSaved_SQLite(benchmark::State& state) {
    SqliteLinks links("mw", true);
    for (auto _ : state) {
        if (!links.addAndDelete(LINKED_MEANING, LINKED_WORD, false)) {
            state.SkipWithError("the SQLite link failed");
        }
    }
}

// --- relation lookups and a query --------------------------------------------------------------

void MeaningsOfWords_OrnQL(benchmark::State& state) {
    for (auto _ : state) {
        unsigned found = 0;
        for (unsigned w = 1; w <= LOOKUPS; ++w) {
            OrnQL_Base::RelationTree& meanings = Word::getById(w * 97)->fTR(D_MEANING);
            for (auto it = Meaning::begin(meanings); it != Meaning::end(meanings); ++it) {
                found += it->getId() != 0;
            }
        }
        benchmark::DoNotOptimize(found);
    }
}

void WordsOfMeanings_OrnQL(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t length = 0;
        for (unsigned m = 1; m <= LOOKUPS; ++m) {
            length += Meaning::getById(m * 59)->descriptionText().size();
        }
        benchmark::DoNotOptimize(length);
    }
}

void CategoriesOfWords_OrnQL(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t length = 0;
        for (unsigned w = 1; w <= LOOKUPS / 5; ++w) {
            length += Word::getById(w * 97)->categoriesText().size();
        }
        benchmark::DoNotOptimize(length);
    }
}

void QueryWords_OrnQL(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(Word::getByQuery(L"TEXT == nothing", true));
    }
}

// Runs the statement once per key and counts the rows (texts are copied, as the screens need them).
unsigned sqliteLookups(sqlite3* db, const char* sql, unsigned count, unsigned step) {
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &select, nullptr);
    unsigned rows = 0;
    for (unsigned k = 1; k <= count; ++k) {
        sqlite3_bind_int(select, 1, static_cast<int>(k * step));
        while (sqlite3_step(select) == SQLITE_ROW) {
            const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(select, 0));
            rows += text != nullptr || sqlite3_column_int(select, 0) != 0;
        }
        sqlite3_reset(select);
    }
    sqlite3_finalize(select);
    return rows;
}

template <typename Lookup>
void sqliteBenchmark(benchmark::State& state, Lookup lookup) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(SQLITE_FILE, &db, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(db));
    }
    sqlite3_close(db);
}

void MeaningsOfWords_SQLite(benchmark::State& state) {
    sqliteBenchmark(state, [](sqlite3* db) {
        return sqliteLookups(db, "SELECT meaning FROM mw WHERE word = ?1", LOOKUPS, 97);
    });
}

void WordsOfMeanings_SQLite(benchmark::State& state) {
    sqliteBenchmark(state, [](sqlite3* db) {
        return sqliteLookups(db, "SELECT words.text FROM mw JOIN words ON words.id = mw.word WHERE mw.meaning = ?1",
                             LOOKUPS, 59);
    });
}

void CategoriesOfWords_SQLite(benchmark::State& state) {
    sqliteBenchmark(state, [](sqlite3* db) {
        return sqliteLookups(db,
                             "SELECT categories.description FROM mw JOIN cm ON cm.meaning = mw.meaning"
                             " JOIN categories ON categories.id = cm.category WHERE mw.word = ?1",
                             LOOKUPS / 5, 97);
    });
}

void QueryWords_SQLite(benchmark::State& state) {
    sqliteBenchmark(state, [](sqlite3* db) {
        return sqliteLookups(db, "SELECT id FROM words WHERE text = 'nothing' AND ?1 > 0", 1, 1);
    });
}

BENCHMARK(LinkMeaningWord_OrnQL)->Unit(benchmark::kMicrosecond);
BENCHMARK(LinkMeaningWord_SQLite)->Unit(benchmark::kMicrosecond);
BENCHMARK(LinkCardWord_OrnQL)->Unit(benchmark::kMicrosecond);
BENCHMARK(LinkCardWord_SQLite)->Unit(benchmark::kMicrosecond);
BENCHMARK(LinkCategoryMeaning_OrnQL)->Unit(benchmark::kMicrosecond);
BENCHMARK(LinkCategoryMeaning_SQLite)->Unit(benchmark::kMicrosecond);
BENCHMARK(LinkMeaningWordSaved_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(LinkMeaningWordSaved_SQLite)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(MeaningsOfWords_OrnQL)->Unit(benchmark::kMicrosecond);
BENCHMARK(MeaningsOfWords_SQLite)->Unit(benchmark::kMicrosecond);
BENCHMARK(WordsOfMeanings_OrnQL)->Unit(benchmark::kMicrosecond);
BENCHMARK(WordsOfMeanings_SQLite)->Unit(benchmark::kMicrosecond);
BENCHMARK(CategoriesOfWords_OrnQL)->Unit(benchmark::kMicrosecond);
BENCHMARK(CategoriesOfWords_SQLite)->Unit(benchmark::kMicrosecond);
BENCHMARK(QueryWords_OrnQL)->Unit(benchmark::kMillisecond);
BENCHMARK(QueryWords_SQLite)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::ScratchDirectory scratch("links");
    buildBothDatabases();
    const int result = bench::runWithRatios(argc, argv, {{"_OrnQL", "_SQLite"}});
    resetDatabase();
    return result;
}
