#include "program/TestTrace.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/Utf8.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "platform/gtk/GtkPlatform.h"
#include "program/FrameProbe.h"
#include "shell/frameworkPainter.h"

namespace {

void printLine(const char* kind, const std::wstring& text) {
    std::string line = utf8::encode(text);
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    std::printf("%s %s\n", kind, line.c_str());
    std::fflush(stdout);
}

void printPaintedText(const std::wstring& text) { printLine("text", text); }

// The screen and page printed last. A new screen may be built where a destroyed one was, so the
// description is compared as well as the address.
class ScreenTrace {
public:
    void printIfChanged() {
        if (curState == nullptr) {
            return;
        }
        if (curState == screen_ && curState->description == description_ && curState->condition == page_) {
            return;
        }
        screen_ = curState;
        description_ = curState->description;
        page_ = curState->condition;
        printLine("screen", description_ + L" page " + std::to_wstring(page_));
    }

private:
    const State* screen_ = nullptr;
    std::wstring description_;
    long page_ = 0;
};

}  // namespace

RealWindowObservers traceObservers() {
    const char* value = std::getenv(TRACE_VARIABLE);
    if (value == nullptr || *value == '\0') {
        return {};
    }
    framewWatchPaintedText(printPaintedText);
    auto screens = std::make_shared<ScreenTrace>();
    auto frames = std::make_shared<FrameProbe>();
    RealWindowObservers observers;
    observers.started = [screens] { screens->printIfChanged(); };
    observers.received = [frames](const platform::Message& message) { frames->received(message); };
    observers.handled = [screens, frames](const platform::Message& message, platform::gtk::GtkPlatform& window) {
        screens->printIfChanged();
        frames->handled(message, window.paintPending());
    };
    return observers;
}
