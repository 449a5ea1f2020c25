#pragma once

// The element that shows one plot of the statistics (Plots.h) in its rectangle. A complete click
// on a row of the hardest-cards plot opens that card.

#include <cstdint>

#include "gui/GuiElement.h"
#include "statistics/Plots.h"

using OpenCardFunc = void (*)(std::uint32_t card);

class PlotView : public GuiElement {
public:
    // Top-left based; shows nothing until show() is called.
    PlotView(int x, int y, int width, int height, long conditions);

    // The statistics must outlive the element, or be replaced before the next paint.
    void show(PlotKind plot, const Statistics* figures);
    PlotKind plot() const { return kind; }
    void setOpenCard(OpenCardFunc open) { openCard = open; }

    void render(const RECT& rc) override;
    bool click(int x, int y) override;
    bool unclick(int x, int y) override;

private:
    PlotKind kind = PlotKind::Forecast;
    const Statistics* statistics = nullptr;
    OpenCardFunc openCard = nullptr;
};
