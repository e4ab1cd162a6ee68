// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/form_options.h"

#include "holder/program_state.h"
#include "windowkit/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/texts.h"
#include "crypto/bignum.h"
#include "crypto/random.h"
#include "crypto/secret.h"
#include "holder/texts.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

struct FolderRow {
    const char* button;
    const char* label;
    int caption;
};
// By tag.
constexpr FolderRow kFolderRows[kFolderCount] = {
    {"ButtonClef", "LbRepClef", txt::kKeyFolder},
    {"ButtonMsgS", "LbRepMsgS", txt::kOutgoingMessagesFolder},
    {"ButtonFich", "LbRepFichS", txt::kOutgoingFilesFolder},
    {"ButtonChifS", "LbRepChifS", txt::kSentLabel},
    {"ButtonChifE", "LbRepChifE", txt::kReceivedLabel},
    {"ButtonMsgE", "LbRepMsgE", txt::kIncomingMessagesFolder},
    {"ButtonFichDechif", "LbRepFichE", txt::kIncomingFilesFolder},
    {"ButtonCerti", "LbRepCerti", txt::kCertificatesFolder},
};

QString WithoutTrailingSlash(const std::string& folder) {
    std::string shown = folder;
    if (shown.size() > 1 && shown.back() == '/') shown.pop_back();
    return FromCp1252(shown);
}

/// A caption and its edit as one row of a form.
QLineEdit* AddRow(QFormLayout* form, QLabel*& caption, const char* captionName,
                  const char* editName) {
    caption = Named(new QLabel, captionName);
    auto* edit = Named(new QLineEdit, editName);
    form->addRow(caption, edit);
    return edit;
}

}  // namespace

QString ExposedFolderText(const ExposedFolder& exposed) {
    static constexpr int kReasons[] = {txt::kReasonDataFolder, txt::kReasonKeyFolder,
                                       txt::kReasonProgramFolder};
    return Tr(txt::kFolderExposed,
              {WithoutTrailingSlash(exposed.folder), Tr(kReasons[int(exposed.reason)])});
}

FormOptions::FormOptions(HolderContext& ctx, AuthorityState& auth, QWidget* parent)
    : QuarnelDialog(ctx, "FormOptions", kHelpOptions, parent), auth_(auth) {
    BuildWidgets();
    Retranslate();
}

FormOptions::~FormOptions() = default;

void FormOptions::BuildWidgets() {
    setModal(true);
    pageControl_ = Named(new QTabWidget(this), "PageControl");

    BuildGeneralTab();
    BuildFoldersTab();
    BuildNetworkTab();

    bitBtnOk_ = Named(new QPushButton, "BitBtnOk");
    bitBtnOk_->setDefault(true);
    bitBtnOk_->setEnabled(false);
    bitBtnAnnuler_ = Named(new QPushButton, "BitBtnAnnuler");
    bitBtnAnnuler_->setAutoDefault(false);
    bitBtnAide_ = Named(new QPushButton, "BitBtnAide");
    bitBtnAide_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bitBtnOk_);
    buttons->addWidget(bitBtnAnnuler_);
    buttons->addWidget(bitBtnAide_);

    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);
    root->addWidget(pageControl_);
    root->addLayout(buttons);

    ConnectFields();
}

