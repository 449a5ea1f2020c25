#pragma once

// The interface texts added after the first version of the framework files. They live in a table
// and files of their own, so that the stored strings file keeps its format (its count of 134 texts
// is part of it): Data/Framework/stringpositions2.dat and Data/Framework/strings2.dat, laid out
// exactly like stringpositions.dat and strings.dat (resources/ResourceFileBytes.h), with a count of
// STRING2_ENDTAG. Replacing them translates these texts as the first pair translates the others.
//
// A pair of files written by an older version holds fewer texts: those it holds are kept, the
// newer ones get their English defaults and the files are written again. A pair written by a newer
// version holds more: the texts this version knows are read and the files are left alone.

// Every added text. The files hold the texts in this order: append new ones at the end, never
// reorder or remove.
enum framew_strings2 {
    String2_IMPORT = 0,
    String2_EXPORT,
    String2_VOICE,
    String2_NO_VOICE,
    String2_SPEAK,
    String2_SUGGEST,
    String2_NO_SOUND_DEVICE,
    String2_VOICE_NOT_INSTALLED,
    String2_SPEECH_NOT_INSTALLED,
    String2_REPLACE_PRONUNCIATION,
    String2_NO_PRONUNCIATION,
    String2_SPEAK_AFTER_JUDGING,
    String2_REFUSED_LINE,
    String2_REFUSAL_BAD_ENCODING,
    String2_REFUSAL_UNCLOSED_QUOTE,
    String2_REFUSAL_NO_FOREIGN,
    String2_REFUSAL_NO_KNOWN,
    String2_REFUSAL_TOO_LONG,
    String2_REFUSAL_UNKNOWN_ARTICLE,
    String2_FIELD_FOREIGN,
    String2_FIELD_KNOWN,
    String2_FIELD_ARTICLE,
    String2_FIELD_PRONUNCIATION,
    String2_FIELD_MNEMONIC,
    String2_FIELD_LESSON,
    String2_FIELD_CATEGORY,
    String2_FILE_UNREADABLE,
    String2_FILE_TOO_LARGE,
    String2_FILE_MALFORMED,
    String2_FILE_UNWRITABLE,
    String2_CHOOSE_LANGUAGES,
    String2_LANGUAGES_MUST_DIFFER,
    String2_CHOOSE_COLUMNS,
    String2_IMPORT_WORDS,
    String2_TRY_SAMPLE,
    String2_NO_FLASHCARDS_YET,
    String2_IMPORT_FILE_HINT,
    String2_CHOOSE_FILE,
    String2_WORD_LISTS,
    String2_ALL_FILES,
    String2_UPDATE_DUPLICATES,
    String2_SKIP_DUPLICATES,
    String2_SPLIT_ARTICLES,
    String2_PREVIEW,
    String2_REFUSED_ROWS,
    String2_IMPORT_COUNTS,
    String2_IMPORT_REST,
    String2_IMPORTING,
    String2_ROWS_OF,
    String2_IMPORT_DONE,
    String2_FATE_NEW,
    String2_FATE_UPDATED,
    String2_FATE_SKIPPED,
    String2_FATE_MERGED,
    String2_FATE_REFUSED,
    String2_ROLE_FOREIGN,
    String2_ROLE_KNOWN,
    String2_ROLE_ARTICLE,
    String2_ROLE_PRONUNCIATION,
    String2_ROLE_MNEMONIC,
    String2_ROLE_LESSON,
    String2_ROLE_CATEGORY,
    String2_ROLE_TAGS,
    String2_ROLE_SKIP,
    String2_FOREIGN_FROM,
    String2_KNOWN_FROM,
    String2_NEW_LANGUAGE,
    String2_EXPORT_TITLE,
    String2_FORMAT_DELIMITED,
    String2_FORMAT_KVTML,
    String2_EXPORT_DONE,
    String2_NOTHING_TO_EXPORT,
    String2_SAMPLE_MISSING,
    String2_DONE,
    String2_NOTHING_TO_IMPORT,
    String2_STATISTICS,
    String2_PLOT_FORECAST,
    String2_PLOT_LEVELS,
    String2_PLOT_ANSWERS,
    String2_PLOT_FIRST_TRY,
    String2_PLOT_ARTICLES,
    String2_PLOT_VERBS,
    String2_PLOT_HARDEST,
    String2_PLOT_CALENDAR,
    String2_TITLE_FORECAST,
    String2_TITLE_LEVELS,
    String2_TITLE_ANSWERS,
    String2_TITLE_FIRST_TRY,
    String2_TITLE_ARTICLES,
    String2_TITLE_VERBS,
    String2_TITLE_HARDEST,
    String2_TITLE_CALENDAR,
    String2_ALL_LESSONS,
    String2_SHOW_TABLE,
    String2_SHOW_PLOTS,
    String2_SAVE_PICTURE,
    String2_PICTURE_FILES,
    String2_PICTURE_NOT_SAVED,
    String2_NO_CARDS,
    String2_NO_ANSWERS,
    String2_NO_ANSWERS_IN_PERIOD,
    String2_NO_FIRST_TRIES,
    String2_ONE_WEEK_ONLY,
    String2_NO_ARTICLES_ASKED,
    String2_NO_VERBS_ASKED,
    String2_NO_WRONG_ANSWERS,
    String2_TODAY,
    String2_DAYS,
    String2_STREAK,
    String2_DAYS_PRACTISED,
    String2_DELETED,
    String2_DELETED_CARDS,
    String2_ASKED,
    String2_DATE,
    String2_DUE,
    String2_TOTAL,
    String2_WEEK_OF,
    String2_FIRST_TRIES,
    String2_RIGHT,
    String2_SHARE,
    String2_ASKED_HEADER,
    String2_CELLS,
    String2_WRONG_ANSWERS,
    String2_ANSWERS_HEADER,
    String2_DIRECTIONS,
    String2_WEEKDAYS,
    String2_KIND,
    String2_EDIT_CARD,
    String2_PAGE,
    String2_REPLACE_PICTURE,
    String2_SAVING_WORDS,
    STRING2_ENDTAG  // the number of texts
};

// The added texts, NUL-terminated; null before anything was loaded. Owned by this module and valid
// until the next load or resetSecondStrings().
extern const wchar_t* curStrings2[STRING2_ENDTAG];

// Loads the texts from their files, fills every text the files lack with its default and writes
// the files when they were missing, damaged or short (silently; Data/Framework is never created
// here). Returns true when the files held every text.
bool loadSecondStrings();

// Writes both files from the table in memory, each replaced whole (base/AtomicFile.h). False when
// one could not be written.
bool saveSecondStrings();

// The built-in English text of an entry; nullptr for an index outside the table.
const wchar_t* defaultSecondString(int index);

// Back to "nothing loaded", for tests.
void resetSecondStrings();

// An added text, or the empty text while nothing is loaded.
inline const wchar_t* interfaceText2(framew_strings2 which) {
    const wchar_t* text = curStrings2[which];
    return text == nullptr ? L"" : text;
}
