#pragma once

// The program's own interface in place of a window system. The framework (shell/) and the element
// toolkit (gui/) reach the window, painting, dialogs, the clipboard and keyboard layouts only
// through these classes; two backends implement them: platform/gtk/ for the real window and
// platform/headless/ for tests, which paint with the same cairo/pango code.
//
// All coordinates here are device pixels of the window's client area; the framework converts
// between them and the 1000 x 500 virtual canvas.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/KeyCodes.h"
#include "platform/Messages.h"

namespace platform {

// 0x00BBGGRR: red in the low byte, green in the second, blue in the third, top byte 0.
using Colour = std::uint32_t;

constexpr Colour makeColour(int red, int green, int blue) {
    return static_cast<Colour>(red & 0xFF) | (static_cast<Colour>(green & 0xFF) << 8) |
           (static_cast<Colour>(blue & 0xFF) << 16);
}
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

// A pixel rectangle; right and bottom are exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelRect&) const = default;
};

// The overlap of two rectangles, or nothing when they do not overlap.
inline std::optional<PixelRect> intersection(const PixelRect& a, const PixelRect& b) {
    PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
    if (r.empty()) {
        return std::nullopt;
    }
    return r;
}

// The smallest rectangle holding both.
inline PixelRect unite(const PixelRect& a, const PixelRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// Pen styles by the numbers the program passes around.
enum class PenStyle : int {
    Solid = 0,
    DashDotDot = 4,  // elements draw their border with it while they hold the keyboard focus
    Null = 5,        // no outline
};

// Text format flag word, by the values the program passes around: 36 left, 37 centred, 38 right,
// each vertically centred on a single line.
namespace TextFormat {
constexpr unsigned Left = 0x00;
constexpr unsigned Center = 0x01;
constexpr unsigned Right = 0x02;
constexpr unsigned VCenter = 0x04;
constexpr unsigned Bottom = 0x08;
constexpr unsigned SingleLine = 0x20;
constexpr unsigned RtlReading = 0x20000;  // lay the text out right to left
}  // namespace TextFormat

// A font by face, height and weight. `cellHeight` is the height of a text line in pixels,
// ascent plus descent (not the em size); `weight` is on the 0..1000 scale, 0 meaning no
// preference (normal), 400 normal, 700 bold. A face unknown to fontconfig resolves to the
// default sans face; glyphs missing from a face come from a fallback font.
struct FontSpec {
    std::string face;
    int cellHeight = 0;
    int weight = 0;
};

struct TextExtent {
    int width = 0;
    int height = 0;
    bool operator==(const TextExtent&) const = default;
};

// The drawing operations available inside a paint (between Window::beginPaint and endPaint).
// Every call draws completely; no drawing object survives a call.
class Painter {
public:
    virtual ~Painter() = default;

    // A rectangle filled with `brush` and outlined with the pen; Rectangle semantics: the outline
    // runs along the inside of `rect`, and with a null pen the filled area is one pixel smaller to
    // the right and bottom. Outlines are crisp one-pixel lines when penWidth is 0 or 1.
    virtual void fillRect(const PixelRect& rect, Colour brush, PenStyle pen, int penWidth,
                          Colour penColour) = 0;
    // The outline only, one pixel wide and black; the interior is left as it is.
    virtual void outlineRect(const PixelRect& rect, PenStyle pen) = 0;
    // Size of `text` on one line in this font.
    virtual TextExtent measureText(const FontSpec& font, std::wstring_view text) = 0;
    // Draws `text` in `box` with the TextFormat flags, clipped to `box`; the font height is not
    // adapted to the box (callers fit it first). `rightToLeft` (or the RtlReading flag) lays the
    // text out right to left; otherwise the paragraph runs left to right, with runs of
    // right-to-left script still shown right to left.
    virtual void drawText(const PixelRect& box, const FontSpec& font, std::wstring_view text,
                          unsigned format, Colour colour, bool rightToLeft) = 0;
    // Copies a top-down buffer of width x height pixels (0x00RRGGBB words) to (x, y).
    virtual void blit(int x, int y, int width, int height, const std::uint32_t* pixels) = 0;
};

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageResult { Ok, Cancel, Yes, No };

struct FileFilter {
    std::string name;                   // "All files"
    std::vector<std::string> patterns;  // {"*.*"}
};

// Receives the window's messages; the window procedure of the shell implements it.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void handle(const Message& message) = 0;
};

