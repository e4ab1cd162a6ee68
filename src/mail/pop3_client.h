#pragma once
// POP3 client: a signal-driven state machine on a QTcpSocket that never
// blocks the event loop. The caller drives it one command at a time: Start()
// logs in, lists the unique ids (UIDL, when the server has it) and reports
// the mailbox size, then Top/Retrieve/Delete each answer with a signal, and
// Quit() ends the session (deletions take effect then).
//
// Faults: a "-ERR" to TOP, LIST, RETR or DELE emits error() with the
// server's text and leaves the session ready for the next command (so that
// what was accepted can still be deleted before QUIT). A message past a
// limit (an overlong line, headers too big, too big for RETR or for the
// disk) is read to its end and dropped, with one log line, and leftOnServer()
// follows: the session goes on. A "-ERR" while logging in, a broken status
// line, a lost connection or a time-out emits error() and then
// finished(false): the session is over, and nothing marked for deletion is
// deleted.

#include <QByteArray>
#include <QCryptographicHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "crypto/secret.h"
#include "mail/mail_limits.h"
#include "mail/mail_replies.h"
#include "mail/server_address.h"

class QSslSocket;

namespace quarnel {

class StreamingFileWriter;

/// The longest line of a message a server may send (replies are held to
/// kMaxReplyLine); mail lines are longer than 998 in the wild.
inline constexpr std::size_t kMaxPop3Line = std::size_t(64) << 10;
/// The most headers TOP collects.
inline constexpr qint64 kMaxPop3Headers = qint64(1) << 20;
/// The most messages a mailbox listing is taken for.
inline constexpr int kMaxPop3Count = 100000;
/// The longest unique id (UIDL) a server may give (RFC 1939 says 70).
inline constexpr std::size_t kMaxPop3Uid = 70;
/// How much of a message is gathered in memory before it goes to its file.
inline constexpr std::size_t kPop3SpoolPiece = std::size_t(1) << 20;

struct Pop3Job {
    QString server;  ///< a server setting (mail/server_address.h), default port 110
    std::string user;
    SecretString password;
};

/// A message RETR brought, in a temporary file that is removed once the
/// `retrieved` signal has been handled.
struct RetrievedMail {
    std::filesystem::path file;
    qint64 bytes = 0;    ///< dot-unstuffed, CR LF lines
    std::string digest;  ///< SHA-256 of those bytes, lower-case hexadecimal
};

class Pop3Client : public QObject {
    Q_OBJECT
  public:
    explicit Pop3Client(QObject* parent = nullptr, MailLimits limits = {});
    ~Pop3Client() override;
    Pop3Client(const Pop3Client&) = delete;
    Pop3Client& operator=(const Pop3Client&) = delete;

    /// Connects, sends USER and PASS, STAT, then UIDL: statReady() or error().
    void Start(const Pop3Job& job);
    /// The holder's extra authority file (kExtraAuthorityFile), if any.
    void SetExtraAuthorities(std::filesystem::path file) { extraAuthorities_ = std::move(file); }
    /// The headers of message n (TOP n 0): topReady(), or leftOnServer().
    void Top(int n);
    /// The whole message n (LIST n, then RETR n), dot-unstuffed, into a
    /// temporary file beside `spool` (owner only): retrieved(), or
    /// leftOnServer() for a message over the limit, bigger than the free
    /// space or that cannot be written.
    void Retrieve(int n, const std::filesystem::path& spool);
    /// Marks message n for deletion (DELE n): deleted().
    void Delete(int n);
    /// QUIT, then finished(true) once the server has answered +OK.
    void Quit();
    /// Drops the connection at once without QUIT (nothing is deleted);
    /// emits nothing.
    void Abort();

    /// Whether a command is on its way.
    [[nodiscard]] bool busy() const { return state_ != State::kIdle && state_ != State::kReady; }
    /// Whether logged in and waiting for a command.
    [[nodiscard]] bool ready() const { return state_ == State::kReady; }
    [[nodiscard]] const MailLimits& limits() const { return limits_; }
    /// The unique id of message n by UIDL, or "" when the server has none.
    [[nodiscard]] std::string Uid(int n) const;
    /// The server as the log names it ("host:port").
    [[nodiscard]] const QString& serverName() const { return serverName_; }

  Q_SIGNALS:
    /// One per step, a text of mail/pop3_texts.h or mail/texts.h and its
    /// detail (LogDetails for several values).
    void logged(int textId, const QString& detail);
    /// Bytes of the message under way, of its size by LIST.
    void progress(qint64 done, qint64 total);
    /// The server's text (or the local reason) of a failed step.
    void error(const QString& serverText);
    void statReady(int count, qint64 bytes);
    void topReady(int n, const std::string& headers);
    void retrieved(int n, const quarnel::RetrievedMail& mail);
    /// Message n is past a limit and stays on the server (the line saying
    /// why is logged before).
    void leftOnServer(int n);
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
        kUidl,
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
    /// Takes lines of a multi-line answer; true while more are to come.
    bool TakeBody(const QByteArray& line);
    bool TakeMessageLine(std::string_view line);
    void TakeUid(const QByteArray& line);
    /// The multi-line answer is over its limit: dropped to its end, with
    /// that line logged.
    void Skip(int textId, const QString& detail);
    /// The "." of a multi-line answer.
    void EndOfBody();
    bool OnList(const QByteArray& line);
    /// Logs `textId` (0: nothing) and, for a session not logged in, the
    /// failed connection; then error() and finished(false).
    void Fail(int textId, const QString& detail, bool connected);
    /// A TLS or log-in refusal: its own line, then the session ends.
    void Refuse(int textId, const QString& detail);
    void OnEncrypted();
    void ArmReplyTimer();
    [[nodiscard]] QString CommandName() const;
    void DropSpool();

    MailLimits limits_;
    std::unique_ptr<QSslSocket> socket_;
    MailServerAddress address_;
    QString serverName_;
    std::filesystem::path extraAuthorities_;
    QTimer timer_;
    TransferDeadline deadline_{timer_};  ///< of a multi-line answer
    State state_ = State::kIdle;
    bool multiLine_ = false;
    bool skipping_ = false;  // the answer is past a limit: read to its end, dropped
    bool quitAnswered_ = false;
    quint64 session_ = 0;  // counts Aborts, so a handler's restart is noticed
    std::string user_;
    SecretString password_;
    int count_ = 0;
    qint64 mailboxBytes_ = 0;
    std::vector<std::string> uids_;  // by message number; empty without UIDL
    bool uidsBroken_ = false;
    int current_ = 0;      // message number of the running command
    qint64 expected_ = 0;  // size by LIST of the message being retrieved
    qint64 taken_ = 0;     // bytes of the message so far
    std::string body_;     // TOP's answer so far, or RETR's not yet written
    std::filesystem::path spoolPath_;
    std::unique_ptr<StreamingFileWriter> spool_;
    QCryptographicHash digest_{QCryptographicHash::Sha256};
    Pop3LineReader lines_;  // received bytes not yet cut into lines
};

}  // namespace quarnel
