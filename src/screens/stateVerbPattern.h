#pragma once

// The verb pattern editor: lists the verb patterns (of one language, or of all), creates and edits
// a pattern as a table of rules (a column per tense, a row per person of its language), checks
// their syntax, stores the pattern and offers to try it on an infinitive. Opened from the settings
// screen's "Verb Patterns" button.

class State;

// The editor's screen, on its list page with the list about to be filled. The caller hands it to
// the state machine.
State* createVerbPatternState();
