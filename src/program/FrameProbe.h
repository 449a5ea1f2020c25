#pragma once

// How long the learner waits for the program: for every press, release and key, the time from
// the moment the window got it to the end of the paint that answers it (the last of the paints
// that follow while something is still to be painted: a screen switched to fills its lists at the
// first one), or to the end of its handling when it changed nothing on the screen. Part of the trace (TestTrace.h): each wait is
// printed as
//
//   frame <wait ms> <paint ms> <cpu ms> <input> <saved|kept> <screen>
//
// with the time of the answering paints alone (0 without one): the frame itself, what the wait
// cannot be shorter than; and the processor time the window's thread spent in the wait, which
// other programs on a busy machine do not lengthen.
// "saved" when the input wrote to the database's log (a save) while it was answered, "kept"
// otherwise; inputs during which a box or another nested loop ran (the wait then includes the
// learner reading the box) are not printed. When the window goes, the longest waits follow:
//
//   frames longest <ms> kept, <ms> saved, <count> inputs

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Messages.h"

class FrameProbe {
public:
    // Before the window procedure handles `message`.
    void received(const platform::Message& message);
    // After it; `paintPending` tells whether something still waits to be painted.
    void handled(const platform::Message& message, bool paintPending);

private:
    using Clock = std::chrono::steady_clock;
    struct LogState {
        bool exists = false;
        std::uintmax_t size = 0;
        std::int64_t modified = 0;
        bool operator==(const LogState&) const = default;
    };
    static LogState logState();
    static double threadCpuMs();
    static bool isInput(const platform::Message& message);
    void answered();
    void summary() const;

    int depth = 0;
    bool inputInHand = false;  // an input is being handled right now
    std::optional<Clock::time_point> waitingSince;
    double cpuSince = 0;  // the thread's processor time when the wait began, ms
    Clock::time_point paintBegan;
    double paintTook = 0;
    const char* waitingInput = "";
    LogState logBefore;
    bool nested = false;  // a box or another nested loop ran while the input was handled
    double longestKept = 0;
    double longestSaved = 0;
    unsigned long inputs = 0;
};
