#pragma once

#include "core/game_address.hpp"
#include "ports/game_process_port.hpp"

#include <string_view>

namespace pal4 {

// The id of the first running process, in snapshot order, whose executable file name equals
// `exeName` when ASCII letters are folded to lower case; 0 when there is none.
ProcessId findProcessId(GameProcessPort& port, std::string_view exeName);

} // namespace pal4
