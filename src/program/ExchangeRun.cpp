#include "program/ExchangeRun.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "base/Utf8.h"
#include "exchange/ExportSet.h"
#include "exchange/ExportWriters.h"
#include "exchange/ImportChoices.h"
#include "exchange/TextDecoding.h"
#include "model/Database.h"
#include "model/Language.h"
#include "model/ProvisionalRecords.h"
#include "program/Launch.h"

namespace {

using namespace exchange;

struct Output {
    std::string program;

    void say(const std::string& line) const {
        std::fputs((line + "\n").c_str(), stdout);
        std::fflush(stdout);
    }
    void say(const std::wstring& line) const { say(toUtf8(line)); }
    void complain(const std::string& line) const {
        std::fputs((program + ": " + line + "\n").c_str(), stderr);
        std::fflush(stderr);
    }
    void complain(const std::wstring& line) const { complain(toUtf8(line)); }
};

std::string absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path made = std::filesystem::absolute(path, error);
    return error ? path : made.string();
}

// The collection of the data directory, loaded as a start loads it; false after saying why not.
bool openCollection(const Output& out) {
    const int status = loadDatabase(D_ENDTAG);
    if (status == LOAD_FATAL || !removeAbandonedRecords()) {
        out.complain("the collection cannot be read or written");
        return false;
    }
    if (status == LOAD_RESET) {
        out.complain("some tables were damaged and reset; their files are in Data/Backup");
    }
    return true;
}

// For KVTML: the identifier a language name stands for (by name or locale), if any.
std::optional<int> identifierNamed(const KvtmlHead& head, const std::string& name) {
    const std::wstring wanted = utf8::decode(name);
    for (const KvtmlIdentifier& identifier : head.identifiers) {
        if (identifier.name == wanted || identifier.locale == wanted) {
            return identifier.id;
        }
    }
    return std::nullopt;
}

void chooseKvtmlSides(ImportFile& file, const ExchangeCommand& command, ImportChoices& choices) {
    const KvtmlHead& head = file.kvtml().head();
    auto side = [&](const std::optional<std::string>& name, int& identifier, std::wstring& language) {
        if (!name) {
            return;
        }
        if (std::optional<int> named = identifierNamed(head, *name)) {
            identifier = *named;
        }
        language = utf8::decode(*name);
    };
    const int foreignBefore = choices.foreignIdentifier;
    side(command.foreign, choices.foreignIdentifier, choices.foreignLanguage);
    side(command.known, choices.knownIdentifier, choices.knownLanguage);
    // Naming the known side's identifier as foreign swaps the two.
    if (choices.foreignIdentifier == choices.knownIdentifier && !command.known) {
        choices.knownIdentifier = foreignBefore;
        choices.knownLanguage = identifierLanguageName(head, foreignBefore);
    }
}

bool makeChoices(ImportFile& file, const ExchangeCommand& command, ImportChoices& choices, const Output& out) {
    choices = defaultChoices(file);
    if (file.format() == FileFormat::Kvtml) {
        chooseKvtmlSides(file, command, choices);
    } else {
        choices.foreignLanguage = utf8::decode(command.foreign.value_or(""));
        choices.knownLanguage = utf8::decode(command.known.value_or(""));
        if (command.columns) {
            choices.roles.clear();
            for (const std::string& name : *command.columns) {
                const std::optional<ColumnRole> role = roleNamed(name);
                if (!role) {
                    out.complain("unknown column role '" + name + "' (see --help)");
                    return false;
                }
                choices.roles.push_back(*role);
            }
        }
    }
    choices.options.duplicates = command.skipDuplicates ? DuplicateRule::Skip : DuplicateRule::Update;
    choices.options.splitLeadingArticle = command.splitArticles;
    if (command.knownSeparator) {
        choices.options.knownSeparator = utf8::decode(*command.knownSeparator);
    }
    choices.options.lesson = utf8::decode(command.lesson.value_or(""));
    return true;
}

void reportPreview(const ImportPreview& preview, const Output& out) {
    const ImportCounts& counts = preview.counts;
    out.say("rows: " + std::to_string(counts.rows()) + ", new cards: " + std::to_string(counts.added) +
            ", updated: " + std::to_string(counts.updated) + ", skipped: " + std::to_string(counts.skipped) +
            ", merged into earlier rows: " + std::to_string(counts.merged) + ", refused: " +
            std::to_string(counts.refused));
    for (const Refusal& refusal : preview.refusals) {
        out.say(describe(refusal));
    }
    if (counts.refused > preview.refusals.size()) {
        out.say("... and " + std::to_string(counts.refused - preview.refusals.size()) + " more refused rows");
    }
}

