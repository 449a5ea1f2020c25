#include "model/Lesson.h"

#include "db/OrnQL_Stream.h"

Lesson::Lesson(const wchar_t* lessonTitle, std::int32_t dueDays) {
    set_title(lessonTitle, true);
    set_due(dueDays, true);
}

void Lesson::load(std::istream& in) {
    loadText(title, in);
    loadValue(in, due);
}

void Lesson::save(std::ostream& out) {
    saveText(title, out);
    saveValue(out, due);
}

const void* Lesson::getData(int attribute) {
    switch (attribute) {
    case 0:
        return title.c_str();
    case 1:
        return &due;
    default:
        return nullptr;
    }
}

Lesson& Lesson::operator=(const Lesson& other) {
    title = other.title;
    due = other.due;
    return *this;
}

void Lesson::set_title(const wchar_t* value, bool save) {
    title = value == nullptr ? L"" : value;
    if (save) {
        saveRequest();
    }
}

void Lesson::set_due(std::int32_t value, bool save) {
    due = value;
    if (save) {
        saveRequest();
    }
}
