// The window during a long import: 20,000 KVTML entries into the realistic database through the
// import screen on a headless window, every message through the real window procedure. The
// screen works in slices between paints; reported are the longest gap between two painted frames
// while the file is previewed, while the rows are stored, while they are saved (the tables walked
// into the unit in slices, then the unit appended to the log and synced on a thread of its own
// while the window waits, to the commit point: the done page follows) and while the window's
// idle time writes the saved files in place and syncs them at the checkpoint (the aim: under
// 50 ms everywhere), with the time the save and that writing took.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "BenchRatios.h"
#include "base/FileTransaction.h"
#include "base/Utf8.h"
#include "base/WindowThreadTasks.h"
#include "ScreenBenchSetting.h"
#include "gui/IdleFileWrites.h"
#include "gui/State.h"
#include "screens/ImportScreen.h"
#include "screens/stateImport.h"
#include "states/WindowProcedure.h"

namespace {

constexpr unsigned ENTRIES = 20000;

std::string kvtmlFile() {
    const std::string path = "frames.kvtml";
    std::ofstream out(path);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kvtml version=\"2.0\">\n<identifiers>\n"
           "<identifier id=\"0\"><name>Deutsch</name></identifier>\n"
           "<identifier id=\"1\"><name>English</name></identifier>\n</identifiers>\n<entries>\n";
    for (unsigned i = 0; i < ENTRIES; ++i) {
        out << "<entry id=\"" << i << "\"><translation id=\"0\"><text>Bildwort" << i
            << "</text><pronunciation>bɪlt</pronunciation></translation><translation id=\"1\"><text>picture word "
            << i << "</text></translation></entry>\n";
    }
    out << "</entries>\n</kvtml>\n";
    return path;
}

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void ImportFrames(benchmark::State& state) {
    auto& window = static_cast<platform::HeadlessPlatform&>(platform::current());
    writeSavedFilesInIdleTime();  // as the program does from its start
    WindowProcedure procedure(window);
    window.setSink(&procedure);
    const std::string path = kvtmlFile();
    using import_screen::Phase;
    for (auto _ : state) {
        window.dialogs().answerFileDialog(std::filesystem::absolute(path).string());
        switchToState(createImportState());
        // The screen becomes current with one message and chooses its file with the next.
        for (int i = 0; i < 10 && import_screen::screen.phase == Phase::Idle; ++i) {
            window.send(platform::Message::plain(platform::MessageCode::Paint));
        }
        double previewGap = 0, storeGap = 0, saveGap = 0;
        unsigned frames = 0;
        // Each paint message carries one slice; its handling is the gap before the next frame.
        // While the save's thread appends the unit the window has nothing to paint and waits for
        // the thread's wake (a posted task).
        auto measured = [&](Phase phase, double& longest) {
            while (import_screen::screen.phase == phase) {
                const auto start = Clock::now();
                window_thread::runPosted();
                const bool painted = window.deliverPaint();
                if (!painted) {
                    window.send(platform::Message::plain(platform::MessageCode::Paint));
                }
                ++frames;
                longest = std::max(longest, milliseconds(Clock::now() - start));
                if (!painted && phase == Phase::Saving) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                }
            }
        };
        measured(Phase::Previewing, previewGap);
        // Import pressed.
        const platform::Message down = platform::Message::mouse(platform::MessageCode::LButtonDown, 925, 475);
        const platform::Message up = platform::Message::mouse(platform::MessageCode::LButtonUp, 925, 475);
        window.send(down);
        window.send(up);
        measured(Phase::Storing, storeGap);
        const auto saveStart = Clock::now();
        measured(Phase::Saving, saveGap);
        const double saveMs = milliseconds(Clock::now() - saveStart);
        if (import_screen::screen.phase != Phase::Done) {
            const auto& boxes = window.dialogs().messageBoxes();
            const std::string said = boxes.empty() ? "no box" : utf8::encode(boxes.back().text);
            state.SkipWithError(("the import did not finish: phase " +
                                 std::to_string(static_cast<int>(import_screen::screen.phase)) + ", page " +
                                 std::to_string(curState == nullptr ? 0 : curState->condition) + ", " + said)
                                    .c_str());
            break;
        }
        const double deferredFiles = static_cast<double>(FileTransaction::pendingFileSteps());
        // The window idle after the done page: idle messages (the sync's thread wakes the window
        // with a posted task when it has returned) and the paints they ask for.
        double idleGap = 0;
        const auto idleStart = Clock::now();
        while (FileTransaction::hasPendingWork()) {
            const auto start = Clock::now();
            window_thread::runPosted();
            const bool idled = window.deliverIdle();
            const bool painted = window.deliverPaint();
            const bool worked = idled || painted;
            idleGap = std::max(idleGap, milliseconds(Clock::now() - start));
            if (!worked) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));  // waiting for the sync
            }
        }
        state.counters["frames"] = frames;
        state.counters["preview_gap_ms"] = previewGap;
        state.counters["store_gap_ms"] = storeGap;
        state.counters["save_gap_ms"] = saveGap;
        state.counters["save_ms"] = saveMs;
        state.counters["idle_gap_ms"] = idleGap;
        state.counters["files_left_to_idle"] = deferredFiles;
        state.counters["idle_ms"] = milliseconds(Clock::now() - idleStart);
    }
    stateMachineReset();
    stopWritingSavedFilesInIdleTime();
}

BENCHMARK(ImportFrames)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    bench::ScreenBenchSetting setting("frames");
    return bench::runWithRatios(argc, argv, {});
}
