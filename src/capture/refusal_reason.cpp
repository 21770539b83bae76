#include "capture/refusal_reason.hpp"

#include "gameproc/process_locator.hpp"

namespace pal4 {

std::optional<RefusalDiagnosis> RefusalDiagnoser::diagnose() {
    const ProcessId pid = findProcessId(processes_, GAME_EXECUTABLE_NAME);
    if (pid == 0) {
        return RefusalDiagnosis{RefusalReason::GameNotRunning, std::nullopt};
    }
    if (!memory_.canOpen(pid)) {
        return RefusalDiagnosis{RefusalReason::AccessDenied, std::nullopt};
    }
    const std::optional<float> marker = game_.readInGameMarker(pid);
    if (!marker) {
        return RefusalDiagnosis{RefusalReason::GameDataUnreadable, processes_.imageFileSize(pid)};
    }
    if (!GameMemoryMap::markerMeansInGame(*marker)) {
        return RefusalDiagnosis{RefusalReason::NotInGame, std::nullopt};
    }
    return std::nullopt;
}

std::string refusalReasonText(const RefusalDiagnosis& diagnosis) {
    switch (diagnosis.reason) {
    case RefusalReason::GameNotRunning:
        return std::string(GAME_NOT_RUNNING_TEXT);
    case RefusalReason::AccessDenied:
        return std::string(ACCESS_DENIED_TEXT);
    case RefusalReason::GameDataUnreadable: {
        std::string text(GAME_DATA_UNREADABLE_TEXT);
        if (diagnosis.gameFileSize) {
            text += GAME_FILE_SIZE_PREFIX;
            text += std::to_string(*diagnosis.gameFileSize);
            text += GAME_FILE_SIZE_SUFFIX;
        } else {
            text += FULL_STOP;
        }
        return text;
    }
    case RefusalReason::NotInGame:
        return std::string(NOT_IN_GAME_TEXT);
    }
    return {};
}

} // namespace pal4
