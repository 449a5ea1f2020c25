#pragma once

class State;

// The settings screen, the hub of the editors: a button per editor and the back button. A new one
// is built on every visit; the caller hands it to the state machine.
State* createSettingsState();
