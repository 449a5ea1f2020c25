// The screenshots of the README, made by the real screens on the headless window from a small
// German-English vocabulary a learner could have after a few weeks. scripts/screenshots.sh runs
// this with MERNOLEX_SCREENSHOTS naming docs/screenshots; CTest runs it without, so that the
// screens keep showing what the pictures promise.
//
//   flashcard-editor   a stored card opened from the flashcard menu: das Haus for house and
//                      home, the meanings it uses and their categories
//   practice-verbs     a practice run judging the verb table typed for "machen", one form wrong
//   word-editor        the word editor with "Katze": article, pronunciation, mnemonic, meaning
//   import-preview     an Anki text export about to be imported: the first rows as they will be
//                      stored, the counts and a refused row
//   statistics         the statistics screen on ten weeks of practice of twenty cards: answers
//                      per day, stacked by verdict

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "EditorTest.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiTable.h"
#include "model/C_M.h"
#include "model/F_W.h"
#include "model/AnswerBlock.h"
#include "model/M_W.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeScreen.h"
#include "practice/statePractice.h"
#include "screens/ImportScreen.h"
#include "screens/stateFlashcardMenu.h"
#include "screens/stateImport.h"
#include "screens/DueDate.h"
#include "screens/stateWord.h"
#include "states/ScreenRegistry.h"
#include "states/WelcomeState.h"
#include "statistics/Plots.h"
#include "statistics/StatisticsState.h"

namespace {

class ReadmeScreenshots : public screens::test::EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        setPracticeSeed(7);
        buildVocabulary();
    }
    void TearDown() override {
        setPracticeSeed(std::nullopt);
        EditorTest::TearDown();
    }

    // German with its grammar and a pattern for verbs in -en, English, words with meanings in
    // three categories, and a card for each German word; only "machen" is due today.
    void buildVocabulary() {
        german = modeltest::addLanguage(L"German");
        Language::getById(german)->set_keyboardLocalID("00000407");
        english = modeltest::addLanguage(L"English");
        Language::getById(english)->set_keyboardLocalID("00000409");
        for (const wchar_t* article : {L"der", L"die", L"das"}) {
            Article::add(new Article(article, german));
        }
        for (const wchar_t* person : {L"ich", L"du", L"er/sie/es", L"wir", L"ihr", L"sie"}) {
            Person::add(new Person(person, german));
        }
        for (const wchar_t* tense : {L"Präsens", L"Präteritum"}) {
            Tense::add(new Tense(tense, german));
        }
        auto* enVerbs = new VerbPattern(2, 6, german, 0);
        ASSERT_TRUE(enVerbs->initPattern({{L"/post-2+e", L"/post-2+te"},
                                          {L"/post-2+st", L"/post-2+test"},
                                          {L"/post-2+t", L"/post-2+te"},
                                          {L"/post-2+en", L"/post-2+ten"},
                                          {L"/post-2+t", L"/post-2+tet"},
                                          {L"/post-2+en", L"/post-2+ten"}}));
        const unsigned pattern = VerbPattern::add(enVerbs);

        const unsigned home = Category::add(new Category(L"Home"));
        const unsigned animals = Category::add(new Category(L"Animals"));
        const unsigned everyday = Category::add(new Category(L"Everyday verbs"));
        const unsigned haus = germanWord(L"Haus", L"das", L"haʊ̯s", L"");
        const unsigned katze = germanWord(L"Katze", L"die", L"ˈkat͡sə", L"cats scratch");
        const unsigned hund = germanWord(L"Hund", L"der", L"hʊnt", L"");
        const unsigned machen = germanWord(L"machen", nullptr, L"ˈmaxn̩", L"");
        Word::getById(machen)->setDependency(D_VERBPATTERN, pattern);
        const unsigned house = modeltest::addWord(english, L"house");
        const unsigned homeWord = modeltest::addWord(english, L"home");
        const unsigned cat = modeltest::addWord(english, L"cat");
        const unsigned dog = modeltest::addWord(english, L"dog");
        const unsigned make = modeltest::addWord(english, L"make");
        const unsigned doWord = modeltest::addWord(english, L"do");
        meaning(1, {haus, house}, {home});
        meaning(2, {haus, homeWord}, {home});
        meaning(1, {katze, cat}, {animals});
        meaning(1, {hund, dog}, {animals});
        meaning(1, {machen, make, doWord}, {everyday});

        card(haus, {house, homeWord}, 3, 12);
        card(katze, {cat}, 2, 3);
        card(hund, {dog}, 1, 1);
        card(machen, {make}, 1, 0);
        saveEverything();
    }
    unsigned germanWord(const wchar_t* text, const wchar_t* article, const wchar_t* pronunciation,
                        const wchar_t* mnemonic) const {
        const unsigned id = modeltest::addWord(german, text);
        Word* word = Word::getById(id);
        word->set_ipaPronounciation(pronunciation, true);
        word->set_mnemonic(mnemonic, true);
        for (auto it = Article::begin(); article != nullptr && it != Article::end(); ++it) {
            if (std::wstring(it->get_text()) == article) {
                word->setDependency(D_ARTICLE, it->getId());
            }
        }
        return id;
    }
    static void meaning(int niveau, std::initializer_list<unsigned> words, std::initializer_list<unsigned> categories) {
        const unsigned id = Meaning::add(new Meaning(niveau));
        for (unsigned word : words) {
            M_W::add(new M_W(id, word));
        }
        for (unsigned category : categories) {
            C_M::add(new C_M(category, id));
        }
    }
    static void card(unsigned foreign, std::initializer_list<unsigned> known, unsigned level, int due) {
        auto* flashcard = new Flashcard(false, due);
        flashcard->setDependency(D_WORD, foreign);
        flashcard->set_primaryLevel(level, true);
        const unsigned id = Flashcard::add(flashcard);
        for (unsigned word : known) {
            F_W::add(new F_W(id, word));
        }
    }

    // Lets the window handle the messages that follow a press, as the real one does, until no
    // update waits (a stored card loads through several).
    void pressAndSettle(std::wstring_view caption) {
        pressButton(caption);
        for (int round = 0; round < 5 && curState != nullptr && curState->updateQueue != nullptr; ++round) {
            repaintAll();
        }
        repaintAll();
    }

    void typeIntoVerbCell(unsigned tense, unsigned person, std::wstring_view form) {
        const GuiTableCell* cell = practiceScreen.tableVerb->getCell(static_cast<int>(person) + 1,
                                                                     static_cast<int>(tense) + 1);
        ASSERT_NE(cell, nullptr);
        click(cell->getX() + cell->getWidth() / 2, cell->getY() + cell->getHeight() / 2);
        type(form);
        paint();
    }

    unsigned german = 0;
    unsigned english = 0;
};

