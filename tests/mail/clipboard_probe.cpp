// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the X clipboard as the main window's watch does, for the test that
// puts a message there from another process. Prints "taken N" (the lines of
// the message taken) or "left".

#include <QApplication>
#include <QWidget>
#include <iostream>

#include "holder/holder_context.h"
#include "holder/program_state.h"
#include "mail/windows/clipboard_watch.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    quarnel::HolderContext ctx;
    quarnel::state::Affiliated(ctx);
    ctx.ownNumber = argv[1];
    QWidget window;
    const auto taken = quarnel::ui::WatchClipboard(ctx, window);
    if (taken) {
        std::cout << "taken " << taken->size() << std::endl;
    } else {
        std::cout << "left" << std::endl;
    }
    // The emptied clipboard is handed back before the program ends.
    QApplication::processEvents();
    return 0;
}
