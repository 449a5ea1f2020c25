#pragma once

#include <bit>
#include <cstddef>
#include <cstring>
#include <istream>
#include <ostream>
#include <type_traits>

// The primitive encodings of the table files: every number as the raw bytes of a fixed-width
// value, little-endian (int32_t, uint32_t, double; never long or time_t), a bool as one byte, a
// fixed character array as its whole declared size. A read that hits the end of the file leaves
// the target unchanged and returns false, so a record cut short keeps the defaults of the fields
// it could not read.

static_assert(std::endian::native == std::endian::little, "table files hold little-endian numbers");

// Reads straight from the stream's buffer, with the stream states istream::read would set (a
// read of a failed stream fails; a short read sets eof and fail), but without its sentry and
// count: loading a database reads millions of fields.
template <typename Value>
bool loadValue(std::istream& in, Value& value) {
    static_assert(std::is_trivially_copyable_v<Value> && !std::is_same_v<Value, bool>);
    char bytes[sizeof(Value)];
    if (!in.good()) {
        in.setstate(std::ios::failbit);
        return false;
    }
    if (in.rdbuf()->sgetn(bytes, sizeof bytes) != static_cast<std::streamsize>(sizeof bytes)) {
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return false;
    }
    std::memcpy(&value, bytes, sizeof bytes);
    return true;
}

// Writes straight to the stream's buffer, with the states ostream::write would set (a write to
// a failed stream sets failbit; a short one, or a buffer that throws, such as one out of memory,
// badbit), but without its sentry: saving an import writes millions of fields.
inline void saveBytes(std::ostream& out, const char* bytes, std::size_t size) {
    if (!out.good()) {
        out.setstate(std::ios::failbit);
        return;
    }
    bool whole = false;
    try {
        whole = out.rdbuf()->sputn(bytes, static_cast<std::streamsize>(size)) == static_cast<std::streamsize>(size);
    } catch (...) {
    }
    if (!whole) {
        out.setstate(std::ios::badbit);
    }
}

template <typename Value>
void saveValue(std::ostream& out, const Value& value) {
    static_assert(std::is_trivially_copyable_v<Value> && !std::is_same_v<Value, bool>);
    saveBytes(out, reinterpret_cast<const char*>(&value), sizeof value);
}

// Any non-zero byte reads as true (a damaged byte never makes an invalid bool).
inline bool loadBool(std::istream& in, bool& value) {
    char byte;
    if (!in.get(byte)) {
        return false;
    }
    value = byte != 0;
    return true;
}

inline void saveBool(std::ostream& out, bool value) {
    const char byte = value ? 1 : 0;
    saveBytes(out, &byte, 1);
}

// A fixed 8-bit character array copied whole. The last byte is forced to zero after a read (even
// a short one), so the array always holds a terminated text however the file was damaged.
inline bool loadChars(std::istream& in, char* chars, std::size_t size) {
    if (size == 0) {
        return true;
    }
    bool complete = static_cast<bool>(in.read(chars, static_cast<std::streamsize>(size)));
    chars[size - 1] = '\0';
    return complete;
}

inline void saveChars(std::ostream& out, const char* chars, std::size_t size) {
    saveBytes(out, chars, size);
}
