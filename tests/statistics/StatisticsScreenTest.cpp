// The statistics screen as a learner works it: reached from the welcome screen and from the end of
// a practice run, every plot and its table, the filters, a hard card opening the flashcard editor,
// the empty states, and "Save picture". Every page is painted on the headless window
// (MERNOLEX_SCREENSHOTS=<dir> keeps them).
#include <gtest/gtest.h>

#include <filesystem>

#include "model/AnswerBlock.h"
#include "model/InterfaceText.h"
#include "practice/PracticeFixture.h"
#include "practice/PracticePages.h"
#include "screens/stateFlashcard.h"
#include "states/ScreenRegistry.h"
#include "states/WelcomeState.h"
#include "statistics/DayLabels.h"
#include "statistics/StatisticsState.h"
#include "statistics/TableView.h"

namespace {

using namespace practicetest;
namespace fs = std::filesystem;

const std::int32_t TODAY = utcDayOf(1700000000);

class StatisticsScreenTest : public PracticeTest {
protected:
    void SetUp() override {
        PracticeTest::SetUp();
        linkScreen(LinkedScreen::Practice, createPracticeState);
        linkScreen(LinkedScreen::Statistics, createStatisticsState);
    }

    void openFromWelcome() {
        show(createWelcomeState());
        pressButton(interfaceText2(String2_STATISTICS));
        paint();
        ASSERT_NE(table(), nullptr) << "not on the statistics screen";
    }
    static TableView* table() { return getElementByTag<TableView>(TAG_STATISTICS_TABLE, curState); }
    static GuiSelectionfield* filter(const char* tag) { return getElementByTag<GuiSelectionfield>(tag, curState); }

