#pragma once

// The framework's resource tables: every interface text, the colour scheme and the font. Screens
// and elements read them whenever they build an element or paint, for example
// curStrings[String_SAVE], colours[BG_RGB], fonts[F1_SIZE] and fontfaces[FONT1].
//
// The tables are filled once at start-up by loadValues() from five files under Data/Framework
// (relative to the working directory) or, when those are missing or damaged, from the built-in
// defaults (resources/frameworkDefaults.h), which are then written back. Replacing the files, for
// example with translated texts, changes the interface without touching the program.
//
// The pointers in fontfaces and curStrings point into storage owned by this module; they stay
// valid until the next load, loadDefaults() or framewResetResources(). Never free them.

#include <cstdint>

// A colour as 0x00BBGGRR: red in the low byte, then green, then blue; the top byte is 0.
using COLORREF = std::uint32_t;

enum framew_rgb {
    BG_RGB = 0,  // window background
    BT_RGB,
    F1_RGB,  // colour of the font face FONT1
    WHITE_RGB,  // default element background
    MARKED_RGB,
    TOGGLE_RAIL_RGB,
    ALT_BG_RGB,
    INCORRECT_RGB,
    TEXT_RGB,
    FORCED_RGB,
    RGB_ENDTAG  // the number of colours
};

// The values of the one font face.
enum framew_fonts {
    F1_SIZE = 0,  // font height in virtual units before fitting
    F1_fnWeight,  // the platform's weight value; 0 means no preference
    FONT_ENDTAG  // the number of values per face
};

enum framew_fontFaces {
    FONT1 = 0,
    FONTFACES_ENDTAG  // the number of faces
};

