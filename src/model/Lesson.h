#pragma once

#include <cstdint>
#include <string>

#include "db/OrnQL_Template.h"

// A group of flashcards under a title (cards point to it with D_LESSON; deleting the lesson
// clears those links). `due` is the day number of its due date, the whole days from 1 January
// 1970 to it in the Gregorian calendar, or NO_DUE_DATE. A stored date therefore stays the same
// date on every later day. A lesson sets no links of its own.
//
// Stored fields, after the record header: title (wide text), due (4 bytes, signed).
class Lesson : public OrnQL_Template<Lesson> {
public:
    static constexpr std::int32_t NO_DUE_DATE = -1;

    Lesson() = default;
    Lesson(const wchar_t* title, std::int32_t due);

    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    // 0: title, 1: due; null for other ids.
    const void* getData(int attribute) override;
    // Copies title and due.
    Lesson& operator=(const Lesson& other) override;

    const wchar_t* get_title() const { return title.c_str(); }
    void set_title(const wchar_t* value, bool save);
    std::int32_t get_due() const { return due; }
    void set_due(std::int32_t value, bool save);

private:
    std::wstring title;
    std::int32_t due = NO_DUE_DATE;
};