TEST_F(ReadmeScreenshots, FlashcardEditor) {
    show(createFlashcardMenuState());
    chooseEntry(L"Haus (3|12)");
    pressAndSettle(L"Edit Flashcard");
    for (const wchar_t* shown : {L"Level 3", L"house", L"home", L"das", L"Home", L"Haus, home"}) {
        EXPECT_TRUE(painted(shown));
    }
    screenshot("flashcard-editor");
}

TEST_F(ReadmeScreenshots, PracticeVerbs) {
    show(createPracticeState());
    pressButton(L"Start");
    ASSERT_EQ(page(), 16);
    click(practiceScreen.textfieldFWord->getX() + 5, practiceScreen.textfieldFWord->getY() + 5);
    type(L"machen");
    pressButton(L"Next");
    const std::vector<std::wstring> present = {L"mache", L"machst", L"macht", L"machen", L"macht", L"machen"};
    const std::vector<std::wstring> past = {L"machte", L"machtest", L"machte", L"machten", L"machtet", L"machten"};
    for (unsigned person = 0; person < present.size(); ++person) {
        typeIntoVerbCell(0, person, present[person]);
        typeIntoVerbCell(1, person, person == 1 ? L"machtst" : past[person]);
    }
    pressButton(L"Submit");
    pressButton(L"Next");
    repaintAll();
    for (const wchar_t* shown : {L"machtst", L"Präteritum", L"er/sie/es"}) {
        EXPECT_TRUE(painted(shown));
    }
    screenshot("practice-verbs");
}

