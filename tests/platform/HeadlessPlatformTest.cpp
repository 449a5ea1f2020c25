#include <cairo.h>

#include <gtest/gtest.h>

#include "CanvasProbe.h"
#include "platform/headless/HeadlessPlatform.h"
#include "support/TempDirTest.h"

using mernolex::test::countOther;
using mernolex::test::White;
using platform::HeadlessPlatform;
using platform::makeColour;
using platform::Message;
using platform::MessageButtons;
using platform::MessageCode;
using platform::MessageIcon;
using platform::MessageResult;
using platform::PenStyle;
using platform::PixelRect;

namespace {

constexpr platform::Colour Red = makeColour(255, 0, 0);

class MessageLog : public platform::MessageSink {
public:
    void handle(const Message& message) override { messages.push_back(message); }
    std::vector<Message> messages;
};

// Paints the whole client area red when a paint message arrives, like a window procedure would.
class RedPainter : public platform::MessageSink {
public:
    explicit RedPainter(HeadlessPlatform& window) : window_(window) {}
    void handle(const Message& message) override {
        if (message.code == MessageCode::Paint) {
            auto& painter = window_.beginPaint();
            auto size = window_.clientSize();
            painter.fillRect({0, 0, size.width, size.height}, Red, PenStyle::Solid, 0, Red);
            window_.endPaint();
        }
    }

private:
    HeadlessPlatform& window_;
};

}  // namespace

TEST(HeadlessPlatform, InvalidRectanglesUniteWithinTheClientAreaUntilPainted) {
    HeadlessPlatform window({200, 100});
    EXPECT_FALSE(window.updateRect());
    window.invalidate({10, 10, 20, 20});
    window.invalidate({50, 5, 60, 15});
    window.invalidate({300, 300, 400, 400});  // off the window: ignored
    window.invalidate({190, 90, 250, 150});   // clipped
    EXPECT_EQ((PixelRect{10, 5, 200, 100}), window.updateRect());

    window.beginPaint();
    EXPECT_FALSE(window.updateRect());
    // What is invalidated during a paint waits for the next one.
    window.invalidate({0, 0, 5, 5});
    window.endPaint();
    EXPECT_EQ((PixelRect{0, 0, 5, 5}), window.updateRect());
    ASSERT_TRUE(window.lastPaint());
    EXPECT_EQ((PixelRect{10, 5, 200, 100}), window.lastPaint()->area);
}

TEST(HeadlessPlatform, APaintDrawsOnlyInsideItsUpdateArea) {
    HeadlessPlatform window({200, 100});
    RedPainter sink(window);
    window.setSink(&sink);
    EXPECT_FALSE(window.deliverPaint());
    window.invalidate({20, 30, 40, 50});
    EXPECT_TRUE(window.deliverPaint());
    EXPECT_FALSE(window.deliverPaint());

    EXPECT_EQ(Red, window.pixel(20, 30));
    EXPECT_EQ(Red, window.pixel(39, 49));
    EXPECT_EQ(White, window.pixel(40, 49));
    EXPECT_EQ(White, window.pixel(19, 30));
    EXPECT_EQ(400, countOther(window, {0, 0, 200, 100}));
}

TEST(HeadlessPlatform, ResizingKeepsThePictureInvalidatesAllAndSendsTheSize) {
    HeadlessPlatform window({100, 50});
    RedPainter painter(window);
    window.setSink(&painter);
    window.invalidate({0, 0, 10, 10});
    window.deliverPaint();

    MessageLog log;
    window.setSink(&log);
    window.resize({150, 80}, platform::SizeKind::Maximized);
    EXPECT_EQ((platform::PixelSize{150, 80}), window.clientSize());
    EXPECT_EQ(Red, window.pixel(5, 5));
    EXPECT_EQ(White, window.pixel(149, 79));
    EXPECT_EQ((PixelRect{0, 0, 150, 80}), window.updateRect());
    ASSERT_EQ(1u, log.messages.size());
    EXPECT_EQ(MessageCode::Size, log.messages[0].code);
    EXPECT_EQ(platform::SizeKind::Maximized, log.messages[0].sizeKind);
    EXPECT_EQ(150, log.messages[0].width);
    EXPECT_EQ(80, log.messages[0].height);

    window.resize({0, 0}, platform::SizeKind::Minimized);
    EXPECT_FALSE(window.updateRect());
    EXPECT_THROW(window.pixel(0, 0), std::out_of_range);
}

