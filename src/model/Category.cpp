#include "model/Category.h"

Category::Category(const wchar_t* text) {
    set_description(text, true);
}

void Category::load(std::istream& in) {
    loadText(description, in);
}

void Category::save(std::ostream& out) {
    saveText(description, out);
}

const void* Category::getData(int attribute) {
    return attribute == 0 ? description.c_str() : nullptr;
}

Category& Category::operator=(const Category& other) {
    description = other.description;
    return *this;
}

void Category::set_description(const wchar_t* value, bool save) {
    description = value == nullptr ? L"" : value;
    if (save) {
        saveRequest();
    }
}
