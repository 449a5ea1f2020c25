#pragma once

// The plots of the statistics screen, each painted into a frame of the canvas (or of a picture
// being saved) from the figures of computeStatistics. A plot without data says what is missing
// instead.
//
//   plot        shows
//   Forecast    bars: card directions due on each of the next 30 days, "Today" first
//   Levels      bars: directions per level, the level's break days under each
//   Answers     stacked bars: correct, minor, wrong per day of the last 90 days
//   FirstTry    bars: share right at the first try per week of the last 26 weeks
//   Articles    bars: share right per article, with how often it was asked
//   Verbs       bars: share of cells right per tense (left) and per person (right)
//   Hardest     rows: the ten cards answered wrong most often in 30 days; a row opens its card
//   Calendar    a square per day of the last 53 weeks, shaded by answers; the streak under it

#include <cstdint>
#include <optional>

#include "resources/SecondStrings.h"
#include "statistics/PlotPainting.h"
#include "statistics/Statistics.h"

enum class PlotKind { Forecast, Levels, Answers, FirstTry, Articles, Verbs, Hardest, Calendar };
inline constexpr int PLOT_KINDS = 8;

// The caption of the plot's button and the title above it.
framew_strings2 plotCaption(PlotKind kind);
framew_strings2 plotTitle(PlotKind kind);

void paintPlot(PlotKind kind, const Statistics& statistics, const PlotFrame& frame);

// The card of the row of the hardest-cards plot at (x, y); nullopt elsewhere.
std::optional<std::uint32_t> hardestCardAt(const Statistics& statistics, const PlotFrame& frame, int x, int y);

// The plots, one function each (TimePlots.cpp, RecordPlots.cpp); `area` is the panel below its
// title.
void paintForecast(const Statistics& statistics, const PlotFrame& area);
void paintAnswers(const Statistics& statistics, const PlotFrame& area);
void paintFirstTry(const Statistics& statistics, const PlotFrame& area);
void paintCalendar(const Statistics& statistics, const PlotFrame& area);
void paintLevels(const Statistics& statistics, const PlotFrame& area);
void paintArticles(const Statistics& statistics, const PlotFrame& area);
void paintVerbs(const Statistics& statistics, const PlotFrame& area);
void paintHardest(const Statistics& statistics, const PlotFrame& area);
// The rows of the hardest-cards plot in its area.
PlotFrame hardestRow(const PlotFrame& area, std::size_t index);
