// Mernolex: the real window on the user's X display, the start-up, the message loop.

#include <cstdio>
#include <memory>
#include <string>

#include "platform/gtk/GtkPlatform.h"
#include "program/StartUp.h"
#include "states/WindowProcedure.h"

int main() {
    std::string error;
    std::unique_ptr<platform::gtk::GtkPlatform> window = platform::gtk::GtkPlatform::create(error);
    if (!window) {
        // Not having a window is a failure, never a quiet success.
        std::fprintf(stderr, "mernolex: %s\n", error.c_str());
        return 1;
    }
    platform::setCurrent(window.get());
    WindowProcedure procedure(*window);
    window->setSink(&procedure);
    startUp([&window] { window->show(); });
    const int exitCode = window->run();
    window->setSink(nullptr);
    shutDown();
    platform::setCurrent(nullptr);
    return exitCode;
}
