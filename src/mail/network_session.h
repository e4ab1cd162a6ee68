// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skeleton shared by the network clients (SMTP, POP3, and the HTTP
// exchange with the authority): one connection at a time, clear or TLS from
// the first byte as the server setting says (or TLS later, on the dialogue's
// word), one timer for replies and transfers, and one end: `finished` comes
// exactly once per session, with a SessionResult. The dialogue stays the
// client's own: it is told when the connection opens, when bytes arrive or
// leave and when the line fails, and words each failure in its own log lines.

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>
#include <utility>

#include "mail/mail_limits.h"
#include "mail/server_address.h"

class QSslSocket;
class QTcpSocket;

namespace quarnel {

/// Why a session did not run to its end.
enum class SessionFailure {
    None,
    Cancelled,       ///< at the holder's request
    Unusable,        ///< refused before connecting: the server setting or the job
    HostNotFound,    ///< the server's name is not known
    ConnectFailed,   ///< refused or unreachable
    Tls,             ///< no TLS library, a certificate or handshake refused, no STARTTLS/STLS
    TimedOut,        ///< a reply, the handshake or a transfer took too long
    ConnectionLost,  ///< closed or broken in the middle
    Refused,         ///< the server said no (an SMTP code, a POP3 -ERR, an HTTP error status)
    BadReply,        ///< what the server sent is malformed or past a limit
};

/// How a session ended: what every client's `finished` carries.
struct SessionResult {
    SessionFailure failure = SessionFailure::None;
    /// The server answered us: the relay's 220 (SMTP), logged in (POP3), a
    /// byte of a reply (HTTP).
    bool reached = false;
    /// What the session was for was done: the relay accepted the mail
    /// (SMTP), QUIT was answered +OK so the deletions took effect (POP3), a
    /// reply with a success status read whole (HTTP).
    bool completed = false;
    /// The failure in words, for a box or the tool's output: the server's own
    /// text of a refusal, else the French line of the fault.
    QString why;
};

/// The base of the network clients; a client derives from it and drives its
/// dialogue from the hooks below.
class NetworkSession : public QObject {
    Q_OBJECT
  public:
    /// Drops the connection; emits nothing.
    ~NetworkSession() override;
    NetworkSession(const NetworkSession&) = delete;
    NetworkSession& operator=(const NetworkSession&) = delete;

    /// Whether a session runs (from its start to its `finished`).
    [[nodiscard]] bool IsRunning() const { return running_; }
    /// The holder's extra authority file (kExtraAuthorityFile), trusted for
    /// TLS besides the system's authorities.
    void SetExtraAuthorities(std::filesystem::path file) { extraAuthorities_ = std::move(file); }
    /// The server as the log names it ("host:port").
    [[nodiscard]] const QString& serverName() const { return serverName_; }
    [[nodiscard]] const MailLimits& limits() const { return limits_; }

  Q_SIGNALS:
    /// One line of the action log: a resource text and the value of its %s
    /// (LogDetails for several).
    void logged(int textId, const QString& detail);
    /// Once per session started, the last of its signals. A receiver may
    /// start the next session from it, but must not delete the client
    /// (deleteLater does).
    void finished(const quarnel::SessionResult& result);

  protected:
    explicit NetworkSession(QObject* parent = nullptr, MailLimits limits = {});

    // ---- The session ----

    /// Starts a session; one still running is dropped without a word.
    void Begin();
    /// Records why the session failed; the first reason stays.
    void NoteFailure(SessionFailure failure, const QString& why);
    [[nodiscard]] SessionResult& result() { return result_; }
    /// Ends the session once: as Drop, then `finished`.
    void Finish();
    /// Ends the session without a signal: timers stopped, the connection
    /// dropped, Ending() run.
    void Drop();
    /// Emits `logged`; false when a receiver ended the session or started
    /// another meanwhile: a caller that goes on stops there.
    bool Log(int textId, const QString& detail = {});
    /// Names the running session, for Still() after a signal of the client's own.
    [[nodiscard]] quint64 Token() const { return generation_; }
    [[nodiscard]] bool Still(quint64 token) const { return running_ && token == generation_; }

    // ---- The connection ----

