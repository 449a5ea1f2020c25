#pragma once

// The practice screen driven the way a learner works it: through the window procedure of a
// headless window, by captions and keys, on a small French-English vocabulary stored on disk, with
// a clock the test steps and a fixed random seed.

#include <ctime>
#include <initializer_list>
#include <string>
#include <vector>

#include "gui/GuiCheckBox.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextfield.h"
#include "model/ModelTestSupport.h"
#include "practice/CardFacts.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeScreen.h"
#include "practice/statePractice.h"
#include "states/StatesFixture.h"

namespace practicetest {

inline std::time_t fakeNow = 1700000000;
inline std::time_t fakeClock() { return fakeNow; }

// Ids of the vocabulary every practice test starts with.
struct Vocabulary {
    unsigned french = 0, english = 0;
    unsigned le = 0, la = 0;
    unsigned chien = 0, toutou = 0, chat = 0, maison = 0, parler = 0, etre = 0;
    unsigned dog = 0, cat = 0, house = 0, speak = 0, talk = 0, be = 0;
    unsigned animals = 0, basics = 0;
    unsigned er = 0;  // the French pattern of verbs in -er
};

class PracticeTest : public states::test::StatesTest {
protected:
    static constexpr std::uint32_t SEED = 20240310;

    void SetUp() override {
        StatesTest::SetUp();
        startDatabase();
        fakeNow = 1700000000;
        Practice_container::setClock(fakeClock);
        setPracticeSeed(SEED);
        buildVocabulary();
    }
    void TearDown() override {
        setPracticeSeed(std::nullopt);
        Practice_container::setClock(nullptr);
        StatesTest::TearDown();
    }

    // French (articles le and la, persons je and tu, tenses présent and futur, a pattern for verbs
    // in -er, the irregular être) and English. Meanings: chien = toutou = dog, chat = cat,
    // maison = house, parler = speak = talk, être = be; the category Animals holds the meanings of
    // dog and cat. A lesson Basics exists. Nothing is a card yet.
    void buildVocabulary() {
        v.french = language(L"French", "0000040C");
        v.english = language(L"English", "00000409");
        v.le = Article::add(new Article(L"le", v.french));
        v.la = Article::add(new Article(L"la", v.french));
        Person::add(new Person(L"je", v.french));
        Person::add(new Person(L"tu", v.french));
        Tense::add(new Tense(L"présent", v.french));
        Tense::add(new Tense(L"futur", v.french));
        auto* pattern = new VerbPattern(2, 2, v.french, 0);
        ASSERT_TRUE(pattern->initPattern({{L"/post-2+e", L"/post+ai"}, {L"/post-2+es", L"/post+as"}}));
        v.er = VerbPattern::add(pattern);

        v.chien = word(v.french, L"chien", v.le);
        v.toutou = word(v.french, L"toutou", v.le);
        v.chat = word(v.french, L"chat", v.le);
        v.maison = word(v.french, L"maison", v.la);
        v.parler = word(v.french, L"parler", 0);
        Word::getById(v.parler)->setDependency(D_VERBPATTERN, v.er);
        v.etre = word(v.french, L"être", 0);
        IrregularVerb* etre = IrregularVerb::createAndAdd(v.french, v.etre);
        etre->addContent(L"suis", 0, 0);
        etre->addContent(L"es", 0, 1);
        etre->addContent(L"serai", 1, 0);
        etre->addContent(L"seras", 1, 1);
        v.dog = word(v.english, L"dog", 0);
        v.cat = word(v.english, L"cat", 0);
        v.house = word(v.english, L"house", 0);
        v.speak = word(v.english, L"speak", 0);
        v.talk = word(v.english, L"talk", 0);
        v.be = word(v.english, L"be", 0);

        const unsigned dogMeaning = meaning({v.chien, v.toutou, v.dog});
        const unsigned catMeaning = meaning({v.chat, v.cat});
        meaning({v.maison, v.house});
        meaning({v.parler, v.speak, v.talk});
        meaning({v.etre, v.be});
        v.animals = Category::add(new Category(L"Animals"));
        C_M::add(new C_M(v.animals, dogMeaning));
        C_M::add(new C_M(v.animals, catMeaning));
        v.basics = Lesson::add(new Lesson(L"Basics", Lesson::NO_DUE_DATE));
        saveDatabase(D_ENDTAG);
    }

    static unsigned language(const wchar_t* name, const char* layout) {
        const unsigned id = modeltest::addLanguage(name);
        Language::getById(id)->set_keyboardLocalID(layout);
        return id;
    }
    static unsigned word(unsigned languageId, const wchar_t* text, unsigned article) {
        const unsigned id = modeltest::addWord(languageId, text);
        Word::getById(id)->setDependency(D_ARTICLE, article);
        return id;
    }
    static unsigned meaning(std::initializer_list<unsigned> words) {
        const unsigned id = Meaning::add(new Meaning(1));
        for (unsigned w : words) {
            M_W::add(new M_W(id, w));
        }
        return id;
    }
    // A card for the foreign word with these known words, stored on disk.
    static unsigned card(unsigned foreign, std::initializer_list<unsigned> known, bool useInverted = false,
                         std::int32_t due = 0) {
        auto* flashcard = new Flashcard(useInverted, due);
        flashcard->setDependency(D_WORD, foreign);
        const unsigned id = Flashcard::add(flashcard);
        for (unsigned k : known) {
            F_W::add(new F_W(id, k));
        }
        saveDatabase(D_ENDTAG);
        return id;
    }

