#include "app/application.hpp"

namespace pal4 {

Application::Application(Ports ports)
    : panel_(ports.panel), memory_(ports.game), game_(state_, ports.game, memory_),
      diagnoser_(ports.game, memory_, game_), settings_(state_, ports.files),
      appearance_(state_, ports.panel, ports.overlay),
      controls_(state_, ports.panel, ports.overlay, ports.shell, settings_, appearance_),
      outputs_(state_, ports.panel, ports.shell, ports.files, ports.clipboard, ports.clock,
               ports.decoder),
      fullScreen_(state_, ports.fullScreen, ports.gameWindows, ports.panel, settings_),
      follower_(state_, ports.gameWindows, ports.overlay, fullScreen_, *this),
      panelLifecycle_(state_, ports.panel, ports.overlay, ports.shell, settings_, controls_),
      overlayLifecycle_(state_, ports.game, game_, ports.overlay, ports.panel, ports.shell,
                        settings_, diagnoser_, outputs_, follower_),
      poller_(state_, game_, ports.overlay, ports.panel, outputs_),
      feed_(state_, ports.panel, ports.sockets, ports.decoder) {
    outputs_.setListener(&feed_);
}

} // namespace pal4
