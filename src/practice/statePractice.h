#pragma once

// The practice screen: the options of a run (which parts to ask, a time limit, filters by
// language, lesson and category), then one card at a time with its question pages, result pages,
// forced re-typing pages and finally the all-done page. Its pages are in PracticePages.h, the run
// in PracticeRun.h, the reactions to its update tags in PracticeUpdate.h.

class State;

// Builds the screen on its start page with "INIT" queued; the caller hands it to the state
// machine. The screen is kept in the traceback (its line drawn on the start page only).
State* createPracticeState();

// Change function of the time-restriction check box: ticked, the minutes field shows on the start
// page; unticked, it is hidden and set to 0.
void timeRestrictionFlip(bool on);
