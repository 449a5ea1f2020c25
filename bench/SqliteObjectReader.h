#pragma once

// The baseline "SQLite into the same objects": every row of the mirror (SqliteMirror.h) read into
// a record object of the model's own class, as loadDatabase makes them, with the same texts
// and dependencies. The objects are held in plain vectors in id order (the order the rows come
// in), links as link records: the work of making the objects, without any index over them.
// Levels are read as plain values: making a Level moves the ladder's global counter.

#include <sqlite3.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SqliteMirror.h"

namespace bench {

// A record of class R whose dependencies the reader sets directly, as the loader does, without
// marking any bound for saving.
template <typename R>
struct Filled : R {
    void depend(dependency d, long long id) { this->dependencies.set(d, static_cast<unsigned>(id)); }
    void identify(long long id) { this->id = static_cast<unsigned>(id); }
};

class SqliteObjectReader {
public:
    using Records = std::vector<std::unique_ptr<OrnQL_Base>>;

    explicit SqliteObjectReader(const char* file) { sqlite3_open_v2(file, &db, SQLITE_OPEN_READONLY, nullptr); }
    ~SqliteObjectReader() { sqlite3_close(db); }
    SqliteObjectReader(const SqliteObjectReader&) = delete;
    SqliteObjectReader& operator=(const SqliteObjectReader&) = delete;

    // Reads every table; returns the number of objects made.
    std::size_t readAll(Records& records) {
        readLanguages(records);
        readGrammar<Article>("articles", records);
        readGrammar<Tense>("tenses", records);
        readGrammar<Person>("persons", records);
        readVerbs<VerbPattern>("SELECT id, language, tenses, persons FROM verbpatterns", "patterncells", records);
        readWords(records);
        readVerbs<IrregularVerb>("SELECT id, language, tenses, persons FROM irregularverbs", "verbcells", records);
        readMeaningsCategoriesLessons(records);
        readLevels();
        readFlashcards(records);
        readLinks<F_W>("fw", D_FLASHCARD, D_WORD, records);
        readLinks<M_W>("mw", D_MEANING, D_WORD, records);
        readLinks<C_M>("cm", D_CATEGORY, D_MEANING, records);
        return records.size();
    }

private:
    template <typename Row>
    void eachRow(const char* sql, Row row) {
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW) {
            row(select);
        }
        sqlite3_finalize(select);
    }

    static long long num(sqlite3_stmt* s, int c) { return sqlite3_column_int64(s, c); }
    static std::wstring text(sqlite3_stmt* s, int c) {
        const auto* units = static_cast<const char16_t*>(sqlite3_column_text16(s, c));
        return utf16::decode(units, static_cast<std::size_t>(sqlite3_column_bytes16(s, c)) / 2);
    }

    void readLanguages(Records& records) {
        eachRow("SELECT id, name, rtl, keyboard FROM languages", [&](sqlite3_stmt* s) {
            auto language = std::make_unique<Filled<Language>>();
            language->identify(num(s, 0));
            language->set_name(text(s, 1).c_str(), false);
            language->set_rightToLeft(num(s, 2) != 0, false);
            language->set_keyboardLocalID(reinterpret_cast<const char*>(sqlite3_column_text(s, 3)));
            records.push_back(std::move(language));
        });
    }

    template <typename G>
    void readGrammar(const std::string& table, Records& records) {
        eachRow(("SELECT id, language, text FROM " + table).c_str(), [&](sqlite3_stmt* s) {
            auto entry = std::make_unique<Filled<G>>();
            entry->identify(num(s, 0));
            entry->depend(D_LANGUAGE, num(s, 1));
            entry->set_text(text(s, 2).c_str(), false);
            records.push_back(std::move(entry));
        });
    }

