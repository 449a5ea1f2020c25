// Export, import into an empty data directory, export again: the same bytes, and the same
// collection, for both formats.
#include <filesystem>

#include "ExchangeTestSupport.h"

namespace exchange::test {
namespace {

class RoundTripTest : public ExchangeTest {
protected:
    unsigned german = 0, english = 0;
    std::vector<unsigned> articles;

    unsigned word(unsigned language, const wchar_t* text, const wchar_t* pronunciation = L"",
                  const wchar_t* mnemonic = L"", int article = -1) {
        auto* record = new Word(text, pronunciation, mnemonic);
        record->setDependency(D_LANGUAGE, language);
        if (article >= 0) {
            record->setDependency(D_ARTICLE, articles[static_cast<std::size_t>(article)]);
        }
        return Word::add(record);
    }

    // A card as the editor makes it: one meaning joining the foreign word and its known words.
    unsigned card(unsigned foreign, std::vector<unsigned> known, unsigned lesson = 0,
                  std::vector<unsigned> categories = {}) {
        auto* record = new Flashcard(true, 0);
        record->setDependency(D_WORD, foreign);
        record->setDependency(D_LESSON, lesson);
        const unsigned id = Flashcard::add(record);
        const unsigned meaning = Meaning::add(new Meaning(1));
        M_W::add(new M_W(meaning, foreign));
        for (unsigned k : known) {
            F_W::add(new F_W(id, k));
            M_W::add(new M_W(meaning, k));
        }
        for (unsigned category : categories) {
            C_M::add(new C_M(category, meaning));
        }
        return id;
    }

    void buildCollection() {
        auto* de = new Language();
        de->set_name(L"German", true);
        de->set_keyboardLocalID("00000407");
        german = Language::add(de);
        auto* en = new Language();
        en->set_name(L"English", true);
        en->set_keyboardLocalID("00000409");
        english = Language::add(en);
        for (const wchar_t* text : {L"der", L"die", L"das"}) {
            articles.push_back(Article::add(new Article(text, german)));
        }
        for (const wchar_t* text : {L"ich", L"du", L"er/sie/es", L"wir", L"ihr", L"sie"}) {
            Person::add(new Person(text, german));
        }
        Tense::add(new Tense(L"Präsens", german));
        Tense::add(new Tense(L"Präteritum", german));
        const unsigned furniture = Category::add(new Category(L"Furniture"));
        const unsigned food = Category::add(new Category(L"Food and drink"));
        const unsigned house = Lesson::add(new Lesson(L"Haus", Lesson::NO_DUE_DATE));
        const unsigned kitchen = Lesson::add(new Lesson(L"Haus::Küche", 20000));

        card(word(german, L"Tisch", L"tɪʃ", L"say \"dish\"", 0), {word(english, L"table"), word(english, L"desk")},
             house, {furniture});
        card(word(german, L"Tür", L"", L"", 1), {word(english, L"door")}, house);
        card(word(german, L"Straße", L"ˈʃtʁaːsə", L"", 1), {word(english, L"street"), word(english, L"road")});
        card(word(german, L"Spaß 😀"), {word(english, L"fun"), word(english, L"naïve joy")}, kitchen, {food, furniture});
        card(word(german, L"Привет"), {word(english, L"שלום")});
        card(word(german, L"#hashtag"), {word(english, L"tab \"here\"")});
        const unsigned sein = word(german, L"sein");
        IrregularVerb* verb = IrregularVerb::createAndAdd(german, sein);
        const wchar_t* forms[2][6] = {{L"bin", L"bist", L"ist", L"sind", L"seid", L"sind"},
                                      {L"war", L"", L"war", L"waren", L"", L""}};
        for (unsigned t = 0; t < 2; ++t) {
            for (unsigned p = 0; p < 6; ++p) {
                verb->addContent(forms[t][p], t, p);
            }
        }
        card(sein, {word(english, L"to be")}, kitchen);
        // Progress is not part of a word list: an imported card starts again.
        const unsigned learned = card(word(german, L"Brot", L"", L"", 2), {word(english, L"bread")}, 0, {food});
        Flashcard::getById(learned)->set_primaryLevel(4, true);
        Flashcard::getById(learned)->set_primaryNextDue(12, true);
        ASSERT_EQ(saveDatabaseTables({}), 0);
    }

    std::string exported(bool kvtml) {
        const std::vector<LanguagePair> pairs = languagePairs();
        EXPECT_FALSE(pairs.empty());
        if (pairs.empty()) {
            return {};
        }
        const ExportSet set = collectExport(pairs.front().foreign, pairs.front().known);
        return kvtml ? writeKvtml(set) : writeDelimited(set);
    }

    // Moves to an empty data directory of its own.
    static void emptyDataDirectory(const std::string& name) {
        resetDatabase();
        std::filesystem::create_directory(name);
        std::filesystem::current_path(name);
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    }
};

TEST_F(RoundTripTest, KvtmlGivesTheSameBytesAndTheSameCollection) {
    buildCollection();
    const std::string first = exported(true);
    const std::string before = collectionText(false);
    emptyDataDirectory("second");
    std::unique_ptr<ImportFile> file = open(first);
    EXPECT_EQ(importAndSave(*file, defaultChoices(*file)).added, 8u);
    reload();
    EXPECT_EQ(exported(true), first);
    EXPECT_EQ(collectionText(false), before);
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        EXPECT_EQ(it->get_primaryLevel(), 0u);
        EXPECT_EQ(it->get_primaryNextDue(), 0);
    }
}

TEST_F(RoundTripTest, DelimitedTextGivesTheSameBytes) {
    buildCollection();
    const std::string first = exported(false);
    EXPECT_NE(first.find("der Tisch\ttable; desk\ttɪʃ\t\"say \"\"dish\"\"\"\tHaus\tFurniture\n"), std::string::npos)
        << first;
    EXPECT_NE(first.find("\"#hashtag\"\t\"tab \"\"here\"\"\"\t"), std::string::npos) << first;
    emptyDataDirectory("second");
    std::unique_ptr<ImportFile> file = open(first);
    ImportChoices choices = defaultChoices(*file);
    choices.foreignLanguage = L"German";
    choices.knownLanguage = L"English";
    EXPECT_EQ(importAndSave(*file, choices).added, 8u);
    reload();
    EXPECT_EQ(exported(false), first);
}

TEST_F(RoundTripTest, APatternVerbIsWrittenWithTheFormsItsPatternMakes) {
    buildCollection();
    auto* pattern = new VerbPattern(2, 6, german, 0);
    const wchar_t* rules[] = {L"/post-2+e", L"/post-2+st", L"/post-2+t", L"", L"/post-2+t", L""};
    for (unsigned p = 0; p < 6; ++p) {
        pattern->addContent(rules[p], 0, p);
    }
    const unsigned patternId = VerbPattern::add(pattern);
    const unsigned spielen = word(german, L"spielen");
    Word::getById(spielen)->setDependency(D_VERBPATTERN, patternId);
    card(spielen, {word(english, L"to play")});
    const std::string kvtml = exported(true);
    EXPECT_NE(kvtml.find("<firstperson>spiele</firstperson>"), std::string::npos) << kvtml;
    EXPECT_NE(kvtml.find("<thirdpersonneutralcommon>spielt</thirdpersonneutralcommon>"), std::string::npos);
    EXPECT_NE(kvtml.find("<firstperson>spielen</firstperson>"), std::string::npos);
}

}  // namespace
}  // namespace exchange::test
