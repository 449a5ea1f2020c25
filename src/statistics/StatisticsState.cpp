#include "statistics/StatisticsState.h"

#include "gui/GuiBackButton.h"
#include "gui/GuiButton.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/Answer.h"
#include "model/Flashcard.h"
#include "model/InterfaceText.h"
#include "model/Language.h"
#include "model/Lesson.h"
#include "model/ui/SelectionItems.h"
#include "practice/Practice_container.h"
#include "screens/stateFlashcard.h"
#include "states/UpdateTable.h"
#include "statistics/PlotExport.h"
#include "statistics/PlotTables.h"
#include "statistics/PlotView.h"
#include "statistics/TableView.h"

namespace {

constexpr const char* UPDATE_INIT = "INIT";
constexpr const char* UPDATE_FILTER = "FILTER";
constexpr const char* UPDATE_VIEW = "TOGGLE_VIEW";
constexpr const char* UPDATE_SAVE_PICTURE = "SAVE_PICTURE";
constexpr const char* UPDATE_OPEN_CARD = "OPEN_CARD";
constexpr const char* UPDATE_REFRESH = "REFRESH";
constexpr const char* const UPDATE_PLOT[PLOT_KINDS] = {"PLOT_0", "PLOT_1", "PLOT_2", "PLOT_3",
                                                       "PLOT_4", "PLOT_5", "PLOT_6", "PLOT_7"};

constexpr int FILTER_Y = 55;
constexpr int PLOT_BUTTON_X = 72;
constexpr int FIRST_PLOT_BUTTON_Y = 110;
constexpr int PLOT_BUTTON_STEP = 36;
constexpr int VIEW_X = 150;
constexpr int VIEW_Y = 80;

// The figures the screen shows; the plot and the table point at them.
Statistics figures;
PlotKind shownPlot = PlotKind::Forecast;
std::uint32_t cardToOpen = 0;

template <typename Element>
Element* onScreen(const char* tag) {
    return getElementByTag<Element>(tag, curState);
}

StatisticsFilter chosenFilter() {
    StatisticsFilter filter;
    if (const auto* language = onScreen<GuiSelectionfield>(TAG_STATISTICS_LANGUAGE)) {
        filter.language = language->getActiveId();
    }
    if (const auto* lesson = onScreen<GuiSelectionfield>(TAG_STATISTICS_LESSON)) {
        if (lesson->getNumberOfCurrentElements() > 0 && lesson->getActiveId() != ALL_LESSONS_ID) {
            filter.lesson = lesson->getActiveId();
        }
    }
    return filter;
}

void showFigures() {
    if (auto* plot = onScreen<PlotView>(TAG_STATISTICS_PLOT)) {
        plot->show(shownPlot, &figures);
    }
    if (auto* table = onScreen<TableView>(TAG_STATISTICS_TABLE)) {
        table->setTable(tableOf(shownPlot, figures));
    }
}

void recompute() {
    figures = computeStatistics(chosenFilter(), utcDayOf(static_cast<std::int64_t>(Practice_container::now())));
    showFigures();
}

// Refilling a filter changes what it shows; the figures are worked out once, afterwards.
void fillFilters() {
    if (auto* language = onScreen<GuiSelectionfield>(TAG_STATISTICS_LANGUAGE)) {
        language->unsetSpecFuncs();
        const unsigned kept = language->getActiveId();
        language->clearField();
        modelui::addEntry(*language, interfaceText(String_ALL_LANGUAGES), StatisticsFilter::ALL_LANGUAGES);
        Language::prepareSelection(language);
        language->setActiveToId(kept);
        language->setSpecUpdate(UPDATE_FILTER);
    }
    if (auto* lesson = onScreen<GuiSelectionfield>(TAG_STATISTICS_LESSON)) {
        lesson->unsetSpecFuncs();
        const unsigned kept = lesson->getNumberOfCurrentElements() > 0 ? lesson->getActiveId() : ALL_LESSONS_ID;
        lesson->clearField();
        modelui::addEntry(*lesson, interfaceText2(String2_ALL_LESSONS), ALL_LESSONS_ID);
        modelui::addEntry(*lesson, interfaceText(String_N_A), 0);
        for (auto it = Lesson::begin(); it != Lesson::end(); ++it) {
            modelui::addEntry(*lesson, it->get_title(), it->getId());
        }
        lesson->setActiveToId(kept);
        lesson->setSpecUpdate(UPDATE_FILTER);
    }
}

void init() {
    fillFilters();
    recompute();
}

// The flashcard editor it opened returned: the card may have changed, or gone, and a lesson or
// language with it.
void refresh() { init(); }

template <int Plot>
void choosePlot() {
    shownPlot = static_cast<PlotKind>(Plot);
    showFigures();
}

void toggleView() {
    const bool toTable = curState->condition != STATISTICS_TABLE_PAGE;
    nextCondition = toTable ? STATISTICS_TABLE_PAGE : STATISTICS_PLOT_PAGE;
    if (auto* button = onScreen<GuiButton>(TAG_STATISTICS_VIEW)) {
        button->setText(interfaceText2(toTable ? String2_SHOW_PLOTS : String2_SHOW_TABLE));
    }
}

void savePicture() { savePlotPicture(shownPlot, figures); }

// Elements only ask: the switch waits for the screen's update.
void requestCard(std::uint32_t card) {
    cardToOpen = card;
    addUpdate(UPDATE_OPEN_CARD, curState);
}

// The editor is stacked on this screen; the REFRESH queued here works the figures out again when
// it returns.
void openCard() {
    Flashcard* card = Flashcard::getById(cardToOpen);
    if (card == nullptr) {
        return;
    }
    editFlashcard = card;
    State* editor = createFlashcardState();
    addUpdate(UPDATE_EDIT_FLASHCARD, editor);
    addUpdate(UPDATE_REFRESH, curState);
    switchToState(editor);
}

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_INIT, init},
    {UPDATE_FILTER, recompute},
    {UPDATE_REFRESH, refresh},
    {UPDATE_VIEW, toggleView},
    {UPDATE_SAVE_PICTURE, savePicture},
    {UPDATE_OPEN_CARD, openCard},
    {"PLOT_0", choosePlot<0>},
    {"PLOT_1", choosePlot<1>},
    {"PLOT_2", choosePlot<2>},
    {"PLOT_3", choosePlot<3>},
    {"PLOT_4", choosePlot<4>},
    {"PLOT_5", choosePlot<5>},
    {"PLOT_6", choosePlot<6>},
    {"PLOT_7", choosePlot<7>},
};

