// The verb form of a card's foreign word: a regular verb with or without its pattern checked on
// the verb page, an irregular verb typed there, and a stored word without a card taken over with
// its texts, verb form and article overwritten where the form gives them, kept where it does not.

#include <gmock/gmock.h>

#include "FlashcardEditorTest.h"
#include "gui/GuiTable.h"
#include "gui/GuiToggle.h"
#include "model/ui/VerbTableCells.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using screens::test::FlashcardEditorTest;
using screens::test::MessageResult;

class FlashcardVerbTest : public FlashcardEditorTest {
protected:
    // A new German card for the verb with one known word, on the known-word page.
    void enterVerb(const wchar_t* infinitive, const wchar_t* known) {
        openNewCard();
        choose(TAG_FLASHCARD_FOREIGN_LANGUAGE, L"German");
        typeInto(TAG_FLASHCARD_WORD, infinitive);
        addKnown(known);
    }
    static const GuiToggle* verbToggle() {
        for (GuiElement* e = curState->firstElement; e != nullptr; e = e->nextElement) {
            if (auto* toggle = dynamic_cast<GuiToggle*>(e)) {
                return toggle;
            }
        }
        return nullptr;
    }
    void makeIrregular() {
        click(175, 230);
        paint();
        ASSERT_FALSE(verbToggle()->getRightOn());
    }
    static GuiTable* verbTable() {
        for (GuiElement* e = curState->firstElement; e != nullptr; e = e->nextElement) {
            if (auto* table = dynamic_cast<GuiTable*>(e); table != nullptr && curState->takesPart(*table)) {
                return table;
            }
        }
        return nullptr;
    }
    // Types into the cell of person y and tense x.
    void typeForm(unsigned x, unsigned y, std::wstring_view form) {
        const GuiTableCell* cell = verbTable()->getCell(static_cast<int>(y) + 1, static_cast<int>(x) + 1);
        click(cell->getX() + cell->getWidth() / 2, cell->getY() + cell->getHeight() / 2);
        type(form);
        paint();
    }
    // What the verb page's cell of person y and tense x holds.
    static std::wstring shownForm(unsigned x, unsigned y) {
        return modelui::cellText(*verbTable(), modelui::lineOfPerson(y), modelui::columnOfTense(x));
    }
    static std::vector<std::wstring> formsOf(const IrregularVerb& verb) {
        std::vector<std::wstring> forms;
        for (unsigned y = 0; y < verb.get_persons(); ++y) {
            for (unsigned x = 0; x < verb.get_tenses(); ++x) {
                forms.emplace_back(verb.get_content(x, y));
            }
        }
        return forms;
    }
    static IrregularVerb* irregularVerbOf(const Word& word) {
        return IrregularVerb::getById(word.getDependency(D_IRREGULARVERB));
    }
};

TEST_F(FlashcardVerbTest, APatternIsStoredAtOnceOnNoAndAfterItsFormsAreShownOnYes) {
    enterVerb(L"machen", L"make");
    choose(TAG_FLASHCARD_PATTERN, L"German Pattern - 1");
    answerNextBox(MessageResult::No);
    pressButton(L"Save and next");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(), L"Would you like to test this pattern,\nbefore you continue?");
    EXPECT_EQ(page(), FLASHCARD_FIRST_PAGE);

    enterVerb(L"sagen", L"say");
    choose(TAG_FLASHCARD_PATTERN, L"German Pattern - 1");
    answerNextBox(MessageResult::Yes);
    pressButton(L"Save and next");
    EXPECT_EQ(page(), FLASHCARD_VERB_PAGE);
    EXPECT_EQ(count(D_FLASHCARD), 2u);
    for (const wchar_t* form : {L"sage", L"sagst", L"sagt", L"sagte", L"sagtest", L"Präteritum", L"du"}) {
        EXPECT_TRUE(painted(form));
    }
    snapshot("flashcard-verb-page-pattern");
    pressButton(L"Save");
    EXPECT_EQ(page(), FLASHCARD_FIRST_PAGE);

    reloadDatabase();
    for (const wchar_t* verb : {L"machen", L"sagen"}) {
        const Word* stored = word(german, verb);
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(stored->getDependency(D_VERBPATTERN), pattern);
        EXPECT_EQ(stored->getDependency(D_IRREGULARVERB), 0u);
        EXPECT_NE(cardOf(stored), nullptr);
    }
}

