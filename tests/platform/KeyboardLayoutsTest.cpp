#include <gtest/gtest.h>

#include "platform/XkbKeyboardLayouts.h"
#include "platform/XkbLayoutTable.h"

using platform::KeyModifiers;
using platform::XkbKeyboardLayouts;

namespace {

// X hardware keycodes (evdev + 8) of the keys the tests press, named by their US legend.
constexpr unsigned KeyQ = 24;
constexpr unsigned KeyE = 26;
constexpr unsigned KeyY = 29;
constexpr unsigned KeyZ = 52;
constexpr unsigned KeyC = 54;
constexpr unsigned KeyF = 41;
constexpr unsigned KeyLeftBracket = 34;
constexpr unsigned KeyEqual = 21;       // dead acute on the German layout
constexpr unsigned KeyApostrophe = 48;  // dead acute on US international
constexpr unsigned KeySpace = 65;

KeyModifiers shift() { return {.shift = true}; }
KeyModifiers caps() { return {.capsLock = true}; }
KeyModifiers shiftCaps() { return {.shift = true, .capsLock = true}; }
KeyModifiers altGr() { return {.altGr = true}; }
KeyModifiers ctrl() { return {.ctrl = true}; }

}  // namespace

TEST(XkbLayoutTable, EveryIdentifierReadsBackExceptTheSharedBelgianName) {
    const char* identifiers[] = {
        "00000409", "00020409", "00010409", "00000809", "00000452", "00000407", "00000807",
        "0000100C", "0000040C", "0000080C", "00000813", "0000040A", "0000080A", "00000410",
        "00000816", "00000416", "00000413", "0000041D", "00000414", "00000406", "0000040B",
        "0000040F", "00000415", "00000405", "00010405", "0000041B", "0000040E", "00010418",
        "0000041F", "0001041F", "00000408", "00000419", "00000422", "00000423", "00000402",
        "0000040D", "00000401", "00000429", "00000420", "00000439", "0000041E", "00000411",
        "00000412", "00000804"};
    ASSERT_EQ(std::size(identifiers), platform::xkbLayoutTableSize());
    for (const char* id : identifiers) {
        auto name = platform::xkbLayoutFor(id);
        ASSERT_TRUE(name) << id;
        auto back = platform::identifierForXkb(name->layout, name->variant);
        ASSERT_TRUE(back) << id;
        EXPECT_EQ(std::string(id) == "00000813" ? "0000080C" : id, *back) << id;
    }
}

TEST(XkbLayoutTable, LooksUpCaseInsensitivelyAndFallsBackToTheLayout) {
    EXPECT_EQ((platform::XkbLayoutName{"ch", "fr"}), platform::xkbLayoutFor("0000100c"));
    EXPECT_FALSE(platform::xkbLayoutFor("00000000"));
    EXPECT_FALSE(platform::xkbLayoutFor(""));
    EXPECT_FALSE(platform::xkbLayoutFor("000004070"));

    EXPECT_EQ("00000407", platform::identifierForXkb("de", "nodeadkeys"));
    EXPECT_EQ("00000409", platform::identifierForXkb("us", "colemak"));
    EXPECT_EQ("00000439", platform::identifierForXkb("in", "bolnagri"));  // only known with a variant
    EXPECT_FALSE(platform::identifierForXkb("xx", ""));
}

