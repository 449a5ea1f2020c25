#include "db/OrnQL_Extra.h"

#include <fstream>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "base/FileTransaction.h"
#include "db/PictureRemovals.h"

namespace {

constexpr std::size_t COPY_CHUNK = 64 * 1024;

std::string& pathBuffer() {
    static std::string path;
    return path;
}

}  // namespace

std::string picturePath(unsigned id, const char* directory) {
    return std::string(directory == nullptr ? "" : directory) + std::to_string(id) + ".bmp";
}

const char* createPathById(unsigned id, const char* directory) {
    std::string& path = pathBuffer();
    path = picturePath(id, directory);
    return path.c_str();
}

// Written through a temporary file, so a failed copy never destroys the picture already in
// place, and copying a picture onto itself does not truncate it before it is read.
int copyBitmap(const char* original, const char* destinationPath, unsigned idOfParent) {
    FileTransaction::finishPendingWork();
    std::ifstream in(original == nullptr ? "" : original, std::ios::binary);
    if (!in) {
        return COPY_NO_ORIGINAL;
    }
    const std::string destination = picturePath(idOfParent, destinationPath);
    try {
        AtomicFile out(destination);
        if (!out.isOpen()) {
            return COPY_NO_DESTINATION;
        }
        std::vector<char> buffer(COPY_CHUNK);
        while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
            out.stream().write(buffer.data(), in.gcount());
        }
        if (in.bad() || !out.commit()) {
            return COPY_NO_DESTINATION;
        }
        pictureRemovals::cancel(destination);
    } catch (...) {
        return COPY_NO_DESTINATION;
    }
    return COPY_DONE;
}
