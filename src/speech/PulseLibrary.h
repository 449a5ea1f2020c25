#pragma once

// The sound server's simple client functions, from libpulse-simple opened at first use
// (base/SharedLibrary.h).

#include <pulse/simple.h>

namespace speech {

struct PulseLibrary {
    decltype(&pa_simple_new) newStream = nullptr;
    decltype(&pa_simple_write) write = nullptr;
    decltype(&pa_simple_flush) flush = nullptr;
    decltype(&pa_simple_drain) drain = nullptr;
    decltype(&pa_simple_free) free = nullptr;

    // True when the library was opened and has every function above.
    bool loaded = false;
};

// Opened on the first call (from any thread; once).
const PulseLibrary& pulseLibrary();

}  // namespace speech
