// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Composer window: the modal window in which the holder writes one message
// for the chosen correspondent (subject, plain or rich text, attached files);
// it edits, opens, saves and prints the text, and Chiffrer ends it with the
// Accepted result. Created once at start by the main window.

#include <QTextCharFormat>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "messages/message_state.h"
#include "windowkit/quarnel_dialog.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace quarnel::ui {

/// The largest text file the composer opens.
inline constexpr std::int64_t kMaxComposerFileBytes = 16 * 1024 * 1024;
/// The longest subject: it becomes a mail header line, which may not pass 998
/// characters.
inline constexpr int kMaxSubjectLength = 900;
/// The most files one message may carry.
inline constexpr std::size_t kMaxComposerAttachments = 1000;

class FormRedac : public QuarnelDialog {
    Q_OBJECT
  public:
    FormRedac(HolderContext& ctx, MessageState& msgs, QWidget* parent);

    /// Set by the caller before Compose: the addressee label (maroon for an
    /// unregistered correspondent) and the plain or rich mode (dialogs'
    /// extension and filter, formatting bar).
    void SetAddressee(const QString& text, bool registered);
    void SetRich(bool rich);
    [[nodiscard]] bool Rich() const { return rich_; }

    /// Empties everything for a new message (text, subject, attachments,
    /// file name, formats), as Compose does before it shows the window.
    void PrepareNew();
    /// Shows the window for a new message (with `subject`, for an answer)
    /// and runs it modally; Accepted when the person chose Chiffrer.
    int Compose(const QString& subject = {});
    /// Runs the window again over what it holds (after a refused text, or an
    /// encryption that was cancelled or failed).
    int Resume();

    /// The text as a plain message carries it (CR LF between lines).
    [[nodiscard]] QString PlainText() const;
    /// The text as RTF (rich mode).
    [[nodiscard]] std::string RichText() const;
    /// Empties the text (after the hand-over).
    void ClearText();

    /// The current file name, or the placeholder "un fichier à désigner".
    [[nodiscard]] QString CurrentFileName() const;
    QTextEdit& Editor() { return *editeur_; }

    // Handlers.
    void OpenClick();
    void SaveClick();
    void SaveAsClick();
    void PrintClick();
    void SpeedBtnAttacheClick();
    /// The save question when the text was never saved, and the size warning
    /// past kProviderMailLimitBytes; each may send the person back.
    void ChiffrerClick();
    /// Fermer, Escape and the title bar: with unsaved work, asks once to
    /// save, to discard, or to go back to the message.
    void WindowCloseClick();
    /// Takes one file off the attachment list.
    void RemoveAttachment(std::size_t index);
    /// Appends files to the attachment list (the attachment dialog, files
    /// dropped beside the text); false past kMaxComposerAttachments.
    bool AddAttachments(const QStringList& paths);
    /// Opens a file into the text (the open dialog, a file dropped on the text).
    void OpenFile(const QString& path);

    /// Escape runs WindowClose.
    void reject() override;

  protected:
    void Retranslate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildWidgets();
    /// The save question, its Yes and No captioned `yes` and `no`; false when
    /// the person goes back, or chose to save and nothing was saved.
    [[nodiscard]] bool AskSave(int yes, int no);
    [[nodiscard]] bool TextUnsaved() const;
    [[nodiscard]] bool ConfirmClose();
    [[nodiscard]] bool MailSizeAccepted();
    void UpdateMailSize();
    bool SaveTo(const QString& path);
    void MarkSaved(const QString& path);
    QString Filter() const;
    void ShowAttachments();
    void SyncToolbar();
    void SelectionChanged();
    void UpdateEditCommands();
    void MergeFormat(const QTextCharFormat& format);
    void SetAlignment(Qt::Alignment alignment);
    void ToggleBullets(bool on);
    void RestoreDefaultFormat();

    MessageState& msgs_;
    bool rich_ = true;
    bool hasFile_ = false;
    QString fileName_;
    bool updating_ = false;
    bool italicKey_ = false;
    bool deletion_ = false;
    std::vector<std::optional<std::uint64_t>> attachmentSizes_;  ///< nothing: not found
    QTextCharFormat defaultFormat_;

    QLabel* labelDest_ = nullptr;
    QLabel* labelObjet_ = nullptr;
    QLineEdit* editObjet_ = nullptr;
    QToolButton* speedBtnAttache_ = nullptr;
    QToolButton* speedBtnRetirer_ = nullptr;
    QMenu* menuRetirer_ = nullptr;
    QLabel* labelAttache_ = nullptr;
    QLabel* labelTaille_ = nullptr;
    QTextEdit* editeur_ = nullptr;
    QToolBar* standardToolBar_ = nullptr;
    QToolBar* toolBarFormat_ = nullptr;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
    QAction* saveAs_ = nullptr;
    QAction* print_ = nullptr;
    QAction* selectAll_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* chiffrer_ = nullptr;
    QAction* close_ = nullptr;
    QAction* help_ = nullptr;
    QComboBox* fontName_ = nullptr;
    QComboBox* hauteur_ = nullptr;
    QToolButton* colorButton_ = nullptr;
    QMenu* menuCouleur_ = nullptr;
    QAction* bold_ = nullptr;
    QAction* italic_ = nullptr;
    QAction* underline_ = nullptr;
    QActionGroup* alignments_ = nullptr;
    QAction* leftAlign_ = nullptr;
    QAction* centerAlign_ = nullptr;
    QAction* rightAlign_ = nullptr;
    QAction* bullets_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* panelPosition_ = nullptr;
    QLabel* panelModified_ = nullptr;
};

/// The characters of `text` that code page 1252 cannot hold, each once, in
/// order of appearance.
[[nodiscard]] QString CharactersOutsideCp1252(const QString& text);

}  // namespace quarnel::ui
