#pragma once

// The drawing code shared by both backends: platform::Painter on any cairo context (an image
// surface of the headless backend, the context of a GTK draw handler), with pango for text.
//
// A painter lives as long as its window and is bound to a cairo context for each paint. It keeps
// what does not change between calls: one pango context and layout, the font descriptions by
// face, weight and cell height, each face's ratio of em size to cell height, and the texts it
// measured or drew, laid out (TextLayoutCache): a label painted again is neither itemized nor
// shaped again; and the font sets those texts were laid out with (HeldFontsets), so that a size
// drawn before never waits for fontconfig again. Nothing cached changes what is drawn; setCaching(false) creates everything per
// call to measure that.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/HeldFontsets.h"
#include "platform/Platform.h"
#include "platform/TextLayoutCache.h"

typedef struct _cairo cairo_t;
typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;
typedef struct _PangoFontDescription PangoFontDescription;
typedef struct _PangoFontMap PangoFontMap;

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
    // A painter measuring and drawing with fonts of `fontMap` (not owned), instead of the font map
    // painters use (FontWarmUp.h): for the thread that warms that map up.
    explicit CairoPainter(PangoFontMap* fontMap);
    ~CairoPainter() override;

    // Takes over the texts `warmed` laid out (in the font map this painter paints with, for the
    // same kind of target), their font descriptions and the font sets it holds, when this painter
    // has laid out nothing yet: the texts are then neither itemized nor shaped again.
    void adoptTexts(CairoPainter& warmed);

    // Sets what every context painters measure and draw with must have: unhinted metrics, glyphs
    // at fractional positions, left to right.
    static void configureContext(PangoContext* context);
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

    // Loads `font` and draws `sample` in it where nobody sees it, outside any paint: the fonts
    // of a size and the glyphs of the sample are then ready when a paint needs them (the first
    // text of a size took milliseconds of font matching and glyph rendering). Nothing while a
    // paint is open.
    void warmUp(const FontSpec& font, std::wstring_view sample);

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

    // Puts `text` in `font` into a layout ready to measure or show: the shared one of its
    // direction, or with caching off one of its own.
    void prepare(PreparedText& prepared, const FontSpec& font, std::wstring_view text,
                 bool rightToLeft, bool singleLine);
    void fill(PangoLayout* layout, const PangoFontDescription* description, std::wstring_view text,
              bool singleLine);
    PangoContext* contextFor(bool rightToLeft);
    PangoLayout* newLayout(bool rightToLeft);
    PangoLayout* sharedLayout(bool rightToLeft);
    // The text in the font from the cache, laid out now when it is not there (caching on); with
    // `forDrawing` it has its glyph runs to show.
    TextLayoutCache::Entry& laidOut(const FontSpec& font, std::wstring_view text, bool rightToLeft,
                                    bool singleLine, bool forDrawing);
    const std::string& keyOf(const FontSpec& font, std::wstring_view text, bool rightToLeft, bool singleLine);
    // Forgets the texts laid out when the target lays text out differently from the last one.
    void checkLayoutTarget();
    // The pango context and layout, made when text is first measured or drawn: the font system
    // then has had the time the start-up gave it (FontWarmUp.h).
    void ensureContext();
    FontDescriptionPtr createDescription(const std::string& face, int weight, double emPixels);
    const PangoFontDescription* descriptionFor(const FontSpec& font, FontDescriptionPtr& fresh);
    double emPerCellHeight(const std::string& face, int weight);
    void strokeOutline(const PixelRect& rect, PenStyle pen, int penWidth, Colour penColour);

    cairo_t* cr_ = nullptr;
    PangoFontMap* fontMap_ = nullptr;  // null: the font map painters use
    PangoContext* contexts_[2] = {nullptr, nullptr};  // left to right, right to left
    LayoutPtr layouts_[2];                            // shared by measuring, by direction
    bool caching_ = true;
    int lastUnknownGlyphs_ = 0;
    std::map<FontKey, FontDescriptionPtr> descriptions_;
    HeldFontsets fontsets_;  // of the texts laid out in the descriptions above
    std::map<std::pair<std::string, int>, double> emPerCell_;
    TextLayoutCache texts_;
    std::string textKey_;  // reused for every lookup
    // What the texts were laid out for: the target's font options and transformation.
    unsigned long targetOptions_ = 0;
    double targetMatrix_[6] = {1, 0, 0, 1, 0, 0};
};

}  // namespace platform
