// The statistics screen on the realistic database (ModelDatabaseGenerator.h) with an answer
// history of 1,000,000 answers (HistoryGenerator.h), against SQLite computing the same figures
// from the same rows (the model's mirror and the history's), measured in the same run:
//   - Open_OrnQL: the screen built, its INIT (every figure of every plot for all languages and
//     lessons) and its first paint, as the welcome screen's button opens it.
//   - Open_SQLite: the same figures, one GROUP BY query each: the due forecast and the levels over
//     the cards' two directions, answers per day and verdict, first tries per week, articles,
//     cells per tense and per person, the ten cards wrong most often, answers per day of the
//     calendar, the days with answers for the streak, and the answers of cards that are gone.
//   - Filter_OrnQL: the figures again for one language (the language switch).
//     Baseline Filter_SQLite: the same queries restricted to that language.

#include <sqlite3.h>

#include <ctime>
#include <string>

#include "BenchRatios.h"
#include "HistoryGenerator.h"
#include "ScreenBenchSetting.h"
#include "SqliteMirror.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "shell/framework.h"
#include "statistics/Statistics.h"
#include "statistics/StatisticsState.h"

namespace {

const char* const SQLITE_FILE = "statistics.sqlite";

std::int32_t today() { return utcDayOf(std::time(nullptr)); }

void setting() {
    static bench::ScreenBenchSetting once("statistics");
    static bool built = false;
    if (!built) {
        built = true;
        bench::HistoryGenerator(today()).build();
        {
            bench::SqliteWriter writer(SQLITE_FILE);
            writer.mirrorModel();
        }
        bench::HistoryGenerator::mirrorToSqlite(SQLITE_FILE);
    }
}

void Open_OrnQL(benchmark::State& state) {
    setting();
    for (auto _ : state) {
        stateMachineReset();
        nextState = createStatisticsState();
        updateStateStatus();  // the switch
        updateStateStatus();  // INIT
        platform::current().invalidateAll();
        framewBeginPaint();
        renderState();
        framewEndPaint();
        if (auto* window = dynamic_cast<platform::HeadlessPlatform*>(&platform::current())) {
            window->clearPaints();
        }
    }
    state.counters["answers"] = static_cast<double>(AnswerBlock::totalAnswers());
}

// Runs a query to its end, reading every column of every row.
long long runQuery(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
    long long sum = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            sum += sqlite3_column_int64(statement, c);
        }
    }
    sqlite3_finalize(statement);
    return sum;
}

// The figures of the screen; `where` narrows the answers and the cards ("" for all of them).
long long sqliteFigures(sqlite3* db, const std::string& where) {
    const std::int32_t day = today();
    const std::int32_t monday = mondayOf(day);
    const std::string d = std::to_string(day);
    const std::string firstWeek = std::to_string(monday - 7 * (Statistics::WEEKS - 1));
    const std::string calendar = std::to_string(monday - 7 * (Statistics::CALENDAR_WEEKS - 1));
    const std::string and_ = where.empty() ? "" : " AND " + where;
    const std::string directions =
        "(SELECT pdue AS due, plevel AS level FROM flashcards WHERE 1" + and_ +
        " UNION ALL SELECT idue, ilevel FROM flashcards WHERE inverted" + and_ + ")";
    const std::string queries[] = {
        "SELECT MAX(due, 0), COUNT(*) FROM " + directions + " WHERE due < 30 GROUP BY MAX(due, 0)",
        "SELECT level, COUNT(*) FROM " + directions + " GROUP BY level",
        "SELECT day, verdict, COUNT(*) FROM answers WHERE day > " + d + " - 90 AND day <= " + d + and_ +
            " GROUP BY day, verdict",
        "SELECT (day - " + firstWeek + ") / 7, COUNT(*), SUM(verdict = 0) FROM answers WHERE firsttry AND day >= " +
            firstWeek + " AND day <= " + d + and_ + " GROUP BY 1",
        "SELECT articleid, COUNT(*), SUM(article = 1) FROM answers WHERE article <> 0" + and_ + " GROUP BY articleid",
        "SELECT tense, COUNT(*), SUM(right) FROM answercells JOIN answers ON answers.id = answer WHERE 1" + and_ +
            " GROUP BY tense",
        "SELECT person, COUNT(*), SUM(right) FROM answercells JOIN answers ON answers.id = answer WHERE 1" + and_ +
            " GROUP BY person",
        "SELECT card, COUNT(*) AS wrong FROM answers WHERE verdict = 2 AND day > " + d + " - 30 AND day <= " + d +
            and_ + " GROUP BY card ORDER BY wrong DESC, card LIMIT 10",
        "SELECT day, COUNT(*) FROM answers WHERE day >= " + calendar + " AND day <= " + d + and_ + " GROUP BY day",
        "SELECT DISTINCT day FROM answers WHERE day <= " + d + and_ + " ORDER BY day DESC",
        "SELECT COUNT(*) FROM answers WHERE card NOT IN (SELECT id FROM flashcards)" + and_,
    };
    long long sum = 0;
    for (const std::string& sql : queries) {
        sum += runQuery(db, sql);
    }
    return sum;
}

void Open_SQLite(benchmark::State& state) {
    setting();
    sqlite3* db = nullptr;
    sqlite3_open_v2(SQLITE_FILE, &db, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(sqliteFigures(db, ""));
    }
    sqlite3_close(db);
}

void Filter_OrnQL(benchmark::State& state) {
    setting();
    const std::uint32_t language = Language::begin()->getId();
    for (auto _ : state) {
        benchmark::DoNotOptimize(computeStatistics({language, std::nullopt}, today()));
    }
}

void Filter_SQLite(benchmark::State& state) {
    setting();
    sqlite3* db = nullptr;
    sqlite3_open_v2(SQLITE_FILE, &db, SQLITE_OPEN_READONLY, nullptr);
    const std::string language = std::to_string(Language::begin()->getId());
    for (auto _ : state) {
        benchmark::DoNotOptimize(sqliteFigures(db, "language = " + language));
    }
    sqlite3_close(db);
}

BENCHMARK(Open_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(Open_SQLite)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3);
BENCHMARK(Filter_OrnQL)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(Filter_SQLite)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) { return bench::runWithRatios(argc, argv, {{"_OrnQL", "_SQLite"}}); }
