#include "gui/GuiToggle.h"

#include "shell/frameworkPainter.h"

namespace {

// A coordinate of the switch's drawing, computed in floating point and truncated.
int part(int origin, double fraction, int extent) { return framewTruncate(origin + fraction * extent); }
int share(double fraction, int extent) { return framewTruncate(fraction * extent); }

}  // namespace

GuiToggle::GuiToggle(const wchar_t* tLeft, const wchar_t* tRight, bool initToggle, int cX, int cY, int width,
                     int height, BoolFunc nFptr)
    : FocusElement(cX - width / 2, cY - height / 2, width, height, ALL_CONDITIONS),
      rightOn(initToggle),
      funcPtr(nFptr),
      textLeft(std::make_unique<GuiText>(tLeft, framewTruncate(cX - 0.3 * width), cY, share(0.4, width), height,
                                         FONT1, TEXT_RIGHT)),
      textRight(std::make_unique<GuiText>(tRight, framewTruncate(cX + 0.3 * width), cY, share(0.4, width),
                                          height, FONT1, TEXT_LEFT)) {}

void GuiToggle::setRightOn(bool b) {
    if (rightOn != b) {
        rightOn = b;
        lightRepaint();
    }
}

void GuiToggle::changed() {
    lightRepaint();
    if (funcPtr != nullptr) {
        funcPtr(rightOn);
    }
}

void GuiToggle::render(const RECT& rc) {
    if (!confirmRender(rc, false)) {
        return;
    }
    textLeft->render(rc);
    textRight->render(rc);
    const int w = width;
    const int h = height;
    framewPaintRect(part(x, 0.4, w), part(y, 0.2, h), share(0.2, w), share(0.6, h), colours[WHITE_RGB],
                    focused ? PEN_DASHDOTDOT : PEN_SOLID, 0, 0);
    framewPaintRect(part(x, 0.42, w), part(y, 0.4, h), share(0.16, w), share(0.2, h), colours[TOGGLE_RAIL_RGB],
                    PEN_SOLID, 0, 0);
    framewPaintRect(part(x, rightOn ? 0.5 : 0.41, w), part(y, 0.3, h), share(0.09, w), share(0.4, h),
                    colours[BT_RGB], PEN_SOLID, 0, 0);
}

bool GuiToggle::unclick(int posX, int posY) {
    if (!unclickPos(posX, posY)) {
        return false;
    }
    if (textLeft->hoverPos(posX, posY)) {
        rightOn = false;
    } else if (textRight->hoverPos(posX, posY)) {
        rightOn = true;
    } else {
        rightOn = !rightOn;
    }
    if (!focused) {
        requireFocus();
    }
    changed();
    return true;
}

void GuiToggle::unicode(wchar_t key) {
    if (isPressKey(key)) {
        rightOn = !rightOn;
        changed();
    }
}

void GuiToggle::sysKey(unsigned, bool, bool) {}