int runImport(const ExchangeCommand& command, const Output& out, const std::string& file) {
    std::wstring problem;
    std::unique_ptr<ImportFile> opened = ImportFile::open(file, problem);
    if (opened == nullptr) {
        out.complain(problem);
        return EXIT_REFUSED;
    }
    ImportChoices choices;
    if (!makeChoices(*opened, command, choices, out)) {
        return EXIT_REFUSED;
    }
    std::unique_ptr<Import> import = prepareImport(*opened, choices, problem);
    if (import == nullptr) {
        out.complain(problem);
        return EXIT_REFUSED;
    }
    import->previewSome(noDeadline());
    if (!import->failure().empty()) {
        out.complain(import->failure());
        return EXIT_REFUSED;
    }
    reportPreview(import->preview(), out);
    if (import->preview().counts.refused > 0 && !command.skipRefused) {
        out.say("nothing stored: rows were refused (--skip-refused imports the rest)");
        return EXIT_REFUSED;
    }
    if (command.dryRun) {
        out.say("nothing stored (--dry-run)");
        return EXIT_DONE;
    }
    import->storeSome(noDeadline());
    if (saveDatabaseTables({}) != 0) {
        import->takeBack();
        out.complain("the collection could not be saved; nothing was stored");
        return EXIT_DATA_DIRECTORY;
    }
    import->kept();
    const ImportCounts& stored = import->storedCounts();
    out.say("stored: " + std::to_string(stored.added) + " new cards, " + std::to_string(stored.updated) +
            " updated");
    return EXIT_DONE;
}

std::optional<unsigned> languageNamed(const std::string& name) {
    const std::wstring wanted = utf8::decode(name);
    for (auto it = Language::begin(); it != Language::end(); ++it) {
        if (wanted == it->get_name()) {
            return it->getId();
        }
    }
    return std::nullopt;
}

int runExport(const ExchangeCommand& command, const Output& out, const std::string& file) {
    const std::vector<LanguagePair> pairs = languagePairs();
    LanguagePair pair;
    if (!pairs.empty()) {
        pair = pairs.front();
    }
    for (const auto& [name, side] : {std::pair{command.foreign, &pair.foreign}, std::pair{command.known, &pair.known}}) {
        if (name) {
            const std::optional<unsigned> id = languageNamed(*name);
            if (!id) {
                out.complain("the collection has no language named '" + *name + "'");
                return EXIT_REFUSED;
            }
            *side = *id;
        }
    }
    if (pair.foreign == 0 || pair.known == 0) {
        out.complain("the collection has no flashcards to export");
        return EXIT_REFUSED;
    }
    const ExportSet set = collectExport(pair.foreign, pair.known);
    const bool kvtml = command.format == ExchangeCommand::Format::Kvtml ||
                       (command.format == ExchangeCommand::Format::ByName &&
                        (file.ends_with(".kvtml") || file.ends_with(".xml")));
    std::wstring problem;
    if (!writeExportFile(file, kvtml ? writeKvtml(set) : writeDelimited(set), problem)) {
        out.complain(problem);
        return EXIT_REFUSED;
    }
    out.say("exported " + std::to_string(set.cards.size()) + " cards (" + toUtf8(set.foreign.name) + " - " +
            toUtf8(set.known.name) + ") to " + file);
    return EXIT_DONE;
}

}  // namespace

int runExchange(const std::string& programName, const ExchangeCommand& command, const std::string& dataDirectory) {
    const Output out{programName};
    // The file is named from where the command was given; the data directory becomes the
    // working directory.
    const std::string file = absolute(command.file);
    std::string problem;
    std::unique_ptr<InstanceLock> lock =
        claimDataDirectory(dataDirectory.empty() ? std::nullopt : std::optional<std::string>(dataDirectory),
                           DataDirectory::Environment::ofProcess(), problem);
    if (lock == nullptr) {
        out.complain(problem);
        return EXIT_DATA_DIRECTORY;
    }
    if (!openCollection(out)) {
        return EXIT_DATA_DIRECTORY;
    }
    const int status = command.kind == ExchangeCommand::Kind::Import ? runImport(command, out, file)
                                                                      : runExport(command, out, file);
    if (!checkpointDatabase()) {
        out.complain("the saved collection could not be made durable; the next start finishes it");
    }
    resetDatabase();
    return status;
}
