// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FormMessage, the viewer of a received and decrypted message: the sender with
// its verdicts, digest, signature, subject and the message, plain or rich; its
// attachments open from a menu; save (header text then message), print, copy,
// and the certification of its signature.

#include <QString>
#include <QTextDocument>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "messages/message_state.h"
#include "windowkit/quarnel_dialog.h"
#include "windowkit/viewer.h"

class QAction;
class QTextCursor;
class QGroupBox;
class QLabel;
class QMenu;
class QPrinter;
class QTextEdit;
class QToolButton;

namespace quarnel::ui {

class SenderPanel;

class FormMessage : public QuarnelDialog {
    Q_OBJECT
  public:
    FormMessage(HolderContext& ctx, QWidget* parent);
    ~FormMessage() override;

    /// Fills the window for `message` (kind 20 plain, 21 rich) and the
    /// received subject; the current file name becomes the placeholder.
    void Fill(const DecryptedMessage& message, const QString& subject);

    /// The attachments of a message opened again: listed by name (the names
    /// as received; one that cannot be written is not listed), each written
    /// when chosen (AttachmentWanted) and given back with SetAttachmentFile.
    void OfferAttachments(const std::vector<std::string>& names);
    void SetAttachmentFile(int index, const std::filesystem::path& file);
    /// The name listed for attachment `index`.
    [[nodiscard]] QString AttachmentName(int index) const;

    /// Opens a decrypted attachment with the desktop's program for it; false
    /// when it could not. Tests replace it so that nothing is launched.
    std::function<bool(const QString& path)> openAttachment;

    /// The current file name: the placeholder until the message was saved.
    QString FileName() const { return FileNameOrPlaceholder(savedPath_); }
    /// The header text then the message, as saved and printed.
    void AssembleSaved(QTextDocument& document) const;
    /// The bytes that SaveAs writes: RTF for a rich message, else plain text.
    std::string SavedBytes() const;

    // Handlers.
    void AgraferClick();
    void AttachmentChosen(int index);
    void SaveAsClick();
    void PrintClick();
    /// Prints to `printer` without a dialog: the selection (after one empty
    /// line) or the header text and the message.
    void PrintTo(QPrinter& printer, bool selectionOnly);
    void EditCopyClick();
    void EditSelectAllClick();
    /// ButtonRetour and the window's close button: the save step when the
    /// message was never saved, then close.
    void WindowCloseClick();
    void CertifierClick();
    /// Répondre: asks for the answer, and closes without the save step.
    void RepondreClick();
    /// The subject shown.
    [[nodiscard]] QString Subject() const;
    /// Escape closes without the save step.
    void reject() override;

  Q_SIGNALS:
    /// Certifier: the TA is to certify the signature of the message shown.
    /// With nothing connected, Certifier is disabled.
    void CertifyRequested();
    /// An attachment offered and not written yet was chosen.
    void AttachmentWanted(int index);
    /// Répondre: an answer to the sender of the message shown is to be
    /// written. With nothing connected, Répondre is hidden.
    void ReplyRequested();

  protected:
    void Retranslate() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void UpdateCopy();
    void ShowSender();
    void ListAttachments();

    DecryptedMessage message_;
    // The attachments listed: names (empty: not listed) and their files
    // (empty: not written yet).
    std::vector<QString> attachmentNames_;
    std::vector<std::filesystem::path> attachmentFiles_;
    bool richShown_ = false;  ///< the text was read as RTF
    QString savedPath_;       ///< empty while never saved

    std::unique_ptr<SenderPanel> sender_;
    QLabel* labelObjet_ = nullptr;
    QLabel* lbObjet_ = nullptr;
    QLabel* lbAvis_ = nullptr;  ///< what happened to the attachments
    QTextEdit* editeur_ = nullptr;
    QMenu* menuAgrafe_ = nullptr;
    QAction* agrafer_ = nullptr;
    QAction* windowClose_ = nullptr;
    QAction* certifier_ = nullptr;
    QAction* repondre_ = nullptr;
    QAction* helpContents_ = nullptr;
    QAction* saveAs_ = nullptr;
    QAction* editSelectAll_ = nullptr;
    QAction* editCopy_ = nullptr;
    QAction* print_ = nullptr;
    QToolButton* buttonAgrafe_ = nullptr;
    QToolButton* buttonRepondre_ = nullptr;
};

}  // namespace quarnel::ui
