#include "gui/BmpPicture.h"

#include <fstream>

#include "base/FileTransaction.h"

namespace {

constexpr std::size_t WidthOffset = 18;
constexpr std::size_t HeightOffset = 22;
constexpr std::size_t BytesPerPixel = 3;

std::int32_t readInt32(const unsigned char* at) {
    const std::uint32_t value = static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
                                static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
    return static_cast<std::int32_t>(value);
}

bool plausibleSide(std::int32_t side) { return side > 0 && side <= BmpPicture::MAX_SIDE; }

}  // namespace

std::optional<std::size_t> bmpFileBytes(const unsigned char* header) {
    const std::int32_t width = readInt32(header + WidthOffset);
    const std::int32_t height = readInt32(header + HeightOffset);
    if (!plausibleSide(width) || !plausibleSide(height)) {
        return std::nullopt;
    }
    const std::size_t columns = static_cast<std::size_t>(width);
    const std::size_t rows = static_cast<std::size_t>(height);
    const std::size_t padding = columns % 4;
    // The last row needs no padding after it. (At most 54 + 16384 * 49155 bytes: no overflow.)
    return BmpPicture::HEADER_SIZE + rows * (columns * BytesPerPixel + padding) - padding;
}

std::optional<BmpPicture> decodeBmp(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size < BmpPicture::HEADER_SIZE) {
        return std::nullopt;
    }
    const std::optional<std::size_t> needed = bmpFileBytes(data);
    if (!needed || size < *needed) {
        return std::nullopt;
    }
    BmpPicture picture;
    picture.pixelWidth = static_cast<unsigned long>(readInt32(data + WidthOffset));
    picture.pixelHeight = static_cast<unsigned long>(readInt32(data + HeightOffset));
    const std::size_t columns = picture.pixelWidth;
    const std::size_t rows = picture.pixelHeight;
    const std::size_t padding = columns % 4;
    picture.bit.resize(columns * rows);
    const unsigned char* in = data + BmpPicture::HEADER_SIZE;
    for (std::size_t n = 0; n < rows; ++n) {
        if (n > 0) {
            in += padding;  // the padding that ends the previous row
        }
        const std::size_t row = rows - 1 - n;  // the file starts with the bottom row
        for (std::size_t column = 0; column < columns; ++column, in += BytesPerPixel) {
            const COLORREF blue = in[0];
            const COLORREF green = in[1];
            const COLORREF red = in[2];
            picture.bit[column * rows + row] = red + green * 256 + blue * 65536;
        }
    }
    return picture;
}

std::optional<BmpPicture> readBmpFile(const std::string& path) {
    FileTransaction::finishPendingWork();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes(BmpPicture::HEADER_SIZE);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        return std::nullopt;
    }
    // Only as many bytes as the header announces are read, and only as far as the file has them.
    const std::optional<std::size_t> needed = bmpFileBytes(bytes.data());
    if (!needed) {
        return std::nullopt;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff fileSize = file.tellg();
    if (fileSize < 0 || static_cast<std::size_t>(fileSize) < *needed) {
        return std::nullopt;
    }
    bytes.resize(*needed);
    file.seekg(static_cast<std::streamoff>(BmpPicture::HEADER_SIZE));
    const std::size_t rest = *needed - BmpPicture::HEADER_SIZE;
    if (!file.read(reinterpret_cast<char*>(bytes.data() + BmpPicture::HEADER_SIZE),
                   static_cast<std::streamsize>(rest))) {
        return std::nullopt;
    }
    return decodeBmp(bytes.data(), bytes.size());
}
