// A small program around the real GTK window for the end-to-end tests and the start-up
// benchmark. It prints every message the window procedure would get, one line each, keeps a
// tiny line of text like a text field (typing, Backspace, Ctrl+A/C/V/X through the clipboard),
// paints a fixed pattern, and obeys commands read from standard input:
//
//   layout ID        activate a keyboard layout        -> "layout ID active|refused"
//   ask CAP|TEXT     Yes/No box                         -> "answer yes|no"
//   tell CAP|TEXT    Ok box                             -> "answer ok"
//   open             file dialog                        -> "file PATH|none", "cwd PATH"
//   copy TEXT        put TEXT on the clipboard          -> "copied TEXT"
//   paste            read the clipboard                 -> "clipboard TEXT"
//   repaint          invalidate the whole client area
//   sync             wait until the X server has done all drawing so far -> "synced"
//   close            destroy the window (the loop ends with the destroy message); the end of
//                    the input closes it too
//
// Options: --first-paint ends the program after its first paint, printing the wall-clock time
// of that paint ("first-paint SECONDS.MICROS"); --bare does the same with a plain GTK window
// that skips the program's platform layer, as the benchmark's baseline, and then prints the
// processor time its threads took until then ("cpu-to-first-paint MILLISECONDS").

#include <chrono>
#include <sys/resource.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include <glib.h>
#include <gtk/gtk.h>

#include "ProbeSupport.h"
#include "base/Utf8.h"
#include "platform/gtk/GtkPlatform.h"

using platform::Message;
using platform::MessageCode;

namespace {

using e2e::say;
using e2e::sizeKindName;

std::string wallClock() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    auto micros = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    char text[64];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(micros / 1000000),
                  static_cast<long long>(micros % 1000000));
    return text;
}

std::string hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

class Probe final : public platform::MessageSink {
public:
    Probe(platform::gtk::GtkPlatform& window, bool exitAfterFirstPaint)
        : window_(window), exitAfterFirstPaint_(exitAfterFirstPaint) {}

    void handle(const Message& m) override {
        switch (m.code) {
        case MessageCode::Paint: paint(); break;
        case MessageCode::Size:
            say(std::string("size ") + sizeKindName(m.sizeKind) + " " + std::to_string(m.width) +
                " " + std::to_string(m.height));
            break;
        case MessageCode::LButtonDown: say(point("down", m)); break;
        case MessageCode::LButtonUp: say(point("up", m)); break;
        case MessageCode::MouseMove:
            say(point("move", m) + (m.buttonsOrModifiersHeld ? " held" : " free"));
            break;
        case MessageCode::MouseLeave: say("leave"); break;
        case MessageCode::KeyDown: key(m); break;
        case MessageCode::EnterSizeMove: say("sizemove begin"); break;
        case MessageCode::ExitSizeMove:
            say("sizemove end");
            window_.invalidateAll();  // the program repaints everything after a drag
            break;
        case MessageCode::Close:
            say("close");
            window_.destroyWindow();
            break;
        case MessageCode::Destroy:
            say("destroy");
            window_.postQuit(0);
            break;
        case MessageCode::Wake: say("wake"); break;
        case MessageCode::Idle: break;
        case MessageCode::Unhandled: break;
        }
    }

    void command(const std::string& line) {
        std::string verb = line.substr(0, line.find(' '));
        std::string rest = line.size() > verb.size() ? line.substr(verb.size() + 1) : "";
        if (verb == "layout") {
            bool ok = window_.keyboardLayouts().activate(rest);
            say("layout " + rest + (ok ? " active" : " refused"));
        } else if (verb == "ask" || verb == "tell") {
            ask(verb == "ask", rest);
        } else if (verb == "open") {
            open();
        } else if (verb == "copy") {
            window_.setClipboardText(utf8::decode(rest));
            say("copied " + rest);
        } else if (verb == "paste") {
            say("clipboard " + utf8::encode(window_.clipboardText()));
        } else if (verb == "repaint") {
            window_.invalidateAll();
        } else if (verb == "sync") {
            // Commands run between frames, so every paint printed so far is on its way.
            gdk_display_sync(gdk_display_get_default());
            say("synced");
        } else if (verb == "wake") {
            // Wakes from another thread, as a worker with results does; they arrive as one message.
            std::thread([this] {
                for (int i = 0; i < 3; ++i) {
                    window_.wakeFromAnyThread();
                }
            }).join();
        } else if (verb == "close") {
            window_.destroyWindow();
        } else {
            say("unknown command " + verb);
        }
    }

private:
    static std::string point(const char* name, const Message& m) {
        return std::string(name) + " " + std::to_string(m.x) + " " + std::to_string(m.y);
    }

    void key(const Message& m) {
        std::string line = "key ";
        line += m.character >= 0x20 && m.character != 0x7F
                    ? utf8::encode(std::wstring(1, static_cast<wchar_t>(m.character)))
                    : "-";
        line += " U+" + hex(m.character, 4) + " code " + hex(m.keyCode, 2) + " shift " +
                hex(m.shiftState, 4) + " ctrl " + hex(m.ctrlState, 4) + " caps " +
                hex(m.capsState, 4);
        say(line);
        edit(m.character);
    }

