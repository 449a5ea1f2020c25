#include <algorithm>
#include <cwchar>
#include <cstdint>
#include <string>

#include "base/Utf16.h"
#include "db/OrnQL_Base.h"
#include "db/OrnQL_Exception.h"
#include "db/OrnQL_Stream.h"

namespace {

// Units are read in slices of this many, so a damaged length can never make us allocate more
// than the file really holds plus one slice.
constexpr std::size_t UNITS_PER_SLICE = 4096;

// Reads up to `count` UTF-16LE units; stops early at the end of the file.
std::u16string readUnits(std::istream& in, std::uint32_t count) {
    std::u16string units;
    std::string bytes;
    while (units.size() < count) {
        std::size_t slice = std::min<std::size_t>(UNITS_PER_SLICE, count - units.size());
        bytes.resize(slice * 2);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        units += utf16::fromBytesLE(bytes);
        if (bytes.size() < slice * 2) {
            break;
        }
    }
    return units;
}

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Decodes little-endian UTF-16 units up to the first zero straight into `text`, as utf16::decode
// does (pairs become one character, lone surrogates U+FFFD), without a string of units between.
void decodeUntilZero(const unsigned char* bytes, std::size_t count, std::wstring& text) {
    text.resize(count);
    std::size_t length = 0;
    auto unitAt = [bytes](std::size_t i) { return static_cast<char32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)); };
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t unit = unitAt(i);
        if (unit == 0) {
            break;
        }
        if (isHighSurrogate(unit) && i + 1 < count && isLowSurrogate(unitAt(i + 1))) {
            const char32_t low = unitAt(++i);
            text[length++] = static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            text[length++] = static_cast<wchar_t>(utf16::REPLACEMENT);
        } else {
            text[length++] = static_cast<wchar_t>(unit);
        }
    }
    text.resize(length);
}

[[noreturn]] void throwTextPastItsEnd() {
    throw Damaged<OrnQLException_Template>(
        "Fatal OrnQLException: Found a text running past the end of its record while loading!");
}

// The text when the stream holds all of its units already (a file read into memory): one copy of
// the bytes, decoded straight into the text. False, reading nothing, otherwise.
bool loadBufferedText(std::wstring& text, std::istream& in, std::uint32_t length) {
    const std::streamsize available = in.rdbuf()->in_avail();
    if (length == 0 || available < 0 || static_cast<std::uint64_t>(available) < 2ull * length) {
        return false;
    }
    // Most texts fit the stack; a longer one gets a buffer of its own, so that every load makes
    // the same allocations (a buffer kept between loads would not).
    char shortText[512];
    std::string longText;
    const std::size_t size = 2 * static_cast<std::size_t>(length);
    char* bytes = shortText;
    if (size > sizeof shortText) {
        longText.resize(size);
        bytes = longText.data();
    }
    if (in.rdbuf()->sgetn(bytes, static_cast<std::streamsize>(size)) != static_cast<std::streamsize>(size)) {
        in.setstate(std::ios::failbit);
        return true;  // the caller sees a record cut short
    }
    const auto* units = reinterpret_cast<const unsigned char*>(bytes);
    if (units[size - 2] != 0 || units[size - 1] != 0) {
        throwTextPastItsEnd();
    }
    decodeUntilZero(units, length, text);
    return true;
}

// Saving writes the units straight to the stream in slices of a stack buffer: a save of an
// import writes tens of thousands of texts, and three strings made for each one were most of
// the cost of serialising a word. The bytes are those of utf16::toBytesLE(utf16::encode(text)).
void saveUnits(const wchar_t* text, std::size_t length, std::ostream& out) {
    std::size_t units = length + 1;  // with the terminator
    for (std::size_t i = 0; i < length; ++i) {
        units += utf16::unitsOf(text[i]) - 1;
    }
    saveValue(out, static_cast<std::uint32_t>(units));
    char slice[512];
    std::size_t used = 0;
    auto put = [&](char16_t unit) {
        if (used == sizeof slice) {
            saveChars(out, slice, used);
            used = 0;
        }
        slice[used++] = static_cast<char>(unit & 0xFF);
        slice[used++] = static_cast<char>(unit >> 8);
    };
    for (std::size_t i = 0; i < length; ++i) {
        char16_t pair[2];
        const std::size_t count = utf16::encodeOne(text[i], pair);
        for (std::size_t u = 0; u < count; ++u) {
            put(pair[u]);
        }
    }
    put(u'\0');
    saveChars(out, slice, used);
}

}  // namespace

void OrnQL_Base::loadText(std::wstring& text, std::istream& in) {
    text.clear();
    std::uint32_t length = 0;
    if (!loadValue(in, length)) {
        return;  // the stream has failed: the caller sees a record cut short
    }
    if (loadBufferedText(text, in, length)) {
        return;
    }
    std::u16string units = readUnits(in, length);
    // Every stored text ends with its terminator inside the file. A length that runs past the end
    // (or past the terminator) would swallow the records after it, and one without a terminator
    // is no text we wrote.
    if (length == 0 || units.size() < length || units.back() != u'\0') {
        throwTextPastItsEnd();
    }
    // The text ends at its terminator, as it did when it was written; units after an early zero
    // (damage) are not part of it.
    const std::size_t end = units.find(u'\0');
    text = utf16::decode(units.data(), end);
}

void OrnQL_Base::saveText(const std::wstring& text, std::ostream& out) {
    // Up to the first zero, as a reader will see it.
    saveUnits(text.c_str(), std::min(text.size(), text.find(L'\0')), out);
}

void OrnQL_Base::saveText(const wchar_t* text, std::ostream& out) {
    saveUnits(text == nullptr ? L"" : text, text == nullptr ? 0 : std::wcslen(text), out);
}