void FormOptions::BuildGeneralTab() {
    tabSheetGeneral_ = Named(new QWidget, "TabSheetGeneral");
    auto* general = new QHBoxLayout(tabSheetGeneral_);
    auto* left = new QVBoxLayout;
    auto* langue = new QHBoxLayout;
    labelLangue_ = Named(new QLabel, "LabelLangue");
    comboBoxLangue_ = Named(new QComboBox, "ComboBoxLangue");
    comboBoxLangue_->addItems({QString(), QString()});
    langue->addWidget(labelLangue_);
    langue->addWidget(comboBoxLangue_);
    langue->addStretch();
    left->addLayout(langue);
    groupBoxUsage_ = Named(new QGroupBox, "GroupBoxUsage");
    auto* usage = new QVBoxLayout(groupBoxUsage_);
    radioBtnFirme_ = Named(new QRadioButton, "RadioBtnFirme");
    radioBtnIndependant_ = Named(new QRadioButton, "RadioBtnIndependant");
    radioBtnPrive_ = Named(new QRadioButton, "RadioBtnPrive");
    for (QRadioButton* r : {radioBtnFirme_, radioBtnIndependant_, radioBtnPrive_}) {
        usage->addWidget(r);
        connect(r, &QRadioButton::toggled, this, &FormOptions::UpdateOk);
    }
    left->addWidget(groupBoxUsage_);
    btnInitClef_ = Named(new QPushButton, "BtnInitClef");
    btnInitClef_->setAutoDefault(false);
    left->addWidget(btnInitClef_);
    groupBoxMail_ = Named(new QGroupBox, "GroupBoxMail");
    auto* mail = new QFormLayout(groupBoxMail_);
    editSmtp_ = AddRow(mail, labelSmtp_, "LabelSmtp", "EditSmtp");
    editPop3_ = AddRow(mail, labelPop3_, "LabelPop3", "EditPop3");
    labelFormes_ = Named(new QLabel, "LabelFormes");
    labelFormes_->setEnabled(false);  // drawn grey: a hint, not a field
    mail->addRow(labelFormes_);
    editId_ = AddRow(mail, labelId_, "LabelId", "EditId");
    editPasse_ = AddRow(mail, labelPasse_, "LabelPasse", "EditPasse");
    editPasse_->setEchoMode(QLineEdit::Password);
    left->addWidget(groupBoxMail_);
    left->addStretch();
    general->addLayout(left);

    groupBoxTa_ = Named(new QGroupBox, "GroupBoxTa");
    auto* ta = new QGridLayout(groupBoxTa_);
    labelCode_ = Named(new QLabel, "LabelCode");
    lbCode_ = Named(new QLabel, "LbCode");
    labelAdresseTa_ = Named(new QLabel, "LabelAdresseTa");
    editAdresseTa_ = Named(new QLineEdit, "EditAdresseTa");
    labelPortTa_ = Named(new QLabel, "LabelPortTa");
    radioBtnA_ = Named(new QRadioButton, "RadioBtnA");
    radioBtnB_ = Named(new QRadioButton, "RadioBtnB");
    radioBtnA_->setChecked(true);
    labelCertificat_ = Named(new QLabel, "LabelCertificat");
    lbCertificat_ = Named(new QLabel, "LbCertificat");
    lbCertificat_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lbCertificat_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    labelCerAvis_ = Named(new QLabel, "LabelCerAvis");
    labelCerAvis_->setWordWrap(true);
    auto* ports = new QHBoxLayout;
    ports->addWidget(radioBtnA_);
    ports->addWidget(radioBtnB_);
    ports->addStretch();
    ta->addWidget(labelCode_, 0, 0);
    ta->addWidget(lbCode_, 0, 1);
    ta->addWidget(labelAdresseTa_, 1, 0);
    ta->addWidget(editAdresseTa_, 1, 1);
    ta->addWidget(labelPortTa_, 2, 0);
    ta->addLayout(ports, 2, 1);
    ta->addWidget(labelCertificat_, 3, 0, 1, 2);
    ta->addWidget(lbCertificat_, 4, 0, 1, 2);
    ta->addWidget(labelCerAvis_, 5, 0, 1, 2);
    ta->setRowStretch(6, 1);
    general->addWidget(groupBoxTa_, 1);
    pageControl_->addTab(tabSheetGeneral_, QString());
}

void FormOptions::BuildFoldersTab() {
    tabSheetRepertoire_ = Named(new QWidget, "TabSheetRepertoire");
    auto* folders = new QVBoxLayout(tabSheetRepertoire_);
    groupBoxChiffres_ = Named(new QGroupBox, "GroupBoxChiffres");
    auto* chiffres = new QVBoxLayout(groupBoxChiffres_);
    for (int tag = 0; tag < kFolderCount; ++tag) {
        const FolderRow& row = kFolderRows[tag];
        folderCaptions_[tag] = new QLabel;
        folderLabels_[tag] = Named(new QLabel, row.label);
        folderLabels_[tag]->setTextFormat(Qt::PlainText);
        folderLabels_[tag]->setFrameShape(QFrame::StyledPanel);
        folderLabels_[tag]->setMinimumWidth(360);
        folderButtons_[tag] = Named(new QPushButton, row.button);
        folderButtons_[tag]->setAutoDefault(false);
        auto* line = new QHBoxLayout;
        line->addWidget(folderLabels_[tag], 1);
        line->addWidget(folderButtons_[tag]);
        QVBoxLayout* into = (tag == 3 || tag == 4) ? chiffres : folders;
        into->addWidget(folderCaptions_[tag]);
        into->addLayout(line);
        if (tag == 4) folders->addWidget(groupBoxChiffres_);
        connect(folderButtons_[tag], &QPushButton::clicked, this,
                [this, tag] { ModifierClick(tag); });
    }
    folders->addStretch();
    pageControl_->addTab(tabSheetRepertoire_, QString());
}

