#pragma once

// A collection on disk for the import and export tests: each test starts on a first-start
// database in an empty working directory, imports word lists written by the test itself, and
// compares collections as text (independent of record ids).

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/ExportSet.h"
#include "exchange/ExportWriters.h"
#include "exchange/ImportChoices.h"
#include "exchange/TextDecoding.h"
#include "model/C_M.h"
#include "model/Category.h"
#include "model/Database.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/Lesson.h"
#include "model/M_W.h"
#include "model/Meaning.h"
#include "model/VerbPattern.h"
#include "model/Word.h"
#include "support/TempDirTest.h"

namespace exchange::test {

class ExchangeTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    }
    void TearDown() override {
        resetDatabase();
        TempDirTest::TearDown();
    }

    static void reload() {
        resetDatabase();
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    }

    // Opens the bytes as a word list; fails the test when they are refused.
    static std::unique_ptr<ImportFile> open(const std::string& bytes) {
        std::wstring problem;
        std::unique_ptr<ImportFile> file = ImportFile::fromBytes(bytes, problem);
        EXPECT_NE(file, nullptr) << toUtf8(problem);
        return file;
    }

    // Previews and stores a whole word list in memory (nothing saved).
    static std::unique_ptr<Import> importInMemory(ImportFile& file, const ImportChoices& choices) {
        std::wstring problem;
        std::unique_ptr<Import> import = prepareImport(file, choices, problem);
        EXPECT_NE(import, nullptr) << toUtf8(problem);
        if (import != nullptr) {
            EXPECT_TRUE(import->previewSome(noDeadline()));
            EXPECT_TRUE(import->storeSome(noDeadline()));
        }
        return import;
    }

    // Imports and saves; returns what was stored.
    static ImportCounts importAndSave(ImportFile& file, const ImportChoices& choices) {
        std::unique_ptr<Import> import = importInMemory(file, choices);
        if (import == nullptr) {
            return {};
        }
        EXPECT_EQ(saveDatabaseTables({}), 0);
        import->kept();
        return import->storedCounts();
    }

    // A delimited list from German into English (both made when missing).
    static ImportCounts importText(const std::string& text, ImportOptions options = {}) {
        std::unique_ptr<ImportFile> file = open(text);
        ImportChoices choices = defaultChoices(*file);
        choices.foreignLanguage = L"German";
        choices.knownLanguage = L"English";
        choices.options = options;
        return importAndSave(*file, choices);
    }

    static unsigned languageNamed(const std::wstring& name) {
        for (auto it = Language::begin(); it != Language::end(); ++it) {
            if (name == it->get_name()) {
                return it->getId();
            }
        }
        return 0;
    }

    static Flashcard* cardOf(const Word* word) {
        for (auto it = Flashcard::begin(); word != nullptr && it != Flashcard::end(); ++it) {
            if (it->getDependency(D_WORD) == word->getId()) {
                return *it;
            }
        }
        return nullptr;
    }

    static std::vector<std::wstring> knownOf(const Flashcard& card) {
        std::vector<std::wstring> known;
        for (const OrnQL_Base* word : card.partnersOf(D_WORD)) {
            known.emplace_back(static_cast<const Word*>(word)->get_text());
        }
        std::sort(known.begin(), known.end());
        return known;
    }

    template <typename T>
    static std::string grammarText(unsigned language) {
        std::string text;
        for (auto it = T::begin(); it != T::end(); ++it) {
            if (it->getDependency(D_LANGUAGE) == language) {
                text += " " + toUtf8(it->get_text());
            }
        }
        return text;
    }

    static std::string wordText(const Word& word) {
        std::string text = toUtf8(word.get_text()) + "|" + toUtf8(word.get_ipaPronounciation()) + "|" +
                           toUtf8(word.get_mnemonic());
        if (const Article* article = Article::getById(word.getDependency(D_ARTICLE))) {
            text += "|art " + toUtf8(article->get_text());
        }
        if (const IrregularVerb* verb = IrregularVerb::getById(word.getDependency(D_IRREGULARVERB))) {
            text += "|verb";
            for (const auto& tense : verb->cells()) {
                for (const std::wstring& cell : tense) {
                    text += " " + toUtf8(cell);
                }
                text += " /";
            }
        }
        if (word.getDependency(D_VERBPATTERN) != 0) {
            text += "|pattern " + std::to_string(VerbPattern::getById(word.getDependency(D_VERBPATTERN))->get_patternId());
        }
        return text;
    }

    // The whole collection as sorted lines, without record ids; without the cards' progress
    // (levels, due dates, directions) when `progress` is false.
    static std::string collectionText(bool progress = true) {
        std::vector<std::string> lines;
        for (auto it = Language::begin(); it != Language::end(); ++it) {
            lines.push_back("language " + toUtf8(it->get_name()) + " " + it->get_keyboardLocalID() +
                            (it->get_rightToLeft() ? " rtl" : "") + " articles" + grammarText<Article>(it->getId()) +
                            " persons" + grammarText<Person>(it->getId()) + " tenses" +
                            grammarText<Tense>(it->getId()));
        }
        for (auto it = Word::begin(); it != Word::end(); ++it) {
            lines.push_back("word " + toUtf8(Language::getById(it->getDependency(D_LANGUAGE))->get_name()) + " " +
                            wordText(**it));
        }
        for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
            std::string line = "card " + toUtf8(Word::getById(it->getDependency(D_WORD))->get_text());
            if (const Lesson* lesson = Lesson::getById(it->getDependency(D_LESSON))) {
                line += " [" + toUtf8(lesson->get_title()) + "]";
            }
            if (progress) {
                line += " levels " + std::to_string(it->get_primaryLevel()) + "/" +
                        std::to_string(it->get_invertedLevel()) + " due " + std::to_string(it->get_primaryNextDue()) +
                        "/" + std::to_string(it->get_invertedNextDue()) + (it->get_useInverted() ? " both" : " one");
            }
            line += " ->";
            for (const std::wstring& known : knownOf(**it)) {
                line += " " + toUtf8(known);
            }
            lines.push_back(line);
        }
        for (auto it = Meaning::begin(); it != Meaning::end(); ++it) {
            std::vector<std::string> words;
            for (const OrnQL_Base* word : it->partnersOf(D_WORD)) {
                words.push_back(toUtf8(static_cast<const Word*>(word)->get_text()));
            }
            std::vector<std::string> categories;
            for (const OrnQL_Base* category : it->partnersOf(D_CATEGORY)) {
                categories.push_back(toUtf8(static_cast<const Category*>(category)->get_description()));
            }
            std::sort(words.begin(), words.end());
            std::sort(categories.begin(), categories.end());
            std::string line = "meaning " + std::to_string(it->get_niveau()) + ":";
            for (const std::string& word : words) {
                line += " " + word;
            }
            line += " categories:";
            for (const std::string& category : categories) {
                line += " " + category;
            }
            lines.push_back(line);
        }
        for (auto it = Lesson::begin(); it != Lesson::end(); ++it) {
            lines.push_back("lesson " + toUtf8(it->get_title()));
        }
        for (auto it = Category::begin(); it != Category::end(); ++it) {
            lines.push_back("category " + toUtf8(it->get_description()));
        }
        std::sort(lines.begin(), lines.end());
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        return text;
    }
};

}  // namespace exchange::test
