#pragma once

// The eSpeak NG functions the engine calls, from libespeak-ng opened at first use
// (base/SharedLibrary.h): a start that never speaks does not load it.

#include <espeak-ng/espeak_ng.h>

namespace speech {

struct EspeakLibrary {
    decltype(&espeak_ng_InitializePath) initializePath = nullptr;
    decltype(&espeak_ng_Initialize) initialize = nullptr;
    decltype(&espeak_ng_ClearErrorContext) clearErrorContext = nullptr;
    decltype(&espeak_ng_InitializeOutput) initializeOutput = nullptr;
    decltype(&espeak_SetSynthCallback) setSynthCallback = nullptr;
    decltype(&espeak_ng_GetSampleRate) getSampleRate = nullptr;
    decltype(&espeak_ListVoices) listVoices = nullptr;
    decltype(&espeak_ng_SetVoiceByName) setVoiceByName = nullptr;
    decltype(&espeak_ng_Synthesize) synthesize = nullptr;
    decltype(&espeak_TextToPhonemes) textToPhonemes = nullptr;

    // True when the library was opened and has every function above.
    bool loaded = false;
};

// Opened on the first call (from any thread; once).
const EspeakLibrary& espeakLibrary();

}  // namespace speech
