#include "model/Level.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "db/OrnQL_Stream.h"
#include "model/InterfaceText.h"

class Level::LadderFreeze {
public:
    LadderFreeze() : previous(ladderFrozen) { ladderFrozen = true; }
    ~LadderFreeze() { ladderFrozen = previous; }
    LadderFreeze(const LadderFreeze&) = delete;
    LadderFreeze& operator=(const LadderFreeze&) = delete;

private:
    bool previous;
};

Level::Level() : level(nextAvailableLevel) {
    ++nextAvailableLevel;
}

Level::Level(unsigned days, bool force, HINTHANDLING hints)
    : breakDays(days), forceAnswerTyping(force), hintHandling(hints), level(nextAvailableLevel) {
    ++nextAvailableLevel;
}

Level::~Level() {
    if (ladderFrozen || nextAvailableLevel == 0) {
        return;
    }
    set_level(nextAvailableLevel - 1);
    --nextAvailableLevel;
}

void Level::load(std::istream& in) {
    loadValue(in, breakDays);
    loadBool(in, forceAnswerTyping);
    std::int32_t hints = SHOWHINT;
    loadValue(in, hints);
    hintHandling = static_cast<HINTHANDLING>(std::clamp<std::int32_t>(hints, SHOWHINT, PUNISHHINT));
    loadValue(in, level);
    loadValue(in, statSubmissions);
    loadValue(in, statTotal);
    if (statSubmissions == 0) {
        statSubmissions = 1;
    }
}

void Level::save(std::ostream& out) {
    saveValue(out, breakDays);
    saveBool(out, forceAnswerTyping);
    saveValue(out, static_cast<std::int32_t>(hintHandling));
    saveValue(out, level);
    saveValue(out, statSubmissions);
    saveValue(out, statTotal);
}

const void* Level::getData(int attribute) {
    switch (attribute) {
    case ATTR_BREAKDAYS:
        tempDataLong = static_cast<std::int32_t>(breakDays);
        return &tempDataLong;
    case ATTR_FORCEANSWERTYPING:
        return &forceAnswerTyping;
    case ATTR_LEVEL:
        tempDataLong = static_cast<std::int32_t>(level);
        return &tempDataLong;
    case ATTR_DESCRIPTION:
        return description.c_str();
    case ATTR_STATSUBMISSION:
        tempDataLong = static_cast<std::int32_t>(statSubmissions);
        return &tempDataLong;
    case ATTR_STATTOTAL:
        tempDataLong = static_cast<std::int32_t>(statTotal);
        return &tempDataLong;
    default:
        return nullptr;
    }
}

Level& Level::operator=(const Level& other) {
    breakDays = other.breakDays;
    forceAnswerTyping = other.forceAnswerTyping;
    hintHandling = other.hintHandling;
    return *this;
}

void Level::set_breakDays(unsigned value, bool save) {
    breakDays = value;
    if (save) {
        saveRequest();
    }
}

void Level::set_forceAnswerTyping(bool value, bool save) {
    forceAnswerTyping = value;
    if (save) {
        saveRequest();
    }
}

void Level::set_hintHandling(HINTHANDLING value, bool save) {
    hintHandling = std::clamp(value, SHOWHINT, PUNISHHINT);
    if (save) {
        saveRequest();
    }
}

// Every other stored level with a number in [from, to] moves by step.
void Level::shiftOthers(unsigned from, unsigned to, int step) {
    for (DATAITERATOR it = begin(); it != end(); ++it) {
        Level* other = *it;
        if (other != this && other->level >= from && other->level <= to) {
            other->level = static_cast<std::uint32_t>(static_cast<int>(other->level) + step);
            other->saveRequest();
        }
    }
}

bool Level::set_level(unsigned target) {
    if (target == 0 || target >= nextAvailableLevel) {
        return false;
    }
    if (level == target) {
        return true;
    }
    if (level < target) {
        shiftOthers(level + 1, target, -1);
    } else {
        shiftOthers(target, level - 1, +1);
    }
    level = target;
    saveRequest();
    return true;
}

std::wstring Level::descriptionText() const {
    return std::wstring(interfaceText(String_LEVEL)) + L' ' + std::to_wstring(level);
}

