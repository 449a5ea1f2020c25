#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>
#include <stdexcept>

#include <cairo.h>

namespace platform {

namespace {

cairo_surface_t* createCanvas(PixelSize size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24,
                                                          std::max(0, size.width), std::max(0, size.height));
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    return surface;
}

int liveHeadlessWindows = 0;

}  // namespace

HeadlessPlatform::FontResourceRelease::FontResourceRelease() { ++liveHeadlessWindows; }

HeadlessPlatform::FontResourceRelease::~FontResourceRelease() {
    if (--liveHeadlessWindows == 0) {
        releaseFontResources();
    }
}

HeadlessPlatform::HeadlessPlatform(PixelSize client, const std::string& startupLayout)
    : client_{std::max(0, client.width), std::max(0, client.height)},
      surface_(createCanvas(client_)),
      layouts_(startupLayout) {}

HeadlessPlatform::~HeadlessPlatform() {
    if (paintContext_ != nullptr) {
        cairo_.unbind();
        cairo_destroy(paintContext_);
    }
    cairo_surface_destroy(surface_);
}

void HeadlessPlatform::invalidate(const PixelRect& rect) {
    std::optional<PixelRect> visible = intersection(rect, clientRect());
    if (!visible) {
        return;
    }
    pending_ = pending_ ? unite(*pending_, *visible) : *visible;
}

void HeadlessPlatform::invalidateAll() { invalidate(clientRect()); }

Painter& HeadlessPlatform::beginPaint() {
    if (paintContext_ != nullptr) {
        return painter_;  // already painting: keep drawing into the open paint
    }
    // A paint nobody asked for (nothing invalid) may draw anywhere.
    PixelRect area = pending_.value_or(clientRect());
    pending_.reset();
    paints_.push_back(PaintRecord{area, {}, {}, {}});
    paintContext_ = cairo_create(surface_);
    cairo_rectangle(paintContext_, area.left, area.top, area.width(), area.height());
    cairo_clip(paintContext_);
    cairo_.bind(paintContext_);
    painter_.recordInto(&paints_.back());
    return painter_;
}

void HeadlessPlatform::endPaint() {
    if (paintContext_ == nullptr) {
        return;
    }
    painter_.recordInto(nullptr);
    cairo_.unbind();
    cairo_destroy(paintContext_);
    paintContext_ = nullptr;
    cairo_surface_flush(surface_);
}

void HeadlessPlatform::clearPaints() {
    // The open paint keeps recording into its record, which must stay where it is.
    paints_.erase(paints_.begin(), painting() ? paints_.end() - 1 : paints_.end());
}

void HeadlessPlatform::destroyWindow() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    send(Message::plain(MessageCode::Destroy));
}

MessageResult HeadlessPlatform::messageBox(const std::wstring& text, const std::wstring& caption,
                                           MessageIcon icon, MessageButtons buttons) {
    runMessageLoop();
    return dialogs_.messageBox(text, caption, icon, buttons);
}

std::optional<std::string> HeadlessPlatform::openFileDialog(const std::vector<FileFilter>& filters) {
    runMessageLoop();
    return dialogs_.openFileDialog(filters);
}

std::optional<std::string> HeadlessPlatform::saveFileDialog(const std::vector<FileFilter>& filters,
                                                           const std::string& suggestedName) {
    runMessageLoop();
    return dialogs_.saveFileDialog(filters, suggestedName);
}

std::wstring HeadlessPlatform::clipboardText() {
    // Reading another program's clipboard waits in a loop of its own.
    runMessageLoop();
    return clipboard_;
}

void HeadlessPlatform::runMessageLoop() {
    // Taken one at a time: a message may post others, which this loop then delivers too.
    while (!posted_.empty()) {
        const Message message = posted_.front();
        posted_.pop_front();
        send(message);
    }
    deliverPaint();
}

void HeadlessPlatform::send(const Message& message) {
    if (sink_ != nullptr) {
        sink_->handle(message);
    }
}

bool HeadlessPlatform::deliverPaint() {
    if (!pending_) {
        return false;
    }
    send(Message::plain(MessageCode::Paint));
    return true;
}

void HeadlessPlatform::resize(PixelSize client, SizeKind kind) {
    if (paintContext_ != nullptr) {
        throw std::logic_error("the headless window cannot be resized during a paint");
    }
    client_ = {std::max(0, client.width), std::max(0, client.height)};
    cairo_surface_t* resized = createCanvas(client_);
    cairo_t* cr = cairo_create(resized);
    cairo_set_source_surface(cr, surface_, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface_);
    surface_ = resized;
    pending_.reset();
    invalidateAll();
    send(Message::size(kind, client_.width, client_.height));
}

Colour HeadlessPlatform::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= client_.width || y >= client_.height) {
        throw std::out_of_range("pixel outside the headless canvas");
    }
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    std::uint32_t word = 0;
    std::copy_n(data + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 4, 4,
                reinterpret_cast<unsigned char*>(&word));
    return makeColour((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
}

bool HeadlessPlatform::savePng(const std::string& path) const {
    if (client_.width == 0 || client_.height == 0) {
        return false;
    }
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace platform
