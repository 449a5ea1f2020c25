#include "db/FileContent.h"

#include <fcntl.h>

#include "base/FileDescriptor.h"
#include "base/FileSystem.h"

namespace {

// Larger than nearly every table file, so that one read() takes the whole file.
constexpr std::size_t INITIAL_CAPACITY = 64 * 1024;

}  // namespace

bool FileContent::read(const std::string& name) {
    const bool done = readInto(name, bytes, length);
    buffer.point(bytes.data(), length);
    return done;
}

void FileContent::adopt(std::vector<char>& other, std::size_t otherLength) {
    bytes.swap(other);
    length = otherLength;
    buffer.point(bytes.data(), length);
}

// Reads until read() reports the end of the file: a read that does not fill the buffer is the
// end on a local file system, but network and user-space file systems return less at any time.
bool FileContent::readInto(const std::string& name, std::vector<char>& bytes, std::size_t& length) {
    length = 0;
    FileDescriptor file = FileDescriptor::open(name, O_RDONLY);
    if (!file.isOpen()) {
        return false;
    }
    if (bytes.size() < INITIAL_CAPACITY) {
        bytes.resize(INITIAL_CAPACITY);
    }
    FileSystem& files = fileSystem();
    for (;;) {
        if (length == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got = files.read(file.get(), bytes.data() + length, bytes.size() - length);
        if (got < 0) {
            length = 0;
            return false;
        }
        if (got == 0) {
            return true;
        }
        length += static_cast<std::size_t>(got);
    }
}

std::istream& FileContent::stream() {
    buffer.point(bytes.data(), length);
    in.clear();
    return in;
}
