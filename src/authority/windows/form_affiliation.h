// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Affiliation forms, one per category (F employee, D independent, A private
// person): the identity sent to the TA. Fresh in state 0; pre-filled from the
// stored identity in states 1-5, with the names (and the firm or profession)
// fixed. The rules live in authority/forms.h.

#include <array>

#include "authority/forms.h"
#include "authority/windows/button_row.h"
#include "windowkit/quarnel_dialog.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace quarnel::ui {

class AffiliationForm : public QuarnelDialog {
    Q_OBJECT
  public:
    AffiliationForm(HolderContext& ctx, const char* objectName, char category, QWidget* parent);

    /// State 0: every field empty and editable, neither "oui" nor "non".
    void PrepareFresh();
    /// States 1-5: the stored identity; Nom, Prénoms (and Société or
    /// Profession) shown as fixed labels.
    void PrepareFromIdentity();

    /// What the form holds now (code page 1252).
    AffiliationEntry Entry() const;

    // Handlers.
    void UpdateExecuteButton();
    void BitBtnExecuterClick();

  protected:
    void Retranslate() override;

  private:
    void BuildWidgets();
    void FieldEdited(IdField field, const QString& text);
    bool Shown(IdField field) const;
    bool Fixed(IdField field) const;

    char category_;
    bool prefilled_ = false;
    std::array<QLineEdit*, kIdFieldCount> edits_{};
    std::array<QLabel*, kIdFieldCount> captions_{};
    std::array<QLabel*, kIdFieldCount> fixed_{};   ///< pre-filled names, firm
    std::array<QString, kIdFieldCount> accepted_;  ///< last text without diacritics
    QGroupBox* groupBoxFirme_ = nullptr;
    QGroupBox* groupBoxDemandeur_ = nullptr;
    QGroupBox* groupBoxListe_ = nullptr;
    QButtonGroup* choix_ = nullptr;
    QRadioButton* radioBtnOui_ = nullptr;
    QRadioButton* radioBtnNon_ = nullptr;
    ButtonRow buttons_;
};

class FormAffiliationF : public AffiliationForm {
    Q_OBJECT
  public:
    FormAffiliationF(HolderContext& ctx, QWidget* parent);
};

class FormAffiliationD : public AffiliationForm {
    Q_OBJECT
  public:
    FormAffiliationD(HolderContext& ctx, QWidget* parent);
};

class FormAffiliationA : public AffiliationForm {
    Q_OBJECT
  public:
    FormAffiliationA(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
