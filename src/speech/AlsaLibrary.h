#pragma once

// The ALSA playback functions, from libasound opened at first use (base/SharedLibrary.h).

#include <alsa/asoundlib.h>

namespace speech {

struct AlsaLibrary {
    decltype(&snd_lib_error_set_handler) setErrorHandler = nullptr;
    decltype(&snd_pcm_open) open = nullptr;
    decltype(&snd_pcm_set_params) setParams = nullptr;
    decltype(&snd_pcm_writei) writei = nullptr;
    decltype(&snd_pcm_recover) recover = nullptr;
    decltype(&snd_pcm_drop) drop = nullptr;
    decltype(&snd_pcm_prepare) prepare = nullptr;
    decltype(&snd_pcm_drain) drain = nullptr;
    decltype(&snd_pcm_close) close = nullptr;

    // True when the library was opened and has every function above.
    bool loaded = false;
};

// Opened on the first call (from any thread; once).
const AlsaLibrary& alsaLibrary();

}  // namespace speech
