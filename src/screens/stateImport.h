#pragma once

// The import screen: a word list chosen with the file chooser, previewed with the user's choices
// (languages, duplicates, columns or identifiers), then imported with a progress bar as one save.
// The sample collection goes the same way without the chooser and the preview.

class State;

State* createImportState();
State* createSampleImportState();
