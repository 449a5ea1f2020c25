#pragma once

// The same database as the model's tables, in one SQLite file: one SQL table per record table
// (the links of every record as columns), the verb tables' cells as rows of their own, texts as
// UTF-16. The baseline of the model benchmarks: reading every row of it into memory is the work
// loadDatabase does, and one committed UPDATE of a word is the work of saving a word edit.

#include <sqlite3.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Utf16.h"
#include "model/C_M.h"
#include "model/Category.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/Lesson.h"
#include "model/Level.h"
#include "model/M_W.h"
#include "model/Meaning.h"
#include "model/VerbPattern.h"
#include "model/Word.h"

namespace bench {

inline const char* const MIRROR_SCHEMA =
    "CREATE TABLE languages(id INTEGER PRIMARY KEY, name TEXT, rtl INTEGER, keyboard TEXT);"
    "CREATE TABLE articles(id INTEGER PRIMARY KEY, language INTEGER, text TEXT, created INTEGER);"
    "CREATE TABLE tenses(id INTEGER PRIMARY KEY, language INTEGER, text TEXT, created INTEGER);"
    "CREATE TABLE persons(id INTEGER PRIMARY KEY, language INTEGER, text TEXT, created INTEGER);"
    "CREATE TABLE verbpatterns(id INTEGER PRIMARY KEY, language INTEGER, tenses INTEGER, persons INTEGER,"
    " number INTEGER);"
    "CREATE TABLE patterncells(pattern INTEGER, tense INTEGER, person INTEGER, text TEXT,"
    " PRIMARY KEY(pattern, tense, person)) WITHOUT ROWID;"
    "CREATE TABLE words(id INTEGER PRIMARY KEY, language INTEGER, article INTEGER, pattern INTEGER,"
    " irregular INTEGER, text TEXT, ipa TEXT, mnemonic TEXT);"
    "CREATE TABLE irregularverbs(id INTEGER PRIMARY KEY, language INTEGER, tenses INTEGER, persons INTEGER);"
    "CREATE TABLE verbcells(verb INTEGER, tense INTEGER, person INTEGER, text TEXT,"
    " PRIMARY KEY(verb, tense, person)) WITHOUT ROWID;"
    "CREATE TABLE meanings(id INTEGER PRIMARY KEY, niveau INTEGER);"
    "CREATE TABLE categories(id INTEGER PRIMARY KEY, description TEXT);"
    "CREATE TABLE lessons(id INTEGER PRIMARY KEY, title TEXT, due INTEGER);"
    "CREATE TABLE levels(id INTEGER PRIMARY KEY, breakdays INTEGER, force INTEGER, hints INTEGER, level INTEGER,"
    " submissions INTEGER, total INTEGER);"
    "CREATE TABLE flashcards(id INTEGER PRIMARY KEY, language INTEGER, word INTEGER, lesson INTEGER,"
    " pdue INTEGER, pminor INTEGER, plevel INTEGER, inverted INTEGER, idue INTEGER, iminor INTEGER,"
    " ilevel INTEGER);"
    "CREATE TABLE fw(id INTEGER PRIMARY KEY, flashcard INTEGER, word INTEGER);"
    "CREATE TABLE mw(id INTEGER PRIMARY KEY, meaning INTEGER, word INTEGER);"
    "CREATE TABLE cm(id INTEGER PRIMARY KEY, category INTEGER, meaning INTEGER);";

// Every SQL table, for reading all rows back.
inline const std::vector<std::string> MIRROR_TABLES = {
    "languages", "lessons",  "levels",     "categories", "persons", "tenses", "articles", "verbpatterns",
    "patterncells", "words", "irregularverbs", "verbcells", "flashcards", "fw", "meanings", "mw", "cm"};

class SqliteWriter {
public:
    explicit SqliteWriter(const std::string& file) {
        if (sqlite3_open(file.c_str(), &db) != SQLITE_OK || !exec(MIRROR_SCHEMA) || !exec("BEGIN")) {
            throw std::runtime_error("cannot create the SQLite database");
        }
    }
    ~SqliteWriter() {
        exec("COMMIT");
        sqlite3_close(db);
    }

