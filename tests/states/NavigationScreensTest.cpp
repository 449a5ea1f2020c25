#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "StatesFixture.h"
#include "states/FeedState.h"
#include "states/SettingsState.h"
#include "states/WelcomeState.h"

using ::testing::ElementsAre;

namespace {

int dailyChecks = 0;
void countDailyCheck() { ++dailyChecks; }

State* buildPracticeScreen() {
    State* state = createEmptyState(L"Practice screen");
    state->traceback = TRACEBACK_LINE;
    return state;
}
State* buildWordEditor() {
    State* state = createEmptyState(L"Word editor");
    state->traceback = TRACEBACK_LINE;
    return state;
}

class NavigationScreensTest : public states::test::StatesTest {
protected:
    void SetUp() override {
        StatesTest::SetUp();
        dailyChecks = 0;
    }
    void showWelcome() { show(createWelcomeState()); }
    // Presses Tab `times` times and notes the caption holding the focus after each.
    std::vector<std::wstring> tabCycle(int times) {
        std::vector<std::wstring> seen{focusedCaption()};
        for (int i = 0; i < times; ++i) {
            type(L"\t");
            seen.push_back(focusedCaption());
        }
        return seen;
    }
};

TEST_F(NavigationScreensTest, TheTracebackLineFollowsTheWayFromWelcomeToSettingsAndBack) {
    showWelcome();
    EXPECT_TRUE(painted(L" > Welcome"));
    EXPECT_TRUE(painted(L"Welcome back!"));

    pressButton(L"✎");
    ASSERT_NE(curState, nullptr);
    EXPECT_EQ(curState->description, L"Settings ✎");
    EXPECT_TRUE(painted(L" > Welcome > Settings ✎"));
    screenshot("settings");

    pressButton(L"⋘");
    EXPECT_EQ(curState->description, L"Welcome");
    EXPECT_TRUE(painted(L" > Welcome"));
    // Back from the root of the chain re-enters the welcome screen.
    State* welcome = curState;
    pressButton(L"✎");
    pressButton(L"⋘");
    EXPECT_EQ(curState, welcome);
}

TEST_F(NavigationScreensTest, FeedLeadsOnToSettingsAndBackTheSameWay) {
    showWelcome();
    pressButton(L"Feed");
    EXPECT_TRUE(painted(L" > Welcome > Feed"));
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"Smart Feed", L"✎", L"⋘"));
    screenshot("feed");

    pressButton(L"✎");
    EXPECT_TRUE(painted(L" > Welcome > Feed > Settings ✎"));
    pressButton(L"⋘");
    EXPECT_EQ(curState->description, L"Feed");
    pressButton(L"⋘");
    EXPECT_EQ(curState->description, L"Welcome");
}

TEST_F(NavigationScreensTest, TabCyclesTheWelcomeButtonsInTheirOrder) {
    linkScreen(LinkedScreen::Practice, buildPracticeScreen);
    showWelcome();
    EXPECT_THAT(tabCycle(3), ElementsAre(L"Practice", L"Feed", L"✎", L"Practice"));
    screenshot("welcome");

    // Enter on the focused button acts like a click.
    type(L"\r");
    paint();
    EXPECT_EQ(curState->description, L"Practice screen");
    EXPECT_TRUE(painted(L" > Welcome > Practice screen"));
}

TEST_F(NavigationScreensTest, AScreenNotYetLinkedInHasNoButton) {
    showWelcome();
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"Feed", L"✎"));
    EXPECT_THAT(tabCycle(2), ElementsAre(L"Feed", L"✎", L"Feed"));
    pressButton(L"✎");
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"⋘"));

    linkScreen(LinkedScreen::Words, buildWordEditor);
    pressButton(L"⋘");
    pressButton(L"✎");
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"Words", L"⋘"));
    const GuiButton* words = buttonCaptioned(L"Words");
    EXPECT_EQ(words->getX() + words->getWidth() / 2, 680);
    EXPECT_EQ(words->getY() + words->getHeight() / 2, 430);
    pressButton(L"Words");
    EXPECT_TRUE(painted(L" > Welcome > Settings ✎ > Word editor"));
}

TEST_F(NavigationScreensTest, TheDailyCheckRunsWhenTheWelcomeScreenIsBuiltAndAtNoOtherScreen) {
    linkDailyCheck(countDailyCheck);
    showWelcome();
    EXPECT_EQ(dailyChecks, 1);
    pressButton(L"Feed");
    pressButton(L"✎");
    pressButton(L"⋘");
    pressButton(L"⋘");
    EXPECT_EQ(dailyChecks, 1);
}

TEST_F(NavigationScreensTest, SmartFeedPrintsItsMessageOncePerPressAndStaysPut) {
    showWelcome();
    pressButton(L"Feed");
    State* feed = curState;
    testing::internal::CaptureStdout();
    pressButton(L"Smart Feed");
    pressButton(L"Smart Feed");
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "This button is not properly implemented yet!\nThis button is not properly implemented yet!\n");
    EXPECT_EQ(curState, feed);
    EXPECT_EQ(focusedCaption(), L"Smart Feed");
}

TEST_F(NavigationScreensTest, TranslatedTextsChangeTheCaptionsAndTheTracebackLine) {
    const std::wstring welcome = L"Willkommen", welcomeBack = L"Willkommen zurück!", feed = L"Futter",
                       settings = L"Einstellungen", back = L"Zurück";
    curStrings[String_WELCOME_STATE] = welcome.c_str();
    curStrings[String_WELCOME_BACK] = welcomeBack.c_str();
    curStrings[String_FEED] = feed.c_str();
    curStrings[String_SETTINGS_TITLE] = settings.c_str();
    curStrings[String_BACK_SYMBOL] = back.c_str();
    ASSERT_TRUE(saveValues());
    framewReset();
    framewResetResources();
    framewUpdate(window.get());
    framewInit(1000, 500);
    getKL(preApplicationKeyboard);

    showWelcome();
    EXPECT_TRUE(painted(L"Willkommen zurück!"));
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"Futter", L"✎"));
    pressButton(L"Futter");
    pressButton(L"✎");
    EXPECT_TRUE(painted(L" > Willkommen > Futter > Einstellungen"));
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"Zurück"));
}

}  // namespace
