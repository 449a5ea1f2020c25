#pragma once

// Work finished on another thread (speech synthesis, a file read in the background) that must
// touch the window's state: the other thread posts a task, the window's thread runs it. Elements,
// screens and the database are only ever touched from the window's thread, so a worker hands
// them its result this way.
//
// A post wakes the window's thread through the wake function set at start-up (the window turns
// it into a message, so the tasks run between two messages, never inside a box's nested loop).

#include <functional>

namespace window_thread {

// Any thread: queues the task and wakes the window's thread.
void post(std::function<void()> task);

// The window's thread: runs the tasks posted so far, oldest first. A task that posts again runs
// at the next call.
void runPosted();

// How a post wakes the window's thread; called on the posting thread while the queue is locked,
// so it must be quick and must not post. Null: the tasks wait for the next runPosted. Once this
// returns, the previous wake function is never called again.
void setWake(std::function<void()> wake);

// Drops every task not yet run (tests, the end of the program).
void discardPosted();

}  // namespace window_thread
