#pragma once

// Pictures painted with the program's own painter and written to a file through cairo: PNG
// (pixels) or SVG (shapes and text, sharp at any size).

#include <functional>
#include <string>

#include "platform/Platform.h"

namespace platform {

enum class PictureFormat { Png, Svg };

// SVG for a name ending in ".svg" (any case), PNG otherwise.
PictureFormat pictureFormatOf(const std::string& path);

// Paints a picture of `size` pixels, white at first, with `paint`, and writes it to `path` whole
// or not at all: into a temporary file beside it, synced and renamed over it. False when the
// picture cannot be made or the file cannot be written (an existing file then stays as it was).
bool writePicture(const std::string& path, PictureFormat format, PixelSize size,
                  const std::function<void(Painter&)>& paint);

}  // namespace platform
