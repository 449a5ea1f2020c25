#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gui/GuiRect.h"
#include "gui/SpecFuncElement.h"
#include "gui/support/ProbeElement.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::ProbeElement;
using mernolex::test::ScreenTest;
using ::testing::ElementsAre;

namespace {

std::vector<std::string> journal;

void noArgument() { journal.push_back("none"); }
void oneArgument(const void* t) { journal.push_back(std::string("one ") + static_cast<const char*>(t)); }
void logUpdate(const char* tag) { journal.push_back(std::string("update ") + tag); }

class Chooser : public ProbeElement, public SpecFuncElement {
public:
    Chooser() : ProbeElement("CHOOSER", ::journal, 0, 0) {}
    void setSpecFuncToFunc() override { internalSpecFuncToFunc(this); }
};

class ElementBaseTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        journal.clear();
    }
};

}  // namespace

TEST_F(ElementBaseTest, HitTestsIncludeEveryEdgeAndOnlyPressAndReleaseInsideIsAClick) {
    ProbeElement e("E", journal, 100, 100, 50, 20);
    EXPECT_TRUE(e.checkPos(100, 100));
    EXPECT_TRUE(e.checkPos(150, 120));
    EXPECT_TRUE(e.checkPos(125, 110));
    EXPECT_FALSE(e.checkPos(151, 110));
    EXPECT_FALSE(e.checkPos(125, 99));

    EXPECT_TRUE(e.clickPos(110, 110));
    EXPECT_FALSE(e.unclickPos(300, 300));  // dragged off
    EXPECT_FALSE(e.isClicked());
    EXPECT_FALSE(e.clickPos(300, 300));
    EXPECT_FALSE(e.unclickPos(110, 110));  // pressed outside
    EXPECT_TRUE(e.isHovered());
    e.clickPos(110, 110);
    EXPECT_TRUE(e.unclickPos(150, 120));

    // No overflow at the end of the int range.
    ProbeElement far("F", journal, 2147483600, 0, 1000, 10);
    EXPECT_TRUE(far.checkPos(2147483647, 5));
}

TEST_F(ElementBaseTest, GainingTheFocusTwiceNeitherRunsTheFocusFunctionAgainNorRepaints) {
    ProbeElement e("E", journal, 100, 100);
    e.setFunc(noArgument);
    e.changeFocus(true);
    EXPECT_TRUE(window->updateRect().has_value());
    window->deliverPaint();
    window->clearPaints();
    framewBeginPaint();  // nothing invalid: an empty paint
    framewEndPaint();
    e.changeFocus(true);
    EXPECT_FALSE(window->updateRect().has_value());
    EXPECT_THAT(journal, ElementsAre("E:focus+", "none"));
    EXPECT_EQ(true, e.setFocus(false));
}

TEST_F(ElementBaseTest, TheSpecialFunctionPrefersCallbacksThenTheFocusFunctionThenTheUpdateTag) {
    State* s = createEmptyState(L"S");
    s->updateFunc = logUpdate;
    Chooser* chooser = addElementToState(s, new Chooser);
    show(s);
    chooser->setFunc(oneArgument, "focus");
    journal.clear();

    chooser->triggerSpecFunc();  // nothing set yet
    chooser->setSpecUpdate("CHOSEN");
    chooser->triggerSpecFunc();
    chooser->setSpecFuncToFunc();
    chooser->triggerSpecFunc();
    chooser->setSpecFunc(oneArgument, "special");
    chooser->triggerSpecFunc();
    chooser->setSpecFunc(noArgument);
    chooser->triggerSpecFunc();
    updateStateStatus();
    EXPECT_THAT(journal, ElementsAre("one focus", "one special", "none", "update CHOSEN"));
}

TEST_F(ElementBaseTest, ARectanglePaintsItsColourWithItsPen) {
    State* s = createEmptyState(L"S");
    addElementToState(s, new GuiRect(0x0000FF, 10, 20, 100, 50, PEN_NULL));
    show(s);
    EXPECT_EQ(0x0000FFu, window->pixel(50, 40));
    EXPECT_EQ(0x0000FFu, window->pixel(10, 20));  // no outline
    EXPECT_NE(0x0000FFu, window->pixel(110, 40));
}
