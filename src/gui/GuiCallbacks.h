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

// Calls the first callback that is set, in the order none, one, two arguments; returns false when
// none is set. Focus functions and special functions share this precedence.
inline bool callFirstSet(NoTagFunc noTag, SingleTagFunc singleTag, DoubleTagFunc doubleTag, const void* tag1,
                         const void* tag2) {
    if (noTag != nullptr) {
        noTag();
    } else if (singleTag != nullptr) {
        singleTag(tag1);
    } else if (doubleTag != nullptr) {
        doubleTag(tag1, tag2);
    } else {
        return false;
    }
    return true;
}
