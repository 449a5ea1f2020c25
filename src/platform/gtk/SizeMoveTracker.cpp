#include "platform/gtk/SizeMoveTracker.h"

namespace platform::gtk {

SizeKind SizeMoveTracker::kind() const {
    if (minimized_) return SizeKind::Minimized;
    if (maximized_) return SizeKind::Maximized;
    return SizeKind::Restored;
}

SizeMoveTracker::Step SizeMoveTracker::allocated(PixelSize size) {
    Step step;
    if (sized_ && size == size_) {
        return step;
    }
    const bool first = !sized_;
    sized_ = true;
    size_ = size;
    if (minimized_) {
        return step;
    }
    if (first || explained_) {
        explained_ = false;
        step.messages.push_back(Message::size(kind(), size.width, size.height));
        return step;
    }
    if (!inLoop_) {
        inLoop_ = true;
        step.messages.push_back(Message::plain(MessageCode::EnterSizeMove));
    }
    step.messages.push_back(Message::size(kind(), size.width, size.height));
    step.startTimer = true;
    return step;
}

SizeMoveTracker::Step SizeMoveTracker::stateChanged(bool maximized, bool minimized) {
    Step step;
    if (maximized == maximized_ && minimized == minimized_) {
        return step;
    }
    maximized_ = maximized;
    minimized_ = minimized;
    if (inLoop_) {
        inLoop_ = false;
        step.messages.push_back(Message::plain(MessageCode::ExitSizeMove));
    }
    if (minimized_) {
        step.messages.push_back(Message::size(SizeKind::Minimized, 0, 0));
    } else {
        step.messages.push_back(Message::size(kind(), size_.width, size_.height));
    }
    // The size that goes with the new state may arrive after the state; it belongs to it. If
    // none arrives (restoring from the task bar keeps the size), the timer forgets the excuse.
    explained_ = true;
    step.startTimer = true;
    return step;
}

SizeMoveTracker::Step SizeMoveTracker::expectResize() {
    explained_ = true;
    Step step;
    step.startTimer = true;
    return step;
}

std::vector<Message> SizeMoveTracker::quiet() {
    explained_ = false;
    if (!inLoop_) {
        return {};
    }
    inLoop_ = false;
    return {Message::plain(MessageCode::ExitSizeMove)};
}

}  // namespace platform::gtk
