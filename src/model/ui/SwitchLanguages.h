#pragma once

// The languages of the language switch (gui/GuiLanguageSwitch.h), read from the language table.

struct SwitchLanguage;

namespace modelui {

// The language with that record id: its keyboard layout and the files of its flag and keyboard
// pictures (which need not exist). False, and `found` untouched, when there is no such language.
// Screens hand it to every GuiLanguageSwitch they build.
bool switchLanguageOf(unsigned languageId, SwitchLanguage& found);

}  // namespace modelui
