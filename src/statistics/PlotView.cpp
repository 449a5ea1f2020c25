#include "statistics/PlotView.h"

PlotView::PlotView(int x, int y, int width, int height, long conditions) : GuiElement(x, y, width, height, conditions) {}

void PlotView::show(PlotKind plot, const Statistics* figures) {
    kind = plot;
    statistics = figures;
    inval();
}

void PlotView::render(const RECT& rc) {
    if (statistics != nullptr && confirmRender(rc, false)) {
        paintPlot(kind, *statistics, PlotFrame{x, y, width, height});
    }
}

bool PlotView::click(int px, int py) { return clickPos(px, py); }

bool PlotView::unclick(int px, int py) {
    const bool complete = unclickPos(px, py);
    if (complete && kind == PlotKind::Hardest && statistics != nullptr && openCard != nullptr) {
        if (const std::optional<std::uint32_t> card = hardestCardAt(*statistics, PlotFrame{x, y, width, height}, px, py)) {
            openCard(*card);
        }
    }
    return complete;
}
