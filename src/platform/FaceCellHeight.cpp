#include "platform/FaceCellHeight.h"

#include <hb.h>
#include <pango/pango.h>
#include <pango/pangofc-font.h>

namespace platform {

namespace {

const char* const MetricsLanguage = "en";

PangoFont* firstFont(PangoFontset* fontset) {
    PangoFont* first = nullptr;
    pango_fontset_foreach(
        fontset,
        [](PangoFontset*, PangoFont* font, gpointer data) -> gboolean {
            *static_cast<PangoFont**>(data) = PANGO_FONT(g_object_ref(font));
            return TRUE;  // the first one is enough
        },
        &first);
    return first;
}

bool holdsEveryCharacter(PangoFont* font, const char* text) {
    for (const char* p = text; *p != '\0'; p = g_utf8_next_char(p)) {
        if (!pango_font_has_char(font, g_utf8_get_char(p))) {
            return false;
        }
    }
    return true;
}

bool transformed(PangoFont* font) {
    FcMatrix* matrix = nullptr;
    if (FcPatternGetMatrix(pango_fc_font_get_pattern(PANGO_FC_FONT(font)), FC_MATRIX, 0, &matrix) != FcResultMatch) {
        return false;
    }
    return matrix->xx != 1 || matrix->xy != 0 || matrix->yx != 0 || matrix->yy != 1;
}

// The cell of the one font the sample text is set in; 0 when it is not set in one plain font.
int cellOfSampleFont(PangoContext* context, const PangoFontDescription* description, PangoLanguage* language) {
    PangoFontset* fontset =
        pango_font_map_load_fontset(pango_context_get_font_map(context), context, description, language);
    if (fontset == nullptr) {
        return 0;
    }
    PangoFont* font = firstFont(fontset);
    g_object_unref(fontset);
    if (font == nullptr) {
        return 0;
    }
    int cell = 0;
    if (PANGO_IS_FC_FONT(font) && !transformed(font) &&
        holdsEveryCharacter(font, pango_language_get_sample_string(language))) {
        hb_font_extents_t extents{};
        hb_font_get_extents_for_direction(pango_font_get_hb_font(font), HB_DIRECTION_LTR, &extents);
        cell = extents.ascender - extents.descender;
    }
    g_object_unref(font);
    return cell;
}

}  // namespace

int faceCellHeight(PangoContext* context, const PangoFontDescription* description) {
    PangoLanguage* language = pango_language_from_string(MetricsLanguage);
    if (const int cell = cellOfSampleFont(context, description, language); cell > 0) {
        return cell;
    }
    PangoFontMetrics* metrics = pango_context_get_metrics(context, description, language);
    const int cell = pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics);
    pango_font_metrics_unref(metrics);
    return cell;
}

}  // namespace platform