TEST(HeadlessPlatform, DestroyingTheWindowSendsDestroyOnce) {
    HeadlessPlatform window;
    MessageLog log;
    window.setSink(&log);
    window.destroyWindow();
    window.destroyWindow();
    ASSERT_EQ(1u, log.messages.size());
    EXPECT_EQ(MessageCode::Destroy, log.messages[0].code);
    EXPECT_TRUE(window.destroyed());
    EXPECT_FALSE(window.quitCode());
    window.postQuit(0);
    EXPECT_EQ(0, window.quitCode());
}

TEST(HeadlessPlatform, DialogsAnswerFromTheScriptAndRecordWhatWasAsked) {
    HeadlessPlatform window;
    auto& dialogs = window.dialogs();
    dialogs.answerMessageBox(MessageResult::Yes);
    dialogs.answerFileDialog("/tmp/flag.bmp");
    dialogs.answerFileDialog(std::nullopt);

    EXPECT_EQ(MessageResult::Yes, window.messageBox(L"Delete?", L"Mernolex", MessageIcon::Question,
                                                    MessageButtons::YesNo));
    // Nothing scripted: the answer of closing the box.
    EXPECT_EQ(MessageResult::No, window.messageBox(L"Again?", L"Cap", MessageIcon::Warning,
                                                   MessageButtons::YesNo));
    EXPECT_EQ(MessageResult::Cancel, window.messageBox(L"t", L"c", MessageIcon::None,
                                                       MessageButtons::OkCancel));
    EXPECT_EQ(MessageResult::Ok, window.messageBox(L"t", L"c", MessageIcon::Error, MessageButtons::Ok));

    std::vector<platform::FileFilter> filters{{"Bitmaps", {"*.bmp", "*.BMP"}}, {"All files", {"*.*"}}};
    EXPECT_EQ("/tmp/flag.bmp", window.openFileDialog(filters));
    EXPECT_EQ(std::nullopt, window.openFileDialog(filters));
    EXPECT_EQ(std::nullopt, window.openFileDialog(filters));

    const auto& boxes = dialogs.messageBoxes();
    ASSERT_EQ(4u, boxes.size());
    EXPECT_EQ(L"Delete?", boxes[0].text);
    EXPECT_EQ(L"Mernolex", boxes[0].caption);
    EXPECT_EQ(MessageIcon::Question, boxes[0].icon);
    EXPECT_TRUE(boxes[0].scripted);
    EXPECT_FALSE(boxes[1].scripted);
    const auto& files = dialogs.fileDialogs();
    ASSERT_EQ(3u, files.size());
    EXPECT_EQ("*.BMP", files[0].filters[0].patterns[1]);
    EXPECT_TRUE(files[1].scripted);
    EXPECT_FALSE(files[2].scripted);
    EXPECT_EQ(0u, dialogs.unusedAnswers());

    dialogs.answerMessageBox(MessageResult::Yes);
    EXPECT_THROW(window.messageBox(L"t", L"c", MessageIcon::None, MessageButtons::Ok), std::logic_error);
}

TEST(HeadlessPlatform, DialogsAndClipboardReadsRunANestedLoopBeforeTheyAnswer) {
    HeadlessPlatform window({200, 100});
    MessageLog log;
    window.setSink(&log);
    window.post(Message::mouse(MessageCode::LButtonDown, 5, 6));
    window.post(Message::plain(MessageCode::Close));
    window.invalidateAll();

    window.messageBox(L"?", L"Q", MessageIcon::None, MessageButtons::Ok);
    ASSERT_EQ(3u, log.messages.size());
    EXPECT_EQ(MessageCode::LButtonDown, log.messages[0].code);
    EXPECT_EQ(MessageCode::Close, log.messages[1].code);
    EXPECT_EQ(MessageCode::Paint, log.messages[2].code);  // the sink did not paint: still pending
    EXPECT_EQ(0u, window.postedMessages());

    log.messages.clear();
    window.openFileDialog({});
    window.clipboardText();
    EXPECT_EQ(2u, log.messages.size());  // the paint, offered again by each loop

    window.setSink(nullptr);  // nothing to take them: dropped, the loop still ends
    window.post(Message::plain(MessageCode::Close));
    window.clipboardText();
    EXPECT_EQ(0u, window.postedMessages());
}

