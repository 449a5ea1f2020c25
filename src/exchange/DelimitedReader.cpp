#include "exchange/DelimitedReader.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace exchange {

namespace {

// The first records looked at when the separator is guessed.
constexpr unsigned GUESS_SAMPLE = 20;

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::string> separatorNamed(std::string_view value) {
    const std::string name = lowered(trimmed(value));
    if (name == "tab" || value == "\t") {
        return "\t";
    }
    static const std::pair<const char*, const char*> named[] = {
        {"comma", ","}, {"semicolon", ";"}, {"space", " "}, {"pipe", "|"}, {"colon", ":"}};
    for (const auto& [word, separator] : named) {
        if (name == word) {
            return std::string(separator);
        }
    }
    // One literal character (of any length in UTF-8); a lone blank is the space.
    const std::string_view literal = trimmed(value).empty() ? value.substr(0, 1) : trimmed(value);
    if (!literal.empty()) {
        const auto lead = static_cast<unsigned char>(literal[0]);
        const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 4;
        if (literal.size() == length) {
            return std::string(literal);
        }
    }
    return std::nullopt;
}

unsigned columnNumber(std::string_view value) {
    unsigned number = 0;
    for (char c : trimmed(value)) {
        if (c < '0' || c > '9' || number > 100000) {
            return 0;
        }
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    return number;
}

bool allEmpty(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(), [](const std::string& f) { return trimmed(f).empty(); });
}

}  // namespace

std::vector<std::string> splitPlain(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    if (separator.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
        parts.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

DelimitedReader::DelimitedReader(std::string_view text) : text_(text) {
    readHeaderLines();
    if (header_.separator.empty()) {
        guessSeparator();
    } else {
        separator_ = header_.separator;
    }
    restart();
}

void DelimitedReader::readHeaderLines() {
    std::size_t at = 0;
    unsigned line = 1;
    while (at < text_.size() && text_[at] == '#') {
        std::size_t end = text_.find('\n', at);
        const std::size_t next = end == std::string_view::npos ? text_.size() : end + 1;
        takeHeaderLine(text_.substr(at + 1, (end == std::string_view::npos ? text_.size() : end) - at - 1));
        at = next;
        ++line;
    }
    bodyStart_ = at;
    bodyLine_ = line;
}

void DelimitedReader::takeHeaderLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return;
    }
    const std::string key = lowered(trimmed(line.substr(0, colon)));
    const std::string_view value = line.substr(colon + 1);
    if (key == "separator") {
        if (std::optional<std::string> separator = separatorNamed(value)) {
            header_.separator = *separator;
        }
    } else if (key == "html") {
        header_.html = lowered(trimmed(value)) == "true";
    } else if (key == "columns") {
        header_.columnsLine = std::string(value);
    } else if (key == "deck") {
        header_.deck = std::string(trimmed(value));
    } else if (key == "tags") {
        header_.tags = std::string(trimmed(value));
    } else if (key == "tags column") {
        header_.tagsColumn = columnNumber(value);
    } else if (key == "deck column") {
        header_.deckColumn = columnNumber(value);
    } else if (key == "notetype column") {
        header_.notetypeColumn = columnNumber(value);
    } else if (key == "guid column") {
        header_.guidColumn = columnNumber(value);
    }
}

void DelimitedReader::guessSeparator() {
    std::size_t bestFields = 0;
    std::string best = "\t";
    for (const char* candidate : {"\t", ";", ",", "|"}) {
        separator_ = candidate;
        restart();
        DelimitedRecord record;
        std::size_t fields = 0;
        std::size_t least = SIZE_MAX;
        std::size_t most = 0;
        unsigned sampled = 0;
        while (sampled < GUESS_SAMPLE && next(record)) {
            fields += record.fields.size();
            least = std::min(least, record.fields.size());
            most = std::max(most, record.fields.size());
            ++sampled;
        }
        if (sampled > 0 && least == most && least >= 2) {
            return;  // splits every record alike: this one
        }
        if (sampled > 0 && fields > bestFields && most >= 2) {
            bestFields = fields;
            best = candidate;
        }
    }
    separator_ = best;
}

std::vector<std::string> DelimitedReader::columnNames() const {
    if (header_.columnsLine.empty()) {
        return {};
    }
    std::vector<std::string> names = splitPlain(header_.columnsLine, separator_);
    for (std::string& name : names) {
        name = std::string(trimmed(name));
    }
    return names;
}

void DelimitedReader::restart() {
    position_ = bodyStart_;
    line_ = bodyLine_;
}

bool DelimitedReader::next(DelimitedRecord& record) {
    while (readRecord(record)) {
        if (!allEmpty(record.fields) || record.unclosedQuote) {
            return true;
        }
    }
    return false;
}

bool DelimitedReader::atSeparator() const {
    return text_.compare(position_, separator_.size(), separator_) == 0;
}

bool DelimitedReader::takeLineEnd() {
    if (position_ >= text_.size()) {
        return false;
    }
    if (text_[position_] == '\n') {
        ++position_;
    } else if (text_[position_] == '\r') {
        ++position_;
        if (position_ < text_.size() && text_[position_] == '\n') {
            ++position_;
        }
    } else {
        return false;
    }
    ++line_;
    return true;
}

bool DelimitedReader::readRecord(DelimitedRecord& record) {
    if (position_ >= text_.size()) {
        return false;
    }
    record.line = line_;
    record.fields.clear();
    record.unclosedQuote = false;
    std::string field;
    while (true) {
        field.clear();
        if (position_ < text_.size() && text_[position_] == '"') {
            readQuotedField(field, record);
        }
        while (position_ < text_.size() && !atSeparator() && text_[position_] != '\n' && text_[position_] != '\r') {
            field.push_back(text_[position_++]);
        }
        record.fields.push_back(field);
        if (position_ < text_.size() && atSeparator()) {
            position_ += separator_.size();
            continue;
        }
        takeLineEnd();
        return true;
    }
}

void DelimitedReader::readQuotedField(std::string& field, DelimitedRecord& record) {
    ++position_;  // the opening quote
    while (position_ < text_.size()) {
        const char c = text_[position_];
        if (c == '"') {
            if (position_ + 1 < text_.size() && text_[position_ + 1] == '"') {
                field.push_back('"');
                position_ += 2;
                continue;
            }
            ++position_;  // the closing quote; what follows up to the separator is kept as typed
            return;
        }
        if (c == '\n' || c == '\r') {
            takeLineEnd();  // CRLF inside a field is one line break, as LF is
            field.push_back('\n');
            continue;
        }
        field.push_back(c);
        ++position_;
    }
    record.unclosedQuote = true;
}

}  // namespace exchange
