#pragma once

// What the parts of the flashcard editor share (screens/stateFlashcard.h describes the screen):
// its elements, the records it works on, and the steps one part calls in another. The parts are
// the building and the update table (stateFlashcard.cpp), the card's own fields and the loading
// of a stored card (stateFlashcardCard.cpp), the languages
// (stateFlashcardLanguages.cpp), the known words and meanings (stateFlashcardKnown.cpp), the
// checks before storing with the verb page (stateFlashcardSave.cpp) and the storing itself
// (stateFlashcardStore.cpp).
//
// Records are held by id and looked up when used: the lesson editor opened from here may delete
// the edited card with its lesson, and a known word the editor created goes again when it is
// removed from the list.

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "screens/WordChain.h"
#include "resources/frameworkFileManager.h"
#include "states/SpeechControl.h"

class GuiButton;
class GuiCheckBox;
class GuiItemfield;
class GuiLanguageSwitch;
class GuiSelectionfield;
class GuiTable;
class GuiText;
class GuiTextfield;
class GuiToggle;
class Flashcard;
class IrregularVerb;
class State;
class Word;

namespace flashcard_editor {

// Masks of the elements: both card pages, and hidden (no condition of this screen has the bit).
inline constexpr long CARD_PAGES = 3;
inline constexpr long HIDDEN = 0x80000000L;

inline constexpr const char* TAG_HINT_PICT_PATH = "HINT_PICT_PATH";

inline constexpr const char* UPDATE_KNOWN = "UPDATE_KNOWN";
inline constexpr const char* UPDATE_CATEGORY = "UPDATE_CATEGORY";
inline constexpr const char* UPDATE_SAVE_N_FLUSH = "SAVE_N_FLUSH";
inline constexpr const char* UPDATE_LESSONS_RETURNED = "SELECTIONFIELD_LESSON";
inline constexpr const char* UPDATE_LANGUAGES_RETURNED = "LANGUAGES_RETURNED";

struct Screen {
    State* state = nullptr;

    // The stored card being edited; 0 for a new one (also once the card went meanwhile).
    unsigned editedCardId = 0;
    // Opened for a stored card: its Save returns to the menu.
    bool openedForCard = false;
    unsigned foreignLanguageId = 0;
    unsigned knownLanguageId = 0;
    WordChain wordChain;
    // The stored word the typed foreign word is, as the last Save found it; 0 for a new one.
    unsigned foreignWordId = 0;

    GuiLanguageSwitch* languageSwitch = nullptr;
    GuiText* textLevel = nullptr;
    GuiSelectionfield* selectionLevel = nullptr;
    GuiSelectionfield* selectionLevelInverted = nullptr;
    GuiCheckBox* checkInverted = nullptr;
    GuiSelectionfield* selectionForeignLanguage = nullptr;
    GuiText* textForeignLanguage = nullptr;
    GuiSelectionfield* selectionKnownLanguage = nullptr;
    GuiText* textKnownLanguage = nullptr;
    GuiTextfield* textfieldWord = nullptr;
    GuiTextfield* textfieldKnown = nullptr;
    GuiTextfield* textfieldPronunciation = nullptr;
    GuiSelectionfield* selectionLesson = nullptr;
    GuiToggle* toggleVerb = nullptr;
    GuiSelectionfield* selectionVerbPattern = nullptr;
    GuiSelectionfield* selectionArticle = nullptr;
    GuiText* textCategory = nullptr;
    GuiTextfield* textfieldHint = nullptr;
    GuiText* textHintPicturePath = nullptr;
    GuiItemfield* itemfieldKnown = nullptr;
    GuiItemfield* itemfieldUse = nullptr;
    GuiItemfield* itemfieldDontUse = nullptr;
    GuiButton* saveButton = nullptr;
    GuiTable* tableVerb = nullptr;
    GuiText* titleVerb = nullptr;
    SpeakerControls speaker;  // shown while the foreign language has a voice
};

// The newest editor screen; emptied when that screen goes.
extern Screen screen;

// --- the card (stateFlashcard.cpp) ---
// The stored card being edited, or null.
Flashcard* editedCard();
// Whether the text holds nothing but blanks (or nothing at all).
bool isBlank(const std::wstring& text);
// A box with the interface text, captioned "Information".
void tellUser(framew_strings what, platform::MessageIcon icon);

// --- the card's own fields (stateFlashcardCard.cpp) ---
// Fills the level selections; a new card has them hidden.
void setupLevels();
// Function of "Practice in both directions": a stored card's second level shows only when ticked.
void changeCheckInverted(bool checked);
// Refills the lesson selection; the lesson chosen stays chosen while it exists.
void refreshLessons();
void addHintPictureButton();
// Loads the stored card being edited into the page.
void loadEditedCard();

// --- languages (stateFlashcardLanguages.cpp) ---
// Fills both language selections; the known one starts at the user's own language.
void fillLanguageSelections();
bool languagesStored();
// Special functions of the two language selections.
void changeForeignLanguage();
void changeKnownLanguage();
// Makes the foreign ("FOREIGN") or known ("KNOWN") side the one typed in.
void activateLanguage(const char* side);
// The no-language page's button: the language editor, stacked on this one.
void openLanguageEditor();
// The language's name; "" when it is gone.
const wchar_t* languageName(unsigned languageId);

// --- known words and meanings (stateFlashcardKnown.cpp) ---
void addWordToListButton();
// Appends a stored word to the chain and the known list.
void addKnownWord(Word& word, bool newCreated);
void removeKnown();
// Takes every known word off the list; the words the editor created are deleted again (their
// deletion saved) unless `keepCreated`. `warn`: a failed save is reported.
void removeAllKnown(bool keepCreated, bool warn);
// The word of the highlighted entry of the known list; null when the list is empty.
Word* activeKnownWord();
void knownItemlistChange();
void swapMeaningUse();
void updateKnown();
void updateCategory();
// The meanings the card uses: those in use of every known word, each once, in chain order.
std::vector<unsigned> meaningsInUse();

// --- saving (stateFlashcardSave.cpp, stateFlashcardStore.cpp) ---
void savePressed();
void saveAndFlush();
// The word whose texts the storing overwrites: the stored word found for the typed text, else
// the edited card's word; null for a new word.
Word* storedForeignWord();
// Its irregular verb, or null.
IrregularVerb* irregularVerbOf(const Word* word);
// Stores the card from the page; true when all of it is saved. On false the user was told and
// memory holds nothing of the attempt that a retry could trip over.
bool storeFlashcard();
// Empties the page for the next card, keeping the languages.
void resetForNextCard();

}  // namespace flashcard_editor
