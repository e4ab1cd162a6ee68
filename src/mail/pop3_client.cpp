// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/pop3_client.h"

#include <QTcpSocket>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "mail/pop3_texts.h"
#include "mail/texts.h"
#include "resources/texts.h"
#include "store/atomic_file.h"

namespace quarnel {

namespace {

QString Num(qint64 n) {
    return QString::number(n);
}

/// The text of a reply after its status word.
QString ReplyText(const QByteArray& line) {
    const qsizetype space = line.indexOf(' ');
    return space < 0 ? QString() : QString::fromUtf8(line.mid(space + 1)).trimmed();
}

}  // namespace

Pop3Client::Pop3Client(QObject* parent, MailLimits limits) : NetworkSession(parent, limits) {
    // What the server sends waits in the system's buffers, not in memory here.
    SetReadBufferSize(qint64(kPop3SpoolPiece));
}

Pop3Client::~Pop3Client() {
    Drop();
}

std::string Pop3Client::Uid(int n) const {
    return n > 0 && std::size_t(n) < uids_.size() ? uids_[std::size_t(n)] : std::string();
}

void Pop3Client::Start(const Pop3Job& job) {
    Begin();
    state_ = State::kConnecting;
    const auto address = ParseMailServer(job.server.toStdString(), MailProtocol::Pop3);
    if (!address) return Fail(SessionFailure::Unusable, 0, job.server);
    // A line break in the account or the password would smuggle in a command.
    const auto breaks = [](const std::string& s) { return s.find_first_of("\r\n") != s.npos; };
    if (breaks(job.user) || breaks(job.password.Get())) {
        return Fail(SessionFailure::Unusable, 0,
                    QStringLiteral("line break in the account name or password"));
    }
    user_ = job.user;
    password_ = SecretString(std::string(job.password.Get()));
    uids_.clear();
    lines_.Clear();
    Connect(*address);
}

void Pop3Client::OnOpened() {
    state_ = State::kGreeting;
    Arm(limits().reply);
}

void Pop3Client::OnSecured() {
    Send("USER " + QByteArray::fromStdString(user_), State::kUser);
}

void Pop3Client::Top(int n) {
    if (!ready()) return;
    current_ = n;
    Send("TOP " + QByteArray::number(n) + " 0", State::kTop);
}

void Pop3Client::Retrieve(int n, const std::filesystem::path& spool) {
    if (!ready()) return;
    current_ = n;
    spoolPath_ = spool;
    // The size first: a message over the limit is never loaded.
    Send("LIST " + QByteArray::number(n), State::kList);
}

void Pop3Client::Delete(int n) {
    if (!ready()) return;
    current_ = n;
    Send("DELE " + QByteArray::number(n), State::kDele);
}

void Pop3Client::Quit() {
    if (!ready()) return;
    Send("QUIT", State::kQuit);
}

void Pop3Client::Ending() {
    state_ = State::kIdle;
    multiLine_ = skipping_ = false;
    lines_.Clear();
    body_.clear();
    body_.shrink_to_fit();
    DropSpool();
    password_ = SecretString();
}

void Pop3Client::DropSpool() {
    spool_.reset();  // its temporary file goes with it
}

void Pop3Client::Send(const QByteArray& line, State next) {
    state_ = next;
    multiLine_ = skipping_ = false;
    body_.clear();
    Write((line + "\r\n").toStdString());
    Arm(limits().reply);
}

void Pop3Client::OnReadable() {
    if (!HasSocket()) return;
    lines_.Append(socket().readAll());
    if (multiLine_) Touch();
    // A handler of a signal below may abort or start another session.
    const quint64 token = Token();
    while (state_ != State::kIdle && Still(token)) {
        const std::size_t limit = multiLine_ ? kMaxPop3Line : kMaxReplyLine;
        QByteArray line;
        // A mail's own lines may end in LF alone, as some servers pass them.
        const Pop3LineReader::Result result = lines_.Next(limit, line, multiLine_);
        if (result == Pop3LineReader::Result::More) break;
        if (result == Pop3LineReader::Result::TooLong) {
            if (multiLine_ && !skipping_) {
                // One message's fault: dropped, the session goes on.
                Skip(state_ == State::kUidl ? 0 : txt::kPop3LeftLineTooLong,
                     LogDetails({Num(current_), Num(qint64(limit))}));
            }
            if (multiLine_) {
                lines_.DiscardLine();
                continue;
            }
            return Fail(SessionFailure::BadReply, txt::kPop3LineTooLong, Num(qint64(limit)));
        }
        if (result == Pop3LineReader::Result::NoCrLf) {
            return Fail(SessionFailure::BadReply, txt::kPop3LineWithoutCrLf, QString());
        }
        if (multiLine_) {
            if (TakeBody(line)) continue;
        } else if (!OnReply(line)) {
            return;
        }
    }
    if (state_ == State::kIdle || !Still(token)) return;
    if (state_ == State::kRetr && multiLine_ && !skipping_) Q_EMIT progress(taken_, expected_);
}

void Pop3Client::Skip(int textId, const QString& detail) {
    skipping_ = true;
    body_.clear();
    body_.shrink_to_fit();
    DropSpool();
    if (state_ == State::kUidl) {
        uidsBroken_ = true;
        return;
    }
    if (textId) Q_EMIT logged(textId, detail);
}

bool Pop3Client::TakeBody(const QByteArray& line) {
    if (line == ".") {
        EndOfBody();
        return false;
    }
    if (skipping_) return true;
    // Lines counted unstuffed, with their CR LF.
    const qsizetype skip = line.startsWith('.') ? 1 : 0;
    const std::string_view text(line.constData() + skip, std::size_t(line.size() - skip));
    switch (state_) {
        case State::kUidl:
            TakeUid(line);
            return true;
        case State::kTop:
            if (body_.size() + text.size() + 2 > std::size_t(kMaxPop3Headers)) {
                Skip(txt::kPop3LeftHeadersTooLarge,
                     LogDetails({Num(current_), Num(kMaxPop3Headers)}));
                return true;
            }
            body_.append(text);
            body_ += "\r\n";
            return true;
        default:
            return TakeMessageLine(text);
    }
}

bool Pop3Client::TakeMessageLine(std::string_view line) {
    taken_ += qint64(line.size()) + 2;
    // Whatever LIST said, the answer itself is held to the limit.
    if (taken_ > limits().maxMessage) {
        Skip(txt::kPop3TooLarge,
             LogDetails({Num(current_), Num(taken_), Num(qint64(limits().maxMessage))}));
        return true;
    }
    body_.append(line);
    body_ += "\r\n";
    digest_.addData(QByteArrayView(line.data(), qsizetype(line.size())));
    digest_.addData(QByteArrayView("\r\n", 2));
    if (body_.size() >= kPop3SpoolPiece) {
        if (!spool_->Write(body_)) {
            const int err = errno;
            Skip(txt::kPop3LeftWriteFailed,
                 LogDetails({Num(current_), Num(expected_),
                             QString::fromStdString(spoolPath_.parent_path().string()),
                             QString::fromLocal8Bit(std::strerror(err))}));
            return true;
        }
        body_.clear();
    }
    return true;
}

void Pop3Client::TakeUid(const QByteArray& line) {
    // "n uid": n within the mailbox, uid of printable characters.
    const qsizetype space = line.indexOf(' ');
    bool ok = false;
    const int n = line.left(space).toInt(&ok);
    const QByteArray uid = space < 0 ? QByteArray() : line.mid(space + 1);
    ok = ok && n >= 1 && n <= count_ && !uid.isEmpty() && std::size_t(uid.size()) <= kMaxPop3Uid &&
         std::all_of(uid.begin(), uid.end(), [](char c) { return c > 0x20 && c < 0x7F; });
    if (!ok) {
        uidsBroken_ = true;
        return;
    }
    uids_[std::size_t(n)] = uid.toStdString();
}

void Pop3Client::EndOfBody() {
    multiLine_ = false;
    Disarm();
    const int n = current_;
    const State was = state_;
    const bool skipped = std::exchange(skipping_, false);
    state_ = State::kReady;
    if (was == State::kUidl) {
        if (uidsBroken_) uids_.clear();
        Q_EMIT statReady(count_, mailboxBytes_);
        return;
    }
    if (skipped) {
        DropSpool();
        Q_EMIT leftOnServer(n);
        return;
    }
    std::string body;
    body.swap(body_);
    if (was == State::kTop) {
        Q_EMIT topReady(n, body);
        return;
    }
    if (!spool_->Write(body)) {
        const int err = errno;
        DropSpool();
        Q_EMIT logged(txt::kPop3LeftWriteFailed,
                      LogDetails({Num(n), Num(taken_),
                                  QString::fromStdString(spoolPath_.parent_path().string()),
                                  QString::fromLocal8Bit(std::strerror(err))}));
        Q_EMIT leftOnServer(n);
        return;
    }
    // Removed once the handlers are done with it.
    const std::unique_ptr<StreamingFileWriter> spool = std::move(spool_);
    const RetrievedMail mail{spool->temporaryPath(), taken_,
                             digest_.result().toHex().toStdString()};
    Q_EMIT progress(taken_, taken_);
    Q_EMIT retrieved(n, mail);
    return;
}

bool Pop3Client::OnList(const QByteArray& line) {
    // "+OK n size"
    expected_ = std::max<qint64>(ParsePop3Numbers(line).second.value_or(0), 0);
    const int n = current_;
    const QString folder = QString::fromStdString(spoolPath_.parent_path().string());
    const auto leave = [&](int textId, const QString& detail) {
        state_ = State::kReady;
        Q_EMIT logged(textId, detail);
        if (state_ != State::kReady) return false;
        Q_EMIT leftOnServer(n);
        return state_ != State::kIdle;
    };
    if (expected_ > limits().maxMessage) {
        return leave(txt::kPop3TooLarge,
                     LogDetails({Num(n), Num(expected_), Num(limits().maxMessage)}));
    }
    // Room for the message and for its attachments once decoded.
    std::error_code ec;
    const std::filesystem::space_info space = std::filesystem::space(spoolPath_.parent_path(), ec);
    if (!ec && space.available < std::uintmax_t(expected_) * 2) {
        return leave(txt::kPop3LeftNoSpace,
                     LogDetails({Num(n), Num(expected_), Num(qint64(space.available)), folder}));
    }
    spool_ = std::make_unique<StreamingFileWriter>(spoolPath_);
    std::string why;
    if (!spool_->Open(&why)) {
        spool_.reset();
        return leave(txt::kPop3LeftWriteFailed,
                     LogDetails({Num(n), Num(expected_), folder, QString::fromStdString(why)}));
    }
    taken_ = 0;
    digest_.reset();
    Send("RETR " + QByteArray::number(n), State::kRetr);
    return true;
}

bool Pop3Client::OnReply(const QByteArray& line) {
    const std::optional<bool> verdict = Pop3Verdict(line);
    if (!verdict) {
        Fail(SessionFailure::BadReply, txt::kPop3ServerError, QString::fromUtf8(line.left(200)));
        return false;
    }
    const bool ok = *verdict;
    const QString text = ReplyText(line);
    const quint64 token = Token();
    Disarm();
    switch (state_) {
        case State::kStls:
            if (!ok) {
                Fail(SessionFailure::Tls, txt::kTlsNotOffered, QStringLiteral("STLS"));
                return false;
            }
            // Whatever came along with the +OK was sent in clear: dropped.
            lines_.Clear();
            StartTls();
            return false;
        case State::kGreeting:
        case State::kUser:
        case State::kPass:
        case State::kStat:
            if (!ok) {
                const bool logIn = state_ == State::kUser || state_ == State::kPass;
                Fail(SessionFailure::Refused, logIn ? txt::kPop3AuthRefused : txt::kPop3ServerError,
                     text);
                return false;
            }
            if (state_ == State::kGreeting && server().security == MailSecurity::StartTls) {
                Send("STLS", State::kStls);
            } else if (state_ == State::kGreeting) {
                if (server().security == MailSecurity::Clear &&
                    !Log(txt::kPop3PasswordInClear, serverName())) {
                    return false;
                }
                Send("USER " + QByteArray::fromStdString(user_), State::kUser);
            } else if (state_ == State::kUser) {
                Send("PASS " + QByteArray::fromStdString(password_.Get()), State::kPass);
            } else if (state_ == State::kPass) {
                password_ = SecretString();
                result().reached = true;
                if (!Log(txt::kPop3Connected)) return false;
                Send("STAT", State::kStat);
            } else {
                // "+OK count bytes": the count is the number before the first space.
                const Pop3Numbers numbers = ParsePop3Numbers(line);
                const qint64 count = numbers.first.value_or(-1);
                if (count < 0 || count > kMaxPop3Count) {
                    Fail(SessionFailure::BadReply, txt::kPop3ServerError, text);
                    return false;
                }
                count_ = int(count);
                mailboxBytes_ = numbers.second.value_or(0);
                // The unique ids tell a message already stored (RFC 1939 7).
                uids_.assign(std::size_t(count_) + 1, std::string());
                uidsBroken_ = false;
                Send("UIDL", State::kUidl);
            }
            return Still(token);
        case State::kUidl:
            if (!ok) {
                uids_.clear();
                state_ = State::kReady;
                Q_EMIT statReady(count_, mailboxBytes_);
                return Still(token);
            }
            multiLine_ = true;
            StartTransfer(qint64(count_) * 80);
            return true;
        case State::kTop:
        case State::kRetr:
            if (!ok) break;
            multiLine_ = true;
            body_.clear();
            StartTransfer(state_ == State::kTop ? kMaxPop3Headers : expected_);
            return true;
        case State::kList:
            if (!ok) break;
            return OnList(line);
        case State::kDele: {
            if (!ok) break;
            const int n = current_;
            state_ = State::kReady;
            Q_EMIT deleted(n);
            return Still(token);
        }
        case State::kQuit:
            // The server closes; deletions are done once it said +OK.
            result().completed = ok;
            if (!ok && !Log(txt::kPop3QuitRefused, text)) return false;
            socket().disconnectFromHost();
            return false;
        default:
            Fail(SessionFailure::BadReply, txt::kPop3ServerError,
                 QString::fromUtf8(line.left(200)));
            return false;
    }
    // "-ERR" to a command of a session: it goes on.
    DropSpool();
    state_ = State::kReady;
    if (!Log(txt::kPop3ServerError, text)) return false;
    Q_EMIT error(text);
    return Still(token);
}

QString Pop3Client::CommandName() const {
    switch (state_) {
        case State::kUser:
            return QStringLiteral("USER");
        case State::kPass:
            return QStringLiteral("PASS");
        case State::kStat:
            return QStringLiteral("STAT");
        case State::kUidl:
            return QStringLiteral("UIDL");
        case State::kTop:
            return QStringLiteral("TOP");
        case State::kList:
            return QStringLiteral("LIST");
        case State::kRetr:
            return QStringLiteral("RETR");
        case State::kDele:
            return QStringLiteral("DELE");
        case State::kQuit:
            return QStringLiteral("QUIT");
        case State::kStls:
            return QStringLiteral("STLS");
        default:
            return {};
    }
}

void Pop3Client::OnLinkFault(const LinkFault& fault) {
    const bool closed =
        fault.kind == LinkFault::Kind::Closed || fault.kind == LinkFault::Kind::Broken;
    if (state_ == State::kQuit && closed) {
        // Without +OK to QUIT the deletions are in doubt.
        if (!result().completed) NoteFailure(SessionFailure::ConnectionLost, {});
        if (Log(txt::kPop3Disconnected)) Finish();
        return;
    }
    if (fault.kind == LinkFault::Kind::Tls) {
        return Fail(SessionFailure::Tls, fault.textId, fault.reason);
    }
    const Awaiting awaiting = state_ == State::kGreeting             ? Awaiting::Greeting
                              : multiLine_ || state_ == State::kRetr ? Awaiting::Transfer
                                                                     : Awaiting::Reply;
    // A time-out after QUIT fails too: the deletions are in doubt.
    const auto [textId, detail] = FaultLine(fault, awaiting, CommandName());
    Fail(FailureOf(fault), textId, detail);
}

bool Pop3Client::LoggedIn() const {
    switch (state_) {
        case State::kStat:
        case State::kUidl:
        case State::kReady:
        case State::kTop:
        case State::kList:
        case State::kRetr:
        case State::kDele:
        case State::kQuit:
            return true;
        default:
            return false;
    }
}

void Pop3Client::Fail(SessionFailure failure, int textId, const QString& detail) {
    if (!IsRunning()) return;
    const bool loggedIn = LoggedIn();
    NoteFailure(failure, textId ? FrenchLogLine(textId, detail) : detail);
    Disarm();
    state_ = State::kIdle;
    if (textId && !Log(textId, detail)) return;
    if (!loggedIn && !Log(txt::kPop3ConnectFailed, textId ? QString() : detail)) return;
    Finish();
}

}  // namespace quarnel
