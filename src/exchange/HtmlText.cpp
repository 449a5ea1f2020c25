#include "exchange/HtmlText.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "base/Utf8.h"

namespace exchange {

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

// Text of a character reference; a NUL or no scalar value becomes U+FFFD.
void appendUtf8(std::string& out, unsigned long c) {
    utf8::appendCodePoint(out, c == 0 || c > 0x10FFFF ? 0xFFFD : static_cast<char32_t>(c));
}

// The character a reference names ("amp", "#228", "#xE4"), or nothing.
std::optional<unsigned long> referenced(std::string_view name) {
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8) {
            return std::nullopt;
        }
        unsigned long value = 0;
        for (char c : digits) {
            const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                              : hex && std::isxdigit(static_cast<unsigned char>(c))
                                  ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                                  : -1;
            if (digit < 0) {
                return std::nullopt;
            }
            value = value * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
        }
        return value;
    }
    static const std::pair<const char*, unsigned long> named[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '}};
    for (const auto& [entity, character] : named) {
        if (name == entity) {
            return character;
        }
    }
    return std::nullopt;
}

// The tag's name in lower case, without "/" and attributes.
std::string tagName(std::string_view tag) {
    std::size_t at = 0;
    while (at < tag.size() && (tag[at] == '/' || tag[at] == ' ')) {
        ++at;
    }
    std::size_t end = at;
    while (end < tag.size() && std::isalnum(static_cast<unsigned char>(tag[end]))) {
        ++end;
    }
    return lowered(tag.substr(at, end - at));
}

bool breaksLine(std::string_view tag) {
    const std::string name = tagName(tag);
    const bool closing = !tag.empty() && tag[0] == '/';
    return name == "br" || (closing && (name == "div" || name == "p" || name == "li" || name == "tr"));
}

}  // namespace

std::string htmlToText(std::string_view html) {
    std::string out;
    out.reserve(html.size());
    std::string skipUntil;  // "</script" while inside one
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t end = html.find('>', i + 1);
            if (end == std::string_view::npos) {
                out.append(html.substr(i));  // not a tag after all
                break;
            }
            const std::string_view tag = html.substr(i + 1, end - i - 1);
            const std::string name = tagName(tag);
            if (!skipUntil.empty()) {
                if (!tag.empty() && tag[0] == '/' && name == skipUntil) {
                    skipUntil.clear();
                }
            } else if ((name == "script" || name == "style") && (tag.empty() || tag[0] != '/')) {
                skipUntil = name;
            } else if (breaksLine(tag)) {
                out.push_back('\n');
            }
            i = end + 1;
            continue;
        }
        if (!skipUntil.empty()) {
            ++i;
            continue;
        }
        if (c == '&') {
            const std::size_t semicolon = html.find(';', i + 1);
            if (semicolon != std::string_view::npos && semicolon - i <= 12) {
                if (std::optional<unsigned long> character = referenced(html.substr(i + 1, semicolon - i - 1))) {
                    appendUtf8(out, *character);
                    i = semicolon + 1;
                    continue;
                }
            }
        }
        out.push_back(c);
        ++i;
    }
    while (!out.empty() && out.back() == '\n') {
        out.pop_back();
    }
    return out;
}

std::string textToHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\n': out += "<br>"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

}  // namespace exchange
