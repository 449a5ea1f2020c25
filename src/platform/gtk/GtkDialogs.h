#pragma once

// The modal dialogs of the GTK window: message boxes and the file-open and file-save dialogs. Each runs its own
// loop until answered; meanwhile the main window takes no input but keeps painting.

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

typedef struct _GtkWindow GtkWindow;

namespace platform::gtk {

// A file pattern as the GTK file chooser needs it. The program's patterns follow the rules users
// know from other desktops: letters match either case ("*.bmp" finds "CAT.BMP") and "*.*" means
// every file, with or without an extension.
std::string chooserPattern(const std::string& pattern);

// The answer of a message box closed with `response` (a GtkResponseType). Closing the box
// without pressing a button gives the answer that changes nothing: Ok for a box with only Ok,
// Cancel for Ok/Cancel, No for Yes/No.
MessageResult messageResultFor(MessageButtons buttons, int response);

class GtkDialogs {
public:
    // Dialogs are kept above `parent` (not owned; null for none).
    void setParent(GtkWindow* parent) { parent_ = parent; }

    // A message box with the caption as its title, the icon, and the buttons, the first of
    // which is the default and has the keyboard focus.
    MessageResult messageBox(const std::wstring& text, const std::wstring& caption,
                             MessageIcon icon, MessageButtons buttons);
    // The file-open dialog; returns the chosen file's full path or nullopt when cancelled. The
    // working directory is the same afterwards. It opens where the user last chose a file, or
    // at first in their pictures folder (their home folder when there is none): the working
    // directory is the data directory, often a hidden one, where nobody keeps pictures.
    std::optional<std::string> openFile(const std::vector<FileFilter>& filters);
    // The file-save dialog, starting with `suggestedName` where the user last saved a file (at
    // first where the open dialog starts); a file that exists is replaced only after the user
    // confirmed it. The working directory is the same afterwards.
    std::optional<std::string> saveFile(const std::vector<FileFilter>& filters, const std::string& suggestedName);

private:
    // Runs the open dialog, or the save dialog when `saveName` is given.
    std::optional<std::string> runFileChooser(const std::vector<FileFilter>& filters, const std::string* saveName);

    GtkWindow* parent_ = nullptr;
    std::string lastFolder_;
    std::string lastSaveFolder_;
};

}  // namespace platform::gtk
