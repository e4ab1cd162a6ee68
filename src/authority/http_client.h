#pragma once
// The HTTP/1.0 client of the exchange with the TA: one POST, a signal-driven
// state machine on a QTcpSocket (no blocking waits), redirects followed up to
// a limit. One deadline bounds the whole exchange, whatever arrives; the
// reply is bounded in size. Every line of the connection window's action log
// comes from `logged`; the window only subscribes.

#include <QByteArray>
#include <QObject>
#include <QString>
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
        ReplyTooLong
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
    /// One line of the action log: a resource number and its %s detail.
    void logged(int textId, const QString& detail);
    void progress(quarnel::TaHttpClient::Stage stage);
    /// The exchange ended in failure; `body` holds a failure reply's body.
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
    /// failed on a limit.
    [[nodiscard]] bool ReadAvailable();
    /// The reply is complete (by length or by the end of the connection).
    void Complete();
    void Fail(Failure failure, const QByteArray& body = {});
    void DropSocket();
    void Log(int textId, const QString& detail = {});
    int Timeout(int normal) const { return timeoutOverride_ > 0 ? timeoutOverride_ : normal; }

    TaConnection connection_;
    HttpTarget target_;
    std::string data_;
    std::optional<Kind> kind_;
    std::unique_ptr<QTcpSocket> socket_;
    QTimer deadline_;  ///< the whole exchange: not restarted by what arrives
    HttpReplyReader reader_;
    qint64 unwritten_ = 0;  ///< request bytes not yet handed to the network
    bool connected_ = false;
    bool everConnected_ = false;
    bool silentDisconnect_ = false;
    bool done_ = true;
    int redirects_ = 0;
    int timeoutOverride_ = 0;
};

}  // namespace quarnel