    // --- the screen ---

    void openPractice() {
        show(createPracticeState());
        paint();
    }
    // Puts the card's primary direction on the level, opens the screen and starts a run, with or
    // without articles asked.
    void startAt(unsigned cardId, unsigned level, bool articles = true) {
        Flashcard::getById(cardId)->set_primaryLevel(level, false);
        saveDatabase(D_ENDTAG);
        openPractice();
        setBox(practiceScreen.checkBoxArticles, articles);
        pressButton(L"Start");
        ASSERT_NE(head(), nullptr);
    }
    // Ticks or unticks a check box of the start page by clicking it.
    void setBox(GuiCheckBox* box, bool ticked) {
        if (box->getCheck() != ticked) {
            click(box->getX() + box->getWidth() / 2, box->getY() + box->getHeight() / 2);
            paint();
        }
    }
    static long page() { return curState == nullptr ? 0 : curState->condition; }
    static Practice_container* head() { return practiceRun.pQ.get(); }
    // The text the learner sees in the answer field of the primary question.
    static std::wstring typedForeignWord() { return practiceScreen.textfieldFWord->visibleText(); }

    // The form of tense x and person y of the word's verb.
    static std::wstring verbForm(const Word& word, unsigned x, unsigned y) {
        if (VerbPattern* pattern = wordPattern(word)) {
            std::wstring form = word.get_text();
            VerbPattern::convertWithPattern(pattern->get_patternAt(x, y), form);
            return form;
        }
        const IrregularVerb* irregular = wordIrregularVerb(word);
        return irregular == nullptr ? L"" : irregular->get_content(x, y);
    }
    // Answers the card at the head correctly on every page it asks, then submits.
    void answerHeadCorrectly() {
        ASSERT_NE(head(), nullptr);
        const Practice_container& card = *head();
        const Word& word = *foreignWord(card);
        const CardParts parts = practiceRun.headParts;
        if (parts.word && !card.getInverse()) {
            GuiTextfield& field = *practiceScreen.textfieldFWord;
            click(field.getX() + 5, field.getY() + 5);
            type(word.get_text());
        } else if (parts.word) {
            for (const Word* known : knownWords(*card.fcard())) {
                addKnown(known->get_text());
            }
        }
        if (parts.article) {
            pressButton(L"Next");
            chooseArticle(Article::getById(word.getDependency(D_ARTICLE))->get_text());
        }
        if (parts.verb) {
            pressButton(L"Next");
            for (unsigned x = 0; x < 2; ++x) {
                for (unsigned y = 0; y < 2; ++y) {
                    typeIntoVerbCell(x, y, verbForm(word, x, y));
                }
            }
        }
        pressButton(L"Submit");
    }
    // Clicks a cell of the verb table shown (tense index x, person index y) and types the form.
    void typeIntoVerbCell(unsigned x, unsigned y, const std::wstring& form) {
        const GuiTable* table = practiceScreen.tableVerb;
        ASSERT_NE(table, nullptr);
        const GuiTableCell* cell = table->getCell(static_cast<int>(y) + 1, static_cast<int>(x) + 1);
        ASSERT_NE(cell, nullptr);
        click(cell->getX() + cell->getWidth() / 2, cell->getY() + cell->getHeight() / 2);
        type(form);
        paint();
    }
    // Unfolds the article selection shown (the forced one on the forced page) and chooses the
    // entry with that text.
    void chooseArticle(const wchar_t* article) {
        GuiSelectionfield* field = curState->takesPart(*practiceScreen.selectionForcedArticle)
                                       ? practiceScreen.selectionForcedArticle
                                       : practiceScreen.selectionArticle;
        click(field->getX() + field->getWidth() / 2, field->getY() + field->getHeight() / 2);
        paint();
        ASSERT_TRUE(field->isUnfolded());
        const GuiItemfield& list = field->getItemfield();
        for (int i = 0; i < list.getNumberOfCurrentElements(); ++i) {
            if (std::wstring(list.getEntry(i)) == article) {
                const int rowY = list.getY() + i * list.getCurrentLineHeight() + list.getCurrentLineHeight() / 2;
                click(list.getX() + list.getWidth() / 2, rowY);
                paint();
                return;
            }
        }
        FAIL() << "no such article in the selection";
    }
    // Types a known word and presses Add.
    void addKnown(const std::wstring& text) {
        click(practiceScreen.textfieldKWord->getX() + 5, practiceScreen.textfieldKWord->getY() + 5);
        type(text);
        pressButton(L"Add");
    }

    Vocabulary v;
};

}  // namespace practicetest
