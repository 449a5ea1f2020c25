#pragma once

#include <cstddef>
#include <string>

#include "db/OrnQL_Template.h"

class GuiSelectionfield;

// A language the user learns or knows: its display name (unique among languages), its writing
// direction and the keyboard layout switched on while the user types in it. Articles, persons,
// tenses, verb patterns, words, irregular verbs and flashcards belong to a language; deleting it
// deletes them (cascades) and its flag and keyboard pictures.
//
// Stored fields, after the record header: keyboardLocalID (9 bytes as held, terminator
// included), name (wide text), rightToLeft (1 byte).
class Language : public OrnQL_Template<Language> {
public:
    // Eight characters and a terminating zero.
    static constexpr std::size_t KEYBOARD_ID_SIZE = 9;

    enum Attribute { ATTR_NAME = 0, ATTR_RIGHTTOLEFT = 1, ATTR_KEYBOARDLOCALID = 2 };

    // Empty name, layout "00000000", written left to right.
    Language();
    // When the record goes by deletion from its table, its flag and keyboard pictures go with the
    // next save (not when an unstored or refused record is thrown away, whose id may be another's).
    ~Language() override;

    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    const void* getData(int attribute) override;
    // Copies name, layout and direction (not the id or links).
    Language& operator=(const Language& other) override;

    const wchar_t* get_name() const { return name.c_str(); }
    void set_name(const wchar_t* text, bool save);
    bool get_rightToLeft() const { return rightToLeft; }
    void set_rightToLeft(bool value, bool save);
    const char* get_keyboardLocalID() const { return keyboardLocalID; }
    // Takes at most eight characters (the rest of the field is zeroed); always marks for saving.
    void set_keyboardLocalID(const char* layoutId);

    // NAME (wide text), RIGHTTOLEFT (bool), KEYBOARDLOCALID (8-bit text); 0 for other names.
    static int type(const wchar_t* attribute, int* id);

    // Adds a new language, which the table owns from then on. A name already in use (exact,
    // case-sensitive comparison) throws OrnQLException_Custom and leaves the record with the
    // caller. Returns the new id.
    static const unsigned& add(Language* language);

    // Fills a selection field with all languages (defined with the element toolkit).
    static void prepareSelection(GuiSelectionfield* field);

private:
    std::wstring name;
    bool rightToLeft = false;
    char keyboardLocalID[KEYBOARD_ID_SIZE] = {};
};