TEST(XkbKeyboardLayouts, EveryTableLayoutCompilesOnceAndStaysLoaded) {
    XkbKeyboardLayouts layouts;
    EXPECT_EQ("00000409", layouts.activeLayout());
    EXPECT_EQ(1, layouts.compiledKeymapCount());  // the start-up layout

    const char* all[] = {"00020409", "00010409", "00000809", "00000452", "00000407", "00000807",
                         "0000100C", "0000040C", "0000080C", "00000813", "0000040A", "0000080A",
                         "00000410", "00000816", "00000416", "00000413", "0000041D", "00000414",
                         "00000406", "0000040B", "0000040F", "00000415", "00000405", "00010405",
                         "0000041B", "0000040E", "00010418", "0000041F", "0001041F", "00000408",
                         "00000419", "00000422", "00000423", "00000402", "0000040D", "00000401",
                         "00000429", "00000420", "00000439", "0000041E", "00000411", "00000412",
                         "00000804", "00000409"};
    for (const char* id : all) {
        EXPECT_TRUE(layouts.activate(id)) << id;
        EXPECT_EQ(id, layouts.activeLayout());
        EXPECT_NE(0u, layouts.translate(KeyQ, {})) << id << " types nothing on the Q key";
    }
    EXPECT_EQ(44, layouts.compiledKeymapCount());
    for (const char* id : all) {
        layouts.activate(id);
    }
    EXPECT_EQ(44, layouts.compiledKeymapCount());
}

TEST(XkbKeyboardLayouts, UnknownOrEmptyIdentifiersLeaveTheActiveLayoutAlone) {
    XkbKeyboardLayouts layouts;
    ASSERT_TRUE(layouts.activate("00000407"));
    EXPECT_FALSE(layouts.activate(""));
    EXPECT_FALSE(layouts.activate("0000FFFF"));
    EXPECT_FALSE(layouts.activate("garbage"));
    EXPECT_EQ("00000407", layouts.activeLayout());
    EXPECT_EQ(U'z', layouts.translate(KeyY, {}));  // still German
    EXPECT_FALSE(layouts.startupLayoutActive());
}

TEST(XkbKeyboardLayouts, AnUnmappedStartupLayoutCanAlwaysBeReactivated) {
    XkbKeyboardLayouts layouts("0000ffff");
    EXPECT_EQ("0000FFFF", layouts.activeLayout());
    EXPECT_TRUE(layouts.startupLayoutActive());
    // Its characters come from the window system; there is no keymap to translate with.
    EXPECT_EQ(0u, layouts.translate(KeyQ, {}));
    ASSERT_TRUE(layouts.activate("00000419"));
    EXPECT_EQ(U'\u0430', layouts.translate(KeyF, {}));
    EXPECT_TRUE(layouts.activate("0000FFFF"));
    EXPECT_TRUE(layouts.startupLayoutActive());

    XkbKeyboardLayouts noDisplay("");
    EXPECT_EQ("00000409", noDisplay.activeLayout());
}

TEST(XkbKeyboardLayouts, ASwitchOfTheSystemLayoutIsFollowedOnlyWhileTheProgramTypesInIt) {
    XkbKeyboardLayouts layouts("00000407");
    layouts.systemLayoutChanged("00000409");
    EXPECT_EQ("00000409", layouts.activeLayout());
    EXPECT_TRUE(layouts.startupLayoutActive());
    // The layout the program had before is an ordinary one now, typed through its keymap.
    ASSERT_TRUE(layouts.activate("00000407"));
    EXPECT_FALSE(layouts.startupLayoutActive());
    EXPECT_EQ(U'z', layouts.translate(KeyY, {}));

    // A layout the program switched to stays when the system changes behind it.
    layouts.systemLayoutChanged("00000419");
    EXPECT_EQ("00000407", layouts.activeLayout());
    ASSERT_TRUE(layouts.activate("00000419"));
    EXPECT_TRUE(layouts.startupLayoutActive());
}

TEST(XkbKeyboardLayouts, GermanSwapsYAndZAndHasUmlautsAndAltGrAt) {
    XkbKeyboardLayouts layouts;
    ASSERT_TRUE(layouts.activate("00000407"));
    EXPECT_EQ(U'z', layouts.translate(KeyY, {}));
    EXPECT_EQ(U'y', layouts.translate(KeyZ, {}));
    EXPECT_EQ(U'Z', layouts.translate(KeyY, shift()));
    EXPECT_EQ(U'ü', layouts.translate(KeyLeftBracket, {}));
    EXPECT_EQ(U'Ü', layouts.translate(KeyLeftBracket, shift()));
    EXPECT_EQ(U'Ü', layouts.translate(KeyLeftBracket, caps()));
    EXPECT_EQ(U'@', layouts.translate(KeyQ, altGr()));
    EXPECT_EQ(U'q', layouts.translate(KeyQ, {}));
}

