#pragma once

// The language editor's voice: a button above the grammar tabs showing the language's voice, and
// the voice page it opens, where a search list on the right-hand panel offers "none" and every
// voice of the synthesiser (type to filter; a click chooses). The voice is stored beside the
// language (model/LanguageVoice) in the same save.
//
// What the button shows is what Save stores. An edited language shows its voice; a language without
// one, and a new language once the voice page opens or the language is saved untouched, show the
// voice whose language the name names ("German", "Deutsch"), or "none" when no voice fits. A choice
// the user made is never replaced. A stored voice that is no longer installed is listed by its
// identifier, so that saving the language keeps it.

#include <string>

class GuiTextfield;
class Language;
class State;

inline constexpr long VOICE_PAGE = 128;
inline constexpr const char* TAG_BUTTON_VOICE = "BUTTON_VOICE";
inline constexpr const char* TAG_ITEMLIST_VOICES = "ITEMLIST_VOICES";

// The label "Voice" and the button, in the editor's conditional context (its edit pages).
// `nameField` is the field whose text names the language.
void addVoiceField(GuiTextfield* nameField);
// The voice page's list, on the right-hand panel: added after the panel's background.
void addVoicePage(State* state);

// For New: "none" until the voice page opens or the language is saved.
void showVoiceOfNewLanguage();
// For Edit: the language's voice, or the one its name names.
void showVoiceOf(const Language& language);
// Gives the language the voice the button shows (the one the name names, for a new language the
// user has not chosen one for); marks D_VOICE for the save.
void storeVoice(unsigned languageId, const std::wstring& name);
