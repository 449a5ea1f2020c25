#pragma once

// The language editor: lists the languages; creates, renames and deletes them; sets a language's
// writing direction, flag and keyboard pictures and keyboard layout; and keeps its articles,
// persons and tenses. Changing the persons or tenses reshapes every verb table of the language.
// Opened from the settings screen's "Languages" button.

class State;

// The editor's screen, on its list page with the list of languages about to be filled. The caller
// hands it to the state machine.
State* createLanguageState();
