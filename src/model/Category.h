#pragma once

#include <string>

#include "db/OrnQL_Template.h"

// A topic label attached to meanings through C_M; the practice screen can restrict its cards to
// categories. A category sets no links of its own.
//
// Stored fields, after the record header: description (wide text).
class Category : public OrnQL_Template<Category> {
public:
    Category() = default;
    explicit Category(const wchar_t* description);

    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    // 0: the description; nothing else.
    const void* getData(int attribute) override;
    // Copies the description.
    Category& operator=(const Category& other) override;

    const wchar_t* get_description() const { return description.c_str(); }
    void set_description(const wchar_t* value, bool save);

private:
    std::wstring description;
};
