#include "gui/GuiTextfield.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/KeyCodes.h"
#include "shell/frameworkPainter.h"

namespace {

namespace character = platform::character;
constexpr COLORREF Black = 0x000000;
// No step sequence needs more presses than the buffer has positions; a bound that can only
// matter if an invariant broke, and then ends the loop instead of spinning.
constexpr int MaxSteps = 2 * (GuiTextfield::MAX_CHARACTERS + 3);

// Control characters as the wide control-character test classifies them under a UTF-8 locale,
// whatever locale the process runs in: C0, DEL, C1 and the line and paragraph separators.
bool isControlCharacter(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

}  // namespace

GuiTextfield::GuiTextfield(int centerX, int centerY, const wchar_t* str, bool rTol, int w, int h)
    : FocusElement(centerX - w / 2, centerY - h / 2, w, h, ALL_CONDITIONS), rightToLeft(rTol) {
    unsigned length = 0;
    text[length++] = CARET;
    for (const wchar_t* c = str; c != nullptr && *c != L'\0' && length <= MAX_CHARACTERS; ++c) {
        if (*c != CARET) {
            text[length++] = *c;
        }
    }
    if (length > 1) {
        text[length] = CARET;
        cursor = length;
        marker = 0;
        marked = true;
    }
}

// --- buffer editing ---

void GuiTextfield::addWchar(wchar_t* str, unsigned pos, wchar_t sym) {
    std::wmemmove(str + pos + 1, str + pos, std::wcslen(str + pos) + 1);
    str[pos] = sym;
}

void GuiTextfield::deleteWchar(wchar_t* str, unsigned pos) {
    std::wmemmove(str + pos, str + pos + 1, std::wcslen(str + pos + 1) + 1);
}

void GuiTextfield::deleteSubString(wchar_t* str, unsigned pos1, unsigned pos2) {
    if (pos2 <= pos1) {
        return;
    }
    std::wmemmove(str + pos1, str + pos2, std::wcslen(str + pos2) + 1);
}

unsigned GuiTextfield::bufferLength() const { return static_cast<unsigned>(std::wcslen(text)); }

// --- the text ---

std::wstring GuiTextfield::visibleText() const {
    std::wstring visible;
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        if (*c != CARET) {
            visible += *c;
        }
    }
    return visible;
}

bool GuiTextfield::showsNoText() const {
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        if (*c != CARET) {
            return false;
        }
    }
    return true;
}

const wchar_t* GuiTextfield::getText() const {
    // A fixed array, so a pointer handed out earlier never dangles; it just shows newer text.
    static wchar_t shared[MAX_CHARACTERS + 1];
    const std::wstring visible = visibleText().substr(0, MAX_CHARACTERS);
    std::wmemcpy(shared, visible.c_str(), visible.size() + 1);
    return shared;
}

void GuiTextfield::setText(const wchar_t* str) {
    if (!editable) {
        return;
    }
    markAll(true);
    deleteMarkedArea();
    feed(str);
    lightRepaint();
}

void GuiTextfield::setText(unsigned number) { setText(std::to_wstring(number).c_str()); }

unsigned GuiTextfield::getNumber() const {
    if (!numeric) {
        return 0;
    }
    unsigned long long value = 0;
    for (wchar_t c : visibleText()) {
        if (c < L'0' || c > L'9') {
            break;
        }
        value = std::min<unsigned long long>(value * 10 + static_cast<unsigned>(c - L'0'), UINT_MAX);
    }
    return static_cast<unsigned>(value);
}

void GuiTextfield::setKeybrdLayout(const char* kl) {
    std::memset(keybrdLayout, 0, sizeof keybrdLayout);
    if (kl != nullptr) {
        std::strncpy(keybrdLayout, kl, sizeof keybrdLayout - 1);
    }
}

void GuiTextfield::changeDirection(bool rTol) {
    if (rightToLeft != rTol) {
        rightToLeft = rTol;
        lightRepaint();
    }
}

void GuiTextfield::setEditable(bool b) {
    if (editable == b) {
        return;
    }
    if (!b) {
        // A read-only field shows its text from index 1: the caret must stand at the start.
        const unsigned towardStart = rightToLeft ? platform::key::Right : platform::key::Left;
        for (int presses = 0; (cursor > 0 || marked) && presses < MaxSteps; ++presses) {
            sysKey(towardStart, false, false);
        }
    }
    editable = b;
    lightRepaint();
}

// --- selection primitives ---

void GuiTextfield::moveCaret(int step) {
    const unsigned target = cursor + step;
    std::swap(text[cursor], text[target]);
    if (marked && marker == target) {
        marker = cursor;  // swapped with the anchor: both are carets, only the roles change
    }
    cursor = target;
    if (!marked) {
        marker = cursor;
    }
}

