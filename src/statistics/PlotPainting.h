#pragma once

// The pieces every plot is drawn from, in virtual units through the painting primitives
// (shell/frameworkPainter.h): a white panel with its title, a value axis with grid lines, bars,
// labels, a legend and the message that stands in for a plot without data.

#include <cstdint>
#include <string>
#include <vector>

#include "resources/frameworkFileManager.h"

struct PlotFrame {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

namespace plotcolour {
COLORREF correct();
COLORREF minor();
COLORREF wrong();
COLORREF bar();
COLORREF grid();
COLORREF text();
COLORREF muted();
// The calendar's shade for a day with `answers` of at most `most` (0: the empty day's).
COLORREF calendarShade(std::uint32_t answers, std::uint32_t most);
}  // namespace plotcolour

// Label heights: the text shrinks to fit its box, never grows.
inline constexpr int LABEL_HEIGHT = 16;
inline constexpr int TITLE_HEIGHT = 26;

// Paints the white panel with the title on top; returns the area below the title.
PlotFrame paintPanel(const PlotFrame& frame, const std::wstring& title);
// That area, without painting.
PlotFrame panelArea(const PlotFrame& frame);
// The text, centred in the area, for a plot that has nothing to show.
void paintMessage(const PlotFrame& area, const std::wstring& text);

// A value axis from 0 to `top` in `steps` equal steps of round numbers.
struct ValueAxis {
    std::uint32_t top = 1;
    unsigned steps = 1;
};
// The smallest round axis (steps of 1, 2 or 5 times a power of ten, at most 5 of them) that holds
// `largest`.
ValueAxis roundAxis(std::uint32_t largest);
// The axis of shares: 0 to 100 % in steps of 20.
ValueAxis percentAxis();
// Grid lines and their values left of the chart; `percent` writes "40 %".
void paintGrid(const PlotFrame& chart, const ValueAxis& axis, bool percent);
// The height in virtual units of `value` on the axis over the chart.
int barHeight(const PlotFrame& chart, const ValueAxis& axis, double value);

void paintBox(int x, int y, int width, int height, COLORREF colour);
void paintLabel(int x, int y, int width, int height, const std::wstring& text, unsigned format,
                COLORREF colour = plotcolour::text());

// A row of coloured squares with their names, right-aligned at the top of the area.
struct LegendEntry {
    COLORREF colour;
    std::wstring name;
};
void paintLegend(const PlotFrame& area, const std::vector<LegendEntry>& entries);

// The chart below a title: room for the value labels on the left and two lines of labels under it.
PlotFrame chartArea(const PlotFrame& area);

// One bar of a bar chart: its height on the axis, its colour, the text above it and two lines of
// text under the axis (any of them empty).
struct Bar {
    double value = 0;
    COLORREF colour = 0;
    std::wstring above;
    std::wstring under;
    std::wstring underSecond;
};
// The bars side by side, each in an equal slot of the chart, with their texts.
void paintBars(const PlotFrame& chart, const ValueAxis& axis, const std::vector<Bar>& bars);
// The slot of bar `index` of `count` in the chart (x and width).
PlotFrame barSlot(const PlotFrame& chart, std::size_t index, std::size_t count);
