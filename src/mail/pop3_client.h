#pragma once
// POP3 client: a signal-driven state machine on a QTcpSocket that never
// blocks the event loop. The caller drives it one command at a time: Start()
// logs in and reports the mailbox size, then Top/Retrieve/Delete each answer
// with a signal, and Quit() ends the session (deletions take effect then).
//
// Faults: a "-ERR" to TOP, LIST, RETR or DELE emits error() with the
// server's text and leaves the session ready for the next command (so that
// what was accepted can still be deleted before QUIT). A "-ERR" while
// logging in, a broken or overlong line, a lost connection or a time-out
// emits error() and then finished(false): the session is over, and nothing
// marked for deletion is deleted.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

#include "crypto/secret.h"
#include "mail/mail_limits.h"
#include "mail/mail_replies.h"
#include "mail/server_address.h"

class QSslSocket;

namespace quarnel {

/// The biggest message RETR takes; a bigger one is left on the server.
inline constexpr qint64 kMaxPop3Message = qint64(64) << 20;
/// The longest line of a message a server may send (replies are held to
/// kMaxReplyLine); mail lines are longer than 998 in the wild.
inline constexpr std::size_t kMaxPop3Line = std::size_t(64) << 10;
/// The most headers TOP collects.
inline constexpr qint64 kMaxPop3Headers = qint64(1) << 20;
/// The most messages a mailbox listing is taken for.
inline constexpr int kMaxPop3Count = 100000;

struct Pop3Job {
    QString server;  ///< a server setting (mail/server_address.h), default port 110
    std::string user;
    SecretString password;
};

/// "host[:port]" split; port `defaultPort` when none; false when the port is
/// not a number in 1-65535 or the host is empty.
[[nodiscard]] bool SplitServer(const QString& server, quint16 defaultPort, QString& host,
                               quint16& port);

class Pop3Client : public QObject {
    Q_OBJECT
  public:
    explicit Pop3Client(QObject* parent = nullptr, MailLimits limits = {});
    ~Pop3Client() override;
    Pop3Client(const Pop3Client&) = delete;
    Pop3Client& operator=(const Pop3Client&) = delete;

    /// Connects, sends USER and PASS, then STAT: statReady() or error().
    void Start(const Pop3Job& job);
    /// The holder's extra authority file (kExtraAuthorityFile), if any.
    void SetExtraAuthorities(std::filesystem::path file) { extraAuthorities_ = std::move(file); }
    /// The headers of message n (TOP n 0): topReady().
    void Top(int n);
    /// The whole message n (RETR n), dot-unstuffed: retrieved(); a message
    /// over kMaxPop3Message (by LIST) is left: tooLarge().
    void Retrieve(int n);
    /// Marks message n for deletion (DELE n): deleted().
    void Delete(int n);
    /// QUIT, then finished(true) once the server has answered.
    void Quit();
    /// Drops the connection at once without QUIT (nothing is deleted);
    /// emits nothing.
    void Abort();

    /// Whether a command is on its way.
    [[nodiscard]] bool busy() const { return state_ != State::kIdle && state_ != State::kReady; }
    /// Whether logged in and waiting for a command.
    [[nodiscard]] bool ready() const { return state_ == State::kReady; }
    [[nodiscard]] const MailLimits& limits() const { return limits_; }

  Q_SIGNALS:
    /// One per step, a text of mail/pop3_texts.h and its detail (the %s/%d).
    void logged(int textId, const QString& detail);
    void progress(qint64 done, qint64 total);
    /// The server's text (or the local reason) of a failed step.
    void error(const QString& serverText);
    void statReady(int count, qint64 bytes);
    void topReady(int n, const std::string& headers);
    void retrieved(int n, const std::string& message);
    void tooLarge(int n, qint64 bytes);
    void deleted(int n);
    void finished(bool ok);

  private:
    enum class State {
        kIdle,
        kConnecting,
        kGreeting,
        kUser,
        kPass,
        kStat,
        kReady,
        kTop,
        kList,
        kRetr,
        kDele,
        kQuit,
        kHandshake,  // TLS, from the start or after STLS
        kStls,
    };

    void Send(const QByteArray& line, State next);
    void OnReadyRead();
    void OnDisconnected();
    void OnTimeout();
    /// Handles one single-line reply; false once the session has ended.
    bool OnReply(const QByteArray& line);
    /// Takes lines of a multi-line answer; true when its "." came.
    bool TakeBody(const QByteArray& line);
    void Fail(const QString& why, bool connected);
    /// A TLS or log-in refusal: its own line, then the session ends.
    void Refuse(int textId, const QString& detail);
    void OnEncrypted();
    void ArmReplyTimer();

    MailLimits limits_;
    std::unique_ptr<QSslSocket> socket_;
    MailServerAddress address_;
    std::filesystem::path extraAuthorities_;
    QTimer timer_;
    State state_ = State::kIdle;
    bool multiLine_ = false;
    bool topPending_ = false;  // the multi-line answer is TOP's
    bool quitAnswered_ = false;
    quint64 session_ = 0;  // counts Aborts, so a handler's restart is noticed
    std::string user_;
    SecretString password_;
    int current_ = 0;       // message number of the running command
    qint64 expected_ = 0;   // size by LIST of the message being retrieved
    std::string body_;      // multi-line answer so far
    Pop3LineReader lines_;  // received bytes not yet cut into lines
};

}  // namespace quarnel
