// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowkit/quarnel_dialog.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include "windowkit/help.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

QuarnelDialog::QuarnelDialog(HolderContext& ctx, const char* objectName, int helpContext,
                             QWidget* parent)
    : QDialog(parent), ctx_(ctx), helpContext_(helpContext) {
    setObjectName(objectName);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, &QuarnelDialog::ShowHelp);
}

void QuarnelDialog::ShowHelp() const {
    ShowHelpContext(helpContext_);
}

void QuarnelDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        auto* button = qobject_cast<QPushButton*>(focusWidget());
        if (button && button->isEnabled() && button->isVisible()) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void QuarnelDialog::showEvent(QShowEvent* event) {
    FitToScreen(*this);
    QDialog::showEvent(event);
}

void QuarnelDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) Retranslate();
    QDialog::changeEvent(event);
}

}  // namespace quarnel::ui
