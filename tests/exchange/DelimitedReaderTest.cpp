// Delimited text as other trainers write it: quoting, separators, encodings, line ends, the
// header lines of Anki's text export and HTML fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/DelimitedReader.h"
#include "exchange/DelimitedRows.h"
#include "exchange/HtmlText.h"
#include "exchange/TextDecoding.h"

namespace exchange {
namespace {

using Records = std::vector<std::vector<std::string>>;

Records recordsOf(const std::string& text, std::vector<unsigned>* lines = nullptr) {
    DelimitedReader reader(text);
    Records records;
    DelimitedRecord record;
    while (reader.next(record)) {
        records.push_back(record.fields);
        if (lines != nullptr) {
            lines->push_back(record.line);
        }
    }
    return records;
}

TEST(DelimitedReaderTest, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
    std::vector<unsigned> lines;
    const Records records = recordsOf(
        "Haus\thouse\n"
        "\"a\tb\"\t\"say \"\"hi\"\"\"\n"
        "\"two\nlines\"\tx\n"
        "\"crlf\r\ninside\"\ty\r\n"
        "last\tz",
        &lines);
    const Records expected = {{"Haus", "house"}, {"a\tb", "say \"hi\""}, {"two\nlines", "x"}, {"crlf\ninside", "y"},
                              {"last", "z"}};
    EXPECT_EQ(records, expected);
    // A record's line is where it starts; a line break inside quotes counts.
    EXPECT_EQ(lines, (std::vector<unsigned>{1, 2, 3, 5, 7}));
}

TEST(DelimitedReaderTest, EmptyLinesAreSkippedAndEmptyFieldsKept) {
    EXPECT_EQ(recordsOf("a;b;;\n\n\r\n;;\nc;\n"), (Records{{"a", "b", "", ""}, {"c", ""}}));
}

TEST(DelimitedReaderTest, AQuoteNeverClosedRunsToTheEndAndIsMarked) {
    DelimitedReader reader("a\tb\n\"open\tc\nd\te\n");
    DelimitedRecord record;
    ASSERT_TRUE(reader.next(record));
    EXPECT_FALSE(record.unclosedQuote);
    ASSERT_TRUE(reader.next(record));
    EXPECT_TRUE(record.unclosedQuote);
    EXPECT_EQ(record.line, 2u);
    EXPECT_FALSE(reader.next(record));
}

TEST(DelimitedReaderTest, TheSeparatorIsGuessedQuoteAwareFromTheFirstRecords) {
    EXPECT_EQ(DelimitedReader("a\tb\nc\td\n").separator(), "\t");
    EXPECT_EQ(DelimitedReader("a;b\nc;d\n").separator(), ";");
    EXPECT_EQ(DelimitedReader("a,b\nc,d\n").separator(), ",");
    EXPECT_EQ(DelimitedReader("a|b\nc|d\n").separator(), "|");
    // Commas inside quotes do not count: every record splits in two at the semicolon.
    EXPECT_EQ(DelimitedReader("\"x, y, z\";b\n\"p, q\";d\n").separator(), ";");
    // Semicolons in the text, but the commas split every line alike.
    EXPECT_EQ(DelimitedReader("a;x,b\nc,d\n").separator(), ",");
    // Nothing splits every record alike: the one that gives the most fields.
    EXPECT_EQ(DelimitedReader("Haus, Maus\tx\nBaum\n").separator(), "\t");
    // One column: tab, and the whole line is the field.
    DelimitedReader single("Haus\nMaus\n");
    EXPECT_EQ(single.separator(), "\t");
    DelimitedRecord record;
    ASSERT_TRUE(single.next(record));
    EXPECT_EQ(record.fields, std::vector<std::string>{"Haus"});
}

TEST(DelimitedReaderTest, HeaderLinesSetSeparatorColumnsAndSpecialColumns) {
    const std::string text =
        "#separator:Semicolon\n"
        "#html:true\n"
        "#columns:Front;Back;Tags;Deck\n"
        "#tags column:3\r\n"
        "#deck column:4\n"
        "#notetype column:7\n"
        "#guid column:6\n"
        "#deck:Everything\n"
        "#tags:imported new\n"
        "# a comment\n"
        "#if matches:update\n"
        "Haus;house;a;D\n";
    DelimitedReader reader(text);
    EXPECT_EQ(reader.separator(), ";");
    const DelimitedHeader& header = reader.header();
    EXPECT_TRUE(header.html);
    EXPECT_EQ(reader.columnNames(), (std::vector<std::string>{"Front", "Back", "Tags", "Deck"}));
    EXPECT_EQ(header.tagsColumn, 3u);
    EXPECT_EQ(header.deckColumn, 4u);
    EXPECT_EQ(header.notetypeColumn, 7u);
    EXPECT_EQ(header.guidColumn, 6u);
    EXPECT_EQ(header.deck, "Everything");
    EXPECT_EQ(header.tags, "imported new");
    DelimitedRecord record;
    ASSERT_TRUE(reader.next(record));
    EXPECT_EQ(record.line, 12u);
    EXPECT_EQ(record.fields, (std::vector<std::string>{"Haus", "house", "a", "D"}));
}

TEST(DelimitedReaderTest, EverySeparatorNameAndLiteralCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"Tab", "\t"}, {"tab", "\t"}, {"Comma", ","}, {"Semicolon", ";"}, {"Space", " "}, {"Pipe", "|"},
        {"Colon", ":"}, {"#", "#"}, {"§", "§"}, {" ", " "}};
    for (const auto& [name, separator] : cases) {
        EXPECT_EQ(DelimitedReader(std::string("#separator:") + name + "\na").separator(), separator) << name;
    }
    DelimitedReader space("#separator:Space\nder Tisch\n");
    DelimitedRecord record;
    ASSERT_TRUE(space.next(record));
    EXPECT_EQ(record.fields, (std::vector<std::string>{"der", "Tisch"}));
}

