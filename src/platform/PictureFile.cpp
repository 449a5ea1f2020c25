#include "platform/PictureFile.h"

#include <fcntl.h>

#include <algorithm>
#include <cctype>

#include <cairo-svg.h>
#include <cairo.h>

#include "base/AtomicFile.h"
#include "base/FileDescriptor.h"
#include "base/FileSystem.h"
#include "platform/CairoPainter.h"

namespace platform {

namespace {

// A side larger than this is no picture anyone asked for.
constexpr int MAX_SIDE = 16384;

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Paints on the surface: white, then the picture.
bool paintOn(cairo_surface_t* surface, PixelSize size, const std::function<void(Painter&)>& paint) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 0, 0, size.width, size.height);
    cairo_fill(cr);
    {
        CairoPainter painter;
        painter.bind(cr);
        paint(painter);
        painter.unbind();
    }
    const bool good = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    return good;
}

bool encodePng(PixelSize size, const std::function<void(Painter&)>& paint, std::string& bytes) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width, size.height);
    bool good = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS && paintOn(surface, size, paint);
    good = good && cairo_surface_write_to_png_stream(surface, appendBytes, &bytes) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return good;
}

bool encodeSvg(PixelSize size, const std::function<void(Painter&)>& paint, std::string& bytes) {
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(appendBytes, &bytes, size.width, size.height);
    bool good = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS && paintOn(surface, size, paint);
    cairo_surface_finish(surface);  // the document is complete only now
    good = good && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return good;
}

// The file is the user's, outside the data directory: written directly, never through the
// database's transaction log.
bool writeWhole(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    FileDescriptor file = FileDescriptor::open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (!file.isOpen()) {
        return false;
    }
    const bool written = writeAll(file.get(), bytes) && syncDescriptor(file.get());
    if (!file.close() || !written || fileSystem().rename(temporary.c_str(), path.c_str()) != 0) {
        fileSystem().unlink(temporary.c_str());
        return false;
    }
    syncDirectoryOf(path);  // the picture is there; a failed directory sync only risks a power loss
    return true;
}

}  // namespace

PictureFormat pictureFormatOf(const std::string& path) {
    std::string end = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return end == ".svg" ? PictureFormat::Svg : PictureFormat::Png;
}

bool writePicture(const std::string& path, PictureFormat format, PixelSize size,
                  const std::function<void(Painter&)>& paint) {
    if (path.empty() || size.width <= 0 || size.height <= 0 || size.width > MAX_SIDE || size.height > MAX_SIDE) {
        return false;
    }
    std::string bytes;
    const bool encoded = format == PictureFormat::Svg ? encodeSvg(size, paint, bytes) : encodePng(size, paint, bytes);
    return encoded && writeWhole(path, bytes);
}

}  // namespace platform
