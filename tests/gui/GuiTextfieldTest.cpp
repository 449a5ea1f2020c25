#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "gui/GuiTextfield.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::Held;
using mernolex::test::ScreenTest;
namespace key = platform::key;

namespace {

// A screen with two fields: `field` at (300, 100), focused first, and `other` at (300, 200).
class GuiTextfieldTest : public ScreenTest {
protected:
    void open(const wchar_t* initial, bool rightToLeft = false) {
        State* s = createEmptyState(L"Fields");
        field = addElementToState(s, new GuiTextfield(300, 100, initial, rightToLeft, 400, 40));
        other = addElementToState(s, new GuiTextfield(300, 200, L"", false, 400, 40));
        show(s);
    }

    // The buffer with each caret shown as '|'.
    static std::wstring carets(const GuiTextfield& f) {
        std::wstring shown = f.getBuffer();
        for (wchar_t& c : shown) {
            if (c == GuiTextfield::CARET) {
                c = L'|';
            }
        }
        return shown;
    }
    // Puts the caret of an unselected field at `index` of its text.
    void caretAt(unsigned index) {
        key(key::Home);
        for (unsigned i = 0; i < index; ++i) {
            key(key::Right);
        }
    }

    GuiTextfield* field = nullptr;
    GuiTextfield* other = nullptr;
};

}  // namespace

TEST_F(GuiTextfieldTest, TheInitialTextStartsSelectedAndTypingReplacesIt) {
    open(L"abc");
    EXPECT_EQ(L"|abc|", carets(*field));
    EXPECT_EQ(0u, field->getMarker());
    EXPECT_EQ(4u, field->getCursor());
    EXPECT_TRUE(field->isMarked());
    type(L"x");
    EXPECT_EQ(L"x|", carets(*field));
    EXPECT_STREQ(L"x", field->getText());

    // An empty field holds only its caret, and nothing moves, deletes or selects in it.
    EXPECT_EQ(L"|", carets(*other));
    type(L"\t\b\x01");
    key(key::Left);
    key(key::Delete);
    key(key::End, Held::Shift);
    EXPECT_EQ(L"|", carets(*other));
    EXPECT_FALSE(other->isMarked());
}

TEST_F(GuiTextfieldTest, ShiftArrowsSelectAndPlainArrowsDropTheSelectionWhereTheCaretLands) {
    open(L"ab");
    key(key::End);
    EXPECT_EQ(L"ab|", carets(*field));
    key(key::Left, Held::Shift);
    EXPECT_EQ(L"a|b|", carets(*field));
    EXPECT_TRUE(field->isMarked());
    key(key::Left);
    EXPECT_EQ(L"|ab", carets(*field));
    EXPECT_FALSE(field->isMarked());

    key(key::Right, Held::Shift);
    key(key::Right, Held::Shift);
    EXPECT_EQ(L"|ab|", carets(*field));
    key(key::Left, Held::Shift);
    EXPECT_EQ(L"|a|b", carets(*field));
    key(key::Left, Held::Shift);  // the selection shrinks to nothing and dissolves
    EXPECT_EQ(L"|ab", carets(*field));
    EXPECT_FALSE(field->isMarked());

    // Caps Lock turns a plain arrow into a selecting one.
    key(key::Right, Held::None, true);
    EXPECT_EQ(L"|a|b", carets(*field));
    key(key::Right);
    EXPECT_EQ(L"ab|", carets(*field));
    type(L"c");
    EXPECT_STREQ(L"abc", field->getText());
}

TEST_F(GuiTextfieldTest, CtrlArrowsStepToTheStartsOfWords) {
    open(L"one two  three");
    key(key::Home);
    key(key::Right, Held::Ctrl);
    EXPECT_EQ(L"one |two  three", carets(*field));
    key(key::Right, Held::Ctrl);
    EXPECT_EQ(L"one two  |three", carets(*field));
    key(key::Right, Held::Ctrl);
    EXPECT_EQ(L"one two  three|", carets(*field));
    key(key::Left, Held::Ctrl);
    EXPECT_EQ(L"one two  |three", carets(*field));
    key(key::Left, Held::ShiftCtrl);
    EXPECT_EQ(L"one |two  |three", carets(*field));
    type(L"2 ");
    EXPECT_STREQ(L"one 2 three", field->getText());
}

