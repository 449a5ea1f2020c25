#pragma once

// The modal dialogs of the GTK window: message boxes and the file-open dialog. Each runs its own
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
    // The file-save dialog, asking before it replaces a file; it opens where the user last chose
    // a file, or at first in their home folder.
    std::optional<std::string> saveFile(const std::vector<FileFilter>& filters, const std::string& suggestedName);

private:
    // Runs a file chooser of that action and returns the chosen path.
    std::optional<std::string> runChooser(int action, const std::vector<FileFilter>& filters,
                                          const std::string& startFolder, const std::string& suggestedName);

    GtkWindow* parent_ = nullptr;
    std::string lastFolder_;
};

}  // namespace platform::gtk
