#include <algorithm>
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
std::u16string readUnits(std::ifstream& in, std::uint32_t count) {
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

}  // namespace

void OrnQL_Base::loadText(std::wstring& text, std::ifstream& in) {
    text.clear();
    std::uint32_t length = 0;
    if (!loadValue(in, length)) {
        return;  // the stream has failed: the caller sees a record cut short
    }
    std::u16string units = readUnits(in, length);
    // Every stored text ends with its terminator inside the file. A length that runs past the end
    // (or past the terminator) would swallow the records after it, and one without a terminator
    // is no text we wrote.
    if (length == 0 || units.size() < length || units.back() != u'\0') {
        throw Damaged<OrnQLException_Template>(
            "Fatal OrnQLException: Found a text running past the end of its record while loading!");
    }
    // The text ends at its terminator, as it did when it was written; units after an early zero
    // (damage) are not part of it.
    const std::size_t end = units.find(u'\0');
    text = utf16::decode(units.data(), end);
}

void OrnQL_Base::saveText(const std::wstring& text, std::ofstream& out) {
    std::wstring_view visible(text.c_str());  // up to the first zero, as a reader will see it
    std::u16string units = utf16::encode(visible);
    units.push_back(u'\0');
    const std::string bytes = utf16::toBytesLE(units);
    saveValue(out, static_cast<std::uint32_t>(units.size()));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void OrnQL_Base::saveText(const wchar_t* text, std::ofstream& out) {
    saveText(std::wstring(text == nullptr ? L"" : text), out);
}
