#include "platform/XkbLayoutTable.h"

#include <array>
#include <cctype>

namespace platform {

namespace {

struct Entry {
    const char* identifier;
    const char* layout;
    const char* variant;
};

// Each layout was checked to compile from the installed xkeyboard-config data. Order matters
// for the reverse direction: the first entry of a name is the one an identifier is read back as.
constexpr std::array<Entry, 44> table{{
    {"00000409", "us", ""},
    {"00020409", "us", "intl"},
    {"00010409", "us", "dvorak"},
    {"00000809", "gb", ""},
    {"00000452", "gb", "extd"},
    {"00000407", "de", ""},
    {"00000807", "ch", ""},
    {"0000100C", "ch", "fr"},
    {"0000040C", "fr", ""},
    {"0000080C", "be", ""},
    {"00000813", "be", ""},
    {"0000040A", "es", ""},
    {"0000080A", "latam", ""},
    {"00000410", "it", ""},
    {"00000816", "pt", ""},
    {"00000416", "br", ""},
    {"00000413", "nl", ""},
    {"0000041D", "se", ""},
    {"00000414", "no", ""},
    {"00000406", "dk", ""},
    {"0000040B", "fi", ""},
    {"0000040F", "is", ""},
    {"00000415", "pl", ""},
    {"00000405", "cz", ""},
    {"00010405", "cz", "qwerty"},
    {"0000041B", "sk", ""},
    {"0000040E", "hu", ""},
    {"00010418", "ro", "std"},
    {"0000041F", "tr", ""},
    {"0001041F", "tr", "f"},
    {"00000408", "gr", ""},
    {"00000419", "ru", ""},
    {"00000422", "ua", ""},
    {"00000423", "by", ""},
    {"00000402", "bg", ""},
    {"0000040D", "il", ""},
    {"00000401", "ara", ""},
    {"00000429", "ir", ""},
    {"00000420", "pk", "urd-phonetic"},
    {"00000439", "in", "deva"},
    {"0000041E", "th", ""},
    {"00000411", "jp", ""},
    {"00000412", "kr", ""},
    {"00000804", "cn", ""},
}};

bool sameIdentifier(std::string_view given, const char* known) {
    std::string_view k(known);
    if (given.size() != k.size()) {
        return false;
    }
    for (std::size_t i = 0; i < k.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(given[i])) != k[i]) {
            return false;
        }
    }
    return true;
}

const Entry* findByName(std::string_view layout, std::string_view variant) {
    for (const Entry& e : table) {
        if (layout == e.layout && variant == e.variant) {
            return &e;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<XkbLayoutName> xkbLayoutFor(std::string_view identifier) {
    for (const Entry& e : table) {
        if (sameIdentifier(identifier, e.identifier)) {
            return XkbLayoutName{e.layout, e.variant};
        }
    }
    return std::nullopt;
}

std::optional<std::string> identifierForXkb(std::string_view layout, std::string_view variant) {
    const Entry* e = findByName(layout, variant);
    if (e == nullptr) {
        e = findByName(layout, "");
    }
    if (e == nullptr) {
        // A layout known only with a variant ("in(deva)") still names its language.
        for (const Entry& candidate : table) {
            if (layout == candidate.layout) {
                e = &candidate;
                break;
            }
        }
    }
    if (e == nullptr) {
        return std::nullopt;
    }
    return std::string(e->identifier);
}

std::size_t xkbLayoutTableSize() { return table.size(); }

}  // namespace platform
