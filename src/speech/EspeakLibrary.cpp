#include "speech/EspeakLibrary.h"

#include "base/SharedLibrary.h"

namespace speech {

namespace {

EspeakLibrary load() {
    static const SharedLibrary library("libespeak-ng.so.1");
    EspeakLibrary functions;
    functions.loaded = library.bind(functions.initializePath, "espeak_ng_InitializePath") &&
                       library.bind(functions.initialize, "espeak_ng_Initialize") &&
                       library.bind(functions.clearErrorContext, "espeak_ng_ClearErrorContext") &&
                       library.bind(functions.initializeOutput, "espeak_ng_InitializeOutput") &&
                       library.bind(functions.setSynthCallback, "espeak_SetSynthCallback") &&
                       library.bind(functions.getSampleRate, "espeak_ng_GetSampleRate") &&
                       library.bind(functions.listVoices, "espeak_ListVoices") &&
                       library.bind(functions.setVoiceByName, "espeak_ng_SetVoiceByName") &&
                       library.bind(functions.synthesize, "espeak_ng_Synthesize") &&
                       library.bind(functions.textToPhonemes, "espeak_TextToPhonemes");
    return functions;
}

}  // namespace

const EspeakLibrary& espeakLibrary() {
    static const EspeakLibrary functions = load();
    return functions;
}

}  // namespace speech
