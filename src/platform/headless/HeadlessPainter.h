#pragma once

// The painter of the headless window: draws through the shared cairo painter and writes every
// call into the record of the current paint. With the deterministic metric on, text is measured
// as if every character were half as wide as the cell is high (and as high as the cell), so
// tests of text fitting do not depend on the fonts installed; drawing still uses real fonts.

#include "platform/CairoPainter.h"
#include "platform/headless/PaintRecord.h"

namespace platform {

class HeadlessPainter final : public Painter {
public:
    explicit HeadlessPainter(CairoPainter& cairo) : cairo_(cairo) {}

    // Calls are recorded into `record` until it is set to null; the caller keeps ownership.
    void recordInto(PaintRecord* record) { record_ = record; }
    void setDeterministicMetric(bool on) { deterministic_ = on; }
    bool deterministicMetric() const { return deterministic_; }

    void fillRect(const PixelRect& rect, Colour brush, PenStyle pen, int penWidth,
                  Colour penColour) override;
    void outlineRect(const PixelRect& rect, PenStyle pen) override;
    TextExtent measureText(const FontSpec& font, std::wstring_view text) override;
    void drawText(const PixelRect& box, const FontSpec& font, std::wstring_view text,
                  unsigned format, Colour colour, bool rightToLeft) override;
    void blit(int x, int y, int width, int height, const std::uint32_t* pixels) override;

private:
    CairoPainter& cairo_;
    PaintRecord* record_ = nullptr;
    bool deterministic_ = false;
};

}  // namespace platform
