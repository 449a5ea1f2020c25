#include "statistics/Plots.h"

namespace {

struct PlotTexts {
    framew_strings2 caption;
    framew_strings2 title;
    void (*paint)(const Statistics&, const PlotFrame&);
};

const PlotTexts& textsOf(PlotKind kind) {
    static const PlotTexts plots[PLOT_KINDS] = {
        {String2_PLOT_FORECAST, String2_TITLE_FORECAST, paintForecast},
        {String2_PLOT_LEVELS, String2_TITLE_LEVELS, paintLevels},
        {String2_PLOT_ANSWERS, String2_TITLE_ANSWERS, paintAnswers},
        {String2_PLOT_FIRST_TRY, String2_TITLE_FIRST_TRY, paintFirstTry},
        {String2_PLOT_ARTICLES, String2_TITLE_ARTICLES, paintArticles},
        {String2_PLOT_VERBS, String2_TITLE_VERBS, paintVerbs},
        {String2_PLOT_HARDEST, String2_TITLE_HARDEST, paintHardest},
        {String2_PLOT_CALENDAR, String2_TITLE_CALENDAR, paintCalendar},
    };
    const int index = static_cast<int>(kind);
    return plots[index >= 0 && index < PLOT_KINDS ? index : 0];
}

}  // namespace

framew_strings2 plotCaption(PlotKind kind) { return textsOf(kind).caption; }

framew_strings2 plotTitle(PlotKind kind) { return textsOf(kind).title; }

void paintPlot(PlotKind kind, const Statistics& statistics, const PlotFrame& frame) {
    const PlotFrame area = paintPanel(frame, interfaceText2(plotTitle(kind)));
    textsOf(kind).paint(statistics, area);
}

std::optional<std::uint32_t> hardestCardAt(const Statistics& statistics, const PlotFrame& frame, int x, int y) {
    const PlotFrame area = panelArea(frame);
    for (std::size_t i = 0; i < statistics.hardest.size(); ++i) {
        const PlotFrame row = hardestRow(area, i);
        if (x >= row.x && x < row.x + row.width && y >= row.y && y < row.y + row.height) {
            return statistics.hardest[i].card;
        }
    }
    return std::nullopt;
}
