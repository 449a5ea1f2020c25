#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "StatesFixture.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiSearchItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "model/Language.h"
#include "states/ListState.h"
#include "states/UpdateTable.h"

using ::testing::ElementsAre;

namespace {

std::vector<std::string> updates;
void noteUpdate(const char* tag) { updates.emplace_back(tag); }

class ListStateTest : public states::test::StatesTest {
protected:
    void SetUp() override {
        StatesTest::SetUp();
        updates.clear();
        startDatabase();
    }

    void showList(int flags) {
        State* list = createListState(L"Words", L"Word", flags);
        list->updateFunc = noteUpdate;
        show(list);
    }
    static int centreY(const char* tag) {
        const GuiElement* element = getElementByTag(tag, curState);
        return element == nullptr ? -1 : element->getY() + element->getHeight() / 2;
    }
    static unsigned addLanguage(const wchar_t* name) {
        auto* language = new Language();
        language->set_name(name, true);
        return Language::add(language);
    }
};

TEST_F(ListStateTest, WithoutTheFilterTheButtonsStandAHundredApart) {
    showList(0);
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"New Word", L"Edit Word", L"Delete Word", L"⋘"));
    EXPECT_EQ(centreY(TAG_BUTTON_NEW), 191);
    EXPECT_EQ(centreY(TAG_BUTTON_EDIT), 291);
    EXPECT_EQ(centreY(TAG_BUTTON_DELETE), 391);
    EXPECT_EQ(getElementByTag(TAG_SELECTION_LANGUAGE, curState), nullptr);
    // A plain list, not a searchable one.
    auto* list = getElementByTag<GuiItemfield>(TAG_ITEMLIST, curState);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(dynamic_cast<GuiSearchItemfield*>(list), nullptr);
    EXPECT_TRUE(painted(L"Words"));
    screenshot("list-plain");
}

TEST_F(ListStateTest, WithTheFilterTheButtonsMoveBelowItAndItListsAllLanguagesThenEachByName) {
    const unsigned german = addLanguage(L"German");
    const unsigned english = addLanguage(L"English");
    showList(LIST_LANGUAGE_FILTER);
    EXPECT_EQ(centreY(TAG_BUTTON_NEW), 244);
    EXPECT_EQ(centreY(TAG_BUTTON_EDIT), 338);
    EXPECT_EQ(centreY(TAG_BUTTON_DELETE), 432);
    auto* filter = getElementByTag<GuiSelectionfield>(TAG_SELECTION_LANGUAGE, curState);
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(centreY(TAG_SELECTION_LANGUAGE), 151);
    const GuiItemfield& entries = filter->getItemfield();
    ASSERT_EQ(entries.getNumberOfCurrentElements(), 3);
    EXPECT_STREQ(entries.getEntry(0), L"All languages");
    EXPECT_EQ(entries.getEntryId(0), 0u);
    EXPECT_STREQ(entries.getEntry(1), L"English");
    EXPECT_EQ(entries.getEntryId(1), english);
    EXPECT_STREQ(entries.getEntry(2), L"German");
    EXPECT_EQ(entries.getEntryId(2), german);
    EXPECT_STREQ(filter->getShownText(), L"All languages");
    screenshot("list-filter");

    // The filter unfolds on top of the buttons below it.
    click(775, 151);
    paint();
    EXPECT_TRUE(filter->isUnfolded());
    screenshot("list-filter-unfolded");
}

TEST_F(ListStateTest, FlagTwoMakesTheListSearchable) {
    showList(LIST_SEARCHABLE);
    EXPECT_NE(getElementByTag<GuiSearchItemfield>(TAG_ITEMLIST, curState), nullptr);
    EXPECT_EQ(getElementByTag(TAG_SELECTION_LANGUAGE, curState), nullptr);
    EXPECT_EQ(centreY(TAG_BUTTON_NEW), 191);

    showList(LIST_LANGUAGE_FILTER | LIST_SEARCHABLE);
    EXPECT_NE(getElementByTag<GuiSearchItemfield>(TAG_ITEMLIST, curState), nullptr);
    EXPECT_NE(getElementByTag(TAG_SELECTION_LANGUAGE, curState), nullptr);
    screenshot("list-search-filter");
}

TEST_F(ListStateTest, TheEditorHearsInitFirstAndThenEachButton) {
    showList(0);
    // INIT is delivered after the first message the new screen sees.
    move(10, 10);
    EXPECT_THAT(updates, ElementsAre("INIT"));
    pressButton(L"New Word");
    pressButton(L"Edit Word");
    pressButton(L"Delete Word");
    EXPECT_THAT(updates, ElementsAre("INIT", "NEW_PRESSED", "EDIT_PRESSED", "DELETE_PRESSED"));
    EXPECT_EQ(curState->condition, LIST_PAGE);
    EXPECT_TRUE(painted(L" > Words"));
}

TEST_F(ListStateTest, TheEditorAddsItsPagesInTheBuildingContextTheListLeaves) {
    State* list = createListState(L"Words", L"Word", 0);
    EXPECT_EQ(getConditionalState(), list);
    setConditional(list, 2);
    auto* editPage = addConTagedElTState(new GuiText(L"Edit page", 500, 250, 300, 40, FONT1, TEXT_CENTRE), "EDIT_TITLE");
    EXPECT_EQ(editPage->getConditions(), 2);
    show(list);
    EXPECT_FALSE(painted(L"Edit page"));
    EXPECT_TRUE(painted(L"Words"));
}

int initCalls = 0;
int newCalls = 0;
void onInit() { ++initCalls; }
void onNew() { ++newCalls; }
constexpr UpdateHandler handlers[] = {{UPDATE_INIT, onInit}, {UPDATE_NEW_PRESSED, onNew}};

TEST(UpdateTable, RunsTheHandlerOfTheMatchingTagOnly) {
    EXPECT_TRUE(dispatchUpdate(handlers, "NEW_PRESSED"));
    EXPECT_TRUE(dispatchUpdate(handlers, "INIT"));
    EXPECT_TRUE(dispatchUpdate(handlers, "INIT"));
    EXPECT_FALSE(dispatchUpdate(handlers, "INIT_"));
    EXPECT_FALSE(dispatchUpdate(handlers, nullptr));
    EXPECT_EQ(initCalls, 2);
    EXPECT_EQ(newCalls, 1);
}

}  // namespace
