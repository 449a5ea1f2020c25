#include "gui/GuiText.h"

namespace {

constexpr int TitleCenterX = 500;
constexpr int TitleWidth = 1000;
constexpr int TitleBaseHeight = 100;

}  // namespace

GuiText::GuiText(const wchar_t* str, int centerX, int centerY, int width, int height,
                 framew_fontFaces font, unsigned nFormat)
    : GuiElement(centerX - width / 2, centerY - height / 2, width, height, ALL_CONDITIONS),
      font(font),
      format(nFormat) {
    if (str != nullptr) {
        uText = str;
    }
    bgrnd = colours[TEXT_RGB];
}

GuiText::GuiText(const char* str, int centerX, int centerY, int width, int height,
                 framew_fontFaces font, unsigned nFormat)
    : GuiElement(centerX - width / 2, centerY - height / 2, width, height, ALL_CONDITIONS),
      font(font),
      format(nFormat) {
    if (str != nullptr) {
        aText = str;
    }
    bgrnd = colours[TEXT_RGB];
}

void GuiText::setText(const wchar_t* str) {
    aText.reset();
    uText.reset();
    if (str != nullptr) {
        uText = str;
    }
    lightRepaint();
}

void GuiText::setText(const char* str) {
    uText.reset();
    aText.reset();
    if (str != nullptr) {
        aText = str;
    }
    lightRepaint();
}

void GuiText::changeFormat(unsigned nFormat) {
    format = nFormat;
    lightRepaint();
}

void GuiText::render(const RECT& rc) {
    if (!confirmRender(rc, false)) {
        return;
    }
    if (uText) {
        framewPaintTextW(x, y, width, height, font, uText->c_str(), format, bgrnd);
    } else if (aText) {
        framewPaintTextA(x, y, width, height, font, aText->c_str(), format, bgrnd);
    }
}

GuiTitleText::GuiTitleText(const wchar_t* title, int offset)
    : GuiText(title, TitleCenterX, offset + TitleBaseHeight, TitleWidth, offset + TitleBaseHeight, FONT1,
              TEXT_CENTRE) {}