TEST(HeadlessPlatform, PaintRecordsHoldWhatWasDrawnAndSurviveClearingMidPaint) {
    HeadlessPlatform window({300, 100});
    auto& painter = window.beginPaint();
    painter.fillRect({0, 0, 10, 10}, Red, PenStyle::DashDotDot, 0, 0);
    window.clearPaints();
    painter.outlineRect({5, 5, 50, 50}, PenStyle::Solid);
    painter.drawText({10, 20, 110, 60}, {"DejaVu Sans", 20, 700}, L"Speichern", 37, Red, false);
    const std::uint32_t pixels[] = {1, 2, 3, 4, 5, 6};
    painter.blit(1, 2, 3, 2, pixels);
    window.endPaint();

    ASSERT_EQ(1u, window.paints().size());
    const auto& paint = window.paints()[0];
    ASSERT_EQ(2u, paint.rects.size());
    EXPECT_EQ(PenStyle::DashDotDot, paint.rects[0].pen);
    EXPECT_FALSE(paint.rects[1].filled);
    const auto* text = paint.findText(L"Speichern");
    ASSERT_TRUE(text);
    EXPECT_EQ((PixelRect{10, 20, 110, 60}), text->box);
    EXPECT_EQ(20, text->font.cellHeight);
    EXPECT_EQ(700, text->font.weight);
    EXPECT_EQ(37u, text->format);
    EXPECT_FALSE(paint.findText(L"Speicher"));
    ASSERT_EQ(1u, paint.blits.size());
    EXPECT_EQ(6u, paint.blits[0].at(2, 1));
}

TEST(HeadlessPlatform, DeterministicMetricIsHalfTheCellPerCharacter) {
    HeadlessPlatform window;
    auto& painter = window.beginPaint();
    const auto real = painter.measureText({"DejaVu Sans", 20, 0}, L"iiii");
    window.setDeterministicTextMetric(true);
    EXPECT_EQ((platform::TextExtent{40, 20}), painter.measureText({"DejaVu Sans", 20, 0}, L"iiii"));
    EXPECT_EQ((platform::TextExtent{24, 7}), painter.measureText({"", 7, 0}, L"\u05E9\u05DC\u05D5\u05DDxyz"));
    EXPECT_EQ((platform::TextExtent{0, 0}), painter.measureText({"", 0, 0}, L"abc"));
    window.setDeterministicTextMetric(false);
    EXPECT_EQ(real.width, painter.measureText({"DejaVu Sans", 20, 0}, L"iiii").width);
    window.endPaint();
}

class HeadlessPngTest : public mernolex::test::TempDirTest {};

TEST_F(HeadlessPngTest, TheCanvasDumpsToAPngOfItsSize) {
    HeadlessPlatform window({64, 32});
    auto& painter = window.beginPaint();
    painter.fillRect({0, 0, 8, 8}, Red, PenStyle::Null, 0, 0);
    window.endPaint();
    ASSERT_TRUE(window.savePng("canvas.png"));
    EXPECT_FALSE(window.savePng("missing/dir/canvas.png"));

    cairo_surface_t* png = cairo_image_surface_create_from_png("canvas.png");
    ASSERT_EQ(CAIRO_STATUS_SUCCESS, cairo_surface_status(png));
    EXPECT_EQ(64, cairo_image_surface_get_width(png));
    EXPECT_EQ(32, cairo_image_surface_get_height(png));
    const auto* first = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(png));
    EXPECT_EQ(0xFF0000u, first[0] & 0xFFFFFFu);
    cairo_surface_destroy(png);
}