TEST_F(FlashcardVerbTest, AnIrregularVerbIsTypedOnTheVerbPageAndBackStoresNothing) {
    enterVerb(L"sein", L"be");
    makeIrregular();
    pressButton(L"Save and next");
    EXPECT_EQ(boxCount(), 0u);
    EXPECT_EQ(page(), FLASHCARD_VERB_PAGE);
    EXPECT_TRUE(painted(L"sein"));

    pressButton(L"Back");
    EXPECT_EQ(page(), FLASHCARD_KNOWN_PAGE);
    EXPECT_EQ(count(D_FLASHCARD), 1u);
    EXPECT_EQ(count(D_IRREGULARVERB), 0u);

    pressButton(L"Save and next");
    const wchar_t* forms[] = {L"bin", L"war", L"bist", L"warst", L"ist", L"war"};
    for (unsigned y = 0; y < 3; ++y) {
        for (unsigned x = 0; x < 2; ++x) {
            typeForm(x, y, forms[y * 2 + x]);
        }
    }
    snapshot("flashcard-verb-page-irregular");
    pressButton(L"Save");
    EXPECT_EQ(page(), FLASHCARD_FIRST_PAGE);
    EXPECT_TRUE(verbToggle()->getRightOn());  // ready for the next card

    reloadDatabase();
    const Word* sein = word(german, L"sein");
    ASSERT_NE(sein, nullptr);
    EXPECT_EQ(sein->getDependency(D_VERBPATTERN), 0u);
    const IrregularVerb* verb = irregularVerbOf(*sein);
    ASSERT_NE(verb, nullptr);
    EXPECT_THAT(formsOf(*verb), ElementsAre(L"bin", L"war", L"bist", L"warst", L"ist", L"war"));
    EXPECT_EQ(count(D_IRREGULARVERB), 1u);
}

TEST_F(FlashcardVerbTest, AVerbOfALanguageWithoutPersonsOrTensesIsRefusedAndNothingStored) {
    openNewCard();
    choose(TAG_FLASHCARD_FOREIGN_LANGUAGE, L"English");
    typeInto(TAG_FLASHCARD_WORD, L"go");
    addKnown(L"dog");
    makeIrregular();
    pressButton(L"Save and next");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(), L"You can not perform this task before you have added at least one person and one tense "
                             L"for the corresponding language!");
    EXPECT_EQ(page(), FLASHCARD_KNOWN_PAGE);
    EXPECT_EQ(word(english, L"go"), nullptr);
    EXPECT_EQ(count(D_FLASHCARD), 1u);
}

// "gehen" was stored by the word editor as an irregular verb with an article and texts of its
// own, and no card carries it.
TEST_F(FlashcardVerbTest, AStoredWordWithoutCardIsTakenOverWithItsFormsShownAndOverwritten) {
    Word* gehen = Word::getById(modeltest::addWord(german, L"gehen"));
    gehen->set_ipaPronounciation(L"old", true);
    gehen->set_mnemonic(L"old hint", true);
    gehen->setDependency(D_ARTICLE, Article::begin()->getId());
    IrregularVerb* stored = IrregularVerb::createAndAdd(german, gehen->getId());
    stored->addContent(L"gehe", 0, 0);
    const unsigned gehenId = gehen->getId();
    const unsigned verbId = stored->getId();
    saveEverything();
    const unsigned words = count(D_WORD);

    enterVerb(L"gehen", L"walk");
    typeInto(TAG_FLASHCARD_PRONUNCIATION, L"ˈɡeːən");
    makeIrregular();
    pressButton(L"Save and next");
    EXPECT_EQ(page(), FLASHCARD_VERB_PAGE);
    EXPECT_EQ(shownForm(0, 0), L"gehe");
    typeForm(1, 0, L"ging");
    pressButton(L"Save");

    reloadDatabase();
    EXPECT_EQ(count(D_WORD), words + 1);  // "walk" only
    const Word* taken = word(german, L"gehen");
    ASSERT_EQ(taken->getId(), gehenId);
    EXPECT_EQ(std::wstring(taken->get_ipaPronounciation()), L"ˈɡeːən");
    EXPECT_EQ(std::wstring(taken->get_mnemonic()), L"old hint");  // the hint field kept its placeholder
    EXPECT_EQ(taken->getDependency(D_ARTICLE), Article::begin()->getId());  // "n/a" in the form kept it
    EXPECT_EQ(taken->getDependency(D_IRREGULARVERB), verbId);
    EXPECT_EQ(count(D_IRREGULARVERB), 1u);
    EXPECT_EQ(std::wstring(IrregularVerb::getById(verbId)->get_content(0, 0)), L"gehe");
    EXPECT_EQ(std::wstring(IrregularVerb::getById(verbId)->get_content(1, 0)), L"ging");
    EXPECT_NE(cardOf(taken), nullptr);
}

