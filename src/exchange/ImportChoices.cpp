#include "exchange/ImportChoices.h"

#include <algorithm>

#include "exchange/ExchangeText.h"
#include "exchange/LanguageGrammar.h"

namespace exchange {

std::wstring identifierLanguageName(const KvtmlHead& head, int identifier) {
    if (const KvtmlIdentifier* found = head.identifier(identifier)) {
        if (!found->name.empty()) {
            return found->name;
        }
        if (!found->locale.empty()) {
            return found->locale;
        }
    }
    return L"Language " + std::to_wstring(identifier + 1);
}

ImportChoices defaultChoices(ImportFile& file) {
    ImportChoices choices;
    if (file.format() == FileFormat::Delimited) {
        choices.roles = suggestedRoles(file.delimited(), file.columns());
        return choices;
    }
    const KvtmlHead& head = file.kvtml().head();
    if (head.identifiers.size() >= 2) {
        choices.foreignIdentifier = head.identifiers[0].id;
        choices.knownIdentifier = head.identifiers[1].id;
    }
    choices.foreignLanguage = identifierLanguageName(head, choices.foreignIdentifier);
    choices.knownLanguage = identifierLanguageName(head, choices.knownIdentifier);
    return choices;
}

namespace {

LanguageGrammar grammarFor(ImportFile& file, int identifier, const std::wstring& name) {
    LanguageGrammar grammar;
    if (file.format() == FileFormat::Kvtml) {
        const KvtmlHead& head = file.kvtml().head();
        if (const KvtmlIdentifier* found = head.identifier(identifier)) {
            grammar = LanguageGrammar::ofIdentifier(head, *found);
        }
    }
    grammar.name = name;
    return grammar;
}

bool hasRole(const std::vector<ColumnRole>& roles, ColumnRole role) {
    return std::find(roles.begin(), roles.end(), role) != roles.end();
}

}  // namespace

std::unique_ptr<Import> prepareImport(ImportFile& file, const ImportChoices& choices, std::wstring& problem) {
    if (choices.foreignLanguage.empty() || choices.knownLanguage.empty()) {
        problem = text2(String2_CHOOSE_LANGUAGES);
        return nullptr;
    }
    if (choices.foreignLanguage == choices.knownLanguage ||
        (file.format() == FileFormat::Kvtml && choices.foreignIdentifier == choices.knownIdentifier)) {
        problem = text2(String2_LANGUAGES_MUST_DIFFER);
        return nullptr;
    }
    std::unique_ptr<RowSource> source;
    if (file.format() == FileFormat::Delimited) {
        if (!hasRole(choices.roles, ColumnRole::Foreign) || !hasRole(choices.roles, ColumnRole::Known)) {
            problem = text2(String2_CHOOSE_COLUMNS);
            return nullptr;
        }
        source = file.rows(choices.roles);
    } else {
        source = file.rows(choices.foreignIdentifier, choices.knownIdentifier);
    }
    return std::make_unique<Import>(
        std::move(source), choices.options,
        LanguageTarget::named(grammarFor(file, choices.foreignIdentifier, choices.foreignLanguage)),
        LanguageTarget::named(grammarFor(file, choices.knownIdentifier, choices.knownLanguage)));
}

}  // namespace exchange
