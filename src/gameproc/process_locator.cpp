#include "gameproc/process_locator.hpp"

#include "gameproc/process_name.hpp"
#include "gameproc/scoped_port_handle.hpp"

#include <algorithm>

namespace pal4 {

namespace {

// szExeFile up to its terminator; a record the platform filled without one is taken whole.
std::string_view listedName(const ProcessEntry& entry) {
    const auto end = std::find(entry.exeFile.begin(), entry.exeFile.end(), '\0');
    return {entry.exeFile.data(), static_cast<std::size_t>(end - entry.exeFile.begin())};
}

} // namespace

ProcessId findProcessId(GameProcessPort& port, std::string_view exeName) {
    const ScopedPortHandle snapshot(port, port.createSnapshot(TH32CS_SNAPPROCESS_FLAG, 0));
    if (!snapshot.valid()) {
        return 0;
    }
    ProcessEntry entry;
    entry.size = PROCESS_ENTRY_SIZE;
    for (bool fetched = port.firstProcess(snapshot.get(), entry); fetched;
         fetched = port.nextProcess(snapshot.get(), entry)) {
        if (processNamesMatch(exeName, listedName(entry))) {
            return entry.processId;
        }
    }
    return 0;
}

} // namespace pal4
