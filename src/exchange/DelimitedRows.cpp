#include "exchange/DelimitedRows.h"

#include <algorithm>
#include <cctype>

#include "exchange/HtmlText.h"
#include "exchange/TextDecoding.h"

namespace exchange {

namespace {

constexpr unsigned COLUMN_SAMPLE = 20;

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::optional<ColumnRole> roleOfColumnName(const std::string& name) {
    static const std::pair<const char*, ColumnRole> names[] = {
        {"front", ColumnRole::Foreign},        {"foreign", ColumnRole::Foreign},   {"word", ColumnRole::Foreign},
        {"question", ColumnRole::Foreign},     {"back", ColumnRole::Known},        {"known", ColumnRole::Known},
        {"answer", ColumnRole::Known},         {"translation", ColumnRole::Known}, {"meaning", ColumnRole::Known},
        {"article", ColumnRole::Article},      {"pronunciation", ColumnRole::Pronunciation},
        {"ipa", ColumnRole::Pronunciation},    {"mnemonic", ColumnRole::Mnemonic}, {"hint", ColumnRole::Mnemonic},
        {"lesson", ColumnRole::Lesson},        {"deck", ColumnRole::Lesson},       {"category", ColumnRole::Category},
        {"categories", ColumnRole::Tags},      {"tags", ColumnRole::Tags}};
    const std::string key = lowered(name);
    for (const auto& [candidate, role] : names) {
        if (key == candidate) {
            return role;
        }
    }
    return std::nullopt;
}

}  // namespace

const char* roleName(ColumnRole role) {
    switch (role) {
    case ColumnRole::Ignore: return "skip";
    case ColumnRole::Foreign: return "foreign";
    case ColumnRole::Known: return "known";
    case ColumnRole::Article: return "article";
    case ColumnRole::Pronunciation: return "pronunciation";
    case ColumnRole::Mnemonic: return "mnemonic";
    case ColumnRole::Lesson: return "lesson";
    case ColumnRole::Category: return "category";
    case ColumnRole::Tags: return "tags";
    }
    return "skip";
}

std::optional<ColumnRole> roleNamed(std::string_view name) {
    const std::string key = lowered(name);
    if (key == "-" || key == "ignore" || key.empty()) {
        return ColumnRole::Ignore;
    }
    for (ColumnRole role : ALL_ROLES) {
        if (key == roleName(role)) {
            return role;
        }
    }
    return std::nullopt;
}

std::size_t columnCount(DelimitedReader& reader) {
    std::size_t columns = reader.columnNames().size();
    reader.restart();
    DelimitedRecord record;
    for (unsigned sampled = 0; sampled < COLUMN_SAMPLE && reader.next(record); ++sampled) {
        columns = std::max(columns, record.fields.size());
    }
    reader.restart();
    return columns;
}

std::vector<ColumnRole> suggestedRoles(const DelimitedReader& reader, std::size_t columns) {
    std::vector<ColumnRole> roles(columns, ColumnRole::Ignore);
    const std::vector<std::string> names = reader.columnNames();
    bool foreign = false;
    bool known = false;
    for (std::size_t i = 0; i < columns && i < names.size(); ++i) {
        const std::optional<ColumnRole> role = roleOfColumnName(names[i]);
        if (!role || (*role == ColumnRole::Foreign && foreign)) {
            continue;
        }
        roles[i] = *role;
        foreign = foreign || *role == ColumnRole::Foreign;
        known = known || *role == ColumnRole::Known;
    }
    const DelimitedHeader& header = reader.header();
    auto set = [&](unsigned column, ColumnRole role) {
        if (column >= 1 && column <= columns) {
            roles[column - 1] = role;
        }
    };
    set(header.tagsColumn, ColumnRole::Tags);
    set(header.deckColumn, ColumnRole::Lesson);
    set(header.notetypeColumn, ColumnRole::Ignore);
    set(header.guidColumn, ColumnRole::Ignore);
    for (std::size_t i = 0; i < columns && (!foreign || !known); ++i) {
        if (roles[i] != ColumnRole::Ignore || (i + 1 == header.notetypeColumn || i + 1 == header.guidColumn)) {
            continue;
        }
        if (!foreign) {
            roles[i] = ColumnRole::Foreign;
            foreign = true;
        } else if (!known) {
            roles[i] = ColumnRole::Known;
            known = true;
        }
    }
    return roles;
}

std::vector<std::wstring> categoriesOfTags(const std::wstring& tags) {
    std::vector<std::wstring> categories;
    std::wstring current;
    for (wchar_t c : tags + L" ") {
        if (c == L' ' || c == L'\t' || c == L'\n') {
            if (!current.empty()) {
                categories.push_back(current);
                current.clear();
            }
        } else {
            current.push_back(c == L'_' ? L' ' : c);
        }
    }
    return categories;
}

DelimitedRows::DelimitedRows(DelimitedReader& reader, std::vector<ColumnRole> roles)
    : reader_(reader), roles_(std::move(roles)) {
    std::wstring text;
    if (decodeUtf8Strict(reader.header().tags, text)) {
        headerTags_ = categoriesOfTags(text);
    }
    if (decodeUtf8Strict(reader.header().deck, text)) {
        headerDeck_ = text;
    }
}

double DelimitedRows::progress() const {
    return reader_.size() == 0 ? 1.0 : static_cast<double>(reader_.bytesRead()) / static_cast<double>(reader_.size());
}

bool DelimitedRows::next(ImportRow& row) {
    if (!reader_.next(record_)) {
        return false;
    }
    row = ImportRow();
    row.line = record_.line;
    row.lesson = headerDeck_;
    row.categories = headerTags_;
    if (record_.unclosedQuote) {
        row.problem = RefusalKind::UnclosedQuote;
    }
    const bool html = reader_.header().html;
    for (std::size_t column = 0; column < record_.fields.size() && column < roles_.size(); ++column) {
        if (roles_[column] == ColumnRole::Ignore) {
            continue;
        }
        const std::string& raw = record_.fields[column];
        if (!decodeUtf8Strict(html ? htmlToText(raw) : raw, field_)) {
            if (row.problem == RefusalKind::None) {
                row.problem = RefusalKind::BadEncoding;
                row.problemColumn = static_cast<unsigned>(column + 1);
            }
            continue;
        }
        take(roles_[column], field_, row);
    }
    return true;
}

void DelimitedRows::take(ColumnRole role, const std::wstring& field, ImportRow& row) const {
    switch (role) {
    case ColumnRole::Ignore: break;
    case ColumnRole::Foreign:
        if (row.foreign.empty()) {
            row.foreign = field;
        }
        break;
    case ColumnRole::Known: row.known.push_back(field); break;
    case ColumnRole::Article: row.article = field; break;
    case ColumnRole::Pronunciation: row.pronunciation = field; break;
    case ColumnRole::Mnemonic: row.mnemonic = field; break;
    case ColumnRole::Lesson:
        if (!field.empty()) {
            row.lesson = field;
        }
        break;
    case ColumnRole::Category: row.categories.push_back(field); break;
    case ColumnRole::Tags:
        for (std::wstring& category : categoriesOfTags(field)) {
            row.categories.push_back(std::move(category));
        }
        break;
    }
}

}  // namespace exchange
