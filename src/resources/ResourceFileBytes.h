#pragma once

// The byte-level pieces the framework files share: reading a whole file, little-endian 32-bit
// integers, ranges a stored position and count describe, and tables of UTF-16 texts stored as a
// positions file beside a texts file. Internal to the resources layer.
//
// A table of texts is two files:
//   positions file   0        4   count of texts
//                    4 + 8i   4   byte position of text i in the texts file
//                    8 + 8i   4   length of text i in UTF-16 code units, including its NUL
//   texts file       the texts as UTF-16LE, each followed by a 16-bit NUL, in index order.
// Every number is a 32-bit signed little-endian integer.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace resource_bytes {

inline constexpr std::size_t kInt32Size = 4;

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> readFile(const char* path);

// The little-endian 32-bit integer at offset; the caller has checked that it lies inside bytes.
std::int32_t int32At(std::string_view bytes, std::size_t offset);

// The part of a file that a stored position and element count describe, or nothing when that part
// does not lie entirely inside the file.
std::optional<std::string_view> storedRange(std::string_view file, std::int32_t position, std::int32_t count,
                                            std::size_t elementSize);

void appendInt32(std::string& out, std::int32_t value);

bool fitsInt32(std::size_t value);

// The stored count of a table of texts, or nothing when the positions file cannot hold that many
// entries (or holds no count at all).
std::optional<std::int32_t> storedTextCount(std::string_view positions);

// Reads the first `count` texts of a table (count <= its stored count). Nothing when a position
// or length reaches outside the texts file or a text has no NUL inside its length. A surrogate
// without its partner becomes U+FFFD.
std::optional<std::vector<std::wstring>> readTexts(std::string_view positions, std::string_view texts,
                                                   std::int32_t count);

// The two files of a table holding `texts` (a null text is stored as the empty text); nothing
// when the table would not fit 32-bit positions.
struct TextTableImages {
    std::string positions;
    std::string texts;
};
std::optional<TextTableImages> buildTextTable(const std::vector<const wchar_t*>& texts);

}  // namespace resource_bytes
