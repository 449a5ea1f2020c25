#pragma once

// What a KVTML 2 file says, as the reader hands it out: the document's head (identifiers with
// their grammar, word types, lessons) read once, and its entries one by one.
//
// Grammatical number and person are numbered the same way everywhere here:
//   number  0 singular, 1 plural, 2 dual
//   gender  0 male, 1 female, 2 neutral
//   person  0 first, 1 second, 2 third male, 3 third female, 4 third neutral (or common)

#include <array>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace exchange {

inline constexpr int NUMBERS = 3;
inline constexpr int GENDERS = 3;
inline constexpr int PERSON_SLOTS = 5;

enum class Gender { None = -1, Male = 0, Female = 1, Neutral = 2 };

// articles[number][definite ? 0 : 1][gender]
using ArticleTable = std::array<std::array<std::array<std::wstring, GENDERS>, 2>, NUMBERS>;
// forms[number][person]
using PersonForms = std::array<std::array<std::wstring, PERSON_SLOTS>, NUMBERS>;

struct KvtmlPronouns {
    bool maleFemaleDifferent = false;
    bool neutralExists = false;
    bool dualExists = false;
    PersonForms texts;
};

struct KvtmlIdentifier {
    int id = 0;
    std::wstring name;
    std::wstring locale;
    ArticleTable articles;
    KvtmlPronouns pronouns;
    std::vector<std::wstring> tenses;
};

struct KvtmlConjugation {
    std::wstring tense;
    PersonForms forms;
};

struct KvtmlTranslation {
    std::wstring text;
    std::wstring pronunciation;
    std::wstring comment;
    std::wstring typeName;     // <wordtype><typename>
    std::wstring subTypeName;  // <wordtype><subtypename>
    std::vector<std::wstring> usages;
    std::vector<KvtmlConjugation> conjugations;
};

struct KvtmlEntry {
    int id = -1;
    unsigned line = 0;  // where the entry starts in the file
    std::vector<std::pair<int, KvtmlTranslation>> translations;  // by identifier id, file order

    const KvtmlTranslation* translation(int identifierId) const {
        for (const auto& [id, translation] : translations) {
            if (id == identifierId) {
                return &translation;
            }
        }
        return nullptr;
    }
};

struct KvtmlWordType {
    std::wstring name;
    std::wstring special;  // <specialwordtype>: noun, verb, male, female, neutral, ...
    std::vector<KvtmlWordType> subtypes;
};

struct KvtmlHead {
    std::wstring title;
    std::vector<KvtmlIdentifier> identifiers;
    std::vector<std::wstring> documentTenses;  // the older document-level <tenses>
    std::vector<KvtmlWordType> wordTypes;
    // Lessons flattened: a nested container is named by its path, "Outer::Inner".
    std::vector<std::wstring> lessons;
    // The lesson of each entry id: the first container that names it.
    std::unordered_map<int, unsigned> lessonOfEntry;
    // The tense names conjugations use, per identifier id, in the order they first occur.
    std::unordered_map<int, std::vector<std::wstring>> conjugationTenses;
    unsigned entries = 0;

    const KvtmlIdentifier* identifier(int id) const {
        for (const KvtmlIdentifier& identifier : identifiers) {
            if (identifier.id == id) {
                return &identifier;
            }
        }
        return nullptr;
    }
    // The gender a translation's word type gives (through the definitions, or the subtype's own
    // name when no definition names it); None for anything but a gendered noun.
    Gender genderOf(const KvtmlTranslation& translation) const;
};

}  // namespace exchange
