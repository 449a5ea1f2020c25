#include <gtest/gtest.h>

#include <vector>

#include "platform/gtk/DoubleClickFilter.h"
#include "platform/gtk/SizeMoveTracker.h"

using platform::Message;
using platform::MessageCode;
using platform::PixelSize;
using platform::SizeKind;
using platform::gtk::DoubleClickFilter;
using platform::gtk::SizeMoveTracker;

namespace {

// The messages of a step as short words, so a sequence reads like the behaviour table.
std::vector<std::string> words(const std::vector<Message>& messages) {
    std::vector<std::string> result;
    for (const Message& m : messages) {
        switch (m.code) {
        case MessageCode::EnterSizeMove: result.push_back("begin"); break;
        case MessageCode::ExitSizeMove: result.push_back("end"); break;
        case MessageCode::Size: {
            const char* kind = m.sizeKind == SizeKind::Maximized   ? "max"
                               : m.sizeKind == SizeKind::Minimized ? "min"
                                                                   : "restored";
            result.push_back(std::string(kind) + " " + std::to_string(m.width) + "x" +
                             std::to_string(m.height));
            break;
        }
        default: result.push_back("?"); break;
        }
    }
    return result;
}

using Words = std::vector<std::string>;

}  // namespace

TEST(DoubleClickFilter, TheSecondPressNearAndSoonCompletesADoubleClick) {
    DoubleClickFilter clicks(400, 5);
    EXPECT_FALSE(clicks.isSecondPress(1000, 100, 100));
    EXPECT_TRUE(clicks.isSecondPress(1400, 105, 95));
    // A triple click: the third press starts a new pair, and the fourth completes it.
    EXPECT_FALSE(clicks.isSecondPress(1500, 100, 100));
    EXPECT_TRUE(clicks.isSecondPress(1600, 100, 100));
}

TEST(DoubleClickFilter, TooLateTooFarOrAnotherButtonInBetweenStartsAfresh) {
    DoubleClickFilter clicks(400, 5);
    EXPECT_FALSE(clicks.isSecondPress(1000, 100, 100));
    EXPECT_FALSE(clicks.isSecondPress(1401, 100, 100));  // too late, but a first press itself
    EXPECT_FALSE(clicks.isSecondPress(1500, 106, 100));  // too far
    clicks.otherButtonPressed();
    EXPECT_FALSE(clicks.isSecondPress(1600, 106, 100));
    EXPECT_TRUE(clicks.isSecondPress(1700, 106, 100));
}

TEST(DoubleClickFilter, TheServerClockMayWrapBetweenThePresses) {
    DoubleClickFilter clicks(400, 5);
    EXPECT_FALSE(clicks.isSecondPress(0xFFFFFF00u, 10, 10));
    EXPECT_TRUE(clicks.isSecondPress(0x00000010u, 10, 10));
}

TEST(SizeMoveTracker, TheFirstSizeIsPlainAndADragIsBracketedByBeginAndEnd) {
    SizeMoveTracker sizes;
    auto first = sizes.allocated({1000, 500});
    EXPECT_EQ(Words({"restored 1000x500"}), words(first.messages));
    EXPECT_FALSE(first.startTimer);
    EXPECT_TRUE(sizes.allocated({1000, 500}).messages.empty());

    auto drag = sizes.allocated({900, 450});
    EXPECT_EQ(Words({"begin", "restored 900x450"}), words(drag.messages));
    EXPECT_TRUE(drag.startTimer);
    auto more = sizes.allocated({800, 400});
    EXPECT_EQ(Words({"restored 800x400"}), words(more.messages));
    EXPECT_TRUE(more.startTimer);
    EXPECT_TRUE(sizes.inSizeMove());

    EXPECT_EQ(Words({"end"}), words(sizes.quiet()));
    EXPECT_TRUE(sizes.quiet().empty());
    EXPECT_EQ(Words({"begin", "restored 700x350"}), words(sizes.allocated({700, 350}).messages));
}

TEST(SizeMoveTracker, MaximizeAndRestoreAreSizesOfTheirOwnWithoutADrag) {
    SizeMoveTracker sizes;
    sizes.allocated({1000, 500});
    EXPECT_EQ(Words({"max 1000x500"}), words(sizes.stateChanged(true, false).messages));
    // The new size that follows belongs to the maximize.
    EXPECT_EQ(Words({"max 1280x1000"}), words(sizes.allocated({1280, 1000}).messages));
    EXPECT_EQ(Words({"restored 1280x1000"}), words(sizes.stateChanged(false, false).messages));
    EXPECT_EQ(Words({"restored 1000x500"}), words(sizes.allocated({1000, 500}).messages));
    EXPECT_FALSE(sizes.inSizeMove());

    // When the maximized size arrives before the state, the drag it started ends at once.
    EXPECT_EQ(Words({"begin", "restored 1280x1000"}), words(sizes.allocated({1280, 1000}).messages));
    EXPECT_EQ(Words({"end", "max 1280x1000"}), words(sizes.stateChanged(true, false).messages));
    EXPECT_TRUE(sizes.quiet().empty());
}

TEST(SizeMoveTracker, MinimizingReportsNoClientAreaAndRestoringReportsItAgain) {
    SizeMoveTracker sizes;
    sizes.allocated({1000, 500});
    EXPECT_EQ(Words({"min 0x0"}), words(sizes.stateChanged(false, true).messages));
    EXPECT_TRUE(sizes.allocated({990, 490}).messages.empty());
    EXPECT_EQ(Words({"restored 990x490"}), words(sizes.stateChanged(false, false).messages));
    // Restoring kept the size; once the excuse has expired a resize is a drag again.
    sizes.quiet();
    EXPECT_EQ(Words({"begin", "restored 900x400"}), words(sizes.allocated({900, 400}).messages));
}

TEST(SizeMoveTracker, AResizeTheProgramAskedForIsNoDrag) {
    SizeMoveTracker sizes;
    sizes.allocated({1000, 500});
    EXPECT_TRUE(sizes.expectResize().startTimer);
    EXPECT_EQ(Words({"restored 990x470"}), words(sizes.allocated({990, 470}).messages));
    EXPECT_FALSE(sizes.inSizeMove());
}