    // A text field in a few lines: enough to see typing and the clipboard shortcuts work.
    void edit(char32_t c) {
        switch (c) {
        case 0: return;
        case 1: selected_ = true; break;
        case 3:
            if (selected_) window_.setClipboardText(text_);
            break;
        case 8:
            if (!text_.empty()) text_.pop_back();
            break;
        case 22:
            if (selected_) text_.clear();
            text_ += window_.clipboardText();
            break;
        case 24:
            if (selected_) {
                window_.setClipboardText(text_);
                text_.clear();
            }
            break;
        default:
            if (c < 0x20) return;
            if (selected_) text_.clear();
            text_ += static_cast<wchar_t>(c);
        }
        if (c != 1 && c != 3) selected_ = false;
        say("text " + utf8::encode(text_));
        window_.invalidate({0, 0, window_.clientSize().width, 120});
    }

    // Light grey client area, a blue square at the top left, a red square in the bottom right
    // corner (so a repaint at a new size shows where the corner went) and the text.
    void paint() {
        auto area = window_.updateRect();
        platform::Painter& painter = window_.beginPaint();
        const auto client = window_.clientSize();
        const platform::Colour grey = platform::makeColour(0xC0, 0xC0, 0xC0);
        painter.fillRect({0, 0, client.width + 1, client.height + 1}, grey,
                         platform::PenStyle::Null, 0, 0);
        painter.fillRect({10, 10, 61, 61}, platform::makeColour(0, 0, 0xFF),
                         platform::PenStyle::Null, 0, 0);
        painter.fillRect({client.width - 20, client.height - 20, client.width + 1,
                          client.height + 1},
                         platform::makeColour(0xFF, 0, 0), platform::PenStyle::Null, 0, 0);
        painter.drawText({80, 10, client.width - 10, 60}, {"DejaVu Sans", 30, 400}, text_,
                         platform::TextFormat::Left | platform::TextFormat::VCenter |
                             platform::TextFormat::SingleLine,
                         0, false);
        window_.endPaint();
        if (area) {
            say("paint " + std::to_string(area->left) + " " + std::to_string(area->top) + " " +
                std::to_string(area->right) + " " + std::to_string(area->bottom) + " client " +
                std::to_string(client.width) + " " + std::to_string(client.height));
        }
        if (exitAfterFirstPaint_ && !firstPaintDone_) {
            firstPaintDone_ = true;
            say("first-paint " + wallClock());
            window_.destroyWindow();
        }
    }

    void ask(bool yesNo, const std::string& request) {
        std::size_t bar = request.find('|');
        std::wstring caption = utf8::decode(request.substr(0, bar));
        std::wstring text =
            utf8::decode(bar == std::string::npos ? "" : request.substr(bar + 1));
        auto answer = window_.messageBox(
            text, caption, yesNo ? platform::MessageIcon::Question : platform::MessageIcon::Information,
            yesNo ? platform::MessageButtons::YesNo : platform::MessageButtons::Ok);
        switch (answer) {
        case platform::MessageResult::Yes: say("answer yes"); break;
        case platform::MessageResult::No: say("answer no"); break;
        case platform::MessageResult::Ok: say("answer ok"); break;
        case platform::MessageResult::Cancel: say("answer cancel"); break;
        }
    }

    void open() {
        auto path = window_.openFileDialog(
            {{"Bitmap (only 24 Bit Depth Bitmaps work correctly)", {"*.bmp"}},
             {"All files", {"*.*"}}});
        say("file " + path.value_or("none"));
        say("cwd " + std::filesystem::current_path().string());
    }

    platform::gtk::GtkPlatform& window_;
    bool exitAfterFirstPaint_;
    bool firstPaintDone_ = false;
    std::wstring text_;
    bool selected_ = false;
};


// The processor time of all the process's threads so far, in milliseconds.
double processorMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The baseline: GTK alone, a window of the same size whose first draw ends the program.
int runBare() {
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fputs("gtk_probe: cannot open the display\n", stderr);
        return 1;
    }
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 1000, 500);
    GtkWidget* area = gtk_drawing_area_new();
    gtk_container_add(GTK_CONTAINER(window), area);
    g_signal_connect(area, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t* cr, gpointer) -> gboolean {
        cairo_set_source_rgb(cr, 0.75, 0.75, 0.75);
        cairo_paint(cr);
        say("first-paint " + wallClock());
        char cpu[64];
        std::snprintf(cpu, sizeof cpu, "cpu-to-first-paint %.1f", processorMilliseconds());
        say(cpu);
        gtk_main_quit();
        return TRUE;
    }), nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool firstPaint = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--bare") == 0) return runBare();
        if (std::strcmp(argv[i], "--first-paint") == 0) firstPaint = true;
    }
    std::string error;
    auto window = platform::gtk::GtkPlatform::create(error);
    if (!window) {
        std::fprintf(stderr, "gtk_probe: %s\n", error.c_str());
        return 1;
    }
    Probe probe(*window, firstPaint);
    window->setSink(&probe);
    say("startup-layout " + window->keyboardLayouts().activeLayout());
    // A timed run reads no commands: the end of its (empty) input would close the window.
    std::optional<e2e::CommandReader> commands;
    if (!firstPaint) {
        commands.emplace([&probe](const std::string& line) { probe.command(line); });
    }
    window->show();
    const int code = window->run();
    commands.reset();
    say("exit " + std::to_string(code));
    return code;
}
