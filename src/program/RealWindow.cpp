#include "program/RealWindow.h"

#include <cstdio>
#include <memory>
#include <string>

#include "platform/gtk/GtkPlatform.h"
#include "program/StartUp.h"
#include "states/WindowProcedure.h"

namespace {

// The window procedure, followed by the observer.
class ObservedProcedure final : public platform::MessageSink {
public:
    ObservedProcedure(platform::gtk::GtkPlatform& window, const RealWindowObservers& observers)
        : window_(window), procedure_(window), observers_(observers) {}

    void handle(const platform::Message& message) override {
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

}  // namespace

int runOnRealWindow(const char* programName, const RealWindowObservers& observers) {
    std::string error;
    std::unique_ptr<platform::gtk::GtkPlatform> window = platform::gtk::GtkPlatform::create(error);
    if (!window) {
        // Not having a window is a failure, never a quiet success.
        std::fprintf(stderr, "%s: %s\n", programName, error.c_str());
        return 1;
    }
    platform::setCurrent(window.get());
    ObservedProcedure procedure(*window, observers);
    window->setSink(&procedure);
    startUp([&] {
        window->show();
        if (observers.shown) {
            observers.shown();
        }
    });
    if (observers.started) {
        observers.started();
    }
    const int exitCode = window->run();
    window->setSink(nullptr);
    shutDown();
    platform::setCurrent(nullptr);
    return exitCode;
}
