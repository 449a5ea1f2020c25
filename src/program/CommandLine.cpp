#include "program/CommandLine.h"

#include <string_view>

#ifndef MERNOLEX_VERSION
#error "MERNOLEX_VERSION must be defined by the build (the project's version)"
#endif

namespace {

constexpr std::string_view DATA_OPTION = "--data";

}  // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool help = false;
    bool version = false;
    for (std::size_t i = 0; i < arguments.size() && line.action_ != Action::Refuse; ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == DATA_OPTION) {
            const bool hasValue = i + 1 < arguments.size();
            line.takeDataDirectory(hasValue ? std::optional<std::string>(arguments[++i]) : std::nullopt);
        } else if (argument.starts_with(std::string(DATA_OPTION) + "=")) {
            line.takeDataDirectory(argument.substr(DATA_OPTION.size() + 1));
        } else if (argument.starts_with("-")) {
            line.refuse("unknown option '" + argument + "'");
        } else {
            line.refuse("unexpected argument '" + argument + "'");
        }
    }
    if (line.action_ != Action::Refuse) {
        line.action_ = help ? Action::ShowHelp : version ? Action::ShowVersion : Action::Run;
    }
    return line;
}

void CommandLine::takeDataDirectory(const std::optional<std::string>& value) {
    if (dataDirectory_) {
        refuse("the option --data is given twice");
    } else if (!value || value->empty()) {
        refuse("the option --data needs a directory");
    } else {
        dataDirectory_ = *value;
    }
}

void CommandLine::refuse(std::string problem) {
    action_ = Action::Refuse;
    problem_ = std::move(problem);
    dataDirectory_.reset();
}

std::string CommandLine::usage(const std::string& programName) {
    return "Usage: " + programName + " [--data DIR]\n"
           "A vocabulary trainer that knows grammar: languages, words, verbs and flashcards,\n"
           "practised along a ladder of levels.\n"
           "\n"
           "Options:\n"
           "  --data DIR   keep the data in DIR (created when missing)\n"
           "  -h, --help   show this help and end\n"
           "  --version    show the version and end\n"
           "\n"
           "Without --data the data lives in the current directory when it holds a Data folder,\n"
           "otherwise in $XDG_DATA_HOME/mernolex (~/.local/share/mernolex when XDG_DATA_HOME is\n"
           "not set), created on the first start. One Mernolex at a time works on a data\n"
           "directory; a second one started on it says so and ends.\n";
}

std::string CommandLine::version(const std::string& programName) {
    return programName + " " + MERNOLEX_VERSION + "\n";
}
