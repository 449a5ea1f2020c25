#pragma once

// One direction of one flashcard waiting in the queue of a practice run: the card, which way it
// is asked, the level it stood on when the run took it, whether the hint was asked for, and the
// seconds the learner has spent on it so far.
//
// The queue is a singly linked list whose head is the card being asked. Each container owns the
// rest of the list behind it (next), so whoever holds the head owns the whole run; destroying a
// container destroys the rest of its list one by one, never recursively, so a run of any length
// goes without exhausting the stack.
//
// Level moves (each marks the card for saving):
//   answer   move
//   minor    setMinor: the first minor error of a streak only sets the direction's minor flag;
//            each further one, without a correct answer in between, lowers the level by one
//            (never below 0)
//   wrong    setIncorrect: level 0; the minor flag stays as it was
//   correct  finishContainer: the minor flag is cleared and the level rises by one; on the final
//            level the card stays where it is. The direction becomes due after the break days of
//            the level it now has, at least 365 days when it stayed on the final level.
//
// Timing: statIn starts the timer; statAlive (called after every window message) adds the seconds
// since the previous step when they are fewer than PAUSE_SECONDS, so a pause is not counted; a
// clock that went back adds nothing. statOut stops the timer, keeping the total; statFinished
// hands the total to the statistic of the level the card started the run on.

#include <cstdint>
#include <ctime>
#include <memory>
#include <random>

class Flashcard;
class Level;

// The random generator of one practice run: seeded once when the run starts.
using RunRandom = std::mt19937;

class Practice_container {
public:
    using Queue = std::unique_ptr<Practice_container>;
    using ClockFunc = std::time_t (*)();

    // A step between two messages of this many seconds or more is a pause.
    static constexpr double PAUSE_SECONDS = 30;
    // A card answered correctly on the final level is due again after at least this many days.
    static constexpr unsigned FINAL_LEVEL_MIN_BREAK_DAYS = 365;

    // The container does not own the card. startLevel = the direction's level now; timer stopped.
    Practice_container(Flashcard* card, bool inverse);
    virtual ~Practice_container();
    Practice_container(const Practice_container&) = delete;
    Practice_container& operator=(const Practice_container&) = delete;

    Flashcard* fcard() const { return flashcard; }
    bool getInverse() const { return inverse; }
    Practice_container* getNext() const { return next.get(); }
    bool getHintMark() const { return hintMark; }
    void hintPressed(bool pressed) { hintMark = pressed; }
    unsigned getStartLevel() const { return startLevel; }

    // The direction's level number, next-due counter and minor flag.
    unsigned levelNumber() const;
    std::int32_t due() const;
    bool getMinor() const;
    // The level record of the direction's level number, or null when the ladder has none.
    Level* getCurrentLevel() const;

    void setMinor();
    void setIncorrect();
    // Returns whether the card moved up (false: it stayed on the final level).
    bool finishContainer();

    void statIn();
    void statAlive();
    void statOut();
    void statFinished();
    unsigned long getStatTotalTime() const { return statTotalTime; }
    bool isTimerRunning() const { return statActive; }

    // The clock of the timing (std::time when null); tests step it by hand.
    static void setClock(ClockFunc clock);
    // The time on that clock.
    static std::time_t now();

    // --- the queue ---
    // Inserts con before the first container whose due counter is not smaller than con's: the
    // list stays ascending, and a new container goes before those with an equal counter.
    static Queue prioQueue(Queue con, Queue head);
    // Makes con the (n+1)-th container (n = 0: the new head; n beyond the end: the last).
    static Queue pushback(Queue con, Queue head, unsigned n);
    // Inserts con at a position drawn uniformly from 0 .. listLength(head).
    static Queue randPushback(Queue con, Queue head, RunRandom& random);
    static unsigned listLength(const Practice_container* head);
    // Destroys the whole list from head on; head is null afterwards.
    static void deleteQueue(Queue& head);
    // Takes the head out of the list (head becomes its next) and returns it on its own.
    static Queue takeHead(Queue& head);

private:
    void setLevelNumber(unsigned level);
    void setDue(std::int32_t days);
    void setMinorFlag(bool minor);

    Flashcard* flashcard;
    const bool inverse;
    unsigned startLevel;
    bool hintMark = false;
    std::time_t statTimestamp = 0;
    unsigned long statTotalTime = 0;
    bool statActive = false;
    Queue next;
};
