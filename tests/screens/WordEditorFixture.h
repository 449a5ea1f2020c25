#pragma once

// The word editor driven through the window procedure on a small vocabulary: German ("Deutsch",
// layout 00000407, a flag and a keyboard picture) with articles, three persons, two tenses and one
// verb pattern, and English (layout 00000809) without persons or tenses. The word page's elements
// carry no tags, so the helpers find them where the user sees them.

#include <filesystem>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "EditorTest.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextfield.h"
#include "gui/support/BmpBytes.h"
#include "model/ProvisionalRecords.h"
#include "model/ui/VerbTableCells.h"
#include "screens/WordScreen.h"
#include "screens/stateWord.h"

namespace screens::test {

class WordEditorTest : public EditorTest {
protected:
    // Where the word page's fields are.
    static constexpr int LANGUAGE_X = 225, LANGUAGE_Y = 115;
    static constexpr int WORD_X = 275, WORD_Y = 165;
    static constexpr int PRONUNCIATION_X = 275, PRONUNCIATION_Y = 215;
    static constexpr int PATTERN_X = 375, VERB_Y = 265;
    static constexpr int ARTICLE_X = 325, ARTICLE_Y = 315;
    static constexpr int HINT_X = 725, HINT_Y = 315;
    static constexpr int IRREGULAR_LABEL_X = 185, REGULAR_LABEL_X = 312;

    void SetUp() override {
        EditorTest::SetUp();
        resetProvisionalRecords();  // notes of a test run before in the same process
        getKL(preApplicationKeyboard);
        german = addGermanWithGrammar();
        english = modeltest::addLanguage(L"English");
        Language::getById(english)->set_keyboardLocalID("00000809");
        saveEverything();
    }

    unsigned addGermanWithGrammar() {
        const unsigned id = modeltest::addLanguage(L"Deutsch");
        Language::getById(id)->set_keyboardLocalID("00000407");
        for (const wchar_t* article : {L"der", L"die", L"das"}) {
            Article::add(new Article(article, id));
        }
        for (const wchar_t* person : {L"ich", L"du", L"er"}) {
            Person::add(new Person(person, id));
        }
        for (const wchar_t* tense : {L"Präsens", L"Präteritum"}) {
            Tense::add(new Tense(tense, id));
        }
        auto* pattern = new VerbPattern(2, 3, id, 0);
        const wchar_t* rules[2][3] = {{L"/post-2+e", L"/post-2+st", L"/post-2+t"},
                                      {L"/post-2+te", L"/post-2+test", L"/post-2+te"}};
        for (unsigned tense = 0; tense < 2; ++tense) {
            for (unsigned person = 0; person < 3; ++person) {
                pattern->addContent(rules[tense][person], tense, person);
            }
        }
        VerbPattern::add(pattern);
        std::filesystem::create_directories(FLAG_IMAGE_DIR);
        std::filesystem::create_directories(KEYBOARD_IMAGE_DIR);
        writePicture(std::string(FLAG_IMAGE_DIR) + std::to_string(id) + ".bmp", 0x0000FF);
        writePicture(std::string(KEYBOARD_IMAGE_DIR) + std::to_string(id) + ".bmp", 0x00FF00);
        return id;
    }
    static void writePicture(const std::string& path, std::uint32_t colour) {
        mernolex::test::writeBytes(path, mernolex::test::bmp24(4, 2, [colour](int, int) { return colour; }));
    }

    // A stored word of German with its texts.
    static unsigned addGermanWord(unsigned language, const wchar_t* text, const wchar_t* ipa = L"",
                                  const wchar_t* mnemonic = L"") {
        auto* word = new Word(text, ipa, mnemonic);
        word->setDependency(D_LANGUAGE, language);
        return Word::add(word);
    }

    void openEditor() { show(createWordState()); }

    // Presses Save, which must be refused with the box saying `why`, and acknowledges the box.
    void expectSaveRefused(framew_strings why) {
        answerNextBox(MessageResult::Ok);
        pressButton(L"Save");
        EXPECT_EQ(lastBoxText(), curStrings[why]);
    }

