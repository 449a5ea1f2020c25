#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "db/OrnQL_Custom.h"
#include "model/C_M.h"
#include "model/Category.h"
#include "model/DataPaths.h"
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
#include "resources/frameworkFileManager.h"
#include "support/TempDirTest.h"

namespace modeltest {

// Little-endian bytes of the table files, for hand-written expected layouts.
inline std::string u32(std::uint32_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
}
inline std::string byte(unsigned v) { return std::string(1, static_cast<char>(v)); }
// A stored wide text: its length in UTF-16 units with the terminator, the units, the terminator.
inline std::string text(const std::u16string& units) {
    std::string bytes = u32(static_cast<std::uint32_t>(units.size() + 1));
    for (char16_t unit : units) {
        bytes += byte(unit & 0xFF) + byte(unit >> 8);
    }
    return bytes + std::string(2, '\0');
}
// A record header: id and the 15 dependency ids (0 unless given).
inline std::string header(std::uint32_t id, std::map<int, std::uint32_t> deps = {}) {
    std::string bytes = u32(id);
    for (int d = 0; d < STORED_DEPENDENCIES; ++d) {
        bytes += u32(deps.count(d) ? deps[d] : 0);
    }
    return bytes;
}

// The vocabulary tables (languages, grammar, patterns, words, irregular verbs, meanings,
// categories and their links) set up in the program's catalogue order.
inline void setupVocabularyTables() {
    Language::setup(D_LANGUAGE, false);
    Category::setup(D_CATEGORY, false);
    Person::setup(D_PERSON, true);
    Tense::setup(D_TENSE, true);
    Article::setup(D_ARTICLE, true);
    VerbPattern::setup(D_VERBPATTERN, true);
    Word::setup(D_WORD, false);
    IrregularVerb::setup(D_IRREGULARVERB, true);
    Meaning::setup(D_MEANING, false);
    M_W::setup(D_ASSO_M_W, M_W::ENFORCE_FROM, M_W::ENFORCE_TO, true);
    C_M::setup(D_ASSO_C_M, C_M::ENFORCE_FROM, C_M::ENFORCE_TO, true);
}

// Lessons, levels, flashcards and their links to words, on top of the vocabulary tables.
inline void setupPracticeTables() {
    setupVocabularyTables();
    Lesson::setup(D_LESSON, true);
    Level::setup(D_LEVEL, true);
    Flashcard::setup(D_FLASHCARD, false);
    F_W::setup(D_ASSO_F_W, F_W::ENFORCE_FROM, F_W::ENFORCE_TO, true);
}

// Adds a language of that name; returns its id.
inline unsigned addLanguage(const wchar_t* name) {
    auto* language = new Language();
    language->set_name(name, true);
    return Language::add(language);
}

// Adds a word of that language; returns its id.
inline unsigned addWord(unsigned languageId, const wchar_t* text) {
    auto* word = new Word(text, L"", L"");
    word->setDependency(D_LANGUAGE, languageId);
    return Word::add(word);
}

// Each test runs in its own temporary directory with the default interface texts and the
// vocabulary tables set up; everything is reset afterwards.
class VocabularyTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        loadDefaults();
        setupVocabularyTables();
    }
    void TearDown() override {
        resetDatabaseTables();
        framewResetResources();
        TempDirTest::TearDown();
    }

    // Saves a table and reads its first bound file (ids 0 to 9).
    template <typename T>
    static std::string savedBound(const char* path) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        T::saveAll(path, D_ENDTAG);
        return readFile(std::string(path) + "0.dat");
    }
};

}  // namespace modeltest
