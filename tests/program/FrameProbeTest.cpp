#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "model/DataPaths.h"
#include "program/FrameProbe.h"
#include "support/TempDirTest.h"

namespace {

using platform::Message;
using platform::MessageCode;

// The probe as the real window drives it: each message is received, handled (messages a box's
// loop delivers in between are nested), and a paint may follow.
class FrameProbeTest : public mernolex::test::TempDirTest {
protected:
    void handle(const Message& message, bool paintPendingAfter = false) {
        probe.received(message);
        probe.handled(message, paintPendingAfter);
    }
    void paint(bool leavesMore = false) { handle(Message::plain(MessageCode::Paint), leavesMore); }

    // The frame lines printed while `steps` ran, split into words.
    template <typename Steps>
    std::vector<std::vector<std::string>> framesOf(Steps steps) {
        testing::internal::CaptureStdout();
        steps();
        std::istringstream printed(testing::internal::GetCapturedStdout());
        std::vector<std::vector<std::string>> lines;
        for (std::string line; std::getline(printed, line);) {
            std::istringstream words(line);
            lines.emplace_back();
            for (std::string word; words >> word;) {
                lines.back().push_back(word);
            }
        }
        return lines;
    }

    FrameProbe probe;
};

}  // namespace

// An input waits from its arrival to the end of the paint that answers it; one that asks for no
// paint is answered when it is handled. A press and its release before the paint wait together,
// from the press. A wait that wrote the database's log saved.
TEST_F(FrameProbeTest, EachInputWaitsUntilThePaintThatAnswersIt) {
    const auto lines = framesOf([&] {
        handle(Message::mouse(MessageCode::LButtonDown, 1, 1), true);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        handle(Message::mouse(MessageCode::MouseMove, 2, 2), true);
        paint(true);  // the screen switched to fills its list: painted next
        paint();
        handle(Message::keyDown(U'a', 0), false);  // changed nothing on the screen
        handle(Message::mouse(MessageCode::LButtonDown, 1, 1), true);
        handle(Message::mouse(MessageCode::LButtonUp, 1, 1), true);
        writeFile(TRANSACTION_JOURNAL, "a unit");
        paint();
        paint();  // nothing waits: no line
        handle(Message::plain(MessageCode::Destroy));
    });
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0][0], "frame");
    EXPECT_GE(std::stod(lines[0][1]), 20.0);
    EXPECT_LT(std::stod(lines[0][3]), 20.0);  // the processor was not busy while it slept
    EXPECT_EQ(lines[0][4], "press");
    EXPECT_EQ(lines[0][5], "kept");
    EXPECT_EQ(lines[1][2], "0.00");  // no paint answered the key
    EXPECT_EQ(lines[1][4], "key");
    EXPECT_EQ(lines[2][4], "press");
    EXPECT_EQ(lines[2][5], "saved");
    EXPECT_EQ(lines[3][0], "frames");
    EXPECT_EQ(lines[3][1], "longest");
    EXPECT_GE(std::stod(lines[3][2]), 20.0);
}

// A box opened while an input is handled makes its wait the learner's: it is left out.
TEST_F(FrameProbeTest, AnInputThatOpenedABoxIsLeftOut) {
    const auto lines = framesOf([&] {
        const Message press = Message::mouse(MessageCode::LButtonDown, 1, 1);
        probe.received(press);
        paint();  // the box's loop paints the screen behind it
        probe.handled(press, true);
        paint();
        handle(Message::keyDown(U'a', 0), true);
        paint();
    });
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0][4], "key");
}
