#pragma once

// How a request to the speech synthesiser ended.

namespace speech {

enum class Outcome {
    Done,          // spoken (or written as phonemes) in full
    NoVoice,       // the language has no voice: "none" or an empty identifier
    UnknownVoice,  // the synthesiser has no voice with that identifier (its data changed)
    EmptyText,     // nothing to say: the text is empty or blank
    Unavailable,   // the synthesiser could not start (its data is not installed)
    Stopped,       // a newer request took its place before it was done
};

}  // namespace speech
