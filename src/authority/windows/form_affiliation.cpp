// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/windows/form_affiliation.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "authority/texts.h"
#include "authority/windows/button_row.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

struct FieldNames {
    const char* edit;
    const char* label;
};
// By IdField.
constexpr FieldNames kNames[kIdFieldCount] = {
    {"EditSociete", "LbSociete"},   {"EditDepartement", "LbDepartement"},
    {"EditNom", "LbNom"},           {"EditPrenoms", "LbPrenoms"},
    {"EditAdresse", "LbAdresse"},   {"EditCodePostal", "LbCodePostal"},
    {"EditLocalite", "LbLocalite"}, {"EditEntite", "LbEntite"},
    {"EditPays", "LbPays"},         {"EditTelephone", "LbTelephone"},
    {"EditFax", "LbFax"},           {"EditEmail", "LbEmail"},
};

int CaptionOf(IdField f, char category) {
    switch (f) {
        case IdField::Firm:
            return category == 'D' ? txt::kProfessionField : txt::kFirmField;
        case IdField::Department:
            return category == 'D' ? txt::kRegistration : txt::kDepartment;
        case IdField::Surname:
            return txt::kSurnameField;
        case IdField::FirstNames:
            return txt::kFirstNames;
        case IdField::Address:
            return txt::kAddressField;
        case IdField::Postcode:
            return txt::kPostcode;
        case IdField::Locality:
            return txt::kLocality;
        case IdField::Region:
            return txt::kRegion;
        case IdField::Country:
            return txt::kCountry;
        case IdField::Telephone:
            return txt::kTelephone;
        case IdField::Fax:
            return txt::kFax;
        case IdField::Email:
            return txt::kEmail;
    }
    return 0;
}

}  // namespace

AffiliationForm::AffiliationForm(HolderContext& ctx, const char* objectName, char category,
                                 QWidget* parent)
    : QuarnelDialog(ctx, objectName, kHelpAffiliation, parent), category_(category) {
    BuildWidgets();
    Retranslate();
}

FormAffiliationF::FormAffiliationF(HolderContext& ctx, QWidget* parent)
    : AffiliationForm(ctx, "FormAffiliationF", 'F', parent) {}

FormAffiliationD::FormAffiliationD(HolderContext& ctx, QWidget* parent)
    : AffiliationForm(ctx, "FormAffiliationD", 'D', parent) {}

FormAffiliationA::FormAffiliationA(HolderContext& ctx, QWidget* parent)
    : AffiliationForm(ctx, "FormAffiliationA", 'A', parent) {}

bool AffiliationForm::Shown(IdField f) const {
    return category_ != 'A' || (f != IdField::Firm && f != IdField::Department);
}

bool AffiliationForm::Fixed(IdField f) const {
    return prefilled_ && (f == IdField::Surname || f == IdField::FirstNames || f == IdField::Firm);
}

void AffiliationForm::BuildWidgets() {
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    auto addGroup = [&](QGroupBox*& box, const char* name, std::initializer_list<IdField> fields) {
        box = new QGroupBox(this);
        box->setObjectName(name);
        auto* grid = new QGridLayout(box);
        int row = 0;
        for (IdField f : fields) {
            const auto i = std::size_t(f);
            captions_[i] = new QLabel(box);
            edits_[i] = new QLineEdit(box);
            edits_[i]->setObjectName(kNames[i].edit);
            const FieldRule rule = RuleOf(f);
            edits_[i]->setMaxLength(rule.maxLength);
            // The identity is kept in the settings file, one line a field.
            RefuseControlCharacters(*edits_[i]);
            // Room for the longest text the field takes, in its letter case.
            FitToLength(*edits_[i], rule.maxLength, rule.upper ? u'X' : u'x');
            fixed_[i] = new QLabel(box);
            fixed_[i]->setObjectName(kNames[i].label);
            fixed_[i]->hide();
            grid->addWidget(captions_[i], row, 0);
            grid->addWidget(edits_[i], row, 1);
            grid->addWidget(fixed_[i], row, 1);  // in the edit's place when fixed
            ++row;
            connect(edits_[i], &QLineEdit::textEdited, this,
                    [this, f](const QString& text) { FieldEdited(f, text); });
        }
        outer->addWidget(box);
    };
    if (category_ != 'A') {
        addGroup(groupBoxFirme_, "GroupBoxFirme", {IdField::Firm, IdField::Department});
    }
    addGroup(groupBoxDemandeur_, "GroupBoxDemandeur",
             {IdField::Surname, IdField::FirstNames, IdField::Address, IdField::Postcode,
              IdField::Locality, IdField::Region, IdField::Country, IdField::Telephone,
              IdField::Fax, IdField::Email});

    groupBoxListe_ = new QGroupBox(this);
    groupBoxListe_->setObjectName("GroupBoxListe");
    auto* radios = new QHBoxLayout(groupBoxListe_);
    radioBtnOui_ = new QRadioButton(groupBoxListe_);
    radioBtnOui_->setObjectName("RadioBtnOui");
    radioBtnNon_ = new QRadioButton(groupBoxListe_);
    radioBtnNon_->setObjectName("RadioBtnNon");
    radios->addWidget(radioBtnOui_);
    radios->addWidget(radioBtnNon_);
    choix_ = new QButtonGroup(this);
    choix_->addButton(radioBtnOui_);
    choix_->addButton(radioBtnNon_);
    connect(choix_, &QButtonGroup::buttonClicked, this, &AffiliationForm::UpdateExecuteButton);
    outer->addWidget(groupBoxListe_);

    buttons_ = AddButtonRow(*this, *outer);
    connect(buttons_.executer, &QPushButton::clicked, this, &AffiliationForm::BitBtnExecuterClick);
}

