#include "statistics/PlotPainting.h"

#include <algorithm>

#include "shell/frameworkPainter.h"

namespace {

constexpr COLORREF rgb(unsigned red, unsigned green, unsigned blue) { return red | (green << 8) | (blue << 16); }

constexpr int AXIS_LABEL_WIDTH = 46;
constexpr int LEGEND_BOX = 12;
constexpr int LEGEND_ENTRY_WIDTH = 110;

}  // namespace

namespace plotcolour {
COLORREF correct() { return rgb(46, 150, 60); }
COLORREF minor() { return rgb(240, 170, 0); }
COLORREF wrong() { return colours[INCORRECT_RGB]; }
COLORREF bar() { return rgb(40, 110, 200); }
COLORREF grid() { return rgb(215, 215, 215); }
COLORREF text() { return colours[TEXT_RGB]; }
COLORREF muted() { return rgb(110, 110, 110); }

COLORREF calendarShade(std::uint32_t answers, std::uint32_t most) {
    if (answers == 0 || most == 0) {
        return rgb(230, 230, 230);
    }
    static const COLORREF shades[] = {rgb(190, 230, 180), rgb(120, 200, 110), rgb(50, 150, 60), rgb(20, 90, 30)};
    const std::uint64_t step = (static_cast<std::uint64_t>(answers) * 4 - 1) / most;
    return shades[std::min<std::uint64_t>(step, 3)];
}
}  // namespace plotcolour

void paintBox(int x, int y, int width, int height, COLORREF colour) {
    if (width <= 0 || height <= 0) {
        return;
    }
    // The null pen leaves out the last column and row; one more keeps the box its full size.
    framewPaintRect(x, y, width + 1, height + 1, colour, PEN_NULL, 0, 0);
}

void paintLabel(int x, int y, int width, int height, const std::wstring& text, unsigned format, COLORREF colour) {
    if (width > 0 && height > 0 && !text.empty()) {
        framewPaintTextW(x, y, width, height, FONT1, text.c_str(), format, colour);
    }
}

PlotFrame paintPanel(const PlotFrame& frame, const std::wstring& title) {
    framewPaintRect(frame.x, frame.y, frame.width, frame.height, colours[WHITE_RGB], PEN_SOLID, 1, rgb(0, 0, 0));
    paintLabel(frame.x + 10, frame.y + 6, frame.width - 20, TITLE_HEIGHT, title, TEXT_CENTRE);
    return panelArea(frame);
}

PlotFrame panelArea(const PlotFrame& frame) {
    const int top = TITLE_HEIGHT + 12;
    return {frame.x + 6, frame.y + top, frame.width - 12, frame.height - top - 6};
}

void paintMessage(const PlotFrame& area, const std::wstring& text) {
    paintLabel(area.x + 20, area.y + area.height / 2 - 15, area.width - 40, 30, text, TEXT_CENTRE, plotcolour::muted());
}

ValueAxis roundAxis(std::uint32_t largest) {
    if (largest == 0) {
        return {1, 1};
    }
    for (std::uint64_t power = 1;; power *= 10) {
        for (std::uint64_t unit : {1u, 2u, 5u}) {
            const std::uint64_t step = unit * power;
            const std::uint64_t steps = (largest + step - 1) / step;
            if (steps <= 5) {
                return {static_cast<std::uint32_t>(std::min<std::uint64_t>(steps * step, 0xFFFFFFFFu)),
                        static_cast<unsigned>(std::max<std::uint64_t>(steps, 1))};
            }
        }
    }
}

ValueAxis percentAxis() { return {100, 5}; }

int barHeight(const PlotFrame& chart, const ValueAxis& axis, double value) {
    if (axis.top == 0 || value <= 0) {
        return 0;
    }
    return std::max(1, static_cast<int>(chart.height * std::min(value / axis.top, 1.0) + 0.5));
}

void paintGrid(const PlotFrame& chart, const ValueAxis& axis, bool percent) {
    for (unsigned i = 0; i <= axis.steps; ++i) {
        const std::uint64_t value = static_cast<std::uint64_t>(axis.top) * i / axis.steps;
        const int y = chart.y + chart.height - static_cast<int>(static_cast<std::uint64_t>(chart.height) * i / axis.steps);
        paintBox(chart.x, y, chart.width, 1, i == 0 ? plotcolour::text() : plotcolour::grid());
        const std::wstring text = std::to_wstring(value) + (percent ? L" %" : L"");
        paintLabel(chart.x - AXIS_LABEL_WIDTH - 4, y - LABEL_HEIGHT / 2, AXIS_LABEL_WIDTH, LABEL_HEIGHT, text, TEXT_RIGHT,
                   plotcolour::muted());
    }
}

void paintLegend(const PlotFrame& area, const std::vector<LegendEntry>& entries) {
    int x = area.x + area.width - static_cast<int>(entries.size()) * LEGEND_ENTRY_WIDTH;
    for (const LegendEntry& entry : entries) {
        paintBox(x, area.y + 2, LEGEND_BOX, LEGEND_BOX, entry.colour);
        paintLabel(x + LEGEND_BOX + 4, area.y, LEGEND_ENTRY_WIDTH - LEGEND_BOX - 8, LABEL_HEIGHT, entry.name, TEXT_LEFT);
        x += LEGEND_ENTRY_WIDTH;
    }
}

PlotFrame chartArea(const PlotFrame& area) {
    const int left = AXIS_LABEL_WIDTH + 10;
    return {area.x + left, area.y + 24, area.width - left - 10, area.height - 24 - 2 * LABEL_HEIGHT - 8};
}

PlotFrame barSlot(const PlotFrame& chart, std::size_t index, std::size_t count) {
    const double slot = count == 0 ? 0 : static_cast<double>(chart.width) / static_cast<double>(count);
    const int left = chart.x + static_cast<int>(slot * static_cast<double>(index));
    const int right = chart.x + static_cast<int>(slot * static_cast<double>(index + 1));
    return {left, chart.y, right - left, chart.height};
}

void paintBars(const PlotFrame& chart, const ValueAxis& axis, const std::vector<Bar>& bars) {
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const Bar& bar = bars[i];
        const PlotFrame slot = barSlot(chart, i, bars.size());
        const int width = std::max(1, std::min(slot.width * 2 / 3, 70));
        const int x = slot.x + (slot.width - width) / 2;
        const int height = barHeight(chart, axis, bar.value);
        const int bottom = chart.y + chart.height;
        paintBox(x, bottom - height, width, height, bar.colour);
        // Texts may be wider than a narrow slot: they take up to three slots, centred on the bar.
        const int textWidth = std::max(slot.width, std::min(3 * slot.width, 120));
        const int textX = slot.x + (slot.width - textWidth) / 2;
        paintLabel(textX, bottom - height - LABEL_HEIGHT - 1, textWidth, LABEL_HEIGHT - 2, bar.above, TEXT_CENTRE);
        paintLabel(textX, bottom + 4, textWidth, LABEL_HEIGHT, bar.under, TEXT_CENTRE);
        paintLabel(textX, bottom + 4 + LABEL_HEIGHT, textWidth, LABEL_HEIGHT, bar.underSecond, TEXT_CENTRE,
                   plotcolour::muted());
    }
}
