#include "base/TransactionLog.h"

#include <charconv>
#include <cstdio>

namespace transaction_log {

namespace {

constexpr std::string_view UNIT_HEADER = "MERNOLEX FILE UNIT 2\n";

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char byte : bytes) {
        hash = (hash ^ byte) * 0x100000001b3ull;
    }
    return hash;
}

std::string hex16(std::uint64_t value) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(value));
    return digits;
}

// Reads one line (without its '\n') from `log` at `at`; false when there is no whole line.
bool takeLine(std::string_view log, std::size_t& at, std::string_view& line) {
    const std::size_t end = log.find('\n', at);
    if (end == std::string_view::npos) {
        return false;
    }
    line = log.substr(at, end - at);
    at = end + 1;
    return true;
}

bool parseNumber(std::string_view text, std::size_t& value) {
    const char* last = text.data() + text.size();
    auto [rest, error] = std::from_chars(text.data(), last, value);
    return error == std::errc() && rest == last && !text.empty();
}

// The unit that starts at `at`, and `at` moved past it; false when it is cut short or damaged.
bool decodeUnit(std::string_view log, std::size_t& at, LogUnit& unit) {
    const std::size_t start = at;
    if (log.substr(at, UNIT_HEADER.size()) != UNIT_HEADER) {
        return false;
    }
    at += UNIT_HEADER.size();
    std::string_view line;
    while (true) {
        const std::size_t lineStart = at;
        if (!takeLine(log, at, line)) {
            return false;
        }
        if (line.starts_with("END ")) {
            const std::size_t space = line.find(' ', 4);
            std::size_t count = 0;
            return space != std::string_view::npos && parseNumber(line.substr(4, space - 4), count) &&
                   count == unit.written.size() + unit.removed.size() &&
                   line.substr(space + 1) == hex16(fnv1a(log.substr(start, lineStart - start)));
        }
        if (line.size() < 3 || line[1] != ' ') {
            return false;
        }
        if (line[0] == 'D') {
            unit.removed.emplace_back(line.substr(2));
            continue;
        }
        const std::size_t space = line.find(' ', 2);
        std::size_t size = 0;
        if (line[0] != 'W' || space == std::string_view::npos || !parseNumber(line.substr(2, space - 2), size) ||
            size > log.size() - at) {
            return false;
        }
        unit.written.emplace_back(std::string(line.substr(space + 1)), std::string(log.substr(at, size)));
        at += size;
    }
}

}  // namespace

std::string encode(const LogUnit& unit) {
    std::size_t size = UNIT_HEADER.size() + 64;
    for (const auto& [path, contents] : unit.written) {
        size += path.size() + contents.size() + 24;
    }
    std::string text;
    text.reserve(size);
    text += UNIT_HEADER;
    for (const auto& [path, contents] : unit.written) {
        text += "W " + std::to_string(contents.size()) + " " + path + "\n";
        text += contents;
    }
    for (const std::string& path : unit.removed) {
        text += "D " + path + "\n";
    }
    const std::uint64_t sum = fnv1a(text);
    text += "END " + std::to_string(unit.written.size() + unit.removed.size()) + " " + hex16(sum) + "\n";
    return text;
}

std::vector<LogUnit> decode(std::string_view log) {
    std::vector<LogUnit> units;
    std::size_t at = 0;
    while (at < log.size()) {
        LogUnit unit;
        if (!decodeUnit(log, at, unit)) {
            break;
        }
        units.push_back(std::move(unit));
    }
    return units;
}

bool canHold(const std::string& path) {
    return !path.empty() && path.find('\n') == std::string::npos;
}

}  // namespace transaction_log
