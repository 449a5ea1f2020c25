#include "program/RealWindow.h"

#include <cstdio>
#include <memory>
#include <string>

#include "base/Utf8.h"
#include "base/WindowThreadTasks.h"
#include "platform/FontWarmUp.h"
#include "platform/Platform.h"
#include "platform/gtk/GtkPlatform.h"
#include "program/FirstFrameFonts.h"
#include "program/StartUp.h"
#include "program/WarmUpAfterStart.h"
#include "states/WindowProcedure.h"

namespace {

// The window procedure, followed by the observer.
class ObservedProcedure final : public platform::MessageSink {
public:
    ObservedProcedure(platform::gtk::GtkPlatform& window, const RealWindowObservers& observers)
        : window_(window), procedure_(window), observers_(observers) {}

    void handle(const platform::Message& message) override {
        if (observers_.received) {
            observers_.received(message);
        }
        procedure_.handle(message);
        if (observers_.handled) {
            observers_.handled(message, window_);
        }
    }

private:
    platform::gtk::GtkPlatform& window_;
    WindowProcedure procedure_;
    const RealWindowObservers& observers_;
};

constexpr int EXIT_NOT_STARTED = 1;
constexpr const wchar_t* REFUSAL_CAPTION = L"Mernolex cannot start";

// The refusal as a sentence of its own in the box: first letter up, a full stop at the end. The
// reasons are written in English by the program, so the first byte is plain ASCII.
std::wstring sentence(std::string reason) {
    if (!reason.empty() && reason[0] >= 'a' && reason[0] <= 'z') {
        reason[0] = static_cast<char>(reason[0] - 'a' + 'A');
    }
    return utf8::decode(reason + ".");
}

int refuse(const char* programName, const std::string& reason) {
    // Not starting is a failure, never a quiet success.
    std::fprintf(stderr, "%s: %s\n", programName, reason.c_str());
    std::fflush(stderr);
    return EXIT_NOT_STARTED;
}

}  // namespace

int runOnRealWindow(const char* programName, const RealWindowObservers& observers, const StartCheck& check) {
    platform::warmUpFonts(firstFrameFonts());
    std::string error;
    std::unique_ptr<platform::gtk::GtkPlatform> window = platform::gtk::GtkPlatform::create(error);
    if (!window) {
        return refuse(programName, error);
    }
    platform::setCurrent(window.get());
    if (std::optional<std::string> refusal = check ? check() : std::nullopt) {
        refuse(programName, *refusal);
        // The box stands alone: the program's window is never shown.
        platform::current().messageBox(sentence(*refusal), REFUSAL_CAPTION, platform::MessageIcon::Error,
                                       platform::MessageButtons::Ok);
        platform::setCurrent(nullptr);
        return EXIT_NOT_STARTED;
    }
    ObservedProcedure procedure(*window, observers);
    window->setSink(&procedure);
    // Results of the speech threads reach the screens between two messages.
    window_thread::setWake([&window] { window->wakeFromAnyThread(); });
    startUp([&] {
        window->show();
        if (observers.shown) {
            observers.shown();
        }
    });
    if (observers.started) {
        observers.started();
    }
    warmFontSizesWhenIdle(window->cairoPainter());
    warmSpeechWhenIdle();
    loadLanguageLayoutsAhead(window->keyboardLayouts());
    const int exitCode = window->run();
    window->setSink(nullptr);
    shutDown();
    window_thread::setWake(nullptr);
    platform::setCurrent(nullptr);
    return exitCode;
}
