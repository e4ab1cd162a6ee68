// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HTTP/1.0 client of the exchange with the TA: one POST, a signal-driven
// state machine on the mail clients' session skeleton (no blocking waits),
// redirects followed up to a limit, each on a new connection of the same
// session. One deadline bounds the whole exchange, whatever arrives; the
// reply is bounded in size, and taken only when it ends as it announced.
// Every line of the connection window's action log comes from `logged` (its
// values joined by LogDetails), each failure naming the server and the
// reason; the window only subscribes.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <optional>
#include <string>

#include "authority/connection.h"
#include "mail/network_session.h"

namespace quarnel {

/// `finished` ends every exchange but an aborted one: completed for a reply
/// with a success status, else its failure is HostNotFound, ConnectFailed,
/// ConnectionLost (the request or the reply cut off), TimedOut, Refused (a
/// status of 400 or more) or BadReply (past a limit, framed wrongly, cut
/// short, or redirected too often or nowhere); body() then holds what the
/// window shows.
class TaHttpClient : public NetworkSession {
    Q_OBJECT
  public:
    enum class Stage { Resolved, Connected, Sent };
    static constexpr int kMaxRedirects = 5;
    /// What one read takes from the socket, which buffers no more.
    static constexpr qint64 kReadChunkBytes = 64 * 1024;

    explicit TaHttpClient(QObject* parent = nullptr);

    /// Posts `data` (RequestData of the body) for a request of `requestKind`.
    /// A running exchange is dropped first.
    void Post(const TaConnection& connection, const std::string& data,
              std::optional<Kind> requestKind);
    /// Drops the connection (Annuler); no signal follows.
    void Abort() { Drop(); }
    /// Replaces the exchange's deadlines (tests shorten them); 0 restores them.
    void SetTimeoutOverride(int ms) { timeoutOverride_ = ms; }
    /// After `finished`: the body of a success, or what had arrived of a
    /// failed reply (its body once the header was read), if anything.
    [[nodiscard]] const QByteArray& body() const { return body_; }

  Q_SIGNALS:
    void progress(quarnel::TaHttpClient::Stage stage);
    /// Bytes of the request handed to the network (`reply` false), or of the
    /// reply's body received (true), of `total` (-1: not announced).
    void transferred(qint64 done, qint64 total, bool reply);

  private:
    void OnHostFound() override;
    void OnOpened() override;
    void OnSecured() override {}
    void OnReadable() override;
    void OnWritten() override;
    void OnLinkFault(const LinkFault& fault) override;

    /// Connects to the target (or the proxy) within the running deadline.
    void ConnectToServer();
    /// Starts the exchange's deadline anew: `ms`, or the override.
    void StartDeadline(int ms);
    /// Feeds what the socket holds to the reader; false when the exchange
    /// failed on a limit or on the reply's framing.
    [[nodiscard]] bool ReadAvailable();
    /// The reply has ended (as announced, or by the end of the connection).
    void Complete();
    /// The open connection ends: said in the log, except the first time;
    /// false as Log.
    [[nodiscard]] bool Disconnected();
    /// Logs the fault's last line and ends the exchange; `shown`: what had
    /// arrived goes to body().
    void Fail(SessionFailure failure, int textId, const QString& detail = {}, bool shown = true);
    /// Where the connection goes ("host:port"), as the log names it.
    [[nodiscard]] QString Server() const;
    [[nodiscard]] QString DeadlineSeconds() const;

    TaConnection connection_;
    HttpTarget target_;
    std::string data_;
    std::optional<Kind> kind_;
    HttpReplyReader reader_;
    QByteArray body_;
    QDeadlineTimer deadline_;  ///< the whole exchange: not moved by what arrives
    int deadlineMs_ = 0;
    qint64 unwritten_ = 0;  ///< request bytes not yet handed to the network
    qint64 requestBytes_ = 0;
    bool connected_ = false;
    bool everConnected_ = false;
    bool silentDisconnect_ = false;
    int redirects_ = 0;
    int timeoutOverride_ = 0;
};

}  // namespace quarnel
