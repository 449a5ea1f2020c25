#pragma once

// A static label: a wide or an 8-bit text fitted into its box (shrunk until it fits, never
// enlarged) in a font face and a format (left, centred, right; one line, vertically centred).
// The inherited background colour is the text colour; it starts as TEXT_RGB.
//
// GuiTitleText is the full-width screen title.

#include <optional>
#include <string>

#include "gui/GuiElement.h"
#include "shell/frameworkPainter.h"

class GuiText : public GuiElement {
public:
    // The box is given by its centre; the text is copied (null: no text). On every page.
    GuiText(const wchar_t* str, int centerX, int centerY, int width, int height, framew_fontFaces font,
            unsigned nFormat);
    GuiText(const char* str, int centerX, int centerY, int width, int height, framew_fontFaces font,
            unsigned nFormat);

    // Replaces the text (either kind) by a copy of `str` and repaints.
    void setText(const wchar_t* str);
    void setText(const char* str);
    // The text of that kind, or null when the label holds the other kind or none.
    const wchar_t* getTextW() const { return uText ? uText->c_str() : nullptr; }
    const char* getTextA() const { return aText ? aText->c_str() : nullptr; }
    void changeFormat(unsigned nFormat);

    void render(const RECT& rc) override;

private:
    std::optional<std::wstring> uText;
    std::optional<std::string> aText;
    framew_fontFaces font;
    unsigned format;
};

class GuiTitleText : public GuiText {
public:
    // Centred across the whole canvas; the box grows downwards with `offset`.
    GuiTitleText(const wchar_t* title, int offset);
};
