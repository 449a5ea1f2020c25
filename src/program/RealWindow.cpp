#include "program/RealWindow.h"

#include <cstdio>
#include <memory>
#include <string>

#include "base/Utf8.h"
#include "base/WindowThreadTasks.h"
#include "platform/FontWarmUp.h"
#include "platform/Platform.h"
#include "platform/gtk/GtkPlatform.h"
#include "program/StartUp.h"
#include "program/WarmUpAfterStart.h"
#include "resources/SecondStrings.h"
#include "resources/frameworkDefaults.h"
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

// The fonts load while GTK connects to the display and the database loads: the first frame needs
// them, nothing before it does. What the welcome screen measures and draws, with the built-in
// face (the framework files read later usually keep it): every text at the face's size (the
// title is drawn at it too), the buttons at their height, the longest caption of the first words'
// row (an empty collection's) at the height it fits at, the traceback line at its height. A size
// left out here costs the first paint two font matches of its own.
platform::FontWarmUpRequest firstFrameFonts() {
    constexpr int BUTTON_HEIGHT = 62;
    constexpr int FIRST_WORDS_SAMPLE_HEIGHT = 42;
    constexpr int TRACEBACK_HEIGHT = 25;
    platform::FontWarmUpRequest request;
    const char* face = framewDefaultFontface(FONT1);
    request.face = face != nullptr ? face : "";
    request.weight = framewDefaultFontValue(F1_fnWeight);
    request.cellHeights = {framewDefaultFontValue(F1_SIZE), BUTTON_HEIGHT, FIRST_WORDS_SAMPLE_HEIGHT,
                           TRACEBACK_HEIGHT};
    for (framew_strings text : {String_WELCOME_BACK, String_PRACTICE, String_FEED, String_SETTINGS, String_WELCOME_STATE}) {
        request.sample += std::wstring(framewDefaultString(text)) + L" > ";
    }
    for (framew_strings2 text : {String2_STATISTICS, String2_IMPORT_WORDS, String2_TRY_SAMPLE}) {
        request.sample += std::wstring(defaultSecondString(text)) + L" > ";
    }
    return request;
}

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
