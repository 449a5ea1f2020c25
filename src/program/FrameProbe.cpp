#include "program/FrameProbe.h"

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstdio>

#include "base/Utf8.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/DataPaths.h"

namespace {

const char* inputName(platform::MessageCode code) {
    switch (code) {
    case platform::MessageCode::KeyDown:
        return "key";
    case platform::MessageCode::LButtonDown:
        return "press";
    default:
        return "release";
    }
}

}  // namespace

bool FrameProbe::isInput(const platform::Message& message) {
    return message.code == platform::MessageCode::KeyDown || message.code == platform::MessageCode::LButtonDown ||
           message.code == platform::MessageCode::LButtonUp;
}

// Every save appends to the log (and a checkpoint removes it): any change of it is a save.
FrameProbe::LogState FrameProbe::logState() {
    struct stat status {};
    if (::stat(TRANSACTION_JOURNAL, &status) != 0) {
        return {};
    }
    return {true, static_cast<std::uintmax_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

double FrameProbe::threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

void FrameProbe::received(const platform::Message& message) {
    ++depth;
    if (depth > 1 && inputInHand) {
        nested = true;
    }
    if (depth == 1 && message.code == platform::MessageCode::Paint) {
        paintBegan = Clock::now();
    }
    if (depth == 1 && isInput(message)) {
        inputInHand = true;
        if (!waitingSince) {
            waitingSince = Clock::now();
            cpuSince = threadCpuMs();
            paintTook = 0;
            waitingInput = inputName(message.code);
            logBefore = logState();
            nested = false;
        }
    }
}

void FrameProbe::handled(const platform::Message& message, bool paintPending) {
    --depth;
    if (depth > 0) {
        return;
    }
    if (isInput(message)) {
        inputInHand = false;
        if (!paintPending) {
            answered();
        }
    } else if (message.code == platform::MessageCode::Paint && waitingSince && !inputInHand) {
        paintTook += std::chrono::duration<double, std::milli>(Clock::now() - paintBegan).count();
        if (!paintPending) {  // what the paint itself led to (queued updates) is painted too
            answered();
        }
    } else if (message.code == platform::MessageCode::Destroy) {
        summary();
    }
}

void FrameProbe::answered() {
    const double waited = std::chrono::duration<double, std::milli>(Clock::now() - *waitingSince).count();
    const double busy = threadCpuMs() - cpuSince;
    waitingSince.reset();
    if (nested) {
        return;
    }
    const bool saved = !(logState() == logBefore);
    ++inputs;
    double& longest = saved ? longestSaved : longestKept;
    longest = std::max(longest, waited);
    const std::string screen = curState != nullptr ? utf8::encode(curState->description) : std::string();
    std::printf("frame %.2f %.2f %.2f %s %s %s\n", waited, paintTook, busy, waitingInput, saved ? "saved" : "kept",
                screen.c_str());
    std::fflush(stdout);
}

void FrameProbe::summary() const {
    std::printf("frames longest %.2f kept, %.2f saved, %lu inputs\n", longestKept, longestSaved, inputs);
    std::fflush(stdout);
}
