#include "gui/support/ScreenDriver.h"

#include "base/WindowThreadTasks.h"
#include "states/WindowProcedure.h"

namespace mernolex::test {

using platform::Message;
using platform::MessageCode;

ScreenTest::ScreenTest() = default;
ScreenTest::~ScreenTest() = default;

void ScreenTest::SetUp() {
    TempDirTest::SetUp();
    std::filesystem::create_directories("Data/Framework");
    stateMachineReset();
    framewReset();
    openWindow({1000, 500});
    framewInit(1000, 500);
    getKL(preApplicationKeyboard);
}

void ScreenTest::TearDown() {
    window_thread::discardPosted();  // results meant for this test's screens
    stateMachineReset();
    framewReset();
    platform::setCurrent(nullptr);
    procedure_.reset();
    window.reset();
    TempDirTest::TearDown();
}

void ScreenTest::openWindow(platform::PixelSize client) {
    window = std::make_unique<platform::HeadlessPlatform>(client);
    procedure_ = std::make_unique<WindowProcedure>(*window);
    window->setSink(procedure_.get());
    sink = procedure_.get();
    framewUpdate(window.get());
}

void ScreenTest::show(State* state) {
    nextState = state;
    updateStateStatus();
    paint();
}

void ScreenTest::send(const Message& message) { window->send(message); }

// --- the pointer ---

void ScreenTest::press(int x, int y) { send(Message::mouse(MessageCode::LButtonDown, x, y)); }

void ScreenTest::release(int x, int y) { send(Message::mouse(MessageCode::LButtonUp, x, y)); }

void ScreenTest::click(int x, int y) {
    press(x, y);
    release(x, y);
}

void ScreenTest::move(int x, int y) { send(Message::mouse(MessageCode::MouseMove, x, y, false)); }

void ScreenTest::drag(int x, int y) { send(Message::mouse(MessageCode::MouseMove, x, y, true)); }

void ScreenTest::leave() { send(Message::plain(MessageCode::MouseLeave)); }

void ScreenTest::wake() { send(Message::plain(MessageCode::Wake)); }

bool ScreenTest::clickCaption(std::wstring_view caption) {
    const platform::DrawnText* drawn = repaintAll().findText(caption);
    if (drawn == nullptr) {
        return false;
    }
    // The box is in pixels, which is what the messages carry.
    click((drawn->box.left + drawn->box.right) / 2, (drawn->box.top + drawn->box.bottom) / 2);
    return true;
}

// --- the keyboard ---

void ScreenTest::type(std::wstring_view text) {
    for (wchar_t c : text) {
        send(Message::keyDown(static_cast<char32_t>(c), 0));
    }
}

void ScreenTest::key(unsigned code, Held held, bool capsLock) {
    const std::uint16_t shift = held == Held::Shift || held == Held::ShiftCtrl ? platform::KeyStateDown : 0;
    const std::uint16_t ctrl = held == Held::Ctrl || held == Held::ShiftCtrl ? platform::KeyStateDown : 0;
    const std::uint16_t caps = capsLock ? platform::KeyStateToggled : 0;
    send(Message::keyDown(0, code, shift, ctrl, caps));
}

// --- painting ---

bool ScreenTest::paint() { return window->deliverPaint(); }

const platform::PaintRecord& ScreenTest::repaintAll() {
    window->clearPaints();
    framewRepaint();
    paint();
    return *window->lastPaint();
}

std::vector<std::wstring> ScreenTest::paintedTexts() const {
    std::vector<std::wstring> texts;
    if (const platform::PaintRecord* record = window->lastPaint()) {
        for (const platform::DrawnText& text : record->texts) {
            texts.push_back(text.text);
        }
    }
    return texts;
}

bool ScreenTest::painted(std::wstring_view text) const {
    const platform::PaintRecord* record = window->lastPaint();
    return record != nullptr && record->findText(text) != nullptr;
}

}  // namespace mernolex::test
