#pragma once

#include <cstdint>
#include <string>

#include "db/OrnQL_Template.h"

// How hints are treated for questions at a level: shown with the question; hidden until the hint
// button is pressed; hidden, and pressing the hint button turns a correct answer into a minor
// error.
enum HINTHANDLING { SHOWHINT = 0, HIDEHINT = 1, PUNISHHINT = 2 };

// One rung of the ladder that every flashcard direction climbs: the break days a card gets when
// it reaches the rung by a correct answer, whether a wrong answer must be typed again correctly,
// how hints are treated, and a running estimate of the seconds an answer takes.
//
// The ladder: the levels of the table always hold the numbers 0 .. nextAvailableLevel - 1, each
// once; the final level is nextAvailableLevel - 1. A new level takes the next number; set_level
// moves a level within the ladder, shifting the levels in between; deleting a level first moves
// it to the top, so the ladder closes the gap (cards keep their numbers, and levelDeduct moves
// those left beyond the ladder to the new top). Loading renumbers a damaged ladder (numbers
// missing or held twice) in the order of the stored numbers.
//
// Stored fields, after the record header (21 bytes): breakDays (4), forceAnswerTyping (1),
// hintHandling (4), level (4), statSubmissions (4), statTotal (4).
class Level : public OrnQL_Template<Level> {
public:
    enum Attribute {
        ATTR_BREAKDAYS = 0,
        ATTR_FORCEANSWERTYPING = 1,
        ATTR_LEVEL = 2,
        ATTR_DESCRIPTION = 3,
        ATTR_STATSUBMISSION = 4,
        ATTR_STATTOTAL = 5
    };

    // The statistic of a new level: 60 seconds over one answer.
    static constexpr std::uint32_t INITIAL_STAT_TOTAL = 60;
    // Once more answers than this are counted, ten average ones are forgotten at a time.
    static constexpr std::uint32_t STAT_WINDOW = 110;
    static constexpr std::uint32_t STAT_FORGET = 10;

    // Takes the next level number (the new top of the ladder).
    Level();
    Level(unsigned breakDays, bool forceAnswerTyping, HINTHANDLING hintHandling);
    // Moves the level to the top of the ladder, then shrinks the ladder by one.
    ~Level() override;

    // Stored values out of range read back as the nearest valid ones (a hint handling beyond
    // PUNISHHINT as PUNISHHINT, no answers counted as one).
    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    const void* getData(int attribute) override;
    // Copies breakDays, forceAnswerTyping and hintHandling only.
    Level& operator=(const Level& other) override;

    unsigned get_breakDays() const { return breakDays; }
    void set_breakDays(unsigned value, bool save);
    bool get_forceAnswerTyping() const { return forceAnswerTyping; }
    void set_forceAnswerTyping(bool value, bool save);
    HINTHANDLING get_hintHandling() const { return hintHandling; }
    void set_hintHandling(HINTHANDLING value, bool save);

    unsigned get_level() const { return level; }
    // Moves the level to number target, shifting the levels between its old and new number by
    // one (each marked for saving). False, changing nothing, for 0 and numbers beyond the ladder.
    bool set_level(unsigned target);

    // "<Level> <number>".
    std::wstring descriptionText() const;
    // The same text, kept in the record (DESCRIPTION hands out the text as last built).
    const wchar_t* get_description();

    // Estimated seconds per answer (statTotal / statSubmissions).
    unsigned statEstimate() const;
    // Counts one timed answer; marks for saving.
    void statSubmitReading(unsigned secs);
    unsigned get_statSubmissions() const { return statSubmissions; }
    unsigned get_statTotal() const { return statTotal; }

    // BREAKDAYS, LEVEL, STATSUBMISSION, STATTOTAL (numbers), FORCEANSWERTYPING (bool),
    // DESCRIPTION (wide text); 0 for other names.
    static int type(const wchar_t* attribute, int* id);

    // The level with that number (the least id if several), or null.
    static Level* getByLevel(unsigned number);
    static unsigned getNextAvailableLevel() { return nextAvailableLevel; }
    // Whether the level table was loaded without error.
    static bool hasLoadedCorrectly() { return correctLoad; }

    // Loads the ladder (renumbering a damaged one). On any error the ladder counts as not loaded
    // (the next save of the level table writes the default ladder) and the error is rethrown.
    static void loadAll(const char* path, dependency d);
    // Saves the level table. When it was not loaded correctly, the levels in memory (at most
    // those read before the failure) are first replaced by the default ladder of seven levels.
    static void saveAll(const char* path, dependency d);
    // The table's reset for tests, which also forgets the ladder.
    static void resetTable();

private:
    // While set, destroying or loading levels leaves the ladder alone (bulk removal, loading).
    class LadderFreeze;

    static void renumberLadder();
    static void replaceWithDefaultLadder();
    void shiftOthers(unsigned from, unsigned to, int step);

    std::uint32_t breakDays = 0;
    bool forceAnswerTyping = false;
    HINTHANDLING hintHandling = SHOWHINT;
    std::int32_t tempDataLong = 0;
    std::uint32_t level = 0;
    std::wstring description;
    std::uint32_t statSubmissions = 1;
    std::uint32_t statTotal = INITIAL_STAT_TOTAL;

    static inline bool correctLoad = false;
    static inline unsigned nextAvailableLevel = 0;
    static inline bool ladderFrozen = false;
};
