#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/OrnQL_Template.h"
#include "model/Verb.h"

class GuiSelectionfield;

// A regular conjugation of one language: every cell holds a small rewrite rule that turns the
// infinitive into the form of that tense and person. Words point to their pattern with
// D_VERBPATTERN; deleting a pattern clears those links. Its link is D_LANGUAGE; patternId numbers
// the patterns of a language 1, 2, 3, ... and is what the user sees instead of the record id.
//
// Rule syntax. A rule may hold a section introduced by "/pre" and one introduced by "/post" (in
// either order); each runs from just after the first occurrence of its marker up to the next '/'
// or the end. Within a section, the first '-' must be followed by a decimal number (blanks and a
// '+' sign before it allowed): that many characters are cut off, at the front for "/pre", at the
// end for "/post"; the first '+' must be followed by at least one character other than '/', '+'
// and '-': the text up to the next such character (blanks included) is added, in front for
// "/pre", at the end for "/post". Everything else is ignored; the empty rule and a rule without
// markers leave the infinitive unchanged. Examples: "/post-3+ed", "/pre+will ", "/pre-2",
// "/pre-1+a/post+ing". A cut never takes more than what is there.
//
// Stored fields, after the record header: tenses (4 bytes), persons (4 bytes), patternId
// (4 bytes), then the cells (wide texts), tense by tense, persons in order.
class VerbPattern : public OrnQL_Template<VerbPattern>, public Verb {
public:
    enum Attribute { ATTR_PATTERNID = 0, ATTR_TENSES = 1, ATTR_PERSONS = 2 };

    VerbPattern();
    VerbPattern(unsigned tenses, unsigned persons, unsigned languageId, unsigned patternId);

    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    void saveRequest() override { OrnQL_Template<VerbPattern>::saveRequest(); }
    // PATTERNID, TENSES, PERSONS as numbers; null for other ids.
    const void* getData(int attribute) override;
    // Takes the other pattern's shape and cells (marking for saving).
    VerbPattern& operator=(const VerbPattern& other) override;
    // Whether submission equals the infinitive converted with the rule of tense t, person p.
    bool checkOn(unsigned t, unsigned p, const wchar_t* submission, const wchar_t* infinitive) override;

    // initArray is indexed person first, then tense, and must cover the pattern's shape. Returns
    // false and changes nothing when a rule is invalid (or a cell is missing); otherwise copies
    // every rule and returns true.
    bool initPattern(const std::vector<std::vector<std::wstring>>& initArray);
    const wchar_t* get_patternAt(unsigned tense, unsigned person) const { return get_content(tense, person); }
    unsigned get_patternId() const { return patternId; }
    // "<language name> <Pattern> - <patternId>".
    std::wstring descriptionText() const;
    // The same text in one buffer shared by all patterns, valid until the next call.
    const wchar_t* get_description() const;

    // PATTERNID, TENSES, PERSONS (numbers); 0 for other names.
    static int type(const wchar_t* attribute, int* id);

    static bool checkPatternString(const wchar_t* pattern);
    // Rewrites infinitive in place into the form the rule describes.
    static void convertWithPattern(const wchar_t* pattern, std::wstring& infinitive);
    // Gives the pattern the lowest number not yet used by a pattern of its language and adds it;
    // the table owns it from then on. Returns the new record id.
    static const unsigned& add(VerbPattern* pattern);

    // Fills a selection field with "n/a" and the patterns of a language (defined with the
    // element toolkit).
    static void prepareSelection(unsigned languageId, GuiSelectionfield* field);
    // Whether every cell of the language's persons and tenses holds a valid rule.
    static bool checkPatternTable(GuiTable* table, unsigned languageId);
    void convertFillTable(GuiTable* table, const wchar_t* infinitive);

private:
    std::int32_t tempDataLong = 0;
    unsigned patternId = 0;
};