void GuiTextfield::markAll(bool flag) {
    if (!editable) {
        return;
    }
    while (!caretIsLast()) {
        moveCaret(+1);
    }
    if (flag) {
        if (marked) {
            while (marker > 0) {
                std::swap(text[marker], text[marker - 1]);
                --marker;
            }
        } else if (cursor > 0) {
            addWchar(text, 0, CARET);
            ++cursor;
            marker = 0;
            marked = true;
        }
    } else if (marked) {
        deleteWchar(text, marker);
        --cursor;
        marker = cursor;
        marked = false;
    }
}

void GuiTextfield::deleteMarkedArea() {
    if (!editable || !marked) {
        return;
    }
    const unsigned lower = std::min(cursor, marker);
    deleteSubString(text, lower, std::max(cursor, marker));
    cursor = marker = lower;
    marked = false;
}

void GuiTextfield::dealMarker(bool shiftDown, unsigned previousCursor) {
    if (!editable) {
        return;
    }
    if (marked && (cursor + 1 == marker || marker + 1 == cursor)) {
        const unsigned lower = std::min(cursor, marker);
        deleteWchar(text, lower);
        cursor = marker = lower;
        marked = false;
    } else if (marked && !shiftDown) {
        deleteWchar(text, marker);
        if (text[cursor] != CARET) {
            --cursor;
        }
        marker = cursor;
        marked = false;
    } else if (!marked && shiftDown && previousCursor != cursor) {
        marker = cursor < previousCursor ? previousCursor + 1 : previousCursor;
        addWchar(text, marker, CARET);
        if (text[cursor] != CARET) {
            ++cursor;
        }
        marked = true;
    }
}

// --- keys without a character ---

bool GuiTextfield::stepLeft(bool shiftDown) {
    if (cursor > 0) {
        const unsigned previous = cursor;
        moveCaret(-1);
        dealMarker(shiftDown, previous);
        return true;
    }
    const bool wasMarked = marked;
    if (marked) {
        dealMarker(shiftDown, cursor);
    }
    return wasMarked != marked;
}

bool GuiTextfield::stepRight(bool shiftDown) {
    if (!caretIsLast()) {
        const unsigned previous = cursor;
        moveCaret(+1);
        dealMarker(shiftDown, previous);
        return true;
    }
    const bool wasMarked = marked;
    if (marked) {
        dealMarker(shiftDown, cursor);
    }
    return wasMarked != marked;
}

bool GuiTextfield::atWordStart() const {
    return cursor == 0 || caretIsLast() || (text[cursor - 1] == L' ' && text[cursor + 1] != L' ');
}

bool GuiTextfield::wordStep(bool (GuiTextfield::*step)(bool), bool shiftDown, bool ctrlDown) {
    if (!(this->*step)(shiftDown)) {
        return false;
    }
    for (int steps = 0; ctrlDown && !atWordStart() && steps < MaxSteps; ++steps) {
        if (!(this->*step)(shiftDown)) {
            break;
        }
    }
    return true;
}

bool GuiTextfield::deleteForward(bool ctrlDown) {
    if (marked) {
        deleteMarkedArea();
        return true;
    }
    if (caretIsLast()) {
        return false;
    }
    // With Ctrl: on through the rest of the word and the spaces after it, so the caret ends up
    // before the next word, as Ctrl+Right would have moved it.
    wchar_t removed = 0;
    do {
        removed = text[cursor + 1];
        deleteWchar(text, cursor + 1);
    } while (ctrlDown && !caretIsLast() && !(removed == L' ' && text[cursor + 1] != L' '));
    return true;
}

bool GuiTextfield::toEnd(bool shiftDown) {
    bool changed = false;
    for (int steps = 0; !caretIsLast() && steps < MaxSteps; ++steps) {
        changed = stepRight(shiftDown) || changed;
    }
    // A selection ending at the end is dropped too when Shift is not held.
    if (marked && !shiftDown) {
        changed = stepRight(false) || changed;
    }
    return changed;
}

bool GuiTextfield::toStart(bool shiftDown) {
    bool changed = false;
    for (int steps = 0; cursor > 0 && steps < MaxSteps; ++steps) {
        changed = stepLeft(shiftDown) || changed;
    }
    if (marked && !shiftDown) {
        changed = stepLeft(false) || changed;
    }
    return changed;
}

