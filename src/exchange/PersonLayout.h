#pragma once

// How the persons of a language line up with the persons of a KVTML file. A language's persons
// are an ordered list of texts (ich, du, er/sie/es, ...); KVTML names each form by number and
// person, with the third person either split by gender or common to all. A layout is the list of
// such places in the order of a language's persons:
//
//   per number (singular, plural, then dual when it exists):
//     first, second, then the third person: one common place, or male and female (and neutral
//     when it exists) when the genders differ
//
// which gives 6 places (no flags), 8 (genders differ), 9 (dual), 10 (genders differ, neutral
// exists), 12 and 15 (the same with dual). A language of P persons is read as the smallest of
// these with at least P places (the largest when P is above 15); its persons take the places in
// order, and places beyond its persons stay empty.

#include <string>
#include <vector>

#include "exchange/KvtmlDocument.h"

namespace exchange {

enum class PersonPlace { First, Second, ThirdMale, ThirdFemale, ThirdNeutral, ThirdCommon };

struct PersonSlot {
    int number = 0;  // 0 singular, 1 plural, 2 dual
    PersonPlace place = PersonPlace::First;
};

struct PersonLayout {
    bool maleFemaleDifferent = false;
    bool neutralExists = false;
    bool dualExists = false;
    std::vector<PersonSlot> slots;

    static PersonLayout forFlags(bool maleFemaleDifferent, bool neutralExists, bool dualExists);
    static PersonLayout forCount(std::size_t persons);

    // The form of a place in a KVTML table (a common third person takes the neutral form, else
    // the male, else the female one).
    std::wstring formAt(const PersonForms& forms, std::size_t slot) const;
    // Writes a form into the KVTML place of a slot (a common third person into the neutral one).
    void putForm(PersonForms& forms, std::size_t slot, const std::wstring& form) const;
    // The text a language's person gets from the pronouns: for a common third person the
    // pronouns given joined by "/" ("er/sie/es"); a label when the file gives none.
    std::wstring personText(const PersonForms& pronouns, std::size_t slot) const;
    // The pronouns a person's text stands for (the reverse of personText).
    void putPronoun(PersonForms& pronouns, std::size_t slot, const std::wstring& text) const;
};

}  // namespace exchange
