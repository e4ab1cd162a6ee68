// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Exécuter / Annuler / help row of the authority's dialogs: Exécuter
// disabled at first, Annuler the cancel button, help on the dialog's context.

#include <QBoxLayout>
#include <QPushButton>

#include "authority/texts.h"
#include "windowkit/quarnel_dialog.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

struct ButtonRow {
    QPushButton* executer = nullptr;
    QPushButton* annuler = nullptr;
    QPushButton* aide = nullptr;

    void Retranslate() const {
        executer->setText(Tr(txt::kExecuteButton));
        annuler->setText(Tr(txt::kCancelButton));
        aide->setText(Tr(txt::kHelpButton));
    }
};

inline ButtonRow AddButtonRow(QuarnelDialog& dialog, QBoxLayout& layout) {
    auto* row = new QHBoxLayout;
    ButtonRow b{new QPushButton(&dialog), new QPushButton(&dialog), new QPushButton(&dialog)};
    b.executer->setObjectName("BitBtnExecuter");
    b.annuler->setObjectName("BitBtnAnnuler");
    b.aide->setObjectName("BitBtnAide");
    for (QPushButton* button : {b.executer, b.annuler, b.aide})
        row->addWidget(button);
    layout.addLayout(row);
    b.executer->setEnabled(false);
    QObject::connect(b.annuler, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(b.aide, &QPushButton::clicked, &dialog, &QuarnelDialog::ShowHelp);
    return b;
}

}  // namespace quarnel::ui