    enum class Phase { Idle, Connecting, Handshake, Open };
    /// Connects to `server`, in clear or in TLS from the first byte as its
    /// security says; a port that chose TLS and an unreadable authority file
    /// are said in the log first. The connect time limit runs.
    void Connect(const MailServerAddress& server);
    /// TLS on the open connection (after STARTTLS or STLS); OnSecured follows.
    void StartTls();
    /// The server of the last Connect.
    [[nodiscard]] const MailServerAddress& server() const { return server_; }
    /// Whether the connection is encrypted.
    [[nodiscard]] bool encrypted() const { return encrypted_; }
    /// The connection; only while one is open.
    [[nodiscard]] QTcpSocket& socket() { return *socket_; }
    [[nodiscard]] bool HasSocket() const { return socket_ != nullptr; }
    void Write(std::string_view bytes);
    /// What one read may hold: the rest waits in the system's buffers.
    void SetReadBufferSize(qint64 bytes) { readBufferSize_ = bytes; }

    // ---- Time ----

    /// The timer runs `limit` from now (a transfer under way is over).
    void Arm(std::chrono::milliseconds limit);
    void Disarm();
    /// A transfer of about `bytes` begins: the timer runs the reply limit
    /// without a byte (Touch re-arms it), and TransferCeiling in all.
    void StartTransfer(std::int64_t bytes);
    /// A piece of the transfer arrived or left.
    void Touch() { deadline_.Touch(); }
    [[nodiscard]] bool InTransfer() const { return deadline_.running(); }

    // ---- What the dialogue is told ----

    /// A fault of the line itself.
    struct LinkFault {
        enum class Kind {
            Unreachable,  ///< the connection could not be opened
            Tls,          ///< TLS could not be set up (textId: its line, reason: its %s)
            Closed,       ///< the server closed the open connection
            Broken,       ///< the open connection broke
            TimedOut,     ///< the timer ran out
        };
        Kind kind;
        Phase phase;  ///< where the connection stood
        QAbstractSocket::SocketError error = QAbstractSocket::UnknownSocketError;
        QString reason;  ///< the system's words
        int textId = 0;  ///< Tls: a text of mail/texts.h
    };
    /// The connection is open (and encrypted, for TLS from the first byte):
    /// the dialogue begins.
    virtual void OnOpened() = 0;
    /// The server's name is resolved (told within Connect for an address).
    virtual void OnHostFound() {}
    /// TLS is up after StartTls.
    virtual void OnSecured() = 0;
    virtual void OnReadable() = 0;
    virtual void OnWritten() {}
    /// Told once per fault; a Closed or Broken once per connection.
    virtual void OnLinkFault(const LinkFault& fault) = 0;
    /// The session ends (or is dropped): let go of what it held.
    virtual void Ending() {}

    /// What the dialogue waited for when the line failed.
    enum class Awaiting {
        Greeting,
        Reply,
        Transfer,     ///< data under way
        TransferEnd,  ///< the data, then the verdict on it
    };
    /// The log line of a fault: a text of mail/texts.h and its detail;
    /// `command` names the command under way.
    [[nodiscard]] std::pair<int, QString> FaultLine(const LinkFault& fault, Awaiting awaiting,
                                                    const QString& command) const;
    [[nodiscard]] static SessionFailure FailureOf(const LinkFault& fault);

  private:
    void OnConnected();
    void OnEncrypted();
    void OnSocketError(QAbstractSocket::SocketError error);
    void OnDisconnected();
    void OnTimer();
    void DropSocket();

    MailLimits limits_;
    std::filesystem::path extraAuthorities_;
    std::unique_ptr<QTcpSocket> socket_;
    QSslSocket* tls_ = nullptr;  ///< socket_ when it may speak TLS
    MailServerAddress server_;
    QString serverName_;
    qint64 readBufferSize_ = 0;
    QTimer timer_;
    TransferDeadline deadline_{timer_};
    Phase phase_ = Phase::Idle;
    bool running_ = false;
    bool encrypted_ = false;
    bool upgrading_ = false;   ///< StartTls under way
    bool closedTold_ = false;  ///< the connection's end was told
    quint64 generation_ = 0;   ///< counts sessions, so that a restart is noticed
    SessionResult result_;
};

}  // namespace quarnel
