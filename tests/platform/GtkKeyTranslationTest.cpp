#include <gtest/gtest.h>

#include <xkbcommon/xkbcommon-keysyms.h>

#include "platform/KeyCodes.h"
#include "platform/XkbKeyboardLayouts.h"
#include "platform/gtk/KeyTranslation.h"

using platform::Message;
using platform::MessageCode;
using platform::gtk::KeyEvent;
using platform::gtk::keyMessage;
namespace modifier = platform::gtk::modifier;
namespace key = platform::key;

namespace {

// X hardware keycodes by their US legend.
constexpr unsigned KeyQ = 24;
constexpr unsigned KeyA = 38;
constexpr unsigned KeyC = 54;
constexpr unsigned Key1 = 10;
constexpr unsigned KeyLeftBracket = 34;

KeyEvent named(unsigned keysym, unsigned state = 0) { return KeyEvent{keysym, 0, state}; }
KeyEvent typing(unsigned keysym, unsigned keycode, unsigned state = 0) {
    return KeyEvent{keysym, keycode, state};
}

void expectKey(const Message& m, char32_t character, unsigned code, const char* what) {
    ASSERT_EQ(MessageCode::KeyDown, m.code) << what;
    EXPECT_EQ(character, m.character) << what;
    EXPECT_EQ(code, m.keyCode) << what;
}

}  // namespace

TEST(GtkKeyTranslation, NamedKeysTypeTheirControlCharactersOrOnlyTheirKeyCode) {
    struct Row {
        unsigned keysym;
        unsigned state;
        char32_t character;
        unsigned code;
    } rows[] = {
        {XKB_KEY_Return, 0, 13, key::Return},
        {XKB_KEY_KP_Enter, 0, 13, key::Return},
        {XKB_KEY_Return, modifier::Control, 10, key::Return},
        {XKB_KEY_BackSpace, 0, 8, key::Back},
        {XKB_KEY_BackSpace, modifier::Control, 127, key::Back},
        {XKB_KEY_Tab, 0, 9, key::Tab},
        {XKB_KEY_ISO_Left_Tab, modifier::Shift, 9, key::Tab},
        {XKB_KEY_Escape, 0, 27, key::Escape},
        // Delete types U+007F under XKB; the text field expects a key without a character.
        {XKB_KEY_Delete, 0, 0, key::Delete},
        {XKB_KEY_KP_Delete, 0, 0, key::Delete},
        {XKB_KEY_Left, modifier::Control, 0, key::Left},
        {XKB_KEY_KP_Right, 0, 0, key::Right},
        {XKB_KEY_Home, modifier::Shift, 0, key::Home},
        {XKB_KEY_KP_End, 0, 0, key::End},
        {XKB_KEY_F1, 0, 0, key::F1},
        {XKB_KEY_F12, 0, 0, key::F12},
        {XKB_KEY_Caps_Lock, 0, 0, key::Capital},
        {XKB_KEY_Control_R, 0, 0, key::Control},
    };
    for (const Row& row : rows) {
        KeyEvent event = named(row.keysym, row.state);
        EXPECT_FALSE(platform::gtk::needsLayoutCharacter(event)) << row.keysym;
        // Whatever a layout would say about the key does not matter.
        expectKey(keyMessage(event, U'x'), row.character, row.code, "named key");
    }
}

TEST(GtkKeyTranslation, AltCombinationsAndTheAltKeysAreNotTheProgramsButAltGrTypes) {
    EXPECT_EQ(MessageCode::Unhandled, keyMessage(typing(XKB_KEY_f, 41, modifier::Alt), U'f').code);
    EXPECT_EQ(MessageCode::Unhandled,
              keyMessage(named(XKB_KEY_F4, modifier::Alt), 0).code);
    EXPECT_EQ(MessageCode::Unhandled, keyMessage(named(XKB_KEY_Alt_L), 0).code);
    EXPECT_EQ(MessageCode::Unhandled, keyMessage(named(XKB_KEY_ISO_Level3_Shift), 0).code);

    KeyEvent altGrQ = typing(XKB_KEY_at, KeyQ, modifier::AltGr);
    EXPECT_TRUE(platform::gtk::needsLayoutCharacter(altGrQ));
    expectKey(keyMessage(altGrQ, U'@'), U'@', 'Q', "AltGr+Q on a German layout");
}

TEST(GtkKeyTranslation, CtrlWithALetterGivesItsControlCharacterUnderEveryLayout) {
    // US: the key's own letter.
    expectKey(keyMessage(typing(XKB_KEY_c, KeyC, modifier::Control), U'c'), 3, 'C', "us Ctrl+C");
    // Russian: no Latin letter on the key, so its position decides.
    expectKey(keyMessage(typing(XKB_KEY_Cyrillic_es, KeyC, modifier::Control), U'с'), 3, 'C',
              "ru Ctrl+C");
    // French: the layout's A sits where US has Q; Ctrl+A is that key.
    expectKey(keyMessage(typing(XKB_KEY_a, KeyQ, modifier::Control), U'a'), 1, 'A', "fr Ctrl+A");
    expectKey(keyMessage(typing(XKB_KEY_q, KeyA, modifier::Control), U'q'), 17, 'Q', "fr Ctrl+Q");
    // Shift or Caps Lock do not change the shortcut.
    expectKey(keyMessage(typing(XKB_KEY_V, 55, modifier::Control | modifier::Shift), U'V'), 22,
              'V', "Ctrl+Shift+V");
}

