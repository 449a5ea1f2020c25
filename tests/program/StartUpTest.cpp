#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "base/AtomicFile.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/DataPaths.h"
#include "model/Database.h"
#include "model/Flashcard.h"
#include "model/Language.h"
#include "model/M_W.h"
#include "model/Meaning.h"
#include "model/ProvisionalRecords.h"
#include "model/Word.h"
#include "platform/headless/HeadlessPlatform.h"
#include "practice/dayTester.h"
#include "program/StartUp.h"
#include "shell/framework.h"
#include "resources/frameworkFileManager.h"
#include "states/SaveTables.h"
#include "states/WindowProcedure.h"
#include "support/FileFaults.h"
#include "support/ForwardingPlatform.h"
#include "support/TempDirTest.h"

namespace {

namespace fs = std::filesystem;

// The program started in an empty working directory on a headless window, exactly as the
// executable starts it on the real one.
class StartUpTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        window = std::make_unique<platform::HeadlessPlatform>();
        observed = std::make_unique<mernolex::test::ForwardingPlatform>(*window);
        platform::setCurrent(observed.get());
        procedure = std::make_unique<WindowProcedure>(*observed);
        window->setSink(procedure.get());
    }
    void TearDown() override {
        stop();
        platform::setCurrent(nullptr);
        TempDirTest::TearDown();
    }

    int start() {
        return startUp([this] {
            shownWithTexts = curStrings[String_WELCOME_BACK] != nullptr;
            shownBeforeData = !fs::exists(DATA_DIR);
        });
    }
    // The program ends and everything it held in memory goes; the files stay.
    void stop() {
        shutDown();
        resetDatabase();
        framewReset();
        framewResetResources();
    }
    void restart() {
        stop();
        window = std::make_unique<platform::HeadlessPlatform>();
        observed = std::make_unique<mernolex::test::ForwardingPlatform>(*window);
        platform::setCurrent(observed.get());
        procedure = std::make_unique<WindowProcedure>(*observed);
        window->setSink(procedure.get());
    }
    bool paintedNow(const std::wstring& text) {
        window->invalidateAll();
        window->clearPaints();
        window->deliverPaint();
        return window->lastPaint() != nullptr && window->lastPaint()->findText(text) != nullptr;
    }
    const std::vector<platform::MessageBoxRequest>& boxes() const { return window->dialogs().messageBoxes(); }

    std::unique_ptr<platform::HeadlessPlatform> window;
    std::unique_ptr<mernolex::test::ForwardingPlatform> observed;
    std::unique_ptr<WindowProcedure> procedure;
    bool shownWithTexts = false;
    bool shownBeforeData = false;
};

TEST_F(StartUpTest, TheFirstStartCreatesTheDataAndOpensTheWelcomeScreenSilently) {
    EXPECT_EQ(start(), LOAD_DONE);
    EXPECT_TRUE(boxes().empty());
    // The window was shown with the interface texts loaded, before the database existed.
    EXPECT_TRUE(shownWithTexts);
    EXPECT_TRUE(shownBeforeData);
    for (const char* file : {"Data/Framework/strings.dat", "Data/Framework/stringpositions.dat",
                             "Data/Framework/colours.dat", "Data/Framework/fonts.dat",
                             "Data/Framework/fontfaces.dat", "Data/Framework/strings2.dat",
                             "Data/Framework/stringpositions2.dat", "Data/Level/levels.dat", "Data/timestamp.dat"}) {
        EXPECT_TRUE(fs::exists(file)) << file;
    }
    ASSERT_NE(curState, nullptr);
    EXPECT_EQ(curState->description, L"Welcome");
    EXPECT_TRUE(paintedNow(L"Welcome back!"));
    EXPECT_STREQ(preApplicationKeyboard, "00000409");
}

TEST_F(StartUpTest, AFrameworkFolderThatWentMissingIsWrittenAgainWithTheDefaults) {
    ASSERT_EQ(start(), LOAD_DONE);
    restart();
    fs::remove_all(FRAMEWORK_DIR);
    EXPECT_EQ(start(), LOAD_DONE);
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(fs::exists("Data/Framework/strings.dat"));
    EXPECT_TRUE(fs::exists("Data/Framework/colours.dat"));
    EXPECT_TRUE(paintedNow(L"Welcome back!"));
}

TEST_F(StartUpTest, ADamagedTableIsReportedBeforeTheWelcomeScreenExistsWhichThenFollows) {
    ASSERT_EQ(start(), LOAD_DONE);
    restart();
    fs::remove("Data/Lesson/lessons.dat");
    bool screenDuringBox = true;
    observed->onMessageBox = [&] {
        screenDuringBox = curState != nullptr || nextState != nullptr;
        // The box's own loop paints the window behind it.
        window->invalidateAll();
        window->deliverPaint();
    };

    EXPECT_EQ(start(), LOAD_RESET);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_FALSE(screenDuringBox);
    EXPECT_EQ(boxes()[0].text, curStrings[String_ERROR_LOAD_DB]);
    EXPECT_EQ(boxes()[0].caption, L"Information");
    EXPECT_EQ(boxes()[0].icon, platform::MessageIcon::Error);
    ASSERT_NE(curState, nullptr);
    EXPECT_EQ(curState->description, L"Welcome");
    EXPECT_TRUE(paintedNow(L"Welcome back!"));
}

