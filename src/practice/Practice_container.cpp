#include "practice/Practice_container.h"

#include <algorithm>
#include <climits>

#include "model/Flashcard.h"
#include "model/Level.h"

namespace {

Practice_container::ClockFunc clockFunc = nullptr;

}  // namespace

Practice_container::Practice_container(Flashcard* card, bool inverseDirection)
    : flashcard(card), inverse(inverseDirection), startLevel(0) {
    startLevel = levelNumber();
}

// The rest of the list goes one container at a time: each is unlinked from its successor before
// it is destroyed, so no destructor reaches further than one step.
Practice_container::~Practice_container() {
    Queue rest = std::move(next);
    while (rest != nullptr) {
        rest = std::move(rest->next);
    }
}

// --- the direction ---------------------------------------------------------------------------

unsigned Practice_container::levelNumber() const {
    return inverse ? flashcard->get_invertedLevel() : flashcard->get_primaryLevel();
}

std::int32_t Practice_container::due() const {
    return inverse ? flashcard->get_invertedNextDue() : flashcard->get_primaryNextDue();
}

bool Practice_container::getMinor() const {
    return inverse ? flashcard->get_invertedMinorFlag() : flashcard->get_primaryMinorFlag();
}

Level* Practice_container::getCurrentLevel() const { return Level::getByLevel(levelNumber()); }

void Practice_container::setLevelNumber(unsigned level) {
    if (inverse) {
        flashcard->set_invertedLevel(level, true);
    } else {
        flashcard->set_primaryLevel(level, true);
    }
}

void Practice_container::setDue(std::int32_t days) {
    if (inverse) {
        flashcard->set_invertedNextDue(days, true);
    } else {
        flashcard->set_primaryNextDue(days, true);
    }
}

void Practice_container::setMinorFlag(bool minor) {
    if (inverse) {
        flashcard->set_invertedMinorFlag(minor, true);
    } else {
        flashcard->set_primaryMinorFlag(minor, true);
    }
}

// --- level moves -------------------------------------------------------------------------------

void Practice_container::setMinor() {
    if (!getMinor()) {
        setMinorFlag(true);
        return;
    }
    const unsigned level = levelNumber();
    if (level > 0) {
        setLevelNumber(level - 1);
    }
}

void Practice_container::setIncorrect() { setLevelNumber(0); }

bool Practice_container::finishContainer() {
    const unsigned level = levelNumber();
    setMinorFlag(false);
    const bool moved = level + 1 < Level::getNextAvailableLevel();
    if (moved) {
        setLevelNumber(level + 1);
    }
    const Level* reached = getCurrentLevel();
    unsigned breakDays = reached == nullptr ? 0 : reached->get_breakDays();
    if (!moved) {
        breakDays = std::max(breakDays, FINAL_LEVEL_MIN_BREAK_DAYS);
    }
    setDue(static_cast<std::int32_t>(std::min<unsigned>(breakDays, INT32_MAX)));
    statFinished();
    return moved;
}

// --- timing ------------------------------------------------------------------------------------

void Practice_container::setClock(ClockFunc clock) { clockFunc = clock; }

std::time_t Practice_container::now() { return clockFunc != nullptr ? clockFunc() : std::time(nullptr); }

void Practice_container::statIn() {
    statTimestamp = now();
    statActive = true;
}

// A step of a clock set back, or from a stamp in the future, is negative and counts nothing.
void Practice_container::statAlive() {
    if (!statActive) {
        return;
    }
    const std::time_t moment = now();
    const double seconds = std::difftime(moment, statTimestamp);
    if (seconds > 0 && seconds < PAUSE_SECONDS) {
        statTotalTime += static_cast<unsigned long>(seconds);
    }
    statTimestamp = moment;
}

void Practice_container::statOut() {
    statAlive();
    statActive = false;
}

// The reading goes to the level the card started the run on: that level's questions took the time.
// The timer stops, so a card is never counted twice.
void Practice_container::statFinished() {
    if (!statActive) {
        return;
    }
    statAlive();
    statActive = false;
    if (Level* level = Level::getByLevel(startLevel)) {
        level->statSubmitReading(static_cast<unsigned>(std::min<unsigned long>(statTotalTime, UINT_MAX)));
    }
}

// --- the queue ---------------------------------------------------------------------------------

Practice_container::Queue Practice_container::prioQueue(Queue con, Queue head) {
    if (head == nullptr || head->due() >= con->due()) {
        con->next = std::move(head);
        return con;
    }
    Practice_container* at = head.get();
    while (at->next != nullptr && at->next->due() < con->due()) {
        at = at->next.get();
    }
    con->next = std::move(at->next);
    at->next = std::move(con);
    return head;
}

Practice_container::Queue Practice_container::pushback(Queue con, Queue head, unsigned n) {
    if (n == 0 || head == nullptr) {
        con->next = std::move(head);
        return con;
    }
    Practice_container* at = head.get();
    for (unsigned i = 1; i < n && at->next != nullptr; ++i) {
        at = at->next.get();
    }
    con->next = std::move(at->next);
    at->next = std::move(con);
    return head;
}

Practice_container::Queue Practice_container::randPushback(Queue con, Queue head, RunRandom& random) {
    const unsigned n = std::uniform_int_distribution<unsigned>(0, listLength(head.get()))(random);
    return pushback(std::move(con), std::move(head), n);
}

unsigned Practice_container::listLength(const Practice_container* head) {
    unsigned length = 0;
    for (const Practice_container* at = head; at != nullptr; at = at->next.get()) {
        ++length;
    }
    return length;
}

void Practice_container::deleteQueue(Queue& head) { head.reset(); }

Practice_container::Queue Practice_container::takeHead(Queue& head) {
    Queue taken = std::move(head);
    if (taken != nullptr) {
        head = std::move(taken->next);
    }
    return taken;
}
