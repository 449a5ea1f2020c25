#include "program/ExchangeCommand.h"

#include <functional>
#include <map>

namespace {

std::vector<std::string> splitAtCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', start)) {
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Sets an option's value once; false when it was set before.
bool setOnce(std::optional<std::string>& target, const std::string& value) {
    if (target) {
        return false;
    }
    target = value;
    return true;
}

}  // namespace

std::optional<ExchangeCommand> ExchangeCommand::parse(Kind kind, const std::vector<std::string>& arguments,
                                                      std::string& problem) {
    ExchangeCommand command;
    command.kind = kind;
    const bool importing = kind == Kind::Import;
    std::optional<std::string> columns;
    std::optional<std::string> duplicates;
    std::optional<std::string> format;
    std::map<std::string, std::optional<std::string>*> valued = {{"--foreign", &command.foreign},
                                                                 {"--known", &command.known}};
    std::map<std::string, bool*> flags;
    if (importing) {
        valued.insert({{"--columns", &columns},
                       {"--duplicates", &duplicates},
                       {"--lesson", &command.lesson},
                       {"--known-separator", &command.knownSeparator}});
        flags = {{"--split-articles", &command.splitArticles},
                 {"--skip-refused", &command.skipRefused},
                 {"--dry-run", &command.dryRun}};
    } else {
        valued.insert({"--format", &format});
    }
    const std::string name = importing ? "import" : "export";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::size_t equals = argument.find('=');
        const std::string option = argument.starts_with("--") ? argument.substr(0, equals) : argument;
        if (auto flag = flags.find(option); flag != flags.end() && equals == std::string::npos) {
            *flag->second = true;
        } else if (auto value = valued.find(option); value != valued.end()) {
            const bool inline_ = equals != std::string::npos;
            if (!inline_ && i + 1 >= arguments.size()) {
                problem = "the option " + option + " needs a value";
                return std::nullopt;
            }
            const std::string text = inline_ ? argument.substr(equals + 1) : arguments[++i];
            if (!setOnce(*value->second, text)) {
                problem = "the option " + option + " is given twice";
                return std::nullopt;
            }
        } else if (argument.starts_with("-") && argument != "-") {
            problem = "unknown option '" + argument + "' for " + name;
            return std::nullopt;
        } else if (command.file.empty() && !argument.empty()) {
            command.file = argument;
        } else {
            problem = "unexpected argument '" + argument + "'";
            return std::nullopt;
        }
    }
    if (command.file.empty()) {
        problem = name + " needs a FILE";
        return std::nullopt;
    }
    if (columns) {
        command.columns = splitAtCommas(*columns);
    }
    if (duplicates && *duplicates != "update" && *duplicates != "skip") {
        problem = "--duplicates takes update or skip, not '" + *duplicates + "'";
        return std::nullopt;
    }
    command.skipDuplicates = duplicates == "skip";
    if (format && *format != "tsv" && *format != "kvtml") {
        problem = "--format takes tsv or kvtml, not '" + *format + "'";
        return std::nullopt;
    }
    command.format = !format ? Format::ByName : *format == "kvtml" ? Format::Kvtml : Format::Delimited;
    return command;
}
