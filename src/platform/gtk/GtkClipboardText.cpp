#include "platform/gtk/GtkClipboardText.h"

#include <gtk/gtk.h>

#include "platform/Utf8.h"

namespace platform::gtk {

namespace {
GtkClipboard* clipboard() { return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD); }
}  // namespace

void GtkClipboardText::set(const std::wstring& text) {
    std::string utf8 = toUtf8(text);
    gtk_clipboard_set_text(clipboard(), utf8.c_str(), static_cast<gint>(utf8.size()));
}

std::wstring GtkClipboardText::get() {
    gchar* utf8 = gtk_clipboard_wait_for_text(clipboard());
    if (utf8 == nullptr) {
        return {};
    }
    std::wstring text = fromEightBit(utf8);
    g_free(utf8);
    return text;
}

}  // namespace platform::gtk
