#pragma once

#include <cstdint>
#include <string>

#include "db/OrnQL_Stream.h"
#include "db/OrnQL_Template.h"

class GuiSelectionfield;

// What articles, persons and tenses share: the entry's text as the user wrote it and the moment
// it was created (seconds since 1970 UTC, 32-bit; kept unchanged afterwards, copied on load).
// A mix-in: the record class that uses it forwards saveRequest to its table, so that set_text
// can mark the enclosing record for saving without knowing its type.
class Grammar {
public:
    explicit Grammar(const wchar_t* text);
    virtual ~Grammar() = default;
    virtual void saveRequest() = 0;

    const wchar_t* get_text() const { return text.c_str(); }
    void set_text(const wchar_t* value, bool save);
    std::int32_t get_timestamp() const { return timestamp; }

    // Orders grammar records by creation time: a.timestamp - b.timestamp in seconds (negative when
    // a is older), clamped to the range of int. Both records must be grammar records.
    static int orderByTimestamp(OrnQL_Base* const& a, OrnQL_Base* const& b);

    // Fills a selection field with "n/a" and the articles of a language (defined with the element
    // toolkit).
    template <typename T>
    static void prepareSelection(unsigned languageId, GuiSelectionfield* field);

protected:
    // Stored fields: text (wide text), timestamp (4 bytes, signed).
    void loadGrammar(std::istream& in);
    void saveGrammar(std::ostream& out) const;

    std::wstring text;
    std::int32_t timestamp;
};

// An entry of one of a language's grammar tables. Its one link is D_LANGUAGE, the language it
// belongs to; deleting the language deletes it.
template <typename T>
class GrammarRecord : public OrnQL_Template<T>, public Grammar {
public:
    GrammarRecord() : Grammar(L"") {}
    GrammarRecord(const wchar_t* entryText, unsigned languageId) : Grammar(entryText) {
        this->setDependency(D_LANGUAGE, languageId);
    }

    void load(std::istream& in) override { loadGrammar(in); }
    void save(std::ostream& out) override { saveGrammar(out); }
    void saveRequest() override { OrnQL_Template<T>::saveRequest(); }
    // 0: the text; nothing else.
    const void* getData(int attribute) override { return attribute == 0 ? text.c_str() : nullptr; }

protected:
    // What assignment copies: the text (marked for saving); the creation time stays.
    T& copyFrom(const T& other) {
        set_text(other.get_text(), true);
        return static_cast<T&>(*this);
    }
};

class Tense : public GrammarRecord<Tense> {
public:
    using GrammarRecord<Tense>::GrammarRecord;
    Tense& operator=(const Tense& other) override { return copyFrom(other); }
};

class Person : public GrammarRecord<Person> {
public:
    using GrammarRecord<Person>::GrammarRecord;
    Person& operator=(const Person& other) override { return copyFrom(other); }
};

class Article : public GrammarRecord<Article> {
public:
    using GrammarRecord<Article>::GrammarRecord;
    Article& operator=(const Article& other) override { return copyFrom(other); }
};
