#pragma once

// Keyboard layouts compiled with libxkbcommon from the installed xkeyboard-config data, shared by
// both backends. Each layout's keymap is compiled the first time it is activated and kept until
// the object goes; translation runs the active layout's keymap with the given modifiers and
// composes dead keys through the compose table of the C.UTF-8 locale.
//
// Invariants: `active_` is the start-up identifier or one that activated successfully; `state_`
// belongs to the keymap of `active_` (null when that layout has no keymap); the compose state is
// reset whenever the active layout changes, so a dead key never leaks into another layout.

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.h"

struct xkb_context;
struct xkb_keymap;
struct xkb_state;
struct xkb_compose_table;
struct xkb_compose_state;

namespace platform {

class XkbKeyboardLayouts final : public KeyboardLayouts {
public:
    // The layout identifier used when no display can tell the system's own layout.
    static constexpr const char* DefaultIdentifier = "00000409";

    // `startupIdentifier` is the layout the system had active when the program started (read from
    // the X server by the GTK backend); it is active at first and can always be activated again,
    // even when it has no mapping of its own.
    explicit XkbKeyboardLayouts(const std::string& startupIdentifier = DefaultIdentifier);
    ~XkbKeyboardLayouts() override;
    XkbKeyboardLayouts(const XkbKeyboardLayouts&) = delete;
    XkbKeyboardLayouts& operator=(const XkbKeyboardLayouts&) = delete;

    std::string activeLayout() const override;
    bool activate(const std::string& identifier) override;
    char32_t translate(unsigned keycode, KeyModifiers modifiers) override;
    bool startupLayoutActive() const override;
    // Compiles the keymaps on the thread the start-up's preparation used (compiling one took
    // milliseconds at the first switch to it); every member that reads them waits for it. Asked
    // before prepareAhead, they are compiled after the preparation, on its thread.
    void loadAhead(const std::vector<std::string>& identifiers) override;
    // Starts compiling the compose table and the start-up layout's keymap on a thread of their
    // own (once). Until then nothing is compiled: on a two-core machine that thread took a core
    // from the start-up, so the window starts it once its first frame is out. A member that needs
    // them before compiles them itself.
    void prepareAhead() override;

    // The user switched the system's layout while the program runs (with the desktop's layout
    // switcher): `identifier` is the system's own layout from now on. While the program types in
    // the system's layout it follows the switch; a layout the program activated itself stays.
    void systemLayoutChanged(const std::string& identifier);

    // How many keymaps were compiled so far (each layout at most once).
    int compiledKeymapCount();

private:
    struct KeymapDeleter {
        void operator()(xkb_keymap* keymap) const;
    };
    struct StateDeleter {
        void operator()(xkb_state* state) const;
    };
    using KeymapPtr = std::unique_ptr<xkb_keymap, KeymapDeleter>;
    using StatePtr = std::unique_ptr<xkb_state, StateDeleter>;

    // The compose table and the start-up layout's keymap, compiled on a thread of their own once
    // the program has started (they took a good part of its start-up); ready() waits for them (or
    // compiles them when nobody started them), and every member that reads what they fill calls
    // it first.
    void prepare();
    void ready();
    // Runs `work` on the preparation's thread (here and now when no thread can be had). Nothing
    // may run there already.
    void compileAhead(std::function<void()> work);

    // The compiled keymap of a mapped identifier (compiled now if needed); null when the
    // identifier has no mapping or does not compile.
    xkb_keymap* keymapFor(const std::string& identifier);
    void switchTo(const std::string& identifier, xkb_keymap* keymap);
    char32_t compose(unsigned keycode);

    xkb_context* context_ = nullptr;
    xkb_compose_table* composeTable_ = nullptr;
    xkb_compose_state* composeState_ = nullptr;
    std::map<std::string, KeymapPtr> keymaps_;  // by upper-case identifier
    std::set<std::string> failed_;              // identifiers whose keymap did not compile
    std::string startup_;
    std::string active_;
    StatePtr state_;
    int compiledCount_ = 0;
    std::thread preparation_;  // joinable while the preparation may still run
    bool prepared_ = false;    // prepare() ran or runs on preparation_
    bool aheadStarted_ = false;            // prepareAhead was called
    std::vector<std::string> wantedAhead_;  // asked for by loadAhead before prepareAhead
};

}  // namespace platform
