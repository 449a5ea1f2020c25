#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "ModelTestSupport.h"
#include "model/Database.h"

namespace modeltest {

// Ids of a small database holding a record of every kind.
struct Sample {
    unsigned french = 0, english = 0;
    unsigned article = 0, tense = 0, person = 0, pattern = 0;
    unsigned chien = 0, dog = 0, etre = 0, verb = 0;
    unsigned meaning = 0, category = 0, lesson = 0, card = 0;
};

// Each test starts in an empty working directory (the program's first start) and resets every
// table afterwards.
class DatabaseTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        loadDefaults();
    }
    void TearDown() override {
        resetDatabase();
        framewResetResources();
        TempDirTest::TearDown();
    }

    // Throws every table away and starts the program's load again.
    static int restart() {
        resetDatabase();
        return loadDatabase(D_ENDTAG);
    }


    // Creates the database of a first start, fills it with a record of every kind (and a flag and
    // a mnemonic picture), saves it and throws the tables away.
    static Sample buildSample() {
        Sample s;
        EXPECT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
        s.french = addLanguage(L"French");
        s.english = addLanguage(L"English");
        s.article = Article::add(new Article(L"le", s.french));
        s.tense = Tense::add(new Tense(L"présent", s.french));
        s.person = Person::add(new Person(L"je", s.french));
        s.pattern = VerbPattern::add(new VerbPattern(1, 1, s.french, 0));
        s.chien = addWord(s.french, L"chien");
        Word::getById(s.chien)->setDependency(D_ARTICLE, s.article);
        s.dog = addWord(s.english, L"dog");
        s.etre = addWord(s.french, L"être");
        s.verb = IrregularVerb::createAndAdd(s.french, s.etre)->getId();
        s.meaning = Meaning::add(new Meaning(2));
        M_W::add(new M_W(s.meaning, s.chien));
        M_W::add(new M_W(s.meaning, s.dog));
        s.category = Category::add(new Category(L"Animals"));
        C_M::add(new C_M(s.category, s.meaning));
        s.lesson = Lesson::add(new Lesson(L"Tiere", 3));
        auto* card = new Flashcard(true, 0);
        card->setDependency(D_WORD, s.chien);
        card->setDependency(D_LESSON, s.lesson);
        s.card = Flashcard::add(card);
        F_W::add(new F_W(s.card, s.dog));
        writeFile(std::string(FLAG_IMAGE_DIR) + std::to_string(s.french) + ".bmp", "BM flag");
        writeFile(std::string(MNEMONIC_IMAGE_DIR) + std::to_string(s.chien) + ".bmp", "BM chien");
        saveDatabase(D_ENDTAG);
        resetDatabase();
        return s;
    }

    // The single backup directory made by a recovery.
    static std::filesystem::path onlyBackup() {
        std::vector<std::filesystem::path> backups;
        if (std::filesystem::exists(BACKUP_DIR)) {
            for (const auto& entry : std::filesystem::directory_iterator(BACKUP_DIR)) {
                backups.push_back(entry.path());
            }
        }
        EXPECT_EQ(backups.size(), 1u);
        return backups.empty() ? std::filesystem::path() : backups.front();
    }
};

}  // namespace modeltest
