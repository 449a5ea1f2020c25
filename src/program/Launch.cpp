#include "program/Launch.h"

#include <cstdio>

#include "program/CommandLine.h"
#include "program/ExchangeRun.h"
#include "program/RealWindow.h"
#include "program/TestTrace.h"

namespace {

void print(std::FILE* stream, const std::string& text) {
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}

}  // namespace

std::unique_ptr<InstanceLock> claimDataDirectory(const std::optional<std::string>& requested,
                                                 const DataDirectory::Environment& environment,
                                                 std::string& problem) {
    std::optional<DataDirectory> directory = DataDirectory::choose(requested, environment, problem);
    if (!directory || !directory->enter(problem)) {
        return nullptr;
    }
    return InstanceLock::acquire(directory->path(), problem);
}

int launch(const std::string& programName, const std::vector<std::string>& arguments) {
    const CommandLine line = CommandLine::parse(arguments);
    switch (line.action()) {
        case CommandLine::Action::ShowHelp:
            print(stdout, CommandLine::usage(programName));
            return 0;
        case CommandLine::Action::ShowVersion:
            print(stdout, CommandLine::version(programName));
            return 0;
        case CommandLine::Action::Refuse:
            print(stderr, programName + ": " + line.problem() + " (see " + programName + " --help)\n");
            return EXIT_STATUS_USAGE;
        case CommandLine::Action::Import:
        case CommandLine::Action::Export:
            return runExchange(programName, *line.exchange(), line.dataDirectory().value_or(""));
        case CommandLine::Action::Run:
            break;
    }
    // The directory is claimed once the display is open, so that a start without a display
    // creates nothing, and a refusal can be shown to a user who started from the desktop's menu.
    std::unique_ptr<InstanceLock> lock;
    auto claim = [&]() -> std::optional<std::string> {
        std::string problem;
        lock = claimDataDirectory(line.dataDirectory(), DataDirectory::Environment::ofProcess(), problem);
        return lock ? std::nullopt : std::optional<std::string>(problem);
    };
    return runOnRealWindow(programName.c_str(), traceObservers(), claim);
}
