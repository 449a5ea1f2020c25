#pragma once

// The two formats a word list is written in, as UTF-8.
//
// Delimited text for Anki's importer with its default settings: the header lines
//   #separator:tab / #html:false / #columns:Foreign Known Pronunciation Mnemonic Lesson Tags /
//   #deck column:5 / #tags column:6
// then one line per card: the foreign word with its article in front, the known words joined by
// "; ", pronunciation, mnemonic, the lesson (as the deck) and the categories as tags (blanks
// inside a category written as "_"). A field holding a tab, a line break or a quote, or starting
// with "#", is quoted.
//
// KVTML 2: the foreign language as identifier 0 and the known one as identifier 1, each with its
// articles (in the places exchange/LanguageGrammar.h names), its persons as personal pronouns
// (exchange/PersonLayout.h) and its tenses; one entry per card, the foreign word with
// pronunciation, mnemonic (as the comment), a noun's gender, its categories (as usages) and its
// verb forms as conjugations, the known words joined by "; "; one lesson container per lesson.
//
// Reading either back gives the same cards, and writing them again the same bytes.

#include <string>

#include "exchange/ExportSet.h"

namespace exchange {

std::string writeDelimited(const ExportSet& set);
std::string writeKvtml(const ExportSet& set);

// Replaces the file at `path` whole or not at all (temporary file beside it, fsync, rename);
// false with the reason in `problem`.
bool writeExportFile(const std::string& path, const std::string& bytes, std::wstring& problem);

}  // namespace exchange
