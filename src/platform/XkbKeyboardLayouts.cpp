#include "platform/XkbKeyboardLayouts.h"

#include <system_error>
#include <utility>

#include <algorithm>
#include <cctype>

#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

#include "base/Utf8.h"
#include "platform/XkbLayoutTable.h"

namespace platform {

namespace {

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

xkb_mod_mask_t maskOf(xkb_keymap* keymap, const char* name) {
    xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap, name);
    return index == XKB_MOD_INVALID ? 0 : (xkb_mod_mask_t{1} << index);
}

// The character a finished compose sequence produced. Sequences that produce a keysym carry it;
// the few that produce a string yield its first character (one key press, one character).
char32_t composedCharacter(xkb_compose_state* state) {
    xkb_keysym_t sym = xkb_compose_state_get_one_sym(state);
    if (sym != XKB_KEY_NoSymbol) {
        return xkb_keysym_to_utf32(sym);
    }
    char bytes[16] = {};
    xkb_compose_state_get_utf8(state, bytes, sizeof bytes);
    const std::wstring text = utf8::decode(bytes);
    return text.empty() ? 0 : static_cast<char32_t>(text.front());
}

}  // namespace

void XkbKeyboardLayouts::KeymapDeleter::operator()(xkb_keymap* keymap) const {
    xkb_keymap_unref(keymap);
}

void XkbKeyboardLayouts::StateDeleter::operator()(xkb_state* state) const {
    xkb_state_unref(state);
}

XkbKeyboardLayouts::XkbKeyboardLayouts(const std::string& startupIdentifier)
    : startup_(upperCase(startupIdentifier.empty() ? DefaultIdentifier : startupIdentifier)),
      active_(startup_) {
    // Environment variables such as XKB_DEFAULT_OPTIONS must not change what a layout types.
    context_ = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (context_ != nullptr) {
        // Unknown layouts are an expected answer here, not something to print.
        xkb_context_set_log_level(context_, XKB_LOG_LEVEL_CRITICAL);
    }
}

void XkbKeyboardLayouts::compileAhead(std::function<void()> work) {
    try {
        preparation_ = std::thread(std::move(work));
    } catch (const std::system_error&) {
        work();  // no thread to be had: here and now
    }
}

void XkbKeyboardLayouts::prepareAhead() {
    if (aheadStarted_) {
        return;
    }
    aheadStarted_ = true;
    const bool preparing = !prepared_;
    prepared_ = true;
    std::vector<std::string> wanted;
    wanted.swap(wantedAhead_);
    if (!preparing && wanted.empty()) {
        return;
    }
    ready();
    compileAhead([this, preparing, wanted] {
        if (preparing) {
            prepare();
        }
        for (const std::string& identifier : wanted) {
            keymapFor(identifier);
        }
    });
}

// Touches only what no member reads before ready(): the context (used by nothing else meanwhile),
// the compose table and state, the keymaps, the state and the count. `active_` is the start-up
// layout already.
void XkbKeyboardLayouts::prepare() {
    if (context_ != nullptr) {
        composeTable_ = xkb_compose_table_new_from_locale(context_, "C.UTF-8", XKB_COMPOSE_COMPILE_NO_FLAGS);
        if (composeTable_ != nullptr) {
            composeState_ = xkb_compose_state_new(composeTable_, XKB_COMPOSE_STATE_NO_FLAGS);
        }
    }
    xkb_keymap* keymap = keymapFor(startup_);
    state_.reset(keymap != nullptr ? xkb_state_new(keymap) : nullptr);
}

void XkbKeyboardLayouts::loadAhead(const std::vector<std::string>& identifiers) {
    std::vector<std::string> wanted;
    for (const std::string& identifier : identifiers) {
        if (!identifier.empty()) {
            wanted.push_back(upperCase(identifier));
        }
    }
    if (!aheadStarted_) {
        wantedAhead_.insert(wantedAhead_.end(), wanted.begin(), wanted.end());
        return;
    }
    ready();
    compileAhead([this, wanted] {
        for (const std::string& identifier : wanted) {
            keymapFor(identifier);
        }
    });
}

void XkbKeyboardLayouts::ready() {
    if (preparation_.joinable()) {
        preparation_.join();
    }
    if (!prepared_) {
        prepared_ = true;
        prepare();
    }
}

int XkbKeyboardLayouts::compiledKeymapCount() {
    ready();
    return compiledCount_;
}

XkbKeyboardLayouts::~XkbKeyboardLayouts() {
    if (preparation_.joinable()) {
        preparation_.join();  // nothing is compiled just to be thrown away
    }
    state_.reset();
    keymaps_.clear();
    xkb_compose_state_unref(composeState_);
    xkb_compose_table_unref(composeTable_);
    xkb_context_unref(context_);
}

