#pragma once

// An answer history for the realistic database (ModelDatabaseGenerator.h), as a learner of that
// collection gives it: by default 1,000,000 answers spread evenly over the 1,000 days up to
// `today`, each for a random card in a random direction, its article judged when its word has
// one, its verb table (six tenses, six persons) judged cell by cell when it has a verb, about two
// answers in three right. Random choices come from a fixed seed. The database must be loaded;
// build() records the answers and saves the history.
//
// mirrorToSqlite writes the stored history into an SQLite file beside the model's mirror:
//   answers(id, card, language, lesson, day, second, verdict, inverted, hint, forced, firsttry,
//           seconds, levelbefore, levelafter, article, articleid)   with an index on day
//   answercells(answer, tense, person, right)

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/AnswerBlock.h"
#include "model/Database.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/Word.h"

namespace bench {

class HistoryGenerator {
public:
    explicit HistoryGenerator(std::int32_t today, unsigned answers = 1000000, unsigned days = 1000)
        : today(today), answers(answers), days(days), random(20240311) {}

    void build() {
        std::vector<Flashcard*> cards;
        for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
            cards.push_back(*it);
        }
        if (cards.empty()) {
            throw std::runtime_error("no cards to answer");
        }
        for (unsigned i = 0; i < answers; ++i) {
            Flashcard& card = *cards[random() % cards.size()];
            AnswerBlock::record(answerFor(card, i));
        }
        saveDatabase(D_ANSWER);
        checkpointDatabase();
    }

    static void mirrorToSqlite(const std::string& file) {
        sqlite3* db = nullptr;
        sqlite3_open(file.c_str(), &db);
        sqlite3_exec(db,
                     "CREATE TABLE answers(id INTEGER PRIMARY KEY, card INTEGER, language INTEGER, lesson INTEGER,"
                     " day INTEGER, second INTEGER, verdict INTEGER, inverted INTEGER, hint INTEGER, forced INTEGER,"
                     " firsttry INTEGER, seconds INTEGER, levelbefore INTEGER, levelafter INTEGER, article INTEGER,"
                     " articleid INTEGER);"
                     "CREATE TABLE answercells(answer INTEGER, tense INTEGER, person INTEGER, right INTEGER);"
                     "BEGIN;",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt* answer = nullptr;
        sqlite3_stmt* cell = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO answers VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &answer, nullptr);
        sqlite3_prepare_v2(db, "INSERT INTO answercells VALUES(?,?,?,?)", -1, &cell, nullptr);
        long long id = 0;
        AnswerBlock::forEveryAnswer([&](const AnswerBlock::View& view) {
            ++id;
            const long long values[] = {id,
                                        view.card(),
                                        view.language(),
                                        view.lesson(),
                                        view.day(),
                                        view.secondOfDay(),
                                        static_cast<long long>(view.verdict()),
                                        view.inverted(),
                                        view.hintUsed(),
                                        view.forcedRetyping(),
                                        view.firstTry(),
                                        view.secondsCounted(),
                                        view.levelBefore(),
                                        view.levelAfter(),
                                        static_cast<long long>(view.article()),
                                        view.articleId()};
            for (int i = 0; i < 16; ++i) {
                sqlite3_bind_int64(answer, i + 1, values[i]);
            }
            sqlite3_step(answer);
            sqlite3_reset(answer);
            if (const VerbLayout* layout = view.verbLayout()) {
                for (std::size_t t = 0; t < layout->tenses.size(); ++t) {
                    for (std::size_t p = 0; p < layout->persons.size(); ++p) {
                        sqlite3_bind_int64(cell, 1, id);
                        sqlite3_bind_int64(cell, 2, layout->tenses[t]);
                        sqlite3_bind_int64(cell, 3, layout->persons[p]);
                        sqlite3_bind_int64(cell, 4, view.cellRight(t, p));
                        sqlite3_step(cell);
                        sqlite3_reset(cell);
                    }
                }
            }
        });
        sqlite3_finalize(answer);
        sqlite3_finalize(cell);
        sqlite3_exec(db, "CREATE INDEX answerdays ON answers(day); COMMIT;", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

private:
    // The grid of a language's verb tables: its tenses and persons in ascending id.
    const VerbLayout& layoutOf(unsigned language) {
        auto found = layouts.find(language);
        if (found != layouts.end()) {
            return found->second;
        }
        VerbLayout layout;
        for (auto it = Tense::begin(); it != Tense::end(); ++it) {
            if (it->getDependency(D_LANGUAGE) == language) {
                layout.tenses.push_back(it->getId());
            }
        }
        for (auto it = Person::begin(); it != Person::end(); ++it) {
            if (it->getDependency(D_LANGUAGE) == language) {
                layout.persons.push_back(it->getId());
            }
        }
        return layouts.emplace(language, std::move(layout)).first->second;
    }

    Answer answerFor(const Flashcard& card, unsigned index) {
        Answer answer;
        answer.card = card.getId();
        answer.language = card.getDependency(D_LANGUAGE);
        answer.lesson = card.getDependency(D_LESSON);
        const std::int32_t day = today - static_cast<std::int32_t>(days - 1 - index * static_cast<std::uint64_t>(days) / answers);
        answer.time = static_cast<std::int64_t>(day) * 86400 + 8 * 3600 + index % 40000;
        const unsigned roll = random() % 100;
        answer.verdict = roll < 65 ? Verdict::Correct : roll < 80 ? Verdict::Minor : Verdict::Wrong;
        answer.inverted = card.get_useInverted() && random() % 2 == 0;
        answer.hintUsed = random() % 10 == 0;
        answer.forcedRetyping = answer.verdict == Verdict::Wrong;
        answer.firstTry = random() % 4 != 0;
        answer.secondsCounted = 5 + random() % 60;
        answer.levelBefore = random() % 7;
        answer.levelAfter = answer.verdict == Verdict::Wrong ? 0 : std::min(6u, answer.levelBefore + 1);
        const Word* word = Word::getById(card.getDependency(D_WORD));
        if (word != nullptr && word->getDependency(D_ARTICLE) != 0) {
            answer.article = random() % 5 == 0 ? ArticleJudgement::Wrong : ArticleJudgement::Right;
            answer.articleId = word->getDependency(D_ARTICLE);
        }
        if (word != nullptr && (word->getDependency(D_VERBPATTERN) != 0 || word->getDependency(D_IRREGULARVERB) != 0)) {
            answer.verbLayout = layoutOf(answer.language);
            for (std::size_t cell = 0; cell < answer.verbLayout.cells(); ++cell) {
                answer.cellsRight.push_back(random() % 8 != 0);
            }
        }
        return answer;
    }

    std::int32_t today;
    unsigned answers;
    unsigned days;
    std::mt19937 random;
    std::map<unsigned, VerbLayout> layouts;
};

}  // namespace bench
