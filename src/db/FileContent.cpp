#include "db/FileContent.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Larger than nearly every table file, so that one read() takes the whole file.
constexpr std::size_t INITIAL_CAPACITY = 64 * 1024;

// Closes the descriptor however reading ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd; }

private:
    int fd;
};

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

bool FileContent::readInto(const std::string& name, std::vector<char>& bytes, std::size_t& length) {
    length = 0;
    Descriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return false;
    }
    if (bytes.size() < INITIAL_CAPACITY) {
        bytes.resize(INITIAL_CAPACITY);
    }
    for (;;) {
        const ssize_t got = ::read(file.get(), bytes.data() + length, bytes.size() - length);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            length = 0;
            return false;
        }
        length += static_cast<std::size_t>(got);
        // A regular file gives all it has up to the size asked for: a read that does not fill
        // the buffer has reached the end, and only a full buffer needs another read.
        if (length < bytes.size()) {
            break;
        }
        bytes.resize(bytes.size() * 2);
    }
    return true;
}

std::istream& FileContent::stream() {
    buffer.point(bytes.data(), length);
    in.clear();
    return in;
}