std::string XkbKeyboardLayouts::activeLayout() const { return active_; }

bool XkbKeyboardLayouts::startupLayoutActive() const { return active_ == startup_; }

bool XkbKeyboardLayouts::activate(const std::string& identifier) {
    if (identifier.empty()) {
        return false;
    }
    std::string wanted = upperCase(identifier);
    if (wanted == active_ && wanted == startup_ && (preparation_.joinable() || !prepared_)) {
        return true;  // the start-up layout stays active, its keymap ready when a key needs it
    }
    ready();
    xkb_keymap* keymap = keymapFor(wanted);
    // The start-up layout is the system's own; it stays reachable even without a mapping.
    if (keymap == nullptr && wanted != startup_) {
        return false;
    }
    if (wanted != active_ || (keymap != nullptr && state_ == nullptr)) {
        switchTo(wanted, keymap);
    }
    return true;
}

void XkbKeyboardLayouts::systemLayoutChanged(const std::string& identifier) {
    const std::string now = upperCase(identifier.empty() ? DefaultIdentifier : identifier);
    if (now == startup_) {
        return;
    }
    ready();
    const bool following = active_ == startup_;
    startup_ = now;
    if (following) {
        switchTo(now, keymapFor(now));
    }
}

xkb_keymap* XkbKeyboardLayouts::keymapFor(const std::string& identifier) {
    if (auto found = keymaps_.find(identifier); found != keymaps_.end()) {
        return found->second.get();
    }
    if (context_ == nullptr || failed_.count(identifier) != 0) {
        return nullptr;
    }
    std::optional<XkbLayoutName> name = xkbLayoutFor(identifier);
    if (!name) {
        return nullptr;
    }
    xkb_rule_names names{};
    names.rules = "evdev";
    names.model = "pc105";
    names.layout = name->layout.c_str();
    names.variant = name->variant.c_str();
    names.options = "";
    KeymapPtr keymap(xkb_keymap_new_from_names(context_, &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) {
        // Remembered so that a layout missing from the installed data is not recompiled on every
        // switch.
        failed_.insert(identifier);
        return nullptr;
    }
    ++compiledCount_;
    xkb_keymap* raw = keymap.get();
    keymaps_.emplace(identifier, std::move(keymap));
    return raw;
}

void XkbKeyboardLayouts::switchTo(const std::string& identifier, xkb_keymap* keymap) {
    active_ = identifier;
    state_.reset(keymap != nullptr ? xkb_state_new(keymap) : nullptr);
    if (composeState_ != nullptr) {
        xkb_compose_state_reset(composeState_);
    }
}

char32_t XkbKeyboardLayouts::translate(unsigned keycode, KeyModifiers modifiers) {
    ready();
    if (!state_) {
        return 0;
    }
    xkb_keymap* keymap = xkb_state_get_keymap(state_.get());
    xkb_mod_mask_t depressed = 0;
    if (modifiers.shift) depressed |= maskOf(keymap, XKB_MOD_NAME_SHIFT);
    if (modifiers.ctrl) depressed |= maskOf(keymap, XKB_MOD_NAME_CTRL);
    if (modifiers.alt) depressed |= maskOf(keymap, XKB_MOD_NAME_ALT);
    if (modifiers.altGr) depressed |= maskOf(keymap, "Mod5");
    xkb_mod_mask_t locked = 0;
    if (modifiers.capsLock) locked |= maskOf(keymap, XKB_MOD_NAME_CAPS);
    if (modifiers.numLock) locked |= maskOf(keymap, XKB_MOD_NAME_NUM);
    xkb_state_update_mask(state_.get(), depressed, 0, locked, 0, 0, 0);
    return compose(keycode);
}

char32_t XkbKeyboardLayouts::compose(unsigned keycode) {
    char32_t plain = xkb_state_key_get_utf32(state_.get(), keycode);
    if (composeState_ == nullptr) {
        return plain;
    }
    xkb_keysym_t sym = xkb_state_key_get_one_sym(state_.get(), keycode);
    if (xkb_compose_state_feed(composeState_, sym) == XKB_COMPOSE_FEED_IGNORED) {
        return plain;  // modifier keys neither start nor end a sequence
    }
    switch (xkb_compose_state_get_status(composeState_)) {
    case XKB_COMPOSE_COMPOSING:
        return 0;
    case XKB_COMPOSE_COMPOSED: {
        char32_t composed = composedCharacter(composeState_);
        xkb_compose_state_reset(composeState_);
        return composed;
    }
    case XKB_COMPOSE_CANCELLED:
        // A dead key followed by a key it does not combine with: the accent is dropped but the
        // typed character is kept, so the user does not lose the letter.
        xkb_compose_state_reset(composeState_);
        return plain;
    case XKB_COMPOSE_NOTHING:
        break;
    }
    return plain;
}

}  // namespace platform
