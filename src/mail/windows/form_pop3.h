// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FormPop3, the receiving window: Retirer fetches the holder's mailbox and
// keeps the encrypted messages addressed to the holder (the others stay on
// the server); Déchiffrer hands them, one at a time, to the decryption and
// the viewer. The exchange never blocks the window: it shows the bytes done
// of each message, Annuler stops it, Retirer tries again.

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>

#include "crypto/text_cipher.h"
#include "mail/incoming.h"
#include "mail/mail_limits.h"
#include "messages/decryption.h"
#include "windowkit/quarnel_dialog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quarnel {
struct MailState;
}  // namespace quarnel

namespace quarnel::ui {

class TransferProgress;

class FormPop3 : public QuarnelDialog {
    Q_OBJECT
  public:
    FormPop3(HolderContext& ctx, MailState& mail, QWidget* parent);
    ~FormPop3() override;

    /// Opens modally against the main window; "En attente" afterwards.
    void ShowReceiving(const QWidget& mainWindow);
    /// A retrieval into the same waiting list that the window does not show,
    /// not started yet (the caller connects to it, then starts it, holding
    /// Busy); it lives until the next one. Nothing while one runs.
    MailRetrieval* NewUnseenRetrieval();

    /// Decrypts a received text (subject apart) and shows it. Set by the main
    /// window.
    std::function<BlockOutcome(Lines& text, const QString& subject)> decrypt;

    void SetLimits(const MailLimits& limits) { limits_ = limits; }
    /// Messages waiting for Déchiffrer: subject, then the text and the
    /// attachment names. They are the received log's messages not read yet
    /// (oldest first), so that nothing retrieved is ever out of reach, and
    /// those a retrieval accepted that the log could not take; a decryption
    /// the person stopped leaves its message at the head, one found altered
    /// waits no more during this run.
    const DecryptionQueue& Waiting() const { return waiting_; }
    /// Takes the waiting list again from the received log and its read marks.
    void FillWaiting();
    bool Receiving() const;

    // Handlers.
    void RetirerClick();
    void DechiffrerClick();
    void AnnulerClick();
    void reject() override;

  Q_SIGNALS:
    /// The holder opens the window: what came without asking has been seen.
    void Opened();

  protected:
    void Retranslate() override;

  private:
    void Log(const QString& line);
    void LogText(int textId, const QString& detail = {});
    void SetButtons(bool retirer, bool dechiffrer, bool annuler);
    void OnFinished(const RetrievalOutcome& outcome);

    MailState& mail_;
    MailLimits limits_;
    std::unique_ptr<MailRetrieval> retrieval_;
    DecryptionQueue waiting_;
    std::unordered_set<std::string> altered_;  // read marks of refused messages

    QLabel* labelAction_ = nullptr;
    QPlainTextEdit* memoAction_ = nullptr;
    TransferProgress* progress_ = nullptr;
    QPushButton* retirer_ = nullptr;
    QPushButton* dechiffrer_ = nullptr;
    QPushButton* annuler_ = nullptr;
    QPushButton* aide_ = nullptr;
};

}  // namespace quarnel::ui
