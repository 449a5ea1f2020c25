#pragma once

// What the user asked for when starting the program. The program takes few options, so the
// parse is written out here rather than borrowed from GTK: GTK never sees the arguments (the
// window is opened without them), and every option GTK would add is one a user cannot need.
//
//   mernolex [--data DIR]    run, keeping the data in DIR (also --data=DIR)
//   mernolex --help | -h     print the usage and end
//   mernolex --version       print the version and end
//   mernolex [--data DIR] import FILE [options]   import a word list (program/ExchangeCommand.h)
//   mernolex [--data DIR] export FILE [options]   export one, without a window
//
// Anything else (an unknown option, a missing or empty DIR, --data twice, a stray argument) is
// refused with one line saying what was wrong. The parse does no input or output, so tests feed
// it argument vectors directly.

#include <optional>
#include <string>
#include <vector>

#include "program/ExchangeCommand.h"

class CommandLine {
public:
    enum class Action { Run, ShowHelp, ShowVersion, Refuse, Import, Export };

    // Reads the arguments that follow the program name. A refusal wins over --help and --version,
    // so a mistyped command line never passes for a successful one; --help wins over --version.
    static CommandLine parse(const std::vector<std::string>& arguments);

    Action action() const { return action_; }
    // The directory given with --data, as typed (a relative one is relative to the working
    // directory at start); empty when the option was not given.
    const std::optional<std::string>& dataDirectory() const { return dataDirectory_; }
    // The import or export asked for (actions Import and Export).
    const std::optional<ExchangeCommand>& exchange() const { return exchange_; }
    // Why the command line was refused: one line without the program name; empty otherwise.
    const std::string& problem() const { return problem_; }

    // The text printed for --help, ending in a newline.
    static std::string usage(const std::string& programName);
    // The line printed for --version: the program name and its version, ending in a newline.
    static std::string version(const std::string& programName);

private:
    void refuse(std::string problem);
    // Takes the value of --data, or refuses it when it is missing, empty or a repeat.
    void takeDataDirectory(const std::optional<std::string>& value);

    Action action_ = Action::Run;
    std::optional<std::string> dataDirectory_;
    std::optional<ExchangeCommand> exchange_;
    std::string problem_;
};
