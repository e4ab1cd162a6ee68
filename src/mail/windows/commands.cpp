#include "mail/windows/commands.h"

namespace quarnel::ui {

std::optional<bool> EntrantCommand::EnabledIn(const StateFacts& facts) {
    if (facts.programState == ProgramState::Affiliated) {
        if (facts.ownRecordLines == 7) return true;
        return std::nullopt;
    }
    if (IsAffiliatedState(facts.programState)) return false;
    return std::nullopt;
}

std::optional<bool> ExpeditionCommand::EnabledIn(const StateFacts& facts) {
    if (facts.programState == ProgramState::Affiliated) return !facts.queueEmpty;
    if (IsAffiliatedState(facts.programState)) return false;
    return std::nullopt;
}

}  // namespace quarnel::ui
