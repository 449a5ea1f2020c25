#include <set>
#include <utility>

#include <gmock/gmock.h>

#include "EditorTest.h"
#include "gui/GuiButton.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "screens/stateMeaning.h"
#include "states/SettingsState.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

using modeltest::addLanguage;
using modeltest::addWord;
using screens::test::MessageResult;

// A stand-in for the word and flashcard editors: its buttons open the meaning editor for one
// word, on the list or on the connection page. As those editors do, it does so from its update
// function and first queues on itself the tag that refreshes it on return.
Word* openerWord = nullptr;
std::vector<std::string> openerUpdates;

void openerUpdate(const char* tag) {
    if (std::string_view(tag) == "OPEN_MEANINGS") {
        addUpdate("UPDATE_CATEGORY", curState);
        openMeaningEditorForWord(openerWord, MEANING_LIST_PAGE);
    } else if (std::string_view(tag) == "OPEN_CONNECTION") {
        addUpdate("UPDATE_KNOWN", curState);
        openMeaningEditorForWord(openerWord, MEANING_CONNECTION_PAGE);
    } else {
        openerUpdates.emplace_back(tag);
    }
}
State* createOpener() {
    State* state = createEmptyState(L"Word editor");
    state->traceback = TRACEBACK_LINE;
    addElementToState(state, new GuiButton(BUTTON1, 250, 250, L"Meanings of the word", "OPEN_MEANINGS"));
    addElementToState(state, new GuiButton(BUTTON1, 750, 250, L"Connect the word", "OPEN_CONNECTION"));
    state->updateFunc = openerUpdate;
    return state;
}

class MeaningEditorTest : public screens::test::EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        const unsigned english = addLanguage(L"English");
        const unsigned french = addLanguage(L"French");
        house = addWord(english, L"house");
        dog = addWord(english, L"dog");
        chien = addWord(french, L"chien");
        building = addMeaning(4, {house});
        animal = addMeaning(2, {dog, chien});
        animals = Category::add(new Category(L"Animals"));
        buildings = Category::add(new Category(L"Buildings"));
        C_M::add(new C_M(animals, animal));
        saveEverything();
        openerUpdates.clear();
    }

    static unsigned addMeaning(int niveau, std::initializer_list<unsigned> words) {
        const unsigned id = Meaning::add(new Meaning(niveau));
        for (unsigned word : words) {
            M_W::add(new M_W(id, word));
        }
        return id;
    }
    static std::set<unsigned> categoriesOf(unsigned meaning) {
        std::set<unsigned> ids;
        for (auto it = C_M::begin(); it != C_M::end(); ++it) {
            if (it->getDependency(D_MEANING) == meaning) {
                ids.insert(it->getDependency(D_CATEGORY));
            }
        }
        return ids;
    }
    static bool connected(unsigned word, unsigned meaning) {
        return M_W::getAsTally(2, D_WORD, word, D_MEANING, meaning) != 0;
    }
    // Every meaning as (niveau, sorted word texts).
    static std::set<std::pair<int, std::wstring>> storedMeanings() {
        std::set<std::pair<int, std::wstring>> meanings;
        for (auto it = Meaning::begin(); it != Meaning::end(); ++it) {
            meanings.emplace(it->get_niveau(), it->get_description());
        }
        return meanings;
    }

    void showOpenerFor(unsigned word) {
        openerWord = Word::getById(word);
        show(createOpener());
    }
    static std::wstring shownNiveau() {
        const auto* niveau = getElementByTag<GuiSelectionfield>("SELECTIONFIELD_NIVEAU", curState);
        return niveau == nullptr ? L"" : niveau->getShownText();
    }
    void chooseNiveau(int niveau) {
        auto* field = getElementByTag<GuiSelectionfield>("SELECTIONFIELD_NIVEAU", curState);
        ASSERT_NE(field, nullptr);
        click(field->getX() + field->getWidth() / 2, field->getY() + field->getHeight() / 2);
        paint();
        ASSERT_TRUE(field->isUnfolded());
        const GuiItemfield& items = field->getItemfield();
        const int lineHeight = items.getCurrentLineHeight();
        click(items.getX() + items.getWidth() / 2, items.getY() + (niveau - 1) * lineHeight + lineHeight / 2);
        paint();
        ASSERT_EQ(field->getActivePosition(), niveau - 1);
    }
    // Moves a category from one list to the other with the shift buttons.
    void shift(std::wstring_view category, const char* from) {
        chooseEntry(category, from);
        pressButton(std::string_view(from) == "CATEGORY_USE" ? L"»" : L"«");
    }

    unsigned house = 0, dog = 0, chien = 0;
    unsigned building = 0, animal = 0;
    unsigned animals = 0, buildings = 0;
};

