// Fields of a row are cleaned as an editor's text field holds typed text, and a known-words
// field is split into its words, each once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/LanguageGrammar.h"
#include "exchange/RowPreparation.h"

namespace exchange {
namespace {

TEST(RowPreparation, FieldsAreCleanedAsAnEditorFieldHoldsThem) {
    const struct {
        std::wstring given;
        std::wstring held;
    } cases[] = {
        {L"Haus", L"Haus"},
        {L"", L""},
        {L"  Haus  ", L"Haus"},
        {L"a\tb\nc\r\nd", L"a b c  d"},
        {L"x\u2038y\x01z\x7f\x9f", L"xyz"},  // the caret and control characters go
        {L"\u2028Stra\u00DFe\u2029", L"Stra\u00DFe"},
        {L"\u00E4 \u05D0 \U0001F600", L"\u00E4 \u05D0 \U0001F600"},
        {L" \t\n ", L""},
        {L"\x01", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cleanedField(c.given), c.held) << "given \"" << std::string(c.given.begin(), c.given.end()) << "\"";
    }
}

std::vector<std::wstring> knownWordsOf(std::vector<std::wstring> fields, const std::wstring& separator) {
    ImportOptions options;
    options.knownSeparator = separator;
    LanguageGrammar grammar;
    grammar.name = L"Deutsch";
    LanguageTarget foreign = LanguageTarget::planned(grammar);
    RowPreparation preparation(options, foreign);
    ImportRow row;
    row.foreign = L"Haus";
    row.known = std::move(fields);
    PreparedRow prepared;
    preparation.prepare(row, prepared);
    return prepared.known;
}

TEST(RowPreparation, KnownWordsAreSplitAtTheSeparatorAndAtLineBreaksEachOnce) {
    using Words = std::vector<std::wstring>;
    EXPECT_EQ(knownWordsOf({L"house; home;;house\nbuilding", L" dwelling ;"}, L";"),
              (Words{L"house", L"home", L"building", L"dwelling"}));
    EXPECT_EQ(knownWordsOf({L"a / b/c / "}, L" / "), (Words{L"a", L"b/c"}));
    EXPECT_EQ(knownWordsOf({L"a;b\u2028c"}, L""), (Words{L"a;b", L"c"}));
    EXPECT_EQ(knownWordsOf({L";;"}, L";"), Words{});
}

}  // namespace
}  // namespace exchange
