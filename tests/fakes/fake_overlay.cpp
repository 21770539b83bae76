#include "fakes/fake_overlay.hpp"

#include "overlay/overlay_constants.hpp"

#include <stdexcept>

namespace pal4::testing {

OverlayEvents& FakeOverlay::events() {
    if (events_ == nullptr) {
        throw std::logic_error("FakeOverlay used before bind()");
    }
    return *events_;
}

bool FakeOverlay::create() {
    calls_.push_back("create");
    if (exists_) {
        throw std::logic_error("overlay created twice");
    }
    const CreateFailure failure = nextFailure_;
    nextFailure_ = CreateFailure::None;
    if (failure == CreateFailure::Refused) {
        return false;
    }
    // A new window stands at its design place with its design label.
    exists_ = true;
    left_ = OVERLAY_DESIGN_LEFT;
    top_ = OVERLAY_DESIGN_TOP;
    width_ = OVERLAY_DESIGN_WIDTH;
    height_ = OVERLAY_DESIGN_HEIGHT;
    timerInterval_ = 0;
    colorKey_.reset();
    shown_ = true;
    clickThrough_ = false;
    label_ = FakeLabel{};
    label_.text = std::string(IDLE_LABEL_TEXT);
    label_.fontFace = "楷体_GB2312";
    label_.width = OVERLAY_DESIGN_WIDTH;
    label_.height = OVERLAY_DESIGN_HEIGHT;
    events().onOverlayCreated();
    if (failure == CreateFailure::ClosedWhileMaking) {
        events().onOverlayDestroyed();
    }
    if (failure != CreateFailure::None) {
        exists_ = false;
        timerInterval_ = 0; // a timer dies with its window
        return false;
    }
    return true;
}

void FakeOverlay::destroy() {
    calls_.push_back("destroy");
    if (!exists_) {
        throw std::logic_error("overlay destroyed while closed");
    }
    events().onOverlayDestroyed();
    exists_ = false;
    timerInterval_ = 0;
}

void FakeOverlay::makeColorKeyed(ColorRef key) {
    calls_.push_back("makeColorKeyed");
    colorKey_ = key;
}

void FakeOverlay::moveTo(std::int32_t left, std::int32_t top) {
    if (left == left_ && top == top_) {
        return;
    }
    left_ = left;
    top_ = top;
    ++movedEvents_;
    events().onOverlayMoved();
}

void FakeOverlay::setWindowSize(std::int32_t width, std::int32_t height) {
    calls_.push_back("setWindowSize");
    width_ = width;
    height_ = height;
}

void FakeOverlay::setWindowPosition(std::int32_t left, std::int32_t top) {
    calls_.push_back("setWindowPosition");
    moveTo(left, top);
}

void FakeOverlay::setWindowBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                                  std::int32_t height) {
    calls_.push_back("setWindowBounds");
    width_ = width;
    height_ = height;
    moveTo(left, top);
}

void FakeOverlay::setShown(bool shown) {
    calls_.push_back("setShown");
    shown_ = shown;
}

void FakeOverlay::keepAbove() {
    calls_.push_back("keepAbove");
    ++keptAbove_;
}

void FakeOverlay::setClickThrough(bool clickThrough) {
    calls_.push_back("setClickThrough");
    clickThrough_ = clickThrough;
}

void FakeOverlay::setTimerInterval(std::uint32_t milliseconds) {
    calls_.push_back("setTimerInterval");
    timerInterval_ = milliseconds;
}

void FakeOverlay::setLabelText(const std::string& text) {
    calls_.push_back("setLabelText");
    label_.text = text;
}

void FakeOverlay::setLabelFontFace(const std::string& face) {
    calls_.push_back("setLabelFontFace");
    label_.fontFace = face;
}

void FakeOverlay::setLabelFontSize(std::int32_t size) {
    calls_.push_back("setLabelFontSize");
    label_.fontSize = size;
}

void FakeOverlay::setLabelTextColor(ColorRef color) {
    calls_.push_back("setLabelTextColor");
    label_.textColor = color;
}

void FakeOverlay::setLabelBold(bool bold) {
    calls_.push_back("setLabelBold");
    label_.bold = bold;
}

void FakeOverlay::setLabelItalic(bool italic) {
    calls_.push_back("setLabelItalic");
    label_.italic = italic;
}

void FakeOverlay::setLabelShadow(bool shadowed) {
    calls_.push_back("setLabelShadow");
    label_.shadowed = shadowed;
}

void FakeOverlay::setLabelOutline(bool outlined) {
    calls_.push_back("setLabelOutline");
    label_.outlined = outlined;
}

void FakeOverlay::setLabelAlignment(TextAlignment alignment) {
    calls_.push_back("setLabelAlignment");
    label_.alignment = alignment;
}

void FakeOverlay::setLabelSize(std::int32_t width, std::int32_t height) {
    calls_.push_back("setLabelSize");
    label_.width = width;
    label_.height = height;
}

void FakeOverlay::userMovesWindow(std::int32_t left, std::int32_t top) {
    moveTo(left, top);
}

void FakeOverlay::userPressesEscape() {
    if (exists_) {
        destroy();
    }
}

void FakeOverlay::userRollsWheel(int notches) {
    for (; exists_ && !clickThrough_ && notches != 0; notches += notches > 0 ? -1 : 1) {
        notches > 0 ? events().onWheelUp() : events().onWheelDown();
    }
}

void FakeOverlay::timerFires() {
    if (exists_ && timerInterval_ != 0) {
        events().onPollTimer();
    }
}

} // namespace pal4::testing
