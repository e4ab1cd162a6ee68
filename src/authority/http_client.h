// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HTTP/1.0 client of the exchange with the TA: one POST, a signal-driven
// state machine on a QTcpSocket (no blocking waits), redirects followed up to
// a limit. One deadline bounds the whole exchange, whatever arrives; the
// reply is bounded in size, and taken only when it ends as it announced.
// Every line of the connection window's action log comes from `logged`, each
// failure naming the server and the reason; the window only subscribes.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <string>

#include "authority/connection.h"

class QTcpSocket;

namespace quarnel {

class TaHttpClient : public QObject {
    Q_OBJECT
  public:
    enum class Stage { Resolved, Connected, Sent };
    enum class Failure {
        HostNotFound,
        ConnectFailed,
        TransmissionFailed,
        TimedOut,
        HttpStatus,
        TooManyRedirects,
        BadRedirect,
        ReplyTooLong,
        BadReply,  ///< framed wrongly, in an unsupported coding, or cut short
    };
    static constexpr int kMaxRedirects = 5;
    /// What one read takes from the socket, which buffers no more.
    static constexpr qint64 kReadChunkBytes = 64 * 1024;

    explicit TaHttpClient(QObject* parent = nullptr);
    ~TaHttpClient() override;

    /// Posts `data` (RequestData of the body) for a request of `requestKind`.
    /// A running exchange is dropped first.
    void Post(const TaConnection& connection, const std::string& data,
              std::optional<Kind> requestKind);
    /// Drops the connection (Annuler); no signal follows.
    void Abort();
    /// Replaces the exchange's deadlines (tests shorten them); 0 restores them.
    void SetTimeoutOverride(int ms) { timeoutOverride_ = ms; }

  Q_SIGNALS:
    /// One line of the action log: a resource number and its %s details.
    void logged(int textId, const QStringList& details);
    void progress(quarnel::TaHttpClient::Stage stage);
    /// Bytes of the request handed to the network (`reply` false), or of the
    /// reply's body received (true), of `total` (-1: not announced).
    void transferred(qint64 done, qint64 total, bool reply);
    /// The exchange ended in failure; `body` holds what had arrived of the
    /// reply (its body once the header was read), if anything.
    void error(quarnel::TaHttpClient::Failure failure, const QByteArray& body);
    /// A reply with a success status: its body.
    void finished(const QByteArray& body);

  private:
    void Connect();
    void OnConnected();
    void OnReadyRead();
    void OnDisconnected();
    void OnSocketError();
    void OnTimeout();
    /// Feeds what the socket holds to the reader; false when the exchange
    /// failed on a limit or on the reply's framing.
    [[nodiscard]] bool ReadAvailable();
    /// The reply has ended (as announced, or by the end of the connection).
    void Complete();
    /// Ends the exchange; `shown`: what had arrived goes with the error.
    void Fail(Failure failure, bool shown = true);
    void DropSocket();
    void Log(int textId, const QStringList& details = {});
    /// Where the connection goes ("host:port"), as the log names it.
    QString Server() const;
    /// The running deadline in whole seconds.
    QString DeadlineSeconds() const;
    int Timeout(int normal) const { return timeoutOverride_ > 0 ? timeoutOverride_ : normal; }

    TaConnection connection_;
    HttpTarget target_;
    std::string data_;
    std::optional<Kind> kind_;
    std::unique_ptr<QTcpSocket> socket_;
    QTimer deadline_;  ///< the whole exchange: not restarted by what arrives
    HttpReplyReader reader_;
    qint64 unwritten_ = 0;  ///< request bytes not yet handed to the network
    qint64 requestBytes_ = 0;
    bool connected_ = false;
    bool everConnected_ = false;
    bool silentDisconnect_ = false;
    bool done_ = true;
    int redirects_ = 0;
    int timeoutOverride_ = 0;
};

}  // namespace quarnel
