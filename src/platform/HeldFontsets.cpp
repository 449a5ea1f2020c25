#include "platform/HeldFontsets.h"

#include <pango/pango.h>

namespace platform {

HeldFontsets::~HeldFontsets() { clear(); }

void HeldFontsets::clear() {
    for (auto& [key, fontset] : held_) {
        if (fontset != nullptr) {
            g_object_unref(fontset);
        }
    }
    held_.clear();
}

void HeldFontsets::holdFor(PangoContext* context, PangoLayout* layout, const PangoFontDescription* description) {
    // An empty line takes its height from the font of the context's language.
    hold(context, description, pango_context_get_language(context));
    PangoLayoutIter* runs = pango_layout_get_iter(layout);
    do {
        if (PangoLayoutRun* run = pango_layout_iter_get_run_readonly(runs)) {
            hold(context, description, run->item->analysis.language);
        }
    } while (pango_layout_iter_next_run(runs));
    pango_layout_iter_free(runs);
}

void HeldFontsets::hold(PangoContext* context, const PangoFontDescription* description, PangoLanguage* language) {
    auto [place, isNew] = held_.try_emplace({description, language}, nullptr);
    if (!isNew) {
        return;
    }
    // A layout asks for its description merged over the context's, as here.
    PangoFontDescription* merged = pango_font_description_copy(pango_context_get_font_description(context));
    pango_font_description_merge(merged, description, TRUE);
    place->second = pango_context_load_fontset(context, merged, language);
    pango_font_description_free(merged);
}

}  // namespace platform
