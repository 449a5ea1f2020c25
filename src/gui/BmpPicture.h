#pragma once

// Reading of the program's pictures: uncompressed 24-bit BMP files with a 40-byte information
// header and no palette, bottom-up.
//
//   offset  size  field
//   0       2     "BM"                     not checked
//   2       16    file size, reserved, pixel data offset (always taken as 54), header size
//   18      4     width, signed little-endian      must be 1 .. 16384
//   22      4     height, signed little-endian     must be 1 .. 16384 (top-down pictures,
//                                                  with a negative height, are refused)
//   26      28    planes, bit depth, compression, sizes, colours: not looked at
//   54      ...   pixel rows, bottom row first; each row `width` pixels of blue, green, red,
//                 followed by width mod 4 bytes of padding (which makes 3 * width a multiple of 4)
//
// A picture of another bit depth is read by the same rules (and shows garbled colours), but never
// beyond the file's bytes: a file too short for the pixels its header announces is no picture.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "resources/frameworkFileManager.h"

struct BmpPicture {
    static constexpr std::size_t HEADER_SIZE = 54;
    static constexpr std::int32_t MAX_SIDE = 16384;

    unsigned long pixelWidth = 0;
    unsigned long pixelHeight = 0;
    // pixelWidth columns of pixelHeight colours each (0x00BBGGRR), column after column, row 0 at
    // the top: pixel (column, row) is bit[column * pixelHeight + row].
    std::vector<COLORREF> bit;
};

// The number of bytes of the file whose first HEADER_SIZE bytes are `header`, as far as the
// pixels go; nothing when the header describes no picture (a side below 1 or above MAX_SIDE).
std::optional<std::size_t> bmpFileBytes(const unsigned char* header);
// Decodes the bytes of a BMP file; nothing when they are no picture by the rules above.
std::optional<BmpPicture> decodeBmp(const unsigned char* data, std::size_t size);
// Reads and decodes a file; nothing when it cannot be opened or is no picture.
std::optional<BmpPicture> readBmpFile(const std::string& path);
