#pragma once

// The modal dialogs of the headless window: answers come from queues a test fills beforehand,
// and every dialog that was shown is recorded with what it asked.
//
// A dialog without a scripted answer is answered the way closing it would answer it (Ok for an
// Ok box, Cancel for Ok/Cancel, No for Yes/No; no file for the file dialog) and recorded as
// unscripted, so a test can tell that the program asked something it did not expect.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {

struct MessageBoxRequest {
    std::wstring text;
    std::wstring caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageResult answer = MessageResult::Ok;
    bool scripted = false;
};

struct FileDialogRequest {
    std::vector<FileFilter> filters;
    std::optional<std::string> answer;
    bool scripted = false;
    bool save = false;             // a save dialog (else an open dialog)
    std::string suggestedName;     // the name a save dialog started with
};

class ScriptedDialogs {
public:
    // Queues the answer of the next message box. An answer that is not one of that box's
    // buttons is a mistake in the test and throws std::logic_error when the box is shown.
    void answerMessageBox(MessageResult answer) { messageAnswers_.push_back(answer); }
    // Queues the path the next file dialog (open or save) returns; nullopt cancels it.
    void answerFileDialog(std::optional<std::string> path) { fileAnswers_.push_back(std::move(path)); }

    MessageResult messageBox(const std::wstring& text, const std::wstring& caption,
                             MessageIcon icon, MessageButtons buttons);
    std::optional<std::string> openFileDialog(const std::vector<FileFilter>& filters);
    std::optional<std::string> saveFileDialog(const std::vector<FileFilter>& filters, const std::string& suggestedName);

    const std::vector<MessageBoxRequest>& messageBoxes() const { return messageBoxes_; }
    const std::vector<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
    // Answers queued but not yet used.
    std::size_t unusedAnswers() const { return messageAnswers_.size() + fileAnswers_.size(); }

private:
    std::deque<MessageResult> messageAnswers_;
    std::optional<std::string> fileDialog(FileDialogRequest request);

    std::deque<std::optional<std::string>> fileAnswers_;
    std::vector<MessageBoxRequest> messageBoxes_;
    std::vector<FileDialogRequest> fileDialogs_;
};

}  // namespace platform
