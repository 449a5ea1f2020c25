#include "states/WindowProcedure.h"

#include "gui/StateMachine.h"
#include "shell/framework.h"
#include "shell/frameworkPainter.h"

namespace {

// Larger than the canvas by a margin, so no rounding leaves an unpainted edge.
constexpr int BackgroundWidth = 1005;
constexpr int BackgroundHeight = 505;

}  // namespace

void WindowProcedure::handle(const platform::Message& message) {
    using platform::MessageCode;
    framewUpdate(&window_);
    const int x = virtualX(message.x);
    const int y = virtualY(message.y);
    switch (message.code) {
    case MessageCode::Destroy:
        killState();
        window_.postQuit(0);
        break;
    case MessageCode::Size:
        if (message.sizeKind == platform::SizeKind::Maximized ||
            (message.sizeKind == platform::SizeKind::Restored && !sizeMoveFlag)) {
            framewRepaint();
        }
        break;
    case MessageCode::Paint:
        paint();
        break;
    case MessageCode::Close:
        // The user gets back the layout they started with.
        setKL(preApplicationKeyboard);
        window_.destroyWindow();
        break;
    case MessageCode::KeyDown:
        keyDown(message);
        break;
    case MessageCode::MouseMove:
        mouseMove(message);
        break;
    case MessageCode::LButtonDown:
        mouseDownState(x, y);
        break;
    case MessageCode::LButtonUp:
        mouseUpState(x, y);
        break;
    case MessageCode::EnterSizeMove:
        sizeMoveLoop(true);
        break;
    case MessageCode::ExitSizeMove:
        sizeMoveLoop(false);
        break;
    case MessageCode::MouseLeave:
        mouseLeft();
        break;
    case MessageCode::Unhandled:
    default:
        return;
    }
    updateStateStatus();
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
