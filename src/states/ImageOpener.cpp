#include "states/ImageOpener.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "gui/GuiText.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "platform/Platform.h"

namespace {

const std::vector<platform::FileFilter>& pictureFilters() {
    static const std::vector<platform::FileFilter> filters{
        {"Bitmap (only 24 Bit Depth Bitmaps work correctly)", {"*.bmp"}},
        {"All files", {"*.*"}},
    };
    return filters;
}

// The working directory when the chooser opened; restored when it closes, since a dialog may
// have moved it to the folder the user browsed.
class WorkingDirectoryGuard {
public:
    WorkingDirectoryGuard() { saved_ = std::filesystem::current_path(error_); }
    ~WorkingDirectoryGuard() {
        std::error_code ignored;
        if (!error_ && std::filesystem::current_path(ignored) != saved_) {
            std::filesystem::current_path(saved_, ignored);
        }
    }
    WorkingDirectoryGuard(const WorkingDirectoryGuard&) = delete;
    WorkingDirectoryGuard& operator=(const WorkingDirectoryGuard&) = delete;

private:
    std::error_code error_;
    std::filesystem::path saved_;
};

// A relative answer is resolved where the dialog left the working directory, before it is put
// back.
std::string fullPath(const std::string& chosen) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(chosen, error);
    return error ? chosen : absolute.string();
}

}  // namespace

GuiText* imageOpener(const char* stringTag) {
    std::string path;
    {
        WorkingDirectoryGuard workingDirectory;
        const std::optional<std::string> chosen = platform::current().openFileDialog(pictureFilters());
        if (!chosen) {
            return nullptr;
        }
        path = fullPath(*chosen);
    }
    // Looked up after the dialog: the screen is the one current once it has closed. Untagged
    // elements carry the empty tag, so an empty tag names no target.
    const bool tagged = stringTag != nullptr && stringTag[0] != '\0';
    auto* target = tagged ? dynamic_cast<GuiText*>(getElementByTag(stringTag, curState)) : nullptr;
    if (target != nullptr) {
        target->setText(path.c_str());
    }
    return target;
}
