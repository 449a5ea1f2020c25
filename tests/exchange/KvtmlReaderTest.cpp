// KVTML files as the KDE education programs and others write them, and files meant to do harm.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "exchange/KvtmlReader.h"
#include "exchange/KvtmlRows.h"
#include "exchange/LanguageGrammar.h"

namespace exchange {
namespace {

const char* const THREE_LANGUAGES = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
  <information><generator>test</generator><title>Drei &amp; mehr</title></information>
  <identifiers>
    <identifier id="0">
      <name>Deutsch</name>
      <locale>de</locale>
      <article>
        <singular>
          <definite><male>der</male><female>die</female><neutral>das</neutral></definite>
          <indefinite><male>ein</male><female>eine</female><neutral>ein</neutral></indefinite>
        </singular>
        <plural><definite><male>die</male><female>die</female><neutral>die</neutral></definite></plural>
      </article>
      <personalpronouns>
        <singular><firstperson>ich</firstperson><secondperson>du</secondperson>
          <thirdpersonmale>er</thirdpersonmale><thirdpersonfemale>sie</thirdpersonfemale>
          <thirdpersonneutralcommon>es</thirdpersonneutralcommon></singular>
        <plural><firstperson>wir</firstperson><secondperson>ihr</secondperson>
          <thirdpersonneutralcommon>sie</thirdpersonneutralcommon></plural>
      </personalpronouns>
      <tense>Präsens</tense>
      <tense>Präteritum</tense>
    </identifier>
    <identifier id="1"><name>English</name><locale>en</locale></identifier>
    <identifier id="2">
      <name>Français</name><locale>fr</locale>
      <article><singular><definite><male>le</male><female>la</female></definite></singular></article>
    </identifier>
  </identifiers>
  <tenses><tense>Futur</tense></tenses>
  <entries>
    <entry id="0">
      <translation id="0">
        <text>Tisch</text>
        <pronunciation>tɪʃ</pronunciation>
        <comment>like a dish</comment>
        <wordtype><typename>Nomen</typename><subtypename>Männlich</subtypename></wordtype>
        <usage>Furniture</usage><usage>House</usage>
        <grade fromid="1"><currentgrade>3</currentgrade><count>5</count></grade>
        <image>table.png</image><sound>table.ogg</sound>
      </translation>
      <translation id="1"><text>table</text></translation>
      <translation id="2"><text>table</text></translation>
    </entry>
    <entry id="1">
      <translation id="0">
        <text>sein</text>
        <wordtype><typename>Verb</typename></wordtype>
        <conjugation>
          <tense>Präsens</tense>
          <singular><firstperson>bin</firstperson><secondperson><text>bist</text></secondperson>
            <thirdpersonneutralcommon>ist</thirdpersonneutralcommon></singular>
          <plural><firstperson>sind</firstperson><secondperson/></plural>
        </conjugation>
        <conjugation><tense>Konjunktiv</tense><singular><firstperson>sei</firstperson></singular></conjugation>
      </translation>
      <translation id="1"><text>to be</text></translation>
    </entry>
    <entry id="2"><translation id="0"/><translation id="1"/></entry>
    <entry id="3"><translation id="0"><text>Katze</text>
      <wordtype><typename>Nomen</typename><subtypename>Weiblich</subtypename></wordtype></translation>
      <translation id="1"><text><![CDATA[cat <3]]></text></translation></entry>
    <entry id="4"><translation id="1"><text>orphan</text></translation></entry>
  </entries>
  <lessons>
    <container><name>Haus</name><entry id="0"/>
      <container><name>Küche</name><entry id="3"/><entry id="0"/></container>
    </container>
    <container><entry id="1"/></container>
  </lessons>
  <wordtypedefinitions>
    <wordtypedefinition><typename>Nomen</typename><specialwordtype>noun</specialwordtype>
      <subwordtypedefinition><typename>Männlich</typename><specialwordtype>male</specialwordtype></subwordtypedefinition>
      <subwordtypedefinition><typename>Weiblich</typename><specialwordtype>female</specialwordtype></subwordtypedefinition>
    </wordtypedefinition>
    <wordtypedefinition><typename>Verb</typename><specialwordtype>verb</specialwordtype></wordtypedefinition>
  </wordtypedefinitions>
</kvtml>
)";

std::vector<ImportRow> rowsOf(KvtmlReader& reader, int foreign, int known) {
    KvtmlRows rows(reader, foreign, known);
    rows.restart();
    std::vector<ImportRow> all;
    ImportRow row;
    while (rows.next(row)) {
        all.push_back(row);
    }
    return all;
}

TEST(KvtmlReaderTest, TheHeadDescribesIdentifiersWordTypesAndNestedLessons) {
    const std::string file = THREE_LANGUAGES;
    KvtmlReader reader(file);
    ASSERT_TRUE(reader.readHead()) << reader.error()->describe();
    const KvtmlHead& head = reader.head();
    EXPECT_EQ(head.title, L"Drei & mehr");
    ASSERT_EQ(head.identifiers.size(), 3u);
    const KvtmlIdentifier& german = head.identifiers[0];
    EXPECT_EQ(german.name, L"Deutsch");
    EXPECT_EQ(german.locale, L"de");
    EXPECT_EQ(german.articles[0][0][0], L"der");
    EXPECT_EQ(german.articles[0][1][1], L"eine");
    EXPECT_EQ(german.articles[1][0][2], L"die");
    EXPECT_EQ(german.pronouns.texts[0][4], L"es");
    EXPECT_EQ(german.pronouns.texts[1][1], L"ihr");
    EXPECT_EQ(german.tenses, (std::vector<std::wstring>{L"Präsens", L"Präteritum"}));
    EXPECT_EQ(head.identifiers[2].articles[0][0][1], L"la");
    EXPECT_EQ(head.documentTenses, std::vector<std::wstring>{L"Futur"});
    EXPECT_EQ(head.entries, 5u);
    // Nested containers are flattened with their path; an unnamed one is numbered.
    EXPECT_EQ(head.lessons, (std::vector<std::wstring>{L"Haus", L"Haus::Küche", L"Lesson 2"}));
    EXPECT_EQ(head.lessonOfEntry.at(0), 0u);  // named first by the outer container
    EXPECT_EQ(head.lessonOfEntry.at(3), 1u);
    EXPECT_EQ(head.lessonOfEntry.at(1), 2u);
    EXPECT_EQ(head.conjugationTenses.at(0), (std::vector<std::wstring>{L"Präsens", L"Konjunktiv"}));

    const LanguageGrammar grammar = LanguageGrammar::ofIdentifier(head, german);
    EXPECT_EQ(grammar.articles, (std::vector<std::wstring>{L"der", L"die", L"das", L"ein", L"eine"}));
    EXPECT_EQ(grammar.persons, (std::vector<std::wstring>{L"ich", L"du", L"er/sie/es", L"wir", L"ihr", L"sie"}));
    EXPECT_EQ(grammar.tenses, (std::vector<std::wstring>{L"Präsens", L"Präteritum", L"Futur", L"Konjunktiv"}));
    // No pronouns and no conjugations: no persons at all.
    EXPECT_TRUE(LanguageGrammar::ofIdentifier(head, head.identifiers[1]).persons.empty());
}

TEST(KvtmlReaderTest, EntriesBecomeRowsForTheChosenIdentifiers) {
    const std::string file = THREE_LANGUAGES;
    KvtmlReader reader(file);
    ASSERT_TRUE(reader.readHead());
    const std::vector<ImportRow> rows = rowsOf(reader, 0, 1);
    // The empty entry is passed over; the one without a foreign text stays (to be refused).
    ASSERT_EQ(rows.size(), 4u);
    const ImportRow& tisch = rows[0];
    EXPECT_EQ(tisch.foreign, L"Tisch");
    EXPECT_EQ(tisch.known, std::vector<std::wstring>{L"table"});
    EXPECT_EQ(tisch.pronunciation, L"tɪʃ");
    EXPECT_EQ(tisch.mnemonic, L"like a dish");
    EXPECT_EQ(tisch.gender, Gender::Male);
    EXPECT_EQ(tisch.categories, (std::vector<std::wstring>{L"Furniture", L"House"}));
    EXPECT_EQ(tisch.lesson, L"Haus");
    EXPECT_EQ(tisch.line, 34u);
    const ImportRow& sein = rows[1];
    ASSERT_EQ(sein.conjugations.size(), 2u);
    EXPECT_EQ(sein.conjugations[0].tense, L"Präsens");
    EXPECT_EQ(sein.conjugations[0].forms[0][0], L"bin");
    EXPECT_EQ(sein.conjugations[0].forms[0][1], L"bist");  // inside a <text> child
    EXPECT_EQ(sein.conjugations[0].forms[0][4], L"ist");
    EXPECT_EQ(sein.conjugations[0].forms[1][1], L"");  // an empty cell stays empty
    EXPECT_EQ(sein.lesson, L"Lesson 2");
    EXPECT_EQ(rows[2].gender, Gender::Female);
    EXPECT_EQ(rows[2].known, std::vector<std::wstring>{L"cat <3"});
    EXPECT_EQ(rows[2].lesson, L"Haus::Küche");
    EXPECT_EQ(rows[3].foreign, L"");
    // Another pair of identifiers, and the second pass gives the same again.
    const std::vector<ImportRow> french = rowsOf(reader, 2, 1);
    ASSERT_EQ(french.size(), 4u);
    EXPECT_EQ(french[0].foreign, L"table");
    EXPECT_EQ(rowsOf(reader, 0, 1).size(), 4u);
}

void expectRefused(const std::string& file, const std::string& part, unsigned line = 0) {
    KvtmlReader reader(file);
    EXPECT_FALSE(reader.readHead());
    ASSERT_NE(reader.error(), nullptr);
    EXPECT_NE(reader.error()->message.find(part), std::string::npos) << reader.error()->describe();
    if (line != 0) {
        EXPECT_EQ(reader.error()->line, line) << reader.error()->describe();
        EXPECT_GT(reader.error()->column, 0u);
    }
}

TEST(KvtmlReaderTest, MalformedFilesAreRefusedWithLineAndColumn) {
    expectRefused("<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\">\n<entries>\n<entry id=\"0\">\n</entries>\n</kvtml>",
                  "mismatch", 5);
    expectRefused("<kvtml><entries><entry id=\"0\"><translation id=\"0\"><text>a &nbsp; b</text>", "nbsp", 1);
    expectRefused("", "");
    expectRefused("<vocabulary/>", "not a KVTML file");
    expectRefused("<kvtml version=\"1.0\"><e><o>x</o></e></kvtml>", "version 1");
    expectRefused("<kvtml>\n<entries>\xFF</entries></kvtml>", "UTF-8", 2);
}

TEST(KvtmlReaderTest, ABillionLaughsIsRefusedAtOnce) {
    std::string file = "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [\n <!ENTITY lol \"lol\">\n";
    for (int level = 1; level <= 12; ++level) {
        file += " <!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i) {
            file += "&lol" + (level == 1 ? std::string() : std::to_string(level - 1)) + ";";
        }
        file += "\">\n";
    }
    file += "]>\n<kvtml><entries><entry id=\"0\"><translation id=\"0\"><text>&lol12;</text></translation>"
            "<translation id=\"1\"><text>x</text></translation></entry></entries></kvtml>\n";
    const auto start = std::chrono::steady_clock::now();
    expectRefused(file, "entity", 3);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(KvtmlReaderTest, ExternalEntitiesAndDtdsAreNeverRead) {
    {
        std::ofstream secret("secret.txt");
        secret << "TOP SECRET";
    }
    const std::string external =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [<!ENTITY s SYSTEM \"secret.txt\">]>\n"
        "<kvtml><entries><entry id=\"0\"><translation id=\"0\"><text>&s;</text></translation></entry></entries>"
        "</kvtml>";
    expectRefused(external, "entity", 2);
    const std::string parameter =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [<!ENTITY % p SYSTEM \"secret.txt\"> %p;]>\n<kvtml/>";
    expectRefused(parameter, "entity", 2);
    // A DOCTYPE naming an outside DTD is read past, never fetched: the file reads as usual.
    const std::string dtd =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml SYSTEM \"secret.txt\">\n"
        "<kvtml><entries><entry id=\"0\"><translation id=\"0\"><text>a&lt;b&#228;</text></translation>"
        "<translation id=\"1\"><text>x</text></translation></entry></entries></kvtml>";
    KvtmlReader reader(dtd);
    ASSERT_TRUE(reader.readHead()) << reader.error()->describe();
    const std::vector<ImportRow> rows = rowsOf(reader, 0, 1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].foreign, L"a<bä");
}

}  // namespace
}  // namespace exchange
