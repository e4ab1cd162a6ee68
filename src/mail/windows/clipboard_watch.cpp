// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/windows/clipboard_watch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>

#include "holder/holder_context.h"
#include "mail/clipboard_intake.h"
#include "protocol/body.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

std::optional<Lines> WatchClipboard(const HolderContext& ctx, QWidget& mainWindow) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return std::nullopt;
    const QString text = clipboard->text();
    // Checked before the conversion: the watch runs every 50 ms.
    if (text.isEmpty() || std::size_t(text.size()) > kMaxClipboardBytes) return std::nullopt;
    if (!text.contains(QLatin1String(kSeparatorLine.c_str()))) return std::nullopt;
    std::optional<Lines> taken = TakeClipboardMessage(ToCp1252(text), ctx.State(), ctx.ownNumber);
    if (!taken) return std::nullopt;
    clipboard->clear();
    mainWindow.raise();
    mainWindow.activateWindow();
    return taken;
}

}  // namespace quarnel::ui
