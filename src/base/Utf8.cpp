#include "base/Utf8.h"

namespace utf8 {

namespace {

bool isScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// Decodes one well-formed UTF-8 sequence at text[i]; returns its length, or 0 when the bytes
// there are not one (overlong forms, surrogates and truncated sequences included).
std::size_t decodeSequence(std::string_view text, std::size_t i, char32_t& out) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    unsigned char lead = byte(0);
    std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                                     : (lead & 0xF8) == 0xF0   ? 4
                                                               : 0;
    if (length == 0 || i + length > text.size()) {
        return 0;
    }
    char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F)
                                                                                 : (lead & 0x07);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (byte(k) & 0x3F);
    }
    static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || !isScalarValue(c)) {
        return 0;
    }
    out = c;
    return length;
}

}  // namespace

void appendCodePoint(std::string& out, char32_t c) {
    if (!isScalarValue(c)) {
        c = 0xFFFD;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string encode(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        if (w == L'\0') {
            break;
        }
        appendCodePoint(out, static_cast<char32_t>(w));
    }
    return out;
}

std::wstring decode(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size() && text[i] != '\0') {
        char32_t c = 0;
        std::size_t length = decodeSequence(text, i, c);
        if (length == 0) {
            c = static_cast<unsigned char>(text[i]);
            length = 1;
        }
        out += static_cast<wchar_t>(c);
        i += length;
    }
    return out;
}

}  // namespace utf8
