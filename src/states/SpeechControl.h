#pragma once

// Hearing a word: the speaker button of a screen, F5 pressing it, and a status line under it that
// says why nothing can be heard (no sound device, a voice no longer installed). The word is spoken
// in the voice of its language (model/LanguageVoice), by the speech threads (speech/Speaker), so
// the window never waits; their reports reach the status line of the current screen through the
// window's thread (base/WindowThreadTasks).
//
// A screen gives the button a source: a function that tells what to speak right now.

#include <string>
#include <string_view>

class GuiButton;
class GuiText;
class State;

// What a screen would have spoken now; nothing is spoken for language 0 or an empty text.
struct SpokenWord {
    unsigned languageId = 0;
    std::wstring text;
};

struct SpeakerSource {
    SpokenWord (*word)();
};

inline constexpr const char* TAG_SPEAKER_BUTTON = "SPEAKER_BUTTON";
inline constexpr const char* TAG_SPEECH_STATUS = "SPEECH_STATUS";

struct SpeakerControls {
    GuiButton* button = nullptr;
    GuiText* status = nullptr;
};

// Where the button (BUTTON3) and its status line (180 x 20) are centred.
struct SpeakerPlace {
    int buttonX;
    int buttonY;
    int statusX;
    int statusY;
};

// Adds the button "Speak" and its status line to the state, both on `pages`; the button, and F5
// while it takes part, speak `source`'s word (which must outlive the state). One speaker button
// per screen.
SpeakerControls addSpeakerButton(State* state, const SpeakerPlace& place, long pages, const SpeakerSource* source);

// The button and its status line take part on `pages` when the language has a voice, on none
// otherwise.
void showSpeakerFor(const SpeakerControls& controls, unsigned languageId, long pages);

// Speaks the word in its language's voice; nothing for a language without one. Returns at once.
void speakWord(const SpokenWord& word);

// Whether the language has a voice.
bool languageSpeaks(unsigned languageId);

// The text a word is spoken as with its article: "der" + "Hund" is "der Hund"; an article ending
// in an apostrophe joins without a blank ("l'" + "arbre"); without an article, the word.
std::wstring withArticle(std::wstring_view article, std::wstring_view word);
