// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowkit/main_command.h"

#include "windowkit/message_box.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

void NotAvailableCommand::Run() {
    Inform(&host_.Window(), Tr(txt::kNotAvailableYet));
}

}  // namespace quarnel::ui