TEST(GtkKeyTranslation, CtrlWithOtherKeysTypesNothingExceptBracketsAndSpace) {
    expectKey(keyMessage(typing(XKB_KEY_1, Key1, modifier::Control), U'1'), 0, '1', "Ctrl+1");
    expectKey(keyMessage(typing(XKB_KEY_space, 65, modifier::Control), U' '), U' ', key::Space,
              "Ctrl+Space");
    expectKey(keyMessage(typing(XKB_KEY_bracketleft, KeyLeftBracket, modifier::Control), U'['),
              27, 0xDB, "Ctrl+[");
    // A German ü on the same key is a letter, not a bracket.
    expectKey(keyMessage(typing(XKB_KEY_udiaeresis, KeyLeftBracket, modifier::Control), U'ü'), 0,
              0xDB, "Ctrl+ü");
}

TEST(GtkKeyTranslation, PlainKeysTypeTheLayoutsCharacterOrNothingForADeadKey) {
    expectKey(keyMessage(typing(XKB_KEY_Cyrillic_shorti, KeyQ), U'й'), U'й', 'Q', "ru q");
    expectKey(keyMessage(typing(XKB_KEY_KP_1, 87, modifier::NumLock), U'1'), U'1', 0, "keypad 1");
    EXPECT_EQ(MessageCode::Unhandled, keyMessage(typing(XKB_KEY_dead_acute, 21), 0).code);
    // A key the program has no name for and that types nothing.
    EXPECT_EQ(MessageCode::Unhandled, keyMessage(typing(XKB_KEY_XF86AudioMute, 121), 0).code);
    EXPECT_EQ(MessageCode::Unhandled,
              keyMessage(typing(XKB_KEY_XF86AudioMute, 121, modifier::Control), 0).code);
}

TEST(GtkKeyTranslation, KeysCarryTheShiftCtrlAndCapsLockStateWords) {
    Message shiftedCaps = keyMessage(typing(XKB_KEY_a, KeyA, modifier::Shift | modifier::Lock), U'a');
    EXPECT_EQ(platform::KeyStateDown, shiftedCaps.shiftState);
    EXPECT_EQ(0, shiftedCaps.ctrlState);
    EXPECT_EQ(platform::KeyStateToggled, shiftedCaps.capsState);

    Message ctrlLeft = keyMessage(named(XKB_KEY_Left, modifier::Control), 0);
    EXPECT_EQ(0, ctrlLeft.shiftState);
    EXPECT_EQ(platform::KeyStateDown, ctrlLeft.ctrlState);

    // The modifier key being pressed counts as down, though the event's state predates it.
    EXPECT_EQ(platform::KeyStateDown, keyMessage(named(XKB_KEY_Shift_L), 0).shiftState);
    EXPECT_EQ(platform::KeyStateDown, keyMessage(named(XKB_KEY_Control_L), 0).ctrlState);

    Message committed =
        platform::gtk::characterMessage(typing(XKB_KEY_e, 26, modifier::Shift), U'É');
    expectKey(committed, U'É', 'E', "input-method commit");
    EXPECT_EQ(platform::KeyStateDown, committed.shiftState);
}

TEST(GtkKeyTranslation, LayoutModifiersLeaveCtrlOut) {
    platform::KeyModifiers m = platform::gtk::layoutModifiers(
        modifier::Shift | modifier::Lock | modifier::Control | modifier::AltGr | modifier::NumLock);
    EXPECT_TRUE(m.shift);
    EXPECT_TRUE(m.capsLock);
    EXPECT_FALSE(m.ctrl);
    EXPECT_TRUE(m.altGr);
    EXPECT_TRUE(m.numLock);
    EXPECT_FALSE(m.alt);
}

// The key positions the shortcuts fall back on must be where the installed US keymap has its
// letters and digits, and a Cyrillic layout must then reach every shortcut.
TEST(GtkKeyTranslation, EveryUsLetterKeyGivesItsShortcutUnderRussian) {
    platform::XkbKeyboardLayouts us("00000409");
    platform::XkbKeyboardLayouts ru("00000419");
    int letters = 0;
    int digits = 0;
    for (unsigned keycode = 8; keycode < 256; ++keycode) {
        char32_t latin = us.translate(keycode, {});
        char32_t cyrillic = ru.translate(keycode, {});
        KeyEvent ctrl = typing(XKB_KEY_Cyrillic_a, keycode, modifier::Control);
        if (latin >= U'a' && latin <= U'z') {
            ++letters;
            ASSERT_GE(cyrillic, 0x400u) << "keycode " << keycode;
            expectKey(keyMessage(ctrl, cyrillic), latin - U'a' + 1, latin - U'a' + 'A', "ru Ctrl");
        } else if (latin >= U'0' && latin <= U'9') {
            ++digits;
            expectKey(keyMessage(ctrl, cyrillic), 0, static_cast<unsigned>(latin), "ru Ctrl+digit");
        }
    }
    EXPECT_EQ(26, letters);
    EXPECT_EQ(10, digits);  // the keypad's digits need Num Lock, which is off here
}
