#pragma once

// The drawing code shared by both backends: platform::Painter on any cairo context (an image
// surface of the headless backend, the context of a GTK draw handler), with pango for text.
//
// A painter lives as long as its window and is bound to a cairo context for each paint. It keeps
// what does not change between calls: one pango context and layout, the font descriptions by
// face, weight and cell height, and each face's ratio of em size to cell height. Nothing cached
// changes what is drawn; setCaching(false) creates everything per call to measure that.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/Platform.h"

typedef struct _cairo cairo_t;
typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;
typedef struct _PangoFontDescription PangoFontDescription;

namespace platform {

// Frees pango's default font map and with it the fonts it loaded, so that a leak checker sees a
// clean exit; a painter created later loads them again. Does nothing and returns false while any
// painter is alive. Only for processes that use no other pango user (tests, benchmarks), never
// for the window of a GTK program.
bool releaseFontResources();

class CairoPainter final : public Painter {
public:
    // Objects created by all painters since the process started, for the paint benchmark.
    struct Counters {
        long layoutsCreated = 0;
        long fontDescriptionsCreated = 0;
    };
    static Counters counters();

    CairoPainter();
    ~CairoPainter() override;
    CairoPainter(const CairoPainter&) = delete;
    CairoPainter& operator=(const CairoPainter&) = delete;

    // Draws into `cr` from now until unbind(); the caller keeps ownership of `cr`, which must
    // stay valid while bound. Unbound, drawing calls do nothing and measuring still works.
    void bind(cairo_t* cr);
    void unbind();
    bool bound() const { return cr_ != nullptr; }

    void setCaching(bool on) { caching_ = on; }

    // Glyphs that no installed font could show in the last text measured or drawn.
    int lastUnknownGlyphs() const { return lastUnknownGlyphs_; }

    void fillRect(const PixelRect& rect, Colour brush, PenStyle pen, int penWidth,
                  Colour penColour) override;
    void outlineRect(const PixelRect& rect, PenStyle pen) override;
    TextExtent measureText(const FontSpec& font, std::wstring_view text) override;
    void drawText(const PixelRect& box, const FontSpec& font, std::wstring_view text,
                  unsigned format, Colour colour, bool rightToLeft) override;
    void blit(int x, int y, int width, int height, const std::uint32_t* pixels) override;

private:
    struct FontDescriptionDeleter {
        void operator()(PangoFontDescription* description) const;
    };
    using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;
    struct LayoutDeleter {
        void operator()(PangoLayout* layout) const;
    };
    using LayoutPtr = std::unique_ptr<PangoLayout, LayoutDeleter>;
    using FontKey = std::tuple<std::string, int, int>;  // face, weight, cell height

    // What one measurement or drawing works with; with caching off it owns what it created.
    struct PreparedText {
        PangoLayout* layout = nullptr;
        LayoutPtr ownLayout;
        FontDescriptionPtr ownDescription;
    };

    // Puts `text` in `font` into a layout ready to measure or show.
    void prepare(PreparedText& prepared, const FontSpec& font, std::wstring_view text,
                 bool rightToLeft, bool singleLine);
    FontDescriptionPtr createDescription(const std::string& face, int weight, double emPixels);
    const PangoFontDescription* descriptionFor(const FontSpec& font, FontDescriptionPtr& fresh);
    double emPerCellHeight(const std::string& face, int weight);
    void strokeOutline(const PixelRect& rect, PenStyle pen, int penWidth, Colour penColour);
    void setBaseDirection(bool rightToLeft);

    cairo_t* cr_ = nullptr;
    PangoContext* context_ = nullptr;
    LayoutPtr layout_;
    bool rightToLeft_ = false;
    bool caching_ = true;
    int lastUnknownGlyphs_ = 0;
    std::map<FontKey, FontDescriptionPtr> descriptions_;
    std::map<std::pair<std::string, int>, double> emPerCell_;
};

}  // namespace platform
