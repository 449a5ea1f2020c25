#include "platform/gtk/GtkKeyInput.h"

#include <gtk/gtk.h>

#include "base/Utf8.h"
#include "platform/gtk/KeyTranslation.h"

namespace platform::gtk {

namespace {

KeyEvent keyEventOf(const GdkEventKey* event) {
    return KeyEvent{event->keyval, event->hardware_keycode, static_cast<unsigned>(event->state)};
}

bool withCtrlOrAlt(const GdkEventKey* event) {
    return (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0;
}

}  // namespace

GtkKeyInput::GtkKeyInput(KeyboardLayouts& layouts, Emit emit)
    : layouts_(layouts), emit_(std::move(emit)), inputMethod_(gtk_im_multicontext_new()) {
    g_signal_connect(inputMethod_, "commit", G_CALLBACK(onCommit), this);
}

void GtkKeyInput::prepareWhenIdle() {
    layouts_.prepareAhead();
    if (inputMethodReady_ || preparation_ != 0) {
        return;
    }
    preparation_ = g_idle_add_full(G_PRIORITY_LOW, [](gpointer self) -> gboolean {
        auto* input = static_cast<GtkKeyInput*>(self);
        input->preparation_ = 0;
        input->prepareInputMethod();
        return G_SOURCE_REMOVE;
    }, this, nullptr);
}

GtkKeyInput::~GtkKeyInput() {
    if (preparation_ != 0) {
        g_source_remove(preparation_);
    }
    g_signal_handlers_disconnect_by_data(inputMethod_, this);
    if (inputMethodReady_) {
        gtk_im_context_set_client_window(inputMethod_, nullptr);
    }
    g_object_unref(inputMethod_);
}

void GtkKeyInput::prepareInputMethod() {
    if (inputMethodReady_) {
        return;
    }
    inputMethodReady_ = true;
    // The program draws no pre-edit text; engines that compose show it in their own window.
    gtk_im_context_set_use_preedit(inputMethod_, FALSE);
    gtk_im_context_set_client_window(inputMethod_, clientWindow_);
    if (focused_) {
        gtk_im_context_focus_in(inputMethod_);
    }
}

void GtkKeyInput::setClientWindow(GdkWindow* window) {
    clientWindow_ = window;
    if (inputMethodReady_) {
        gtk_im_context_set_client_window(inputMethod_, window);
    }
}

void GtkKeyInput::focusIn() {
    focused_ = true;
    if (inputMethodReady_) {
        gtk_im_context_focus_in(inputMethod_);
    }
}

void GtkKeyInput::focusOut() {
    focused_ = false;
    if (inputMethodReady_) {
        gtk_im_context_focus_out(inputMethod_);
        gtk_im_context_reset(inputMethod_);
    }
}

bool GtkKeyInput::filteredByInputMethod(const GdkEventKey* event) {
    if (!layouts_.startupLayoutActive()) {
        if (inputMethodInUse_) {
            // A dead key pressed under the system's layout must not accent the first letter
            // typed under the program's.
            gtk_im_context_reset(inputMethod_);
            inputMethodInUse_ = false;
        }
        return false;
    }
    // Ctrl and Alt combinations are shortcuts, never text; GTK's input method would even
    // start a code-point entry on Ctrl+Shift+U.
    if (withCtrlOrAlt(event)) {
        return false;
    }
    inputMethodInUse_ = true;
    return gtk_im_context_filter_keypress(inputMethod_, const_cast<GdkEventKey*>(event)) != FALSE;
}

void GtkKeyInput::keyPressed(const GdkEventKey* event) {
    prepareInputMethod();
    lastKeysym_ = event->keyval;
    lastKeycode_ = event->hardware_keycode;
    lastState_ = static_cast<unsigned>(event->state);
    if (filteredByInputMethod(event)) {
        return;  // what the input method makes of it arrives through onCommit
    }
    const KeyEvent key = keyEventOf(event);
    char32_t layoutCharacter = 0;
    if (needsLayoutCharacter(key)) {
        layoutCharacter = layouts_.startupLayoutActive()
                              ? gdk_keyval_to_unicode(event->keyval)
                              : layouts_.translate(key.keycode, layoutModifiers(key.state));
    }
    emit_(keyMessage(key, layoutCharacter));
}

void GtkKeyInput::keyReleased(const GdkEventKey* event) {
    prepareInputMethod();
    if (inputMethodInUse_ && layouts_.startupLayoutActive()) {
        gtk_im_context_filter_keypress(inputMethod_, const_cast<GdkEventKey*>(event));
    }
    emit_(Message::plain(MessageCode::Unhandled));
}

void GtkKeyInput::onCommit(GtkIMContext*, const char* text, void* self) {
    auto* input = static_cast<GtkKeyInput*>(self);
    const KeyEvent key{input->lastKeysym_, input->lastKeycode_, input->lastState_};
    for (wchar_t character : utf8::decode(text)) {
        input->emit_(characterMessage(key, static_cast<char32_t>(character)));
    }
}

}  // namespace platform::gtk