TEST(DelimitedReaderTest, EncodingsAreTakenFromTheByteOrderMark) {
    const std::string utf8 = "H\xC3\xA4us\tm\xC3\xA4use\n";
    EXPECT_EQ(decodeFileText(utf8).utf8, utf8);
    EXPECT_EQ(decodeFileText("\xEF\xBB\xBF" + utf8).encoding, FileEncoding::Utf8Bom);
    EXPECT_EQ(decodeFileText("\xEF\xBB\xBF" + utf8).utf8, utf8);
    // "Hä\U0001F600" in UTF-16 both ways, a surrogate pair included.
    const std::string le("\xFF\xFE" "H\0\xE4\0=\xD8\0\xDE", 10);
    const std::string be("\xFE\xFF" "\0H\0\xE4\xD8=\xDE\0", 10);
    EXPECT_EQ(decodeFileText(le).utf8, "H\xC3\xA4\xF0\x9F\x98\x80");
    EXPECT_EQ(decodeFileText(be).utf8, "H\xC3\xA4\xF0\x9F\x98\x80");
    // A lone surrogate and an odd last byte make bytes that no field decodes.
    std::wstring wide;
    EXPECT_FALSE(decodeUtf8Strict(decodeFileText(std::string("\xFF\xFE" "\x00\xD8" "a\0", 6)).utf8, wide));
    EXPECT_FALSE(decodeUtf8Strict(decodeFileText(std::string("\xFF\xFE" "a\0b", 5)).utf8, wide));
}

