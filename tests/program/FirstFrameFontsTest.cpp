#include <memory>
#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "model/Database.h"
#include "platform/headless/HeadlessPlatform.h"
#include "program/FirstFrameFonts.h"
#include "program/StartUp.h"
#include "resources/frameworkFileManager.h"
#include "shell/framework.h"
#include "states/WindowProcedure.h"
#include "support/TempDirTest.h"

namespace {

using DrawnAt = std::set<std::pair<std::wstring, int>>;

// The first start in an empty working directory, on a headless window whose painter measures
// with the real fonts, as the real window's does.
class FirstFrameFontsTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        platform::setCurrent(&window);
        window.setSink(&procedure);
    }
    void TearDown() override {
        shutDown();
        resetDatabase();
        framewReset();
        framewResetResources();
        platform::setCurrent(nullptr);
        TempDirTest::TearDown();
    }

    platform::HeadlessPlatform window;
    WindowProcedure procedure{window};
};

// The fonts warmed while the program starts are the first frame's: a caption or a height the
// welcome screen draws that the request lacks costs the first paint font sets of its own, one
// the request names that the screen does not draw costs the warming thread a core's time.
TEST_F(FirstFrameFontsTest, RequestNamesWhatTheWelcomeScreenDrawsInItsFirstFrame) {
    ASSERT_EQ(startUp({}), LOAD_DONE);
    window.invalidateAll();
    window.clearPaints();
    window.deliverPaint();
    ASSERT_NE(window.lastPaint(), nullptr);

    const platform::FontWarmUpRequest request = firstFrameFonts();
    DrawnAt drawn;
    for (const platform::DrawnText& text : window.lastPaint()->texts) {
        drawn.insert({text.text, text.font.cellHeight});
        EXPECT_EQ(text.font.face, request.face) << "drawn in another face: " << text.font.face;
        EXPECT_EQ(text.font.weight, request.weight);
    }
    DrawnAt requested;
    for (const platform::FontWarmUpText& text : request.texts) {
        if (text.drawnAt > 0) {
            requested.insert({text.text, text.drawnAt});
        }
    }
    EXPECT_EQ(requested, drawn);
}

}  // namespace