// Keyboard layouts by their eight-hex-digit identifiers ("00000407" German). Loading compiles a
// layout once and keeps it; activating an unknown or empty identifier changes nothing.
class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts() = default;

    // The identifier of the active layout.
    virtual std::string activeLayout() const = 0;
    // Loads the layout (if not yet loaded) and makes it active. Returns false, leaving the active
    // layout unchanged, when the identifier is empty, has no mapping or cannot be compiled; the
    // layout active at start-up can always be activated again.
    virtual bool activate(const std::string& identifier) = 0;
    // The characters a key press produces under the active layout: `keycode` is the X hardware
    // keycode (evdev + 8). Dead keys produce nothing and compose with the next key. Returns 0
    // when the key produces no character.
    virtual char32_t translate(unsigned keycode, KeyModifiers modifiers) = 0;
    // True while the layout active at start-up is active (characters then come from the window
    // system's own translation and input methods).
    virtual bool startupLayoutActive() const = 0;
    // Loads these layouts ahead, where it keeps the window free (on a thread of its own), so that
    // activating one later is quick; what cannot be loaded is left alone. Nothing by default.
    virtual void loadAhead(const std::vector<std::string>& identifiers) { (void)identifiers; }
    // Starts readying, where it keeps the window free, what the first key needs; until then it is
    // readied at the first key. The window calls it once its first frame is out. Nothing by
    // default.
    virtual void prepareAhead() {}
};

// The window and everything the program asks of the system.
class Platform {
public:
    virtual ~Platform() = default;

    // --- window ---
    virtual PixelSize clientSize() const = 0;
    // Marks a pixel rectangle for repainting without erasing it; repaints coalesce.
    virtual void invalidate(const PixelRect& rect) = 0;
    virtual void invalidateAll() = 0;
    // The area to redraw in the paint that is about to begin; nullopt when nothing is invalid.
    virtual std::optional<PixelRect> updateRect() const = 0;
    // Opens a paint of the invalid area and returns its painter; endPaint validates the area.
    virtual Painter& beginPaint() = 0;
    virtual void endPaint() = 0;
    // Destroys the window; the destroy message follows.
    virtual void destroyWindow() = 0;
    // Ends the message loop with this exit code once the current message is handled.
    virtual void postQuit(int exitCode) = 0;

    // --- dialogs (modal) ---
    virtual MessageResult messageBox(const std::wstring& text, const std::wstring& caption,
                                     MessageIcon icon, MessageButtons buttons) = 0;
    // A file-open dialog; returns the full path chosen, or nullopt when cancelled. The working
    // directory is the same afterwards.
    virtual std::optional<std::string> openFileDialog(const std::vector<FileFilter>& filters) = 0;
    // A file-save dialog offering `suggestedName` (a file name without folder); returns the full
    // path chosen (the user has agreed to replace an existing file), or nullopt when cancelled.
    // The working directory is the same afterwards.
    virtual std::optional<std::string> saveFileDialog(const std::vector<FileFilter>& filters,
                                                      const std::string& suggestedName) = 0;

    // --- clipboard ---
    virtual void setClipboardText(const std::wstring& text) = 0;
    // The clipboard's text; empty when it holds none.
    virtual std::wstring clipboardText() = 0;

    // --- keyboard layouts ---
    virtual KeyboardLayouts& keyboardLayouts() = 0;

    // --- idle time ---
    // Asks for one Idle message once the window has no input and no paint waiting; asking again
    // before it came asks for nothing more. A window that never idles ignores it.
    virtual void requestIdle() {}
};

// The window the program runs in: the one way for the framework, the elements and the screens
// to reach painting, dialogs, the clipboard and the keyboard layouts. Set at start-up (or by a
// test) before the framework is used, and by the window procedure at every message
// (framewUpdate); the caller keeps ownership. current() without one is a programming error and
// aborts; code that may run before a window exists asks hasCurrent() first.
Platform& current();
bool hasCurrent();
void setCurrent(Platform* platform);

}  // namespace platform
