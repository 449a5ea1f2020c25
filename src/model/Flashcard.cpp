#include "model/Flashcard.h"

#include "db/OrnQL_Stream.h"
#include "model/Lesson.h"
#include "model/Level.h"
#include "model/Word.h"

Flashcard::Flashcard(bool inverted, std::int32_t nextDue)
    : primaryNextDue(nextDue), useInverted(inverted), invertedNextDue(nextDue) {}

void Flashcard::setDependency(dependency d, unsigned id) {
    if (d == D_WORD) {
        if (const Word* word = Word::getById(id)) {
            OrnQL_Template<Flashcard>::setDependency(D_LANGUAGE, word->getDependency(D_LANGUAGE));
        }
    }
    OrnQL_Template<Flashcard>::setDependency(d, id);
}

void Flashcard::load(std::istream& in) {
    loadValue(in, primaryNextDue);
    loadBool(in, primaryMinorFlag);
    loadValue(in, primaryLevel);
    loadBool(in, useInverted);
    loadValue(in, invertedNextDue);
    loadBool(in, invertedMinorFlag);
    loadValue(in, invertedLevel);
    clampLevelsToLadder();
}

void Flashcard::save(std::ostream& out) {
    saveValue(out, primaryNextDue);
    saveBool(out, primaryMinorFlag);
    saveValue(out, primaryLevel);
    saveBool(out, useInverted);
    saveValue(out, invertedNextDue);
    saveBool(out, invertedMinorFlag);
    saveValue(out, invertedLevel);
}

const void* Flashcard::getData(int attribute) {
    switch (attribute) {
    case ATTR_PRIMARYNEXTDUE:
        return &primaryNextDue;
    case ATTR_PRIMARYMINORFLAG:
        return &primaryMinorFlag;
    case ATTR_PRIMARYLEVEL:
        tempDataLong = static_cast<std::int32_t>(primaryLevel);
        return &tempDataLong;
    case ATTR_USEINVERTED:
        return &useInverted;
    case ATTR_INVERTEDNEXTDUE:
        return &invertedNextDue;
    case ATTR_INVERTEDMINORFLAG:
        return &invertedMinorFlag;
    case ATTR_INVERTEDLEVEL:
        tempDataLong = static_cast<std::int32_t>(invertedLevel);
        return &tempDataLong;
    case ATTR_TEXT:
        return get_text();
    default:
        return nullptr;
    }
}

Flashcard& Flashcard::operator=(const Flashcard& other) {
    primaryNextDue = other.primaryNextDue;
    primaryMinorFlag = other.primaryMinorFlag;
    primaryLevel = other.primaryLevel;
    useInverted = other.useInverted;
    invertedNextDue = other.invertedNextDue;
    invertedMinorFlag = other.invertedMinorFlag;
    invertedLevel = other.invertedLevel;
    return *this;
}

namespace {

template <typename Field, typename Value>
void assign(Flashcard& card, Field& field, Value value, bool save) {
    field = value;
    if (save) {
        card.saveRequest();
    }
}

}  // namespace

void Flashcard::set_primaryNextDue(std::int32_t value, bool save) { assign(*this, primaryNextDue, value, save); }
void Flashcard::set_primaryMinorFlag(bool value, bool save) { assign(*this, primaryMinorFlag, value, save); }
void Flashcard::set_primaryLevel(unsigned value, bool save) { assign(*this, primaryLevel, value, save); }
void Flashcard::set_useInverted(bool value, bool save) { assign(*this, useInverted, value, save); }
void Flashcard::set_invertedNextDue(std::int32_t value, bool save) { assign(*this, invertedNextDue, value, save); }
void Flashcard::set_invertedMinorFlag(bool value, bool save) { assign(*this, invertedMinorFlag, value, save); }
void Flashcard::set_invertedLevel(unsigned value, bool save) { assign(*this, invertedLevel, value, save); }

const wchar_t* Flashcard::get_text() {
    const Word* word = Word::getById(getDependency(D_WORD));
    text = word == nullptr ? L"" : word->get_text();
    if (getDependency(D_LESSON) != 0) {
        if (const Lesson* lesson = Lesson::getById(getDependency(D_LESSON))) {
            text += L" [";
            text += lesson->get_title();
            text += L']';
        }
    }
    text += L" (" + std::to_wstring(primaryLevel) + L'|' + std::to_wstring(primaryNextDue);
    if (useInverted) {
        text += L", " + std::to_wstring(invertedLevel) + L'|' + std::to_wstring(invertedNextDue);
    }
    text += L')';
    return text.c_str();
}

// Without a ladder (no level loaded yet) there is nothing to measure the numbers against.
void Flashcard::clampLevelsToLadder() {
    const unsigned levels = Level::getNextAvailableLevel();
    if (levels == 0) {
        return;
    }
    const unsigned top = levels - 1;
    bool changed = false;
    if (primaryLevel > top) {
        primaryLevel = top;
        changed = true;
    }
    if (invertedLevel > top) {
        invertedLevel = top;
        changed = true;
    }
    if (changed) {
        saveRequest();
    }
}

void Flashcard::levelDeduct() {
    for (DATAITERATOR it = begin(); it != end(); ++it) {
        (*it)->clampLevelsToLadder();
    }
}
