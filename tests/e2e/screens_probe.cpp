// A screen of real elements in the real window, for the end-to-end tests: the GTK window hands
// its messages to the program's window procedure, and the state machine drives a selection field,
// a text field, three buttons and a picture. Everything that happens is printed on standard
// output, one line per event, so a test can wait for it:
//
//   layout ID                 the active keyboard layout changed (also once at start-up)
//   colours background RRGGBB button RRGGBB white RRGGBB marked RRGGBB
//   paint L T R B client W H  a paint of that pixel area ("paint all ..." without an area)
//   size KIND W H, sizemove begin|end
//   focus TAG                 the keyboard focus moved to the element with that tag
//   text TEXT                 the text field's visible text changed
//   unfolded, folded          the selection list opened on top of the screen / closed
//   update TAG                an update tag reached the screen
//   selection ENTRY ID        the selection field shows another entry
//   answer yes|no             the answer of the Yes/No message box
//   after box on SCREEN field TEXT   the LEAVE button's update function, after its box
//   farewell                  the screen LEAVE asks for is shown
//   file PATH|none            the file dialog's answer
//   picture loaded W H|missing
//   exit CODE                 the message loop ended
//
// Screen (virtual units; the window starts with a 1000 x 500 client area, so pixels too):
//   SELECTION  selection field, centre (250, 200), 300 x 40, "Apple" .. "Damson" (ids 1..4)
//   FIELD      text field, centre (250, 60), 400 x 50, starting with "Haus"
//   ASK        button, centre (600, 60): asks a Yes/No question
//   OPEN       button, centre (800, 60): chooses a picture in the file dialog
//   CLEAR      button, centre (700, 150): empties the text field
//   LEAVE      button, centre (900, 150): asks for the farewell screen, then asks a Yes/No
//              question and reports on the screen it is still running on
//   PICTURE    bitmap, centre (750, 300), 300 x 200 (box 600..900 x 200..400)
// The selection field is added first, so it starts with the focus.
//
// Commands on standard input:
//   field-layout ID   the layout the text field switches to when it gets the focus
//                     -> "field-layout ID"
//   sync              wait until the X server has done all drawing so far -> "synced"
//   close             destroy the window; the end of the input closes it too
//
// Option: --picture PATH shows that picture from the start.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include <glib.h>
#include <gtk/gtk.h>

#include "gui/GuiBitmap.h"
#include "gui/GuiButton.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "ProbeSupport.h"
#include "base/Utf8.h"
#include "platform/gtk/GtkPlatform.h"
#include "shell/framework.h"
#include "resources/frameworkFileManager.h"
#include "states/WindowProcedure.h"

using platform::Message;
using platform::MessageCode;

namespace {

using e2e::say;
using e2e::sizeKindName;

std::string utf8Of(const wchar_t* text) { return utf8::encode(text == nullptr ? L"" : text); }

std::string rgbHex(COLORREF colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", platform::redOf(colour), platform::greenOf(colour),
                  platform::blueOf(colour));
    return text;
}

// The elements of the screen; the screen owns them, these only point at them.
struct Screen {
    GuiSelectionfield* selection = nullptr;
    GuiTextfield* field = nullptr;
    GuiBitmap* picture = nullptr;
};

Screen screen;

void askQuestion() {
    const platform::MessageResult answer =
        platform::current().messageBox(L"Keep the picture?", L"Question", platform::MessageIcon::Question,
                                       platform::MessageButtons::YesNo);
    say(answer == platform::MessageResult::Yes ? "answer yes" : "answer no");
}

// What the picture chooser of the editors does: the user picks a file, the screen shows it.
void choosePicture() {
    const auto path = platform::current().openFileDialog(
        {{"Bitmap (only 24 Bit Depth Bitmaps work correctly)", {"*.bmp"}}, {"All files", {"*.*"}}});
    say("file " + path.value_or("none"));
    if (!path) {
        return;
    }
    if (screen.picture->changeFile(path->c_str())) {
        say("picture loaded " + std::to_string(screen.picture->getPixelWidth()) + " " +
            std::to_string(screen.picture->getPixelHeight()));
    } else {
        say("picture missing");
    }
}

State* buildFarewell() {
    State* state = createEmptyState(L"Farewell");
    addElementToState(state, new GuiTitleText(L"Farewell", 0));
    state->aliveFunc = [] {
        static bool shown = false;
        if (!shown) {
            shown = true;
            say("farewell");
        }
    };
    return state;
}

// An editor that confirms before it leaves: the switch it asked for must wait for the box.
void leave() {
    switchToState(buildFarewell());
    askQuestion();
    say("after box on " + utf8Of(curState->description.c_str()) + " field " + utf8Of(screen.field->getText()));
}

void update(const char* tag) {
    say(std::string("update ") + tag);
    if (std::strcmp(tag, "ASK_PRESSED") == 0) {
        askQuestion();
    } else if (std::strcmp(tag, "OPEN_PRESSED") == 0) {
        choosePicture();
    } else if (std::strcmp(tag, "LEAVE_PRESSED") == 0) {
        leave();
    } else if (std::strcmp(tag, "CLEAR_PRESSED") == 0) {
        screen.field->setText(L"");
    } else if (std::strcmp(tag, "SELECTION_CHANGED") == 0) {
        say("selection " + utf8Of(screen.selection->getActiveEntry()) + " " +
            std::to_string(screen.selection->getActiveId()));
    }
}

