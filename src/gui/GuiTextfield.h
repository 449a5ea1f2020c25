#pragma once

// The one-line editor behind every typed input of the program: at most 50 characters, a caret, a
// selection, the clipboard, right-to-left writing, a digits-only mode, a read-only mode and a
// keyboard layout of its own that is switched in whenever the field gets the focus.
//
// The caret and the ends of a selection live in the text buffer itself, as the character U+2038,
// and are drawn as part of the text (focused or not):
//   - without a selection the buffer holds exactly one U+2038, at `cursor`;
//   - with one (`marked`) it holds exactly two, at `cursor` (the end that moves) and `marker`
//     (the anchor), and the characters strictly between them are selected; a selection that
//     becomes empty dissolves at once;
//   - besides the carets at most MAX_CHARACTERS characters; U+2038 is never part of the text.
// Moving the caret by one swaps its U+2038 with the neighbour. The visible text is the buffer
// without its carets.
//
// Arrow keys, by what they do (Left and Right are exchanged first in a right-to-left field):
//   Left / Right          move the caret; without Shift a selection is dropped where the caret
//                         lands, with Shift it grows or shrinks (and starts where the caret was)
//   Ctrl + Left / Right   repeat the step until the caret reaches either end or stands after a
//                         space and before a non-space (the start of a word)
//   Home / End            to the start / end of the text (in both writing directions)
//   Delete / Backspace    delete the selection, else the character after / before the caret
//   Ctrl + Delete         delete up to the start of the next word
// Typed characters replace a selection; Ctrl+A selects all, Ctrl+C / Ctrl+X copy / cut the
// selection, Ctrl+V pastes through the same filters as typing. A click on an unfocused field
// selects everything; on a focused one it toggles between all selected and none.

#include <string>

#include "gui/FocusElement.h"

class GuiTextfield : public FocusElement {
public:
    static constexpr wchar_t CARET = 0x2038;
    static constexpr unsigned MAX_CHARACTERS = 50;

    // A field centred at (centerX, centerY) of size w x h, on every page, holding `str` (cut at
    // MAX_CHARACTERS, U+2038 dropped) entirely selected; editable, not numeric, no layout.
    GuiTextfield(int centerX, int centerY, const wchar_t* str, bool rTol, int w, int h);

    // The visible text (the buffer without its carets). Screens use this one.
    std::wstring visibleText() const;
    // Whether the visible text is empty (without copying it).
    bool showsNoText() const;
    // The visible text in a buffer shared by all fields and overwritten by the next call of any
    // field, so `wcscmp(a->getText(), b->getText())` is always 0: copy it at once, or better
    // use visibleText.
    const wchar_t* getText() const;
    // Replaces the whole text as if typed: the numeric filter and the limit apply, control
    // characters are dropped. Nothing happens in a read-only field.
    void setText(const wchar_t* str);
    // The decimal digits of `number`.
    void setText(unsigned number);
    // The leading digits of the text as a number (UINT_MAX when larger); 0 when the field is not
    // numeric, is empty or does not start with a digit.
    unsigned getNumber() const;

    void setNumeric(bool b) { numeric = b; }
    bool isNumeric() const { return numeric; }
    // The layout (eight hexadecimal digits) to switch to on gaining the focus; "" or null for none.
    void setKeybrdLayout(const char* kl);
    const char* getKeybrdLayout() const { return keybrdLayout; }
    void changeDirection(bool rTol);
    bool getRightToLeft() const { return rightToLeft; }
    // Switching to read-only first moves the caret to the start and drops a selection.
    void setEditable(bool b);
    bool isEditable() const { return editable; }

    // Selection primitives; none acts in a read-only field.
    // Caret to the end; then with `flag` everything selected, without it nothing.
    void markAll(bool flag);
    // Adjusts the selection after the caret moved from `previousCursor` (see the table above).
    void dealMarker(bool shiftDown, unsigned previousCursor);
    // Deletes the selected characters; the caret stays where the selection began.
    void deleteMarkedArea();

    // The buffer with its carets, and their positions, as the invariants above describe them.
    const wchar_t* getBuffer() const { return text; }
    unsigned getCursor() const { return cursor; }
    unsigned getMarker() const { return marker; }
    bool isMarked() const { return marked; }

    // Editing of NUL-terminated buffers; none checks the buffer's size, callers make room.
    // Inserts `sym` at `pos`, shifting the rest (with the NUL) right.
    static void addWchar(wchar_t* str, unsigned pos, wchar_t sym);
    // Removes the character at `pos`.
    static void deleteWchar(wchar_t* str, unsigned pos);
    // Removes the characters from `pos1` up to but excluding `pos2`.
    static void deleteSubString(wchar_t* str, unsigned pos1, unsigned pos2);

    void render(const RECT& rc) override;
    bool unclick(int x, int y) override;
    void changeFocus(bool newFocus) override;
    void unicode(wchar_t key) override;
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override;

private:
    unsigned bufferLength() const;
    unsigned visibleLength() const { return bufferLength() - (marked ? 2 : 1); }
    bool caretIsLast() const { return cursor + 1 == bufferLength(); }
    bool atWordStart() const;

    void moveCaret(int step);
    bool stepLeft(bool shiftDown);
    bool stepRight(bool shiftDown);
    bool wordStep(bool (GuiTextfield::*step)(bool), bool shiftDown, bool ctrlDown);
    bool deleteForward(bool ctrlDown);
    bool toEnd(bool shiftDown);
    bool toStart(bool shiftDown);
    void backspace();

    // The printable path of typing: filters, replaces a selection, keeps the limit.
    bool insertCharacter(wchar_t c);
    // Feeds pasted or set text through the filters of typing, dropping control characters.
    void feed(const wchar_t* str);
    void copySelection();
    void paste();
    void activateLayout() const;

    wchar_t text[MAX_CHARACTERS + 3] = {};  // the text, up to two carets and the NUL
    unsigned cursor = 0;
    unsigned marker = 0;
    bool marked = false;
    bool rightToLeft = false;
    bool numeric = false;
    bool editable = true;
    char keybrdLayout[9] = {};
};
