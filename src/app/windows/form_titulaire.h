// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FormTitulaire, the main window: the holder's control panel. It runs the
// start-up sequence, shows the program state through EvaluateState, runs the
// 50 ms timer and the commands the shell gives it.

#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "app/main_view.h"
#include "app/program_data.h"
#include "app/startup.h"
#include "crypto/text_cipher.h"
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
class NewMailWatch;

/// Where the 50 ms timer takes an encrypted block from and hands it on to.
class BlockIntake {
  public:
    virtual ~BlockIntake() = default;
    /// A block the clipboard held for the holder, taken from it; else nothing.
    [[nodiscard]] virtual std::optional<Lines> TakeBlock() = 0;
    /// Decrypts and shows `block`; false when it is altered.
    [[nodiscard]] virtual bool ProcessBlock(Lines& block) = 0;
};

class FormTitulaire : public QWidget, private StartupHost, public MainWindowHost {
    Q_OBJECT
  public:
    /// The main window's own widgets; the shell adds the rest.
    explicit FormTitulaire(ProgramData& programData);
    /// The working lists are wiped and freed; nothing is saved.
    ~FormTitulaire() override;

    /// One command per button, owned by the shell; empty ones run nothing.
    void SetCommands(const std::array<MainCommand*, kCommandCount>& commands) {
        commands_ = commands;
    }
    /// The help pages, a child of this window.
    void SetHelp(HelpSystem& help) { help_ = &help; }
    /// Whose count of mail collected without asking the caption and the
    /// information line show; none shows nothing.
    void ShowNewMailOf(const NewMailWatch* watch) { newMail_ = watch; }
    /// What the timer watches; without it the timer only empties the
    /// request kind.
    void SetBlockIntake(BlockIntake* intake) { intake_ = intake; }

    HelpSystem& Help() { return *help_; }
    QPushButton& Button(Command command) { return *buttons_[std::size_t(command)]; }
    /// The correspondents button's menu and its three lists (F, D, A).
    QMenu& CorrespondentsMenu() { return *popupMenuCor_; }
    [[nodiscard]] std::array<QAction*, 3> CorrespondentsEntries() const {
        return {menuFirmes_, menuIndependants_, menuPrives_};
    }
    QMenu& HelpMenu() { return *popupMenuAide_; }

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
    /// Whether a button's command may run now: its rule, and Busy.
    [[nodiscard]] bool MayRun(Command command) const;
    /// Runs a button's command when its rule and Busy allow, then evaluates
    /// the buttons again.
    void RunCommand(Command command);

    // Handlers.
    void SpeedButtonResetClick();
    void MenuSommaireClick();
    void AidecontextuelleClick();
    void MenuAproposClick();
    void surveillance();

  Q_SIGNALS:
    /// The program state was evaluated again.
    void StateEvaluated();
    /// The buttons show the program state again.
    void ViewShown();
    /// A button's command ran.
    void CommandRan(Command command);
    /// Every window's texts are in the settings' language.
    void LanguageApplied();
    /// The key store wiped at the end of the run, before it is freed.
    void KeyStoreWiped(const RecordList& wiped);

  protected:
    void changeEvent(QEvent* event) override;
    /// Shown within the screen (FitToScreen).
    void showEvent(QShowEvent* event) override;

  private:
    bool RetryMissingFile(const std::filesystem::path& path) override;
    void ReportAltered(const std::string& fileName) override;
    void ReportExposedFolder(const ExposedFolder& exposed) override;

    QWidget& Window() override { return *this; }
    void ShowInformation() override;
    void ResetInformation() override { SpeedButtonResetClick(); }

    void BuildWidgets();
    void BuildCommandButtons(QVBoxLayout& root);  ///< three by three
    void BuildInformation(QVBoxLayout& root);     ///< the information line and its reset
    void Retranslate();
    void ShowView();
    [[nodiscard]] int NewMailCount() const;

    ProgramData& data_;
    HolderContext& ctx_;
    MainView view_;
    HelpSystem* help_ = nullptr;
    std::array<MainCommand*, kCommandCount> commands_{};
    const NewMailWatch* newMail_ = nullptr;
    BlockIntake* intake_ = nullptr;
    WindowHooks hooks_;                        ///< lent to the holder core for the window's life
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
    QMenu* popupMenuCor_ = nullptr;
    QAction* menuFirmes_ = nullptr;
    QAction* menuIndependants_ = nullptr;
    QAction* menuPrives_ = nullptr;
    QMenu* popupMenuAide_ = nullptr;
    QAction* menuSommaire_ = nullptr;
    QAction* aidecontextuelle_ = nullptr;
    QAction* menuApropos_ = nullptr;
    QTimer* horloge_ = nullptr;
};

}  // namespace quarnel::ui