State* buildScreen(const char* picturePath) {
    State* state = createEmptyState(L"Probe");
    state->updateFunc = update;
    state->terminateFunc = [] { screen = {}; };
    setConditional(state, 1);

    auto* selection = addConTagedElTState(new GuiSelectionfield(250, 200, 300, 40), "SELECTION");
    const wchar_t* fruits[] = {L"Apple", L"Banana", L"Cherry", L"Damson"};
    unsigned id = 1;
    for (const wchar_t* fruit : fruits) {
        selection->addItem(fruit);
        selection->setLastId(id++);
    }
    selection->setSpecUpdate("SELECTION_CHANGED");

    auto* field = addConTagedElTState(new GuiTextfield(250, 60, L"Haus", false, 400, 50), "FIELD");
    addConTagedElTState(new GuiButton(BUTTON3, 600, 60, L"Ask", "ASK_PRESSED"), "ASK");
    addConTagedElTState(new GuiButton(BUTTON3, 800, 60, L"Picture", "OPEN_PRESSED"), "OPEN");
    addConTagedElTState(new GuiButton(BUTTON3, 700, 150, L"Clear", "CLEAR_PRESSED"), "CLEAR");
    addConTagedElTState(new GuiButton(BUTTON3, 900, 150, L"Leave", "LEAVE_PRESSED"), "LEAVE");
    auto* picture = addConTagedElTState(createPermanentGuiBitmap(750, 300, 300, 200, picturePath), "PICTURE");

    screen = {selection, field, picture};
    return state;
}

// Wraps the window procedure and reports, after each message, what changed on the screen.
class ScreenProbe final : public platform::MessageSink {
public:
    explicit ScreenProbe(platform::gtk::GtkPlatform& window) : window_(window), procedure_(window) {}

    void handle(const Message& m) override {
        const auto area = window_.updateRect();
        procedure_.handle(m);
        switch (m.code) {
        case MessageCode::Paint: paint(area); break;
        case MessageCode::Size:
            say(std::string("size ") + sizeKindName(m.sizeKind) + " " + std::to_string(m.width) + " " +
                std::to_string(m.height));
            break;
        case MessageCode::EnterSizeMove: say("sizemove begin"); break;
        case MessageCode::ExitSizeMove: say("sizemove end"); break;
        default: break;
        }
        report();
    }

    void command(const std::string& line) {
        const std::string verb = line.substr(0, line.find(' '));
        const std::string rest = line.size() > verb.size() ? line.substr(verb.size() + 1) : "";
        if (verb == "field-layout") {
            screen.field->setKeybrdLayout(rest.c_str());
            say("field-layout " + std::string(screen.field->getKeybrdLayout()));
        } else if (verb == "sync") {
            // Commands run between messages, so every paint printed so far is on its way.
            gdk_display_sync(gdk_display_get_default());
            say("synced");
        } else if (verb == "close") {
            window_.destroyWindow();
        } else {
            say("unknown command " + verb);
        }
    }

    // Prints what differs from the last report: layout, focus, field text, the open list.
    void report() {
        if (curState == nullptr || screen.field == nullptr) {
            return;  // (the probe screen is gone)
        }
        const std::string layout = window_.keyboardLayouts().activeLayout();
        if (layout != layout_) {
            layout_ = layout;
            say("layout " + layout);
        }
        const std::string focus = curState->focus == nullptr ? "" : curState->focus->getTag();
        if (focus != focus_) {
            focus_ = focus;
            say("focus " + focus);
        }
        const std::string text = utf8Of(screen.field->getText());
        if (text != text_) {
            text_ = text;
            say("text " + text);
        }
        // Open once the state machine has put the list on top of the screen.
        const bool unfolded = screen.selection->isUnfolded() &&
                              curState->superior == static_cast<FocusElement*>(screen.selection);
        if (unfolded != unfolded_) {
            unfolded_ = unfolded;
            say(unfolded ? "unfolded" : "folded");
        }
    }

private:
    void paint(const std::optional<platform::PixelRect>& area) {
        const auto client = window_.clientSize();
        const std::string size = "client " + std::to_string(client.width) + " " + std::to_string(client.height);
        if (area) {
            say("paint " + std::to_string(area->left) + " " + std::to_string(area->top) + " " +
                std::to_string(area->right) + " " + std::to_string(area->bottom) + " " + size);
        } else {
            say("paint all " + size);
        }
    }

    platform::gtk::GtkPlatform& window_;
    WindowProcedure procedure_;
    std::string layout_;
    std::string focus_;
    std::string text_ = "Haus";
    bool unfolded_ = false;
};


}  // namespace

int main(int argc, char** argv) {
    const char* picturePath = "";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--picture") == 0) {
            picturePath = argv[++i];
        }
    }
    std::string error;
    auto window = platform::gtk::GtkPlatform::create(error);
    if (!window) {
        std::fprintf(stderr, "screens_probe: %s\n", error.c_str());
        return 1;
    }
    platform::setCurrent(window.get());
    std::error_code ignored;
    std::filesystem::create_directories("Data/Framework", ignored);
    getKL(preApplicationKeyboard);
    framewInit(1000, 500);
    say("colours background " + rgbHex(colours[BG_RGB]) + " button " + rgbHex(colours[BT_RGB]) + " white " +
        rgbHex(colours[WHITE_RGB]) + " marked " + rgbHex(colours[MARKED_RGB]));

    ScreenProbe probe(*window);
    window->setSink(&probe);
    window->show();
    nextState = buildScreen(picturePath);
    updateStateStatus();
    probe.report();
    int code = 0;
    {
        e2e::CommandReader commands([&probe](const std::string& line) { probe.command(line); });
        code = window->run();
    }
    stateMachineReset();
    platform::setCurrent(nullptr);
    say("exit " + std::to_string(code));
    return code;
}
