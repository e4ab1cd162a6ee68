// SPDX-License-Identifier: GPL-3.0-or-later
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
// line, a lost connection or a time-out ends the session: finished, not
// completed, with the failure's words; nothing marked for deletion is
// deleted.

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "crypto/secret.h"
#include "mail/mail_limits.h"
#include "mail/mail_replies.h"
#include "mail/network_session.h"

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

/// A POP3 session: `finished` comes once, when the connection ends; it is
/// completed when QUIT was answered +OK (the deletions took effect), and
/// carries the failure's words otherwise.
class Pop3Client : public NetworkSession {
    Q_OBJECT
  public:
    explicit Pop3Client(QObject* parent = nullptr, MailLimits limits = {});
    ~Pop3Client() override;

    /// Connects, sends USER and PASS, STAT, then UIDL: statReady(), or
    /// finished with the failure.
    void Start(const Pop3Job& job);
    /// The headers of message n (TOP n 0): topReady(), or leftOnServer().
    void Top(int n);
    /// The whole message n (LIST n, then RETR n), dot-unstuffed, into a
    /// temporary file beside `spool` (owner only): retrieved(), or
    /// leftOnServer() for a message over the limit, bigger than the free
    /// space or that cannot be written.
    void Retrieve(int n, const std::filesystem::path& spool);
    /// Marks message n for deletion (DELE n): deleted().
    void Delete(int n);
    /// QUIT; finished, completed once the server has answered +OK.
    void Quit();
    /// Drops the connection at once without QUIT (nothing is deleted);
    /// emits nothing.
    void Abort() { Drop(); }

    /// Whether a command is on its way.
    [[nodiscard]] bool busy() const { return state_ != State::kIdle && state_ != State::kReady; }
    /// Whether logged in and waiting for a command.
    [[nodiscard]] bool ready() const { return state_ == State::kReady; }
    /// The unique id of message n by UIDL, or "" when the server has none.
    [[nodiscard]] std::string Uid(int n) const;

  Q_SIGNALS:
    /// Bytes of the message under way, of its size by LIST.
    void progress(qint64 done, qint64 total);
    /// The server's text of a refused command; the session goes on.
    void error(const QString& serverText);
    void statReady(int count, qint64 bytes);
    void topReady(int n, const std::string& headers);
    void retrieved(int n, const quarnel::RetrievedMail& mail);
    /// Message n is past a limit and stays on the server (the line saying
    /// why is logged before).
    void leftOnServer(int n);
    void deleted(int n);

  private:
    enum class State {
        kIdle,
        kConnecting,  // and TLS from the start
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
        kStls,  // and the TLS handshake after it
    };

    void OnOpened() override;
    void OnSecured() override;
    void OnReadable() override;
    void OnLinkFault(const LinkFault& fault) override;
    void Ending() override;

    void Send(const QByteArray& line, State next);
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
    /// failed connection (with `detail` when there is no `textId`); then the
    /// session ends.
    void Fail(SessionFailure failure, int textId, const QString& detail);
    [[nodiscard]] bool LoggedIn() const;
    [[nodiscard]] QString CommandName() const;
    void DropSpool();

    State state_ = State::kIdle;
    bool multiLine_ = false;
    bool skipping_ = false;  // the answer is past a limit: read to its end, dropped
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
