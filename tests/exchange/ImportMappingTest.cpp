// Rows of a word list become the records the flashcard editor would make of them, duplicates are
// updated, skipped or merged, and rows that cannot be stored are refused with their line.
#include "ExchangeTestSupport.h"

namespace exchange::test {
namespace {

class ImportMappingTest : public ExchangeTest {};

TEST_F(ImportMappingTest, ARowBecomesWordsOneMeaningAndACardDueNowOnTheFirstLevel) {
    const ImportCounts counts = importText(
        "#separator:tab\n#columns:Front\tBack\tPronunciation\tMnemonic\tLesson\tTags\n"
        "Haus\thouse; home\thaus\t\"like\nhouse\"\tBasics\tplaces food_and_drink\n"
        "Käse\tcheese\t\t\t\t\n");
    EXPECT_EQ(counts.added, 2u);
    reload();
    EXPECT_EQ(collectionText(),
              "card Haus [Basics] levels 0/0 due 0/0 both -> home house\n"
              "card Käse levels 0/0 due 0/0 both -> cheese\n"
              "category food and drink\n"
              "category places\n"
              "language English 00000000 articles persons tenses\n"
              "language German 00000000 articles persons tenses\n"
              "lesson Basics\n"
              "meaning 1: Haus home house categories: food and drink places\n"
              "meaning 1: Käse cheese categories:\n"
              "word English cheese||\n"
              "word English home||\n"
              "word English house||\n"
              "word German Haus|haus|like house\n"
              "word German Käse||\n");
}

TEST_F(ImportMappingTest, StoredWordsAreFoundNotMadeAgain) {
    importText("Haus\thouse\n");
    // "house" is known already; "Gebäude" is stored without a card and gets one.
    const unsigned german = languageNamed(L"German");
    Word* building = new Word(L"Gebäude", L"", L"old");
    building->setDependency(D_LANGUAGE, german);
    Word::add(building);
    ASSERT_EQ(saveDatabaseTables({}), 0);
    const ImportCounts counts = importText("#columns:Front\tBack\tPronunciation\nGebäude\tbuilding;house\tɡəˈbɔɪ̯də\n");
    EXPECT_EQ(counts.added, 1u);
    reload();
    const std::string text = collectionText();
    EXPECT_NE(text.find("card Gebäude levels 0/0 due 0/0 both -> building house\n"), std::string::npos) << text;
    EXPECT_NE(text.find("word German Gebäude|ɡəˈbɔɪ̯də|old\n"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10) << text;  // one "house", one "Gebäude"
}

TEST_F(ImportMappingTest, UpdateAddsToTheStoredCardAndKeepsItsLevelAndDueDate) {
    importText("#columns:Front\tBack\tPronunciation\tMnemonic\tLesson\nHaus\thouse\t\t\tOld\n");
    Flashcard* card = cardOf(Word::getWord(languageNamed(L"German"), L"Haus"));
    card->set_primaryLevel(3, true);
    card->set_primaryNextDue(7, true);
    card->set_invertedLevel(2, true);
    ASSERT_EQ(saveDatabaseTables({}), 0);

    ImportOptions update;
    update.duplicates = DuplicateRule::Update;
    const ImportCounts counts =
        importText("#columns:Front\tBack\tPronunciation\tMnemonic\tLesson\nHaus\thome\thaʊ̯s\t\tNew\nHaus\tbuilding\n", update);
    EXPECT_EQ(counts.updated, 1u);
    EXPECT_EQ(counts.merged, 1u);
    reload();
    const std::string text = collectionText();
    EXPECT_NE(text.find("card Haus [New] levels 3/2 due 7/0 both -> building home house\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("word German Haus|haʊ̯s|\n"), std::string::npos) << text;
    EXPECT_EQ(Flashcard::elementTree().size(), 1u);
    // Each row's words share a meaning: the stored one, and one for each row that added words.
    EXPECT_EQ(Meaning::elementTree().size(), 3u);
}

TEST_F(ImportMappingTest, SkipLeavesStoredCardsAsTheyAre) {
    importText("Haus\thouse\n");
    const std::string before = collectionText();
    ImportOptions skip;
    skip.duplicates = DuplicateRule::Skip;
    const ImportCounts counts = importText("Haus\thome\thaʊ̯s\nHaus\tbuilding\nBaum\ttree\n", skip);
    EXPECT_EQ(counts.skipped, 2u);
    EXPECT_EQ(counts.added, 1u);
    reload();
    std::string after = collectionText();
    EXPECT_NE(after.find("card Haus levels 0/0 due 0/0 both -> house\n"), std::string::npos) << after;
    EXPECT_EQ(after.find("home"), std::string::npos) << after;
}

TEST_F(ImportMappingTest, RowsRepeatingAWordMakeOneWordAndOneCard) {
    const ImportCounts counts =
        importText("#columns:Front\tBack\tPronunciation\tMnemonic\nHaus\thouse\nHaus\thome\t\tmnemonic\nHaus\thouse\n");
    EXPECT_EQ(counts.added, 1u);
    EXPECT_EQ(counts.merged, 2u);
    reload();
    EXPECT_EQ(Word::elementTree().size(), 3u);
    EXPECT_EQ(Flashcard::elementTree().size(), 1u);
    EXPECT_EQ(knownOf(*Flashcard::begin().operator*()), (std::vector<std::wstring>{L"home", L"house"}));
    EXPECT_STREQ(Word::getWord(languageNamed(L"German"), L"Haus")->get_mnemonic(), L"mnemonic");
}

// New words before and after stored ones: the cards of words the file names are looked up
// only once a row names a stored word, after this import has made cards of its own.
class MixedImportTest : public ImportMappingTest {
protected:
    void importMixed(DuplicateRule rule) {
        importText("Haus\thouse\n");
        Word* building = new Word(L"Gebäude", L"", L"");
        building->setDependency(D_LANGUAGE, languageNamed(L"German"));
        Word::add(building);  // stored without a card
        ASSERT_EQ(saveDatabaseTables({}), 0);

        std::unique_ptr<ImportFile> file =
            open("Baum\ttree\nHaus\thome\nBaum\tbranch\nGebäude\tbuilding\nHaus\tdwelling\nGebäude\tedifice\n");
        ImportChoices choices = defaultChoices(*file);
        choices.foreignLanguage = L"German";
        choices.knownLanguage = L"English";
        choices.options.duplicates = rule;
        std::unique_ptr<Import> import = importInMemory(*file, choices);
        ASSERT_NE(import, nullptr);
        const ImportCounts& foreseen = import->preview().counts;
        stored = import->storedCounts();
        EXPECT_EQ(foreseen.added, stored.added);
        EXPECT_EQ(foreseen.updated, stored.updated);
        EXPECT_EQ(foreseen.skipped, stored.skipped);
        EXPECT_EQ(foreseen.merged, stored.merged);
        ASSERT_EQ(saveDatabaseTables({}), 0);
        import->kept();
        reload();
        text = collectionText();
        EXPECT_EQ(Flashcard::elementTree().size(), 3u) << text;
        EXPECT_NE(text.find("card Baum levels 0/0 due 0/0 both -> branch tree\n"), std::string::npos) << text;
        EXPECT_NE(text.find("card Gebäude levels 0/0 due 0/0 both -> building edifice\n"), std::string::npos) << text;
    }

    ImportCounts stored;
    std::string text;
};

TEST_F(MixedImportTest, UpdatingStoredWordsBetweenNewOnesGivesTheFatesThePreviewForesaw) {
    importMixed(DuplicateRule::Update);
    EXPECT_EQ(stored.added, 2u);
    EXPECT_EQ(stored.updated, 1u);
    EXPECT_EQ(stored.skipped, 0u);
    EXPECT_EQ(stored.merged, 3u);
    EXPECT_NE(text.find("card Haus levels 0/0 due 0/0 both -> dwelling home house\n"), std::string::npos) << text;
}

TEST_F(MixedImportTest, SkippingStoredWordsBetweenNewOnesGivesTheFatesThePreviewForesaw) {
    importMixed(DuplicateRule::Skip);
    EXPECT_EQ(stored.added, 2u);
    EXPECT_EQ(stored.updated, 0u);
    EXPECT_EQ(stored.skipped, 2u);
    EXPECT_EQ(stored.merged, 2u);
    EXPECT_NE(text.find("card Haus levels 0/0 due 0/0 both -> house\n"), std::string::npos) << text;
}

TEST_F(ImportMappingTest, ALeadingArticleIsSplitOffOnlyWhenAsked) {
    importText("#columns:Front\tBack\tArticle\nTisch\ttable\tder\nLampe\tlamp\tdie\n");
    const unsigned german = languageNamed(L"German");
    EXPECT_EQ(grammarText<Article>(german), " der die");  // a new language takes the articles named
    importText("der Stuhl\tchair\n");
    EXPECT_NE(Word::getWord(german, L"der Stuhl"), nullptr);
    ImportOptions split;
    split.splitLeadingArticle = true;
    importText("Die Tür\tdoor\ndieser\tthis\nder\tthe\nl'homme\tman\n", split);
    const Word* door = Word::getWord(german, L"Tür");
    ASSERT_NE(door, nullptr);
    EXPECT_STREQ(Article::getById(door->getDependency(D_ARTICLE))->get_text(), L"die");
    EXPECT_NE(Word::getWord(german, L"dieser"), nullptr);  // an article needs a blank after it
    EXPECT_NE(Word::getWord(german, L"der"), nullptr);     // and a word after the blank
    EXPECT_NE(Word::getWord(german, L"l'homme"), nullptr);
}

TEST_F(ImportMappingTest, RefusedRowsAreCountedWithTheirLinesAndNothingOfThemIsStored) {
    importText("#columns:Front\tBack\tArticle\nTisch\ttable\tder\n");
    std::unique_ptr<ImportFile> file = open(
        "#columns:Front\tBack\tArticle\tMnemonic\n"
        "\tnothing\n"
        "Leer\t ; \n"
        "Stuhl\tchair\tdas\n"
        "Lang\tlong\t\t" + std::string(51, 'x') + "\n"
        "Bad\t\xC3\n"
        "Gut\tgood\n"
        "\"Offen\tnever closed\n");
    ImportChoices choices = defaultChoices(*file);
    choices.foreignLanguage = L"German";
    choices.knownLanguage = L"English";
    std::wstring problem;
    std::unique_ptr<Import> import = prepareImport(*file, choices, problem);
    ASSERT_TRUE(import->previewSome(noDeadline()));
    const ImportPreview& preview = import->preview();
    EXPECT_EQ(preview.counts.refused, 6u);
    EXPECT_EQ(preview.counts.added, 1u);
    std::vector<std::string> reasons;
    for (const Refusal& refusal : preview.refusals) {
        reasons.push_back(toUtf8(describe(refusal)));
    }
    EXPECT_EQ(reasons, (std::vector<std::string>{
                           "Line 2: no foreign word",
                           "Line 3: no known word",
                           "Line 4: \"das\" is not an article of the foreign language",
                           "Line 5: the mnemonic has 51 characters; a field holds at most 50",
                           "Line 6: column 2 is not valid text in the encoding of the file",
                           "Line 8: a quote opened here is never closed",
                       }));
    ASSERT_EQ(preview.first.size(), 7u);
    EXPECT_EQ(preview.first[5].row.foreign, L"Gut");
    EXPECT_EQ(preview.first[5].fate, RowFate::New);
    const std::string before = collectionText();
    EXPECT_EQ(collectionText(), before) << "the preview stores nothing";
    ASSERT_TRUE(import->storeSome(noDeadline()));
    EXPECT_EQ(import->storedCounts().added, 1u);
    EXPECT_EQ(import->storedCounts().refused, 6u);
    EXPECT_EQ(Word::getWord(languageNamed(L"German"), L"Stuhl"), nullptr);
    EXPECT_NE(Word::getWord(languageNamed(L"German"), L"Gut"), nullptr);
}

TEST_F(ImportMappingTest, ChoicesThatMakeNoImportAreRefused) {
    std::unique_ptr<ImportFile> file = open("a\tb\n");
    ImportChoices choices = defaultChoices(*file);
    std::wstring problem;
    EXPECT_EQ(prepareImport(*file, choices, problem), nullptr);
    EXPECT_EQ(problem, L"Choose the foreign and the known language.");
    choices.foreignLanguage = choices.knownLanguage = L"German";
    EXPECT_EQ(prepareImport(*file, choices, problem), nullptr);
    EXPECT_EQ(problem, L"The foreign and the known language must differ.");
    choices.knownLanguage = L"English";
    choices.roles = {ColumnRole::Foreign, ColumnRole::Ignore};
    EXPECT_EQ(prepareImport(*file, choices, problem), nullptr);
    EXPECT_EQ(problem, L"Choose a column for the foreign words and one for the known words.");
}

const char* const GERMAN_VERBS = R"(<?xml version="1.0" encoding="UTF-8"?>
<kvtml version="2.0">
  <identifiers>
    <identifier id="0"><name>German</name><locale>de_DE</locale>
      <article><singular><definite><male>der</male><female>die</female><neutral>das</neutral></definite>
      </singular></article>
      <personalpronouns>
        <singular><firstperson>ich</firstperson><secondperson>du</secondperson>
          <thirdpersonmale>er</thirdpersonmale><thirdpersonfemale>sie</thirdpersonfemale>
          <thirdpersonneutralcommon>es</thirdpersonneutralcommon></singular>
        <plural><firstperson>wir</firstperson><secondperson>ihr</secondperson>
          <thirdpersonneutralcommon>sie</thirdpersonneutralcommon></plural>
      </personalpronouns>
      <tense>Präsens</tense><tense>Präteritum</tense>
    </identifier>
    <identifier id="1"><name>English</name><locale>en</locale></identifier>
  </identifiers>
  <entries>
    <entry id="0"><translation id="0"><text>Hund</text>
      <wordtype><typename>Noun</typename><subtypename>Male</subtypename></wordtype></translation>
      <translation id="1"><text>dog</text></translation></entry>
    <entry id="1"><translation id="0"><text>gehen</text>
      <conjugation><tense>Präsens</tense>
        <singular><firstperson>gehe</firstperson><secondperson>du gehst</secondperson>
          <thirdpersonneutralcommon>geht</thirdpersonneutralcommon></singular>
        <plural><firstperson>gehen</firstperson><thirdpersonneutralcommon>Sie gehen</thirdpersonneutralcommon></plural>
      </conjugation>
      <conjugation><tense>Präteritum</tense><singular><firstperson>ging</firstperson></singular></conjugation>
      <conjugation><tense>Futur</tense><singular><firstperson>werde gehen</firstperson></singular></conjugation>
      </translation>
      <translation id="1"><text>to go</text></translation></entry>
  </entries>
</kvtml>
)";

// Forms given with their pronoun ("du gehst") are stored without it.
TEST_F(ImportMappingTest, AKvtmlFileMakesLanguagesWithItsGrammarGendersAndVerbTables) {
    std::unique_ptr<ImportFile> file = open(GERMAN_VERBS);
    ASSERT_EQ(importAndSave(*file, defaultChoices(*file)).added, 2u);
    reload();
    EXPECT_EQ(collectionText(),
              "card Hund levels 0/0 due 0/0 both -> dog\n"
              "card gehen levels 0/0 due 0/0 both -> to go\n"
              "language English 00000409 articles persons tenses\n"
              "language German 00000407 articles der die das persons ich du er/sie/es wir ihr sie tenses Präsens "
              "Präteritum Futur\n"
              "meaning 1: Hund dog categories:\n"
              "meaning 1: gehen to go categories:\n"
              "word English dog||\n"
              "word English to go||\n"
              "word German Hund|||art der\n"
              "word German gehen|||verb gehe gehst geht gehen  gehen / ging      / werde gehen      /\n");
}

TEST_F(ImportMappingTest, AConjugationFillsOnlyTheTensesAndPersonsTheLanguageHas) {
    // A German of three persons and one tense, without articles.
    auto* language = new Language();
    language->set_name(L"German", true);
    const unsigned german = Language::add(language);
    for (const wchar_t* person : {L"ich", L"du", L"er"}) {
        Person::add(new Person(person, german));
    }
    Tense::add(new Tense(L"Präteritum", german));
    ASSERT_EQ(saveDatabaseTables({}), 0);
    std::unique_ptr<ImportFile> file = open(GERMAN_VERBS);
    ASSERT_EQ(importAndSave(*file, defaultChoices(*file)).added, 2u);
    reload();
    const std::string text = collectionText();
    EXPECT_NE(text.find("word German gehen|||verb ging   /\n"), std::string::npos) << text;
    // The gender's article is added to the language; its persons and tenses stay.
    EXPECT_NE(text.find("language German 00000000 articles der die das persons ich du er tenses Präteritum\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("word German Hund|||art der\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace exchange::test
