#include <gmock/gmock.h>

#include "EditorTest.h"
#include "base/FileTransaction.h"
#include "screens/stateCategory.h"
#include "states/SettingsState.h"
#include "support/SimulatedDisk.h"

using ::testing::ElementsAre;

namespace {

using modeltest::addLanguage;
using modeltest::addWord;
using mernolex::test::SimulatedDisk;
using screens::test::MessageResult;

class CategoryEditorTest : public screens::test::EditorTest {
protected:
    void showEditor() { show(createCategoryState()); }
    void addCategory(std::wstring_view description) {
        pressButton(L"New Category");
        typeInto("TEXTFIELD_DESCRIPTION", description);
        pressButton(L"Save");
    }
    static std::vector<std::wstring> storedDescriptions() {
        std::vector<std::wstring> descriptions;
        for (auto it = Category::begin(); it != Category::end(); ++it) {
            descriptions.emplace_back(it->get_description());
        }
        return descriptions;
    }
};

TEST_F(CategoryEditorTest, NewAndEditedCategoriesAreStoredAndListed) {
    linkScreen(LinkedScreen::Categories, createCategoryState);
    show(createSettingsState());
    pressButton(L"Categories");
    EXPECT_TRUE(painted(L" > Settings ✎ > Categories"));
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"New Category", L"Edit Category", L"Delete Category", L"⋘"));

    addCategory(L"Animals");
    EXPECT_EQ(page(), LIST_PAGE);
    addCategory(L"Food");
    // Neither emptiness nor repetition is refused.
    addCategory(L"");
    addCategory(L"Food");
    EXPECT_THAT(entries(), ElementsAre(L"Animals", L"Food", L"", L"Food"));
    EXPECT_EQ(boxCount(), 0u);
    reloadDatabase();
    EXPECT_THAT(storedDescriptions(), ElementsAre(L"Animals", L"Food", L"", L"Food"));

    chooseEntry(L"Animals");
    pressButton(L"Edit Category");
    EXPECT_EQ(page(), CATEGORY_EDIT_PAGE);
    EXPECT_EQ(fieldText("TEXTFIELD_DESCRIPTION"), L"Animals");
    snapshot("category-edit");
    typeInto("TEXTFIELD_DESCRIPTION", L"Tiere");
    pressButton(L"Save");
    reloadDatabase();
    EXPECT_THAT(storedDescriptions(), ElementsAre(L"Tiere", L"Food", L"", L"Food"));
}

TEST_F(CategoryEditorTest, DiscardLeavesTheCategoryAsItWas) {
    showEditor();
    addCategory(L"Animals");
    chooseEntry(L"Animals");
    pressButton(L"Edit Category");
    typeInto("TEXTFIELD_DESCRIPTION", L"Plants");
    pressButton(L"Discard changes");
    EXPECT_EQ(page(), LIST_PAGE);
    EXPECT_THAT(entries(), ElementsAre(L"Animals"));
    // Edit and Delete on an empty list do nothing.
    showEditor();
    Category::deleteEntry(Category::begin()->getId());
    move(1, 1);
    pressButton(L"Edit Category");
    pressButton(L"Delete Category");
    EXPECT_EQ(page(), LIST_PAGE);
    EXPECT_EQ(boxCount(), 0u);
}

TEST_F(CategoryEditorTest, DeleteAsksAndOnYesTakesTheLinksToMeaningsAlong) {
    const unsigned word = addWord(addLanguage(L"English"), L"dog");
    auto* meaning = new Meaning(2);
    const unsigned meaningId = Meaning::add(meaning);
    M_W::add(new M_W(meaningId, word));
    const unsigned animals = Category::add(new Category(L"Animals"));
    Category::add(new Category(L"Pets"));
    C_M::add(new C_M(animals, meaningId));
    saveEverything();
    showEditor();

    chooseEntry(L"Animals");
    answerNextBox(MessageResult::No);
    pressButton(L"Delete Category");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(), L"You are about to delete the highlighted category.\nContinue?");
    EXPECT_THAT(entries(), ElementsAre(L"Animals", L"Pets"));

    answerNextBox(MessageResult::Yes);
    pressButton(L"Delete Category");
    EXPECT_THAT(entries(), ElementsAre(L"Pets"));
    reloadDatabase();
    EXPECT_THAT(storedDescriptions(), ElementsAre(L"Pets"));
    EXPECT_EQ(C_M::getAsTally(1, D_MEANING, meaningId), 0u);
    // The meaning itself stays.
    EXPECT_NE(Meaning::getById(meaningId), nullptr);
}