    // Copies every table of the model into the SQLite file.
    void mirrorModel() {
        for (auto it = Language::begin(); it != Language::end(); ++it) {
            row("INSERT INTO languages VALUES(?,?,?,?)", {num(it->getId()), wide(it->get_name()),
                                                          num(it->get_rightToLeft()), narrow(it->get_keyboardLocalID())});
        }
        grammar<Article>("articles");
        grammar<Tense>("tenses");
        grammar<Person>("persons");
        for (auto it = VerbPattern::begin(); it != VerbPattern::end(); ++it) {
            row("INSERT INTO verbpatterns VALUES(?,?,?,?,?)",
                {num(it->getId()), num(it->getDependency(D_LANGUAGE)), num(it->get_tenses()), num(it->get_persons()),
                 num(it->get_patternId())});
            cells("patterncells", **it);
        }
        for (auto it = Word::begin(); it != Word::end(); ++it) {
            row("INSERT INTO words VALUES(?,?,?,?,?,?,?,?)",
                {num(it->getId()), num(it->getDependency(D_LANGUAGE)), num(it->getDependency(D_ARTICLE)),
                 num(it->getDependency(D_VERBPATTERN)), num(it->getDependency(D_IRREGULARVERB)), wide(it->get_text()),
                 wide(it->get_ipaPronounciation()), wide(it->get_mnemonic())});
        }
        for (auto it = IrregularVerb::begin(); it != IrregularVerb::end(); ++it) {
            row("INSERT INTO irregularverbs VALUES(?,?,?,?)", {num(it->getId()), num(it->getDependency(D_LANGUAGE)),
                                                               num(it->get_tenses()), num(it->get_persons())});
            cells("verbcells", **it);
        }
        for (auto it = Meaning::begin(); it != Meaning::end(); ++it) {
            row("INSERT INTO meanings VALUES(?,?)", {num(it->getId()), num(it->get_niveau())});
        }
        for (auto it = Category::begin(); it != Category::end(); ++it) {
            row("INSERT INTO categories VALUES(?,?)", {num(it->getId()), wide(it->get_description())});
        }
        for (auto it = Lesson::begin(); it != Lesson::end(); ++it) {
            row("INSERT INTO lessons VALUES(?,?,?)", {num(it->getId()), wide(it->get_title()), num(it->get_due())});
        }
        for (auto it = Level::begin(); it != Level::end(); ++it) {
            row("INSERT INTO levels VALUES(?,?,?,?,?,?,?)",
                {num(it->getId()), num(it->get_breakDays()), num(it->get_forceAnswerTyping()),
                 num(it->get_hintHandling()), num(it->get_level()), num(it->get_statSubmissions()),
                 num(it->get_statTotal())});
        }
        for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
            row("INSERT INTO flashcards VALUES(?,?,?,?,?,?,?,?,?,?,?)",
                {num(it->getId()), num(it->getDependency(D_LANGUAGE)), num(it->getDependency(D_WORD)),
                 num(it->getDependency(D_LESSON)), num(it->get_primaryNextDue()), num(it->get_primaryMinorFlag()),
                 num(it->get_primaryLevel()), num(it->get_useInverted()), num(it->get_invertedNextDue()),
                 num(it->get_invertedMinorFlag()), num(it->get_invertedLevel())});
        }
        links<F_W>("fw", D_FLASHCARD, D_WORD);
        links<M_W>("mw", D_MEANING, D_WORD);
        links<C_M>("cm", D_CATEGORY, D_MEANING);
        for (auto& [sql, statement] : statements) {
            sqlite3_finalize(statement);
        }
        statements.clear();
    }

private:
    struct Value {
        enum Kind { NUMBER, WIDE, NARROW } kind;
        long long number = 0;
        std::u16string wideText;
        std::string narrowText;
    };
    static Value num(long long v) { return Value{Value::NUMBER, v, {}, {}}; }
    static Value wide(const wchar_t* text) { return Value{Value::WIDE, 0, utf16::encode(text), {}}; }
    static Value narrow(const char* text) { return Value{Value::NARROW, 0, {}, text}; }

    bool exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

    void row(const std::string& sql, const std::vector<Value>& values) {
        sqlite3_stmt*& statement = statements[sql];
        if (statement == nullptr) {
            sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
        }
        for (std::size_t i = 0; i < values.size(); ++i) {
            const int at = static_cast<int>(i + 1);
            const Value& v = values[i];
            if (v.kind == Value::NUMBER) {
                sqlite3_bind_int64(statement, at, v.number);
            } else if (v.kind == Value::WIDE) {
                sqlite3_bind_text16(statement, at, v.wideText.data(), static_cast<int>(v.wideText.size() * 2),
                                    SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_text(statement, at, v.narrowText.c_str(), -1, SQLITE_TRANSIENT);
            }
        }
        if (sqlite3_step(statement) != SQLITE_DONE) {
            throw std::runtime_error(sqlite3_errmsg(db));
        }
        sqlite3_reset(statement);
    }

    template <typename T>
    void grammar(const std::string& table) {
        for (auto it = T::begin(); it != T::end(); ++it) {
            row("INSERT INTO " + table + " VALUES(?,?,?,?)", {num(it->getId()), num(it->getDependency(D_LANGUAGE)),
                                                              wide(it->get_text()), num(it->get_timestamp())});
        }
    }

    template <typename V>
    void cells(const std::string& table, V& verb) {
        for (unsigned t = 0; t < verb.get_tenses(); ++t) {
            for (unsigned p = 0; p < verb.get_persons(); ++p) {
                row("INSERT INTO " + table + " VALUES(?,?,?,?)",
                    {num(verb.getId()), num(t), num(p), wide(verb.get_content(t, p))});
            }
        }
    }

    template <typename A>
    void links(const std::string& table, dependency from, dependency to) {
        for (auto it = A::begin(); it != A::end(); ++it) {
            row("INSERT INTO " + table + " VALUES(?,?,?)",
                {num(it->getId()), num(it->getDependency(from)), num(it->getDependency(to))});
        }
    }

    sqlite3* db = nullptr;
    std::map<std::string, sqlite3_stmt*> statements;
};

}  // namespace bench