void AffiliationForm::Retranslate() {
    setWindowTitle(Tr(txt::kAffiliationCaption));
    if (groupBoxFirme_) {
        groupBoxFirme_->setTitle(Tr(category_ == 'D' ? txt::kGroupProfession : txt::kGroupFirm));
    }
    groupBoxDemandeur_->setTitle(Tr(txt::kGroupApplicant));
    for (std::size_t i = 0; i < kIdFieldCount; ++i) {
        if (captions_[i]) captions_[i]->setText(Tr(CaptionOf(IdField(i), category_)));
    }
    groupBoxListe_->setTitle(Tr(txt::kGroupPublicList));
    radioBtnOui_->setText(Tr(txt::kYesChoice));
    radioBtnNon_->setText(Tr(txt::kNoChoice));
    buttons_.Retranslate();
}

void AffiliationForm::PrepareFresh() {
    prefilled_ = false;
    for (std::size_t i = 0; i < kIdFieldCount; ++i) {
        if (!edits_[i]) continue;
        edits_[i]->clear();
        edits_[i]->show();
        fixed_[i]->clear();
        fixed_[i]->hide();
        accepted_[i].clear();
    }
    choix_->setExclusive(false);
    radioBtnOui_->setChecked(false);
    radioBtnNon_->setChecked(false);
    choix_->setExclusive(true);
    edits_[std::size_t(category_ == 'A' ? IdField::Surname : IdField::Firm)]->setFocus();
    UpdateExecuteButton();
}

void AffiliationForm::PrepareFromIdentity() {
    PrepareFresh();
    prefilled_ = true;
    const auto entry = EntryFromIdentity(category_, ctx_.settings.identity);
    if (!entry) {
        // No stored identity of this category: the form starts fresh.
        prefilled_ = false;
        return;
    }
    for (IdField f : FieldsOf(category_)) {
        const auto i = std::size_t(f);
        const QString text = FromCp1252((*entry)[f]);
        edits_[i]->setText(text);
        accepted_[i] = text;
        fixed_[i]->setText(text);
        edits_[i]->setVisible(!Fixed(f));
        fixed_[i]->setVisible(Fixed(f));
    }
    (*entry->publicList ? radioBtnOui_ : radioBtnNon_)->setChecked(true);
    edits_[std::size_t(IdField::Address)]->setFocus();
    UpdateExecuteButton();
}

void AffiliationForm::FieldEdited(IdField f, const QString& text) {
    const auto i = std::size_t(f);
    QLineEdit& edit = *edits_[i];
    const FieldRule rule = RuleOf(f);
    if (const auto refusal = RefuseFieldText(f, text.toStdString())) {
        // The cursor goes back to where the refused characters began.
        const qsizetype cursor = edit.cursorPosition() - (text.size() - accepted_[i].size());
        edit.setText(accepted_[i]);
        edit.setCursorPosition(int(std::max<qsizetype>(0, cursor)));
        Inform(this, Tr(refusal->text, {QString::fromStdString(refusal->character)}));
        return;
    }
    const QString cased = rule.upper ? text.toUpper() : text.toLower();
    if (cased != text) {
        const int cursor = edit.cursorPosition();
        edit.setText(cased);
        edit.setCursorPosition(cursor);
    }
    accepted_[i] = cased;
    UpdateExecuteButton();
}

AffiliationEntry AffiliationForm::Entry() const {
    AffiliationEntry entry;
    for (IdField f : FieldsOf(category_)) {
        const auto i = std::size_t(f);
        // The fixed names go back exactly as stored: the seal covers them.
        entry[f] = ToCp1252(Fixed(f) ? fixed_[i]->text() : edits_[i]->text().trimmed());
    }
    if (radioBtnOui_->isChecked()) entry.publicList = true;
    if (radioBtnNon_->isChecked()) entry.publicList = false;
    return entry;
}

void AffiliationForm::UpdateExecuteButton() {
    const auto blocked = ExecuteBlocked(category_, prefilled_, Entry());
    buttons_.executer->setEnabled(!blocked);
    QString why;
    if (blocked && blocked->field) {
        why = Tr(txt::kFieldToFill, {Tr(CaptionOf(*blocked->field, category_)).simplified()});
    } else if (blocked) {
        why = Tr(txt::kChoosePublicList);
    }
    buttons_.executer->setToolTip(why);
}

void AffiliationForm::BitBtnExecuterClick() {
    const AffiliationEntry entry = Entry();
    if (!ExecuteEnabled(category_, prefilled_, entry)) return;
    ApplyAffiliationEntry(ctx_, entry);
    accept();
}

}  // namespace quarnel::ui
