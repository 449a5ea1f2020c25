// Table files of a 100,000-record table (10,000 bound files):
// - saving after one record changed (one bound file and the index) against rewriting every bound;
// - loadAll against reading the same records from one SQLite table.
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchRatios.h"
#include "db/OrnQL_Stream.h"
#include "db/OrnQL_Template.h"
#include "base/Utf16.h"

namespace {

constexpr unsigned RECORDS = 100000;

class Entry : public OrnQL_Template<Entry> {
public:
    explicit Entry(std::wstring text = L"", std::int32_t number = 0) : name(std::move(text)), level(number) {}
    void load(std::istream& in) override {
        loadText(name, in);
        loadValue(in, level);
        loadBool(in, flag);
    }
    void save(std::ostream& out) override {
        saveText(name, out);
        saveValue(out, level);
        saveBool(out, flag);
    }
    const void* getData(int) override { return name.c_str(); }
    Entry& operator=(const Entry& other) override { name = other.name; level = other.level; flag = other.flag; return *this; }
    std::wstring name;
    std::int32_t level = 0;
    bool flag = false;
};

// A scratch directory with the table saved in both forms; removed at exit.
struct Fixture {
    Fixture() {
        char pattern[] = "/tmp/mernolex-bench-XXXXXX";
        directory = mkdtemp(pattern);
        std::filesystem::create_directories(directory + "/Data/Entry");
        prefix = directory + "/Data/Entry/entries";
        Entry::setup(D_WORD, false);
        for (unsigned i = 1; i <= RECORDS; ++i) {
            Entry::add(new Entry(L"entry number " + std::to_wstring(i), static_cast<std::int32_t>(i % 11)));
        }
        Entry::saveAll(prefix.c_str(), D_ENDTAG);
        writeSqlite();
    }
    ~Fixture() { std::filesystem::remove_all(directory); }

    void writeSqlite() {
        sqlite3* db = nullptr;
        sqlite3_open((directory + "/entries.sqlite").c_str(), &db);
        sqlite3_exec(db, "CREATE TABLE entries(id INTEGER PRIMARY KEY, deps BLOB, name TEXT, level INTEGER, flag INTEGER);"
                         "BEGIN;", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO entries VALUES(?,?,?,?,?)", -1, &insert, nullptr);
        for (auto it = Entry::begin(); it != Entry::end(); ++it) {
            Entry* e = *it;
            std::u16string name = utf16::encode(e->name);
            unsigned deps[STORED_DEPENDENCIES] = {};
            sqlite3_bind_int64(insert, 1, e->getId());
            sqlite3_bind_blob(insert, 2, deps, sizeof deps, SQLITE_TRANSIENT);
            sqlite3_bind_text16(insert, 3, name.data(), static_cast<int>(name.size() * 2), SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 4, e->level);
            sqlite3_bind_int(insert, 5, e->flag);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    std::string directory;
    std::string prefix;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void SaveOneChangedRecord(benchmark::State& state) {
    Fixture& f = fixture();
    unsigned id = 1;
    for (auto _ : state) {
        Entry* e = Entry::getById(id);
        e->level += 1;
        e->saveRequest();
        Entry::saveAll(f.prefix.c_str(), D_ENDTAG);
        id = id % RECORDS + 997;  // a different bound each time
    }
}

void SaveWholeTable(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        for (unsigned bound = 0; bound <= RECORDS / RECORDS_PER_BOUND; ++bound) {
            Entry::saveRequest(bound * RECORDS_PER_BOUND);
        }
        Entry::saveAll(f.prefix.c_str(), D_ENDTAG);
    }
}

void LoadTableFiles(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        Entry::elementTree().clear();
        state.ResumeTiming();
        Entry::loadAll(f.prefix.c_str(), D_ENDTAG);
    }
    if (Entry::elementTree().size() != RECORDS) state.SkipWithError("wrong record count");
}

void LoadTableSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<std::unique_ptr<Entry>> loaded;
    for (auto _ : state) {
        state.PauseTiming();
        loaded.clear();
        loaded.reserve(RECORDS);
        state.ResumeTiming();
        sqlite3* db = nullptr;
        sqlite3_open_v2((f.directory + "/entries.sqlite").c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT id, deps, name, level, flag FROM entries ORDER BY id", -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW) {
            auto e = std::make_unique<Entry>();
            const auto* name = static_cast<const char16_t*>(sqlite3_column_text16(select, 2));
            e->name = utf16::decode(name, static_cast<std::size_t>(sqlite3_column_bytes16(select, 2)) / 2);
            e->level = sqlite3_column_int(select, 3);
            e->flag = sqlite3_column_int(select, 4) != 0;
            benchmark::DoNotOptimize(sqlite3_column_blob(select, 1));
            loaded.push_back(std::move(e));
        }
        sqlite3_finalize(select);
        sqlite3_close(db);
    }
    if (loaded.size() != RECORDS) state.SkipWithError("wrong record count");
}

BENCHMARK(SaveOneChangedRecord)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(SaveWholeTable)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LoadTableFiles)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(LoadTableSqlite)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithRatios(argc, argv, {{"SaveOneChangedRecord", "SaveWholeTable"}, {"LoadTableFiles", "LoadTableSqlite"}});
}
