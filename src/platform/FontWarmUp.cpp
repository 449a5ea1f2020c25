#include "platform/FontWarmUp.h"

#include <system_error>
#include <thread>

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include "platform/CairoPainter.h"

namespace platform {

namespace {

// Wide enough for the sample in one line, as high as the largest cell height usually is.
constexpr int SURFACE_WIDTH = 1000;
constexpr int SURFACE_HEIGHT = 120;

class WarmUp {
public:
    void start(const FontWarmUpRequest& request) {
        if (started_) {
            return;
        }
        started_ = true;
        try {
            thread_ = std::thread([this, request] { map_ = load(request); });
        } catch (const std::system_error&) {
            map_ = load(request);
        }
    }
    PangoFontMap* map() {
        if (thread_.joinable()) {
            thread_.join();
        }
        return map_;
    }
    ~WarmUp() {
        if (PangoFontMap* loaded = map()) {
            g_object_unref(loaded);  // every painter and its context are gone by now
        }
    }

private:
    // A painter of its own on an image surface like the window's backing store, so that what it
    // loads is what the window's painter asks for: the same fonts at the same sizes with the same
    // options (the target's options are part of what pango and cairo cache fonts by).
    static PangoFontMap* load(const FontWarmUpRequest& request) {
        FcInit();
        PangoFontMap* map = pango_cairo_font_map_new();
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, SURFACE_WIDTH, SURFACE_HEIGHT);
        cairo_t* cr = cairo_create(surface);
        {
            CairoPainter painter(map);
            painter.bind(cr);
            for (int height : request.cellHeights) {
                const FontSpec font{request.face, height, request.weight};
                painter.measureText(font, request.sample);
                painter.drawText({0, 0, SURFACE_WIDTH, SURFACE_HEIGHT}, font, request.sample, TextFormat::SingleLine,
                                 0, false);
            }
            painter.unbind();
        }
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        return map;
    }

    bool started_ = false;
    std::thread thread_;
    PangoFontMap* map_ = nullptr;  // owned for the whole process, as pango's default map would be
};

WarmUp& warmUp() {
    static WarmUp once;
    return once;
}

}  // namespace

void warmUpFonts(const FontWarmUpRequest& request) { warmUp().start(request); }

PangoFontMap* fontMapForPainting() {
    if (PangoFontMap* warmed = warmUp().map()) {
        return warmed;
    }
    return pango_cairo_font_map_get_default();
}

}  // namespace platform
