// The search list and the picture at the sizes the program meets at worst, each against a
// baseline measured in the same run:
//   - TypeCharacter: one character typed into the search box of a list of 50,000 words, up to the
//     refiltered first page (keyboard dispatch, substring filter, page refill); NarrowCharacter the
//     same for a second character, which rescans only the first one's matches. Baseline: a plain
//     substring scan of the same 50,000 std::wstring.
//   - AddItems: filling the list with addItem/setLastId (each refilters and shows page 1) at 12,500,
//     25,000 and 50,000 words; a constant ratio across the sizes means linear time. Baseline:
//     pushing the same words and ids into a std::vector.
//   - PaintPicture: an intense paint of a 1000 x 1000 picture scaled into a 400 x 100 element.
//     Baseline: the same paint blitting a prepared 400 x 100 buffer.

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "BenchRatios.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiSearchItemfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/framework.h"
#include "resources/frameworkFileManager.h"
#include "shell/frameworkPainter.h"

namespace {

constexpr int Words = 50000;

// Deterministic word-like texts: two to four syllables and a number ("keloma 417").
std::vector<std::wstring> makeWords(int count) {
    const wchar_t* syllables[] = {L"ka", L"lo", L"me", L"ri", L"tu", L"sa", L"no", L"vi", L"de", L"bu", L"ze", L"pa"};
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    std::vector<std::wstring> words;
    words.reserve(count);
    for (int i = 0; i < count; ++i) {
        std::wstring word;
        for (std::uint32_t n = 2 + next() % 3; n > 0; --n) {
            word += syllables[next() % std::size(syllables)];
        }
        words.push_back(word + L" " + std::to_wstring(i));
    }
    return words;
}

const std::vector<std::wstring>& words() {
    static const std::vector<std::wstring> all = makeWords(Words);
    return all;
}

// A headless window and a screen holding `element`, painted once.
class Screen {
public:
    explicit Screen(GuiElement* element) {
        framewReset();
        stateMachineReset();
        platform::setCurrent(&window);
        framewUpdate(&window);
        framewInit(1000, 500);  // no Data/Framework here: the built-in defaults
        State* s = createEmptyState(L"Bench");
        addElementToState(s, element);
        nextState = s;
        updateStateStatus();
        paint();
    }
    ~Screen() {
        stateMachineReset();
        framewReset();
        platform::setCurrent(nullptr);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    void paint() {
        if (window.updateRect()) {
            framewBeginPaint();
            renderState();
            framewEndPaint();
        }
        window.clearPaints();
    }

    platform::HeadlessPlatform window{{1000, 500}};
};

void fill(GuiSearchItemfield& list, int count) {
    for (int i = 0; i < count; ++i) {
        list.addItem(words()[i].c_str());
        list.setLastId(static_cast<unsigned>(i + 1));
    }
}

void typeCharacter(wchar_t c) {
    keyboardDownState(c);
    updateStateStatus();
}

void BM_TypeCharacter(benchmark::State& state) {
    auto* list = new GuiSearchItemfield(143, 119, 408, 343);
    Screen screen(list);
    fill(*list, Words);
    for (auto _ : state) {
        typeCharacter(L'k');
        state.PauseTiming();
        typeCharacter(L'\b');
        state.ResumeTiming();
    }
    state.counters["matches"] = static_cast<double>(list->fullList().matchCount());
}

void BM_NarrowCharacter(benchmark::State& state) {
    auto* list = new GuiSearchItemfield(143, 119, 408, 343);
    Screen screen(list);
    fill(*list, Words);
    typeCharacter(L'k');
    for (auto _ : state) {
        typeCharacter(L'a');
        state.PauseTiming();
        typeCharacter(L'\b');
        state.ResumeTiming();
    }
}

std::size_t substringScan(const std::wstring& search) {
    std::size_t found = 0;
    for (const std::wstring& word : words()) {
        found += word.find(search) != std::wstring::npos ? 1 : 0;
    }
    return found;
}

void BM_SubstringScan(benchmark::State& state) {
    const std::wstring search = L"k";
    for (auto _ : state) {
        benchmark::DoNotOptimize(substringScan(search));
    }
}

// The narrowing subject is set against the same full scan.
void BM_NarrowScan(benchmark::State& state) {
    const std::wstring search = L"ka";
    for (auto _ : state) {
        benchmark::DoNotOptimize(substringScan(search));
    }
}

void BM_AddItems(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto* list = new GuiSearchItemfield(143, 119, 408, 343);
            Screen screen(list);
            state.ResumeTiming();
            fill(*list, count);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

void BM_PushBack(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<std::pair<std::wstring, unsigned>> list;
        for (int i = 0; i < count; ++i) {
            list.emplace_back(words()[i], static_cast<unsigned>(i + 1));
        }
        benchmark::DoNotOptimize(list.data());
    }
}

// A 1000 x 1000 picture of colour gradients, written once into a scratch directory.
std::string pictureFile() {
    static const std::string path = [] {
        char pattern[] = "/tmp/mernolex-bench-XXXXXX";
        const std::string directory = mkdtemp(pattern) != nullptr ? pattern : "/tmp";
        const std::string file = directory + "/picture.bmp";
        constexpr int Side = 1000;
        std::vector<unsigned char> bytes(54 + static_cast<std::size_t>(Side) * Side * 3, 0);
        const std::uint32_t header[][2] = {{18, Side}, {22, Side}, {10, 54}, {14, 40}};
        for (const auto& [offset, value] : header) {
            for (int i = 0; i < 4; ++i) {
                bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
            }
        }
        bytes[0] = 'B';
        bytes[1] = 'M';
        bytes[28] = 24;
        for (std::size_t i = 54; i < bytes.size(); ++i) {
            bytes[i] = static_cast<unsigned char>(i * 7 / 3);
        }
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
        std::atexit([] { std::filesystem::remove_all(std::filesystem::path(pictureFile()).parent_path()); });
        return file;
    }();
    return path;
}

void BM_PaintPicture(benchmark::State& state) {
    GuiBitmap* picture = createGuiBitmap(500, 250, 400, 100, pictureFile().c_str());
    if (picture == nullptr) {
        state.SkipWithError("the picture could not be read");
        return;
    }
    Screen screen(picture);
    for (auto _ : state) {
        framewRepaint(300, 200, 400, 100, true, false);
        screen.paint();
    }
}

void BM_BlitPrepared(benchmark::State& state) {
    Screen screen(new GuiBitmap(500, 250, 400, 100));  // nothing to draw: just the window
    const std::vector<std::uint32_t> prepared(400 * 100, 0x336699);
    for (auto _ : state) {
        framewRepaint(300, 200, 400, 100, true, false);
        screen.window.updateRect();
        framewBeginPaint();
        hdc->blit(realX(300), realY(200), 400, 100, prepared.data());
        framewEndPaint();
        screen.window.clearPaints();
    }
}

}  // namespace

BENCHMARK(BM_TypeCharacter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SubstringScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NarrowCharacter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NarrowScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddItems)->Arg(Words / 4)->Arg(Words / 2)->Arg(Words)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PushBack)->Arg(Words / 4)->Arg(Words / 2)->Arg(Words)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintPicture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlitPrepared)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return bench::runWithRatios(argc, argv,
                                {{"TypeCharacter", "SubstringScan"},
                                 {"NarrowCharacter", "NarrowScan"},
                                 {"AddItems", "PushBack"},
                                 {"PaintPicture", "BlitPrepared"}});
}
