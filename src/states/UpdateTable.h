#pragma once

// A screen's update function as a table: one row per update tag, each naming a small handler.
//
//   void update(const char* tag) { dispatchUpdate(updateHandlers, tag); }
//
// with
//
//   constexpr UpdateHandler updateHandlers[] = {
//       {UPDATE_INIT, fillList},
//       {UPDATE_NEW_PRESSED, startNewRecord},
//       {FORCED_EXIT_TAG, discardUnsavedRecord},
//   };

#include <cstddef>
#include <cstring>

struct UpdateHandler {
    const char* tag;
    void (*handle)();
};

// Runs the handler of the first row whose tag equals `tag` (byte comparison); returns false when
// no row does (a null tag matches none).
template <std::size_t N>
bool dispatchUpdate(const UpdateHandler (&table)[N], const char* tag) {
    if (tag == nullptr) {
        return false;
    }
    for (const UpdateHandler& row : table) {
        if (std::strcmp(row.tag, tag) == 0) {
            row.handle();
            return true;
        }
    }
    return false;
}