    // --- the word page, by where its fields are --------------------------------------------------

    // The element of kind E that takes part on the current page and lies under the point.
    template <typename E>
    static E* at(int x, int y) {
        for (GuiElement* e = curState == nullptr ? nullptr : curState->firstElement; e != nullptr; e = e->nextElement) {
            auto* found = dynamic_cast<E*>(e);
            if (found != nullptr && curState->takesPart(*found) && found->checkPos(x, y)) {
                return found;
            }
        }
        return nullptr;
    }
    // Clicks into the field at the point, selects all it holds and types over it ("" empties it).
    void typeAt(int x, int y, std::wstring_view text) {
        ASSERT_NE(at<GuiTextfield>(x, y), nullptr) << "no field at " << x << ", " << y;
        click(x, y);
        type(L"\x01\b");
        type(text);
        paint();
    }
    static std::wstring textAt(int x, int y) {
        const GuiTextfield* field = at<GuiTextfield>(x, y);
        return field == nullptr ? L"<no field>" : field->visibleText();
    }
    // Unfolds the selection field at the point and clicks the entry showing `entry`.
    void chooseAt(int x, int y, std::wstring_view entry) {
        GuiSelectionfield* field = at<GuiSelectionfield>(x, y);
        ASSERT_NE(field, nullptr) << "no selection at " << x << ", " << y;
        click(x, y);
        paint();
        ASSERT_TRUE(field->isUnfolded());
        const GuiItemfield& items = field->getItemfield();
        for (int i = 0; i < items.getNumberOfCurrentElements(); ++i) {
            if (entry == items.getEntry(i)) {
                const int line = items.getCurrentLineHeight();
                click(items.getX() + items.getWidth() / 2, items.getY() + i * line + line / 2);
                paint();
                ASSERT_EQ(field->getShownText(), entry);
                return;
            }
        }
        FAIL() << "no entry \"" << std::string(entry.begin(), entry.end()) << "\"";
    }
    static std::wstring shownAt(int x, int y) {
        const GuiSelectionfield* field = at<GuiSelectionfield>(x, y);
        return field == nullptr ? L"<no selection>" : field->getShownText();
    }
    void chooseIrregular() {
        click(IRREGULAR_LABEL_X, VERB_Y);
        paint();
    }
    void chooseRegular() {
        click(REGULAR_LABEL_X, VERB_Y);
        paint();
    }
    // The text in a cell of the verb table on the verb page (person line, tense column).
    static std::wstring cell(int line, int column) {
        const GuiTable* table = at<GuiTable>(500, 300);
        return table == nullptr ? L"<no table>" : modelui::cellText(*table, line, column);
    }
    void typeIntoCell(int line, int column, std::wstring_view text) {
        const GuiTable* table = at<GuiTable>(500, 300);
        ASSERT_NE(table, nullptr);
        const GuiTableCell* target = table->getCell(line, column);
        click(target->getX() + target->getWidth() / 2, target->getY() + target->getHeight() / 2);
        type(L"\x01\b");
        type(text);
        paint();
    }

    // --- what is stored ------------------------------------------------------------------------

    // The only word of the language with that text, or null.
    static Word* storedWord(unsigned language, const wchar_t* text) {
        Word* found = nullptr;
        for (auto it = Word::begin(); it != Word::end(); ++it) {
            if (it->getDependency(D_LANGUAGE) == language && std::wstring(text) == it->get_text()) {
                EXPECT_EQ(found, nullptr) << "the word is stored twice";
                found = *it;
            }
        }
        return found;
    }
    static unsigned articleOf(unsigned language, const wchar_t* text) {
        for (auto it = Article::begin(); it != Article::end(); ++it) {
            if (it->getDependency(D_LANGUAGE) == language && std::wstring(text) == it->get_text()) {
                return it->getId();
            }
        }
        return 0;
    }
    static unsigned firstPattern() { return VerbPattern::begin() == VerbPattern::end() ? 0 : VerbPattern::begin()->getId(); }

    unsigned german = 0;
    unsigned english = 0;
};

}  // namespace screens::test
