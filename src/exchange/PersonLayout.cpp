#include "exchange/PersonLayout.h"

#include <array>

namespace exchange {

namespace {

int kvtmlIndex(PersonPlace place) {
    switch (place) {
    case PersonPlace::First: return 0;
    case PersonPlace::Second: return 1;
    case PersonPlace::ThirdMale: return 2;
    case PersonPlace::ThirdFemale: return 3;
    case PersonPlace::ThirdNeutral:
    case PersonPlace::ThirdCommon: return 4;
    }
    return 0;
}

std::wstring label(const PersonSlot& slot) {
    static const wchar_t* const numbers[] = {L"singular", L"plural", L"dual"};
    static const wchar_t* const places[] = {L"1st person", L"2nd person", L"3rd person male",
                                            L"3rd person female", L"3rd person neutral", L"3rd person"};
    return std::wstring(places[static_cast<int>(slot.place)]) + L" " + numbers[slot.number];
}

}  // namespace

PersonLayout PersonLayout::forFlags(bool maleFemaleDifferent, bool neutralExists, bool dualExists) {
    PersonLayout layout;
    layout.maleFemaleDifferent = maleFemaleDifferent;
    layout.neutralExists = maleFemaleDifferent && neutralExists;
    layout.dualExists = dualExists;
    for (int number = 0; number < (dualExists ? 3 : 2); ++number) {
        layout.slots.push_back({number, PersonPlace::First});
        layout.slots.push_back({number, PersonPlace::Second});
        if (maleFemaleDifferent) {
            layout.slots.push_back({number, PersonPlace::ThirdMale});
            layout.slots.push_back({number, PersonPlace::ThirdFemale});
            if (neutralExists) {
                layout.slots.push_back({number, PersonPlace::ThirdNeutral});
            }
        } else {
            layout.slots.push_back({number, PersonPlace::ThirdCommon});
        }
    }
    return layout;
}

PersonLayout PersonLayout::forCount(std::size_t persons) {
    struct Shape {
        bool maleFemaleDifferent, neutralExists, dualExists;
    };
    // By their number of places: 6, 8, 9, 10, 12, 15.
    static const std::array<Shape, 6> shapes = {{{false, false, false},
                                                 {true, false, false},
                                                 {false, false, true},
                                                 {true, true, false},
                                                 {true, false, true},
                                                 {true, true, true}}};
    for (const Shape& shape : shapes) {
        PersonLayout layout = forFlags(shape.maleFemaleDifferent, shape.neutralExists, shape.dualExists);
        if (layout.slots.size() >= persons) {
            return layout;
        }
    }
    return forFlags(true, true, true);
}

std::wstring PersonLayout::formAt(const PersonForms& forms, std::size_t slot) const {
    const PersonSlot& at = slots[slot];
    const auto& row = forms[at.number];
    if (at.place != PersonPlace::ThirdCommon) {
        return row[kvtmlIndex(at.place)];
    }
    for (int index : {4, 2, 3}) {
        if (!row[index].empty()) {
            return row[index];
        }
    }
    return {};
}

void PersonLayout::putForm(PersonForms& forms, std::size_t slot, const std::wstring& form) const {
    const PersonSlot& at = slots[slot];
    forms[at.number][kvtmlIndex(at.place)] = form;
}

std::wstring PersonLayout::personText(const PersonForms& pronouns, std::size_t slot) const {
    const PersonSlot& at = slots[slot];
    const auto& row = pronouns[at.number];
    std::wstring text;
    if (at.place == PersonPlace::ThirdCommon) {
        for (int index : {2, 3, 4}) {
            if (!row[index].empty() && (L"/" + text + L"/").find(L"/" + row[index] + L"/") == std::wstring::npos) {
                text += (text.empty() ? L"" : L"/") + row[index];
            }
        }
    } else {
        text = row[kvtmlIndex(at.place)];
    }
    return text.empty() ? label(at) : text;
}

void PersonLayout::putPronoun(PersonForms& pronouns, std::size_t slot, const std::wstring& text) const {
    const PersonSlot& at = slots[slot];
    auto& row = pronouns[at.number];
    if (at.place != PersonPlace::ThirdCommon) {
        row[kvtmlIndex(at.place)] = text;
        return;
    }
    // "er/sie/es": male, female, neutral; a fourth part and more stay with the neutral one.
    std::size_t start = 0;
    for (int index : {2, 3}) {
        const std::size_t slash = text.find(L'/', start);
        if (slash == std::wstring::npos) {
            row[index] = text.substr(start);
            return;
        }
        row[index] = text.substr(start, slash - start);
        start = slash + 1;
    }
    row[4] = text.substr(start);
}

}  // namespace exchange
