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
