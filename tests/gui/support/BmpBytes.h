#pragma once

// Builds the bytes of BMP files for tests: a 54-byte header and bottom-up rows of blue, green,
// red with each row padded to a multiple of four bytes.

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace mernolex::test {

inline void putLittleEndian(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// A 24-bit picture; `colour(column, row)` gives 0x00BBGGRR with row 0 at the top.
inline std::vector<unsigned char> bmp24(int width, int height,
                                        const std::function<std::uint32_t(int, int)>& colour) {
    const int padding = width % 4;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3 + padding;
    std::vector<unsigned char> bytes(54 + rowBytes * height, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittleEndian(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
    putLittleEndian(bytes, 10, 54, 4);
    putLittleEndian(bytes, 14, 40, 4);
    putLittleEndian(bytes, 18, static_cast<std::uint32_t>(width), 4);
    putLittleEndian(bytes, 22, static_cast<std::uint32_t>(height), 4);
    putLittleEndian(bytes, 26, 1, 2);
    putLittleEndian(bytes, 28, 24, 2);
    std::size_t at = 54;
    for (int row = height - 1; row >= 0; --row, at += padding) {
        for (int column = 0; column < width; ++column, at += 3) {
            const std::uint32_t c = colour(column, row);
            bytes[at] = static_cast<unsigned char>(c >> 16);     // blue
            bytes[at + 1] = static_cast<unsigned char>(c >> 8);  // green
            bytes[at + 2] = static_cast<unsigned char>(c);       // red
        }
    }
    return bytes;
}

inline void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace mernolex::test
