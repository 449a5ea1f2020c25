#include <gtest/gtest.h>

#include <string>

#include "platform/gtk/GtkDialogs.h"
#include "platform/gtk/XkbStartupLayout.h"

using platform::MessageButtons;
using platform::MessageResult;
using platform::gtk::identifierFromRulesNames;

namespace {

// The property as the X server stores it: five NUL-terminated fields.
std::string rulesNames(const std::string& layouts, const std::string& variants,
                       const std::string& options = "") {
    using namespace std::string_literals;
    return "evdev\0pc105\0"s + layouts + '\0' + variants + '\0' + options + '\0';
}

}  // namespace

TEST(XkbStartupLayout, TheActiveGroupPicksTheLayoutAndItsVariant) {
    EXPECT_EQ("00000409", identifierFromRulesNames(rulesNames("us", ""), 0));
    EXPECT_EQ("00000419", identifierFromRulesNames(rulesNames("us,ru", ","), 1));
    EXPECT_EQ("00010409", identifierFromRulesNames(rulesNames("de,us", ",dvorak"), 1));
    EXPECT_EQ("00000407", identifierFromRulesNames(rulesNames("de,us", ",dvorak"), 0));
    // An unknown variant falls back to the layout; a group beyond the list wraps around.
    EXPECT_EQ("00000407", identifierFromRulesNames(rulesNames("de", "nodeadkeys"), 0));
    EXPECT_EQ("00000409", identifierFromRulesNames(rulesNames("us,ru", ""), 2));
    // Fewer variants than layouts, blanks around names, options that mention other layouts.
    EXPECT_EQ("00000419", identifierFromRulesNames(rulesNames("us, ru ", ""), 1));
    EXPECT_EQ("00000409", identifierFromRulesNames(rulesNames("us", "", "grp:alt_shift_toggle"), 0));
}

TEST(XkbStartupLayout, DamagedOrUnknownConfigurationsGiveNothing) {
    using namespace std::string_literals;
    EXPECT_FALSE(identifierFromRulesNames("", 0));
    EXPECT_FALSE(identifierFromRulesNames("evdev\0pc105"s, 0));  // cut before the layouts
    EXPECT_FALSE(identifierFromRulesNames(rulesNames("", ""), 0));
    EXPECT_FALSE(identifierFromRulesNames(rulesNames("us,", ""), 1));
    EXPECT_FALSE(identifierFromRulesNames(rulesNames("xx", ""), 0));
    // The last field may lack its terminator.
    EXPECT_EQ("00000419", identifierFromRulesNames("evdev\0pc105\0ru"s, 0));
}

TEST(GtkDialogRules, FilePatternsIgnoreCaseAndStarDotStarMeansEveryFile) {
    using platform::gtk::chooserPattern;
    EXPECT_EQ("*.[bB][mM][pP]", chooserPattern("*.bmp"));
    EXPECT_EQ("*.[bB][mM][pP]", chooserPattern("*.BMP"));
    EXPECT_EQ("*", chooserPattern("*.*"));
    EXPECT_EQ("[iI][mM][gG]_??.[jJ][pP][gG]", chooserPattern("img_??.jpg"));
    EXPECT_EQ("*.\xC3\xA4", chooserPattern("*.\xC3\xA4"));  // non-ASCII stays as it is
}

TEST(GtkDialogRules, AMessageBoxClosedWithoutAButtonAnswersWithTheHarmlessButton) {
    constexpr int closed = -4;  // GTK_RESPONSE_DELETE_EVENT: Escape or the close button
    EXPECT_EQ(MessageResult::Ok, platform::gtk::messageResultFor(MessageButtons::Ok, closed));
    EXPECT_EQ(MessageResult::Cancel, platform::gtk::messageResultFor(MessageButtons::OkCancel, closed));
    EXPECT_EQ(MessageResult::No, platform::gtk::messageResultFor(MessageButtons::YesNo, closed));
    EXPECT_EQ(MessageResult::Yes, platform::gtk::messageResultFor(MessageButtons::YesNo, -8));
}
