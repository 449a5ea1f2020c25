#include "platform/headless/HeadlessPainter.h"

#include <algorithm>
#include <climits>

namespace platform {

void HeadlessPainter::fillRect(const PixelRect& rect, Colour brush, PenStyle pen, int penWidth,
                               Colour penColour) {
    if (record_ != nullptr) {
        record_->rects.push_back({rect, true, brush, pen, penWidth, penColour});
    }
    cairo_.fillRect(rect, brush, pen, penWidth, penColour);
}

void HeadlessPainter::outlineRect(const PixelRect& rect, PenStyle pen) {
    if (record_ != nullptr) {
        record_->rects.push_back({rect, false, 0, pen, 0, 0});
    }
    cairo_.outlineRect(rect, pen);
}

TextExtent HeadlessPainter::measureText(const FontSpec& font, std::wstring_view text) {
    if (!deterministic_) {
        return cairo_.measureText(font, text);
    }
    if (font.cellHeight <= 0) {
        return {};
    }
    const std::size_t end = text.find(L'\0');
    const long long characters =
        static_cast<long long>(end == std::wstring_view::npos ? text.size() : end);
    const long long width = std::min<long long>(characters * font.cellHeight / 2, INT_MAX);
    return {static_cast<int>(width), font.cellHeight};
}

void HeadlessPainter::drawText(const PixelRect& box, const FontSpec& font, std::wstring_view text,
                               unsigned format, Colour colour, bool rightToLeft) {
    if (record_ != nullptr) {
        const std::size_t end = text.find(L'\0');
        record_->texts.push_back({box, font, std::wstring(text.substr(0, end)), format, colour,
                                  rightToLeft});
    }
    cairo_.drawText(box, font, text, format, colour, rightToLeft);
}

void HeadlessPainter::blit(int x, int y, int width, int height, const std::uint32_t* pixels) {
    if (record_ != nullptr && pixels != nullptr && width > 0 && height > 0) {
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        record_->blits.push_back({x, y, width, height, std::vector<std::uint32_t>(pixels, pixels + count)});
    }
    cairo_.blit(x, y, width, height, pixels);
}

}  // namespace platform
