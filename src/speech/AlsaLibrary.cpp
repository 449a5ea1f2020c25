#include "speech/AlsaLibrary.h"

#include "base/SharedLibrary.h"

namespace speech {

namespace {

AlsaLibrary load() {
    static const SharedLibrary library("libasound.so.2");
    AlsaLibrary functions;
    functions.loaded = library.bind(functions.setErrorHandler, "snd_lib_error_set_handler") &&
                       library.bind(functions.open, "snd_pcm_open") &&
                       library.bind(functions.setParams, "snd_pcm_set_params") &&
                       library.bind(functions.writei, "snd_pcm_writei") &&
                       library.bind(functions.recover, "snd_pcm_recover") &&
                       library.bind(functions.drop, "snd_pcm_drop") &&
                       library.bind(functions.prepare, "snd_pcm_prepare") &&
                       library.bind(functions.drain, "snd_pcm_drain") &&
                       library.bind(functions.close, "snd_pcm_close");
    return functions;
}

}  // namespace

const AlsaLibrary& alsaLibrary() {
    static const AlsaLibrary functions = load();
    return functions;
}

}  // namespace speech
