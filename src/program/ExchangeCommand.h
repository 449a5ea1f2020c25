#pragma once

// The word-list commands of the command line, parsed (no input or output):
//
//   mernolex import FILE [--foreign LANG] [--known LANG] [--columns ROLE,ROLE,...]
//                        [--duplicates update|skip] [--lesson NAME] [--split-articles]
//                        [--known-separator TEXT] [--skip-refused] [--dry-run]
//   mernolex export FILE [--format tsv|kvtml] [--foreign LANG] [--known LANG]
//
// Each option takes its value as the next word or after "=". A missing value, a repeated option,
// an unknown one or a second FILE is refused with one line saying what was wrong.

#include <optional>
#include <string>
#include <vector>

struct ExchangeCommand {
    enum class Kind { Import, Export };
    enum class Format { ByName, Delimited, Kvtml };

    Kind kind = Kind::Import;
    std::string file;
    std::optional<std::string> foreign;
    std::optional<std::string> known;
    // import
    std::optional<std::vector<std::string>> columns;
    bool skipDuplicates = false;
    std::optional<std::string> lesson;
    bool splitArticles = false;
    std::optional<std::string> knownSeparator;
    bool skipRefused = false;
    bool dryRun = false;
    // export
    Format format = Format::ByName;

    // `arguments` follow the command's name; nothing, with the reason in `problem`, when they are
    // wrong.
    static std::optional<ExchangeCommand> parse(Kind kind, const std::vector<std::string>& arguments,
                                                std::string& problem);
};
