#pragma once
// The rules of the mail commands' buttons: "Courrier entrant" (receiving)
// and "Expédition" (the outgoing queue). Their windows arrive with the mail
// transport; until then the buttons say so (NotAvailableCommand).

#include <optional>

#include "holder/command_rule.h"

namespace quarnel::ui {

struct EntrantCommand {
    /// Usable once the mailbox password is stored (the own record has 7 lines).
    static std::optional<bool> EnabledIn(const StateFacts& facts);
    static constexpr CommandRule kRule{&EnabledIn, true, true};
};

struct ExpeditionCommand {
    /// Usable while messages wait in the queue.
    static std::optional<bool> EnabledIn(const StateFacts& facts);
    static constexpr CommandRule kRule{&EnabledIn, true, true};
};

}  // namespace quarnel::ui
