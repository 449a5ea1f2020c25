#pragma once

// The keyboard of the practice screen follows the side the learner types on: the elements of the
// foreign side (foreign word fields, hint button, verb tables) carry the focus function
// activateLanguage with FOREIGN_SIDE, those of the known side with KNOWN_SIDE.

inline constexpr const char* FOREIGN_SIDE = "FOREIGN";
inline constexpr const char* KNOWN_SIDE = "KNOWN";

// Focus function. FOREIGN_SIDE takes the foreign language of the card at the head of the run,
// KNOWN_SIDE its known language; any other tag, or no card, does nothing. When the language is
// not the one activated last, its keyboard layout is switched on and the keyboard picture shows
// its keyboard.
void activateLanguage(const void* tag);

// Forgets the language activated last. The practice screen does this when it is built: the state
// machine switches layouts on every screen change, so the layout active on entering the screen is
// no longer the one activated on an earlier visit.
void forgetActivatedLanguage();