void FormOptions::BuildNetworkTab() {
    tabSheetReseau_ = Named(new QWidget, "TabSheetReseau");
    auto* reseau = new QVBoxLayout(tabSheetReseau_);
    groupBoxProxy_ = Named(new QGroupBox, "GroupBoxProxy");
    auto* proxy = new QFormLayout(groupBoxProxy_);
    editAdresseProxy_ = AddRow(proxy, labelAdresseProxy_, "LabelAdresseProxy", "EditAdresseProxy");
    editPortProxy_ = AddRow(proxy, labelPortProxy_, "LabelPortProxy", "EditPortProxy");
    // Digits only, typed or pasted; Backspace and Delete still work.
    editPortProxy_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), this));
    editPortProxy_->setMaxLength(5);
    reseau->addWidget(groupBoxProxy_);
    groupBoxReleve_ = Named(new QGroupBox, "GroupBoxReleve");
    auto* releve = new QHBoxLayout(groupBoxReleve_);
    checkReleve_ = Named(new QCheckBox, "CheckReleve");
    spinMinutes_ = Named(new QSpinBox, "SpinMinutes");
    spinMinutes_->setRange(kMinRetrievalMinutes, kMaxRetrievalMinutes);
    labelMinutes_ = Named(new QLabel, "LabelMinutes");
    releve->addWidget(checkReleve_);
    releve->addWidget(spinMinutes_);
    releve->addWidget(labelMinutes_);
    releve->addStretch();
    reseau->addWidget(groupBoxReleve_);
    reseau->addStretch();
    pageControl_->addTab(tabSheetReseau_, QString());
}

void FormOptions::ConnectFields() {
    connect(comboBoxLangue_, &QComboBox::activated, this, &FormOptions::ComboBoxLangueChange);
    for (QLineEdit* e : {editAdresseTa_, editSmtp_, editPop3_, editId_, editPasse_,
                         editAdresseProxy_, editPortProxy_}) {
        KeepCp1252(*e);
    }
    // The settings file is a file of lines (the port takes digits only).
    for (QLineEdit* e : {editAdresseTa_, editSmtp_, editPop3_, editId_, editAdresseProxy_})
        RefuseControlCharacters(*e);
    for (QLineEdit* e :
         {editAdresseTa_, editSmtp_, editPop3_, editId_, editAdresseProxy_, editPortProxy_}) {
        connect(e, &QLineEdit::textChanged, this, [this] {
            fieldChanged_ = true;
            UpdateOk();
        });
    }
    for (QRadioButton* r : {radioBtnA_, radioBtnB_}) {
        connect(r, &QRadioButton::clicked, this, [this] {
            fieldChanged_ = true;
            UpdateOk();
        });
    }
    connect(editPasse_, &QLineEdit::textChanged, this, [this] {
        passwordChanged_ = true;
        UpdateOk();
    });
    connect(btnInitClef_, &QPushButton::clicked, this, &FormOptions::BtnInitClefClick);
    connect(bitBtnOk_, &QPushButton::clicked, this, &FormOptions::BitBtnOkClick);
    connect(bitBtnAnnuler_, &QPushButton::clicked, this, &QDialog::reject);
    connect(bitBtnAide_, &QPushButton::clicked, this, &FormOptions::ShowHelp);
}

