#pragma once

// The table between the program's keyboard-layout identifiers (eight hexadecimal digits, as
// languages and text fields store them) and XKB layout names with an optional variant.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct XkbLayoutName {
    std::string layout;   // "de"
    std::string variant;  // "" for the layout's basic variant, "nodeadkeys", ...

    bool operator==(const XkbLayoutName&) const = default;
};

// The XKB layout for an identifier; hexadecimal letters may be given in either case.
// nullopt when the identifier has no mapping.
std::optional<XkbLayoutName> xkbLayoutFor(std::string_view identifier);

// The identifier for an XKB layout and variant, in upper case. An unknown variant of a known
// layout gives the layout's own identifier ("de" "nodeadkeys" gives "00000407"), or the first
// identifier of that layout when it has none without a variant; where two identifiers share a
// name the first one in the table wins. nullopt for an unknown layout.
std::optional<std::string> identifierForXkb(std::string_view layout, std::string_view variant);

// The number of identifiers the table knows.
std::size_t xkbLayoutTableSize();

}  // namespace platform