    void showPlot(PlotKind plot) {
        pressButton(interfaceText2(plotCaption(plot)));
        repaintAll();
    }
    void showTable() {
        pressButton(interfaceText2(String2_SHOW_TABLE));
        repaintAll();
        ASSERT_EQ(curState->condition, STATISTICS_TABLE_PAGE);
    }
    void showPlots() {
        pressButton(interfaceText2(String2_SHOW_PLOTS));
        repaintAll();
    }
    // Unfolds a filter and clicks the entry with that text.
    void choose(const char* tag, const std::wstring& entry) {
        GuiSelectionfield* field = filter(tag);
        click(field->getX() + field->getWidth() / 2, field->getY() + field->getHeight() / 2);
        paint();
        ASSERT_TRUE(clickCaption(entry)) << "no entry shown";
        paint();
    }
    // Some history of the vocabulary's cards: chien wrong three times, chat once, on the last
    // days; articles and a verb table judged.
    void recordHistory(unsigned chien, unsigned chat) {
        for (int i = 0; i < 3; ++i) {
            Answer wrong;
            wrong.card = chien;
            wrong.language = v.french;
            wrong.time = 1700000000 - 86400 * i;
            wrong.verdict = Verdict::Wrong;
            wrong.firstTry = true;
            wrong.article = ArticleJudgement::Wrong;
            wrong.articleId = v.le;
            AnswerBlock::record(wrong);
        }
        Answer once;
        once.card = chat;
        once.language = v.french;
        once.time = 1700000000 - 3600;
        once.verdict = Verdict::Wrong;
        once.verbLayout = VerbLayout{{1, 2}, {1, 2}};  // présent, futur; je, tu
        once.cellsRight = {true, true, false, true};
        AnswerBlock::record(once);
        ASSERT_EQ(saveDatabaseExternal(1, D_ANSWER), 0);
    }
    std::size_t boxes() const { return window->dialogs().messageBoxes().size(); }
};

TEST_F(StatisticsScreenTest, APractiseRunShowsInTheStatisticsAndARestartShowsTheSame) {
    card(v.chien, {v.dog}, false, -1);
    card(v.maison, {v.house});
    show(createWelcomeState());
    pressButton(interfaceText(String_PRACTICE));
    pressButton(L"Start");
    // The first card answered with nonsense, which the learner overrides as a minor error; then
    // every card right.
    type(L"nonsense");
    while (buttonCaptioned(L"Submit") == nullptr) {
        pressButton(L"Next");
    }
    pressButton(L"Submit");
    for (int guard = 0; guard < 10 && buttonCaptioned(interfaceText(String_MINOR)) == nullptr; ++guard) {
        pressButton(L"Next");
    }
    pressButton(interfaceText(String_MINOR));
    for (int guard = 0; guard < 20 && page() != practicepage::ALL_DONE; ++guard) {
        answerHeadCorrectly();
        pressButton(L"Continue");
    }
    ASSERT_EQ(page(), practicepage::ALL_DONE);
    EXPECT_EQ(AnswerBlock::totalAnswers(), 3u);

    pressButton(interfaceText2(String2_STATISTICS));
    repaintAll();
    ASSERT_NE(table(), nullptr);
    showPlot(PlotKind::Answers);
    screenshot("statistics-after-run");
    showTable();
    const std::vector<std::wstring> todays = table()->table().rows.back();
    EXPECT_EQ(todays, (std::vector<std::wstring>{isoDate(TODAY), L"2", L"1", L"0", L"3"}));
    showPlot(PlotKind::FirstTry);
    const std::vector<std::wstring> week = table()->table().rows.back();
    EXPECT_EQ(week, (std::vector<std::wstring>{isoDate(mondayOf(TODAY)), L"2", L"1", L"50 %"}));

    // Back to the practice screen's last page, then a restart: the same figures from disk.
    pressButton(interfaceText(String_BACK_SYMBOL));
    EXPECT_EQ(page(), practicepage::ALL_DONE);
    stateMachineReset();
    reloadDatabase();
    openFromWelcome();
    showTable();
    showPlot(PlotKind::Answers);
    EXPECT_EQ(table()->table().rows.back(), todays);
    showPlot(PlotKind::FirstTry);
    EXPECT_EQ(table()->table().rows.back(), week);
}

TEST_F(StatisticsScreenTest, EveryPlotPaintsItsFiguresAndTheTableTheirNumbers) {
    const unsigned chien = card(v.chien, {v.dog}, true, -2);
    const unsigned chat = card(v.chat, {v.cat}, false, 4);
    card(v.maison, {v.house}, false, 31);
    recordHistory(chien, chat);
    openFromWelcome();
    EXPECT_TRUE(painted(interfaceText2(String2_TITLE_FORECAST)));
    screenshot("statistics-forecast");

    for (int i = 0; i < PLOT_KINDS; ++i) {
        const auto plot = static_cast<PlotKind>(i);
        SCOPED_TRACE(i);
        showPlot(plot);
        EXPECT_TRUE(painted(interfaceText2(plotTitle(plot))));
        screenshot("statistics-plot-" + std::to_string(i));
    }
    showPlot(PlotKind::Calendar);
    EXPECT_TRUE(painted(fillIn(interfaceText2(String2_STREAK), 3u)));

    showTable();
    screenshot("statistics-table-calendar");
    showPlot(PlotKind::Forecast);  // the table follows the plot chosen
    EXPECT_EQ(table()->visibleRows()[0], (std::vector<std::wstring>{isoDate(TODAY), L"2"}));
    EXPECT_TRUE(painted(isoDate(TODAY)));
    click(table()->getX() + 20, table()->getY() + TableView::HEADER_HEIGHT + 5);  // a row: the focus
    key(platform::key::Next);
    repaintAll();
    EXPECT_EQ(table()->page(), 1u);
    EXPECT_TRUE(painted(fillIn(interfaceText2(String2_PAGE), 2u, 3u)));
    showPlot(PlotKind::Articles);
    EXPECT_EQ(table()->table().rows[0], (std::vector<std::wstring>{L"le (French)", L"3", L"0", L"0 %"}));
    showPlot(PlotKind::Verbs);
    EXPECT_EQ(table()->table().rows.size(), 4u);  // both tenses, both persons (the grid's ids)
    screenshot("statistics-table-verbs");
    showPlots();
    EXPECT_EQ(curState->condition, STATISTICS_PLOT_PAGE);
    EXPECT_TRUE(painted(interfaceText2(String2_TITLE_VERBS)));
}

TEST_F(StatisticsScreenTest, TheFiltersNarrowTheFiguresToALanguageAndALesson) {
    const unsigned chien = card(v.chien, {v.dog});
    const unsigned chat = card(v.chat, {v.cat});
    Flashcard::getById(chat)->setDependency(D_LESSON, v.basics);
    saveDatabase(D_ENDTAG);
    recordHistory(chien, chat);
    openFromWelcome();
    showTable();
    EXPECT_EQ(table()->table().rows[0][1], L"2");  // both cards due today

    choose(TAG_STATISTICS_LESSON, L"Basics");
    EXPECT_EQ(table()->table().rows[0][1], L"1");
    choose(TAG_STATISTICS_LESSON, interfaceText(String_N_A));
    EXPECT_EQ(table()->table().rows[0][1], L"1");
    choose(TAG_STATISTICS_LESSON, interfaceText2(String2_ALL_LESSONS));
    choose(TAG_STATISTICS_LANGUAGE, L"English");
    repaintAll();
    EXPECT_TRUE(painted(interfaceText2(String2_NO_CARDS)));
    screenshot("statistics-filtered-empty");
}

TEST_F(StatisticsScreenTest, WithoutCardsOrAnswersEveryPlotSaysWhatIsMissing) {
    openFromWelcome();
    const std::vector<std::pair<PlotKind, framew_strings2>> expected{
        {PlotKind::Forecast, String2_NO_CARDS},  {PlotKind::Levels, String2_NO_CARDS},
        {PlotKind::Answers, String2_NO_ANSWERS}, {PlotKind::FirstTry, String2_NO_ANSWERS},
        {PlotKind::Articles, String2_NO_ANSWERS}, {PlotKind::Verbs, String2_NO_ANSWERS},
        {PlotKind::Hardest, String2_NO_ANSWERS}, {PlotKind::Calendar, String2_NO_ANSWERS},
    };
    for (const auto& [plot, message] : expected) {
        SCOPED_TRACE(static_cast<int>(plot));
        showPlot(plot);
        EXPECT_TRUE(painted(interfaceText2(message)));
    }
    screenshot("statistics-empty-calendar");
    showTable();
    EXPECT_EQ(table()->table().rows, (std::vector<std::vector<std::wstring>>{{interfaceText2(String2_NO_ANSWERS)}}));

    // One day of answers: the week's trend says it needs more weeks.
    Answer one;
    one.card = 1;
    one.language = v.french;
    one.time = 1700000000;
    one.firstTry = true;
    AnswerBlock::record(one);
    showPlots();
    pressButton(interfaceText(String_BACK_SYMBOL));
    pressButton(interfaceText2(String2_STATISTICS));
    showPlot(PlotKind::FirstTry);
    EXPECT_TRUE(painted(interfaceText2(String2_ONE_WEEK_ONLY)));
    showPlot(PlotKind::Articles);
    EXPECT_TRUE(painted(interfaceText2(String2_NO_ARTICLES_ASKED)));
    showPlot(PlotKind::Hardest);
    EXPECT_TRUE(painted(interfaceText2(String2_NO_WRONG_ANSWERS)));
    EXPECT_TRUE(painted(fillIn(interfaceText2(String2_DELETED_CARDS), 1u, 0u)));  // card 1 is no card
}

TEST_F(StatisticsScreenTest, AHardCardOpensTheFlashcardEditorAndTheScreenComesBackUpToDate) {
    const unsigned chien = card(v.chien, {v.dog});
    const unsigned chat = card(v.chat, {v.cat});
    recordHistory(chien, chat);
    openFromWelcome();
    showPlot(PlotKind::Hardest);
    screenshot("statistics-hardest");
    // The first row: chien, three wrong answers.
    const PlotFrame area = panelArea(PlotFrame{150, 80, 840, 410});
    const PlotFrame row = hardestRow(area, 0);
    click(row.x + 20, row.y + row.height / 2);
    paint();
    ASSERT_EQ(editFlashcard, Flashcard::getById(chien));
    EXPECT_EQ(table(), nullptr);
    for (int round = 0; round < 5 && curState->updateQueue != nullptr; ++round) {
        repaintAll();  // the card loads through several updates
    }
    repaintAll();
    EXPECT_TRUE(painted(L"chien, toutou, dog"));  // the card's meaning

    // Meanwhile chat is answered wrong more often; Close returns to figures that know it.
    for (int i = 0; i < 4; ++i) {
        Answer wrong;
        wrong.card = chat;
        wrong.language = v.french;
        wrong.time = 1700000000;
        wrong.verdict = Verdict::Wrong;
        AnswerBlock::record(wrong);
    }
    pressButton(interfaceText(String_CLOSE));
    repaintAll();
    ASSERT_NE(table(), nullptr);
    showTable();
    EXPECT_EQ(table()->table().rows[0], (std::vector<std::wstring>{L"chat", L"cat", L"5"}));
    EXPECT_EQ(table()->table().rows[1][0], L"chien");
    // A row of the table opens its card as well.
    click(table()->getX() + 20, table()->getY() + TableView::HEADER_HEIGHT + 5);
    paint();
    EXPECT_EQ(editFlashcard, Flashcard::getById(chat));
}

TEST_F(StatisticsScreenTest, SavePictureWritesPngAndSvgToTheChosenFileAndSaysWhenItCannot) {
    const unsigned chien = card(v.chien, {v.dog});
    recordHistory(chien, chien);
    openFromWelcome();
    showPlot(PlotKind::Answers);
    const std::string here = fs::current_path().string();
    window->dialogs().answerFileDialog(here + "/answers.png");
    window->dialogs().answerFileDialog(here + "/answers.SVG");
    window->dialogs().answerFileDialog(here + "/without-extension");
    window->dialogs().answerFileDialog(std::nullopt);
    window->dialogs().answerFileDialog(here + "/no/such/folder/answers.png");
    for (int i = 0; i < 5; ++i) {
        pressButton(interfaceText2(String2_SAVE_PICTURE));
    }
    const auto& asked = window->dialogs().fileDialogs();
    ASSERT_EQ(asked.size(), 5u);
    EXPECT_TRUE(asked[0].saving);
    EXPECT_EQ(asked[0].suggestedName, "statistics-answers.png");

    const std::string png = readFile(here + "/answers.png");
    ASSERT_GT(png.size(), 1000u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    const std::string svg = readFile(here + "/answers.SVG");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_TRUE(fs::exists(here + "/without-extension.png"));
    // That name again: it asks before it replaces the picture, and No keeps it.
    writeFile(here + "/without-extension.png", "kept");
    window->dialogs().answerFileDialog(here + "/without-extension");
    window->dialogs().answerMessageBox(platform::MessageResult::No);
    pressButton(interfaceText2(String2_SAVE_PICTURE));
    EXPECT_EQ(readFile(here + "/without-extension.png"), "kept");
    EXPECT_FALSE(fs::exists(here + "/no"));
    ASSERT_EQ(boxes(), 2u);
    EXPECT_NE(window->dialogs().messageBoxes()[0].text.find(L"no/such/folder"), std::wstring::npos);
    for (const auto& entry : fs::directory_iterator(here)) {
        EXPECT_NE(entry.path().extension(), ".tmp");
    }
    // The picture is the plot at twice its size: 1680 x 820 pixels (PNG header, big-endian).
    auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 1680u);
    EXPECT_EQ(be32(20), 820u);
}

}  // namespace
