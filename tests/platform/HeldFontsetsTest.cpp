#include <gtest/gtest.h>

#include <pango/pangocairo.h>

#include "platform/HeldFontsets.h"

using platform::HeldFontsets;

namespace {

// pango keeps 256 recent font sets; loading more sizes than that pushes the oldest out.
constexpr int SizesBeyondPangosList = 300;

class HeldFontsetsTest : public ::testing::Test {
protected:
    PangoFontMap* fontMap = pango_cairo_font_map_new();
    PangoContext* context = pango_font_map_create_context(fontMap);
    PangoFontDescription* description = sized(37);

    ~HeldFontsetsTest() override {
        pango_font_description_free(description);
        g_object_unref(context);
        g_object_unref(fontMap);
    }

    static PangoFontDescription* sized(int pixels) {
        PangoFontDescription* sized = pango_font_description_from_string("Arial Unicode MS,DejaVu Sans");
        pango_font_description_set_absolute_size(sized, pixels * PANGO_SCALE);
        return sized;
    }

    // A layout of `text` itemized, as a painter measures it.
    PangoLayout* laidOut(const char* text) {
        PangoLayout* layout = pango_layout_new(context);
        pango_layout_set_font_description(layout, description);
        pango_layout_set_text(layout, text, -1);
        pango_layout_get_unknown_glyphs_count(layout);
        return layout;
    }

    // Watches whether the font the first item of `layout` was laid out in (in the item's
    // language, which may not be the context's) is still alive later.
    static void watchFont(PangoLayout* layout, bool& alive) {
        PangoLayoutIter* runs = pango_layout_get_iter(layout);
        PangoLayoutRun* run = pango_layout_iter_get_run_readonly(runs);
        pango_layout_iter_free(runs);
        ASSERT_NE(run, nullptr);
        alive = true;
        g_object_weak_ref(G_OBJECT(run->item->analysis.font),
                          [](gpointer flag, GObject*) { *static_cast<bool*>(flag) = false; }, &alive);
    }

    void loadOtherSizes() {
        for (int pixels = 100; pixels < 100 + SizesBeyondPangosList; ++pixels) {
            PangoFontDescription* other = sized(pixels);
            PangoFontset* fontset = pango_context_load_fontset(context, other, pango_context_get_language(context));
            g_object_unref(pango_fontset_get_font(fontset, 'A'));
            g_object_unref(fontset);
            pango_font_description_free(other);
        }
    }
};

}  // namespace

// A size drawn before stays loaded, with its sorted fallback fonts, however many other sizes are
// drawn after it, for as long as it is held; pango alone lets it go (making it again sorts every
// installed font).
TEST_F(HeldFontsetsTest, HeldSizeOutlivesPangosListOfRecentSetsUntilCleared) {
    bool unheldAlive = false;
    PangoLayout* unheld = laidOut("Gl\u00FCck");
    watchFont(unheld, unheldAlive);
    g_object_unref(unheld);
    loadOtherSizes();
    EXPECT_FALSE(unheldAlive) << "pango kept the size: the test no longer shows what a hold adds";

    HeldFontsets held;
    bool heldAlive = false;
    PangoLayout* layout = laidOut("Gl\u00FCck \u270E");
    held.holdFor(context, layout, description);
    watchFont(layout, heldAlive);
    g_object_unref(layout);
    loadOtherSizes();
    EXPECT_TRUE(heldAlive);

    held.clear();
    loadOtherSizes();
    EXPECT_FALSE(heldAlive);
}

// An empty line takes its height from the set of the context's own language (none), a set the
// items of a text never use (they get the default language): held for layouts with an empty line
// only, since making it sorts the installed fonts once more for every size.
TEST_F(HeldFontsetsTest, TheEmptyLinesSetIsHeldOnlyForLayoutsWithAnEmptyLine) {
    HeldFontsets held;
    PangoLayout* text = laidOut("Gl\u00FCck");
    held.holdFor(context, text, description);
    g_object_unref(text);
    EXPECT_EQ(held.size(), 1u) << "a set beside the one of the text's items";

    PangoLayout* lines = laidOut("first\n\nthird");
    held.holdFor(context, lines, description);
    g_object_unref(lines);
    EXPECT_EQ(held.size(), 2u) << "no set for the empty line";
}
