#include "exchange/KvtmlDocument.h"

#include <cwctype>

namespace exchange {

namespace {

std::wstring lowered(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return text;
}

Gender genderNamed(const std::wstring& name) {
    const std::wstring word = lowered(name);
    if (word == L"male" || word == L"masculine") {
        return Gender::Male;
    }
    if (word == L"female" || word == L"feminine") {
        return Gender::Female;
    }
    if (word == L"neutral" || word == L"neuter") {
        return Gender::Neutral;
    }
    return Gender::None;
}

const KvtmlWordType* find(const std::vector<KvtmlWordType>& types, const std::wstring& name) {
    for (const KvtmlWordType& type : types) {
        if (type.name == name) {
            return &type;
        }
    }
    return nullptr;
}

}  // namespace

Gender KvtmlHead::genderOf(const KvtmlTranslation& translation) const {
    if (translation.subTypeName.empty()) {
        return Gender::None;
    }
    if (const KvtmlWordType* type = find(wordTypes, translation.typeName)) {
        if (const KvtmlWordType* sub = find(type->subtypes, translation.subTypeName)) {
            const Gender special = genderNamed(sub->special);
            if (special != Gender::None) {
                return special;
            }
        }
    }
    return genderNamed(translation.subTypeName);
}

}  // namespace exchange
