// A message box, the file chooser and a clipboard read run a nested loop that can hand the window
// procedure messages while an update function still waits for the dialog's answer. These tests
// let the headless dialogs do what a desktop does (deliver the pending paint and the user's
// posted input) and check that the screen behind the dialog stays whole until the outermost
// message is done.

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gui/GuiButton.h"
#include "gui/GuiTextfield.h"
#include "gui/support/ProbeElement.h"
#include "gui/support/ScreenDriver.h"
#include "states/WindowProcedure.h"

using platform::Message;
using platform::MessageButtons;
using platform::MessageCode;
using platform::MessageIcon;
using platform::MessageResult;
using ::testing::ElementsAre;

namespace {

std::vector<std::string> journal;
State* editor = nullptr;
State* other = nullptr;
GuiTextfield* field = nullptr;
bool editorAlive = false;

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

MessageResult ask() {
    return platform::current().messageBox(L"Sure?", L"Question", MessageIcon::Question, MessageButtons::YesNo);
}

// Asks for another screen, then asks the user, then goes on working with its own screen, as an
// editor that confirms before it leaves does.
void switchThenAsk(const char* tag) {
    journal.push_back(std::string("update ") + tag);
    if (std::string(tag) != "OPEN") {
        return;
    }
    switchToState(other);
    ask();
    journal.push_back("after box: " + narrow(editor->description) + " " + narrow(field->visibleText()));
}

// Queues a follow-up for itself, then asks.
void queueThenAsk(const char* tag) {
    journal.push_back(std::string("update ") + tag);
    if (std::string(tag) == "OPEN") {
        addUpdate("LATER", editor);
        ask();
        journal.push_back("after box");
    }
}

void logAlive() { journal.push_back("alive"); }
void logTerminate() {
    editorAlive = false;
    journal.push_back("editor destroyed");
}

// A screen the test built that the state machine does not hold.
bool unshown(State* state) { return state != curState && state != nextState; }

class NestedLoopTest : public mernolex::test::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        journal.clear();
        other = createEmptyState(L"Other");
        editor = createEmptyState(L"Editor");
        editorAlive = true;
        editor->terminateFunc = logTerminate;
        field = addElementToState(editor, new GuiTextfield(500, 150, L"", false, 300, 40));
        addElementToState(editor, new GuiButton(BUTTON3, 500, 300, L"Open", "OPEN"));
    }

    void TearDown() override {
        if (unshown(other)) {
            deleteState(other);
        }
        if (editorAlive && unshown(editor)) {
            deleteState(editor);
        }
        ScreenTest::TearDown();
    }

    void showEditor(void (*update)(const char*)) {
        editor->updateFunc = update;
        show(editor);
        journal.clear();
    }

    // Clicks "Open"; the release's repaint waits, so the box's loop has a paint to deliver.
    void clickOpen() {
        press(500, 300);
        paint();
        journal.clear();
        release(500, 300);
    }
};

}  // namespace

TEST_F(NestedLoopTest, AScreenSwitchRequestedBeforeABoxWaitsUntilTheBoxHasAnswered) {
    showEditor(switchThenAsk);
    window->dialogs().answerMessageBox(MessageResult::Yes);
    const std::size_t paintsBefore = window->paints().size();

    clickOpen();

    EXPECT_THAT(journal, ElementsAre("update OPEN", "after box: Editor ", "editor destroyed"));
    EXPECT_EQ(other, curState);
    EXPECT_GT(window->paints().size(), paintsBefore);  // the box's loop did paint
}

TEST_F(NestedLoopTest, QueuedUpdatesAndTheAliveFunctionWaitForTheOutermostMessage) {
    editor->aliveFunc = logAlive;
    showEditor(queueThenAsk);

    clickOpen();
    EXPECT_THAT(journal, ElementsAre("update OPEN", "after box", "alive"));
    journal.clear();
    move(10, 10);
    EXPECT_THAT(journal, ElementsAre("update LATER", "alive"));
}

TEST_F(NestedLoopTest, InputGivenWhileTheBoxIsOpenArrivesAfterTheUpdateFunctionFinished) {
    showEditor(switchThenAsk);
    window->post(Message::keyDown(U'x', 'X'));
    window->post(Message::plain(MessageCode::Close));

    clickOpen();

    // Both waited for the switch: the key went to the other screen, which has no field, and the
    // close ended the program last of all.
    EXPECT_THAT(journal, ElementsAre("update OPEN", "after box: Editor ", "editor destroyed"));
    EXPECT_EQ(other, curState);
    EXPECT_TRUE(window->destroyed());
    EXPECT_EQ(0, window->quitCode());
}

TEST_F(NestedLoopTest, ACloseWhileTheBoxIsOpenReachesTheScreenOnlyAfterItsUpdateFunction) {
    editor->updateFunc = [](const char* tag) {
        journal.push_back(std::string("update ") + tag);
        if (std::string(tag) == "OPEN") {
            ask();
            journal.push_back("after box: " + narrow(field->visibleText()));
        }
    };
    show(editor);
    journal.clear();
    window->post(Message::keyDown(U'x', 'X'));
    window->post(Message::plain(MessageCode::Close));

    // Queued directly, so the field keeps the focus the key is meant for.
    addUpdate("OPEN", editor);
    framewRepaint();
    move(10, 10);

    EXPECT_THAT(journal, ElementsAre("update OPEN", "after box: ", "update FORCED_EXIT"));
    EXPECT_EQ(L"x", field->visibleText());
    EXPECT_TRUE(window->destroyed());
}

TEST_F(NestedLoopTest, ABoxShownOutsideAnyMessageOnlyPaintsToo) {
    // The start-up runs the state machine once before the message loop; a box there (from the
    // first screen's alive function) must not re-enter it either.
    editor->aliveFunc = [] {
        if (nextState == nullptr) {
            switchToState(other);
            ask();
            journal.push_back("after box: " + narrow(editor->description));
        }
    };
    nextState = editor;
    framewRepaint();
    updateStateStatus();  // installs the editor; the paint waits
    updateStateStatus();  // runs its alive function
    EXPECT_THAT(journal, ElementsAre("after box: Editor"));
    EXPECT_EQ(editor, curState);
    move(10, 10);
    EXPECT_EQ(other, curState);
}

TEST_F(NestedLoopTest, APaintInsideTheBoxRunsNoFocusFunction) {
    // The editor hides the focused element's page and asks; the focus moves (and its focus
    // function runs) only in the first paint after the box.
    State* pages = createEmptyState(L"Pages");
    addElementToState(pages, new mernolex::test::ProbeElement("A", journal, 10, 10, 50, 20, 1));
    addElementToState(pages, new mernolex::test::ProbeElement("B", journal, 100, 10, 50, 20, 2));
    pages->updateFunc = [](const char* tag) {
        journal.push_back(std::string("update ") + tag);
        curState->condition = 2;
        ask();
        journal.push_back("after box");
    };
    show(pages);
    journal.clear();
    addUpdate("HIDE", pages);
    framewRepaint();
    move(300, 300);
    EXPECT_THAT(journal, ElementsAre("update HIDE", "after box"));
    framewRepaint();
    paint();
    EXPECT_THAT(journal, ElementsAre("update HIDE", "after box", "A:focus-", "B:focus+"));
}
