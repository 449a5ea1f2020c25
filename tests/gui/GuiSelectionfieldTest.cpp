#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gui/GuiButton.h"
#include "gui/GuiSelectionfield.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::ScreenTest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> journal;

void changed() { journal.push_back("changed"); }
void pressed() { journal.push_back("pressed"); }

// A field centred at (500, 100), 300 x 40: it covers y 80..120, its list opens below y 120.
class SelectionfieldTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        journal.clear();
        screen = createEmptyState(L"Choose");
        addElementToState(screen, new GuiButton(BUTTON3, 500, 170, L"Behind", pressed));
        field = addElementToState(screen, new GuiSelectionfield(500, 100, 300, 40));
        field->setSpecFunc(changed);
        for (const wchar_t* language : {L"English", L"German", L"Hebrew"}) {
            field->addItem(language);
        }
        field->setLastId(3);
        journal.clear();  // the first entry became the shown one
    }
    std::vector<std::string> take() {
        std::vector<std::string> taken;
        taken.swap(journal);
        return taken;
    }
    void openField() {
        click(500, 100);
        paint();  // the open list becomes the screen's superior element with this paint
    }

    State* screen = nullptr;
    GuiSelectionfield* field = nullptr;
};

}  // namespace

TEST_F(SelectionfieldTest, ChoosingAnEntryFromTheUnfoldedListShowsItAndTellsTheScreenOnce) {
    show(screen);
    EXPECT_STREQ(L"English", field->getShownText());
    openField();
    ASSERT_TRUE(field->isUnfolded());
    EXPECT_EQ(field, screen->superior);
    EXPECT_EQ(90, field->getItemfield().getHeight());  // three rows of 30
    EXPECT_TRUE(painted(L"Hebrew"));

    click(500, 120 + 30 + 15);  // over the button behind the list: only the list hears it
    EXPECT_FALSE(field->isUnfolded());
    EXPECT_EQ(0, field->getItemfield().getHeight());
    EXPECT_STREQ(L"German", field->getShownText());
    EXPECT_THAT(take(), ElementsAre("changed"));
    paint();
    EXPECT_EQ(nullptr, screen->superior);

    openField();
    click(500, 120 + 30 + 15);  // the entry already shown
    EXPECT_THAT(take(), IsEmpty());
    openField();
    click(900, 400);  // anywhere else: closes, the choice stays
    EXPECT_FALSE(field->isUnfolded());
    EXPECT_STREQ(L"German", field->getShownText());
    click(500, 170);  // with the list closed the button is reachable again
    EXPECT_THAT(take(), ElementsAre("pressed"));
}

TEST_F(SelectionfieldTest, UnfoldingAFieldWithoutTheFocusRepaintsItsFocusedLook) {
    // The button added first holds the focus; the field takes it when it unfolds. The window
    // shows only what was invalidated, so the field itself must be, not just the list and the
    // button that lost the focus.
    show(screen);
    ASSERT_FALSE(field->getFocus());
    click(500, 100);
    ASSERT_TRUE(field->getFocus());
    const auto invalid = window->updateRect();
    ASSERT_TRUE(invalid.has_value());
    EXPECT_LE(invalid->top, 80);
    EXPECT_LE(invalid->left, 350);
    EXPECT_GE(invalid->right, 650);
}

TEST_F(SelectionfieldTest, KeysOpenCloseAndStepThroughTheEntries) {
    show(screen);
    type(L"\t");  // from the button to the field
    type(L" ");
    EXPECT_TRUE(field->isUnfolded());
    key(platform::key::Down);
    EXPECT_STREQ(L"German", field->getShownText());
    type(L"\r");  // folds without another change
    EXPECT_FALSE(field->isUnfolded());
    key(platform::key::Down);  // also while folded
    key(platform::key::Down);  // already the last one
    EXPECT_STREQ(L"Hebrew", field->getShownText());
    EXPECT_EQ(3u, field->getActiveId());
    EXPECT_THAT(take(), ElementsAre("changed", "changed"));

    field->setEditable(false);
    type(L" ");
    key(platform::key::Up);
    click(500, 100);
    EXPECT_FALSE(field->isUnfolded());
    EXPECT_STREQ(L"Hebrew", field->getShownText());

    field->setActivePosition(0);
    field->setActiveToId(3);
    EXPECT_THAT(take(), ElementsAre("changed", "changed"));
    field->clearField();
    EXPECT_STREQ(L"", field->getShownText());
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(SelectionfieldTest, TheUnfoldedListNeverReachesBelowTheCanvas) {
    GuiSelectionfield* low = addElementToState(screen, new GuiSelectionfield(500, 450, 300, 40));  // y 430..470
    GuiSelectionfield* empty = addElementToState(screen, new GuiSelectionfield(200, 300, 200, 40));
    for (int i = 0; i < 5; ++i) {
        low->addItem(L"entry");
    }
    show(screen);
    low->unfoldItemfield(true);
    EXPECT_EQ(30, low->getItemfield().getHeight());  // 500 - 470
    EXPECT_EQ(470, low->getItemfield().getY());
    empty->unfoldItemfield(true);
    EXPECT_EQ(30, empty->getItemfield().getHeight());  // one row even without entries
    low->unfoldItemfield(false);
    EXPECT_EQ(0, low->getItemfield().getHeight());
}
