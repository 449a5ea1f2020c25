#include "shell/frameworkPainter.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/Utf8.h"

namespace {

// Larger targets than this are no picture anyone can see; never allocate for them.
constexpr int MaxBitmapSide = 16384;

PaintedTextWatcher paintedTextWatcher = nullptr;

platform::PenStyle penStyle(int fnPenStyle) {
    switch (fnPenStyle) {
    case PEN_NULL:
        return platform::PenStyle::Null;
    case PEN_DASHDOTDOT:
        return platform::PenStyle::DashDotDot;
    default:
        return platform::PenStyle::Solid;  // no other style is used by the program
    }
}

std::uint32_t deviceWord(COLORREF colour) {
    return (static_cast<std::uint32_t>(platform::redOf(colour)) << 16) |
           (static_cast<std::uint32_t>(platform::greenOf(colour)) << 8) |
           static_cast<std::uint32_t>(platform::blueOf(colour));
}

}  // namespace

void framewPaintRect(int x, int y, int width, int height, COLORREF brushColor, int fnPenStyle,
                     int penWidth, COLORREF penColor) {
    if (hdc == nullptr) {
        return;
    }
    hdc->fillRect(framewPixelRect(x, y, width, height), brushColor, penStyle(fnPenStyle), penWidth,
                  penColor);
}

void framewPaintTransparentRect(RECT rc, int fnPenStyle) {
    if (hdc == nullptr) {
        return;
    }
    hdc->outlineRect({realX(rc.left), realY(rc.top), realX(rc.right), realY(rc.bottom)},
                     penStyle(fnPenStyle));
}

void framewWatchPaintedText(PaintedTextWatcher watcher) { paintedTextWatcher = watcher; }

void framewPaintTextW(int x, int y, int width, int height, int fontEnum, const wchar_t* str,
                      unsigned format, COLORREF color) {
    framewPaintText(x, y, width, height, fontEnum, nullptr, str, format, color);
}

void framewPaintTextA(int x, int y, int width, int height, int fontEnum, const char* str,
                      unsigned format, COLORREF color) {
    framewPaintText(x, y, width, height, fontEnum, str, nullptr, format, color);
}

void framewPaintText(int x, int y, int width, int height, int fontEnum, const char* astr,
                     const wchar_t* ustr, unsigned format, COLORREF color) {
    if (hdc == nullptr) {
        return;
    }
    const std::wstring text = astr != nullptr   ? utf8::decode(astr)
                              : ustr != nullptr ? std::wstring(ustr)
                                                : std::wstring();
    if (paintedTextWatcher != nullptr) {
        paintedTextWatcher(text);
    }
    Font font;
    resolveFont(&font, fontEnum);
    platform::FontSpec fontRequest{font.pFontface, font.fontSize, font.fontWeight};

    const platform::TextExtent measured = hdc->measureText(fontRequest, text);
    double horizontal = 1.0;
    double vertical = 1.0;
    if (measured.width > width) {
        horizontal = static_cast<double>(width) / measured.width;
    }
    if (measured.height > height) {
        vertical = static_cast<double>(height) / measured.height;
    }
    const double factor = std::min(horizontal, vertical);
    fontRequest.cellHeight = adjustValue(framewTruncate(font.fontSize * factor));

    const bool rightToLeft = !text.empty() && text.front() == RIGHT_TO_LEFT_MARK;
    hdc->drawText(framewPixelRect(x, y, width, height), fontRequest, text, format, color, rightToLeft);
}

void framewPaintBitmapFull(const BitmapPixels& picture, int x, int y, int width, int height) {
    if (hdc == nullptr || picture.bit == nullptr || picture.pixelWidth == 0 ||
        picture.pixelHeight == 0) {
        return;
    }
    const int realWidth = realX(width);
    const int realHeight = realY(height);
    if (realWidth <= 0 || realHeight <= 0 || realWidth > MaxBitmapSide || realHeight > MaxBitmapSide) {
        return;
    }
    // The picture's own size over the target size: each target pixel takes the source pixel
    // its position falls on, without filtering.
    const double ratioWidth = static_cast<double>(picture.pixelWidth) / realWidth;
    const double ratioHeight = static_cast<double>(picture.pixelHeight) / realHeight;
    std::vector<unsigned long> rows(static_cast<std::size_t>(realHeight));
    for (int j = 0; j < realHeight; ++j) {
        rows[j] = std::min(static_cast<unsigned long>(j * ratioHeight), picture.pixelHeight - 1);
    }
    // Column by column: the picture is stored that way, so each source column is read in order.
    std::vector<std::uint32_t> buffer(static_cast<std::size_t>(realWidth) * realHeight);
    for (int i = 0; i < realWidth; ++i) {
        const unsigned long column = std::min(static_cast<unsigned long>(i * ratioWidth), picture.pixelWidth - 1);
        const COLORREF* source = picture.bit + column * picture.pixelHeight;
        std::uint32_t* out = buffer.data() + i;
        for (int j = 0; j < realHeight; ++j, out += realWidth) {
            *out = deviceWord(source[rows[j]]);
        }
    }
    hdc->blit(realX(x), realY(y), realWidth, realHeight, buffer.data());
}

Font* resolveFont(Font* ftStruct, int fontEnum) {
    if (ftStruct == nullptr) {
        return nullptr;
    }
    if (fontEnum == FONT1) {
        ftStruct->colour = colours[F1_RGB];
        ftStruct->fontSize = fonts[F1_SIZE];
        ftStruct->fontWeight = fonts[F1_fnWeight];
        ftStruct->pFontface = fontfaces[FONT1] != nullptr ? fontfaces[FONT1] : "";
    } else {
        *ftStruct = Font{};
    }
    return ftStruct;
}

int adjustValue(int value) { return framewTruncate(value * ratioMin); }

COLORREF brightness(COLORREF color, int offset) {
    auto adjust = [offset](int channel) {
        const long long value = static_cast<long long>(channel) + offset;
        return static_cast<int>(offset >= 0 ? std::min<long long>(value, 255)
                                            : std::max<long long>(value, 0));
    };
    return platform::makeColour(adjust(platform::redOf(color)), adjust(platform::greenOf(color)),
                                adjust(platform::blueOf(color)));
}

void framewPaintOffscreen(platform::Painter& painter, double ratio, const std::function<void()>& paint) {
    struct Restore {
        platform::Painter* painter = hdc;
        double x = ratioX;
        double y = ratioY;
        double min = ratioMin;
        RECT area = updateArea;
        ~Restore() {
            hdc = painter;
            ratioX = x;
            ratioY = y;
            ratioMin = min;
            updateArea = area;
        }
    } restore;
    hdc = &painter;
    ratioX = ratioY = ratioMin = ratio;
    updateArea = RECT{0, 0, targetWidth, targetHeight};
    paint();
}
