#include "gui/GuiCheckBox.h"

#include "shell/frameworkPainter.h"

namespace {

constexpr const wchar_t* CheckMark = L"\u2713";

}  // namespace

GuiCheckBox::GuiCheckBox(const wchar_t* t, int centerX, int centerY, int w, int h, bool initial, BoolFunc nFptr)
    : FocusElement(centerX - w / 2, centerY - h / 2, w, h, ALL_CONDITIONS),
      text(std::make_unique<GuiText>(t, centerX - h / 2, centerY, w - h, h, FONT1, TEXT_CENTRE)),
      check(std::make_unique<GuiText>(L"", centerX + w / 2 - h / 2, centerY, h, h, FONT1, TEXT_CENTRE)),
      funcPtr(nFptr) {
    setCheck(initial);
}

void GuiCheckBox::setCheck(bool value) {
    checked = value;
    check->setText(checked ? CheckMark : L"");
    if (funcPtr != nullptr) {
        funcPtr(checked);
    }
    lightRepaint();
}

void GuiCheckBox::render(const RECT& rc) {
    if (!confirmRender(rc, false)) {
        return;
    }
    text->render(rc);
    framewPaintRect(x + width - height, y, height, height, bgrnd, focused ? PEN_DASHDOTDOT : PEN_SOLID, 0, 0);
    check->render(rc);
}

bool GuiCheckBox::unclick(int posX, int posY) {
    if (!unclickPos(posX, posY)) {
        return false;
    }
    setCheck(!checked);
    if (!focused) {
        requireFocus();
    }
    return true;
}

void GuiCheckBox::unicode(wchar_t key) {
    if (isPressKey(key)) {
        setCheck(!checked);
    }
}

void GuiCheckBox::sysKey(unsigned, bool, bool) {}
