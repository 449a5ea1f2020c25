#include "platform/gtk/GtkClipboardText.h"

#include <gtk/gtk.h>

#include "base/Utf8.h"

namespace platform::gtk {

namespace {
GtkClipboard* clipboard() { return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD); }
}  // namespace

void GtkClipboardText::set(const std::wstring& text) {
    const std::string bytes = utf8::encode(text);
    gtk_clipboard_set_text(clipboard(), bytes.c_str(), static_cast<gint>(bytes.size()));
}

std::wstring GtkClipboardText::get() {
    gchar* bytes = gtk_clipboard_wait_for_text(clipboard());
    if (bytes == nullptr) {
        return {};
    }
    std::wstring text = utf8::decode(bytes);
    g_free(bytes);
    return text;
}

}  // namespace platform::gtk