TEST_F(GuiTextfieldTest, DeleteAndBackspaceRemoveOneCharacterOrTheSelectionAndCtrlDeleteAWord) {
    open(L"one two three");
    caretAt(4);
    key(key::Delete, Held::Ctrl);
    EXPECT_EQ(L"one |three", carets(*field));
    type(L"\b");
    EXPECT_EQ(L"one|three", carets(*field));
    key(key::Delete);
    EXPECT_EQ(L"one|hree", carets(*field));
    key(key::End);
    key(key::Delete);  // nothing after the caret
    EXPECT_EQ(L"onehree|", carets(*field));

    // With a selection both keys remove just the selection, Ctrl or not.
    key(key::Left, Held::Shift);
    key(key::Left, Held::Shift);
    key(key::Delete, Held::Ctrl);
    EXPECT_EQ(L"onehr|", carets(*field));
    key(key::Left);
    key(key::Home, Held::Shift);
    type(L"\b");
    EXPECT_EQ(L"|r", carets(*field));
    type(L"\b");
    EXPECT_EQ(L"|r", carets(*field));
}

TEST_F(GuiTextfieldTest, HomeAndEndGoToTheEndsAndDropASelectionUnlessShiftIsHeld) {
    open(L"abcd");  // entirely selected, caret at the end
    key(key::End);
    EXPECT_EQ(L"abcd|", carets(*field));
    key(key::Home, Held::Shift);
    EXPECT_EQ(L"|abcd|", carets(*field));
    key(key::Home);
    EXPECT_EQ(L"|abcd", carets(*field));
    key(key::End, Held::Shift);
    EXPECT_EQ(L"|abcd|", carets(*field));
    key(key::Up);  // other keys do nothing
    EXPECT_EQ(L"|abcd|", carets(*field));
}

TEST_F(GuiTextfieldTest, TypedTextKeepsToFiftyCharactersAndDropsCaretsAndControlCharacters) {
    open(L"");
    const std::wstring sixty(60, L'x');
    type(sixty);
    EXPECT_EQ(std::wstring(50, L'x'), field->getText());
    type(L"\b\u2038\r\x1B\t");
    EXPECT_EQ(std::wstring(49, L'x'), field->getText());
    EXPECT_TRUE(other->getFocus());  // Tab moved on

    // setText goes through the same filters, and the constructor cuts and drops carets too.
    field->setText((L"a\u2038b\x16\r\nc" + sixty).c_str());
    EXPECT_EQ(L"abc" + std::wstring(47, L'x'), field->getText());
    GuiTextfield long_(0, 0, (L"\u2038" + sixty).c_str(), false, 10, 10);
    EXPECT_EQ(std::wstring(50, L'x'), long_.getText());
    EXPECT_EQ(L'\u2038', long_.getBuffer()[51]);
}

TEST_F(GuiTextfieldTest, ANumericFieldTakesOnlyDigitsAndReadsThemAsANumber) {
    open(L"");
    EXPECT_EQ(0u, field->getNumber());
    field->setText(L"12");
    EXPECT_EQ(0u, field->getNumber());  // not numeric yet
    field->setNumeric(true);
    field->setText(L"12a3");
    EXPECT_STREQ(L"123", field->getText());
    EXPECT_EQ(123u, field->getNumber());
    type(L"x-4");
    EXPECT_EQ(1234u, field->getNumber());
    field->setText(42u);
    EXPECT_STREQ(L"42", field->getText());
    field->setText(L"99999999999999999999");
    EXPECT_EQ(UINT_MAX, field->getNumber());
    field->setText(L"");
    EXPECT_EQ(0u, field->getNumber());

    other->setText(7u);  // a plain field shows the digits alone
    EXPECT_STREQ(L"7", other->getText());
}

TEST_F(GuiTextfieldTest, TheClipboardTakesTheSelectionAndPastesThroughTheFilters) {
    open(L"Haus");
    window->setClipboardText(L"before");
    key(key::Home);
    type(L"\x03");  // nothing selected: the clipboard stays
    EXPECT_EQ(L"before", window->clipboardText());
    key(key::Right, Held::Shift);
    key(key::Right, Held::Shift);
    type(L"\x03");
    EXPECT_EQ(L"Ha", window->clipboardText());
    EXPECT_EQ(L"|Ha|us", carets(*field));
    type(L"\x18");
    EXPECT_EQ(L"|us", carets(*field));
    type(L"\x16\x16");
    EXPECT_EQ(L"HaHa|us", carets(*field));

    // Pasted text replaces the selection, loses its control characters (a pasted Ctrl+V is no
    // paste) and stops at the limit, however long it is.
    window->setClipboardText(L"\x16line\none\t" + std::wstring(100000, L'y'));
    type(L"\x01\x16");
    EXPECT_EQ(L"lineone" + std::wstring(43, L'y'), field->getText());
    window->setClipboardText(L"");
    type(L"\x01\x16");
    EXPECT_TRUE(field->isMarked());
    EXPECT_EQ(50u, std::wstring(field->getText()).size());
}

