// A new user's first minutes: the program started on an empty collection offers a way to words,
// and from the first start to the first judged answer takes at most five clicks with the sample.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "gui/GuiButton.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "gui/support/ScreenDriver.h"
#include "model/Database.h"
#include "model/Flashcard.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeScreen.h"
#include "program/StartUp.h"
#include "resources/frameworkFileManager.h"
#include "screens/ImportScreen.h"

namespace {

class FirstWordsTest : public mernolex::test::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        std::filesystem::remove_all("Data");
        ASSERT_EQ(startUp({}), LOAD_DONE);
        paint();
    }
    void TearDown() override {
        shutDown();
        resetDatabase();
        framewResetResources();
        ScreenTest::TearDown();
    }

    // A click on the button of that caption, counted.
    void clickOn(const std::wstring& caption) {
        ASSERT_TRUE(clickCaption(caption)) << "no \"" << std::string(caption.begin(), caption.end()) << "\" shown";
        ++clicks;
        paint();
    }
    // Lets the window paint until the import screen's work is done.
    void letItWork() {
        for (int i = 0; i < 100000 && (import_screen::screen.phase == import_screen::Phase::Previewing ||
                                        import_screen::screen.phase == import_screen::Phase::Storing ||
                                        import_screen::screen.phase == import_screen::Phase::Saving);
             ++i) {
            if (!paint()) {
                wake();  // the save's thread wakes the window once its append has ended
            }
        }
        paint();
    }

    // The canvas as a PNG in $MERNOLEX_SCREENSHOTS, for a look while developing.
    void screenshot(const std::string& name) const {
        if (const char* directory = std::getenv("MERNOLEX_SCREENSHOTS")) {
            window->savePng(std::string(directory) + "/" + name + ".png");
        }
    }

    unsigned clicks = 0;
};

TEST_F(FirstWordsTest, TheSampleLeadsToAJudgedAnswerInAtMostFiveClicks) {
    repaintAll();
    EXPECT_TRUE(painted(L"Import words"));
    EXPECT_TRUE(painted(L"Try a sample collection"));
    screenshot("welcome-first-words");
    clickOn(L"Try a sample collection");
    letItWork();
    EXPECT_GT(Flashcard::elementTree().size(), 200u);
    repaintAll();
    EXPECT_TRUE(painted(L"Stored: 226 new cards, 0 updated.")) << "the sample says what it stored";
    clickOn(L"Practice");
    clickOn(L"Start");
    ASSERT_EQ(practiceRun.phase, RunPhase::Question);
    type(L"Haus");
    paint();
    // A card of several parts (word and article, word and verb) shows Next before Submit.
    for (int part = 0; part < 3 && practiceRun.phase == RunPhase::Question; ++part) {
        const bool last = curState->takesPart(*practiceScreen.buttonSubmit);
        clickOn((last ? practiceScreen.buttonSubmit : practiceScreen.buttonNext)->getText());
    }
    EXPECT_TRUE(practiceRun.phase == RunPhase::Result || practiceRun.phase == RunPhase::Forced);
    EXPECT_LE(clicks, 5u);
    // Back on the welcome screen, the first steps have done their work.
    for (int step = 0; step < 10 && curState != nullptr && curState->previous != nullptr; ++step) {
        rollbackFlag = true;
        repaintAll();
    }
    // The welcome screen sees the cards after a message and switches its page with the next one.
    for (int i = 0; i < 3; ++i) {
        repaintAll();
    }
    EXPECT_TRUE(painted(L"Practice"));
    EXPECT_FALSE(painted(L"Try a sample collection"));
}

TEST_F(FirstWordsTest, PracticeWithoutFlashcardsSaysSoAndOffersTheWayToWords) {
    clickOn(L"Practice");
    repaintAll();
    EXPECT_TRUE(painted(L"There are no flashcards yet."));
    screenshot("practice-no-cards");
    EXPECT_FALSE(painted(L"All done for today!"));
    clickOn(L"Try a sample collection");
    letItWork();
    clickOn(L"Practice");  // back to the practice screen it came from, now with its options
    repaintAll();
    EXPECT_TRUE(painted(L"Start"));
    EXPECT_FALSE(painted(L"There are no flashcards yet."));
}

}  // namespace
