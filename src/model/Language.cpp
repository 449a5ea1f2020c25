#include "model/Language.h"

#include <cstring>
#include <cwchar>

#include "db/OrnQL_Stream.h"
#include "model/DataPaths.h"

Language::Language() {
    set_keyboardLocalID("00000000");
}

Language::~Language() {
    if (deletionFlag) {
        deleteImageFile(FLAG_IMAGE_DIR);
        deleteImageFile(KEYBOARD_IMAGE_DIR);
    }
}

void Language::load(std::istream& in) {
    loadChars(in, keyboardLocalID, KEYBOARD_ID_SIZE);
    loadText(name, in);
    loadBool(in, rightToLeft);
}

void Language::save(std::ostream& out) {
    saveChars(out, keyboardLocalID, KEYBOARD_ID_SIZE);
    saveText(name, out);
    saveBool(out, rightToLeft);
}

const void* Language::getData(int attribute) {
    switch (attribute) {
    case ATTR_NAME:
        return name.c_str();
    case ATTR_RIGHTTOLEFT:
        return &rightToLeft;
    case ATTR_KEYBOARDLOCALID:
        return keyboardLocalID;
    default:
        return nullptr;
    }
}

Language& Language::operator=(const Language& other) {
    name = other.name;
    std::memcpy(keyboardLocalID, other.keyboardLocalID, KEYBOARD_ID_SIZE);
    rightToLeft = other.rightToLeft;
    return *this;
}

void Language::set_name(const wchar_t* text, bool save) {
    name = text == nullptr ? L"" : text;
    if (save) {
        saveRequest();
    }
}

void Language::set_rightToLeft(bool value, bool save) {
    rightToLeft = value;
    if (save) {
        saveRequest();
    }
}

void Language::set_keyboardLocalID(const char* layoutId) {
    std::memset(keyboardLocalID, 0, KEYBOARD_ID_SIZE);
    for (std::size_t i = 0; layoutId != nullptr && i + 1 < KEYBOARD_ID_SIZE && layoutId[i] != '\0'; ++i) {
        keyboardLocalID[i] = layoutId[i];
    }
    saveRequest();
}

int Language::type(const wchar_t* attribute, int* id) {
    struct Entry {
        const wchar_t* name;
        Attribute id;
        QueryType type;
    };
    static const Entry entries[] = {{L"NAME", ATTR_NAME, QUERY_UNICODE},
                                    {L"RIGHTTOLEFT", ATTR_RIGHTTOLEFT, QUERY_BOOL},
                                    {L"KEYBOARDLOCALID", ATTR_KEYBOARDLOCALID, QUERY_STRING}};
    for (const Entry& entry : entries) {
        if (std::wcscmp(attribute, entry.name) == 0) {
            *id = entry.id;
            return entry.type;
        }
    }
    return QUERY_INVALID;
}

// Compared directly rather than through a NAME == query: the check must not replace the query
// state of the language table, which a screen may be using.
const unsigned& Language::add(Language* language) {
    if (language != nullptr) {
        for (DATAITERATOR it = begin(); it != end(); ++it) {
            if (*it != language && (*it)->name == language->name) {
                throw OrnQLException_Custom("OrnQLException: Language name is already in use!");
            }
        }
    }
    return OrnQL_Template<Language>::add(language);
}
