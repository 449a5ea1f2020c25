#include <gtest/gtest.h>

#include <string>

#include <pango/pangocairo.h>

#include "platform/CairoPainter.h"
#include "platform/FaceCellHeight.h"

namespace {

// A context as the painters make it, on a target like the window's backing image.
class FaceCellHeightTest : public ::testing::Test {
protected:
    void SetUp() override {
        map = pango_cairo_font_map_new();
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 10, 10);
        cr = cairo_create(surface);
        context = pango_font_map_create_context(map);
        platform::CairoPainter::configureContext(context);
        pango_cairo_update_context(cr, context);
    }
    void TearDown() override {
        g_object_unref(context);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        g_object_unref(map);
    }

    // What pango's own metrics say, and what the cheaper reading says, at the painter's
    // reference size.
    void expectPangosCell(const std::string& face, int weight) {
        PangoFontDescription* description = pango_font_description_new();
        pango_font_description_set_family(description, face.c_str());
        pango_font_description_set_weight(description, static_cast<PangoWeight>(weight));
        pango_font_description_set_absolute_size(description, 1000.0 * PANGO_SCALE);
        PangoFontMetrics* metrics = pango_context_get_metrics(context, description, pango_language_from_string("en"));
        const int expected = pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics);
        pango_font_metrics_unref(metrics);
        EXPECT_EQ(expected, platform::faceCellHeight(context, description)) << face << " " << weight;
        pango_font_description_free(description);
    }

    PangoFontMap* map = nullptr;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    PangoContext* context = nullptr;
};

}  // namespace

// The program's default face (not installed here: fontconfig substitutes), common faces and
// weights, a list of faces, faces without Latin letters (pango's own measure then) and a face
// nobody has.
TEST_F(FaceCellHeightTest, EveryFaceMeasuresAsPangosMetricsSay) {
    for (const char* face : {"Arial Unicode MS", "Sans", "Serif", "Monospace", "DejaVu Sans", "DejaVu Serif",
                             "Noto Sans", "Arial Unicode MS,DejaVu Sans", "Noto Music", "Noto Sans Cuneiform",
                             "Noto Kufi Arabic", "No Such Face At All"}) {
        for (int weight : {PANGO_WEIGHT_NORMAL, PANGO_WEIGHT_BOLD, PANGO_WEIGHT_THIN}) {
            expectPangosCell(face, weight);
        }
    }
}
