#include "fakes/fake_panel.hpp"

#include <stdexcept>

namespace pal4::testing {

namespace {
std::size_t indexOf(Slider slider) {
    return static_cast<std::size_t>(slider);
}
std::size_t indexOf(CheckBox box) {
    return static_cast<std::size_t>(box);
}
std::size_t indexOf(ValueCaption caption) {
    return static_cast<std::size_t>(caption);
}
} // namespace

std::array<std::int32_t, SLIDER_TABLE.size()> FakePanel::designPositions() {
    std::array<std::int32_t, SLIDER_TABLE.size()> positions{};
    for (const SliderRow& row : SLIDER_TABLE) {
        positions[indexOf(row.slider)] = row.designPosition;
    }
    return positions;
}

PanelEvents& FakePanel::events() {
    if (events_ == nullptr) {
        throw std::logic_error("FakePanel used before bind()");
    }
    return *events_;
}

std::int32_t FakePanel::sliderPosition(Slider slider) const {
    return sliders_[indexOf(slider)];
}

void FakePanel::setSliderPosition(Slider slider, std::int32_t position) {
    calls_.push_back("setSliderPosition");
    sliders_[indexOf(slider)] = sliderRow(slider).range.clamp(position);
}

bool FakePanel::isChecked(CheckBox box) const {
    return checks_[indexOf(box)];
}

void FakePanel::setChecked(CheckBox box, bool checked) {
    calls_.push_back("setChecked");
    checks_[indexOf(box)] = checked;
}

void FakePanel::setCaption(ValueCaption caption, const std::string& text) {
    calls_.push_back("setCaption");
    captions_[indexOf(caption)] = text;
}

void FakePanel::setEditText(const std::string& text) {
    calls_.push_back("setEditText");
    editText_ = text;
}

void FakePanel::setFontFace(const std::string& face) {
    calls_.push_back("setFontFace");
    fontFace_ = face;
}

void FakePanel::setColor(ColorRef color) {
    calls_.push_back("setColor");
    color_ = color;
}

void FakePanel::setToggleCaption(const std::string& caption) {
    calls_.push_back("setToggleCaption");
    toggleCaption_ = caption;
    ++toggleCaptionWrites_;
}

void FakePanel::underlineLinks() {
    calls_.push_back("underlineLinks");
    linksUnderlined_ = true;
}

const std::string& FakePanel::caption(ValueCaption caption) const {
    return captions_[indexOf(caption)];
}

void FakePanel::userMovesSlider(Slider slider, std::int32_t position) {
    sliders_[indexOf(slider)] = sliderRow(slider).range.clamp(position);
    (events().*sliderRow(slider).changed)();
}

void FakePanel::userClicks(CheckBox box) {
    checks_[indexOf(box)] = !checks_[indexOf(box)];
    switch (box) {
    case CheckBox::Bold:
        events().onBoldClicked();
        break;
    case CheckBox::Italic:
        events().onItalicClicked();
        break;
    case CheckBox::Shadow:
        events().onShadowClicked();
        break;
    case CheckBox::Centre:
        events().onCentreClicked();
        break;
    case CheckBox::Debug:
        events().onDebugClicked();
        break;
    case CheckBox::Outline:
        events().onOutlineClicked();
        break;
    case CheckBox::History:
        events().onHistoryClicked();
        break;
    case CheckBox::Lock:
        events().onLockClicked();
        break;
    case CheckBox::FullScreen:
        events().onFullScreenClicked();
        break;
    }
}

void FakePanel::userPicksFont(const std::string& face) {
    fontFace_ = face;
    events().onFontChanged();
}

void FakePanel::userPicksColor(ColorRef color) {
    color_ = color;
    events().onColorChanged();
}

void FakePanel::userClicksToggle() {
    events().onToggleClicked();
}

void FakePanel::userPressesHotkey(Hotkey hotkey) {
    if (!hotkeys_.contains(hotkey)) {
        return;
    }
    if (hotkey == Hotkey::Lock) {
        events().onLockHotkey();
    } else if (hotkey == Hotkey::FullScreen) {
        events().onFullScreenHotkey();
    } else {
        events().onToggleClicked();
    }
}

std::optional<HotkeyCombination> FakePanel::hotkey(Hotkey hotkey) const {
    const auto found = hotkeys_.find(hotkey);
    return found == hotkeys_.end() ? std::nullopt : std::optional(found->second);
}

bool FakePanel::registerHotkey(Hotkey hotkey, const HotkeyCombination& combination) {
    calls_.push_back("registerHotkey");
    if (hotkeys_.contains(hotkey)) {
        throw std::logic_error("hot key registered twice");
    }
    if (hotkeysRefused_) {
        return false;
    }
    hotkeys_[hotkey] = combination;
    return true;
}

void FakePanel::unregisterHotkeys() {
    calls_.push_back("unregisterHotkeys");
    hotkeys_.clear();
}
void FakePanel::userPressesAuthorLink() {
    events().onAuthorLinkPressed();
}
void FakePanel::userPressesClubLink() {
    events().onClubLinkPressed();
}
void FakePanel::userPressesOpenLog() {
    events().onOpenLogPressed();
}
void FakePanel::create() {
    events().onPanelCreated();
}
void FakePanel::destroy() {
    events().onPanelDestroying();
}

} // namespace pal4::testing
