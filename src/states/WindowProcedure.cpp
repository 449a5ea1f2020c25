#include "states/WindowProcedure.h"

#include "gui/MessageNesting.h"
#include "gui/StateMachine.h"
#include "model/InterfaceText.h"
#include "shell/framework.h"
#include "shell/frameworkPainter.h"

namespace {

// Larger than the canvas by a margin, so no rounding leaves an unpainted edge.
constexpr int BackgroundWidth = 1005;
constexpr int BackgroundHeight = 505;

}  // namespace

void WindowProcedure::handle(const platform::Message& message) {
    framewUpdate(&window_);
    const bool nested = MessageNesting::inside();
    try {
        if (nested) {
            handleNested(message);
            return;
        }
        // Messages kept while the start-up ran the state machine outside any message come first.
        handleDeferred();
        handleOutermost(message);
        handleDeferred();
    } catch (...) {
        survive(nested);
    }
}

void WindowProcedure::handleOutermost(const platform::Message& message) {
    MessageNesting handling;
    if (dispatch(message)) {
        updateStateStatus();
    }
    failuresInARow_ = 0;
}

void WindowProcedure::survive(bool nested) {
    if (hdc != nullptr) {
        framewEndPaint();
    }
    if (nested) {
        return;
    }
    const bool sound = ++failuresInARow_ < 2 && curState != nullptr;
    try {
        MessageNesting showing;  // what arrives while the box is open waits, as under any box
        platform::current().messageBox(interfaceText(String_ERROR_SAVE_DB), interfaceText(String_INFORMATION),
                                       platform::MessageIcon::Error, platform::MessageButtons::Ok);
    } catch (...) {
        // Not even the box could be shown: nothing more to tell.
    }
    if (!sound) {
        platform::Message close;
        close.code = platform::MessageCode::Close;
        try {
            handleOutermost(close);
            handleDeferred();
        } catch (...) {
            window_.postQuit(1);
        }
        return;
    }
    framewRepaint();
}

void WindowProcedure::handleNested(const platform::Message& message) {
    MessageNesting handling;
    switch (message.code) {
    case platform::MessageCode::Paint:
        if (hdc == nullptr) {
            paint();
        }
        break;
    case platform::MessageCode::Unhandled:
        break;
    default:
        deferred_.push_back(message);
        break;
    }
}

void WindowProcedure::handleDeferred() {
    // One at a time: handling one may keep further messages, which this loop then handles too.
    while (!deferred_.empty()) {
        const platform::Message next = deferred_.front();
        deferred_.pop_front();
        handleOutermost(next);
    }
}

bool WindowProcedure::dispatch(const platform::Message& message) {
    using platform::MessageCode;
    const int x = virtualX(message.x);
    const int y = virtualY(message.y);
    switch (message.code) {
    case MessageCode::Destroy:
        killState();
        window_.postQuit(0);
        return true;
    case MessageCode::Size:
        if (message.sizeKind == platform::SizeKind::Maximized ||
            (message.sizeKind == platform::SizeKind::Restored && !sizeMoveFlag)) {
            framewRepaint();
        }
        return true;
    case MessageCode::Paint:
        paint();
        return true;
    case MessageCode::Close:
        // The user gets back the layout they started with.
        setKL(preApplicationKeyboard);
        window_.destroyWindow();
        return true;
    case MessageCode::KeyDown:
        keyDown(message);
        return true;
    case MessageCode::MouseMove:
        mouseMove(message);
        return true;
    case MessageCode::LButtonDown:
        mouseDownState(x, y);
        return true;
    case MessageCode::LButtonUp:
        mouseUpState(x, y);
        return true;
    case MessageCode::EnterSizeMove:
        sizeMoveLoop(true);
        return true;
    case MessageCode::ExitSizeMove:
        sizeMoveLoop(false);
        return true;
    case MessageCode::MouseLeave:
        mouseLeft();
        return true;
    case MessageCode::Unhandled:
        return false;
    }
    return false;
}

void WindowProcedure::paint() {
    framewBeginPaint();
    // A paint the system asked for on its own (window uncovered) keeps what is on the canvas.
    if (!preventBackground && !bitmapRepaint) {
        framewPaintRect(0, 0, BackgroundWidth, BackgroundHeight, colours[BG_RGB], PEN_NULL, 0, 0);
    } else {
        preventBackground = false;
    }
    renderState();
    framewEndPaint();
}

void WindowProcedure::keyDown(const platform::Message& message) {
    if (message.character != 0) {
        keyboardDownState(static_cast<wchar_t>(message.character));
    } else {
        sysKeyboardDownState(message.keyCode, message.shiftState, message.ctrlState, message.capsState);
    }
}

void WindowProcedure::mouseMove(const platform::Message& message) {
    // Leave tracking is re-armed by the backend itself; the procedure only notes the return.
    mouseInWindow = true;
    const int x = virtualX(message.x);
    const int y = virtualY(message.y);
    if (message.buttonsOrModifiersHeld) {
        mouseDownHoveredState(x, y);
    } else {
        mouseHoveredState(x, y);
    }
}
