// Feeds arbitrary bytes to the delimited-text reader, the rows made of its records and their
// preparation for storing. Nothing may crash or read past its input; records start on lines that
// never go back; a row that is not refused holds a foreign and a known word and no field longer
// than an editor field.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exchange/DelimitedReader.h"
#include "exchange/DelimitedRows.h"
#include "exchange/RowPreparation.h"
#include "exchange/TextDecoding.h"

using namespace exchange;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FileText text = decodeFileText(std::string(reinterpret_cast<const char*>(data), size));
    DelimitedReader reader(text.utf8);
    const std::vector<ColumnRole> roles = suggestedRoles(reader, columnCount(reader));
    DelimitedRows rows(reader, roles);
    ImportOptions options;
    options.splitLeadingArticle = size % 2 == 0;
    LanguageGrammar grammar;
    grammar.name = L"Foreign";
    grammar.articles = {L"der", L"l'"};
    LanguageTarget foreign = LanguageTarget::planned(grammar);
    RowPreparation preparation(options, foreign);
    ImportRow row;
    PreparedRow prepared;
    unsigned line = 0;
    while (rows.next(row)) {
        if (row.line < line || rows.progress() > 1.0) {
            abort();
        }
        line = row.line;
        if (preparation.prepare(row, prepared).kind != RefusalKind::None) {
            continue;
        }
        if (prepared.foreign.empty() || prepared.known.empty() || prepared.foreign.size() > MAX_FIELD_CHARACTERS ||
            prepared.mnemonic.size() > MAX_FIELD_CHARACTERS) {
            abort();
        }
    }
    return 0;
}
