#pragma once
// FormPop3, the receiving window: Retirer fetches the holder's mailbox and
// keeps the encrypted messages addressed to the holder (the others stay on
// the server); Déchiffrer hands them, one at a time, to the decryption and
// the viewer. The exchange never blocks the window.

#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "crypto/text_cipher.h"
#include "mail/mail_limits.h"
#include "windowkit/quarnel_dialog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quarnel {
struct MailState;
struct ParsedMail;
class Pop3Client;
}  // namespace quarnel

namespace quarnel::ui {

class FormPop3 : public QuarnelDialog {
    Q_OBJECT
  public:
    FormPop3(HolderContext& ctx, MailState& mail, QWidget* parent);
    ~FormPop3() override;

    /// Opens modally against the main window; "En attente" afterwards.
    void ShowReceiving(const QWidget& mainWindow);

    /// Decrypts a received text (subject apart) and shows it; false when the
    /// text was refused. Set by the main window.
    std::function<bool(Lines& text, const QString& subject)> decrypt;

    void SetLimits(const MailLimits& limits) { limits_ = limits; }
    /// Accepted messages waiting for Déchiffrer: subject, then the text and
    /// the attachment names. Kept while the program runs.
    const std::deque<Lines>& Waiting() const { return waiting_; }
    bool Receiving() const;

    // Handlers.
    void RetirerClick();
    void DechiffrerClick();
    void AnnulerClick();
    void reject() override;

  protected:
    void Retranslate() override;

  private:
    void Log(const QString& line);
    void LogText(int textId, const QString& detail = {});
    void SetButtons(bool retirer, bool dechiffrer, bool annuler);
    void OnStat(int count);
    void OnTop(int n, const std::string& headers);
    void OnRetrieved(int n, const std::string& message);
    void Command(std::function<void()> command);
    void Next();
    void EndRetrieval();
    void OnFinished(bool ok);
    /// True when message n was taken for the holder.
    [[nodiscard]] bool Accept(int n, const ParsedMail& mail);

    MailState& mail_;
    MailLimits limits_;
    std::unique_ptr<Pop3Client> client_;
    std::deque<Lines> waiting_;
    int count_ = 0;
    int current_ = 0;
    bool connected_ = false;
    bool ending_ = false;  ///< QUIT asked
    bool logToWrite_ = false;

    QLabel* labelAction_ = nullptr;
    QPlainTextEdit* memoAction_ = nullptr;
    QPushButton* retirer_ = nullptr;
    QPushButton* dechiffrer_ = nullptr;
    QPushButton* annuler_ = nullptr;
    QPushButton* aide_ = nullptr;
};

}  // namespace quarnel::ui
