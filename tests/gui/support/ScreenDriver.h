#pragma once

// Drives screens built in a test on a headless 1000 x 500 window, the way a user would: press,
// release, click and move the pointer, type text, press keys, let the window paint, then look at
// the screen's state and at what the paint drew.
//
// The window maps pixels 1:1 onto the virtual canvas, so positions are given in virtual units.
// Events reach the state machine directly, followed by updateStateStatus as after every message;
// when `sink` is set (a window procedure), they are sent to it as window messages instead.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/State.h"
#include "gui/StateMachine.h"
#include "platform/KeyCodes.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/framework.h"
#include "shell/frameworkFileManager.h"
#include "shell/frameworkPainter.h"
#include "support/TempDirTest.h"

namespace mernolex::test {

// Modifier keys held with a key that produces no character.
enum class Held { None, Shift, Ctrl, ShiftCtrl };

class ScreenTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directories("Data/Framework");
        stateMachineReset();
        framewReset();
        openWindow({1000, 500});
        framewInit(1000, 500);
        getKL(preApplicationKeyboard);
    }

    void TearDown() override {
        stateMachineReset();
        framewReset();
        platform::setCurrent(nullptr);
        window.reset();
        TempDirTest::TearDown();
    }

    // Replaces the window by one of another client size (the framework works on the new one; a
    // sink must be attached to it again).
    void openWindow(platform::PixelSize client) {
        window = std::make_unique<platform::HeadlessPlatform>(client);
        platform::setCurrent(window.get());
        framewUpdate(window.get());
    }

    // Makes `state` the current screen as the start-up does, and paints it.
    void show(State* state) {
        nextState = state;
        updateStateStatus();
        paint();
    }

    // --- the pointer ---
    void press(int x, int y) {
        if (sink != nullptr) {
            return send(platform::Message::mouse(platform::MessageCode::LButtonDown, x, y));
        }
        mouseDownState(x, y);
        afterMessage();
    }
    void release(int x, int y) {
        if (sink != nullptr) {
            return send(platform::Message::mouse(platform::MessageCode::LButtonUp, x, y));
        }
        mouseUpState(x, y);
        afterMessage();
    }
    void click(int x, int y) {
        press(x, y);
        release(x, y);
    }
    // A move with no button held.
    void move(int x, int y) {
        if (sink != nullptr) {
            return send(platform::Message::mouse(platform::MessageCode::MouseMove, x, y, false));
        }
        mouseInWindow = true;
        mouseHoveredState(x, y);
        afterMessage();
    }
    // A move with the button held.
    void drag(int x, int y) {
        if (sink != nullptr) {
            return send(platform::Message::mouse(platform::MessageCode::MouseMove, x, y, true));
        }
        mouseInWindow = true;
        mouseDownHoveredState(x, y);
        afterMessage();
    }
    void leave() {
        if (sink != nullptr) {
            return send(platform::Message::plain(platform::MessageCode::MouseLeave));
        }
        mouseLeft();
        afterMessage();
    }

    // --- the keyboard ---
    // Each character as a key that produces it (control characters included: Tab, Enter,
    // Backspace, Ctrl+A ...).
    void type(std::wstring_view text) {
        for (wchar_t c : text) {
            if (sink != nullptr) {
                send(platform::Message::keyDown(static_cast<char32_t>(c), 0));
                continue;
            }
            keyboardDownState(c);
            afterMessage();
        }
    }
    // A key without a character (platform::key codes).
    void key(unsigned code, Held held = Held::None, bool capsLock = false) {
        const std::uint16_t shift = held == Held::Shift || held == Held::ShiftCtrl ? platform::KeyStateDown : 0;
        const std::uint16_t ctrl = held == Held::Ctrl || held == Held::ShiftCtrl ? platform::KeyStateDown : 0;
        const std::uint16_t caps = capsLock ? platform::KeyStateToggled : 0;
        if (sink != nullptr) {
            return send(platform::Message::keyDown(0, code, shift, ctrl, caps));
        }
        sysKeyboardDownState(code, shift, ctrl, caps);
        afterMessage();
    }

    // --- painting ---
    // Lets the window paint what is invalid, as its paint message does; returns whether it did.
    bool paint() {
        if (sink != nullptr) {
            return window->deliverPaint();
        }
        if (!window->updateRect()) {
            return false;
        }
        framewBeginPaint();
        if (!preventBackground && !bitmapRepaint) {
            framewPaintRect(0, 0, 1005, 505, colours[BG_RGB], PEN_NULL, 0, 0);
        } else {
            preventBackground = false;
        }
        renderState();
        framewEndPaint();
        afterMessage();
        return true;
    }
    // Forgets earlier paints, invalidates the whole window and paints it.
    const platform::PaintRecord& repaintAll() {
        window->clearPaints();
        framewRepaint();
        paint();
        return *window->lastPaint();
    }
    // The texts the last paint drew, in drawing order.
    std::vector<std::wstring> paintedTexts() const {
        std::vector<std::wstring> texts;
        if (const platform::PaintRecord* record = window->lastPaint()) {
            for (const platform::DrawnText& text : record->texts) {
                texts.push_back(text.text);
            }
        }
        return texts;
    }
    bool painted(std::wstring_view text) const {
        const platform::PaintRecord* record = window->lastPaint();
        return record != nullptr && record->findText(text) != nullptr;
    }

    std::unique_ptr<platform::HeadlessPlatform> window;
    platform::MessageSink* sink = nullptr;

private:
    void send(const platform::Message& message) { window->send(message); }
    void afterMessage() {
        if (sink == nullptr) {
            updateStateStatus();
        }
    }
};

}  // namespace mernolex::test
