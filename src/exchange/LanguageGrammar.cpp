#include "exchange/LanguageGrammar.h"

#include <algorithm>
#include <cwctype>

namespace exchange {

namespace {

void addOnce(std::vector<std::wstring>& list, const std::wstring& text) {
    if (!text.empty() && std::find(list.begin(), list.end(), text) == list.end()) {
        list.push_back(text);
    }
}

bool hasPronouns(const KvtmlPronouns& pronouns) {
    if (pronouns.maleFemaleDifferent || pronouns.neutralExists || pronouns.dualExists) {
        return true;
    }
    for (const auto& number : pronouns.texts) {
        for (const std::wstring& text : number) {
            if (!text.empty()) {
                return true;
            }
        }
    }
    return false;
}

struct LocaleLayout {
    const wchar_t* locale;
    const char* layout;
};

// The usual keyboard of a language: the layout identifiers the language editor offers.
constexpr LocaleLayout LOCALE_LAYOUTS[] = {
    {L"en", "00000409"}, {L"de", "00000407"}, {L"fr", "0000040C"}, {L"es", "0000040A"}, {L"it", "00000410"},
    {L"pt", "00000816"}, {L"nl", "00000413"}, {L"sv", "0000041D"}, {L"nb", "00000414"}, {L"no", "00000414"},
    {L"da", "00000406"}, {L"fi", "0000040B"}, {L"pl", "00000415"}, {L"cs", "00000405"}, {L"sk", "0000041B"},
    {L"hu", "0000040E"}, {L"ru", "00000419"}, {L"uk", "00000422"}, {L"bg", "00000402"},
    {L"el", "00000408"}, {L"tr", "0000041F"}, {L"he", "0000040D"}, {L"ar", "00000401"}, {L"fa", "00000429"},
    {L"ja", "00000411"}, {L"ko", "00000412"}, {L"zh", "00000804"},
};

std::wstring language(const std::wstring& locale) {
    std::wstring code;
    for (wchar_t c : locale) {
        if (c == L'_' || c == L'-') {
            break;
        }
        code.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
    }
    return code;
}

}  // namespace

ArticlePlace articlePlace(int index) {
    // number-major, then definite before indefinite, then gender
    return {index / (2 * GENDERS), (index / GENDERS) % 2 == 0, index % GENDERS};
}

LanguageGrammar LanguageGrammar::ofIdentifier(const KvtmlHead& head, const KvtmlIdentifier& identifier) {
    LanguageGrammar grammar;
    grammar.name = identifier.name;
    grammar.locale = identifier.locale;
    for (int index = 0; index < ARTICLE_PLACES; ++index) {
        const ArticlePlace place = articlePlace(index);
        addOnce(grammar.articles, identifier.articles[place.number][place.definite ? 0 : 1][place.gender]);
    }
    for (int gender = 0; gender < GENDERS; ++gender) {
        grammar.genderArticles[gender] = identifier.articles[0][0][gender];
    }
    const auto used = head.conjugationTenses.find(identifier.id);
    const bool conjugated = used != head.conjugationTenses.end() && !used->second.empty();
    if (hasPronouns(identifier.pronouns) || conjugated) {
        const KvtmlPronouns& pronouns = identifier.pronouns;
        grammar.layout =
            PersonLayout::forFlags(pronouns.maleFemaleDifferent, pronouns.neutralExists, pronouns.dualExists);
        for (std::size_t slot = 0; slot < grammar.layout.slots.size(); ++slot) {
            grammar.persons.push_back(grammar.layout.personText(pronouns.texts, slot));
        }
    }
    for (const std::wstring& tense : identifier.tenses) {
        addOnce(grammar.tenses, tense);
    }
    for (const std::wstring& tense : head.documentTenses) {
        addOnce(grammar.tenses, tense);
    }
    if (conjugated) {
        for (const std::wstring& tense : used->second) {
            addOnce(grammar.tenses, tense);
        }
    }
    return grammar;
}

std::wstring LanguageGrammar::articleFor(Gender gender) const {
    return gender == Gender::None ? std::wstring() : genderArticles[static_cast<int>(gender)];
}

std::string layoutForLocale(const std::wstring& locale) {
    const std::wstring code = language(locale);
    for (const LocaleLayout& entry : LOCALE_LAYOUTS) {
        if (code == entry.locale) {
            return entry.layout;
        }
    }
    return "00000000";
}

std::wstring localeForLayout(const std::string& layout) {
    for (const LocaleLayout& entry : LOCALE_LAYOUTS) {
        if (layout == entry.layout) {
            return entry.locale;
        }
    }
    return {};
}

bool rightToLeftLocale(const std::wstring& locale) {
    const std::wstring code = language(locale);
    return code == L"he" || code == L"ar" || code == L"fa" || code == L"ur" || code == L"yi" || code == L"iw";
}

}  // namespace exchange
