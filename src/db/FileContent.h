#pragma once

#include <algorithm>
#include <cstring>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

// The whole content of one file in memory and a stream over it. Loading a table reads tens of
// thousands of small files: a file stream for each costs its construction, a buffer and several
// system calls per file, and every field read through it goes through the file buffer. Here a
// file costs open, a read() for its bytes and one that finds its end, and close (through the file
// system in use, base/FileSystem.h), and fields are read from memory. One object serves many
// files in turn.
class FileContent {
public:
    FileContent() : in(&buffer) {}
    FileContent(const FileContent&) = delete;
    FileContent& operator=(const FileContent&) = delete;

    // Replaces the content with the file's; false (and empty) when it cannot be opened or read.
    bool read(const std::string& name);
    // The same into any buffer (grown as needed); `length` receives the file's size.
    static bool readInto(const std::string& name, std::vector<char>& bytes, std::size_t& length);
    // Takes over content read elsewhere (by readInto), handing the old buffer back in `bytes`.
    void adopt(std::vector<char>& bytes, std::size_t length);
    // Reads the content from its start, with its state cleared.
    std::istream& stream();
    // Bytes not read yet through stream().
    std::size_t remaining() const { return buffer.remaining(); }
    std::size_t size() const { return length; }

private:
    class Buffer : public std::streambuf {
    public:
        void point(char* first, std::size_t size) { setg(first, first, first + size); }
        std::size_t remaining() const { return static_cast<std::size_t>(egptr() - gptr()); }

    protected:
        // Every field of a record is read through here: one copy, without the general loop.
        std::streamsize xsgetn(char* into, std::streamsize count) override {
            const std::streamsize taken = std::min<std::streamsize>(count, egptr() - gptr());
            if (taken > 0) {
                std::memcpy(into, gptr(), static_cast<std::size_t>(taken));
                setg(eback(), gptr() + taken, egptr());
            }
            return taken;
        }
    };

    std::vector<char> bytes;
    std::size_t length = 0;
    Buffer buffer;
    std::istream in;
};
