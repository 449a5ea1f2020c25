#pragma once

// Marks the time the program spends handling a window message (or running the state machine
// outside one, as the start-up does). A message box, the file chooser and a clipboard read run a
// nested loop of the window system, which can hand the window procedure another message while
// the outer one is still being handled: an update function that asked for another screen and
// then shows a box is still running on its own screen. Such a nested message may only paint;
// everything else waits until the outermost handling is over (states/WindowProcedure), so no
// screen switch, queued update or alive function ever runs under code that is still running.
class MessageNesting {
public:
    MessageNesting() { ++depth; }
    ~MessageNesting() { --depth; }
    MessageNesting(const MessageNesting&) = delete;
    MessageNesting& operator=(const MessageNesting&) = delete;

    // True while some handling is under way: a message arriving now comes from a nested loop.
    static bool inside() { return depth > 0; }
    // True while a nested message is handled (its handling opens a scope of its own).
    static bool nested() { return depth > 1; }

private:
    static inline int depth = 0;
};
