#pragma once

// Builds a large, realistic vocabulary database through the model's public API, in the working
// directory: 3 languages with articles, 6 persons and 6 tenses each, 100 verb patterns, 100,000
// words (a tenth of them irregular verbs with every form filled in, another tenth conjugated by
// a pattern), 60,000 meanings linked to two or three words each, 20 categories linked to about
// a third of the meanings, 30 lessons, 50,000 flashcards with one to three known words each and
// the default ladder of 7 levels. Random choices come from a fixed seed, so every run builds the
// same database.

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "UnsyncedFileSystem.h"
#include "model/C_M.h"
#include "model/Category.h"
#include "model/Database.h"
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

struct DatabaseSize {
    unsigned languages = 3;
    unsigned articlesPerLanguage = 3;
    unsigned personsPerLanguage = 6;
    unsigned tensesPerLanguage = 6;
    unsigned verbPatterns = 100;
    unsigned words = 100000;
    unsigned meanings = 60000;
    unsigned categories = 20;
    unsigned lessons = 30;
    unsigned flashcards = 50000;
};

class DatabaseGenerator {
public:
    explicit DatabaseGenerator(DatabaseSize databaseSize = {})
        : size(databaseSize), random(20240310), articleIds(size.languages), patternIds(size.languages),
          wordIds(size.languages) {}

    // Creates the database (as on a first start), fills it and saves it. The files are not
    // synced: building is no part of any measurement, and tens of thousands of fsyncs made it
    // take minutes on a busy disk.
    void build() {
        const bool syncsWereSkipped = bench::syncsSkipped();
        bench::skipSyncs(true);
        fill();
        bench::skipSyncs(syncsWereSkipped);
    }

    // build(), then every direction of every card due (0 to 9 days overdue), saved and
    // checkpointed, without syncs: the practice benchmarks start from this.
    void buildAllDue() {
        build();
        for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
            const auto overdue = -static_cast<std::int32_t>(it->getId() % 10);
            it->set_primaryNextDue(overdue, true);
            it->set_invertedNextDue(overdue, true);
        }
        bench::skipSyncs(true);
        saveDatabase(D_ENDTAG);
        checkpointDatabase();
        bench::skipSyncs(false);
    }

