#pragma once

// A text laid out and shaped once and drawn again and again: the glyph runs of a laid-out
// PangoLayout, each with its place, copied out of the layout. Drawing the runs where the layout's
// own drawing puts them (each run at its logical x and on its line's baseline, in the colour set
// on the cairo context) draws the same pixels, at a fraction of the cost: showing a layout walks
// it and validates it again on every paint.

#include <vector>

#include <pango/pango.h>

typedef struct _cairo cairo_t;

namespace platform {

class ShapedText {
public:
    // Copies the runs of `layout`, which holds the text in its font already.
    explicit ShapedText(PangoLayout* layout);
    ~ShapedText();
    ShapedText(const ShapedText&) = delete;
    ShapedText& operator=(const ShapedText&) = delete;

    // Draws the text with the layout's top-left corner at (x, y) in the context's user space.
    void show(cairo_t* cr, double x, double y) const;

private:
    struct Run {
        PangoGlyphItem* glyphs;  // owned
        int x;                   // of the run's logical rectangle, pango units from the layout's left
        int baseline;            // of its line, pango units from the layout's top
    };

    std::vector<Run> runs_;
};

}  // namespace platform
