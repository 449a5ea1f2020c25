#include "gui/GuiButton.h"

#include "gui/State.h"
#include "gui/StateMachine.h"
#include "shell/frameworkPainter.h"

namespace {

struct ButtonSize {
    int width;
    int height;
};
constexpr ButtonSize ButtonSizes[BUTTONS_ENDTAG] = {{333, 62}, {83, 62}, {125, 30}, {54, 25}};

constexpr int PressedShade = -20;
constexpr int HoveredShade = 20;
constexpr COLORREF Black = 0x000000;

ButtonSize sizeOf(int version) {
    return version >= 0 && version < BUTTONS_ENDTAG ? ButtonSizes[version] : ButtonSizes[BUTTON1];
}

}  // namespace

GuiButton::GuiButton(int version, int centerX, int centerY, const wchar_t* str)
    : FocusElement(centerX - sizeOf(version).width / 2, centerY - sizeOf(version).height / 2,
                   sizeOf(version).width, sizeOf(version).height, ALL_CONDITIONS),
      text(str != nullptr ? str : L"") {
    bgrnd = colours[BT_RGB];
}

GuiButton::GuiButton(int version, int centerX, int centerY, const wchar_t* str, NoTagFunc fPtr)
    : GuiButton(version, centerX, centerY, str) {
    funcPtr = fPtr;
}

GuiButton::GuiButton(int version, int centerX, int centerY, const wchar_t* str, StateBuilder fPtr)
    : GuiButton(version, centerX, centerY, str) {
    nextStateFuncPtr = fPtr;
}

GuiButton::GuiButton(int version, int centerX, int centerY, const wchar_t* str, long c)
    : GuiButton(version, centerX, centerY, str) {
    targetCondition = c;
}

GuiButton::GuiButton(int version, int centerX, int centerY, const wchar_t* str, SingleTagFunc fPtr,
                     const void* t1)
    : GuiButton(version, centerX, centerY, str) {
    singleTagFuncPtr = fPtr;
    tag1 = t1;
}

GuiButton::GuiButton(int version, int centerX, int centerY, const wchar_t* str, DoubleTagFunc fPtr,
                     const void* t1, const void* t2)
    : GuiButton(version, centerX, centerY, str) {
    doubleTagFuncPtr = fPtr;
    tag1 = t1;
    tag2 = t2;
}

GuiButton::GuiButton(int version, int centerX, int centerY, const wchar_t* str, const char* t1)
    : GuiButton(version, centerX, centerY, str) {
    tag1 = t1;
}

void GuiButton::setText(const wchar_t* str) {
    text = str != nullptr ? str : L"";
    lightRepaint();
}

void GuiButton::setConditions(long mask) {
    GuiElement::setConditions(mask);
    lightRepaint();
}

void GuiButton::saveMode() {
    if (funcPtr != nullptr || nextStateFuncPtr != nullptr || targetCondition != 0) {
        return;  // these actions carry no tags
    }
    if (tag1 != nullptr) {
        saveMT1 = static_cast<const char*>(tag1);
        tag1 = saveMT1.c_str();
    }
    if (doubleTagFuncPtr != nullptr && tag2 != nullptr) {
        saveMT2 = static_cast<const char*>(tag2);
        tag2 = saveMT2.c_str();
    }
}

void GuiButton::performAction() {
    if (funcPtr != nullptr) {
        funcPtr();
    } else if (nextStateFuncPtr != nullptr) {
        switchToState(nextStateFuncPtr());
    } else if (singleTagFuncPtr != nullptr) {
        singleTagFuncPtr(tag1);
    } else if (doubleTagFuncPtr != nullptr) {
        doubleTagFuncPtr(tag1, tag2);
    } else if (targetCondition != 0) {
        nextCondition = targetCondition;
    } else {
        addUpdate(static_cast<const char*>(tag1), curState);
    }
}

void GuiButton::render(const RECT& rc) {
    if (!confirmRender(rc, false)) {
        return;
    }
    const COLORREF fill = clicked   ? brightness(bgrnd, PressedShade)
                          : hovered ? brightness(bgrnd, HoveredShade)
                                    : bgrnd;
    framewPaintRect(x, y, width, height, fill, focused ? PEN_DASHDOTDOT : PEN_SOLID, 0, Black);
    framewPaintTextW(x, y, width, height, FONT1, text.c_str(), TEXT_CENTRE, Black);
}

bool GuiButton::click(int posX, int posY) {
    if (!clickPos(posX, posY)) {
        return false;
    }
    // A button managed by a container (a table cell) leaves the screen's focus alone.
    if (!getManagedFocus() && curState != nullptr && curState->focus != this) {
        if (curState->focus != nullptr) {
            curState->focus->changeFocus(false);
        }
        curState->focus = this;
    }
    setFocus(true);
    lightRepaint();
    return true;
}

bool GuiButton::hover(int posX, int posY) {
    const bool wasHovered = hovered;
    if (hoverPos(posX, posY) != wasHovered) {
        lightRepaint();
    }
    return hovered;
}

bool GuiButton::unclick(int posX, int posY) {
    const bool wasPressed = clicked;
    const bool complete = unclickPos(posX, posY);
    if (complete || hovered || wasPressed) {
        lightRepaint();  // the pressed look must go
    }
    if (!complete) {
        return false;
    }
    if (!supervised) {
        performAction();
    }
    return true;
}

void GuiButton::unicode(wchar_t key) {
    if (isPressKey(key) && !supervised) {
        performAction();
    }
}

void GuiButton::sysKey(unsigned, bool, bool) {}