// --- alone ----------------------------------------------------------------------------------------

TEST_F(MeaningEditorTest, AloneItListsEveryMeaningOffersNoNewAndEditsNiveauAndCategories) {
    linkScreen(LinkedScreen::Meanings, createMeaningState);
    show(createSettingsState());
    pressButton(L"Meanings");
    EXPECT_TRUE(painted(L" > Settings ✎ > Meanings"));
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"Edit Meaning", L"Delete Meaning", L"⋘"));
    EXPECT_THAT(entries(), ElementsAre(L"house", L"dog, chien"));

    chooseEntry(L"dog, chien");
    pressButton(L"Edit Meaning");
    EXPECT_EQ(page(), MEANING_EDIT_PAGE);
    EXPECT_TRUE(painted(L"dog, chien"));
    EXPECT_EQ(shownNiveau(), L"2 (we, you, to have)");
    EXPECT_THAT(entries("CATEGORY_USE"), ElementsAre(L"Animals"));
    EXPECT_THAT(entries("CATEGORY_DONT_USE"), ElementsAre(L"Buildings"));
    snapshot("meaning-edit");

    chooseNiveau(7);
    shift(L"Buildings", "CATEGORY_DONT_USE");
    pressButton(L"Save");
    EXPECT_EQ(page(), MEANING_LIST_PAGE);
    reloadDatabase();
    EXPECT_EQ(Meaning::getById(animal)->get_niveau(), 7);
    EXPECT_THAT(categoriesOf(animal), UnorderedElementsAre(animals, buildings));
}

TEST_F(MeaningEditorTest, AloneDeleteAsksAndTakesTheMeaningsLinksAlong) {
    show(createMeaningState());
    chooseEntry(L"dog, chien");
    answerNextBox(MessageResult::Cancel);
    pressButton(L"Delete Meaning");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(),
              L"You are about to delete a meaning!\nAll connected words will lose this meaning. Continue?");
    EXPECT_THAT(entries(), ElementsAre(L"house", L"dog, chien"));

    answerNextBox(MessageResult::Ok);
    pressButton(L"Delete Meaning");
    EXPECT_THAT(entries(), ElementsAre(L"house"));
    reloadDatabase();
    EXPECT_EQ(Meaning::getById(animal), nullptr);
    EXPECT_FALSE(connected(dog, animal));
    EXPECT_FALSE(connected(chien, animal));
    EXPECT_THAT(categoriesOf(animal), IsEmpty());
    // The words stay.
    EXPECT_NE(Word::getById(dog), nullptr);
}

// --- for one word ---------------------------------------------------------------------------------

TEST_F(MeaningEditorTest, ANewMeaningForAWordStartsAtNiveauOneWithEveryCategoryUnused) {
    showOpenerFor(house);
    pressButton(L"Meanings of the word");
    EXPECT_TRUE(painted(L"Meanings - house"));
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"New Meaning", L"Edit Meaning", L"Disconnect", L"⋘"));
    EXPECT_THAT(entries(), ElementsAre(L"house"));
    snapshot("meaning-list-word");

    pressButton(L"New Meaning");
    EXPECT_EQ(page(), MEANING_EDIT_PAGE);
    EXPECT_EQ(getElementByTag<GuiText>("TITLETEXT_ADD_EDIT_MEANING", curState)->getTextW(), std::wstring(L"house"));
    EXPECT_EQ(shownNiveau(), L"1 (hello, left, yes)");
    EXPECT_THAT(entries("CATEGORY_USE"), IsEmpty());
    EXPECT_THAT(entries("CATEGORY_DONT_USE"), ElementsAre(L"Animals", L"Buildings"));

    chooseNiveau(3);
    shift(L"Buildings", "CATEGORY_DONT_USE");
    pressButton(L"Save");
    EXPECT_THAT(entries(), ElementsAre(L"house", L"house"));
    reloadDatabase();
    unsigned newMeaning = 0;
    for (auto it = Meaning::begin(); it != Meaning::end(); ++it) {
        if (it->getId() != building && it->getId() != animal) {
            newMeaning = it->getId();
        }
    }
    ASSERT_NE(newMeaning, 0u);
    EXPECT_EQ(Meaning::getById(newMeaning)->get_niveau(), 3);
    EXPECT_TRUE(connected(house, newMeaning));
    EXPECT_THAT(categoriesOf(newMeaning), ElementsAre(buildings));
}

