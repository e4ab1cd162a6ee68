// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TA connection window: shows the request, sends it over HTTP (Envoyer), the
// bytes sent and received, the reply, and lets the holder accept it
// (Accepter), stop the exchange (Annuler) or send again after a failure. It
// mirrors a TaExchange; the request driver runs it and processes an accepted
// reply.

#include <functional>

#include "authority/exchange.h"
#include "authority/replies.h"
#include "windowkit/quarnel_dialog.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace quarnel::ui {

class FormTCP_IP : public QuarnelDialog {
    Q_OBJECT
  public:
    FormTCP_IP(HolderContext& ctx, AuthorityState& auth, QWidget* parent);

    /// The request driver: for kinds 00, 01, 10, 11 and 18 only, shows the
    /// window with the body being sent placed against `mainWindow`, and, when the
    /// holder accepted a reply, runs ProcessTaReply on it. True when the
    /// reply was taken.
    bool RunRequestDriver(const QWidget& mainWindow);
    /// What the last processed reply changed.
    const ReplyOutcome& LastOutcome() const { return outcome_; }

    // Handlers.
    void BitBtnEnvoyerClick();
    void BitBtnRecevoirClick();
    void BitBtnAnnulerClick();
    /// Escape acts as Annuler, and not while it is disabled.
    void reject() override;

  Q_SIGNALS:
    /// A certificate was delivered (the shell shows it in the certificate
    /// viewer; with nothing connected, an information box shows the text).
    void CertificateDelivered(const std::string& certificate);
    /// A key reply wrote the correspondent list of `category`.
    void ListChanged(char category);

  protected:
    void Retranslate() override;

  private:
    void Mirror();
    void ShowTransfer();
    void Log(int textId, const QStringList& details);

    AuthorityState& auth_;
    TaExchange exchange_;
    ReplyOutcome outcome_;
    QLabel* labelDonnees_ = nullptr;
    QPlainTextEdit* memoDonnees_ = nullptr;
    QLabel* labelAction_ = nullptr;
    QPlainTextEdit* memoAction_ = nullptr;
    QProgressBar* progressTransfert_ = nullptr;
    QPushButton* bitBtnEnvoyer_ = nullptr;
    QPushButton* bitBtnRecevoir_ = nullptr;
    QPushButton* bitBtnAnnuler_ = nullptr;
    QPushButton* bitBtnAide_ = nullptr;
};

}  // namespace quarnel::ui
