// A full paint of the 1000 x 500 canvas as a busy screen draws it: the background, 60 outlined
// rectangles and 60 texts fitted into them, through the headless window and the real fonts.
// Reports the time per paint and how many pango layouts and font descriptions each paint
// creates, and each time as a ratio of the same paint of the rectangles alone (what the texts add);
// PaintUncached is the same paint with the painter's caches switched off (a font and a layout
// created, and the text shaped, for every call).

#include "BenchRatios.h"

#include "platform/headless/HeadlessPlatform.h"
#include "shell/framework.h"
#include "resources/frameworkFileManager.h"
#include "shell/frameworkPainter.h"

namespace {

constexpr int Items = 60;
constexpr int Columns = 6;

void paintScreen() {
    framewRepaint();
    framewBeginPaint();
    framewPaintRect(0, 0, 1005, 505, colours[BG_RGB], PEN_NULL, 0, 0);
    for (int i = 0; i < Items; ++i) {
        const int x = 10 + (i % Columns) * 165;
        const int y = 10 + (i / Columns) * 48;
        framewPaintRect(x, y, 155, 40, colours[WHITE_RGB], i == 0 ? PEN_DASHDOTDOT : PEN_SOLID, 0, 0);
        framewPaintTextW(x, y, 155, 40, FONT1, curStrings[i], TEXT_CENTRE, colours[TEXT_RGB]);
    }
    framewEndPaint();
}

void paintRectanglesOnly() {
    framewRepaint();
    framewBeginPaint();
    framewPaintRect(0, 0, 1005, 505, colours[BG_RGB], PEN_NULL, 0, 0);
    for (int i = 0; i < Items; ++i) {
        framewPaintRect(10 + (i % Columns) * 165, 10 + (i / Columns) * 48, 155, 40,
                        colours[WHITE_RGB], PEN_SOLID, 0, 0);
    }
    framewEndPaint();
}

template <typename Paint>
void run(benchmark::State& state, bool caching, Paint paint) {
    framewReset();
    platform::HeadlessPlatform window({1000, 500});
    platform::setCurrent(&window);
    framewUpdate(&window);
    framewInit(1000, 500);  // no Data/Framework here: the built-in defaults
    window.cairoPainter().setCaching(caching);
    paint();  // the first paint loads the fonts
    window.clearPaints();

    const auto before = platform::CairoPainter::counters();
    for (auto _ : state) {
        paint();
        window.clearPaints();
    }
    const auto after = platform::CairoPainter::counters();
    const double paints = static_cast<double>(state.iterations());
    state.counters["layouts/paint"] = (after.layoutsCreated - before.layoutsCreated) / paints;
    state.counters["fontdescs/paint"] =
        (after.fontDescriptionsCreated - before.fontDescriptionsCreated) / paints;
    framewReset();
    platform::setCurrent(nullptr);
}

void BM_PaintCached(benchmark::State& state) { run(state, true, paintScreen); }
void BM_PaintUncached(benchmark::State& state) { run(state, false, paintScreen); }
void BM_PaintRectanglesOnly(benchmark::State& state) { run(state, true, paintRectanglesOnly); }

}  // namespace

BENCHMARK(BM_PaintCached)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintUncached)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintRectanglesOnly)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::runWithRatios(argc, argv, {{"PaintCached", "PaintRectanglesOnly"}, {"PaintUncached", "PaintRectanglesOnly"}});
}