TEST_F(MeaningEditorTest, AnEditedMeaningOpensAsStoredAndSavingWithoutCategoriesRemovesItsLinks) {
    showOpenerFor(dog);
    pressButton(L"Meanings of the word");
    EXPECT_TRUE(painted(L"Meanings - dog"));
    chooseEntry(L"dog, chien");
    pressButton(L"Edit Meaning");
    EXPECT_EQ(shownNiveau(), L"2 (we, you, to have)");
    EXPECT_THAT(entries("CATEGORY_USE"), ElementsAre(L"Animals"));

    shift(L"Animals", "CATEGORY_USE");
    EXPECT_THAT(entries("CATEGORY_USE"), IsEmpty());
    pressButton(L"Save");
    reloadDatabase();
    EXPECT_THAT(categoriesOf(animal), IsEmpty());
    EXPECT_EQ(Meaning::getById(animal)->get_niveau(), 2);
}

TEST_F(MeaningEditorTest, DisconnectRemovesOnlyTheLinkWithoutAskingAndAMeaningLeftWithoutWordsGoes) {
    Meaning::getById(animal)->set_connectionsForFlashcard(1);
    showOpenerFor(dog);
    pressButton(L"Meanings of the word");
    chooseEntry(L"dog, chien");
    pressButton(L"Disconnect");
    EXPECT_EQ(boxCount(), 0u);
    EXPECT_THAT(entries(), IsEmpty());
    EXPECT_EQ(Meaning::getById(animal)->get_connectionsForFlashcard(), 0u);
    reloadDatabase();
    EXPECT_FALSE(connected(dog, animal));
    EXPECT_TRUE(connected(chien, animal));

    // The house meaning has only this word: it goes with its link.
    pressButton(L"⋘");
    openerWord = Word::getById(house);
    pressButton(L"Meanings of the word");
    chooseEntry(L"house");
    pressButton(L"Disconnect");
    EXPECT_THAT(entries(), IsEmpty());
    reloadDatabase();
    EXPECT_EQ(Meaning::getById(building), nullptr);
    EXPECT_THAT(storedMeanings(), ElementsAre(std::pair<int, std::wstring>(2, L"chien")));
}

TEST_F(MeaningEditorTest, BackReturnsToTheOpenerWhichHearsItsQueuedTagAndTheWordIsForgotten) {
    showOpenerFor(house);
    pressButton(L"Meanings of the word");
    EXPECT_EQ(editWordMeaningState, Word::getById(house));
    EXPECT_THAT(openerUpdates, IsEmpty());
    pressButton(L"⋘");
    EXPECT_EQ(curState->description, L"Word editor");
    EXPECT_THAT(openerUpdates, ElementsAre("UPDATE_CATEGORY"));
    EXPECT_EQ(editWordMeaningState, nullptr);
    EXPECT_EQ(editMeaning, nullptr);
}

