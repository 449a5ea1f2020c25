#pragma once

// The window without a window system: an offscreen image of the client area painted with the
// same cairo/pango code as the real window, for tests and benchmarks.
//
// Invalidation keeps one rectangle, the union of everything invalidated and not yet painted.
// beginPaint takes that area as the paint's area (clipping all drawing to it) and leaves nothing
// invalid, so whatever is invalidated during a paint is painted by the next one. Messages go to
// the MessageSink only when a test sends them; a pending paint is delivered by deliverPaint().
//
// A message box, the file dialogs and a clipboard read run a nested loop, as they do on a real
// desktop: before they answer, the messages posted to the window (the user acting while the
// dialog is open) and then a pending paint reach the MessageSink, nested inside the message
// that opened the dialog.

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CairoPainter.h"
#include "platform/Platform.h"
#include "platform/XkbKeyboardLayouts.h"
#include "platform/headless/HeadlessPainter.h"
#include "platform/headless/PaintRecord.h"
#include "platform/headless/ScriptedDialogs.h"

typedef struct _cairo_surface cairo_surface_t;

namespace platform {

class HeadlessPlatform final : public Platform {
public:
    // A canvas of `client` pixels filled white, and keyboard layouts starting with
    // `startupLayout` (the default when no display can be asked).
    explicit HeadlessPlatform(PixelSize client = {1000, 500},
                              const std::string& startupLayout = XkbKeyboardLayouts::DefaultIdentifier);
    ~HeadlessPlatform() override;
    HeadlessPlatform(const HeadlessPlatform&) = delete;
    HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

    // --- Platform ---
    PixelSize clientSize() const override { return client_; }
    void invalidate(const PixelRect& rect) override;
    void invalidateAll() override;
    std::optional<PixelRect> updateRect() const override { return pending_; }
    Painter& beginPaint() override;
    void endPaint() override;
    void destroyWindow() override;
    void postQuit(int exitCode) override { quitCode_ = exitCode; }
    MessageResult messageBox(const std::wstring& text, const std::wstring& caption,
                             MessageIcon icon, MessageButtons buttons) override;
    std::optional<std::string> openFileDialog(const std::vector<FileFilter>& filters) override;
    std::optional<std::string> saveFileDialog(const std::vector<FileFilter>& filters,
                                              const std::string& suggestedName) override;
    void setClipboardText(const std::wstring& text) override { clipboard_ = text; }
    std::wstring clipboardText() override;
    KeyboardLayouts& keyboardLayouts() override { return layouts_; }

    // --- driving the window ---
    // The window procedure that receives sent messages; null drops them. Not owned.
    void setSink(MessageSink* sink) { sink_ = sink; }
    void send(const Message& message);
    // Sends a paint message when something is invalid; returns whether it did.
    bool deliverPaint();
    // Queues a message for the window's next loop: the nested loop of the next dialog or
    // clipboard read, or runMessageLoop.
    void post(const Message& message) { posted_.push_back(message); }
    // What a loop of the window does once: sends the posted messages in order, then a pending
    // paint.
    void runMessageLoop();
    std::size_t postedMessages() const { return posted_.size(); }
    // Gives the client area a new size (keeping what fits of the old picture), invalidates all
    // of it and sends the size message, as a window does when the user resizes it.
    void resize(PixelSize client, SizeKind kind = SizeKind::Restored);

    // --- inspecting it ---
    ScriptedDialogs& dialogs() { return dialogs_; }
    XkbKeyboardLayouts& xkbLayouts() { return layouts_; }
    CairoPainter& cairoPainter() { return cairo_; }
    void setDeterministicTextMetric(bool on) { painter_.setDeterministicMetric(on); }
    bool painting() const { return paintContext_ != nullptr; }
    bool destroyed() const { return destroyed_; }
    std::optional<int> quitCode() const { return quitCode_; }

    // Records of the paints since the last clearPaints(), oldest first.
    const std::vector<PaintRecord>& paints() const { return paints_; }
    const PaintRecord* lastPaint() const { return paints_.empty() ? nullptr : &paints_.back(); }
    void clearPaints();

    // The colour of a canvas pixel as 0x00BBGGRR; throws std::out_of_range outside the canvas.
    Colour pixel(int x, int y) const;
    // Writes the canvas as a PNG file; false when it cannot be written.
    bool savePng(const std::string& path) const;

private:
    // Frees the font caches when the last headless window goes, so tests exit without leaks.
    struct FontResourceRelease {
        FontResourceRelease();
        ~FontResourceRelease();
    };

    PixelRect clientRect() const { return {0, 0, client_.width, client_.height}; }

    FontResourceRelease fontRelease_;  // first member: released after the painter is gone
    PixelSize client_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* paintContext_ = nullptr;
    std::optional<PixelRect> pending_;
    CairoPainter cairo_;
    HeadlessPainter painter_{cairo_};
    XkbKeyboardLayouts layouts_;
    ScriptedDialogs dialogs_;
    std::wstring clipboard_;
    MessageSink* sink_ = nullptr;
    std::deque<Message> posted_;
    std::vector<PaintRecord> paints_;
    bool destroyed_ = false;
    std::optional<int> quitCode_;
};

}  // namespace platform
