// The program's start-up on the real window, timed by bench/program_startup.sh. Not a Google
// Benchmark program: each run is one process start, as a user starts the program.
//
//   startupprobe              runs the program as the executable does (program/RealWindow.h) and
//                             ends at the first painted frame of the welcome screen, printing
//                             "shown T", "started T" and "first-paint T" (wall-clock seconds):
//                             the window shown, the start-up done (database loaded, welcome
//                             screen current), the frame painted; then "cpu-to-first-paint MS",
//                             the processor time all the process's threads took until then
//   startupprobe --load-only  loads the database of the working directory in a process of its
//                             own and prints "load MILLISECONDS"
//   startupprobe --generate   builds the large realistic database in the working directory

#include <chrono>
#include <sys/resource.h>
#include <cstdio>
#include <cstring>
#include <string>

#include "ModelDatabaseGenerator.h"
#include "gui/StateMachine.h"
#include "model/Database.h"
#include "platform/gtk/GtkPlatform.h"
#include "program/RealWindow.h"

namespace {

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string wallClock() {
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    char text[64];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(micros / 1000000),
                  static_cast<long long>(micros % 1000000));
    return text;
}

// On a machine with few cores every thread beside the window's takes time from it: what the
// start costs in all, not only how long it takes.
double processorMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

int runStartUp() {
    bool painted = false;
    RealWindowObservers observers;
    observers.shown = [] { say("shown " + wallClock()); };
    observers.started = [] { say("started " + wallClock()); };
    // The first paint that draws a screen ends the program.
    observers.handled = [&painted](const platform::Message& message, platform::gtk::GtkPlatform& window) {
        if (message.code == platform::MessageCode::Paint && curState != nullptr && !painted) {
            painted = true;
            say("first-paint " + wallClock());
            char cpu[64];
            std::snprintf(cpu, sizeof cpu, "cpu-to-first-paint %.1f", processorMilliseconds());
            say(cpu);
            window.destroyWindow();
        }
    };
    return runOnRealWindow("startupprobe", observers);
}

int loadOnly() {
    const auto begin = std::chrono::steady_clock::now();
    const int status = loadDatabase(D_ENDTAG);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;
    std::printf("load %.1f status %d\n", took.count(), status);
    return status == LOAD_DONE ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--generate") == 0) {
        bench::DatabaseGenerator().build();
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--load-only") == 0) {
        return loadOnly();
    }
    return runStartUp();
}