TEST_F(MeaningEditorTest, TheConnectionPageConnectsTheWordOnceAndReturnsToTheOpener) {
    showOpenerFor(house);
    pressButton(L"Connect the word");
    EXPECT_EQ(page(), MEANING_CONNECTION_PAGE);
    EXPECT_TRUE(painted(L"Meanings - house"));
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"New connection", L"Discard changes"));
    EXPECT_THAT(entries(), ElementsAre(L"house", L"dog, chien"));
    snapshot("meaning-connection");

    // Already connected: nothing happens and the page stays.
    chooseEntry(L"house");
    pressButton(L"New connection");
    EXPECT_EQ(page(), MEANING_CONNECTION_PAGE);
    EXPECT_THAT(openerUpdates, IsEmpty());
    EXPECT_EQ(M_W::getAsTally(1, D_WORD, house), 1u);

    chooseEntry(L"dog, chien");
    pressButton(L"New connection");
    EXPECT_EQ(curState->description, L"Word editor");
    EXPECT_THAT(openerUpdates, ElementsAre("UPDATE_KNOWN"));
    EXPECT_EQ(Meaning::getById(animal)->get_connectionsForFlashcard(), 1u);
    EXPECT_EQ(editWordMeaningState, nullptr);
    reloadDatabase();
    EXPECT_TRUE(connected(house, animal));
    EXPECT_EQ(M_W::getAsTally(2, D_WORD, house, D_MEANING, animal), 1u);

    // Discard returns without connecting anything.
    openerWord = Word::getById(dog);
    pressButton(L"Connect the word");
    chooseEntry(L"house");
    pressButton(L"Discard changes");
    EXPECT_EQ(curState->description, L"Word editor");
    EXPECT_THAT(openerUpdates, ElementsAre("UPDATE_KNOWN", "UPDATE_KNOWN"));
    EXPECT_FALSE(connected(dog, building));
}

TEST_F(MeaningEditorTest, AConnectionWhoseSaveFailedIsTakenBackSoThatTheUserCanPressAgain) {
    showOpenerFor(house);
    pressButton(L"Connect the word");
    chooseEntry(L"dog, chien");
    blockDirectory("Data/Relations");
    pressButton(L"New connection");
    EXPECT_EQ(lastBoxText(), curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(page(), MEANING_CONNECTION_PAGE);
    EXPECT_FALSE(connected(house, animal));

    unblockDirectory("Data/Relations");
    pressButton(L"New connection");
    EXPECT_EQ(curState->description, L"Word editor");
    reloadDatabase();
    EXPECT_TRUE(connected(house, animal));
}

TEST_F(MeaningEditorTest, VisitingTheCategoryEditorKeepsTheUnsavedChoicesAndShowsTheNewCategory) {
    showOpenerFor(house);
    pressButton(L"Meanings of the word");
    pressButton(L"New Meaning");
    chooseNiveau(5);
    shift(L"Animals", "CATEGORY_DONT_USE");

    pressButton(L"Categories");
    EXPECT_TRUE(painted(L" > Word editor > Meanings - house > Categories"));
    pressButton(L"New Category");
    typeInto("TEXTFIELD_DESCRIPTION", L"Home");
    pressButton(L"Save");
    chooseEntry(L"Buildings");
    pressButton(L"Edit Category");
    typeInto("TEXTFIELD_DESCRIPTION", L"Houses");
    pressButton(L"Save");
    pressButton(L"⋘");

    EXPECT_EQ(page(), MEANING_EDIT_PAGE);
    EXPECT_EQ(shownNiveau(), L"5 (to discus, bee, incredible)");
    EXPECT_THAT(entries("CATEGORY_USE"), ElementsAre(L"Animals"));
    EXPECT_THAT(entries("CATEGORY_DONT_USE"), ElementsAre(L"Houses", L"Home"));
    pressButton(L"Save");
    EXPECT_THAT(entries(), ElementsAre(L"house", L"house"));
}

TEST_F(MeaningEditorTest, AFailedSaveKeepsTheMeaningPageAndTheRetryMakesOneMeaning) {
    showOpenerFor(house);
    pressButton(L"Meanings of the word");
    pressButton(L"New Meaning");
    chooseNiveau(6);
    blockDirectory("Data/Meaning");
    pressButton(L"Save");
    EXPECT_EQ(lastBoxText(), curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(page(), MEANING_EDIT_PAGE);
    EXPECT_EQ(shownNiveau(), L"6 (council, to purchase)");

    unblockDirectory("Data/Meaning");
    pressButton(L"Save");
    EXPECT_EQ(page(), MEANING_LIST_PAGE);
    reloadDatabase();
    EXPECT_EQ(M_W::getAsTally(1, D_WORD, house), 2u);
    EXPECT_THAT(storedMeanings(), UnorderedElementsAre(std::pair<int, std::wstring>(4, L"house"),
                                                       std::pair<int, std::wstring>(6, L"house"),
                                                       std::pair<int, std::wstring>(2, L"dog, chien")));
}

}  // namespace
