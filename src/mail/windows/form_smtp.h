// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FormSmtp, the sending window: one encrypted message after its encryption
// (single mode), or the outgoing queue one message after the other (queue
// mode). Maintenant hands the message to the relay without blocking the
// window, with the bytes done of the total; Annuler stops that exchange and
// Maintenant tries again; Plus tard queues it; a message that was not sent
// is never lost.

#include <QString>
#include <memory>
#include <optional>

#include "crypto/secret.h"
#include "mail/mail_limits.h"
#include "mail/outgoing_queue.h"
#include "windowkit/quarnel_dialog.h"

class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QAction;

namespace quarnel {
struct MailState;
class SmtpClient;
struct SessionResult;
}  // namespace quarnel

namespace quarnel::ui {

class TransferProgress;

class FormSmtp : public QuarnelDialog {
    Q_OBJECT
  public:
    enum class Outcome { Cancelled, Sent, Queued };

    FormSmtp(HolderContext& ctx, MailState& mail, QWidget* parent);
    ~FormSmtp() override;

    /// Single mode: shows `message` against the main window and runs modally.
    /// Cancelled leaves "En attente" on the information line, Sent "Le
    /// message chiffré a été envoyé.".
    Outcome ShowFor(const OutgoingMessage& message, const QWidget& mainWindow);
    /// Queue mode: walks the outgoing queue from its head.
    Outcome ShowQueue(const QWidget& mainWindow);

    /// Time limits of the relay's dialogue (tests shorten them).
    void SetLimits(const MailLimits& limits) { limits_ = limits; }
    /// A mail password to authenticate with instead of the stored one.
    void SetPassword(SecretString password) { password_ = std::move(password); }
    /// The message on show, if any.
    const std::optional<OutgoingMessage>& Shown() const { return shown_; }
    bool Sending() const;

    // Handlers.
    void MaintenantClick();
    void PlusTardClick();
    /// An encrypted message on show and not sent (single mode) is put in the
    /// queue, dropped, or kept on show, as the person answers; a message of
    /// the queue goes back at its head.
    void AnnulerClick();
    void EditSelectAllClick();
    void EditCopyClick();
    void PrintClick();
    void PrintTo(QPrinter& printer);
    void reject() override;

  protected:
    void Retranslate() override;

  private:
    void Prepare(const QWidget& mainWindow);
    void Present(const OutgoingMessage& message);
    [[nodiscard]] bool LoadNextQueued();
    void Log(const QString& line);
    void SetButtons(bool maintenant, bool plusTard, bool annuler, int offTip);
    void OnLogged(int textId, const QString& detail);
    void OnFinished(const SessionResult& result);
    void PutBackShown();
    void UpdateCopy();

    MailState& mail_;
    MailLimits limits_;
    SecretString password_;
    std::unique_ptr<SmtpClient> client_;
    std::optional<OutgoingMessage> shown_;
    bool fromQueue_ = false;  ///< shown_ was taken out of the queue
    bool walking_ = false;    ///< queue mode
    Outcome outcome_ = Outcome::Cancelled;
    bool cancelled_ = false;  ///< Annuler stopped the running send
    std::vector<std::string> recipients_;

    QLabel* labelAction_ = nullptr;
    QLabel* labelMsg_ = nullptr;
    QPlainTextEdit* memoAction_ = nullptr;
    TransferProgress* progress_ = nullptr;
    QPlainTextEdit* memoMsg_ = nullptr;
    QAction* editSelectAll_ = nullptr;
    QAction* editCopy_ = nullptr;
    QAction* print_ = nullptr;
    QPushButton* maintenant_ = nullptr;
    QPushButton* plusTard_ = nullptr;
    QPushButton* annuler_ = nullptr;
    QPushButton* aide_ = nullptr;
};

}  // namespace quarnel::ui
