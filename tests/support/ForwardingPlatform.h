#pragma once

// A platform that hands every call on to another one, so that a test can step into a single
// operation: note what the program looked like when it opened a dialog, or move the working
// directory while a file dialog is open, as a real dialog may.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace mernolex::test {

class ForwardingPlatform final : public platform::Platform {
public:
    explicit ForwardingPlatform(platform::Platform& inner) : inner_(inner) {}

    // Run when a message box or file dialog opens, before the inner platform answers it.
    std::function<void()> onMessageBox;
    std::function<void()> onFileDialog;

    platform::PixelSize clientSize() const override { return inner_.clientSize(); }
    void invalidate(const platform::PixelRect& rect) override { inner_.invalidate(rect); }
    void invalidateAll() override { inner_.invalidateAll(); }
    std::optional<platform::PixelRect> updateRect() const override { return inner_.updateRect(); }
    platform::Painter& beginPaint() override { return inner_.beginPaint(); }
    void endPaint() override { inner_.endPaint(); }
    void destroyWindow() override { inner_.destroyWindow(); }
    void postQuit(int exitCode) override { inner_.postQuit(exitCode); }
    platform::MessageResult messageBox(const std::wstring& text, const std::wstring& caption,
                                       platform::MessageIcon icon, platform::MessageButtons buttons) override {
        if (onMessageBox) {
            onMessageBox();
        }
        return inner_.messageBox(text, caption, icon, buttons);
    }
    std::optional<std::string> openFileDialog(const std::vector<platform::FileFilter>& filters) override {
        if (onFileDialog) {
            onFileDialog();
        }
        return inner_.openFileDialog(filters);
    }
    std::optional<std::string> saveFileDialog(const std::vector<platform::FileFilter>& filters,
                                              const std::string& suggestedName) override {
        if (onFileDialog) {
            onFileDialog();
        }
        return inner_.saveFileDialog(filters, suggestedName);
    }
    void setClipboardText(const std::wstring& text) override { inner_.setClipboardText(text); }
    std::wstring clipboardText() override { return inner_.clipboardText(); }
    platform::KeyboardLayouts& keyboardLayouts() override { return inner_.keyboardLayouts(); }

private:
    platform::Platform& inner_;
};

}  // namespace mernolex::test
