// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's start-up: the holder's folder, then the outgoing queue, then
// the information line. The main window evaluates the buttons.

#include "holder/startup.h"
#include "mail/mail_state.h"

namespace quarnel {

/// LoadHolder and the sweep of the holder's folders, then (in an affiliated
/// state) the queue, and the information line: "En attente" when the
/// sequence completed, otherwise "Le programme n'est pas encore initialisé.".
StartupEnd RunStartup(HolderContext& ctx, MailState& mail, StartupHost& host);

}  // namespace quarnel
