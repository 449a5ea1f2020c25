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
    std::optional<ExchangeCommand::Kind> command;
    std::vector<std::string> commandArguments;
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
        } else if (command) {
            commandArguments.push_back(argument);
        } else if (argument == "import" || argument == "export") {
            command = argument == "import" ? ExchangeCommand::Kind::Import : ExchangeCommand::Kind::Export;
        } else if (argument.starts_with("-")) {
            line.refuse("unknown option '" + argument + "'");
        } else {
            line.refuse("unexpected argument '" + argument + "'");
        }
    }
    if (line.action_ == Action::Refuse) {
        return line;
    }
    if (command && !help && !version) {
        std::string problem;
        line.exchange_ = ExchangeCommand::parse(*command, commandArguments, problem);
        if (!line.exchange_) {
            line.refuse(problem);
            return line;
        }
        line.action_ = *command == ExchangeCommand::Kind::Import ? Action::Import : Action::Export;
        return line;
    }
    line.action_ = help ? Action::ShowHelp : version ? Action::ShowVersion : Action::Run;
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
    exchange_.reset();
}

std::string CommandLine::usage(const std::string& programName) {
    return "Usage: " + programName + " [--data DIR]\n"
           "       " + programName + " [--data DIR] import FILE [import options]\n"
           "       " + programName + " [--data DIR] export FILE [--format tsv|kvtml] [--foreign LANG] [--known LANG]\n"
           "A vocabulary trainer that knows grammar: languages, words, verbs and flashcards,\n"
           "practised along a ladder of levels.\n"
           "\n"
           "Options:\n"
           "  --data DIR   keep the data in DIR (created when missing)\n"
           "  -h, --help   show this help and end\n"
           "  --version    show the version and end\n"
           "\n"
           "import reads a word list (delimited text such as Anki's text export, or KVTML) into the\n"
           "collection, as one save: all of it or, when anything fails, nothing. Options:\n"
           "  --foreign LANG, --known LANG  the languages of the two sides (made when missing;\n"
           "                  for KVTML the identifiers of those names, else the first two)\n"
           "  --columns ROLE,...            what each column holds: foreign, known, article,\n"
           "                  pronunciation, mnemonic, lesson, category, tags or skip\n"
           "  --duplicates update|skip      a foreign word with a card: add to it (default) or not\n"
           "  --lesson NAME                 put every card into lesson NAME\n"
           "  --split-articles              \"der Tisch\": article der, word Tisch\n"
           "  --known-separator TEXT        between several known words in a field (default ;)\n"
           "  --skip-refused                import the rest when rows are refused (else nothing)\n"
           "  --dry-run                     show what would be imported, store nothing\n"
           "export writes the cards of one language pair (the one with the most cards unless\n"
           "named) as delimited text with Anki's header lines, or as KVTML (by the FILE's ending\n"
           ".kvtml, or --format). Status: 0 done, 1 refused input (nothing stored), 2 the data\n"
           "directory could not be read or written.\n"
           "\n"
           "Without --data the data lives in the current directory when it holds a Data folder,\n"
           "otherwise in $XDG_DATA_HOME/mernolex (~/.local/share/mernolex when XDG_DATA_HOME is\n"
           "not set), created on the first start. One Mernolex at a time works on a data\n"
           "directory; a second one started on it says so and ends.\n";
}

std::string CommandLine::version(const std::string& programName) {
    return programName + " " + MERNOLEX_VERSION + "\n";
}