TEST_F(CategoryEditorTest, AFailedSaveKeepsThePageAndTheRetryStoresTheCategoryOnce) {
    showEditor();
    blockDirectory("Data/Category");
    pressButton(L"New Category");
    typeInto("TEXTFIELD_DESCRIPTION", L"Animals");
    pressButton(L"Save");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(), curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(page(), CATEGORY_EDIT_PAGE);
    EXPECT_EQ(fieldText("TEXTFIELD_DESCRIPTION"), L"Animals");

    unblockDirectory("Data/Category");
    pressButton(L"Save");
    EXPECT_EQ(boxCount(), 1u);
    EXPECT_EQ(page(), LIST_PAGE);
    reloadDatabase();
    EXPECT_THAT(storedDescriptions(), ElementsAre(L"Animals"));
}

// A save whose unit reached the log is done, even when its files cannot be written in place yet
// (a disk the log has just filled): no box, the category stays listed, and the next start finds
// it.
TEST_F(CategoryEditorTest, ASaveThatReachedTheLogIsDoneWhenItsFilesCannotBeWrittenYet) {
    showEditor();
    {
        SimulatedDisk nearlyFull;
        nearlyFull.arm({SimulatedDisk::WRITE, 1, SimulatedDisk::Effect::FAIL, ENOSPC, "Data/Category/"});
        pressButton(L"New Category");
        typeInto("TEXTFIELD_DESCRIPTION", L"Animals");
        pressButton(L"Save");
        ASSERT_EQ(nearlyFull.count(SimulatedDisk::WRITE), 2u) << "the log, then the file that failed";
    }
    EXPECT_EQ(boxCount(), 0u);
    EXPECT_EQ(page(), LIST_PAGE);
    EXPECT_THAT(entries(), ElementsAre(L"Animals"));
    FileTransaction::forgetOpenLog();  // the program ends without another save
    reloadDatabase();
    EXPECT_THAT(storedDescriptions(), ElementsAre(L"Animals"));
    showEditor();
    EXPECT_THAT(entries(), ElementsAre(L"Animals"));
}

// What a failed save changed in memory must not reach the disk with a later save once the user
// has discarded it.
TEST_F(CategoryEditorTest, ChangesDiscardedAfterAFailedSaveNeverReachTheDisk) {
    showEditor();
    addCategory(L"Pets");
    blockDirectory("Data/Category");
    chooseEntry(L"Pets");
    pressButton(L"Edit Category");
    typeInto("TEXTFIELD_DESCRIPTION", L"Animals");
    pressButton(L"Save");
    EXPECT_EQ(page(), CATEGORY_EDIT_PAGE);
    pressButton(L"Discard changes");
    pressButton(L"New Category");
    typeInto("TEXTFIELD_DESCRIPTION", L"Plants");
    pressButton(L"Save");
    pressButton(L"Discard changes");
    EXPECT_EQ(boxCount(), 2u);

    unblockDirectory("Data/Category");
    addCategory(L"Food");
    EXPECT_EQ(boxCount(), 2u);
    EXPECT_THAT(entries(), ElementsAre(L"Pets", L"Food"));
    reloadDatabase();
    EXPECT_THAT(storedDescriptions(), ElementsAre(L"Pets", L"Food"));
}

}  // namespace
