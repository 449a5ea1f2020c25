#include "speech/PulseLibrary.h"

#include "base/SharedLibrary.h"

namespace speech {

namespace {

PulseLibrary load() {
    static const SharedLibrary library("libpulse-simple.so.0");
    PulseLibrary functions;
    functions.loaded = library.bind(functions.newStream, "pa_simple_new") &&
                       library.bind(functions.write, "pa_simple_write") &&
                       library.bind(functions.flush, "pa_simple_flush") &&
                       library.bind(functions.drain, "pa_simple_drain") &&
                       library.bind(functions.free, "pa_simple_free");
    return functions;
}

}  // namespace

const PulseLibrary& pulseLibrary() {
    static const PulseLibrary functions = load();
    return functions;
}

}  // namespace speech
