// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help: one HTML page per language beside the program, one anchor per
// help context ("h200" ...), shown in a help window. The main window owns the
// help system; any window asks it through HelpSystem::Current(). The help
// window is never modal and stays usable beside a modal dialog.

#include <QDialog>
#include <filesystem>

class QTextBrowser;

namespace quarnel::ui {

/// The help contexts of the windows; each has its anchor in both pages.
inline constexpr int kHelpMain = 200;
inline constexpr int kHelpOptions = 210;
inline constexpr int kHelpCorrespondents = 230;
inline constexpr int kHelpWriting = 240;
inline constexpr int kHelpReading = 250;
inline constexpr int kHelpAffiliation = 260;
inline constexpr int kHelpNewCorrespondent = 270;
inline constexpr int kHelpConnection = 280;
inline constexpr int kHelpCertification = 300;
inline constexpr int kHelpSending = 310;
inline constexpr int kHelpReceiving = 320;
inline constexpr int kHelpMailbox = 330;
inline constexpr int kHelpContexts[] = {
    kHelpMain,          kHelpOptions,     kHelpCorrespondents,   kHelpWriting,
    kHelpReading,       kHelpAffiliation, kHelpNewCorrespondent, kHelpConnection,
    kHelpCertification, kHelpSending,     kHelpReceiving,        kHelpMailbox,
};

class HelpSystem : public QDialog {
    Q_OBJECT
  public:
    explicit HelpSystem(QWidget* parent);
    ~HelpSystem() override;

    /// The help system of the running main window, or nullptr.
    static HelpSystem* Current();

    /// The help file of the current language as the texts name it
    /// ("QuarnelTit_F.hlp"); the page shown is the HTML file of the same
    /// name with the extension ".html".
    void SetFile(const std::filesystem::path& helpFile);
    std::filesystem::path Page() const { return page_; }

    /// The contents (top of the page).
    void ShowContents();
    /// The topic of a help context; 0 shows the contents.
    void ShowContext(int context);
    /// The context last asked for (0 contents, -1 none yet).
    int LastContext() const { return lastContext_; }
    QTextBrowser& Browser() { return *browser_; }

    /// Keeps the help window above the topmost modal dialog, and so outside
    /// what that dialog blocks; with no modal dialog, above its owner.
    void FollowModal();

  protected:
    /// Shown within the screen (FitToScreen).
    void showEvent(QShowEvent* event) override;

  private:
    std::filesystem::path page_;
    QTextBrowser* browser_;
    int lastContext_ = -1;
};

/// Opens the help of a context when a help system is running.
void ShowHelpContext(int context);

}  // namespace quarnel::ui
