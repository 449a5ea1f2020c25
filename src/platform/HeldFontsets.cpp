#include "platform/HeldFontsets.h"

#include <pango/pango.h>

namespace platform {

HeldFontsets::~HeldFontsets() { clear(); }

void HeldFontsets::takeFrom(HeldFontsets& other) {
    clear();
    held_.swap(other.held_);
}

void HeldFontsets::clear() {
    for (auto& [key, fontset] : held_) {
        if (fontset != nullptr) {
            g_object_unref(fontset);
        }
    }
    held_.clear();
}

namespace {

bool hasEmptyLine(PangoLayout* layout) {
    for (GSList* line = pango_layout_get_lines_readonly(layout); line != nullptr; line = line->next) {
        if (static_cast<PangoLayoutLine*>(line->data)->runs == nullptr) {
            return true;
        }
    }
    return false;
}

}  // namespace

void HeldFontsets::holdForEmptyLines(PangoContext* context, const PangoFontDescription* description) {
    // An empty line takes its height from the font of the context's language, which is not the
    // language pango gives the items of a text (the context's set language is none): a set of its
    // own, made only for layouts with an empty line.
    hold(context, description, pango_context_get_language(context));
}

void HeldFontsets::holdFor(PangoContext* context, PangoLayout* layout, const PangoFontDescription* description) {
    if (hasEmptyLine(layout)) {
        holdForEmptyLines(context, description);
    }
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
