// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/windows/form_destinataire.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "authority/forms.h"
#include "authority/texts.h"
#include "authority/windows/button_row.h"
#include "windowkit/help.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

FormDestinataire::FormDestinataire(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormDestinataire", kHelpNewCorrespondent, parent) {
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    labelDestinataire_ = new QLabel(this);
    editDestinataire_ = new QLineEdit(this);
    editDestinataire_->setObjectName("EditDestinataire");
    editDestinataire_->setMaxLength(11);
    FitToLength(*editDestinataire_, 11, u'D');  // the widest hexadecimal digit
    outer->addWidget(labelDestinataire_);
    outer->addWidget(editDestinataire_);
    groupBoxInformation_ = new QGroupBox(this);
    groupBoxInformation_->setObjectName("GroupBoxInformation");
    auto* info = new QVBoxLayout(groupBoxInformation_);
    labelInformation_ = new QLabel(groupBoxInformation_);
    labelInformation_->setObjectName("LabelInformation");
    info->addWidget(labelInformation_);
    groupBoxInformation_->hide();
    outer->addWidget(groupBoxInformation_);
    buttons_ = AddButtonRow(*this, *outer);
    connect(editDestinataire_, &QLineEdit::textChanged, this,
            &FormDestinataire::EditDestinataireChange);
    connect(buttons_.executer, &QPushButton::clicked, this, &QDialog::accept);
    Retranslate();
}

void FormDestinataire::Retranslate() {
    setWindowTitle(Tr(txt::kNewCorrespondent));
    labelDestinataire_->setText(Tr(txt::kNewCorrespondentNumber));
    groupBoxInformation_->setTitle(Tr(txt::kInformation));
    buttons_.Retranslate();
    EditDestinataireChange(editDestinataire_->text());
}

void FormDestinataire::Prepare(const QString& number) {
    editDestinataire_->setText(number);
    editDestinataire_->setFocus();
    EditDestinataireChange(number);
}

std::string FormDestinataire::Number() const {
    return ToCp1252(editDestinataire_->text());
}

void FormDestinataire::EditDestinataireChange(const QString& text) {
    if (text != text.toUpper()) {
        const int cursor = editDestinataire_->cursorPosition();
        editDestinataire_->setText(text.toUpper());  // comes back here
        editDestinataire_->setCursorPosition(cursor);
        return;
    }
    buttons_.executer->setEnabled(false);
    groupBoxInformation_->hide();
    labelInformation_->clear();
    const NumberCheck check = CheckNewCorrespondent(ctx_, ToCp1252(text));
    if (check.information) {
        labelInformation_->setText(Tr(check.information));
        groupBoxInformation_->show();
    }
    buttons_.executer->setEnabled(check.executeEnabled);
    buttons_.executer->setToolTip(check.executeEnabled ? QString()
                                  : check.information  ? Tr(check.information)
                                                       : Tr(txt::kNumberIncomplete));
}

}  // namespace quarnel::ui
