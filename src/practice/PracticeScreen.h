#pragma once

// The elements of the practice screen that the run reads and changes, held while the screen
// exists (there is one practice screen at a time). The screen owns them all; these pointers only
// find them again, and are cleared when the screen is destroyed.

#include "states/SpeechControl.h"

class GuiBitmap;
class GuiButton;
class GuiCheckBox;
class GuiItemfield;
class GuiSelectionfield;
class GuiTable;
class GuiText;
class GuiTextfield;
class State;

// A language's name and flag, side by side.
struct LanguageHeader {
    GuiText* name = nullptr;
    GuiBitmap* flag = nullptr;
};

struct PracticeScreen {
    State* state = nullptr;

    // Start page and filter pages.
    GuiCheckBox* checkBoxRegularVerbs = nullptr;
    GuiCheckBox* checkBoxIrregularVerbs = nullptr;
    GuiCheckBox* checkBoxArticles = nullptr;
    GuiCheckBox* checkBoxTimeRestricted = nullptr;
    GuiTextfield* textfieldTime = nullptr;
    GuiItemfield* itemfieldUseLanguage = nullptr;
    GuiItemfield* itemfieldDontUseLanguage = nullptr;
    GuiItemfield* itemfieldUseLesson = nullptr;
    GuiItemfield* itemfieldDontUseLesson = nullptr;
    GuiItemfield* itemfieldUseCategory = nullptr;
    GuiItemfield* itemfieldDontUseCategory = nullptr;

    // Word question, result and forced pages.
    LanguageHeader foreignA;  // textFA, flagFA
    LanguageHeader knownA;    // textKA, flagKA
    GuiTextfield* textfieldFWord = nullptr;
    GuiText* textGivenFWord = nullptr;
    GuiTextfield* textfieldForcedFWord = nullptr;
    GuiText* textPronunciation = nullptr;
    GuiText* textHint = nullptr;
    GuiBitmap* bitmapHint = nullptr;
    GuiTextfield* textfieldKWord = nullptr;
    GuiItemfield* itemfieldKWord = nullptr;
    GuiBitmap* bitmapKeybrd = nullptr;
    GuiText* textResultWord = nullptr;
    GuiItemfield* itemfieldSolutionKWord = nullptr;
    GuiItemfield* itemfieldForcedKWord = nullptr;
    GuiButton* buttonCorrectContinue = nullptr;
    GuiText* textCorrectFWord = nullptr;

    // Article pages.
    LanguageHeader foreignB;  // textFB, flagFB
    GuiText* textWordArticle = nullptr;
    GuiSelectionfield* selectionArticle = nullptr;
    GuiText* textCorrectArticle = nullptr;
    GuiSelectionfield* selectionForcedArticle = nullptr;
    GuiText* textSWordArticle = nullptr;
    GuiText* textForcedWordArticle = nullptr;

    // Verb pages; the three tables are made per card.
    LanguageHeader foreignC;  // textFC, flagFC
    GuiText* textWordVerb = nullptr;
    GuiText* textSWordVerb = nullptr;
    GuiTable* tableVerb = nullptr;
    GuiTable* tableCorrectVerb = nullptr;
    GuiTable* tableForcedVerb = nullptr;

    // Overview and the arrows.
    GuiText* textResultOverview = nullptr;
    GuiButton* buttonNext = nullptr;
    GuiButton* buttonSubmit = nullptr;
    GuiButton* buttonBack = nullptr;

    // Speech on the judged pages (practice/PracticeSpeech.h).
    SpeakerControls speaker;
};

extern PracticeScreen practiceScreen;