const wchar_t* Level::get_description() {
    description = descriptionText();
    return description.c_str();
}

unsigned Level::statEstimate() const {
    return statSubmissions == 0 ? statTotal : statTotal / statSubmissions;
}

void Level::statSubmitReading(unsigned secs) {
    statTotal += secs;
    ++statSubmissions;
    if (statSubmissions > STAT_WINDOW) {
        const unsigned estimate = statEstimate();
        statSubmissions -= STAT_FORGET;
        statTotal -= STAT_FORGET * estimate;
    }
    saveRequest();
}

int Level::type(const wchar_t* attribute, int* id) {
    struct Entry {
        const wchar_t* name;
        Attribute id;
        QueryType type;
    };
    static const Entry entries[] = {{L"BREAKDAYS", ATTR_BREAKDAYS, QUERY_NUMBER},
                                    {L"FORCEANSWERTYPING", ATTR_FORCEANSWERTYPING, QUERY_BOOL},
                                    {L"LEVEL", ATTR_LEVEL, QUERY_NUMBER},
                                    {L"DESCRIPTION", ATTR_DESCRIPTION, QUERY_UNICODE},
                                    {L"STATSUBMISSION", ATTR_STATSUBMISSION, QUERY_NUMBER},
                                    {L"STATTOTAL", ATTR_STATTOTAL, QUERY_NUMBER}};
    for (const Entry& entry : entries) {
        if (std::wcscmp(attribute, entry.name) == 0) {
            *id = entry.id;
            return entry.type;
        }
    }
    return QUERY_INVALID;
}

Level* Level::getByLevel(unsigned number) {
    for (DATAITERATOR it = begin(); it != end(); ++it) {
        if ((*it)->level == number) {
            return *it;
        }
    }
    return nullptr;
}

// Numbers the stored levels 0, 1, 2, ... in the order of their numbers (ties by id). A sound
// ladder stays as it is; only changed levels are marked for saving.
void Level::renumberLadder() {
    std::vector<Level*> ladder;
    for (DATAITERATOR it = begin(); it != end(); ++it) {
        ladder.push_back(*it);
    }
    std::stable_sort(ladder.begin(), ladder.end(), [](const Level* a, const Level* b) { return a->level < b->level; });
    for (std::uint32_t number = 0; number < ladder.size(); ++number) {
        if (ladder[number]->level != number) {
            ladder[number]->level = number;
            ladder[number]->saveRequest();
        }
    }
    nextAvailableLevel = static_cast<unsigned>(ladder.size());
}

void Level::loadAll(const char* path, dependency d) {
    LadderFreeze freeze;
    nextAvailableLevel = 0;
    try {
        OrnQL_Template<Level>::loadAll(path, d);
    } catch (...) {
        correctLoad = false;
        renumberLadder();
        throw;
    }
    renumberLadder();
    correctLoad = true;
}

void Level::replaceWithDefaultLadder() {
    {
        LadderFreeze freeze;
        for (DATAITERATOR it = begin(); it != end();) {
            it = deleteEntry(*it);
        }
    }
    nextAvailableLevel = 0;
    struct Rung {
        unsigned breakDays;
        bool forceAnswerTyping;
        HINTHANDLING hintHandling;
    };
    static const Rung defaultLadder[] = {{0, true, SHOWHINT},    {1, true, SHOWHINT},     {3, true, SHOWHINT},
                                         {5, false, HIDEHINT},   {12, false, HIDEHINT},   {30, false, PUNISHHINT},
                                         {90, false, PUNISHHINT}};
    for (const Rung& rung : defaultLadder) {
        add(new Level(rung.breakDays, rung.forceAnswerTyping, rung.hintHandling));
    }
}

void Level::saveAll(const char* path, dependency d) {
    if (d != D_ENDTAG && d != ownEntry) {
        return;
    }
    if (!correctLoad) {
        replaceWithDefaultLadder();
        correctLoad = true;
    }
    OrnQL_Template<Level>::saveAll(path, d);
}

void Level::resetTable() {
    {
        LadderFreeze freeze;
        OrnQL_Template<Level>::resetTable();
    }
    nextAvailableLevel = 0;
    correctLoad = false;
}
