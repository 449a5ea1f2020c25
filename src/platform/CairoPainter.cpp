#include "platform/CairoPainter.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <string>

#include <pango/pangocairo.h>

#include "base/Utf8.h"
#include "platform/FaceCellHeight.h"
#include "platform/FontWarmUp.h"

namespace platform {

namespace {

CairoPainter::Counters created;
int livePainters = 0;

// Size at which a face's cell height is measured; metrics scale linearly with hint metrics off.
constexpr double ReferenceEmPixels = 1000.0;
// Gaps of a styled pen show the device's background colour, which the program never changes
// from white.
constexpr Colour StyledPenGapColour = 0xFFFFFF;
// Dash-dot-dot: a dash of 9, then two dots of 3, each followed by a gap of 3.
constexpr double DashDotDot[] = {9, 3, 3, 3, 3, 3};
// Font descriptions kept at most; every window size brings its own fitted heights, so a window
// resized again and again would otherwise collect them without end.
constexpr std::size_t MaxCachedDescriptions = 2048;
// Font sizes come from a settings file; beyond this no text is legible and pango's size field
// would overflow.
constexpr int MaxCellHeight = 10000;
// Texts per generation of the cache: several screens' labels and a few pages of lists.
constexpr std::size_t TextsPerGeneration = 1024;

void setSource(cairo_t* cr, Colour colour) {
    cairo_set_source_rgb(cr, redOf(colour) / 255.0, greenOf(colour) / 255.0,
                         blueOf(colour) / 255.0);
}

int pangoWeight(int weight) {
    return weight <= 0 ? PANGO_WEIGHT_NORMAL : std::clamp(weight, 100, 1000);
}

int pixelsCeil(int pangoUnits) {
    return static_cast<int>(std::ceil(static_cast<double>(pangoUnits) / PANGO_SCALE));
}

}  // namespace

CairoPainter::Counters CairoPainter::counters() { return created; }

bool releaseFontResources() {
    if (livePainters > 0) {
        return false;
    }
    pango_cairo_font_map_set_default(nullptr);
    return true;
}

void CairoPainter::FontDescriptionDeleter::operator()(PangoFontDescription* description) const {
    pango_font_description_free(description);
}

void CairoPainter::LayoutDeleter::operator()(PangoLayout* layout) const { g_object_unref(layout); }

CairoPainter::CairoPainter() : texts_(TextsPerGeneration) { ++livePainters; }

CairoPainter::CairoPainter(PangoFontMap* fontMap) : CairoPainter() { fontMap_ = fontMap; }

void CairoPainter::configureContext(PangoContext* context) {
    // Unhinted metrics make widths proportional to the size, so text fitted at one height still
    // fits after scaling, and measuring agrees with drawing at every window size.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    // Glyphs at fractional positions, for the same reason.
    pango_context_set_round_glyph_positions(context, FALSE);
    pango_context_set_base_dir(context, PANGO_DIRECTION_LTR);
}

void CairoPainter::adoptTexts(CairoPainter& warmed) {
    if (!descriptions_.empty() || &warmed == this) {
        return;
    }
    texts_ = std::move(warmed.texts_);
    warmed.texts_.clear();
    descriptions_ = std::move(warmed.descriptions_);
    warmed.descriptions_.clear();
    fontsets_.takeFrom(warmed.fontsets_);
    emPerCell_ = std::move(warmed.emPerCell_);
    warmed.emPerCell_.clear();
    targetOptions_ = warmed.targetOptions_;
    std::copy(std::begin(warmed.targetMatrix_), std::end(warmed.targetMatrix_), std::begin(targetMatrix_));
}

void CairoPainter::ensureContext() {
    if (contexts_[0] != nullptr) {
        return;
    }
    if (fontMap_ == nullptr) {
        // The first painter of the warmed font map starts with what the warming laid out.
        if (std::unique_ptr<CairoPainter> warmed = takeWarmedPainter()) {
            adoptTexts(*warmed);
        }
    }
    contexts_[0] = pango_font_map_create_context(fontMap_ != nullptr ? fontMap_ : fontMapForPainting());
    configureContext(contexts_[0]);
    sharedLayout(false);  // the layout texts are measured in
}

CairoPainter::~CairoPainter() {
    texts_.clear();
    for (LayoutPtr& layout : layouts_) {
        layout.reset();
    }
    fontsets_.clear();
    descriptions_.clear();
    for (PangoContext* context : contexts_) {
        if (context != nullptr) {
            g_object_unref(context);
        }
    }
    --livePainters;
}

void CairoPainter::bind(cairo_t* cr) {
    cr_ = cr;
    if (cr_ != nullptr) {
        ensureContext();
        // Takes over the target's transformation and font options (those set above win).
        for (int direction = 0; direction < 2; ++direction) {
            if (contexts_[direction] != nullptr) {
                pango_cairo_update_context(cr_, contexts_[direction]);
            }
            if (layouts_[direction]) {
                pango_layout_context_changed(layouts_[direction].get());
            }
        }
        checkLayoutTarget();
    }
}

void CairoPainter::checkLayoutTarget() {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_surface_get_font_options(cairo_get_target(cr_), options);
    const unsigned long hash = cairo_font_options_hash(options);
    cairo_font_options_destroy(options);
    cairo_matrix_t matrix;
    cairo_get_matrix(cr_, &matrix);
    const double now[6] = {matrix.xx, matrix.yx, matrix.xy, matrix.yy, matrix.x0, matrix.y0};
    if (hash != targetOptions_ || !std::equal(std::begin(now), std::end(now), std::begin(targetMatrix_))) {
        texts_.clear();
        targetOptions_ = hash;
        std::copy(std::begin(now), std::end(now), std::begin(targetMatrix_));
    }
}

void CairoPainter::unbind() { cr_ = nullptr; }

// --- rectangles ---

void CairoPainter::fillRect(const PixelRect& rect, Colour brush, PenStyle pen, int penWidth,
                            Colour penColour) {
    if (cr_ == nullptr || rect.empty()) {
        return;
    }
    cairo_save(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    setSource(cr_, brush);
    if (pen == PenStyle::Null) {
        // Without a pen the right and bottom edges stay unpainted.
        cairo_rectangle(cr_, rect.left, rect.top, rect.width() - 1, rect.height() - 1);
    } else {
        cairo_rectangle(cr_, rect.left, rect.top, rect.width(), rect.height());
    }
    cairo_fill(cr_);
    cairo_restore(cr_);
    strokeOutline(rect, pen, penWidth, penColour);
}

void CairoPainter::outlineRect(const PixelRect& rect, PenStyle pen) {
    if (cr_ == nullptr || rect.empty()) {
        return;
    }
    strokeOutline(rect, pen, 0, makeColour(0, 0, 0));
}

void CairoPainter::strokeOutline(const PixelRect& rect, PenStyle pen, int penWidth,
                                 Colour penColour) {
    if (pen == PenStyle::Null) {
        return;
    }
    const int width = std::max(1, penWidth);
    cairo_save(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr_, width);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
    // Through the centres of the outermost pixels, so a one-pixel line covers whole pixels.
    cairo_rectangle(cr_, rect.left + 0.5, rect.top + 0.5, rect.width() - 1, rect.height() - 1);
    // Only thin pens can be styled; a wide dash-dot-dot pen draws solid.
    if (pen == PenStyle::DashDotDot && width == 1) {
        setSource(cr_, StyledPenGapColour);
        cairo_stroke_preserve(cr_);
        cairo_set_dash(cr_, DashDotDot, static_cast<int>(std::size(DashDotDot)), 0);
    }
    setSource(cr_, penColour);
    cairo_stroke(cr_);
    cairo_restore(cr_);
}

// --- text ---

CairoPainter::FontDescriptionPtr CairoPainter::createDescription(const std::string& face,
                                                                 int weight, double emPixels) {
    FontDescriptionPtr description(pango_font_description_new());
    ++created.fontDescriptionsCreated;
    // A comma-separated list is a list of families, tried in order; fontconfig substitutes a
    // face it does not know and pango falls back per glyph.
    pango_font_description_set_family(description.get(), face.empty() ? "Sans" : face.c_str());
    pango_font_description_set_weight(description.get(),
                                      static_cast<PangoWeight>(pangoWeight(weight)));
    pango_font_description_set_absolute_size(description.get(), emPixels * PANGO_SCALE);
    return description;
}

// A cell height (ascent plus descent) is what callers ask for; pango sizes fonts by the em.
double CairoPainter::emPerCellHeight(const std::string& face, int weight) {
    auto key = std::make_pair(face, weight);
    if (caching_) {
        if (auto found = emPerCell_.find(key); found != emPerCell_.end()) {
            return found->second;
        }
    }
    FontDescriptionPtr reference = createDescription(face, weight, ReferenceEmPixels);
    const int cell = faceCellHeight(contextFor(false), reference.get());
    const double ratio = cell > 0 ? ReferenceEmPixels * PANGO_SCALE / cell : 1.0;
    if (caching_) {
        emPerCell_[key] = ratio;
    }
    return ratio;
}

const PangoFontDescription* CairoPainter::descriptionFor(const FontSpec& font,
                                                         FontDescriptionPtr& fresh) {
    const int cellHeight = std::min(font.cellHeight, MaxCellHeight);
    const double em = cellHeight * emPerCellHeight(font.face, font.weight);
    if (!caching_) {
        fresh = createDescription(font.face, font.weight, em);
        return fresh.get();
    }
    FontKey key{font.face, font.weight, cellHeight};
    auto found = descriptions_.find(key);
    if (found == descriptions_.end()) {
        if (descriptions_.size() >= MaxCachedDescriptions) {
            // Layouts keep their own copies of the descriptions they were given.
            fontsets_.clear();
            descriptions_.clear();
        }
        found = descriptions_.emplace(key, createDescription(font.face, font.weight, em)).first;
    }
    return found->second.get();
}

// Right-to-left texts are laid out in a context of their own: switching one context's direction
// would make every layout made in it lay itself out again.
PangoContext* CairoPainter::contextFor(bool rightToLeft) {
    ensureContext();
    PangoContext*& context = contexts_[rightToLeft ? 1 : 0];
    if (context == nullptr) {
        context = pango_font_map_create_context(fontMap_ != nullptr ? fontMap_ : fontMapForPainting());
        configureContext(context);
        pango_context_set_base_dir(context, PANGO_DIRECTION_RTL);
        if (cr_ != nullptr) {
            pango_cairo_update_context(cr_, context);
        }
    }
    return context;
}

PangoLayout* CairoPainter::newLayout(bool rightToLeft) {
    PangoLayout* layout = pango_layout_new(contextFor(rightToLeft));
    ++created.layoutsCreated;
    pango_layout_set_auto_dir(layout, FALSE);
    return layout;
}

PangoLayout* CairoPainter::sharedLayout(bool rightToLeft) {
    LayoutPtr& layout = layouts_[rightToLeft ? 1 : 0];
    if (!layout) {
        layout.reset(newLayout(rightToLeft));
    }
    return layout.get();
}

void CairoPainter::fill(PangoLayout* layout, const PangoFontDescription* description, std::wstring_view text,
                        bool singleLine) {
    pango_layout_set_font_description(layout, description);
    pango_layout_set_single_paragraph_mode(layout, singleLine);
    const std::string bytes = utf8::encode(text);
    pango_layout_set_text(layout, bytes.data(), static_cast<int>(bytes.size()));
}

void CairoPainter::prepare(PreparedText& prepared, const FontSpec& font, std::wstring_view text,
                           bool rightToLeft, bool singleLine) {
    const PangoFontDescription* description = descriptionFor(font, prepared.ownDescription);
    if (caching_) {
        prepared.layout = sharedLayout(rightToLeft);
    } else {
        prepared.ownLayout.reset(newLayout(rightToLeft));
        prepared.layout = prepared.ownLayout.get();
    }
    fill(prepared.layout, description, text, singleLine);
    lastUnknownGlyphs_ = pango_layout_get_unknown_glyphs_count(prepared.layout);
    if (caching_) {
        fontsets_.holdFor(contextFor(rightToLeft), prepared.layout, description);
    }
}

const std::string& CairoPainter::keyOf(const FontSpec& font, std::wstring_view text, bool rightToLeft,
                                       bool singleLine) {
    textKey_.assign(font.face);
    textKey_ += '\0';
    textKey_ += std::to_string(font.weight);
    textKey_ += ' ';
    textKey_ += std::to_string(font.cellHeight);
    textKey_ += rightToLeft ? 'r' : 'l';
    textKey_ += singleLine ? 's' : 'm';
    textKey_ += utf8::encode(text);
    return textKey_;
}

TextLayoutCache::Entry& CairoPainter::laidOut(const FontSpec& font, std::wstring_view text, bool rightToLeft,
                                              bool singleLine, bool forDrawing) {
    const std::string& key = keyOf(font, text, rightToLeft, singleLine);
    TextLayoutCache::Entry* entry = texts_.find(key);
    const bool isNew = entry == nullptr;
    if (isNew) {
        entry = &texts_.keep(key, TextLayoutCache::Entry{});
    }
    if (isNew || (forDrawing && !entry->shaped)) {
        PreparedText prepared;
        prepare(prepared, font, text, rightToLeft, singleLine);
        pango_layout_get_extents(prepared.layout, nullptr, &entry->logical);
        entry->unknownGlyphs = lastUnknownGlyphs_;
        if (forDrawing) {
            entry->shaped = std::make_unique<ShapedText>(prepared.layout);
        }
    }
    lastUnknownGlyphs_ = entry->unknownGlyphs;
    return *entry;
}

TextExtent CairoPainter::measureText(const FontSpec& font, std::wstring_view text) {
    if (font.cellHeight <= 0) {
        lastUnknownGlyphs_ = 0;
        return {};
    }
    PangoRectangle logical{};
    if (caching_) {
        logical = laidOut(font, text, false, true, false).logical;
    } else {
        PreparedText prepared;
        prepare(prepared, font, text, false, true);
        pango_layout_get_extents(prepared.layout, nullptr, &logical);
    }
    // A line is as high as the font's cell even where a fallback font with a shorter cell
    // shows the glyphs, so a label's fitted size does not depend on its script.
    return {pixelsCeil(logical.width), std::max(font.cellHeight, pixelsCeil(logical.height))};
}

void CairoPainter::drawText(const PixelRect& box, const FontSpec& font, std::wstring_view text,
                            unsigned format, Colour colour, bool rightToLeft) {
    // Text is clipped to its box, so an empty box or a font of no height shows nothing.
    if (cr_ == nullptr || box.empty() || font.cellHeight <= 0) {
        lastUnknownGlyphs_ = 0;
        return;
    }
    const bool reading = rightToLeft || (format & TextFormat::RtlReading) != 0;
    const bool singleLine = (format & TextFormat::SingleLine) != 0;
    PreparedText prepared;
    const ShapedText* shaped = nullptr;
    PangoRectangle logical{};
    if (caching_) {
        TextLayoutCache::Entry& entry = laidOut(font, text, reading, singleLine, true);
        shaped = entry.shaped.get();
        logical = entry.logical;
    } else {
        prepare(prepared, font, text, reading, singleLine);
        pango_layout_get_extents(prepared.layout, nullptr, &logical);
    }
    const double textWidth = static_cast<double>(logical.width) / PANGO_SCALE;
    const double textHeight = static_cast<double>(logical.height) / PANGO_SCALE;
    double x = box.left;
    if (format & TextFormat::Center) {
        x += (box.width() - textWidth) / 2;
    } else if (format & TextFormat::Right) {
        x = box.right - textWidth;
    }
    double y = box.top;
    if (format & TextFormat::VCenter) {
        y += (box.height() - textHeight) / 2;
    } else if (format & TextFormat::Bottom) {
        y = box.bottom - textHeight;
    }
    cairo_save(cr_);
    cairo_rectangle(cr_, box.left, box.top, box.width(), box.height());
    cairo_clip(cr_);
    setSource(cr_, colour);
    // Whole pixels keep the baseline on the pixel grid, as the platform's own text drawing does.
    const double left = std::floor(x - static_cast<double>(logical.x) / PANGO_SCALE);
    const double top = std::floor(y - static_cast<double>(logical.y) / PANGO_SCALE);
    if (shaped != nullptr) {
        shaped->show(cr_, left, top);
    } else {
        cairo_move_to(cr_, left, top);
        pango_cairo_show_layout(cr_, prepared.layout);
    }
    cairo_restore(cr_);
}

void CairoPainter::warmUp(const FontSpec& font, std::wstring_view sample) {
    if (cr_ != nullptr || font.cellHeight <= 0 || font.cellHeight > MaxCellHeight) {
        return;
    }
    // Wrapped into lines no wider than the surface, so that every glyph is drawn onto it.
    constexpr int Width = 1000;
    const int height = 4 * font.cellHeight;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, Width, height);
    cairo_t* cr = cairo_create(surface);
    bind(cr);
    FontDescriptionPtr unused;
    LayoutPtr layout(newLayout(false));
    pango_layout_set_width(layout.get(), Width * PANGO_SCALE);
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_CHAR);
    const PangoFontDescription* description = descriptionFor(font, unused);
    fill(layout.get(), description, sample, false);
    if (caching_) {
        // Empty texts (a field's caption before anything is typed) come at any size later.
        fontsets_.holdFor(contextFor(false), layout.get(), description);
        fontsets_.holdForEmptyLines(contextFor(false), description);
    }
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, layout.get());
    layout.reset();
    unbind();
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

// --- pixels ---

void CairoPainter::blit(int x, int y, int width, int height, const std::uint32_t* pixels) {
    if (cr_ == nullptr || pixels == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
    if (stride != width * 4) {
        return;  // cannot happen for 32-bit pixels; never read past the caller's buffer
    }
    // cairo only reads a source surface, so handing it the caller's const buffer is safe.
    auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(pixels));
    cairo_surface_t* source =
        cairo_image_surface_create_for_data(data, CAIRO_FORMAT_RGB24, width, height, stride);
    cairo_save(cr_);
    cairo_set_source_surface(cr_, source, x, y);
    cairo_rectangle(cr_, x, y, width, height);
    cairo_fill(cr_);
    cairo_restore(cr_);
    cairo_surface_destroy(source);
}

}  // namespace platform

// fontconfig keeps a little of its configuration for the whole life of the process and offers
// no safe way to free it while cairo still caches fonts. Builds with the leak checker are told
// so here, where every program that paints links it in; real leaks elsewhere are still reported.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