void FormOptions::Retranslate() {
    setWindowTitle(ctx_.State() == ProgramState::NotInitialised ? Tr(txt::kInitialisation)
                                                                : Tr(txt::kOptionsCaption));
    pageControl_->setTabText(0, Tr(txt::kGeneral));
    pageControl_->setTabText(1, Tr(txt::kFoldersTab));
    pageControl_->setTabText(2, Tr(txt::kNetworkTab));
    labelLangue_->setText(Tr(txt::kLanguage));
    comboBoxLangue_->setItemText(0, Tr(txt::kEnglish));
    comboBoxLangue_->setItemText(1, Tr(txt::kFrench));
    groupBoxUsage_->setTitle(Tr(txt::kUserGroup));
    radioBtnFirme_->setText(Tr(txt::kEmployee));
    radioBtnIndependant_->setText(Tr(txt::kIndependent));
    radioBtnPrive_->setText(Tr(txt::kPrivatePerson));
    groupBoxTa_->setTitle(Tr(txt::kTrustedAuthority));
    labelCode_->setText(Tr(txt::kIdentificationCode));
    labelAdresseTa_->setText(Tr(txt::kAddress));
    labelPortTa_->setText(Tr(txt::kPort));
    radioBtnA_->setText(Tr(txt::kPortFree));
    radioBtnB_->setText(Tr(txt::kPort80));
    labelCertificat_->setText(Tr(txt::kCertificateDigest));
    labelCerAvis_->setText(Tr(txt::kCheckCertificate));
    groupBoxMail_->setTitle(Tr(txt::kMailGroup));
    labelSmtp_->setText(Tr(txt::kSmtp));
    labelPop3_->setText(Tr(txt::kPop3));
    labelFormes_->setText(Tr(txt::kSmtpForms) + '\n' + Tr(txt::kPop3Forms));
    labelId_->setText(Tr(txt::kAccountNameLabel));
    labelPasse_->setText(Tr(txt::kPasswordLabel));
    groupBoxChiffres_->setTitle(Tr(txt::kEncryptedFolder));
    for (int tag = 0; tag < kFolderCount; ++tag) {
        folderCaptions_[tag]->setText(Tr(kFolderRows[tag].caption));
        folderButtons_[tag]->setText(Tr(txt::kChangeButton));
    }
    groupBoxProxy_->setTitle(Tr(txt::kLocalNetwork));
    labelAdresseProxy_->setText(Tr(txt::kAddress));
    labelPortProxy_->setText(Tr(txt::kPort));
    groupBoxReleve_->setTitle(Tr(txt::kMailCollection));
    checkReleve_->setText(Tr(txt::kCollectEvery));
    labelMinutes_->setText(Tr(txt::kMinutes));
    for (QWidget* w : std::initializer_list<QWidget*>{checkReleve_, spinMinutes_})
        w->setToolTip(Tr(txt::kCollectionExplained));
    bitBtnOk_->setText(Tr(txt::kOk));
    bitBtnAnnuler_->setText(Tr(txt::kCancelButton));
    bitBtnAide_->setText(Tr(txt::kHelpButton));
    ShowKeyButtonCaption();
}

void FormOptions::ShowKeyButtonCaption() {
    btnInitClef_->setText(clickCounter_ == 8
                              ? Tr(txt::kClickEightTimes)
                              : Tr(txt::kClickButton) + ' ' + QString::number(clickCounter_) + ' ' +
                                    Tr(txt::kTimesIrregularPace));
}

void FormOptions::ShowFolders() {
    for (int tag = 0; tag < kFolderCount; ++tag) {
        folderLabels_[tag]->setText(WithoutTrailingSlash(folders_[tag]));
    }
}

void FormOptions::ResetFlags() {
    fieldChanged_ = false;
    passwordChanged_ = false;
}

void FormOptions::PrepareFirstInitialisation() {
    clickCounter_ = 8;
    btnInitClef_->setEnabled(true);
    editPasse_->clear();
    comboBoxLangue_->setCurrentIndex(ctx_.settings.language);
    groupBoxUsage_->setEnabled(true);
    SetDefaultFolders(ctx_);
    FinishPreparation();
}

