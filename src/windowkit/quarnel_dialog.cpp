#include "windowkit/quarnel_dialog.h"

#include <QEvent>
#include <QKeySequence>
#include <QShortcut>

#include "windowkit/help.h"

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

void QuarnelDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) Retranslate();
    QDialog::changeEvent(event);
}

}  // namespace quarnel::ui
