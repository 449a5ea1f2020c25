#include "exchange/RowPreparation.h"

#include <algorithm>
#include <cwctype>

namespace exchange {

namespace {

constexpr wchar_t EDITOR_CARET = 0x2038;  // the text fields' caret, never part of a text

bool isLineBreak(wchar_t c) { return c == L'\n' || c == L'\r' || c == 0x2028 || c == 0x2029; }

bool isControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool endsWithApostrophe(const std::wstring& text) {
    return !text.empty() && (text.back() == L'\'' || text.back() == 0x2019);
}

bool sameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
           });
}

void addOnce(std::vector<std::wstring>& list, std::wstring text) {
    if (!text.empty() && std::find(list.begin(), list.end(), text) == list.end()) {
        list.push_back(std::move(text));
    }
}

}  // namespace

namespace {

bool needsCleaning(wchar_t c) { return isLineBreak(c) || c == L'\t' || isControl(c) || c == EDITOR_CARET; }

}  // namespace

std::wstring cleanedField(const std::wstring& text) {
    // Nearly every field is clean already: it is copied as it is.
    if (std::none_of(text.begin(), text.end(), needsCleaning) &&
        (text.empty() || (text.front() != L' ' && text.back() != L' '))) {
        return text;
    }
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (isLineBreak(c) || c == L'\t') {
            out.push_back(L' ');
        } else if (!isControl(c) && c != EDITOR_CARET) {
            out.push_back(c);
        }
    }
    const std::size_t first = out.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return {};
    }
    return out.substr(first, out.find_last_not_of(L' ') - first + 1);
}

RowPreparation::RowPreparation(const ImportOptions& options, LanguageTarget& foreign)
    : options_(options), foreign_(foreign) {}

void RowPreparation::splitKnown(const std::vector<std::wstring>& fields, std::vector<std::wstring>& known) const {
    const std::wstring& separator = options_.knownSeparator;
    for (const std::wstring& field : fields) {
        std::size_t partStart = 0;
        auto flush = [&](std::size_t partEnd) {
            addOnce(known, cleanedField(field.substr(partStart, partEnd - partStart)));
        };
        for (std::size_t i = 0; i < field.size(); ++i) {
            if (isLineBreak(field[i])) {
                flush(i);
                partStart = i + 1;
            } else if (!separator.empty() && field[i] == separator.front() &&
                       field.compare(i, separator.size(), separator) == 0) {
                flush(i);
                i += separator.size() - 1;
                partStart = i + 1;
            }
        }
        flush(field.size());
    }
}

void RowPreparation::splitLeadingArticle(PreparedRow& prepared) const {
    for (const std::wstring& article : foreign_.articlesLongestFirst()) {
        const std::size_t after = article.size() + (endsWithApostrophe(article) ? 0 : 1);
        if (prepared.foreign.size() <= after ||
            !sameIgnoringCase(std::wstring_view(prepared.foreign).substr(0, article.size()), article) ||
            (!endsWithApostrophe(article) && prepared.foreign[article.size()] != L' ')) {
            continue;
        }
        prepared.article = article;
        prepared.foreign = cleanedField(prepared.foreign.substr(after));
        return;
    }
}

Refusal RowPreparation::prepare(ImportRow& row, PreparedRow& prepared) {
    Refusal refusal;
    refusal.line = row.line;
    if (row.problem != RefusalKind::None) {
        refusal.kind = row.problem;
        refusal.column = row.problemColumn;
        return refusal;
    }
    prepared = PreparedRow();
    prepared.line = row.line;
    prepared.foreign = cleanedField(row.foreign);
    prepared.article = cleanedField(row.article);
    prepared.pronunciation = cleanedField(row.pronunciation);
    prepared.mnemonic = cleanedField(row.mnemonic);
    prepared.lesson = cleanedField(options_.lesson.empty() ? row.lesson : options_.lesson);
    splitKnown(row.known, prepared.known);
    for (const std::wstring& category : row.categories) {
        addOnce(prepared.categories, cleanedField(category));
    }
    prepared.conjugations = std::move(row.conjugations);
    if (prepared.article.empty() && options_.splitLeadingArticle) {
        splitLeadingArticle(prepared);
    }
    if (prepared.article.empty()) {
        prepared.article = foreign_.articleFor(row.gender);
    }

    if (prepared.foreign.empty()) {
        refusal.kind = RefusalKind::NoForeignWord;
        return refusal;
    }
    if (prepared.known.empty()) {
        refusal.kind = RefusalKind::NoKnownWord;
        return refusal;
    }
    auto tooLong = [&](const std::wstring& text, RowField field) {
        if (text.size() <= MAX_FIELD_CHARACTERS) {
            return false;
        }
        refusal.kind = RefusalKind::TooLong;
        refusal.field = field;
        refusal.length = static_cast<unsigned>(text.size());
        return true;
    };
    if (tooLong(prepared.foreign, RowField::Foreign) || tooLong(prepared.article, RowField::Article) ||
        tooLong(prepared.pronunciation, RowField::Pronunciation) || tooLong(prepared.mnemonic, RowField::Mnemonic) ||
        tooLong(prepared.lesson, RowField::Lesson)) {
        return refusal;
    }
    for (const std::wstring& known : prepared.known) {
        if (tooLong(known, RowField::Known)) {
            return refusal;
        }
    }
    for (const std::wstring& category : prepared.categories) {
        if (tooLong(category, RowField::Category)) {
            return refusal;
        }
    }
    if (!prepared.article.empty() && !foreign_.knowsArticle(prepared.article)) {
        if (!foreign_.takesNewArticles()) {
            refusal.kind = RefusalKind::UnknownArticle;
            refusal.text = prepared.article;
            return refusal;
        }
        foreign_.noteArticle(prepared.article);
    }
    return refusal;
}

}  // namespace exchange
