#include "resources/frameworkDefaults.h"

#include <iterator>

namespace {

constexpr COLORREF rgb(unsigned red, unsigned green, unsigned blue) {
    return red | (green << 8) | (blue << 16);
}

// Unsized on purpose: the static_asserts below catch an entry added or lost.
constexpr COLORREF kColours[] = {
    /* BG_RGB */ rgb(10, 140, 10),
    /* BT_RGB */ rgb(255, 102, 0),
    /* F1_RGB */ rgb(0, 0, 0),
    /* WHITE_RGB */ rgb(255, 255, 255),
    /* MARKED_RGB */ rgb(128, 172, 242),
    /* TOGGLE_RAIL_RGB */ rgb(0, 0, 0),
    /* ALT_BG_RGB */ rgb(250, 97, 0),
    /* INCORRECT_RGB */ rgb(250, 0, 0),
    /* TEXT_RGB */ rgb(0, 0, 0),
    /* FORCED_RGB */ rgb(110, 155, 170),
};
static_assert(std::size(kColours) == RGB_ENDTAG);

constexpr int kFontValues[] = {
    /* F1_SIZE */ 100,
    /* F1_fnWeight */ 0,
};
static_assert(std::size(kFontValues) == FONT_ENDTAG);

constexpr const char* kFontfaces[] = {
    /* FONT1 */ "Arial Unicode MS",
};
static_assert(std::size(kFontfaces) == FONTFACES_ENDTAG);

// A backslash-n is a line break in the text; message boxes and multi-line texts show it as such.
constexpr const wchar_t* kStrings[] = {
    /* String_WELCOME_BACK */ L"Welcome back!",
    /* String_WELCOME_STATE */ L"Welcome",
    /* String_PRACTICE */ L"Practice",
    /* String_FEED */ L"Feed",
    /* String_BACK_SYMBOL */ L"⋘",
    /* String_SETTINGS */ L"✎",
    /* String_SETTINGS_TITLE */ L"Settings ✎",
    /* String_ADD_LANG */ L"Add a language",
    /* String_LANG_EXAMP */ L"Enter language here (e.g. English)",
    /* String_FLAG_IMG */ L"Flag image",
    /* String_KEYBRD_IMG */ L"Keyboard image",
    /* String_ASSIGN_KEYBRD */ L"Assign current keyboard",
    /* String_ARTICLE */ L"Article",
    /* String_PERSONS */ L"Persons",
    /* String_TENSES */ L"Tenses",
    /* String_CANCEL */ L"Cancel",
    /* String_NEXT */ L"Next",
    /* String_ADD */ L"Add",
    /* String_DELETE_BT */ L"Delete",
    /* String_BACK */ L"Back",
    /* String_FINISH */ L"Finish",
    /* String_EDIT_OR_CREATE_PATTERN */ L"Edit or create pattern",
    /* String_NEW_PATTERN */ L"New pattern",
    /* String_EDIT_PATTERN */ L"Edit pattern",
    /* String_DELETE_PATTERN */ L"Delete pattern",
    /* String_VERB_PATTERN */ L"Pattern",
    /* String_SAVE */ L"Save",
    /* String_DISCARD_CHANGES */ L"Discard changes",
    /* String_LEFT_TO_RIGHT */ L"Left to right",
    /* String_RIGHT_TO_LEFT */ L"Right to left",
    /* String_INCORRECT_PATTERN */
    L"The given syntax is incorrect!\n"
    L"Please click on \"?\" for an explanation of the syntax.",
    /* String_DELETE_PATTERN_QUESTION */
    L"Are you sure you want to delete the highlighted pattern?\n"
    L"Associated verbs will not be connected to a verb pattern any longer.",
    /* String_PATTERN_SYNTAX_HELP */
    L"Examples:\n"
    L"Use \"/post-3+ed\" to cut off the last 3 letters of the verb and add \"ed\" to the verb.\n"
    L"Use \"/pre+will \" to add \"will \" in front of the verb.\n"
    L"Use \"/pre-2\" to cut off the first two letters of the verb.\n"
    L"Use \"/pre-1+a/post+ing\" to replace the first letter with \"a\" and adding \"ing\" at the "
    L"end of the verb.",
    /* String_INFORMATION */ L"Information",
    /* String_QUESTION_MARK */ L"?",
    /* String_EDIT_LANG2 */ L"Edit language",
    /* String_DELETE_LANG */ L"Delete language",
    /* String_LANGUAGE_NAME_ALREADY_IN_USE */
    L"The given language name is already in use for a language, please use a different name!",
    /* String_DELETE_LANG_QUESTION */
    L"Do you really want to delete this language?\n"
    L"All associated words and flashcards will be deleted too!",
    /* String_NO_PERSONS_OR_TENSES_YET */
    L"You can not perform this task before you have added at least one person and one tense for "
    L"the corresponding language!",
    /* String_RENAME */ L"Rename",
    /* String_CLASSIC_FEED */ L"Classic Flashcards",
    /* String_SMART_FEED */ L"Smart Feed",
    /* String_LESSON */ L"Lesson",
    /* String_ADD_LESSON */ L"Add lesson",
    /* String_FOREIGN */ L"Foreign",
    /* String_KNOWN */ L"Known",
    /* String_USE_INVERTED_FLASHCARD */ L"Practice in both directions",
    /* String_IRREGULAR_VERB */ L"Irregular verb",
    /* String_N_A */ L"n/a",
    /* String_PRONUNCIATION */ L"Pronunciation",
    /* String_CATEGORIES */ L"Categories",
    /* String_CATEGORY */ L"Category",
    /* String_MNEMONIC */ L"Mnemonic",
    /* String_HINT */ L"Hint",
    /* String_ADD_PICTURE */ L"Add picture",
    /* String_NEW_CONNECTION */ L"New connection",
    /* String_MEANINGS */ L"Meanings",
    /* String_USE */ L"Use",
    /* String_CLOSE */ L"Close",
    /* String_SAVE_N_NEXT */ L"Save and next",
    /* String_LESSONS */ L"Lessons",
    /* String_DUE_ON */ L"Due on the",
    /* String_DELETE_LESSON_WARNING */
    L"You are about to delete the highlighted lesson.\n"
    L"All associated flashcards will be deleted as well!\n"
    L"Continue?",
    /* String_WRONG_DATE_FORMAT_ERROR */
    L"The entered date is incorrect!\n"
    L"Please use the format Day/Month/Year",
    /* String_DATE_IN_PAST_ERROR */
    L"The entered date is lying in the past!\n"
    L"Please enter a date which is at least today",
    /* String_REMOVE */ L"Remove »",
    /* String_DONT_USE */ L"Don't use",
    /* String_NIVEAU */ L"Niveau",
    /* String_NIVEAU_1 */ L"1 (hello, left, yes)",
    /* String_NIVEAU_2 */ L"2 (we, you, to have)",
    /* String_NIVEAU_3 */ L"3 (train, street, to go)",
    /* String_NIVEAU_4 */ L"4 (highway, radio, to swim)",
    /* String_NIVEAU_5 */ L"5 (to discus, bee, incredible)",
    /* String_NIVEAU_6 */ L"6 (council, to purchase)",
    /* String_NIVEAU_7 */ L"7 (to interfere, astonishing)",
    /* String_NIVEAU_8 */ L"8 (fraction, shenanigans)",
    /* String_NIVEAU_9 */ L"9 (bicyclic, fresco)",
    /* String_NIVEAU_10 */ L"10 (monosaccharides, chandrasekhar limit)",
    /* String_DESCRIPTION */ L"Description",
    /* String_CATEGORY_DELETION_WARNING */
    L"You are about to delete the highlighted category.\n"
    L"Continue?",
    /* String_VP_NEW */ L"New",
    /* String_VP_EDIT */ L"Edit",
    /* String_VP_DELETE */ L"Delete",
    /* String_MEANING */ L"Meaning",
    /* String_LANGUAGES */ L"Languages",
    /* String_LANGUAGE */ L"Language",
    /* String_VERB_PATTERNS */ L"Verb Patterns",
    /* String_ALL_LANGUAGES */ L"All languages",
    /* String_PATTERN_LANGUAGE_NEED_TO_BE_SELECTED */
    L"Please select a language for the new pattern first!",
    /* String_TEST_PATTERN_QUESTION */
    L"Would you like to test this pattern,\n"
    L"before you continue?",
    /* String_DELETE_MEANING_QUESTION */
    L"You are about to delete a meaning!\n"
    L"All connected words will lose this meaning. Continue?",
    /* String_DISCONNECT */ L"Disconnect",
    /* String_WORDS */ L"Words",
    /* String_WORD */ L"Word",
    /* String_LEVELS */ L"Levels",
    /* String_LEVEL */ L"Level",
    /* String_FLASHCARDS */ L"Flashcards",
    /* String_FLASHCARD */ L"Flashcard",
    /* String_BREAK_DAYS */ L"Break days",
    /* String_FORCE_CORRECT_ANSWER */ L"Force to type correct answer",
    /* String_HINTS */ L"Hints",
    /* String_SHOW_HINTS */ L"Show hints",
    /* String_HIDE_HINTS */ L"Hide hints",
    /* String_PUNISH_HINTS */ L"Punish hints with minor",
    /* String_INVALID_LEVEL */
    L"The entered level was invalid!\n"
    L"Please enter a level greater than 0 and not more than one greater than the highest level.",
    /* String_INVALID_BREAK_DAYS */
    L"The entered break days are invalid!\n"
    L"A minimum of one break day is required.",
    /* String_DELETE_LEVEL_QUESTION */ L"Do you really want to delete the highlighted level?",
    /* String_ENTER_VALUE */
    L"You have not entered a correct value!\n"
    L"Please correct and try again.",
    /* String_AUTOMATED */ L"Automated",
    /* String_WORD_ALREADY_IN_USE */
    L"The word you have entered exists already for this language!\n"
    L"Please alter its meanings if it has multiple meanings. Each foreign word can be connected to "
    L"one flashcard at most.",
    /* String_DELETE_FLASHCARD_QUESTION */
    L"Do you really want to delete the highlighted flashcard?",
    /* String_LEVEL_FLASHCARD */ L"Level(s)",
    /* String_DELETE_WORD_QUESTION */
    L"Are you sure you want to delete the highlighted word?\n"
    L"Associated flashcards might be deleted too!",
    /* String_START */ L"Start",
    /* String_REGULAR_VERBS */ L"Regular Verbs",
    /* String_IRREGULAR_VERBS */ L"Irregular Verbs",
    /* String_ARTICLES */ L"Articles",
    /* String_TIME_RESTRICTION */ L"Time restriction",
    /* String_MINUTES */ L"Minutes",
    /* String_MORE_RESTRICTIONS */ L"More restrictions",
    /* String_EXIT */ L"Exit",
    /* String_CONTINUE */ L"Continue",
    /* String_CORRECT */ L"Correct",
    /* String_MINOR */ L"Minor",
    /* String_WRONG */ L"Wrong",
    /* String_SUBMIT */ L"Submit",
    /* String_CORRECT_ANSWER */ L"Correct answer:",
    /* String_WHOOP */ L"Whoop Whoop!",
    /* String_ALL_DONE */ L"All done for today!",
    /* String_FORCED_INCORRECT */
    L"Some of the submission is not correct!\n"
    L"Please try again!",
    /* String_FLASHCARD_FINAL_LEVEL */
    L"Well done! This flashcard has exceeded the final level!\n"
    L"It will kept in the final level and checked again in 1 year (minimum).\n"
    L"If you wish to delete this flashcard, please do so manually.",
    /* String_ERROR_LOAD_DB */
    L"Error when loading the database!\n"
    L"Unfortunately some parts of the database could not be loaded had to be reset!",
    /* String_ERROR_SAVE_DB */
    L"Fatal database error!\n"
    L"There are serious problems with the database! Make sure that the directory structure is "
    L"correct!",
};
static_assert(std::size(kStrings) == STRING_ENDTAG);

template <typename T, std::size_t N>
T entryOrNothing(const T (&table)[N], int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? table[index] : T{};
}

}  // namespace

COLORREF framewDefaultColour(int index) { return entryOrNothing(kColours, index); }

int framewDefaultFontValue(int index) { return entryOrNothing(kFontValues, index); }

const char* framewDefaultFontface(int index) { return entryOrNothing(kFontfaces, index); }

const wchar_t* framewDefaultString(int index) { return entryOrNothing(kStrings, index); }
