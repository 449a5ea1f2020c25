#include <iterator>

#include "resources/SecondStrings.h"

namespace {

// A backslash-n is a line break in the text. Unsized on purpose: the static_assert below catches
// an entry added to the enumeration without its text.
constexpr const wchar_t* kSecondStrings[] = {
    /* String2_IMPORT */ L"Import",
    /* String2_EXPORT */ L"Export",
    /* String2_VOICE */ L"Voice",
    /* String2_NO_VOICE */ L"none",
    /* String2_SPEAK */ L"Speak",
    /* String2_SUGGEST */ L"Suggest",
    /* String2_NO_SOUND_DEVICE */ L"No sound device",
    /* String2_VOICE_NOT_INSTALLED */ L"Voice not installed",
    /* String2_SPEECH_NOT_INSTALLED */ L"Speech is not installed",
    /* String2_REPLACE_PRONUNCIATION */ L"Replace the pronunciation with this suggestion?",
    /* String2_NO_PRONUNCIATION */ L"No pronunciation can be suggested: give the word's language a voice first.",
    /* String2_SPEAK_AFTER_JUDGING */ L"Speak each word when judged",
};
static_assert(std::size(kSecondStrings) == STRING2_ENDTAG);

}  // namespace

const wchar_t* defaultSecondString(int index) {
    return index >= 0 && index < STRING2_ENDTAG ? kSecondStrings[index] : nullptr;
}