    // The verb rows, then their cells (ordered by verb, tense, person) into each verb's table.
    template <typename V>
    void readVerbs(const char* sql, const std::string& cellTable, Records& records) {
        std::map<long long, Filled<V>*> verbs;
        std::map<long long, Verb::Cells> cells;
        eachRow(sql, [&](sqlite3_stmt* s) {
            auto verb = std::make_unique<Filled<V>>();
            verb->identify(num(s, 0));
            verb->depend(D_LANGUAGE, num(s, 1));
            cells[num(s, 0)].assign(static_cast<std::size_t>(num(s, 2)),
                                    std::vector<std::wstring>(static_cast<std::size_t>(num(s, 3))));
            verbs[num(s, 0)] = verb.get();
            records.push_back(std::move(verb));
        });
        eachRow(("SELECT * FROM " + cellTable).c_str(), [&](sqlite3_stmt* s) {
            cells[num(s, 0)][static_cast<std::size_t>(num(s, 1))][static_cast<std::size_t>(num(s, 2))] = text(s, 3);
        });
        for (auto& [id, verb] : verbs) {
            Verb::Cells& table = cells[id];
            const auto persons = static_cast<unsigned>(table.empty() ? 0 : table.front().size());
            verb->reinitialize(static_cast<unsigned>(table.size()), persons, &table);
        }
    }

    void readWords(Records& records) {
        eachRow("SELECT * FROM words", [&](sqlite3_stmt* s) {
            auto word = std::make_unique<Filled<Word>>();
            word->identify(num(s, 0));
            word->depend(D_LANGUAGE, num(s, 1));
            word->depend(D_ARTICLE, num(s, 2));
            word->depend(D_VERBPATTERN, num(s, 3));
            word->depend(D_IRREGULARVERB, num(s, 4));
            word->set_text(text(s, 5).c_str(), false);
            word->set_ipaPronounciation(text(s, 6).c_str(), false);
            word->set_mnemonic(text(s, 7).c_str(), false);
            records.push_back(std::move(word));
        });
    }

    void readMeaningsCategoriesLessons(Records& records) {
        eachRow("SELECT * FROM meanings", [&](sqlite3_stmt* s) {
            auto meaning = std::make_unique<Filled<Meaning>>();
            meaning->identify(num(s, 0));
            meaning->set_niveau(static_cast<int>(num(s, 1)));
            records.push_back(std::move(meaning));
        });
        eachRow("SELECT * FROM categories", [&](sqlite3_stmt* s) {
            auto category = std::make_unique<Filled<Category>>();
            category->identify(num(s, 0));
            category->set_description(text(s, 1).c_str(), false);
            records.push_back(std::move(category));
        });
        eachRow("SELECT * FROM lessons", [&](sqlite3_stmt* s) {
            auto lesson = std::make_unique<Filled<Lesson>>();
            lesson->identify(num(s, 0));
            lesson->set_title(text(s, 1).c_str(), false);
            lesson->set_due(static_cast<std::int32_t>(num(s, 2)), false);
            records.push_back(std::move(lesson));
        });
    }

    void readLevels() {
        eachRow("SELECT * FROM levels", [&](sqlite3_stmt* s) {
            for (int c = 0; c < 7; ++c) {
                levelValues.push_back(num(s, c));
            }
        });
    }

    void readFlashcards(Records& records) {
        eachRow("SELECT * FROM flashcards", [&](sqlite3_stmt* s) {
            auto card = std::make_unique<Filled<Flashcard>>();
            card->identify(num(s, 0));
            card->depend(D_LANGUAGE, num(s, 1));
            card->depend(D_WORD, num(s, 2));
            card->depend(D_LESSON, num(s, 3));
            card->set_primaryNextDue(static_cast<std::int32_t>(num(s, 4)), false);
            card->set_primaryMinorFlag(num(s, 5) != 0, false);
            card->set_primaryLevel(static_cast<unsigned>(num(s, 6)), false);
            card->set_useInverted(num(s, 7) != 0, false);
            card->set_invertedNextDue(static_cast<std::int32_t>(num(s, 8)), false);
            card->set_invertedMinorFlag(num(s, 9) != 0, false);
            card->set_invertedLevel(static_cast<unsigned>(num(s, 10)), false);
            records.push_back(std::move(card));
        });
    }

    template <typename A>
    void readLinks(const std::string& table, dependency from, dependency to, Records& records) {
        eachRow(("SELECT * FROM " + table).c_str(), [&](sqlite3_stmt* s) {
            auto link = std::make_unique<Filled<A>>();
            link->identify(num(s, 0));
            link->depend(from, num(s, 1));
            link->depend(to, num(s, 2));
            records.push_back(std::move(link));
        });
    }

    sqlite3* db = nullptr;
    std::vector<long long> levelValues;
};

}  // namespace bench
