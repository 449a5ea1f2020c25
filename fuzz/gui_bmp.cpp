// Feeds arbitrary bytes to the BMP reader and checks what it accepts: a picture exactly as large
// as its header says, with sides from 1 to 16384, whose header announces no more bytes than it
// was given, and every pixel a colour (no byte above 0x00FFFFFF). Anything else must be refused
// without reading past the input or allocating for a size the input cannot hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gui/BmpPicture.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<BmpPicture> picture = decodeBmp(data, size);
    if (!picture) {
        return 0;
    }
    check(size >= BmpPicture::HEADER_SIZE);
    const std::optional<std::size_t> needed = bmpFileBytes(data);
    check(needed.has_value() && *needed <= size);
    check(picture->pixelWidth >= 1 && picture->pixelWidth <= BmpPicture::MAX_SIDE);
    check(picture->pixelHeight >= 1 && picture->pixelHeight <= BmpPicture::MAX_SIDE);
    check(picture->bit.size() == picture->pixelWidth * picture->pixelHeight);
    check(picture->pixelWidth * picture->pixelHeight * 3 <= size);
    for (COLORREF colour : picture->bit) {
        check(colour <= 0x00FFFFFF);
    }
    // The top-left pixel comes from the start of the last row in the file.
    const std::size_t padding = picture->pixelWidth % 4;
    const std::size_t topRow = BmpPicture::HEADER_SIZE + (picture->pixelHeight - 1) * (picture->pixelWidth * 3 + padding);
    const uint8_t* p = data + topRow;
    check(picture->bit[0] == static_cast<COLORREF>(p[2] + p[1] * 256 + p[0] * 65536));
    return 0;
}
