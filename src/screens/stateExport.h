#pragma once

// The export screen: the cards of one language pair written as delimited text (for Anki) or as
// KVTML, to a file chosen with the save dialog.

class State;

State* createExportState();
