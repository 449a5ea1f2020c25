#pragma once

// The callback shapes of the element toolkit. Screens attach plain functions with none, one or two
// opaque arguments; the arguments are stored as given and passed back unchanged, so whatever they
// point at must outlive the element (or be copied, as GuiButton::saveMode does).

class State;

using NoTagFunc = void (*)();
using SingleTagFunc = void (*)(const void*);
using DoubleTagFunc = void (*)(const void*, const void*);
// Builds the screen to switch to; the state machine owns the result.
using StateBuilder = State* (*)();
// Told the new position of a toggle or check box.
using BoolFunc = void (*)(bool);