private:
    void fill() {
        if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
            throw std::runtime_error("cannot create the database");
        }
        addLanguages();
        addPatterns();
        addWords();
        addMeanings();
        addCategories();
        addFlashcards();
        saveDatabase(D_ENDTAG);
        checkpointDatabase();
    }

    unsigned pick(unsigned count) { return std::uniform_int_distribution<unsigned>(0, count - 1)(random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random); }

    std::wstring syllables(unsigned count) {
        static const wchar_t* const parts[] = {L"ka", L"lo", L"mi", L"ne", L"tra", L"ber", L"ung", L"schl", L"é",
                                               L"ou", L"ch", L"st", L"ü", L"ar", L"vi", L"don"};
        std::wstring text;
        for (unsigned i = 0; i < count; ++i) {
            text += parts[pick(16)];
        }
        return text;
    }

    void addLanguages() {
        const wchar_t* names[] = {L"English", L"Français", L"Deutsch"};
        const char* layouts[] = {"00000409", "0000040C", "00000407"};
        for (unsigned l = 0; l < size.languages; ++l) {
            auto* language = new Language();
            language->set_name(names[l % 3], true);
            language->set_keyboardLocalID(layouts[l % 3]);
            const unsigned id = Language::add(language);
            languageIds.push_back(id);
            for (unsigned a = 0; a < size.articlesPerLanguage; ++a) {
                articleIds[l].push_back(Article::add(new Article(syllables(1).c_str(), id)));
            }
            for (unsigned p = 0; p < size.personsPerLanguage; ++p) {
                Person::add(new Person(syllables(2).c_str(), id));
            }
            for (unsigned t = 0; t < size.tensesPerLanguage; ++t) {
                Tense::add(new Tense(syllables(3).c_str(), id));
            }
        }
    }

    void addPatterns() {
        static const wchar_t* const rules[] = {L"/post-1+ed", L"/post+s", L"/pre+will ", L"/post-2+en", L"/post-3+ons",
                                               L"/pre+ge/post-1+t", L"/post-1+ait", L"/post+st", L""};
        for (unsigned i = 0; i < size.verbPatterns; ++i) {
            const unsigned l = i % size.languages;
            auto* pattern = new VerbPattern(size.tensesPerLanguage, size.personsPerLanguage, languageIds[l], 0);
            for (unsigned t = 0; t < size.tensesPerLanguage; ++t) {
                for (unsigned p = 0; p < size.personsPerLanguage; ++p) {
                    pattern->addContent(rules[pick(9)], t, p);
                }
            }
            patternIds[l].push_back(VerbPattern::add(pattern));
        }
    }

    void addWords() {
        for (unsigned i = 0; i < size.words; ++i) {
            const unsigned l = i % size.languages;
            const std::wstring mnemonic = chance(0.3) ? L"think of " + syllables(4) + L" and " + syllables(5) : L"";
            auto* word = new Word((syllables(1 + pick(4)) + std::to_wstring(i)).c_str(), syllables(2).c_str(),
                                  mnemonic.c_str());
            word->setDependency(D_LANGUAGE, languageIds[l]);
            if (chance(0.4)) {
                word->setDependency(D_ARTICLE, articleIds[l][pick(size.articlesPerLanguage)]);
            }
            const unsigned id = Word::add(word);
            wordIds[l].push_back(id);
            const unsigned kind = i % 10;
            if (kind == 0) {
                IrregularVerb* verb = IrregularVerb::createAndAdd(languageIds[l], id);
                for (unsigned t = 0; t < verb->get_tenses(); ++t) {
                    for (unsigned p = 0; p < verb->get_persons(); ++p) {
                        verb->addContent(syllables(2 + pick(3)).c_str(), t, p);
                    }
                }
            } else if (kind == 1) {
                word->setDependency(D_VERBPATTERN, patternIds[l][pick(static_cast<unsigned>(patternIds[l].size()))]);
            }
        }
    }

    unsigned randomWord(unsigned l) { return wordIds[l][pick(static_cast<unsigned>(wordIds[l].size()))]; }

    void addMeanings() {
        for (unsigned i = 0; i < size.meanings; ++i) {
            const unsigned id = Meaning::add(new Meaning(1 + static_cast<int>(pick(10))));
            meaningIds.push_back(id);
            const unsigned links = chance(0.2) ? 3 : 2;
            for (unsigned k = 0; k < links; ++k) {
                M_W::add(new M_W(id, randomWord((i + k) % size.languages)));
            }
        }
    }

    void addCategories() {
        std::vector<unsigned> categoryIds;
        for (unsigned c = 0; c < size.categories; ++c) {
            categoryIds.push_back(Category::add(new Category(syllables(3).c_str())));
        }
        for (unsigned meaning : meaningIds) {
            if (chance(0.35)) {
                C_M::add(new C_M(categoryIds[pick(size.categories)], meaning));
            }
        }
    }

    void addFlashcards() {
        std::vector<unsigned> lessonIds;
        for (unsigned i = 0; i < size.lessons; ++i) {
            lessonIds.push_back(Lesson::add(new Lesson(syllables(3).c_str(), static_cast<std::int32_t>(pick(60)) - 1)));
        }
        for (unsigned i = 0; i < size.flashcards; ++i) {
            const unsigned l = i % size.languages;
            auto* card = new Flashcard(chance(0.5), static_cast<std::int32_t>(pick(40)) - 10);
            card->setDependency(D_WORD, wordIds[l][i / size.languages % wordIds[l].size()]);
            if (chance(0.5)) {
                card->setDependency(D_LESSON, lessonIds[pick(size.lessons)]);
            }
            card->set_primaryLevel(pick(7), false);
            card->set_invertedLevel(pick(7), false);
            const unsigned id = Flashcard::add(card);
            const unsigned known = 1 + pick(3);
            for (unsigned k = 0; k < known; ++k) {
                F_W::add(new F_W(id, randomWord((l + 1) % size.languages)));
            }
        }
    }

    DatabaseSize size;
    std::mt19937 random;
    std::vector<unsigned> languageIds;
    std::vector<std::vector<unsigned>> articleIds;
    std::vector<std::vector<unsigned>> patternIds;
    std::vector<std::vector<unsigned>> wordIds;
    std::vector<unsigned> meaningIds;
};

}  // namespace bench
