#include "app/application.hpp"

namespace pal4 {

Application::Application(Ports ports) : ports_(ports) {}

void Application::onPanelCreated() {
    state_.panelOpen = true;
}
void Application::onPanelDestroying() {
    state_.panelOpen = false;
}
void Application::onToggleClicked() {}
void Application::onColorChanged() {}
void Application::onFontSizeChanged() {}
void Application::onFontChanged() {}
void Application::onLeftChanged() {}
void Application::onTopChanged() {}
void Application::onWidthChanged() {}
void Application::onHeightChanged() {}
void Application::onBoldClicked() {}
void Application::onItalicClicked() {}
void Application::onShadowClicked() {}
void Application::onCentreClicked() {}
void Application::onDebugClicked() {}
void Application::onAuthorLinkPressed() {}
void Application::onClubLinkPressed() {}
void Application::onOverlayCreated() {}
void Application::onOverlayMoved() {}
void Application::onOverlayDestroyed() {}
void Application::onPollTimer() {}

} // namespace pal4
