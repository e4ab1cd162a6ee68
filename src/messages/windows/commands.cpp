#include "messages/windows/commands.h"

namespace quarnel::ui {

std::optional<bool> CertificationCommand::EnabledIn(const StateFacts& facts) {
    if (facts.programState == ProgramState::Affiliated) return true;
    return std::nullopt;
}

}  // namespace quarnel::ui
