#include "platform/FontWarmUp.h"

#include <system_error>
#include <thread>

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include "platform/CairoPainter.h"

namespace platform {

namespace {

// Wide enough for a caption in one line, as high as the largest cell height usually is.
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
            thread_ = std::thread([this, request] { load(request); });
        } catch (const std::system_error&) {
            load(request);
        }
    }
    PangoFontMap* map() {
        finish();
        return map_;
    }
    std::unique_ptr<CairoPainter> takePainter() {
        finish();
        return std::move(painter_);
    }
    ~WarmUp() {
        finish();
        painter_.reset();
        if (map_ != nullptr) {
            g_object_unref(map_);  // every painter and its context are gone by now
        }
    }

private:
    void finish() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    // A painter of its own on an image surface like the window's backing store, so that what it
    // loads is what the window's painter asks for: the same fonts at the same sizes with the same
    // options (the target's options are part of what pango and cairo cache fonts by). The painter
    // stays, with the texts it laid out, for the window's painter to take over.
    void load(const FontWarmUpRequest& request) {
        FcInit();
        PangoFontMap* map = pango_cairo_font_map_new();
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, SURFACE_WIDTH, SURFACE_HEIGHT);
        cairo_t* cr = cairo_create(surface);
        auto painter = std::make_unique<CairoPainter>(map);
        painter->bind(cr);
        for (const FontWarmUpText& text : request.texts) {
            if (text.measuredAt > 0) {
                painter->measureText({request.face, text.measuredAt, request.weight}, text.text);
            }
            if (text.drawnAt > 0) {
                painter->drawText({0, 0, SURFACE_WIDTH, SURFACE_HEIGHT}, {request.face, text.drawnAt, request.weight},
                                  text.text, TextFormat::SingleLine, 0, false);
            }
        }
        painter->unbind();
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        map_ = map;
        painter_ = std::move(painter);
    }

    bool started_ = false;
    std::thread thread_;
    PangoFontMap* map_ = nullptr;  // owned for the whole process, as pango's default map would be
    std::unique_ptr<CairoPainter> painter_;
};

WarmUp& warmUp() {
    static WarmUp once;
    return once;
}

}  // namespace

void warmUpFonts(const FontWarmUpRequest& request) { warmUp().start(request); }

std::unique_ptr<CairoPainter> takeWarmedPainter() { return warmUp().takePainter(); }

PangoFontMap* fontMapForPainting() {
    if (PangoFontMap* warmed = warmUp().map()) {
        return warmed;
    }
    return pango_cairo_font_map_get_default();
}

}  // namespace platform
