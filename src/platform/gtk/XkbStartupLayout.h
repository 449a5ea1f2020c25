#pragma once

// The keyboard layout the X server has active when the program starts, as a layout identifier.
// The server names its configuration in the root window property _XKB_RULES_NAMES (rules,
// model, layouts, variants and options, each NUL-terminated; layouts and variants are
// comma-separated lists, one entry per group) and the active group in its keyboard state.

#include <optional>
#include <string>
#include <string_view>

typedef struct _XDisplay Display;

namespace platform::gtk {

// The identifier for group `group` of the configuration in `rulesNames` (the property's bytes);
// a group beyond the list wraps around, as XKB wraps it. nullopt when the bytes name no layout
// or one the identifier table does not know.
std::optional<std::string> identifierFromRulesNames(std::string_view rulesNames, unsigned group);

// The identifier of the layout active on `display`; the default identifier when the server
// does not say or names a layout without an identifier.
std::string readStartupLayout(Display* display);

}  // namespace platform::gtk