// Sixteen more nouns with their cards, then ten weeks of practice of all twenty cards: most days
// some answers (more right as the weeks go on), a few days off, and a run today.
TEST_F(ReadmeScreenshots, Statistics) {
    const std::int64_t now = static_cast<std::int64_t>(dayNumberOf(CalendarDate{2026, 3, 15})) * 86400 + 17 * 3600;
    static std::int64_t clockNow = 0;
    clockNow = now;
    Practice_container::setClock([] { return static_cast<std::time_t>(clockNow); });
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> nouns{
        {L"Baum", L"tree"},    {L"Tisch", L"table"}, {L"Stuhl", L"chair"},  {L"Buch", L"book"},
        {L"Fenster", L"window"}, {L"Tür", L"door"},  {L"Straße", L"street"}, {L"Stadt", L"town"},
        {L"Wasser", L"water"}, {L"Brot", L"bread"},  {L"Milch", L"milk"},   {L"Apfel", L"apple"},
        {L"Vogel", L"bird"},   {L"Pferd", L"horse"}, {L"Schule", L"school"}, {L"Zeit", L"time"}};
    for (std::size_t i = 0; i < nouns.size(); ++i) {
        card(germanWord(nouns[i].first, i % 3 == 0 ? L"der" : i % 3 == 1 ? L"die" : L"das", L"", L""),
             {modeltest::addWord(english, nouns[i].second)}, static_cast<unsigned>(i % 6), static_cast<int>(i % 9));
    }
    saveEverything();
    std::mt19937 random(11);
    const std::int32_t today = utcDayOf(now);
    for (std::int32_t back = 69; back >= 0; --back) {
        if (random() % 7 == 0 && back != 0) {
            continue;  // a day off
        }
        const unsigned answers = 8 + random() % 25;
        const double rightShare = 0.55 + 0.35 * (69 - back) / 69.0;
        for (unsigned i = 0; i < answers; ++i) {
            Answer answer;
            answer.card = 1 + random() % Flashcard::elementTree().size();
            answer.language = german;
            answer.time = static_cast<std::int64_t>(today - back) * 86400 + 15 * 3600 + i * 40;
            const double roll = std::uniform_real_distribution<double>(0, 1)(random);
            answer.verdict = roll < rightShare ? Verdict::Correct : roll < rightShare + 0.12 ? Verdict::Minor : Verdict::Wrong;
            answer.firstTry = i % 3 != 2;
            answer.article = random() % 2 == 0 ? ArticleJudgement::Right : ArticleJudgement::Wrong;
            answer.articleId = 1 + random() % 3;
            AnswerBlock::record(answer);
        }
    }
    saveEverything();

    linkScreen(LinkedScreen::Statistics, createStatisticsState);
    show(createWelcomeState());
    pressAndSettle(interfaceText2(String2_STATISTICS));
    pressAndSettle(interfaceText2(plotCaption(PlotKind::Answers)));
    for (const wchar_t* shown : {L"Answers per day, last 90 days", L"Correct", L"Today"}) {
        EXPECT_TRUE(painted(shown));
    }
    screenshot("statistics");
    Practice_container::setClock(nullptr);
}

TEST_F(ReadmeScreenshots, WordEditor) {
    show(createWordState());
    chooseEntry(L"Katze");
    pressAndSettle(L"Edit Word");
    for (const wchar_t* shown : {L"German", L"die", L"Animals", L"Katze, cat"}) {
        EXPECT_TRUE(painted(shown));
    }
    screenshot("word-editor");
}

TEST_F(ReadmeScreenshots, ImportPreview) {
    writeFile("kitchen.txt",
              "#separator:tab\n#html:true\n#columns:Front\tBack\tPronunciation\tDeck\tTags\n#deck column:4\n"
              "#tags column:5\n"
              "der Löffel\tspoon\tˈlœfl̩\tKitchen\thousehold\n"
              "die Gabel\tfork\tˈɡaːbl̩\tKitchen\thousehold\n"
              "das Messer\tknife<br>blade\tˈmɛsɐ\tKitchen\thousehold\n"
              "der Teller\tplate\tˈtɛlɐ\tKitchen\thousehold\n"
              "die Tasse\tcup; mug\tˈtasə\tKitchen\thousehold\n"
              "das Haus\tbuilding\thaʊ̯s\tKitchen\t\n"
              "der Herd\tstove; cooker\theːɐ̯t\tKitchen\thousehold\n"
              "\tsink\t\tKitchen\t\n"
              "die Gabel\tpitchfork\t\tKitchen\t\n");
    window->dialogs().answerFileDialog((dir() / "kitchen.txt").string());
    show(createImportState());
    paint();
    import_screen::screen.splitArticles->setCheck(true);  // "der Löffel": article der, word Löffel
    paint();
    for (int i = 0; i < 100 && import_screen::screen.phase == import_screen::Phase::Previewing; ++i) {
        paint();
    }
    repaintAll();
    for (const wchar_t* shown : {L"Line 13: no foreign word", L"6:  der Löffel  \u2192  spoon  [ˈlœfl̩]  \u00B7 Kitchen  \u00B7 new",
                               L"11:  das Haus  \u2192  building  [haʊ̯s]  \u00B7 Kitchen  \u00B7 update"}) {
        EXPECT_TRUE(painted(shown));
    }
    screenshot("import-preview");
}

}  // namespace
