#include "platform/ShapedText.h"

#include <pango/pangocairo.h>

namespace platform {

ShapedText::ShapedText(PangoLayout* layout) {
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    do {
        PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
        if (run == nullptr) {
            continue;  // the end of a line
        }
        PangoRectangle extents{};
        pango_layout_iter_get_run_extents(iter, nullptr, &extents);
        runs_.push_back({pango_glyph_item_copy(run), extents.x, pango_layout_iter_get_baseline(iter)});
    } while (pango_layout_iter_next_run(iter));
    pango_layout_iter_free(iter);
}

ShapedText::~ShapedText() {
    for (const Run& run : runs_) {
        pango_glyph_item_free(run.glyphs);
    }
}

void ShapedText::show(cairo_t* cr, double x, double y) const {
    for (const Run& run : runs_) {
        cairo_move_to(cr, x + static_cast<double>(run.x) / PANGO_SCALE, y + static_cast<double>(run.baseline) / PANGO_SCALE);
        pango_cairo_show_glyph_string(cr, run.glyphs->item->analysis.font, run.glyphs->glyphs);
    }
}

}  // namespace platform
