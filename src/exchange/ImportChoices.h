#pragma once

// What the user decides before an import, with the defaults a file suggests, and the import
// that follows from them.
//
// The languages are named: a language of the collection with that name is used, otherwise a new
// one is made (from the identifier's grammar, for KVTML).

#include <memory>
#include <string>
#include <vector>

#include "exchange/DelimitedRows.h"
#include "exchange/Import.h"
#include "exchange/ImportFile.h"

namespace exchange {

struct ImportChoices {
    std::vector<ColumnRole> roles;  // delimited text: one per column
    int foreignIdentifier = 0;      // KVTML: the identifiers of the two sides
    int knownIdentifier = 1;
    std::wstring foreignLanguage;  // the languages the sides go into
    std::wstring knownLanguage;
    ImportOptions options;
};

// Delimited text: the suggested roles, no languages (the user names them). KVTML: identifiers 0
// and 1 (the first two there are) into languages of their names.
ImportChoices defaultChoices(ImportFile& file);

// The name of a KVTML identifier as a language: its name, else its locale, else "Language N".
std::wstring identifierLanguageName(const KvtmlHead& head, int identifier);

// The import the choices describe; nothing, with the reason in `problem`, when they do not make
// one (no language named, the same language on both sides, no foreign or known column).
std::unique_ptr<Import> prepareImport(ImportFile& file, const ImportChoices& choices, std::wstring& problem);

}  // namespace exchange
