#pragma once
// The rule of the "Certification" button. Its window arrives with the message
// windows; until then the button says so (NotAvailableCommand).

#include <optional>

#include "holder/command_rule.h"

namespace quarnel::ui {

struct CertificationCommand {
    /// Usable once affiliated; Busy does not grey it, but a click then does
    /// nothing.
    static std::optional<bool> EnabledIn(const StateFacts& facts);
    static constexpr CommandRule kRule{&EnabledIn, false, true};
};

}  // namespace quarnel::ui
