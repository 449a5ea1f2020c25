#include <filesystem>

#include <gtest/gtest.h>

#include "StatesFixture.h"
#include "base/FileTransaction.h"
#include "model/DataPaths.h"
#include "model/Language.h"
#include "states/SaveTables.h"
#include "support/SimulatedDisk.h"

namespace {

namespace fs = std::filesystem;
using mernolex::test::SimulatedDisk;

class SaveTablesTest : public states::test::StatesTest {
protected:
    void SetUp() override {
        StatesTest::SetUp();
        startDatabase();
        auto* language = new Language();
        language->set_name(L"Swahili", true);
        Language::add(language);
    }

    // The language directory becomes a plain file: nothing can be written there, not even by root.
    static void blockLanguageDirectory() {
        fs::remove_all("Data/Language");
        writeFile("Data/Language", "in the way");
    }
    static void unblockLanguageDirectory() {
        fs::remove("Data/Language");
        fs::create_directories("Data/Language");
    }
    std::size_t boxes() const { return window->dialogs().messageBoxes().size(); }
};

TEST_F(SaveTablesTest, ASuccessfulSaveSaysNothingAndTheRecordIsOnDisk) {
    EXPECT_TRUE(saveTablesOrWarn({D_LANGUAGE}));
    EXPECT_EQ(boxes(), 0u);
    reloadDatabase();
    EXPECT_NE(Language::getByQuery(L"NAME == Swahili", true), nullptr);
}

TEST_F(SaveTablesTest, EveryFailedSaveIsReportedOnceAndTheChangeCanBeSavedLater) {
    blockLanguageDirectory();
    EXPECT_FALSE(saveTablesOrWarn({D_LANGUAGE}));
    ASSERT_EQ(boxes(), 1u);
    const platform::MessageBoxRequest& box = window->dialogs().messageBoxes()[0];
    EXPECT_EQ(box.text, curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(box.caption, L"Information");
    EXPECT_EQ(box.icon, platform::MessageIcon::Error);

    EXPECT_FALSE(saveTablesOrWarn({D_WORD, D_LANGUAGE}));
    EXPECT_FALSE(saveTablesOrWarn({}));
    EXPECT_EQ(boxes(), 3u);

    // The record was never lost: once the directory is back, the retry stores it.
    unblockLanguageDirectory();
    EXPECT_TRUE(saveTablesOrWarn({D_LANGUAGE}));
    EXPECT_EQ(boxes(), 3u);
    reloadDatabase();
    EXPECT_NE(Language::getByQuery(L"NAME == Swahili", true), nullptr);
}

TEST_F(SaveTablesTest, AFailedSaveStoresNoneOfItsTables) {
    fs::rename("Data/Word", "Data/WordAside");
    writeFile("Data/Word", "in the way");
    EXPECT_FALSE(saveTablesOrWarn({D_LANGUAGE, D_WORD}));
    EXPECT_EQ(boxes(), 1u);
    fs::remove("Data/Word");
    fs::rename("Data/WordAside", "Data/Word");
    resetDatabase();
    // The language table came first in the list, yet one save is one unit: none of it is stored.
    EXPECT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    EXPECT_EQ(Language::getByQuery(L"NAME == Swahili", true), nullptr);
}

// An edit is taken back (and the user told) exactly when nothing of its save reached the log.
// Once the log holds it the edit stays, even when its files are still to be written from the log.
TEST_F(SaveTablesTest, AnEditIsTakenBackExactlyWhenNothingOfItsSaveReachedTheLog) {
    int takenBack = 0;
    const auto takeBack = [&] { ++takenBack; };
    {
        SimulatedDisk full;
        full.arm({SimulatedDisk::WRITE, 1, SimulatedDisk::Effect::FAIL, ENOSPC, "transaction.journal"});
        EXPECT_EQ(saveEdit({D_LANGUAGE}, takeBack), SaveOutcome::NOTHING_CHANGED);
        EXPECT_EQ(takenBack, 1);
        EXPECT_EQ(boxes(), 1u);

        full.arm({SimulatedDisk::WRITE, 1, SimulatedDisk::Effect::FAIL, ENOSPC, "Data/Language/"});
        EXPECT_EQ(saveEdit({D_LANGUAGE}, takeBack), SaveOutcome::DONE_FILES_PENDING);
        EXPECT_EQ(takenBack, 1);
        EXPECT_EQ(boxes(), 1u);
    }
    FileTransaction::forgetOpenLog();  // the program ends without another save
    reloadDatabase();
    EXPECT_NE(Language::getByQuery(L"NAME == Swahili", true), nullptr);

    // A session may leave the telling to its caller.
    blockLanguageDirectory();
    Language::getById(1)->set_name(L"Kiswahili", true);
    SaveSession silent(takeBack, SaveSession::Report::SILENT);
    silent.saveTables({D_LANGUAGE});
    EXPECT_EQ(silent.finish(), SaveOutcome::NOTHING_CHANGED);
    EXPECT_EQ(takenBack, 2);
    EXPECT_EQ(boxes(), 1u);
}

}  // namespace
