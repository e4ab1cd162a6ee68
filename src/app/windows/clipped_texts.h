// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which texts a window shows cut off: used by the window tests and by the
// test hook's screenshots, so that both judge a window the same way.

#include <QString>
#include <QStringList>

class QWidget;

namespace quarnel::ui {

/// Texts of the visible labels, buttons, group boxes and tabs under `root`
/// that do not fit in their widget, each with the widget's object name.
[[nodiscard]] QStringList ClippedTexts(QWidget& root);

/// `text` without its mnemonic marks ("&&" stays one "&").
[[nodiscard]] QString WithoutMnemonic(const QString& text);

}  // namespace quarnel::ui
