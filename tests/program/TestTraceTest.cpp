#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "gui/GuiText.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "gui/support/ScreenDriver.h"
#include "program/TestTrace.h"
#include "shell/frameworkPainter.h"

namespace {

// The trace the end-to-end tests read: a line for each change of screen or page, one for each
// painted text, and nothing at all unless MERNOLEX_TRACE asks for it.
class TestTraceTest : public mernolex::test::ScreenTest {
protected:
    void TearDown() override {
        unsetenv(TRACE_VARIABLE);
        framewWatchPaintedText(nullptr);
        stateMachineReset();
        ScreenTest::TearDown();
    }

    static State* screenWithText(const wchar_t* description, const wchar_t* text) {
        State* state = createEmptyState(description);
        addElementToState(state, new GuiText(text, 500, 250, 400, 50, FONT1, TEXT_CENTRE));
        return state;
    }
};

TEST_F(TestTraceTest, WithoutTheVariableNothingIsWatchedOrPrinted) {
    setenv(TRACE_VARIABLE, "", 1);  // set but empty counts as not set
    const RealWindowObservers observers = traceObservers();
    EXPECT_FALSE(observers.started);
    EXPECT_FALSE(observers.handled);

    testing::internal::CaptureStdout();
    show(screenWithText(L"Words", L"Haus"));
    repaintAll();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(TestTraceTest, EachChangeOfScreenOrPageIsPrintedOnceAndEveryPaintedTextWithIt) {
    setenv(TRACE_VARIABLE, "1", 1);
    const RealWindowObservers observers = traceObservers();
    ASSERT_TRUE(observers.started);
    ASSERT_TRUE(observers.handled);

    testing::internal::CaptureStdout();
    show(screenWithText(L"Wörter", L"Straße\nund Haus"));
    observers.started();
    observers.started();  // nothing changed
    curState->condition = 2;
    observers.started();
    show(screenWithText(L"Kategorien", L"Haus"));
    observers.started();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed,
              "text Straße und Haus\n"
              "screen Wörter page 0\n"
              "screen Wörter page 2\n"
              "text Haus\n"
              "screen Kategorien page 0\n");
}

}  // namespace
