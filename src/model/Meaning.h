#pragma once

#include <cstdint>
#include <string>

#include "db/OrnQL_Template.h"

// A language-independent sense: words of different languages that share a meaning translate each
// other. Words link to it through M_W (a meaning left without words is deleted), categories
// through C_M. A meaning sets no links of its own.
//
// Stored fields, after the record header: niveau (1 byte, 1 to 10). The flashcard editor's
// bookkeeping (usedForFlashcard, connectionsForFlashcard) is not stored.
class Meaning : public OrnQL_Template<Meaning> {
public:
    static constexpr int LOWEST_NIVEAU = 1;
    static constexpr int HIGHEST_NIVEAU = 10;

    enum Attribute { ATTR_USEDFORFLASHCARD = 0, ATTR_CONNECTIONSFORFLASHCARD = 1, ATTR_NIVEAU = 2 };

    Meaning() = default;
    explicit Meaning(int niveau);

    // A stored niveau outside 1..10 reads back as 1 and marks the meaning for saving.
    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    // 0: usedForFlashcard (bool); 1: connectionsForFlashcard, 2: niveau (numbers); else null.
    const void* getData(int attribute) override;
    // Copies the niveau.
    Meaning& operator=(const Meaning& other) override;

    int get_niveau() const { return niveau; }
    // Stores n, or 1 when n is not within 1..10; always marks for saving.
    void set_niveau(int n);

    bool get_usedForFlashcard() const { return usedForFlashcard; }
    void set_usedForFlashcard(bool value) { usedForFlashcard = value; }
    unsigned get_connectionsForFlashcard() const { return connectionsForFlashcard; }
    void set_connectionsForFlashcard(unsigned value) { connectionsForFlashcard = value; }
    // One connection fewer (never below 0); at 0 the meaning counts as used again.
    void decConnections();

    // The texts of the meaning's words, joined by ", " ("" without words).
    std::wstring descriptionText();
    // The same text into `description`, replacing what it held: a list of every meaning reuses
    // one string instead of allocating one per meaning.
    void describeInto(std::wstring& description) const;
    // The same text in one buffer shared by all meanings, valid until the next call (so two
    // meanings' descriptions cannot be compared through it; use descriptionText).
    const wchar_t* get_description();

private:
    static signed char clampedNiveau(int n);

    bool usedForFlashcard = true;
    unsigned connectionsForFlashcard = 0;
    std::int32_t tempDataLong = 0;
    signed char niveau = LOWEST_NIVEAU;
};
