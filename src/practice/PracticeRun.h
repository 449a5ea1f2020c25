#pragma once

// The steps of a practice run on the practice screen: showing a card, judging a submission,
// continuing after the result, forced re-typing, and the end of the run. The screen's update
// function calls them; they change the elements of practiceScreen and request page switches.
//
// Per card:
//   swapIn          question pages: word, then article, then verb table (those asked)
//   evaluate        result pages: word, article, submitted verb table, correct verb table, then
//                   the overview with the verdict and the overrides
//   continueRun     correct: the card leaves the run; minor or wrong: it goes back into the queue
//                   at a random position; wrong on a level that forces typing: setUpForced first
//   setUpForced     the result pages interleaved with forced pages; evaluateForced lets the card
//                   go back into the queue only for a fully correct submission
// Card changes are saved after every level move; a failed save keeps the result page as it is and
// Continue tries the save again (the move is made once).

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "practice/CardFacts.h"
#include "practice/Practice_container.h"
#include "practice/RunQueue.h"

enum class RunPhase { Options, Question, Result, Forced, AllDone };

// The pages of the card shown, in showing order.
inline constexpr int MAX_CARD_PAGES = 10;

struct PracticeRunState {
    Practice_container::Queue pQ;  // the queue; its head is the card being asked
    // The queue behind the head while a long one is still being made (idle time makes it; whatever
    // needs more than the head finishes it first); null once pQ is the whole queue.
    std::unique_ptr<RunQueuePlan> queueBehindHead;
    // The due directions gathered for the next Start (in idle time while the options are chosen);
    // null when none are being gathered.
    std::unique_ptr<DueDirections> dueDirections;
    std::array<long, MAX_CARD_PAGES> conArray{};
    int conLength = 0;
    int conPosition = 0;
    bool forcedActivated = false;
    int evaluatedResult = 0;
    RunPhase phase = RunPhase::Options;
    PartOptions parts;     // the parts chosen when the run started
    CardParts headParts;   // the parts asked of the card shown
    RunRandom random;
    // The level move of the shown result is made but not yet saved.
    bool moveApplied = false;
    int appliedResult = 0;
};

extern PracticeRunState practiceRun;

// The seed of the next runs' random order; without one each run is seeded from the system's
// random device. For tests.
void setPracticeSeed(std::optional<std::uint32_t> seed);

// Starts gathering the due directions for the next Start in the window's idle time: the options
// page calls it whenever it is shown anew (the cards may have changed since the last gathering).
void prepareNextRun();
// Builds the queue and shows its first card; false (the page stays) when no due card passes. A
// long queue is finished behind its first card in the window's idle time.
bool startRun(const RunOptions& options);
// Makes the queue whole now, if it is still being made (tests, benchmarks, and every step of the
// run that goes beyond the head).
void completeRunQueue();
// Shows the head of the queue.
void swapIn();
// The head goes back into the queue at a random position.
void swapOut();
void evaluate();
void evaluateForced();
void setUpForced();
// Acts on evaluatedResult.
void continueRun();
// Destroys the queue and the per-card tables; the run is over.
void endRun();

// The arrows: the page before or after the one shown.
void showPreviousPage();
void showNextPage();
// The hint button: pronunciation, hint text and picture show on the question, result and forced
// pages.
void pressHint();
// The typed foreign word names the word on the article and verb pages.
void loadInput();
// The alive function: the timer of the card shown steps on.
void alive();

// Everything back to no run, for a new screen or when the screen goes.
void resetPracticeRun();
