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
