// Drives a text field with an arbitrary sequence of edits (typed characters, control characters,
// arrows with Shift and Ctrl, clipboard contents, select-all, read-only and numeric switches,
// clicks) and checks after every step that the carets in the buffer still describe the field:
// one caret without a selection, two non-adjacent ones with it, at most 50 characters, and a
// read-only field with its caret at the start.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "gui/GuiTextfield.h"
#include "platform/KeyCodes.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/framework.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool more() const { return position_ < size_; }
    uint8_t byte() { return more() ? data_[position_++] : 0; }
    wchar_t character() {
        // Mostly plain letters and spaces, sometimes any code point (carets, marks, controls).
        const uint8_t kind = byte();
        if (kind % 4 != 0) {
            return static_cast<wchar_t>(" abcxyz019\u05D0"[kind % 11]);
        }
        return static_cast<wchar_t>((byte() << 16 | byte() << 8 | byte()) % 0x110000);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkInvariants(const GuiTextfield& field) {
    const wchar_t* buffer = field.getBuffer();
    const size_t length = std::wcslen(buffer);
    size_t carets = 0;
    for (size_t i = 0; i < length; ++i) {
        carets += buffer[i] == GuiTextfield::CARET ? 1 : 0;
    }
    check(length <= GuiTextfield::MAX_CHARACTERS + 2);
    check(field.getCursor() < length && buffer[field.getCursor()] == GuiTextfield::CARET);
    if (field.isMarked()) {
        check(carets == 2);
        check(field.getMarker() < length && buffer[field.getMarker()] == GuiTextfield::CARET);
        const unsigned gap = field.getCursor() > field.getMarker() ? field.getCursor() - field.getMarker()
                                                                   : field.getMarker() - field.getCursor();
        check(gap > 1);
    } else {
        check(carets == 1);
    }
    check(std::wcslen(field.getText()) == length - carets);
    if (!field.isEditable()) {
        check(field.getCursor() == 0 && !field.isMarked());
    }
}

const unsigned Keys[] = {platform::key::Left, platform::key::Right, platform::key::Home, platform::key::End,
                         platform::key::Delete, platform::key::Up};
const wchar_t Controls[] = {8, 1, 3, 22, 24, 13, 27, 0x2028};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::HeadlessPlatform window({4, 4});
    platform::setCurrent(&window);
    framewUpdate(&window);
    window.setClipboardText(L"");

    Input input(data, size);
    std::wstring initial;
    for (uint8_t n = input.byte() % 60; n > 0; --n) {
        initial += input.character();
    }
    GuiTextfield field(50, 20, initial.c_str(), input.byte() % 2 == 1, 100, 40);
    checkInvariants(field);
    while (input.more()) {
        const uint8_t op = input.byte();
        switch (op % 9) {
        case 0:
        case 1:
            field.unicode(input.character());
            break;
        case 2:
            field.unicode(Controls[input.byte() % std::size(Controls)]);
            break;
        case 3: {
            const uint8_t modifiers = input.byte();
            field.sysKey(Keys[modifiers % std::size(Keys)], (modifiers & 0x40) != 0, (modifiers & 0x80) != 0);
            break;
        }
        case 4: {
            std::wstring clip;
            for (uint8_t n = input.byte(); n > 0; --n) {
                clip += input.character();
            }
            window.setClipboardText(clip);
            break;
        }
        case 5:
            field.markAll((op & 0x10) != 0);
            break;
        case 6:
            field.setEditable(!field.isEditable());
            break;
        case 7:
            if (op & 0x10) {
                field.setNumeric(!field.isNumeric());
            } else {
                field.changeDirection(!field.getRightToLeft());
            }
            break;
        default:
            field.click(50, 20);
            field.unclick(50, 20);
            break;
        }
        checkInvariants(field);
    }
    return 0;
}