void FormOptions::PrepareFromSettings() {
    const Settings& s = ctx_.settings;
    // The identity's layout follows the category: once initialised it stays.
    for (QRadioButton* r : {radioBtnFirme_, radioBtnIndependant_, radioBtnPrive_}) {
        r->setAutoExclusive(false);
        r->setChecked(false);
        r->setAutoExclusive(true);
    }
    if (s.category == 'A') radioBtnPrive_->setChecked(true);
    if (s.category == 'D') radioBtnIndependant_->setChecked(true);
    if (s.category == 'F') radioBtnFirme_->setChecked(true);
    groupBoxUsage_->setEnabled(false);
    lbCode_->setText(FromCp1252(s.taCode));
    comboBoxLangue_->setCurrentIndex(s.language);
    editAdresseTa_->setText(FromCp1252(s.taAddress));
    (s.taPortChoice == 'A' ? radioBtnA_ : radioBtnB_)->setChecked(true);
    editSmtp_->setText(FromCp1252(s.smtpServer));
    editPop3_->setText(FromCp1252(s.pop3Server));
    editId_->setText(FromCp1252(s.accountName));
    if (ctx_.State() == ProgramState::NotAffiliated) {
        editPasse_->clear();
        btnInitClef_->setEnabled(true);
        clickCounter_ = 8;
    } else {
        editPasse_->setText(QString(10, u' '));
        btnInitClef_->setEnabled(false);
        clickCounter_ = 0;
    }
    const bool noProxy = s.proxyAddress == "-";
    editAdresseProxy_->setText(noProxy ? QString() : FromCp1252(s.proxyAddress));
    editPortProxy_->setText(noProxy ? QString() : FromCp1252(s.proxyPort));
    FinishPreparation();
}

void FormOptions::FinishPreparation() {
    exponent_.Wipe();
    for (int tag = 0; tag < kFolderCount; ++tag)
        folders_[tag] = FolderSettingByTag(ctx_.settings, tag);
    ShowFolders();
    checkReleve_->setChecked(ctx_.preferences.autoRetrieval);
    spinMinutes_->setValue(ctx_.preferences.retrievalMinutes);
    Retranslate();  // the caption follows the state, the key button its counter
    ResetFlags();
}

void FormOptions::SetTaParameters() {
    // No parameter file (an affiliated holder may do without): the code the
    // settings hold, and no digest to show.
    const bool read = !ctx_.ta.code.empty();
    lbCode_->setText(read ? QString::fromStdString(ctx_.ta.code)
                          : FromCp1252(ctx_.settings.taCode));
    lbCertificat_->setText(read ? QString::fromStdString(QuadToHex(ctx_.ta.digest)) : QString());
}

void FormOptions::DisableCancel() {
    bitBtnAnnuler_->setEnabled(false);
}

void FormOptions::showEvent(QShowEvent* event) {
    QuarnelDialog::showEvent(event);
    if (event->spontaneous()) return;
    bitBtnOk_->setEnabled(false);
    pageControl_->setCurrentWidget(tabSheetGeneral_);
    if (ctx_.State() == ProgramState::NotAffiliated) btnInitClef_->setFocus();
    UpdateOk();
}

void FormOptions::reject() {
    if (bitBtnAnnuler_->isEnabled()) QDialog::reject();
}

void FormOptions::ComboBoxLangueChange(int index) {
    if (index == ctx_.settings.language) return;
    // Affiliated, the switch locks the program until the affiliation is
    // updated: said before, and the person may keep the language.
    if (ctx_.State() == ProgramState::Affiliated &&
        Ask(this, BoxIcon::Question, Tr(txt::kLanguageWarning), kYes | kCancel,
            {{kCancel, Tr(txt::kKeepLanguage)}, {kYes, Tr(txt::kChangeLanguage)}}) != kYes) {
        const QSignalBlocker quiet(comboBoxLangue_);
        comboBoxLangue_->setCurrentIndex(ctx_.settings.language);
        return;
    }
    ctx_.settings.language = index;
    languageChanged_ = true;
    done(kResultNo);
}

OptionsFields FormOptions::Fields() const {
    OptionsFields f;
    f.categoryChosen = radioBtnFirme_->isChecked() || radioBtnIndependant_->isChecked() ||
                       radioBtnPrive_->isChecked();
    f.clickCounter = clickCounter_;
    f.taAddressEmpty = editAdresseTa_->text().isEmpty();
    f.smtpEmpty = editSmtp_->text().isEmpty();
    f.pop3Empty = editPop3_->text().isEmpty();
    f.accountEmpty = editId_->text().isEmpty();
    f.passwordEmpty = editPasse_->text().isEmpty();
    f.anyWorkingFolderEmpty = false;
    for (int tag = 1; tag < kFolderCount; ++tag) {
        if (folderLabels_[tag]->text().isEmpty()) f.anyWorkingFolderEmpty = true;
    }
    f.proxyAddressEmpty = editAdresseProxy_->text().isEmpty();
    f.proxyPortEmpty = editPortProxy_->text().isEmpty();
    return f;
}

