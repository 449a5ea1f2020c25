#pragma once

// The word editor (screens/stateWord.h) as its source files share it: the elements of the newest
// word editor screen, what is being edited, and the handlers one file offers the other.
// stateWord.cpp builds the screen and handles the list, New, Edit, Delete, Close and the
// meanings; WordPage.cpp the visibility rules of the word page, the verb page and Save;
// WordSpeech.cpp the speaker button and the suggested pronunciation.

#include "states/SpeechControl.h"

class GuiBitmap;
class GuiButton;
class GuiItemfield;
class GuiLanguageSwitch;
class GuiSearchItemfield;
class GuiSelectionfield;
class GuiTable;
class GuiText;
class GuiTextfield;
class GuiToggle;
class IrregularVerb;
class State;
class Word;

// The pages of the editor, and the mask of an element hidden for now.
inline constexpr long WORD_LIST_PAGE = 1;
inline constexpr long WORD_PAGE = 2;
inline constexpr long VERB_PAGE = 4;
inline constexpr long HIDDEN = 0x10000000;

// The elements are owned by the screen; the pointers are valid while `state` exists. Records are
// held by id and looked up when used.
struct WordScreen {
    State* state = nullptr;
    unsigned editWordId = 0;       // the word on the word page; 0 in list mode
    bool temporaryWord = false;    // that word was made by New and has not been saved yet
    unsigned irregularVerbId = 0;  // its irregular verb; 0 for none

    GuiSearchItemfield* itemfieldWords = nullptr;
    GuiSelectionfield* selectionLanguageFront = nullptr;
    GuiLanguageSwitch* languageSwitch = nullptr;
    GuiSelectionfield* selectionLanguageBack = nullptr;
    GuiText* textLanguageReplacement = nullptr;
    GuiTextfield* textfieldWord = nullptr;
    GuiTextfield* textfieldPronunciation = nullptr;
    GuiToggle* toggleVerb = nullptr;
    GuiSelectionfield* selectionVerbPattern = nullptr;
    GuiSelectionfield* selectionArticle = nullptr;
    GuiText* textCategory = nullptr;
    GuiItemfield* itemfieldMeanings = nullptr;
    GuiTextfield* textfieldHint = nullptr;
    GuiText* textHintPicturePath = nullptr;
    GuiBitmap* bitmapHintPicture = nullptr;
    GuiButton* buttonSave = nullptr;
    GuiButton* buttonNext = nullptr;
    GuiText* textTitleVerb = nullptr;
    GuiTable* tableVerb = nullptr;  // built on demand by Next; null while there is none
    SpeakerControls speaker;        // shown while the chosen language has a voice
};

extern WordScreen wordScreen;

// The word being edited and its irregular verb; null when there is none (or it has gone).
Word* editedWord();
IrregularVerb* editedIrregularVerb();
// The language chosen for the word on the word page; 0 when there is no language.
unsigned chosenLanguageId();
// Back to the list with nothing edited; the list is refilled.
void returnToList();

// --- WordPage.cpp ---

// The toggle's change function: the right position is a regular verb.
void verbToggle(bool positionRight);
// The pattern selection's change function: Next for a pattern, Save without.
void changedVerb();
// The language selection's change function: the switch follows, the verb table goes.
void changedLanguage();
// "LANGUAGE_CHANGE": writing direction, patterns and articles of the chosen language.
void fillLanguageSelections();
// Removes the verb table from the screen.
void forgetVerbTable();
// "NEXT_PRESSED": the verb page, built when there is no table or the word changed.
void showVerbPage();
// "SAVE_PRESSED".
void saveWord();
// The "Add picture" button.
void addHintPictureButton();

// --- WordSpeech.cpp ---

// The speaker button, centred at (centerX, centerY) on the word page.
void addWordSpeaker(State* state, int centerX, int centerY);
// Shows the speaker button when the chosen language has a voice, hides it otherwise.
void showWordSpeaker();
// "SUGGEST_PRESSED": the pronunciation field gets the word's IPA (asking first when it has text).
void suggestPronunciation();
