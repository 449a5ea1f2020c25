#pragma once

#include <cstdint>
#include <string>

#include "db/OrnQL_Template.h"

// The unit of practice. A card names one foreign word (D_WORD, with D_LANGUAGE set to that word's
// language) and, through F_W, one or more known words that translate it; D_LESSON is its lesson
// (0 = none). The primary direction shows the known words and asks for the foreign one; the
// inverted direction, practised only when useInverted is set, asks the other way. Each direction
// has its level on the ladder (a level number, not a record id), a due counter in days (due at 0
// or below; the daily roll-over lowers it) and a minor-error flag.
//
// Stored fields, after the record header (19 bytes): primaryNextDue (4, signed),
// primaryMinorFlag (1), primaryLevel (4), useInverted (1), invertedNextDue (4, signed),
// invertedMinorFlag (1), invertedLevel (4).
class Flashcard : public OrnQL_Template<Flashcard> {
public:
    enum Attribute {
        ATTR_PRIMARYNEXTDUE = 0,
        ATTR_PRIMARYMINORFLAG = 1,
        ATTR_PRIMARYLEVEL = 2,
        ATTR_USEINVERTED = 3,
        ATTR_INVERTEDNEXTDUE = 4,
        ATTR_INVERTEDMINORFLAG = 5,
        ATTR_INVERTEDLEVEL = 6,
        ATTR_TEXT = 7
    };

    Flashcard() = default;
    // Both due counters nextDue, both minor flags false, both levels 0.
    Flashcard(bool useInverted, std::int32_t nextDue);

    // D_WORD also sets D_LANGUAGE to the word's language (when the word exists).
    void setDependency(dependency d, unsigned id) override;
    // A stored level beyond the ladder (when one is loaded) reads back as the top level, and the
    // card is marked for saving.
    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    // The seven stored fields by Attribute, and 7 the text of get_text(); null for other ids.
    const void* getData(int attribute) override;
    // Copies the seven stored fields (not the links).
    Flashcard& operator=(const Flashcard& other) override;

    std::int32_t get_primaryNextDue() const { return primaryNextDue; }
    void set_primaryNextDue(std::int32_t value, bool save);
    bool get_primaryMinorFlag() const { return primaryMinorFlag; }
    void set_primaryMinorFlag(bool value, bool save);
    unsigned get_primaryLevel() const { return primaryLevel; }
    void set_primaryLevel(unsigned value, bool save);
    bool get_useInverted() const { return useInverted; }
    void set_useInverted(bool value, bool save);
    std::int32_t get_invertedNextDue() const { return invertedNextDue; }
    void set_invertedNextDue(std::int32_t value, bool save);
    bool get_invertedMinorFlag() const { return invertedMinorFlag; }
    void set_invertedMinorFlag(bool value, bool save);
    unsigned get_invertedLevel() const { return invertedLevel; }
    void set_invertedLevel(unsigned value, bool save);

    // The card's line in lists: the foreign word's text, " [lesson title]" when it has a lesson,
    // then " (primaryLevel|primaryNextDue, invertedLevel|invertedNextDue)", or only the primary
    // pair when useInverted is off. Kept in the card until the next call.
    const wchar_t* get_text();

    // After a level was deleted: every level number of every card that now lies beyond the
    // ladder (normally: equals the new number of levels) moves to the top level; each changed
    // card is marked for saving.
    static void levelDeduct();

private:
    // Moves level numbers beyond the ladder to its top level (marking for saving).
    void clampLevelsToLadder();

    std::int32_t tempDataLong = 0;
    std::int32_t primaryNextDue = 0;
    bool primaryMinorFlag = false;
    std::uint32_t primaryLevel = 0;
    bool useInverted = false;
    std::int32_t invertedNextDue = 0;
    bool invertedMinorFlag = false;
    std::uint32_t invertedLevel = 0;
    std::wstring text;
};