// Every interface text. The framework files hold the texts in this order, so never reorder.
enum framew_strings {
    String_WELCOME_BACK = 0,
    String_WELCOME_STATE,
    String_PRACTICE,
    String_FEED,
    String_BACK_SYMBOL,
    String_SETTINGS,
    String_SETTINGS_TITLE,
    String_ADD_LANG,
    String_LANG_EXAMP,
    String_FLAG_IMG,
    String_KEYBRD_IMG,
    String_ASSIGN_KEYBRD,
    String_ARTICLE,
    String_PERSONS,
    String_TENSES,
    String_CANCEL,
    String_NEXT,
    String_ADD,
    String_DELETE_BT,
    String_BACK,
    String_FINISH,
    String_EDIT_OR_CREATE_PATTERN,
    String_NEW_PATTERN,
    String_EDIT_PATTERN,
    String_DELETE_PATTERN,
    String_VERB_PATTERN,
    String_SAVE,
    String_DISCARD_CHANGES,
    String_LEFT_TO_RIGHT,
    String_RIGHT_TO_LEFT,
    String_INCORRECT_PATTERN,
    String_DELETE_PATTERN_QUESTION,
    String_PATTERN_SYNTAX_HELP,
    String_INFORMATION,
    String_QUESTION_MARK,
    String_EDIT_LANG2,
    String_DELETE_LANG,
    String_LANGUAGE_NAME_ALREADY_IN_USE,
    String_DELETE_LANG_QUESTION,
    String_NO_PERSONS_OR_TENSES_YET,
    String_RENAME,
    String_CLASSIC_FEED,
    String_SMART_FEED,
    String_LESSON,
    String_ADD_LESSON,
    String_FOREIGN,
    String_KNOWN,
    String_USE_INVERTED_FLASHCARD,
    String_IRREGULAR_VERB,
    String_N_A,
    String_PRONUNCIATION,
    String_CATEGORIES,
    String_CATEGORY,
    String_MNEMONIC,
    String_HINT,
    String_ADD_PICTURE,
    String_NEW_CONNECTION,
    String_MEANINGS,
    String_USE,
    String_CLOSE,
    String_SAVE_N_NEXT,
    String_LESSONS,
    String_DUE_ON,
    String_DELETE_LESSON_WARNING,
    String_WRONG_DATE_FORMAT_ERROR,
    String_DATE_IN_PAST_ERROR,
    String_REMOVE,
    String_DONT_USE,
    String_NIVEAU,
    String_NIVEAU_1,
    String_NIVEAU_2,
    String_NIVEAU_3,
    String_NIVEAU_4,
    String_NIVEAU_5,
    String_NIVEAU_6,
    String_NIVEAU_7,
    String_NIVEAU_8,
    String_NIVEAU_9,
    String_NIVEAU_10,
    String_DESCRIPTION,
    String_CATEGORY_DELETION_WARNING,
    String_VP_NEW,
    String_VP_EDIT,
    String_VP_DELETE,
    String_MEANING,
    String_LANGUAGES,
    String_LANGUAGE,
    String_VERB_PATTERNS,
    String_ALL_LANGUAGES,
    String_PATTERN_LANGUAGE_NEED_TO_BE_SELECTED,
    String_TEST_PATTERN_QUESTION,
    String_DELETE_MEANING_QUESTION,
    String_DISCONNECT,
    String_WORDS,
    String_WORD,
    String_LEVELS,
    String_LEVEL,
    String_FLASHCARDS,
    String_FLASHCARD,
    String_BREAK_DAYS,
    String_FORCE_CORRECT_ANSWER,
    String_HINTS,
    String_SHOW_HINTS,
    String_HIDE_HINTS,
    String_PUNISH_HINTS,
    String_INVALID_LEVEL,
    String_INVALID_BREAK_DAYS,
    String_DELETE_LEVEL_QUESTION,
    String_ENTER_VALUE,
    String_AUTOMATED,
    String_WORD_ALREADY_IN_USE,
    String_DELETE_FLASHCARD_QUESTION,
    String_LEVEL_FLASHCARD,
    String_DELETE_WORD_QUESTION,
    String_START,
    String_REGULAR_VERBS,
    String_IRREGULAR_VERBS,
    String_ARTICLES,
    String_TIME_RESTRICTION,
    String_MINUTES,
    String_MORE_RESTRICTIONS,
    String_EXIT,
    String_CONTINUE,
    String_CORRECT,
    String_MINOR,
    String_WRONG,
    String_SUBMIT,
    String_CORRECT_ANSWER,
    String_WHOOP,
    String_ALL_DONE,
    String_FORCED_INCORRECT,
    String_FLASHCARD_FINAL_LEVEL,
    String_ERROR_LOAD_DB,
    String_ERROR_SAVE_DB,
    STRING_ENDTAG  // the number of texts
};

extern COLORREF colours[RGB_ENDTAG];
extern int fonts[FONT_ENDTAG];
// Typeface name of each face, 8-bit, NUL-terminated; null before anything was loaded.
extern const char* fontfaces[FONTFACES_ENDTAG];
// The interface texts, NUL-terminated; null before anything was loaded.
extern const wchar_t* curStrings[STRING_ENDTAG];

// Loads colours, fonts and strings, each only after the previous one succeeded. Returns true when
// all three loaded; otherwise sets every table to the defaults, tries to write all five files
// from them (silently; Data/Framework is never created here) and returns false.
bool loadValues();

// Each reads its file or files and returns true on success. A file that is missing, short, or
// whose stored counts, positions or lengths do not fit it leaves the tables as they were and
// returns false.
bool loadColours();
bool loadFonts();
bool loadStrings();

// Sets every table to the built-in defaults.
void loadDefaults();

// Writes all five files from the tables, in the order colours, fonts, font faces, string
// positions, strings. Stops at the first file that cannot be written and returns false; files
// written before it stay written. Each file is replaced whole and durably (base/AtomicFile.h):
// after a crash it holds its old contents or its new ones, never a part.
bool saveValues();

// Allocates a copy of src (a null src copies as the empty text) and stores it in dst without
// freeing what dst held. The caller owns the copy and releases it with delete[].
void makeString(char*& dst, const char* src);
void makeStringW(wchar_t*& dst, const wchar_t* src);

// Back to "nothing loaded": colours and font values 0, every text and face pointer null. For
// tests, so that no test sees another's tables.
void framewResetResources();