TEST_F(StartUpTest, AfterAFatalLoadTheUserKeepsWorkingAndEveryFailedSaveSaysSo) {
    ASSERT_EQ(start(), LOAD_DONE);
    restart();
    // Nothing can be written where the languages live.
    fs::remove_all("Data/Language");
    writeFile("Data/Language", "in the way");

    EXPECT_EQ(start(), LOAD_FATAL);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, curStrings[String_ERROR_SAVE_DB]);
    ASSERT_NE(curState, nullptr);
    EXPECT_EQ(curState->description, L"Welcome");

    auto* language = new Language();
    language->set_name(L"Welsh", true);
    Language::add(language);
    EXPECT_FALSE(saveTablesOrWarn({D_LANGUAGE}));
    EXPECT_FALSE(saveTablesOrWarn({D_LANGUAGE}));
    EXPECT_EQ(boxes().size(), 3u);
    EXPECT_EQ(boxes()[2].text, curStrings[String_ERROR_SAVE_DB]);
}

TEST_F(StartUpTest, StartingOnANewDayLowersTheDueCountersAndStoresThem) {
    ASSERT_EQ(start(), LOAD_DONE);
    auto* language = new Language();
    language->set_name(L"French", true);
    auto* word = new Word(L"chat", L"", L"");
    word->setDependency(D_LANGUAGE, Language::add(language));
    auto* card = new Flashcard(false, 0);
    card->setDependency(D_WORD, Word::add(word));
    card->set_primaryNextDue(3, true);
    const unsigned cardId = Flashcard::add(card);
    saveDatabase(D_ENDTAG);
    writeTimestamp(static_cast<std::int32_t>(std::time(nullptr) - 2 * SECONDS_PER_DAY));

    restart();
    ASSERT_EQ(start(), LOAD_DONE);
    EXPECT_EQ(Flashcard::getById(cardId)->get_primaryNextDue(), 2);
    restart();
    ASSERT_EQ(start(), LOAD_DONE);
    // Stored by the first restart; the same day takes no second step.
    EXPECT_EQ(Flashcard::getById(cardId)->get_primaryNextDue(), 2);
}

TEST_F(StartUpTest, ClosingTheWindowGivesBackTheStartUpLayoutAndEndsWithCodeZero) {
    ASSERT_EQ(start(), LOAD_DONE);
    setKL("00000407");
    ASSERT_EQ(window->keyboardLayouts().activeLayout(), "00000407");
    window->send(platform::Message::plain(platform::MessageCode::Close));
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), "00000409");
    EXPECT_TRUE(window->destroyed());
    EXPECT_EQ(window->quitCode(), 0);
}

TEST_F(StartUpTest, TheWindowClosedWhileTheLoadBoxIsOpenEndsTheProgramCleanly) {
    ASSERT_EQ(start(), LOAD_DONE);
    restart();
    fs::remove("Data/Relations/cm.dat");
    observed->onMessageBox = [&] { window->send(platform::Message::plain(platform::MessageCode::Close)); };
    EXPECT_EQ(start(), LOAD_RESET);
    EXPECT_TRUE(window->destroyed());
    EXPECT_EQ(window->quitCode(), 0);
}

TEST_F(StartUpTest, AWordAKilledRunLeftBeforeItsSaveIsGoneBeforeTheWelcomeScreenAndNothingIsReported) {
    ASSERT_EQ(start(), LOAD_DONE);
    auto* language = new Language();
    language->set_name(L"Deutsch", true);
    const unsigned german = Language::add(language);
    auto* word = new Word(L"", L"", L"");
    word->setDependency(D_LANGUAGE, german);
    const unsigned wordId = Word::add(word);
    ASSERT_TRUE(noteProvisionalRecord(D_WORD, wordId));
    const unsigned meaningId = Meaning::add(new Meaning(1));
    M_W::add(new M_W(meaningId, wordId));
    ASSERT_EQ(saveDatabaseExternal(0), 0);

    // Killed here. The next start cannot save the removal: it says so, and lists no trace.
    restart();
    resetProvisionalRecords();
    fileFaults::failStep(1);  // the first file written after the load
    bool wordGoneBeforeWelcome = false;
    observed->onMessageBox = [&] { wordGoneBeforeWelcome = Word::getById(wordId) == nullptr && curState == nullptr; };
    EXPECT_EQ(start(), LOAD_DONE);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes().back().text, curStrings[String_ERROR_SAVE_DB]);
    EXPECT_TRUE(fileFaults::fired());
    fileFaults::failStep(0);
    EXPECT_TRUE(wordGoneBeforeWelcome);

    // The start after that removes it for good, silently.
    restart();
    resetProvisionalRecords();
    EXPECT_EQ(start(), LOAD_DONE);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(Word::getById(wordId), nullptr);
    EXPECT_EQ(Meaning::getById(meaningId), nullptr);
    EXPECT_FALSE(fs::exists(PROVISIONAL_RECORDS_FILE));
}

}  // namespace
