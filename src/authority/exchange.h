// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One exchange of the TA connection window, without the window: what
// MemoDonnees shows, which of Envoyer, Accepter and Annuler are enabled, the
// bytes sent and received, the action log (through `logged`) and
// TimerReponse, which after a good reply to an affiliation request (kinds 00,
// 01) keeps Annuler disabled for 15 s. Annuler stays enabled while the
// request is under way, and a failed exchange may be sent again (the
// authority answers the very same request with the same reply). FormTCP_IP
// only mirrors it.

#include <QObject>
#include <QTimer>

#include <string>

#include "authority/authority_state.h"
#include "authority/connection.h"
#include "authority/http_client.h"
#include "holder/holder_context.h"

namespace quarnel {

class TaExchange : public QObject {
    Q_OBJECT
  public:
    explicit TaExchange(QObject* parent = nullptr);

    /// The window is shown: MemoDonnees := the outgoing body, Envoyer and
    /// Annuler enabled, Accepter disabled.
    void Prepare(HolderContext& ctx, const AuthorityState& auth);
    /// Envoyer: posts the body; Envoyer and Accepter stay disabled until the
    /// outcome. After a failure Envoyer sends the same request again.
    void Send();
    /// Annuler (or Escape), also while the request is under way: drops the
    /// connection; "En attente".
    void Cancel();
    /// Stops TimerReponse (the window closes).
    void Stop();

    /// Where the exchange stands, for the buttons' tooltips.
    enum class Phase { Ready, Running, Answered, Failed };
    Phase phase() const { return phase_; }
    /// Bytes of the request sent or of the reply received (`reply`), of
    /// `total` (-1: not announced).
    struct Transfer {
        qint64 done = 0;
        qint64 total = 0;
        bool reply = false;
    };
    const Transfer& transfer() const { return transfer_; }

    bool sendEnabled() const { return send_; }
    bool acceptEnabled() const { return accept_; }
    bool cancelEnabled() const { return cancel_; }
    /// MemoDonnees: the request, then the reply (code page 1252 lines).
    const Lines& memo() const { return memo_; }
    /// The reply as MemoDonnees holds it, for ProcessTaReply.
    std::string MemoText() const;

    TaHttpClient& client() { return client_; }
    /// TimerReponse's interval (15000 ms; tests shorten it).
    void SetResponseDelay(int ms) { responseTimer_.setInterval(ms); }

  Q_SIGNALS:
    /// One line for MemoAction.
    void logged(int textId, const QStringList& details);
    /// Buttons or MemoDonnees changed.
    void changed();
    /// The bytes of transfer() changed.
    void progressed();

  private:
    void OnFinished(const SessionResult& result);
    void Inform(int text);

    HolderContext* ctx_ = nullptr;
    const AuthorityState* auth_ = nullptr;
    TaHttpClient client_;
    QTimer responseTimer_;
    TaConnection connection_;
    std::optional<Kind> kind_;
    Lines memo_;
    Phase phase_ = Phase::Ready;
    Transfer transfer_;
    bool send_ = false;
    bool accept_ = false;
    bool cancel_ = false;
};

}  // namespace quarnel
