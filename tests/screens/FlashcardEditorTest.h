#pragma once

// The flashcard menu and editor driven the way a learner works them: German words are entered
// with their English translations, on a database that already holds a few English words with
// meanings and categories, German grammar with a verb pattern, a lesson and one stored card
// ("Hund" for "dog"). What the editor stored is read back after reloading from disk.

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "EditorTest.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "model/ProvisionalRecords.h"
#include "screens/stateFlashcard.h"
#include "screens/stateFlashcardMenu.h"

namespace screens::test {

class FlashcardEditorTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        resetProvisionalRecords();
        german = addLanguage(L"German", "00000407");
        english = addLanguage(L"English", "00000409");
        for (const wchar_t* article : {L"der", L"die", L"das"}) {
            Article::add(new Article(article, german));
        }
        for (const wchar_t* person : {L"ich", L"du", L"er"}) {
            Person::add(new Person(person, german));
        }
        for (const wchar_t* tense : {L"Präsens", L"Präteritum"}) {
            Tense::add(new Tense(tense, german));
        }
        pattern = addPattern({{L"/post-2+e", L"/post-2+te"}, {L"/post-2+st", L"/post-2+test"}, {L"/post-2+t", L"/post-2+te"}});
        house = modeltest::addWord(english, L"house");
        home = modeltest::addWord(english, L"home");
        dog = modeltest::addWord(english, L"dog");
        hund = modeltest::addWord(german, L"Hund");
        building = addMeaning({house});
        dwelling = addMeaning({house, home});
        animal = addMeaning({dog, hund});
        buildings = addCategory(L"Buildings", {building});
        places = addCategory(L"Places", {dwelling});
        addCategory(L"Animals", {animal});
        lesson = Lesson::add(new Lesson(L"Lektion 1", Lesson::NO_DUE_DATE));
        hundCard = addCard(hund, {dog});
        saveEverything();
    }
    void TearDown() override {
        resetProvisionalRecords();
        EditorTest::TearDown();
    }

    // --- the database ---------------------------------------------------------------------------

    static unsigned addLanguage(const wchar_t* name, const char* layout) {
        const unsigned id = modeltest::addLanguage(name);
        Language::getById(id)->set_keyboardLocalID(layout);
        return id;
    }
    // German rules, person first, then tense.
    unsigned addPattern(const std::vector<std::vector<std::wstring>>& rules) const {
        auto* rulesOfGerman = new VerbPattern(2, 3, german, 0);
        rulesOfGerman->initPattern(rules);
        return VerbPattern::add(rulesOfGerman);
    }
    static unsigned addMeaning(std::initializer_list<unsigned> words) {
        const unsigned id = Meaning::add(new Meaning(3));
        for (unsigned word : words) {
            M_W::add(new M_W(id, word));
        }
        return id;
    }
    static unsigned addCategory(const wchar_t* name, std::initializer_list<unsigned> meanings) {
        const unsigned id = Category::add(new Category(name));
        for (unsigned meaning : meanings) {
            C_M::add(new C_M(id, meaning));
        }
        return id;
    }
    unsigned addCard(unsigned foreignWord, std::initializer_list<unsigned> knownWords) const {
        auto* card = new Flashcard(true, 0);
        card->setDependency(D_WORD, foreignWord);
        card->setDependency(D_LESSON, lesson);
        card->set_primaryLevel(2, true);
        card->set_invertedLevel(3, true);
        const unsigned id = Flashcard::add(card);
        for (unsigned word : knownWords) {
            F_W::add(new F_W(id, word));
        }
        return id;
    }

    // The words of a language as stored, by text.
    static std::set<std::wstring> wordsOf(unsigned language) {
        std::set<std::wstring> texts;
        for (auto it = Word::begin(); it != Word::end(); ++it) {
            if (it->getDependency(D_LANGUAGE) == language) {
                texts.insert(it->get_text());
            }
        }
        return texts;
    }
    static Word* word(unsigned language, const wchar_t* text) { return Word::getWord(language, text); }
    // The card whose foreign word is that word; null if none.
    static Flashcard* cardOf(const Word* foreign) {
        for (auto it = Flashcard::begin(); foreign != nullptr && it != Flashcard::end(); ++it) {
            if (it->getDependency(D_WORD) == foreign->getId()) {
                return *it;
            }
        }
        return nullptr;
    }
    // The texts of a card's known words.
    static std::set<std::wstring> knownWordsOf(Flashcard& card) {
        std::set<std::wstring> texts;
        OrnQL_Base::RelationTree& words = card.fTR(D_WORD);
        for (auto it = Word::begin(words); it != Word::end(words); ++it) {
            texts.insert(it->get_text());
        }
        return texts;
    }
    static std::set<unsigned> meaningsOf(Word& word) {
        std::set<unsigned> ids;
        OrnQL_Base::RelationTree& meanings = word.fTR(D_MEANING);
        for (auto it = Meaning::begin(meanings); it != Meaning::end(meanings); ++it) {
            ids.insert(it->getId());
        }
        return ids;
    }
    static unsigned count(dependency table) {
        unsigned n = 0;
        switch (table) {
        case D_WORD:
            for (auto it = Word::begin(); it != Word::end(); ++it) ++n;
            break;
        case D_FLASHCARD:
            for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) ++n;
            break;
        case D_IRREGULARVERB:
            for (auto it = IrregularVerb::begin(); it != IrregularVerb::end(); ++it) ++n;
            break;
        default:
            break;
        }
        return n;
    }

    // --- the screens ----------------------------------------------------------------------------

    // Presses the button and lets the window handle the messages that follow, as the paints
    // after a change do, until no update waits.
    void pressButton(std::wstring_view caption) {
        EditorTest::pressButton(caption);
        settle();
    }
    void chooseEntry(std::wstring_view text, const char* tag = TAG_ITEMLIST) {
        EditorTest::chooseEntry(text, tag);
        settle();
    }
    void settle() {
        for (int round = 0; round < 5 && curState != nullptr && curState->updateQueue != nullptr; ++round) {
            repaintAll();
        }
    }

    void openMenu() { show(createFlashcardMenuState()); }
    void openNewCard() {
        openMenu();
        pressButton(L"New Flashcard");
        ASSERT_EQ(page(), FLASHCARD_FIRST_PAGE);
    }
    void openStoredCard(std::wstring_view line) {
        openMenu();
        chooseEntry(line);
        pressButton(L"Edit Flashcard");
    }
    // Unfolds the selection field tagged `tag` and clicks its entry showing `text`.
    void choose(const char* tag, std::wstring_view text) {
        auto* field = getElementByTag<GuiSelectionfield>(tag, curState);
        ASSERT_NE(field, nullptr) << "no selection " << tag;
        click(field->getX() + field->getWidth() / 2, field->getY() + field->getHeight() / 2);
        paint();
        ASSERT_TRUE(field->isUnfolded()) << tag;
        const GuiItemfield& items = field->getItemfield();
        for (int i = 0; i < items.getNumberOfCurrentElements(); ++i) {
            if (text == items.getEntry(i)) {
                const int lineHeight = items.getCurrentLineHeight();
                click(items.getX() + items.getWidth() / 2, items.getY() + i * lineHeight + lineHeight / 2);
                paint();
                ASSERT_EQ(field->getActivePosition(), i);
                settle();
                return;
            }
        }
        FAIL() << "no entry in " << tag;
    }
    static std::wstring shown(const char* tag) {
        const auto* field = getElementByTag<GuiSelectionfield>(tag, curState);
        return field == nullptr ? L"<none>" : field->getShownText();
    }
    static std::wstring textOf(const char* tag) {
        const auto* text = getElementByTag<GuiText>(tag, curState);
        return text == nullptr || text->getTextW() == nullptr ? L"" : text->getTextW();
    }
    void addKnown(std::wstring_view text) {
        typeInto(TAG_FLASHCARD_KNOWN, text);
        pressButton(L"»");
    }
    // Moves a meaning (shown by its words) between Use and Don't use.
    void shift(std::wstring_view meaning, const char* from) {
        chooseEntry(meaning, from);
        // The shift buttons come after the known word's "»".
        const std::wstring_view arrow = std::string_view(from) == TAG_FLASHCARD_USE ? L"»" : L"«";
        const GuiButton* shiftButton = nullptr;
        for (const GuiButton* button : buttons()) {
            if (arrow == button->getText()) {
                shiftButton = button;
            }
        }
        ASSERT_NE(shiftButton, nullptr);
        click(shiftButton->getX() + shiftButton->getWidth() / 2, shiftButton->getY() + shiftButton->getHeight() / 2);
        paint();
        settle();
    }

    unsigned german = 0, english = 0, pattern = 0;
    unsigned house = 0, home = 0, dog = 0, hund = 0;
    unsigned building = 0, dwelling = 0, animal = 0;
    unsigned buildings = 0, places = 0, lesson = 0, hundCard = 0;
};

}  // namespace screens::test
