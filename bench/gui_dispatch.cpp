// A mouse move dispatched to a screen of 100 elements and the paint that follows it, through the
// headless window and the real fonts. The pointer alternates between two buttons, so every move
// takes the hover look from one and gives it to the other: two light repaints, as on a busy
// editor screen. Beside it: the dispatch alone, a full repaint of the screen, and the baseline,
// the same rectangles and texts drawn straight through the painter without any element, state or
// dispatch.

#include <memory>

#include <benchmark/benchmark.h>

#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/framework.h"
#include "resources/frameworkFileManager.h"
#include "shell/frameworkPainter.h"

namespace {

constexpr int Elements = 100;
constexpr int Columns = 10;
constexpr int CellWidth = 100;
constexpr int CellHeight = 45;

int centerX(int i) { return CellWidth / 2 + (i % Columns) * CellWidth; }
int centerY(int i) { return 30 + (i / Columns) * CellHeight; }

// Buttons, text fields, labels and check boxes in a 10 x 10 grid; element 0 and 1 are buttons.
State* buildScreen() {
    State* s = createEmptyState(L"Bench");
    for (int i = 0; i < Elements; ++i) {
        const int cx = centerX(i);
        const int cy = centerY(i);
        switch (i % 5) {
        case 0:
        case 1:
            addElementToState(s, new GuiButton(BUTTON3, cx, cy, curStrings[String_SAVE], "SAVE"));
            break;
        case 2:
            addElementToState(s, new GuiTextfield(cx, cy, L"Wort", false, 90, 30));
            break;
        case 3:
            addElementToState(s, new GuiText(curStrings[i], cx, cy, 90, 30, FONT1, TEXT_CENTRE));
            break;
        default:
            addElementToState(s, new GuiCheckBox(L"Item", cx, cy, 90, 30, i % 2 == 0, nullptr));
            break;
        }
    }
    return s;
}

// What the window procedure does with a paint message.
void paint(platform::HeadlessPlatform& window) {
    if (!window.updateRect()) {
        return;
    }
    framewBeginPaint();
    if (!preventBackground && !bitmapRepaint) {
        framewPaintRect(0, 0, 1005, 505, colours[BG_RGB], PEN_NULL, 0, 0);
    } else {
        preventBackground = false;
    }
    renderState();
    framewEndPaint();
    window.clearPaints();
}

class Fixture {
public:
    Fixture() {
        framewReset();
        stateMachineReset();
        platform::setCurrent(&window);
        framewUpdate(&window);
        framewInit(1000, 500);  // no Data/Framework here: the built-in defaults
        nextState = buildScreen();
        updateStateStatus();
        paint(window);  // the first paint loads the fonts
    }
    ~Fixture() {
        stateMachineReset();
        framewReset();
        platform::setCurrent(nullptr);
    }
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;

    platform::HeadlessPlatform window{{1000, 500}};
};

void moveBetweenButtons(int iteration) {
    const int target = iteration % 2;
    mouseHoveredState(centerX(target), centerY(target));
    updateStateStatus();
}

void BM_MoveAndPaint(benchmark::State& state) {
    Fixture fixture;
    int i = 0;
    for (auto _ : state) {
        moveBetweenButtons(i++);
        paint(fixture.window);
    }
}

void BM_MoveOnly(benchmark::State& state) {
    Fixture fixture;
    int i = 0;
    for (auto _ : state) {
        moveBetweenButtons(i++);
    }
}

void BM_FullPaint(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) {
        framewRepaint();
        paint(fixture.window);
    }
}

// The baseline: the same rectangles and texts drawn with the primitives alone, whole canvas.
void paintCellsDirectly() {
    framewPaintRect(0, 0, 1005, 505, colours[BG_RGB], PEN_NULL, 0, 0);
    for (int i = 0; i < Elements; ++i) {
        const int cx = centerX(i);
        const int cy = centerY(i);
        switch (i % 5) {
        case 0:
        case 1:
            framewPaintRect(cx - 62, cy - 15, 125, 30, colours[BT_RGB], PEN_SOLID, 0, 0);
            framewPaintTextW(cx - 62, cy - 15, 125, 30, FONT1, curStrings[String_SAVE], TEXT_CENTRE, 0);
            break;
        case 2:
            framewPaintRect(cx - 45, cy - 15, 90, 30, colours[WHITE_RGB], PEN_SOLID, 0, 0);
            framewPaintTextW(cx - 45, cy - 15, 90, 30, FONT1, L"\u2038Wort\u2038", TEXT_LEFT, 0);
            break;
        case 3:
            framewPaintTextW(cx - 45, cy - 15, 90, 30, FONT1, curStrings[i], TEXT_CENTRE, colours[TEXT_RGB]);
            break;
        default:
            framewPaintTextW(cx - 60, cy - 15, 60, 30, FONT1, L"Item", TEXT_CENTRE, colours[TEXT_RGB]);
            framewPaintRect(cx + 15, cy - 15, 30, 30, colours[WHITE_RGB], PEN_SOLID, 0, 0);
            framewPaintTextW(cx + 15, cy - 15, 30, 30, FONT1, i % 2 == 0 ? L"\u2713" : L"", TEXT_CENTRE,
                             colours[TEXT_RGB]);
            break;
        }
    }
}

void BM_PrimitivesBaseline(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) {
        framewRepaint();
        framewBeginPaint();
        paintCellsDirectly();
        framewEndPaint();
        fixture.window.clearPaints();
    }
}

}  // namespace

BENCHMARK(BM_MoveAndPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrimitivesBaseline)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
