#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gui/GuiItemfield.h"
#include "gui/GuiTextfield.h"
#include "gui/guiShiftfield.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::ScreenTest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> journal;

void chosen() { journal.push_back("chosen"); }
void leftShifted() { journal.push_back("left"); }
void rightShifted() { journal.push_back("right"); }
void logUpdate(const char* tag) { journal.push_back(std::string("update ") + tag); }

class ItemfieldTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        journal.clear();
        screen = createEmptyState(L"Lists");
        screen->updateFunc = logUpdate;
    }
    void TearDown() override {
        if (curState != screen) {
            deleteState(screen);  // never shown: nobody else owns it
        }
        ScreenTest::TearDown();
    }
    std::vector<std::string> take() {
        std::vector<std::string> taken;
        taken.swap(journal);
        return taken;
    }
    static void fill(GuiItemfield& list, int count) {
        for (int i = 1; i <= count; ++i) {
            list.addItem(std::to_wstring(i).c_str());
            list.setLastId(static_cast<unsigned>(i * 10));
        }
    }

    State* screen = nullptr;
};

}  // namespace

TEST_F(ItemfieldTest, RowsShrinkOnceTheEntriesNoLongerFitThirtyUnitsEach) {
    GuiItemfield* list = addElementToState(screen, new GuiItemfield(143, 119, 408, 343));
    fill(*list, 11);
    EXPECT_EQ(30, list->getCurrentLineHeight());
    list->addItem(L"12");
    EXPECT_EQ(28, list->getCurrentLineHeight());  // 343 / 12

    // Every row is laid out again: the last one starts at 119 + 11 * 28 and is hit there.
    show(screen);
    click(300, 119 + 11 * 28 + 5);
    EXPECT_EQ(11, list->getActivePosition());
    click(300, 119 + 28 + 5);
    EXPECT_EQ(1, list->getActivePosition());
    EXPECT_EQ(20u, list->getActiveId());
}

TEST_F(ItemfieldTest, EveryClickInTheListChoosesAnEntryAndRunsTheSpecialFunction) {
    GuiItemfield* list = addElementToState(screen, new GuiItemfield(100, 100, 200, 300));
    list->setSpecFunc(chosen);
    show(screen);
    click(150, 150);  // an empty list: focus only
    EXPECT_THAT(take(), IsEmpty());
    EXPECT_TRUE(list->getFocus());

    fill(*list, 3);
    EXPECT_EQ(0, list->getActivePosition());
    click(150, 100 + 30 + 10);
    EXPECT_EQ(1, list->getActivePosition());
    click(150, 100 + 30 + 10);  // the same entry again
    click(150, 380);             // below the last entry
    EXPECT_EQ(2, list->getActivePosition());
    EXPECT_STREQ(L"3", list->getActiveEntry());
    EXPECT_THAT(take(), ElementsAre("chosen", "chosen", "chosen"));

    press(150, 110);
    release(350, 110);  // dragged off the list
    EXPECT_EQ(2, list->getActivePosition());
    EXPECT_THAT(take(), IsEmpty());

    // The highlight follows the active entry.
    repaintAll();
    bool marked = false;
    for (const platform::DrawnRect& r : window->lastPaint()->rects) {
        marked = marked || (r.brush == colours[MARKED_RGB] && r.rect.top == 160 && r.rect.bottom == 190);
    }
    EXPECT_TRUE(marked);
    EXPECT_TRUE(painted(L"3"));
}

TEST_F(ItemfieldTest, UpAndDownMoveTheActiveEntryWithinTheList) {
    GuiItemfield* list = addElementToState(screen, new GuiItemfield(100, 100, 200, 300));
    list->setSpecUpdate("LIST_CHANGED");
    fill(*list, 1);
    show(screen);
    key(platform::key::Down);  // a single entry: nothing
    EXPECT_THAT(take(), IsEmpty());

    fill(*list, 2);
    key(platform::key::Up);  // already first
    key(platform::key::Down);
    key(platform::key::Down);
    key(platform::key::Down);  // already last
    EXPECT_EQ(2, list->getActivePosition());
    key(platform::key::Up);
    type(L"x");
    EXPECT_EQ(1, list->getActivePosition());
    EXPECT_THAT(take(), ElementsAre("update LIST_CHANGED", "update LIST_CHANGED", "update LIST_CHANGED"));
}

