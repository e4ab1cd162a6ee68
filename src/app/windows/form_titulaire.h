// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FormTitulaire, the main window: the holder's control panel. It creates
// every other window once, runs the start-up sequence, shows the program
// state through EvaluateState, runs the 50 ms timer and the commands.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "app/main_view.h"
#include "app/program_data.h"
#include "app/startup.h"
#include "authority/flows.h"
#include "crypto/text_cipher.h"
#include "protocol/kinds.h"
#include "windowkit/main_command.h"

class QLabel;
class QGroupBox;
class QMenu;
class QAction;
class QPushButton;
class QToolButton;
class QTimer;
class QVBoxLayout;
class QTranslator;

namespace quarnel::ui {

class HelpSystem;
class FormOptions;
class FormAffiliationF;
class FormAffiliationD;
class FormAffiliationA;
class FormDestinataire;
class FormListe;
class FormRedac;
class FormTCP_IP;
class FormSmtp;
class FormPop3;
class FormCourrier;
class FormMessage;
class FormMsgACerti;
class FormCerti;
class AffiliationCommand;
struct AuthorityWindows;
class CertificationRequest;
class CorrespondentsCommand;
class IncomingBlock;
class WriteMessage;
class KeyUpdateCommand;
class NewKeysCommand;
class NewMailWatch;

/// The windows created at start, in creation order after the main window.
struct Forms {
    FormOptions* options = nullptr;
    FormAffiliationF* affiliationF = nullptr;
    FormAffiliationD* affiliationD = nullptr;
    FormAffiliationA* affiliationA = nullptr;
    FormDestinataire* destinataire = nullptr;
    FormListe* liste = nullptr;
    FormRedac* redac = nullptr;
    FormTCP_IP* tcpIp = nullptr;
    FormSmtp* smtp = nullptr;
    FormPop3* pop3 = nullptr;
    FormMessage* message = nullptr;
    FormMsgACerti* msgACerti = nullptr;
    FormCerti* certi = nullptr;
    FormCourrier* courrier = nullptr;
};

class FormTitulaire : public QWidget, private StartupHost, public MainWindowHost {
    Q_OBJECT
  public:
    /// The main window, then every other window, then one command per button.
    explicit FormTitulaire(ProgramData& programData);
    /// The working lists are wiped and freed; nothing is saved.
    ~FormTitulaire() override;

    const Forms& Windows() const { return forms_; }
    HelpSystem& Help() { return *help_; }
    QPushButton& Button(Command command) { return *buttons_[std::size_t(command)]; }
    /// The mail collected without asking.
    const NewMailWatch& NewMail() const { return *newMail_; }

    /// The start-up sequence; the window shows its outcome.
    StartupEnd Start(const StartupPlaces& places);

    /// Buttons, focus and information line from the program state.
    void EvaluateState() override;
    /// Loads the texts of the settings' language when they are not the ones
    /// shown, and rebuilds every window's texts.
    void ApplyLanguage() override;
    /// Name labels, firm label, window caption and registration label from
    /// the holder.
    void RefreshNames() override;
    /// Runs a button's command when its rule and Busy allow, then evaluates
    /// the buttons again.
    void RunCommand(Command command);

    /// Where the 50 ms timer finds an encrypted block (clipboard intake) and
    /// hands it on (incoming-block processing); set by the subsystems that
    /// provide them. Without them the timer only empties the request kind.
    std::function<std::optional<Lines>()> clipboardWatch;
    std::function<bool(Lines&)> processIncomingBlock;
    /// Sees the key store wiped at the end of the run, before it is freed.
    std::function<void(const RecordList&)> keyStoreWiped;

    // Handlers.
    void SpeedButtonResetClick();
    void MenuSommaireClick();
    void AidecontextuelleClick();
    void MenuAproposClick();
    void surveillance();

  protected:
    void changeEvent(QEvent* event) override;
    /// Shown within the screen (FitToScreen).
    void showEvent(QShowEvent* event) override;

  private:
    bool RetryMissingFile(const std::filesystem::path& path) override;
    void ReportAltered(const std::string& fileName) override;
    void ReportExposedFolder(const ExposedFolder& exposed) override;

    /// The automatic retrieval as the preferences choose it.
    void ApplyPreferences();

    QWidget& Window() override { return *this; }
    void ShowInformation() override;
    void ResetInformation() override { SpeedButtonResetClick(); }

    void BuildWidgets();
    void BuildCommandButtons(QVBoxLayout& root);  ///< three by three
    void BuildInformation(QVBoxLayout& root);     ///< the information line and its reset
    void CreateWindows();
    void CreateCommands();
    /// Certification from the viewers, the certificate viewer, and the
    /// decryption of a block the clipboard watch took.
    void WireMessageWindows(const AuthorityScope& scope, const AuthorityWindows& windows);
    void Retranslate();
    void ShowView();
    /// The answer asked for from the viewer, once nothing is busy: the
    /// composer for a correspondent, else "Nouvelles clefs" for the sender.
    void RunPendingReply();

    ProgramData& data_;
    HolderContext& ctx_;
    MainView view_;
    Forms forms_;
    HelpSystem* help_ = nullptr;
    std::unique_ptr<QTranslator> translator_;  ///< the text module, when not French
    std::unique_ptr<QTranslator> qtFrench_;    ///< Qt's own texts (file dialogs) in French

    QLabel* labelTitre_ = nullptr;
    QLabel* labelTitreBlanc_ = nullptr;
    QLabel* labelCertification_ = nullptr;
    QLabel* labelNom_ = nullptr;
    QLabel* lbNom_ = nullptr;
    QLabel* labelSociete_ = nullptr;
    QLabel* lbSociete_ = nullptr;
    QGroupBox* groupBoxInfo_ = nullptr;
    QLabel* labelInformation_ = nullptr;
    QToolButton* speedButtonReset_ = nullptr;
    std::array<QPushButton*, kCommandCount> buttons_{};
    std::array<std::unique_ptr<MainCommand>, kCommandCount> commands_;
    std::unique_ptr<AffiliationCommand> affiliation_;
    std::unique_ptr<CertificationRequest> certification_;
    std::unique_ptr<IncomingBlock> incoming_;
    CorrespondentsCommand* correspondentsCommand_ = nullptr;
    std::unique_ptr<WriteMessage> writeMessage_;  ///< the correspondents window's "Correspondre"
    std::unique_ptr<KeyUpdateCommand>
        keyUpdate_;  ///< "&Mettre à jour" of the correspondents window
    NewKeysCommand* newKeysCommand_ = nullptr;
    /// Répondre of the viewer: to whom, about what, in which form.
    struct Reply {
        std::string number;
        QString subject;
        Kind kind = Kind::PlainMessage;
    };
    std::optional<Reply> pendingReply_;
    QMenu* popupMenuCor_ = nullptr;
    QAction* menuFirmes_ = nullptr;
    QAction* menuIndependants_ = nullptr;
    QAction* menuPrives_ = nullptr;
    QMenu* popupMenuAide_ = nullptr;
    QAction* menuSommaire_ = nullptr;
    QAction* aidecontextuelle_ = nullptr;
    QAction* menuApropos_ = nullptr;
    QTimer* horloge_ = nullptr;
    std::unique_ptr<NewMailWatch> newMail_;
};

}  // namespace quarnel::ui