TEST_F(GuiTextfieldTest, ArrowsAreMirroredInARightToLeftFieldWhichDrawsItsTextRightAligned) {
    open(L"\u05D0\u05D1", true);
    key(key::Home);
    key(key::Left);
    EXPECT_EQ(L"\u05D0|\u05D1", carets(*field));
    key(key::Right);
    EXPECT_EQ(L"|\u05D0\u05D1", carets(*field));
    key(key::End);  // Home and End are not mirrored
    EXPECT_EQ(L"\u05D0\u05D1|", carets(*field));

    repaintAll();
    const platform::DrawnText* drawn = window->lastPaint()->findText(L"\u200F\u05D0\u05D1\u2038\u200F");
    ASSERT_NE(nullptr, drawn);
    EXPECT_EQ(TEXT_RIGHT, drawn->format);
    EXPECT_TRUE(drawn->rightToLeft);
}

TEST_F(GuiTextfieldTest, AReadOnlyFieldShowsItsTextCentredWithoutCaretAndIgnoresEditing) {
    open(L"abc");
    field->setEditable(false);
    EXPECT_EQ(L"|abc", carets(*field));
    EXPECT_FALSE(field->isMarked());
    type(L"x\b\x01\x18");
    key(key::Delete);
    key(key::End);
    field->setText(L"new");
    click(300, 100);
    click(300, 100);
    EXPECT_EQ(L"|abc", carets(*field));

    repaintAll();
    const platform::DrawnText* drawn = window->lastPaint()->findText(L"abc");
    ASSERT_NE(nullptr, drawn);
    EXPECT_EQ(TEXT_CENTRE, drawn->format);

    // In a right-to-left field the caret also goes to index 0, however the arrows are mirrored.
    GuiTextfield rtl(0, 0, L"\u05D0\u05D1", true, 100, 20);
    rtl.setEditable(false);
    EXPECT_EQ(0u, rtl.getCursor());
    EXPECT_FALSE(rtl.isMarked());
}

TEST_F(GuiTextfieldTest, ClicksSelectAllThenToggleAndTheFocusBringsTheFieldsLayout) {
    open(L"abc");
    other->setText(L"xyz");
    other->setKeybrdLayout("00000419");
    key(key::End);
    EXPECT_EQ(L"abc|", carets(*field));

    click(300, 200);
    EXPECT_TRUE(other->getFocus());
    EXPECT_FALSE(field->getFocus());
    EXPECT_EQ(L"|xyz|", carets(*other));
    EXPECT_EQ(L"abc|", carets(*field));  // the field left behind keeps its caret
    EXPECT_EQ("00000419", window->keyboardLayouts().activeLayout());

    click(300, 200);
    EXPECT_EQ(L"xyz|", carets(*other));
    click(300, 200);
    EXPECT_EQ(L"|xyz|", carets(*other));

    // Press inside, release outside: no click.
    press(300, 200);
    release(300, 300);
    EXPECT_EQ(L"|xyz|", carets(*other));

    // Tab into a field selects it all; its own layout comes back with it.
    setKL("00000407");
    type(L"\t");
    EXPECT_EQ(L"|abc|", carets(*field));
    EXPECT_EQ("00000407", window->keyboardLayouts().activeLayout());  // the first field has none
    type(L"\t");
    EXPECT_EQ("00000419", window->keyboardLayouts().activeLayout());
}

TEST_F(GuiTextfieldTest, TheFieldDrawsItsCaretsAndTheFocusBorder) {
    open(L"ab");
    key(key::Left, Held::Shift);
    repaintAll();
    EXPECT_TRUE(painted(L"\u2038a\u2038b"));
    bool dashed = false;
    for (const platform::DrawnRect& r : window->lastPaint()->rects) {
        dashed = dashed || (r.rect == platform::PixelRect{100, 80, 500, 120} && r.pen == platform::PenStyle::DashDotDot);
    }
    EXPECT_TRUE(dashed);
    EXPECT_TRUE(painted(L"\u2038"));  // the empty field shows its caret, unfocused
}

TEST_F(GuiTextfieldTest, TwoFieldsCanBeComparedByTheirTexts) {
    open(L"Haus");
    other->setText(L"Baum");
    EXPECT_NE(field->visibleText(), other->visibleText());
    other->setText(L"Haus");
    EXPECT_EQ(field->visibleText(), other->visibleText());

    // The described accessor shares one buffer: a pointer kept from one field shows the last
    // field read, which is why screens compare with visibleText.
    const wchar_t* kept = field->getText();
    other->setText(L"Maus");
    other->getText();
    EXPECT_STREQ(L"Maus", kept);
    EXPECT_EQ(L"Haus", field->visibleText());
}