TEST(DelimitedReaderTest, StrictDecodingRefusesEveryMalformedSequence) {
    std::wstring wide;
    EXPECT_TRUE(decodeUtf8Strict("\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", wide));
    EXPECT_EQ(wide, L"ä€😀");
    for (const char* bad : {"\xC3", "\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "a\xE2\x82"}) {
        EXPECT_FALSE(decodeUtf8Strict(bad, wide)) << bad;
    }
}

TEST(DelimitedReaderTest, HtmlFieldsBecomeText) {
    EXPECT_EQ(htmlToText("<b>Haus</b>"), "Haus");
    EXPECT_EQ(htmlToText("dog<br>hound<br/>cur"), "dog\nhound\ncur");
    EXPECT_EQ(htmlToText("<div>one</div><div>two</div>"), "one\ntwo");
    EXPECT_EQ(htmlToText("R&amp;B &lt;3 &quot;x&quot; &apos;y&apos;&nbsp;z"), "R&B <3 \"x\" 'y' z");
    EXPECT_EQ(htmlToText("&#228;&#xE4;&#XE4;"), "\xC3\xA4\xC3\xA4\xC3\xA4");
    EXPECT_EQ(htmlToText("&unknown; & &#xZZ; a < b"), "&unknown; & &#xZZ; a < b");
    EXPECT_EQ(htmlToText("x<script>alert(1)</script><style>p{}</style>y"), "xy");
    EXPECT_EQ(htmlToText("&#0;&#xD800;&#99999999;"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(DelimitedReaderTest, RowsTakeTheRolesOfTheirColumns) {
    const std::string text =
        "#separator:tab\n#html:true\n#columns:Front\tBack\tTags\tDeck\n#tags column:3\n#deck column:4\n#tags:all\n"
        "<b>Haus</b>\thouse<br>home\tfood_and_drink basics\tA::B\n"
        "Baum\ttree\t\t\n"
        "K\xC3\xA4se\t\xFF\t\t\n";
    DelimitedReader reader(text);
    const std::vector<ColumnRole> roles = suggestedRoles(reader, columnCount(reader));
    EXPECT_EQ(roles, (std::vector<ColumnRole>{ColumnRole::Foreign, ColumnRole::Known, ColumnRole::Tags,
                                              ColumnRole::Lesson}));
    DelimitedRows rows(reader, roles);
    ImportRow row;
    ASSERT_TRUE(rows.next(row));
    EXPECT_EQ(row.foreign, L"Haus");
    EXPECT_EQ(row.known, std::vector<std::wstring>{L"house\nhome"});
    EXPECT_EQ(row.categories, (std::vector<std::wstring>{L"all", L"food and drink", L"basics"}));
    EXPECT_EQ(row.lesson, L"A::B");
    ASSERT_TRUE(rows.next(row));
    EXPECT_EQ(row.lesson, L"");
    EXPECT_EQ(row.categories, std::vector<std::wstring>{L"all"});
    ASSERT_TRUE(rows.next(row));
    EXPECT_EQ(row.line, 9u);
    EXPECT_EQ(row.problem, RefusalKind::BadEncoding);
    EXPECT_EQ(row.problemColumn, 2u);
    EXPECT_FALSE(rows.next(row));
}

TEST(DelimitedReaderTest, RolesWithoutColumnNamesAreForeignThenKnown) {
    DelimitedReader reader("a,b,c\n");
    EXPECT_EQ(suggestedRoles(reader, columnCount(reader)),
              (std::vector<ColumnRole>{ColumnRole::Foreign, ColumnRole::Known, ColumnRole::Ignore}));
    DelimitedReader guid("#guid column:1\nid1\tHaus\thouse\n");
    EXPECT_EQ(suggestedRoles(guid, columnCount(guid)),
              (std::vector<ColumnRole>{ColumnRole::Ignore, ColumnRole::Foreign, ColumnRole::Known}));
    EXPECT_EQ(roleNamed("Pronunciation"), ColumnRole::Pronunciation);
    EXPECT_EQ(roleNamed("-"), ColumnRole::Ignore);
    EXPECT_EQ(roleNamed("nonsense"), std::nullopt);
}

}  // namespace
}  // namespace exchange
