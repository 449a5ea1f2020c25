#include "exchange/TextDecoding.h"

#include <cstdint>

#include "base/Utf8.h"

namespace exchange {

namespace {

constexpr unsigned char INVALID_BYTE = 0xFF;

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    auto unitAt = [&](std::size_t i) -> char16_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char16_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                utf8::appendCodePoint(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            out.push_back(static_cast<char>(INVALID_BYTE));
        } else {
            utf8::appendCodePoint(out, unit);
        }
    }
    if (i < bytes.size()) {
        out.push_back(static_cast<char>(INVALID_BYTE));
    }
    return out;
}

bool startsWith(const std::string& bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && std::string_view(bytes).substr(0, prefix.size()) == prefix;
}

}  // namespace

FileText decodeFileText(std::string bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.erase(0, 3);
        return {FileEncoding::Utf8Bom, std::move(bytes)};
    }
    if (startsWith(bytes, "\xFF\xFE")) {
        return {FileEncoding::Utf16LE, utf16ToUtf8(std::string_view(bytes).substr(2), false)};
    }
    if (startsWith(bytes, "\xFE\xFF")) {
        return {FileEncoding::Utf16BE, utf16ToUtf8(std::string_view(bytes).substr(2), true)};
    }
    return {FileEncoding::Utf8, std::move(bytes)};
}

bool decodeUtf8Strict(std::string_view text, std::wstring& out) {
    out.clear();
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            // Most text of a word list is ASCII: a run of it is copied in one go.
            std::size_t end = i + 1;
            while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) {
                ++end;
            }
            const std::size_t at = out.size();
            out.resize(at + (end - i));
            for (std::size_t k = i; k < end; ++k) {
                out[at + (k - i)] = static_cast<wchar_t>(static_cast<unsigned char>(text[k]));
            }
            i = end;
            continue;
        }
        unsigned length = 0;
        char32_t c = 0;
        char32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, c = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, c = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, c = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (unsigned k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        out.push_back(static_cast<wchar_t>(c));
        i += length;
    }
    return true;
}

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        const auto c = static_cast<char32_t>(w);
        utf8::appendCodePoint(out, c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? 0xFFFD : c);
    }
    return out;
}

}  // namespace exchange
