#pragma once

#include "core/game_address.hpp"
#include "core/process_records.hpp"

#include <cstdint>
#include <filesystem>
#include <string>

namespace pal4 {

// The one record of state shared by the tool's event handlers. The handlers talk to each other
// only through these fields and through the properties of the controls; there is no other
// shared state. Texts are GB2312 bytes.
//
// The bold, italic, centring, debug and history switches have no field: their store is the
// checked state of their check boxes on the control panel.
struct AppState {
    ColorRef textColor = 0;                // colour of the subtitle text
    std::filesystem::path iniPath;         // full path of the settings file, built once
    bool overlayShown = false;             // the overlay window is open
    std::string fontName;                  // face name of the subtitle font
    std::int32_t fontSize = 0;             // the size slider's position, 1 to 200
    bool shadowOn = false;                 // the shadow switch is on
    bool outlineOn = false;                // the outline switch is on
    std::int32_t overlayLeft = 0;          // overlay window's left edge, screen pixels
    std::int32_t overlayTop = 0;           // overlay window's top edge, screen pixels
    std::int32_t overlayWidth = 0;         // width of the overlay and of its subtitle label
    std::int32_t overlayHeight = 0;        // height of the overlay and of its subtitle label
    bool panelOpen = false;                // the control panel is alive
    ProcessId gamePid = 0;                 // the game's process id, 0 when it is not running
    bool overlaySettingUp = false;         // the overlay's creation is placing the window
    GameAddress blankFlagAddress = 0;      // byte that, when non-zero, blanks the subtitle
    std::string currentText;               // dialogue text read in the current tick
    GameAddress textAddress = 0;           // address of the dialogue text in the game
    std::string lastText;                  // raw dialogue text last taken over
    std::int32_t searchPos = 0;            // working position of a tick's text searches
    std::string subtitleText;              // cleaned text put on the overlay
    PortHandle moduleSnapshot = kNoHandle; // module snapshot during the module walk
    ModuleEntry moduleEntry;               // the entry filled by the module walk
    std::int32_t moduleWalkOk = 0;         // result of the last first/next call of the walk
    bool clipboardOn = false;              // each new line goes on the clipboard too
};

} // namespace pal4