void update(const char* tag) { dispatchUpdate(updateHandlers, tag); }

GuiSelectionfield* addFilter(int centerX, const char* tag) {
    auto* field = addConTagedElTState(new GuiSelectionfield(centerX, FILTER_Y, 190, 30), tag);
    field->setSpecUpdate(UPDATE_FILTER);
    return field;
}

void addControls() {
    addConditionElementToState(new GuiText(interfaceText(String_LANGUAGE), 60, FILTER_Y, 100, 30, FONT1, TEXT_CENTRE));
    addFilter(215, TAG_STATISTICS_LANGUAGE);
    addConditionElementToState(new GuiText(interfaceText(String_LESSON), 375, FILTER_Y, 100, 30, FONT1, TEXT_CENTRE));
    addFilter(530, TAG_STATISTICS_LESSON);
    addConTagedElTState(new GuiButton(BUTTON3, 720, FILTER_Y, interfaceText2(String2_SHOW_TABLE), UPDATE_VIEW),
                        TAG_STATISTICS_VIEW);
    addConditionElementToState(
        new GuiButton(BUTTON3, 870, FILTER_Y, interfaceText2(String2_SAVE_PICTURE), UPDATE_SAVE_PICTURE));
    for (int i = 0; i < PLOT_KINDS; ++i) {
        addConditionElementToState(new GuiButton(BUTTON3, PLOT_BUTTON_X, FIRST_PLOT_BUTTON_Y + PLOT_BUTTON_STEP * i,
                                                 interfaceText2(plotCaption(static_cast<PlotKind>(i))), UPDATE_PLOT[i]));
    }
}

}  // namespace

State* createStatisticsState() {
    State* state = createEmptyState(interfaceText2(String2_STATISTICS));
    setConditional(state, STATISTICS_PLOT_PAGE | STATISTICS_TABLE_PAGE);
    addControls();
    setConditional(state, STATISTICS_PLOT_PAGE);
    auto* plot = addConTagedElTState(new PlotView(VIEW_X, VIEW_Y, PLOT_WIDTH, PLOT_HEIGHT, STATISTICS_PLOT_PAGE),
                                     TAG_STATISTICS_PLOT);
    plot->setOpenCard(requestCard);
    setConditional(state, STATISTICS_TABLE_PAGE);
    auto* table = addConTagedElTState(new TableView(VIEW_X, VIEW_Y, PLOT_WIDTH, PLOT_HEIGHT, STATISTICS_TABLE_PAGE),
                                      TAG_STATISTICS_TABLE);
    table->setOpenCard(requestCard);
    setConditional(state, STATISTICS_PLOT_PAGE | STATISTICS_TABLE_PAGE);
    addConditionElementToState(new GuiBackButton());
    shownPlot = PlotKind::Forecast;
    state->traceback = TRACEBACK_LINE;
    state->condition = STATISTICS_PLOT_PAGE;
    state->updateFunc = update;
    addUpdate(UPDATE_INIT, state);
    return state;
}
