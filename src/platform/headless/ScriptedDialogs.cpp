#include "platform/headless/ScriptedDialogs.h"

#include <stdexcept>

namespace platform {

namespace {

bool offers(MessageButtons buttons, MessageResult answer) {
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == MessageResult::Ok;
    case MessageButtons::OkCancel:
        return answer == MessageResult::Ok || answer == MessageResult::Cancel;
    case MessageButtons::YesNo:
        return answer == MessageResult::Yes || answer == MessageResult::No;
    }
    return false;
}

MessageResult closingAnswer(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageResult::Ok;
    case MessageButtons::OkCancel:
        return MessageResult::Cancel;
    case MessageButtons::YesNo:
        return MessageResult::No;
    }
    return MessageResult::Cancel;
}

}  // namespace

MessageResult ScriptedDialogs::messageBox(const std::wstring& text, const std::wstring& caption,
                                          MessageIcon icon, MessageButtons buttons) {
    MessageBoxRequest request{text, caption, icon, buttons, closingAnswer(buttons), false};
    if (!messageAnswers_.empty()) {
        request.answer = messageAnswers_.front();
        request.scripted = true;
        messageAnswers_.pop_front();
    }
    messageBoxes_.push_back(request);
    if (!offers(buttons, request.answer)) {
        throw std::logic_error("scripted message box answer is not a button of the box");
    }
    return request.answer;
}

std::optional<std::string> ScriptedDialogs::openFileDialog(const std::vector<FileFilter>& filters) {
    return fileDialog(FileDialogRequest{filters, std::nullopt, false, false, {}});
}

std::optional<std::string> ScriptedDialogs::saveFileDialog(const std::vector<FileFilter>& filters,
                                                           const std::string& suggestedName) {
    return fileDialog(FileDialogRequest{filters, std::nullopt, false, true, suggestedName});
}

std::optional<std::string> ScriptedDialogs::fileDialog(FileDialogRequest request) {
    if (!fileAnswers_.empty()) {
        request.answer = fileAnswers_.front();
        request.scripted = true;
        fileAnswers_.pop_front();
    }
    fileDialogs_.push_back(request);
    return request.answer;
}

}  // namespace platform
