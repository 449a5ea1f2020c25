#include "resources/ResourceFileBytes.h"

#include <fstream>
#include <iterator>
#include <limits>

#include "base/FileTransaction.h"
#include "base/Utf16.h"

namespace resource_bytes {

namespace {

constexpr std::size_t kTextEntrySize = 2 * kInt32Size;
constexpr std::size_t kUtf16UnitSize = 2;

// Decodes UTF-16LE text up to its NUL; nothing when the NUL is missing. A surrogate without its
// partner becomes U+FFFD: one bad character in a translation should not cost the whole file.
std::optional<std::wstring> decodeUtf16(std::string_view bytes) {
    const std::u16string units = utf16::fromBytesLE(bytes);
    const std::size_t end = units.find(u'\0');
    if (end == std::u16string::npos) {
        return std::nullopt;
    }
    return utf16::decode(units.data(), end);
}

// Appends text as UTF-16LE followed by its NUL and returns the number of code units written,
// NUL included. Characters beyond the BMP become surrogate pairs; values that are no character
// at all are written as U+FFFD.
std::size_t appendUtf16(std::string& out, std::wstring_view text) {
    std::u16string units = utf16::encode(text);
    units.push_back(u'\0');
    out += utf16::toBytesLE(units);
    return units.size();
}

}  // namespace

std::optional<std::string> readFile(const char* path) {
    FileTransaction::finishPendingWork();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

std::int32_t int32At(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < kInt32Size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[offset + i]);
        value |= static_cast<std::uint32_t>(byte) << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::string_view> storedRange(std::string_view file, std::int32_t position, std::int32_t count,
                                            std::size_t elementSize) {
    if (position < 0 || count < 0) {
        return std::nullopt;
    }
    const auto start = static_cast<std::uint64_t>(position);
    const auto size = static_cast<std::uint64_t>(count) * elementSize;
    if (start > file.size() || size > file.size() - start) {
        return std::nullopt;
    }
    return file.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(size));
}

void appendInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < kInt32Size; ++i) {
        out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    }
}

bool fitsInt32(std::size_t value) {
    return value <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
}

std::optional<std::int32_t> storedTextCount(std::string_view positions) {
    if (positions.size() < kInt32Size) {
        return std::nullopt;
    }
    const std::int32_t count = int32At(positions, 0);
    if (!storedRange(positions, kInt32Size, count, kTextEntrySize)) {
        return std::nullopt;
    }
    return count;
}

std::optional<std::vector<std::wstring>> readTexts(std::string_view positions, std::string_view texts,
                                                   std::int32_t count) {
    std::vector<std::wstring> result;
    result.reserve(static_cast<std::size_t>(count));
    for (std::int32_t index = 0; index < count; ++index) {
        const std::size_t entry = kInt32Size + static_cast<std::size_t>(index) * kTextEntrySize;
        const std::int32_t position = int32At(positions, entry);
        const std::int32_t length = int32At(positions, entry + kInt32Size);
        const std::optional<std::string_view> stored = storedRange(texts, position, length, kUtf16UnitSize);
        if (!stored) {
            return std::nullopt;
        }
        std::optional<std::wstring> text = decodeUtf16(*stored);
        if (!text) {
            return std::nullopt;
        }
        result.push_back(std::move(*text));
    }
    return result;
}

std::optional<TextTableImages> buildTextTable(const std::vector<const wchar_t*>& texts) {
    TextTableImages images;
    if (!fitsInt32(texts.size())) {
        return std::nullopt;
    }
    appendInt32(images.positions, static_cast<std::int32_t>(texts.size()));
    for (const wchar_t* text : texts) {
        const std::size_t position = images.texts.size();
        const std::size_t units = appendUtf16(images.texts, text != nullptr ? text : L"");
        if (!fitsInt32(images.texts.size())) {
            return std::nullopt;
        }
        appendInt32(images.positions, static_cast<std::int32_t>(position));
        appendInt32(images.positions, static_cast<std::int32_t>(units));
    }
    return images;
}

}  // namespace resource_bytes
