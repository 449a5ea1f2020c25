#include "base/TransactionLog.h"

#include <charconv>
#include <cstdio>
#include <functional>

namespace transaction_log {

namespace {

constexpr std::string_view HEADER_PREFIX = "MERNOLEX FILE UNIT ";
constexpr std::string_view HEADER = "MERNOLEX FILE UNIT 3 ";
constexpr std::string_view LEGACY_HEADER_LINE = "MERNOLEX FILE UNIT 2";
constexpr std::size_t SUM_DIGITS = 16;

constexpr std::uint64_t FNV_OFFSET = SUM_START;

// FNV-1a, continued from `hash` (a sum over several pieces is the sum over them joined).
std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = FNV_OFFSET) {
    for (unsigned char byte : bytes) {
        hash = (hash ^ byte) * 0x100000001b3ull;
    }
    return hash;
}

std::string hex16(std::uint64_t value) {
    char digits[SUM_DIGITS + 1];
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

// A number as encode writes it (no sign, no leading zero).
bool parseNumber(std::string_view text, std::size_t& value) {
    const char* last = text.data() + text.size();
    auto [rest, error] = std::from_chars(text.data(), last, value);
    return error == std::errc() && rest == last && !text.empty() && (text[0] != '0' || text.size() == 1);
}

enum class UnitRead { WHOLE, CUT_SHORT, DAMAGED };
enum class BodyRead { WHOLE, RAN_OUT, BAD };

// The entries of a unit from `at` (just after its header line) up to and including its END line,
// checked against the sum of everything from `start`; `at` ends just after the END line.
BodyRead readBody(std::string_view log, std::size_t start, std::size_t& at, LogUnit& unit) {
    std::string_view line;
    while (true) {
        const std::size_t lineStart = at;
        if (!takeLine(log, at, line)) {
            return BodyRead::RAN_OUT;
        }
        if (line.starts_with("END ")) {
            const std::size_t space = line.find(' ', 4);
            std::size_t count = 0;
            const bool whole = space != std::string_view::npos && parseNumber(line.substr(4, space - 4), count) &&
                               count == unit.written.size() + unit.removed.size() &&
                               line.substr(space + 1) == hex16(fnv1a(log.substr(start, lineStart - start)));
            return whole ? BodyRead::WHOLE : BodyRead::BAD;
        }
        if (line.size() < 3 || line[1] != ' ') {
            return BodyRead::BAD;
        }
        if (line[0] == 'D') {
            unit.removed.emplace_back(line.substr(2));
            continue;
        }
        const std::size_t space = line.find(' ', 2);
        std::size_t size = 0;
        if (line[0] != 'W' || space == std::string_view::npos || !parseNumber(line.substr(2, space - 2), size)) {
            return BodyRead::BAD;
        }
        if (size > log.size() - at) {
            return BodyRead::RAN_OUT;
        }
        unit.written.emplace_back(std::string(line.substr(space + 1)), std::string(log.substr(at, size)));
        at += size;
    }
}

// A unit whose header carries its length and the header's own sum.
UnitRead readCurrentUnit(std::string_view log, std::size_t start, std::size_t bodyAt, std::string_view header,
                         std::size_t& next, LogUnit& unit) {
    const std::string_view fields = header.substr(HEADER.size());
    const std::size_t space = fields.find(' ');
    std::size_t length = 0;
    if (space == std::string_view::npos || !parseNumber(fields.substr(0, space), length) ||
        fields.substr(space + 1) != hex16(fnv1a(header.substr(0, HEADER.size() + space)))) {
        return UnitRead::DAMAGED;
    }
    if (length > log.size() - start) {
        return UnitRead::CUT_SHORT;
    }
    std::size_t at = bodyAt;
    const std::string_view unitBytes = log.substr(0, start + length);
    if (readBody(unitBytes, start, at, unit) != BodyRead::WHOLE || at != start + length) {
        return UnitRead::DAMAGED;
    }
    next = at;
    return UnitRead::WHOLE;
}

// The unit that starts at `start`; `next` receives where the one after it starts.
UnitRead readUnit(std::string_view log, std::size_t start, std::size_t& next, LogUnit& unit) {
    std::size_t at = start;
    std::string_view header;
    if (!takeLine(log, at, header)) {
        // A header line without its end: the append stopped inside it, or the bytes are not ours.
        const std::string_view rest = log.substr(start);
        const std::size_t common = std::min(rest.size(), HEADER_PREFIX.size());
        return rest.substr(0, common) == HEADER_PREFIX.substr(0, common) ? UnitRead::CUT_SHORT : UnitRead::DAMAGED;
    }
    if (header.starts_with(HEADER)) {
        return readCurrentUnit(log, start, at, header, next, unit);
    }
    if (header != LEGACY_HEADER_LINE) {
        return UnitRead::DAMAGED;
    }
    switch (readBody(log, start, at, unit)) {
    case BodyRead::WHOLE:
        next = at;
        return UnitRead::WHOLE;
    case BodyRead::RAN_OUT:
        return UnitRead::CUT_SHORT;
    case BodyRead::BAD:
        break;
    }
    return UnitRead::DAMAGED;
}

// Where the next unit after damage at `from` may start. (The line end before it may be the
// damaged byte.)
std::size_t nextHeaderAfter(std::string_view log, std::size_t from) {
    const std::size_t found = log.find(HEADER_PREFIX, from + 1);
    return found == std::string_view::npos ? log.size() : found;
}

std::size_t digitsOf(std::size_t value) {
    return std::to_string(value).size();
}

}  // namespace

std::string headerLine(std::size_t bodySize, std::size_t entries) {
    const std::size_t endLine = 4 + digitsOf(entries) + 1 + SUM_DIGITS + 1;
    const std::size_t fixed = HEADER.size() + 1 + SUM_DIGITS + 1 + bodySize + endLine;
    std::size_t digits = digitsOf(fixed + 1);
    while (digitsOf(fixed + digits) != digits) {
        ++digits;
    }
    const std::string header = std::string(HEADER) + std::to_string(fixed + digits);
    return header + " " + hex16(fnv1a(header)) + "\n";
}

std::string entryLine(const std::string& path, std::size_t size) {
    return "W " + std::to_string(size) + " " + path + "\n";
}

std::string removalLine(const std::string& path) { return "D " + path + "\n"; }

std::string endLine(std::size_t entries, std::uint64_t sum) {
    return "END " + std::to_string(entries) + " " + hex16(sum) + "\n";
}

std::uint64_t continueSum(std::string_view bytes, std::uint64_t sum) { return fnv1a(bytes, sum); }

void encodeInPieces(const LogUnit& unit, const std::function<void(std::string_view)>& piece) {
    std::size_t bodySize = 0;
    for (const auto& [path, contents] : unit.written) {
        bodySize += entryLine(path, contents.size()).size() + contents.size();
    }
    for (const std::string& path : unit.removed) {
        bodySize += removalLine(path).size();
    }
    const std::size_t entries = unit.written.size() + unit.removed.size();
    std::uint64_t sum = SUM_START;
    // The contents are handed out where they lie: a large unit is never copied whole.
    const auto emit = [&](std::string_view bytes) {
        sum = fnv1a(bytes, sum);
        piece(bytes);
    };
    emit(headerLine(bodySize, entries));
    for (const auto& [path, contents] : unit.written) {
        emit(entryLine(path, contents.size()));
        emit(contents);
    }
    for (const std::string& path : unit.removed) {
        emit(removalLine(path));
    }
    piece(endLine(entries, sum));
}

std::string encode(const LogUnit& unit) {
    std::string text;
    encodeInPieces(unit, [&text](std::string_view bytes) { text += bytes; });
    return text;
}

LogContents read(std::string_view log) {
    LogContents contents;
    std::size_t at = 0;
    while (at < log.size()) {
        LogUnit unit;
        std::size_t next = at;
        const UnitRead found = readUnit(log, at, next, unit);
        if (found == UnitRead::WHOLE) {
            contents.units.push_back(std::move(unit));
            at = next;
            continue;
        }
        if (found == UnitRead::CUT_SHORT) {
            if (!contents.damaged) {
                break;
            }
            // After damage, a header found inside the damaged bytes may claim more than is left.
            at = nextHeaderAfter(log, at);
            continue;
        }
        // Whatever reads whole after damage is newer than everything before it.
        contents.damaged = true;
        contents.replayFrom = contents.units.size();
        at = nextHeaderAfter(log, at);
    }
    return contents;
}

bool canHold(const std::string& path) {
    return !path.empty() && path.find('\n') == std::string::npos;
}

}  // namespace transaction_log
