#include "platform/gtk/GtkDialogs.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include <gtk/gtk.h>

#include "base/Utf8.h"

namespace platform::gtk {

namespace {

GtkMessageType messageTypeFor(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return GTK_MESSAGE_INFO;
    case MessageIcon::Warning: return GTK_MESSAGE_WARNING;
    case MessageIcon::Error: return GTK_MESSAGE_ERROR;
    case MessageIcon::Question: return GTK_MESSAGE_QUESTION;
    case MessageIcon::None: break;
    }
    return GTK_MESSAGE_OTHER;
}

const char* iconNameFor(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return "dialog-information";
    case MessageIcon::Warning: return "dialog-warning";
    case MessageIcon::Error: return "dialog-error";
    case MessageIcon::Question: return "dialog-question";
    case MessageIcon::None: break;
    }
    return nullptr;
}

GtkButtonsType buttonsFor(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok: return GTK_BUTTONS_OK;
    case MessageButtons::OkCancel: return GTK_BUTTONS_OK_CANCEL;
    case MessageButtons::YesNo: return GTK_BUTTONS_YES_NO;
    }
    return GTK_BUTTONS_OK;
}

GtkResponseType defaultResponseFor(MessageButtons buttons) {
    return buttons == MessageButtons::YesNo ? GTK_RESPONSE_YES : GTK_RESPONSE_OK;
}

void showIcon(GtkWidget* dialog, MessageIcon icon) {
    const char* name = iconNameFor(icon);
    if (name == nullptr) {
        return;
    }
    GtkWidget* image = gtk_image_new_from_icon_name(name, GTK_ICON_SIZE_DIALOG);
    gtk_widget_show(image);
    // Since 3.12 a message dialog shows no icon of its own; setting the image is the only way
    // left to show one, and it still works throughout GTK 3.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(dialog), image);
    G_GNUC_END_IGNORE_DEPRECATIONS
}

// Left alone, GTK focuses the last button ("No") of a Yes/No box; the first one is the default
// and has the focus, so Return answers with it.
void focusDefaultButton(GtkWidget* dialog, GtkResponseType response) {
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), response);
    if (GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), response)) {
        gtk_widget_grab_focus(button);
    }
}

std::filesystem::path workingDirectory() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::current_path(error);
    return error ? std::filesystem::path() : path;
}

// Where the chooser opens before the user has chosen anything: the pictures folder, else home.
std::string firstFolder() {
    const gchar* pictures = g_get_user_special_dir(G_USER_DIRECTORY_PICTURES);
    std::error_code error;
    if (pictures != nullptr && std::filesystem::is_directory(pictures, error)) {
        return pictures;
    }
    return g_get_home_dir();
}

}  // namespace

std::string chooserPattern(const std::string& pattern) {
    if (pattern == "*.*") {
        return "*";
    }
    std::string result;
    for (char c : pattern) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (std::isalpha(byte) != 0 && byte < 0x80) {
            result += '[';
            result += static_cast<char>(std::tolower(byte));
            result += static_cast<char>(std::toupper(byte));
            result += ']';
        } else {
            result += c;
        }
    }
    return result;
}

MessageResult messageResultFor(MessageButtons buttons, int response) {
    switch (response) {
    case GTK_RESPONSE_OK: return MessageResult::Ok;
    case GTK_RESPONSE_CANCEL: return MessageResult::Cancel;
    case GTK_RESPONSE_YES: return MessageResult::Yes;
    case GTK_RESPONSE_NO: return MessageResult::No;
    default: break;
    }
    switch (buttons) {
    case MessageButtons::Ok: return MessageResult::Ok;
    case MessageButtons::OkCancel: return MessageResult::Cancel;
    case MessageButtons::YesNo: return MessageResult::No;
    }
    return MessageResult::Cancel;
}

MessageResult GtkDialogs::messageBox(const std::wstring& text, const std::wstring& caption,
                                     MessageIcon icon, MessageButtons buttons) {
    GtkWidget* dialog = gtk_message_dialog_new(
        parent_, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
        messageTypeFor(icon), buttonsFor(buttons), "%s", utf8::encode(text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), utf8::encode(caption).c_str());
    showIcon(dialog, icon);
    focusDefaultButton(dialog, defaultResponseFor(buttons));
    int response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    return messageResultFor(buttons, response);
}

std::optional<std::string> GtkDialogs::openFile(const std::vector<FileFilter>& filters) {
    return runFileChooser(filters, nullptr);
}

std::optional<std::string> GtkDialogs::saveFile(const std::vector<FileFilter>& filters, const std::string& suggestedName) {
    return runFileChooser(filters, &suggestedName);
}

std::optional<std::string> GtkDialogs::runFileChooser(const std::vector<FileFilter>& filters,
                                                      const std::string* saveName) {
    const std::filesystem::path before = workingDirectory();
    const bool saving = saveName != nullptr;
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        saving ? "Save" : "Open", parent_, saving ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN,
        "_Cancel", GTK_RESPONSE_CANCEL, saving ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    std::string& last = saving ? lastSaveFolder_ : lastFolder_;
    const std::string startFolder = last.empty() ? firstFolder() : last;
    gtk_file_chooser_set_current_folder(chooser, startFolder.c_str());
    if (saving) {
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
        gtk_file_chooser_set_current_name(chooser, saveName->c_str());
    }
    for (const FileFilter& filter : filters) {
        GtkFileFilter* gtkFilter = gtk_file_filter_new();
        gtk_file_filter_set_name(gtkFilter, filter.name.c_str());
        for (const std::string& pattern : filter.patterns) {
            gtk_file_filter_add_pattern(gtkFilter, chooserPattern(pattern).c_str());
        }
        gtk_file_chooser_add_filter(chooser, gtkFilter);  // the chooser takes the filter
    }
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);

    std::optional<std::string> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* name = gtk_file_chooser_get_filename(chooser)) {
            chosen = name;
            g_free(name);
            last = std::filesystem::path(*chosen).parent_path().string();
        }
    }
    gtk_widget_destroy(dialog);
    // All of the program's data paths are relative to the working directory.
    std::error_code ignored;
    if (!before.empty() && workingDirectory() != before) {
        std::filesystem::current_path(before, ignored);
    }
    return chosen;
}

}  // namespace platform::gtk