void FormOptions::KeepCp1252(QLineEdit& edit) {
    static constexpr char kAccepted[] = "acceptedText";
    // The last text the code page can hold, typed or set.
    connect(&edit, &QLineEdit::textChanged, this, [&edit] {
        if (!RefusedCharacter(edit.text().toStdString())) edit.setProperty(kAccepted, edit.text());
    });
    connect(&edit, &QLineEdit::textEdited, this, [this, &edit](const QString& text) {
        const auto refused = RefusedCharacter(text.toStdString());
        if (!refused) return;
        edit.setText(edit.property(kAccepted).toString());
        Inform(this, Tr(txt::kCharacterNotAllowed, {QString::fromStdString(*refused)}));
    });
}

QString FormOptions::OkToolTip(const OkState& state) const {
    if (state.missing.empty()) return {};
    QStringList lines{Tr(txt::kOkOnceDone)};
    for (OkMissing m : state.missing) {
        switch (m) {
            case OkMissing::Category:
                lines << Tr(txt::kOkCategory);
                break;
            case OkMissing::Clicks:
                lines << Tr(txt::kOkClicks, {QString::number(clickCounter_)});
                break;
            case OkMissing::TaAddress:
                lines << Tr(txt::kOkAuthorityAddress);
                break;
            case OkMissing::Smtp:
                lines << Tr(txt::kOkMailField, {Tr(txt::kSmtp)});
                break;
            case OkMissing::Pop3:
                lines << Tr(txt::kOkMailField, {Tr(txt::kPop3)});
                break;
            case OkMissing::Account:
                lines << Tr(txt::kOkMailField, {Tr(txt::kAccountNameLabel)});
                break;
            case OkMissing::Password:
                lines << Tr(txt::kOkMailField, {Tr(txt::kPasswordLabel)});
                break;
            case OkMissing::Folder:
                lines << Tr(txt::kOkFolder);
                break;
            case OkMissing::Proxy:
                lines << Tr(txt::kOkProxy);
                break;
        }
    }
    return lines.join(QStringLiteral("\n- "));
}

void FormOptions::UpdateOk() {
    const OkState s = quarnel::UpdateOk(Fields());
    bitBtnOk_->setEnabled(s.ok);
    bitBtnOk_->setToolTip(OkToolTip(s));
    if (s.enableCancel) bitBtnAnnuler_->setEnabled(true);
    switch (s.ports) {
        case PortButtons::Unchanged:
            break;
        case PortButtons::Free:
            radioBtnA_->setEnabled(true);
            radioBtnB_->setEnabled(true);
            break;
        case PortButtons::Forced80:
            radioBtnB_->setChecked(true);
            radioBtnA_->setEnabled(false);
            radioBtnB_->setEnabled(false);
            break;
    }
}

void FormOptions::BtnInitClefClick() {
    if (clickCounter_ == 0) return;
    KeyClick(*exponent_, clickCounter_);
    ShowKeyButtonCaption();
    if (clickCounter_ == 0) {
        btnInitClef_->setEnabled(false);
        KeySetup setup = KeyInitialise(*exponent_, ctx_.ta.publicValue);
        auth_.publicHex = setup.publicHex;
        auth_.publicDigest = setup.publicDigest;
        auth_.taKey = std::move(setup.taKey);
        exponent_.Wipe();
        if (ctx_.State() == ProgramState::NotAffiliated) editPasse_->setFocus();
    }
    UpdateOk();
}

