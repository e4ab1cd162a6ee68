// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// New-correspondent dialog: the affiliation number for a key request. Only a
// number that is in no list and is not the holder's own can be sent.

#include "authority/windows/button_row.h"
#include "windowkit/quarnel_dialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace quarnel::ui {

class FormDestinataire : public QuarnelDialog {
    Q_OBJECT
  public:
    FormDestinataire(HolderContext& ctx, QWidget* parent);

    /// The number field emptied and focused.
    void Prepare(const QString& number = {});
    /// The number typed (upper case, code page 1252).
    std::string Number() const;
    QLineEdit& Edit() { return *editDestinataire_; }

    // Handlers.
    void EditDestinataireChange(const QString& text);

  protected:
    void Retranslate() override;

  private:
    QLabel* labelDestinataire_ = nullptr;
    QLineEdit* editDestinataire_ = nullptr;
    QGroupBox* groupBoxInformation_ = nullptr;
    QLabel* labelInformation_ = nullptr;
    ButtonRow buttons_;
};

}  // namespace quarnel::ui