TEST(XkbKeyboardLayouts, RussianFollowsShiftAndCapsLock) {
    XkbKeyboardLayouts layouts;
    ASSERT_TRUE(layouts.activate("00000419"));
    EXPECT_EQ(U'а', layouts.translate(KeyF, {}));
    EXPECT_EQ(U'А', layouts.translate(KeyF, shift()));
    EXPECT_EQ(U'А', layouts.translate(KeyF, caps()));
    EXPECT_EQ(U'а', layouts.translate(KeyF, shiftCaps()));
    // Ctrl+C is a control character only on Latin layouts; Cyrillic keeps its letter.
    EXPECT_EQ(U'с', layouts.translate(KeyC, ctrl()));
    ASSERT_TRUE(layouts.activate("00000409"));
    EXPECT_EQ(U'\x03', layouts.translate(KeyC, ctrl()));
}

TEST(XkbKeyboardLayouts, DeadKeysComposeWithTheNextKey) {
    XkbKeyboardLayouts layouts;
    ASSERT_TRUE(layouts.activate("00000407"));
    EXPECT_EQ(0u, layouts.translate(KeyEqual, {}));
    EXPECT_EQ(U'é', layouts.translate(KeyE, {}));
    EXPECT_EQ(U'e', layouts.translate(KeyE, {}));  // the accent was used up

    EXPECT_EQ(0u, layouts.translate(KeyEqual, shift()));  // dead grave
    EXPECT_EQ(U'È', layouts.translate(KeyE, shift()));

    EXPECT_EQ(0u, layouts.translate(KeyEqual, {}));
    EXPECT_EQ(U'\'', layouts.translate(KeySpace, {}));  // the system's compose table says so

    // A letter the accent does not combine with is still typed.
    EXPECT_EQ(0u, layouts.translate(KeyEqual, {}));
    EXPECT_EQ(U'q', layouts.translate(KeyQ, {}));

    ASSERT_TRUE(layouts.activate("00020409"));
    EXPECT_EQ(0u, layouts.translate(KeyApostrophe, {}));
    EXPECT_EQ(U'é', layouts.translate(KeyE, {}));
}

TEST(XkbKeyboardLayouts, SwitchingLayoutsDropsAPendingDeadKey) {
    XkbKeyboardLayouts layouts;
    ASSERT_TRUE(layouts.activate("00000407"));
    EXPECT_EQ(0u, layouts.translate(KeyEqual, {}));
    ASSERT_TRUE(layouts.activate("00000409"));
    EXPECT_EQ(U'e', layouts.translate(KeyE, {}));
}

// The window readies the keymaps only after its first frame: a key before that still types in the
// start-up layout with its dead keys, and the layouts asked for ahead are compiled once it does.
TEST(XkbKeyboardLayouts, KeysBeforeThePreparationTypeAndLayoutsAskedAheadWaitForIt) {
    XkbKeyboardLayouts early("00000407");
    EXPECT_TRUE(early.activate("00000407"));
    EXPECT_EQ(U'z', early.translate(KeyY, {}));
    EXPECT_EQ(0U, early.translate(KeyEqual, {}));
    EXPECT_EQ(U'é', early.translate(KeyE, {}));
    early.prepareAhead();  // nothing left to prepare
    EXPECT_EQ(1, early.compiledKeymapCount());

    XkbKeyboardLayouts layouts;
    layouts.loadAhead({"00000407", "", "00000419"});
    layouts.loadAhead({"0000ffff"});
    layouts.prepareAhead();
    layouts.prepareAhead();
    EXPECT_EQ(3, layouts.compiledKeymapCount());
    layouts.loadAhead({"0000040c"});
    EXPECT_EQ(4, layouts.compiledKeymapCount());
    ASSERT_TRUE(layouts.activate("00000419"));
    EXPECT_EQ(4, layouts.compiledKeymapCount());
    EXPECT_EQ(U'я', layouts.translate(KeyZ, {}));
}
