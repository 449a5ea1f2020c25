#pragma once

#include "db/OrnQL_Template.h"
#include "model/Verb.h"

// The stored forms of one irregular verb: every cell is the form itself. The word it was made for
// holds the link (D_IRREGULARVERB); the verb holds only its language (D_LANGUAGE), taken from the
// word. Deleting an irregular verb clears the words' links to it.
//
// Stored fields, after the record header: tenses (4 bytes), persons (4 bytes), then the cells
// (wide texts), tense by tense, persons in order.
class IrregularVerb : public OrnQL_Template<IrregularVerb>, public Verb {
public:
    enum Attribute { ATTR_TENSES = 0, ATTR_PERSONS = 1 };

    IrregularVerb();
    // Empty cells; the language becomes the word's (if the word exists).
    IrregularVerb(unsigned tenses, unsigned persons, unsigned wordId);

    // D_WORD is not recorded: if the word exists, the verb takes over its language. Every other
    // dependency is set as usual.
    void setDependency(dependency d, unsigned id) override;
    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    void saveRequest() override { OrnQL_Template<IrregularVerb>::saveRequest(); }
    // 0: tenses, 1: persons; null for other ids.
    const void* getData(int attribute) override;
    // Takes the other verb's shape and cells (marking for saving).
    IrregularVerb& operator=(const IrregularVerb& other) override;
    // Whether submission equals the stored form exactly; the infinitive is not used.
    bool checkOn(unsigned t, unsigned p, const wchar_t* submission, const wchar_t* infinitive) override;

    // Makes an empty irregular verb shaped by the language's tenses and persons for the word,
    // adds it, and points the word at it (clearing the word's verb pattern link). Throws
    // OrnQLException_Custom, creating nothing, when the word does not exist. The table owns the
    // returned verb.
    static IrregularVerb* createAndAdd(unsigned languageId, unsigned wordId);

private:
    std::int32_t tempDataLong = 0;
};