void GuiTextfield::sysKey(unsigned key, bool shiftDown, bool ctrlDown) {
    if (!editable) {
        return;
    }
    if (rightToLeft && (key == platform::key::Left || key == platform::key::Right)) {
        key = key == platform::key::Left ? platform::key::Right : platform::key::Left;
    }
    bool changed = false;
    switch (key) {
    case platform::key::Left:
        changed = wordStep(&GuiTextfield::stepLeft, shiftDown, ctrlDown);
        break;
    case platform::key::Right:
        changed = wordStep(&GuiTextfield::stepRight, shiftDown, ctrlDown);
        break;
    case platform::key::Delete:
        changed = deleteForward(ctrlDown);
        break;
    case platform::key::End:
        changed = toEnd(shiftDown);
        break;
    case platform::key::Home:
        changed = toStart(shiftDown);
        break;
    default:
        break;
    }
    if (changed) {
        lightRepaint();
    }
}

// --- typed characters ---

bool GuiTextfield::insertCharacter(wchar_t c) {
    if (c == CARET || (numeric && (c < L'0' || c > L'9'))) {
        return false;
    }
    deleteMarkedArea();
    if (visibleLength() >= MAX_CHARACTERS) {
        return false;
    }
    addWchar(text, cursor, c);
    ++cursor;
    marker = cursor;
    return true;
}

void GuiTextfield::feed(const wchar_t* str) {
    for (const wchar_t* c = str; c != nullptr && *c != L'\0'; ++c) {
        if (!marked && visibleLength() >= MAX_CHARACTERS) {
            return;  // nothing more can go in; a huge text need not be walked to its end
        }
        if (!isControlCharacter(*c)) {
            insertCharacter(*c);
        }
    }
}

void GuiTextfield::backspace() {
    if (marked) {
        deleteMarkedArea();
    } else if (cursor > 0) {
        deleteWchar(text, cursor - 1);
        --cursor;
        marker = cursor;
    }
}

void GuiTextfield::copySelection() {
    if (!platform::hasCurrent() || !marked) {
        return;
    }
    const unsigned lower = std::min(cursor, marker);
    const unsigned higher = std::max(cursor, marker);
    platform::current().setClipboardText(std::wstring(text + lower + 1, text + higher));
}

void GuiTextfield::paste() {
    if (platform::hasCurrent()) {
        // The read may wait in a nested loop, which only paints; this field is still there after.
        const std::wstring pasted = platform::current().clipboardText();
        feed(pasted.c_str());
    }
}

void GuiTextfield::unicode(wchar_t key) {
    if (!editable) {
        return;
    }
    if (!isControlCharacter(key)) {
        insertCharacter(key);
    } else if (key == character::Backspace) {
        backspace();
    } else if (key == character::CtrlA) {
        markAll(true);
    } else if (key == character::CtrlV) {
        paste();
    } else if ((key == character::CtrlC || key == character::CtrlX) && marked) {
        copySelection();
        if (key == character::CtrlX) {
            deleteMarkedArea();
        }
    } else {
        return;  // Enter, Escape and the other control characters mean nothing here
    }
    lightRepaint();
}

// --- pointer and focus ---

bool GuiTextfield::unclick(int posX, int posY) {
    if (!unclickPos(posX, posY)) {
        return false;
    }
    if (focused) {
        markAll(!marked);
    } else {
        markAll(true);
        requireFocus();
        // Another field may have taken this click's focus; only the focused one switches layouts.
        if (focused) {
            activateLayout();
        }
    }
    lightRepaint();
    return true;
}

void GuiTextfield::changeFocus(bool newFocus) {
    if (focused == newFocus) {
        return;
    }
    setFocus(newFocus);
    if (newFocus) {
        markAll(true);
        activateLayout();
    }
    lightRepaint();
}

void GuiTextfield::activateLayout() const {
    if (keybrdLayout[0] != '\0') {
        setKL(keybrdLayout);
    }
}

// --- painting ---

void GuiTextfield::render(const RECT& rc) {
    if (!confirmRender(rc, false)) {
        return;
    }
    framewPaintRect(x, y, width, height, bgrnd, focused ? PEN_DASHDOTDOT : PEN_SOLID, 0, Black);
    // A read-only field keeps its caret at index 0 and shows the text without it.
    const wchar_t* shown = editable ? text : text + 1;
    if (!rightToLeft) {
        framewPaintTextW(x, y, width, height, FONT1, shown, editable ? TEXT_LEFT : TEXT_CENTRE, Black);
        return;
    }
    const std::wstring wrapped = RIGHT_TO_LEFT_MARK + std::wstring(shown) + RIGHT_TO_LEFT_MARK;
    framewPaintTextW(x, y, width, height, FONT1, wrapped.c_str(), editable ? TEXT_RIGHT : TEXT_CENTRE, Black);
}
