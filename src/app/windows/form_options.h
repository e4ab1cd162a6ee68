// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FormOptions: first initialisation ("Initialisation") and later changes of
// the settings ("Options"): language, category, TA, mail, proxy, folders, and
// the eight clicks of the key set-up.

#include <array>
#include <string>

#include "app/options.h"
#include "crypto/secret.h"
#include "crypto/types.h"
#include "windowkit/quarnel_dialog.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace quarnel::ui {

/// Why a working folder is refused (FirstExposedFolder), naming it.
QString ExposedFolderText(const ExposedFolder& exposed);

class FormOptions : public QuarnelDialog {
    Q_OBJECT
  public:
    FormOptions(HolderContext& ctx, AuthorityState& auth, QWidget* parent);
    ~FormOptions() override;

    /// State 0: eight clicks needed, empty password, default folders.
    void PrepareFirstInitialisation();
    /// States 1 to 5: the fields from the settings; eight new clicks in
    /// state 1, none later (the password field then shows ten blanks).
    void PrepareFromSettings();
    /// LbCode and LbCertificat from ctx.ta.
    void SetTaParameters();
    /// The dialog shown again after a language switch cannot be cancelled,
    /// unless UpdateOk finds it cannot be confirmed either.
    void DisableCancel();

    // Handlers.
    void UpdateOk();
    void BtnInitClefClick();
    void ModifierClick(int tag);
    void BitBtnOkClick();

    /// Escape and the close box act as Annuler, and not while it is disabled.
    void reject() override;

  Q_SIGNALS:
    /// Ok changed ctx.preferences (and saved them).
    void PreferencesChanged();

  protected:
    void Retranslate() override;
    void showEvent(QShowEvent* event) override;

  private:
    AuthorityState& auth_;

    void BuildWidgets();
    void BuildGeneralTab();  ///< language, category, key button, mail, authority
    void BuildFoldersTab();
    void BuildNetworkTab();  ///< the proxy, the mail collected without asking
    /// Saves the preferences chosen when they changed; false when the
    /// person abandoned the save.
    bool SavePreferencesChosen();
    void ConnectFields();
    void ComboBoxLangueChange(int index);
    void ShowKeyButtonCaption();
    void ShowFolders();
    void ResetFlags();
    /// The end of both preparations: folder choices from the settings, texts.
    void FinishPreparation();
    OptionsFields Fields() const;
    /// The edit refuses a typed or pasted character that code page 1252
    /// cannot hold, with a message naming it.
    void KeepCp1252(QLineEdit& edit);
    /// Why Ok is disabled, one line each; empty when it is enabled.
    QString OkToolTip(const OkState& state) const;

    // Dialog state.
    int clickCounter_ = 8;
    SecretBig exponent_;  ///< the key set-up exponent the clicks draw
    bool languageChanged_ = false;
    bool fieldChanged_ = false;
    bool passwordChanged_ = false;
    /// Folder choices, applied on Ok only.
    std::array<std::string, kFolderCount> folders_;

    QTabWidget* pageControl_ = nullptr;
    QWidget* tabSheetGeneral_ = nullptr;
    QWidget* tabSheetRepertoire_ = nullptr;
    QWidget* tabSheetReseau_ = nullptr;
    QLabel* labelLangue_ = nullptr;
    QComboBox* comboBoxLangue_ = nullptr;
    QGroupBox* groupBoxUsage_ = nullptr;
    QRadioButton* radioBtnFirme_ = nullptr;
    QRadioButton* radioBtnIndependant_ = nullptr;
    QRadioButton* radioBtnPrive_ = nullptr;
    QPushButton* btnInitClef_ = nullptr;
    QGroupBox* groupBoxTa_ = nullptr;
    QLabel* labelCode_ = nullptr;
    QLabel* lbCode_ = nullptr;
    QLabel* labelAdresseTa_ = nullptr;
    QLineEdit* editAdresseTa_ = nullptr;
    QLabel* labelPortTa_ = nullptr;
    QRadioButton* radioBtnA_ = nullptr;
    QRadioButton* radioBtnB_ = nullptr;
    QLabel* labelCertificat_ = nullptr;
    QLabel* lbCertificat_ = nullptr;
    QLabel* labelCerAvis_ = nullptr;
    QGroupBox* groupBoxMail_ = nullptr;
    QLabel* labelSmtp_ = nullptr;
    QLineEdit* editSmtp_ = nullptr;
    QLabel* labelPop3_ = nullptr;
    QLabel* labelFormes_ = nullptr;  ///< the accepted forms of the server fields
    QLineEdit* editPop3_ = nullptr;
    QLabel* labelId_ = nullptr;
    QLineEdit* editId_ = nullptr;
    QLabel* labelPasse_ = nullptr;
    QLineEdit* editPasse_ = nullptr;
    std::array<QLabel*, kFolderCount> folderCaptions_{};
    std::array<QLabel*, kFolderCount> folderLabels_{};
    std::array<QPushButton*, kFolderCount> folderButtons_{};
    QGroupBox* groupBoxChiffres_ = nullptr;
    QGroupBox* groupBoxProxy_ = nullptr;
    QLabel* labelAdresseProxy_ = nullptr;
    QLineEdit* editAdresseProxy_ = nullptr;
    QLabel* labelPortProxy_ = nullptr;
    QLineEdit* editPortProxy_ = nullptr;
    QGroupBox* groupBoxReleve_ = nullptr;
    QCheckBox* checkReleve_ = nullptr;
    QSpinBox* spinMinutes_ = nullptr;
    QLabel* labelMinutes_ = nullptr;
    QPushButton* bitBtnOk_ = nullptr;
    QPushButton* bitBtnAnnuler_ = nullptr;
    QPushButton* bitBtnAide_ = nullptr;
};

}  // namespace quarnel::ui
