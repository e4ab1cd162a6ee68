#pragma once
// One exchange of the TA connection window, without the window: what
// MemoDonnees shows, which of Envoyer, Accepter and Annuler are enabled, the
// action log (through `logged`) and TimerReponse, which after a good reply to
// an affiliation request (kinds 00, 01) keeps Annuler disabled for 15 s.
// FormTCP_IP only mirrors it.

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
    /// Envoyer: posts the body; the buttons stay disabled until the outcome.
    void Send();
    /// Annuler (or Escape): drops the connection; "En attente".
    void Cancel();
    /// Stops TimerReponse (the window closes).
    void Stop();

    bool envoyerEnabled() const { return envoyer_; }
    bool accepterEnabled() const { return accepter_; }
    bool annulerEnabled() const { return annuler_; }
    /// MemoDonnees: the request, then the reply (code page 1252 lines).
    const Lines& memo() const { return memo_; }
    /// The reply as MemoDonnees holds it, for ProcessTaReply.
    std::string MemoText() const;

    TaHttpClient& client() { return client_; }
    /// TimerReponse's interval (15000 ms; tests shorten it).
    void SetResponseDelay(int ms) { responseTimer_.setInterval(ms); }

  Q_SIGNALS:
    /// One line for MemoAction.
    void logged(int textId, const QString& detail);
    /// Buttons or MemoDonnees changed.
    void changed();

  private:
    void OnFinished(const QByteArray& body);
    void OnError(TaHttpClient::Failure failure, const QByteArray& body);
    void Inform(int text);

    HolderContext* ctx_ = nullptr;
    const AuthorityState* auth_ = nullptr;
    TaHttpClient client_;
    QTimer responseTimer_;
    TaConnection connection_;
    std::optional<Kind> kind_;
    Lines memo_;
    bool envoyer_ = false;
    bool accepter_ = false;
    bool annuler_ = false;
};

}  // namespace quarnel