TEST_F(ItemfieldTest, DeletingKeepsANeighbourActiveAndIdsInStep) {
    GuiItemfield list(0, 0, 200, 300);
    fill(list, 4);
    list.setActivePosition(1);
    list.deleteItem();  // "2" goes, "3" becomes active
    EXPECT_STREQ(L"3", list.getActiveEntry());
    EXPECT_EQ(30u, list.getActiveId());
    list.setActivePosition(2);
    list.deleteItem();  // the last one goes, its predecessor becomes active
    EXPECT_STREQ(L"3", list.getActiveEntry());
    list.deleteLastItem();  // the active last one: its predecessor
    EXPECT_STREQ(L"1", list.getActiveEntry());
    EXPECT_EQ(10u, list.getActiveId());

    list.setActivePosition(7);  // ignored
    list.setActiveToId(99);     // ignored
    EXPECT_EQ(0, list.getActivePosition());
    list.addItem(L"x");
    list.setLastId(10);
    list.setActivePosition(1);
    list.setActiveToId(10);  // the first with that id
    EXPECT_EQ(0, list.getActivePosition());
    EXPECT_TRUE(list.containsId(10));

    list.clearField();
    EXPECT_EQ(-1, list.getActivePosition());
    EXPECT_STREQ(L"", list.getActiveEntry());
    EXPECT_EQ(0u, list.getActiveId());
    list.deleteItem();
    list.deleteLastItem();
    list.changeItem(L"nothing to change");
    EXPECT_EQ(0, list.getNumberOfCurrentElements());
}

TEST_F(ItemfieldTest, ShiftingMovesTheActiveEntryWithItsIdAndTellsBothLists) {
    setConditional(screen, 2);
    GuiItemfield* left = nullptr;
    GuiItemfield* right = nullptr;
    createGuiShiftfield("USE", "DONT_USE", L"Use", L"Don't use", 500, 285, 900, 180, &left, &right);
    ASSERT_NE(nullptr, left);
    ASSERT_NE(nullptr, right);
    EXPECT_EQ(2, left->getConditions());
    EXPECT_EQ(left, getElementByTag("USE", screen));
    // widthItem = trunc(820 * 0.4) = 328; the lists lie 40 units either side of the centre.
    EXPECT_EQ(500 - 328 - 40, left->getX());
    EXPECT_EQ(540, right->getX());
    EXPECT_EQ(195, left->getY());
    left->setShiftFunc(leftShifted);
    right->setShiftFunc(rightShifted);
    left->addItem(L"Haus");
    left->setLastId(7);
    show(screen);

    click(500, 265);  // "»"
    EXPECT_EQ(0, left->getNumberOfCurrentElements());
    ASSERT_EQ(1, right->getNumberOfCurrentElements());
    EXPECT_STREQ(L"Haus", right->getActiveEntry());
    EXPECT_EQ(7u, right->getActiveId());
    EXPECT_THAT(take(), ElementsAre("left", "right"));

    click(500, 265);  // nothing left to shift
    EXPECT_THAT(take(), IsEmpty());
    click(500, 305);  // "«": back, with the source's function first
    EXPECT_EQ(1, left->getNumberOfCurrentElements());
    EXPECT_EQ(7u, left->getActiveId());
    EXPECT_THAT(take(), ElementsAre("right", "left"));
    repaintAll();
    EXPECT_TRUE(painted(L"Don't use"));
    EXPECT_TRUE(painted(L"\u00BB"));
}