void FormOptions::ModifierClick(int tag) {
    const auto chosen = ChooseFolder(this, Tr(txt::kChooseFolder),
                                     QString::fromStdString(ctx_.dataFolder.string()));
    if (!chosen) return;
    std::string refused;
    const auto setting = ChosenFolderSetting(chosen->toStdString(), refused);
    if (!setting) {
        (void)Ask(this, BoxIcon::Warning,
                  Tr(txt::kFolderNotRepresentable, {*chosen, QString::fromStdString(refused)}),
                  kOk);
        return;
    }
    // A folder that takes in what others name never holds the program's own
    // files: a mail could plant one there. Only what this choice brings
    // together is looked at (a clash the settings held before is the next
    // one to mend, and start-up names it).
    FolderSettings probe{};
    probe[0] = tag == 0 ? *setting : folders_[0];
    for (const int working : {3, 4, 5, 6}) {
        probe[std::size_t(working)] = working == tag ? *setting
                                      : tag == 0     ? folders_[std::size_t(working)]
                                                     : std::string();
    }
    const bool keys = tag == 0;
    if (const auto exposed =
            FirstExposedFolder(probe, keys ? std::filesystem::path() : ctx_.dataFolder,
                               keys ? std::filesystem::path() : ctx_.programFolder)) {
        (void)Ask(this, BoxIcon::Warning, ExposedFolderText(*exposed), kOk);
        return;
    }
    folders_[tag] = *setting;
    ShowFolders();
    UpdateOk();
}

void FormOptions::BitBtnOkClick() {
    if (!bitBtnOk_->isEnabled()) return;
    const Settings& s = ctx_.settings;
    OptionsInput in;
    in.category = radioBtnFirme_->isChecked() ? 'F' : radioBtnIndependant_->isChecked() ? 'D' : 'A';
    in.taAddress = ToCp1252(editAdresseTa_->text());
    in.portChoice = radioBtnA_->isChecked() ? 'A' : 'B';
    in.smtpServer = ToCp1252(editSmtp_->text());
    in.pop3Server = ToCp1252(editPop3_->text());
    in.accountName = ToCp1252(editId_->text());
    in.proxyAddress = ToCp1252(editAdresseProxy_->text());
    in.proxyPort = ToCp1252(editPortProxy_->text());
    in.folders = folders_;
    in.keyFolderChanged = folders_[0] != s.keyFolder;
    for (int tag = 1; tag < kFolderCount; ++tag) {
        if (folders_[tag] != FolderSettingByTag(s, tag)) in.folderChanged = true;
    }
    in.fieldChanged = fieldChanged_;
    in.languageChanged = languageChanged_;
    in.passwordChanged = passwordChanged_;
    in.password = SecretString(ToCp1252(editPasse_->text()));
    const ProgramState state = ctx_.State();
    const OptionsResult result = ApplyOptions(ctx_, auth_, in);
    switch (result.outcome) {
        case OptionsOutcome::Closed:
            break;
        case OptionsOutcome::FolderNotCreated:
            (void)Ask(
                this, BoxIcon::Warning,
                Tr(txt::kFolderNotCreated, {QString::fromStdString(result.failedFolder.string())}),
                kOk);
            return;
        case OptionsOutcome::KeysNotMoved:
            (void)Ask(
                this, BoxIcon::Warning,
                Tr(txt::kKeysNotMoved, {QString::fromStdString(result.failedFolder.string())}),
                kOk);
            return;
        case OptionsOutcome::SettingsRefused:
            (void)Ask(this, BoxIcon::Warning, Tr(txt::kSettingsRefused), kOk);
            return;
        case OptionsOutcome::Abandoned:
            return;
    }
    if (!SavePreferencesChosen()) return;
    // The typed password no longer stands in the control.
    if (!IsAffiliatedState(state) || passwordChanged_) {
        const QSignalBlocker quiet(editPasse_);
        editPasse_->setText(QString::fromStdString(RandomHex32()));
    }
    ResetFlags();
    accept();
}

bool FormOptions::SavePreferencesChosen() {
    Preferences chosen = ctx_.preferences;
    chosen.autoRetrieval = checkReleve_->isChecked();
    chosen.retrievalMinutes = ClampRetrievalMinutes(spinMinutes_->value());
    if (chosen.SameChoices(ctx_.preferences)) return true;
    // Ignore keeps the choice for this run only.
    if (SavePreferences(chosen, ctx_.dataFolder, ctx_.Hooks().onSaveFailure) == SaveResult::Aborted)
        return false;
    ctx_.preferences = std::move(chosen);
    Q_EMIT PreferencesChanged();
    return true;
}

}  // namespace quarnel::ui