// The learner entered the words in the word editor first; the card editor's article and verb
// fields were left as they came ("n/a", regular), except for one article chosen on purpose.
TEST_F(FlashcardVerbTest, ATakenOverWordKeepsTheArticleAndVerbFormTheFormLeftAtNa) {
    const unsigned der = Article::begin()->getId();
    const unsigned das = der + 2;
    Word* haus = Word::getById(modeltest::addWord(german, L"Haus"));
    haus->setDependency(D_ARTICLE, das);
    Word* baum = Word::getById(modeltest::addWord(german, L"Baum"));
    baum->setDependency(D_ARTICLE, das);
    Word* machen = Word::getById(modeltest::addWord(german, L"machen"));
    machen->setDependency(D_VERBPATTERN, pattern);
    const unsigned sein = modeltest::addWord(german, L"sein");
    IrregularVerb* forms = IrregularVerb::createAndAdd(german, sein);
    forms->addContent(L"bin", 0, 0);
    const unsigned formsId = forms->getId();
    saveEverything();

    enterVerb(L"Haus", L"house");
    pressButton(L"Save and next");
    enterVerb(L"Baum", L"tree");
    choose(TAG_FLASHCARD_ARTICLE, L"der");
    pressButton(L"Save and next");
    ASSERT_EQ(boxCount(), 0u);

    // The stored pattern is offered for checking, as if it had been chosen here.
    enterVerb(L"machen", L"make");
    answerNextBox(MessageResult::No);
    pressButton(L"Save and next");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(page(), FLASHCARD_FIRST_PAGE);

    // The stored irregular forms come up on the verb page.
    enterVerb(L"sein", L"be");
    pressButton(L"Save and next");
    ASSERT_EQ(page(), FLASHCARD_VERB_PAGE);
    EXPECT_EQ(shownForm(0, 0), L"bin");
    pressButton(L"Save");
    EXPECT_EQ(page(), FLASHCARD_FIRST_PAGE);

    reloadDatabase();
    EXPECT_EQ(word(german, L"Haus")->getDependency(D_ARTICLE), das);
    EXPECT_EQ(word(german, L"Baum")->getDependency(D_ARTICLE), der);
    EXPECT_EQ(word(german, L"machen")->getDependency(D_VERBPATTERN), pattern);
    const Word* stored = word(german, L"sein");
    ASSERT_EQ(stored->getDependency(D_IRREGULARVERB), formsId);
    EXPECT_EQ(std::wstring(IrregularVerb::getById(formsId)->get_content(0, 0)), L"bin");
    for (const wchar_t* verb : {L"Haus", L"Baum", L"machen", L"sein"}) {
        EXPECT_NE(cardOf(word(german, verb)), nullptr) << verb;
    }
}

TEST_F(FlashcardVerbTest, ATakenOverIrregularWordStoredAsRegularLosesItsIrregularVerb) {
    const unsigned laufen = modeltest::addWord(german, L"laufen");
    const unsigned verbId = IrregularVerb::createAndAdd(german, laufen)->getId();
    saveEverything();

    enterVerb(L"laufen", L"run");
    choose(TAG_FLASHCARD_PATTERN, L"German Pattern - 1");
    answerNextBox(MessageResult::No);
    pressButton(L"Save and next");

    reloadDatabase();
    EXPECT_EQ(IrregularVerb::getById(verbId), nullptr);
    EXPECT_EQ(Word::getById(laufen)->getDependency(D_IRREGULARVERB), 0u);
    EXPECT_EQ(Word::getById(laufen)->getDependency(D_VERBPATTERN), pattern);
}

// A stored irregular card opens with the switch on the left and shows its forms again.
TEST_F(FlashcardVerbTest, AStoredIrregularCardShowsItsFormsOnTheVerbPage) {
    IrregularVerb* verb = IrregularVerb::createAndAdd(german, hund);
    verb->addContent(L"hunde", 1, 2);
    saveEverything();
    openStoredCard(L"Hund [Lektion 1] (2|0, 3|0)");
    EXPECT_FALSE(verbToggle()->getRightOn());
    pressButton(L"Save");
    EXPECT_EQ(page(), FLASHCARD_VERB_PAGE);
    EXPECT_EQ(shownForm(1, 2), L"hunde");
    pressButton(L"Save");
    EXPECT_EQ(curState->description, L"Flashcards");
    reloadDatabase();
    EXPECT_EQ(count(D_IRREGULARVERB), 1u);
    EXPECT_EQ(std::wstring(IrregularVerb::getById(Word::getById(hund)->getDependency(D_IRREGULARVERB))->get_content(1, 2)),
              L"hunde");
}

}  // namespace
