#include "mail/pop3_client.h"

#include <QSslCipher>
#include <QSslSocket>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "mail/mail_tls.h"
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

Pop3Client::Pop3Client(QObject* parent, MailLimits limits) : QObject(parent), limits_(limits) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &Pop3Client::OnTimeout);
}

Pop3Client::~Pop3Client() {
    Abort();
}

std::string Pop3Client::Uid(int n) const {
    return n > 0 && std::size_t(n) < uids_.size() ? uids_[std::size_t(n)] : std::string();
}

void Pop3Client::Start(const Pop3Job& job) {
    Abort();
    const auto address = ParseMailServer(job.server.toStdString(), MailProtocol::Pop3);
    if (!address) {
        state_ = State::kConnecting;
        Fail(0, job.server, false);
        return;
    }
    address_ = *address;
    serverName_ = ServerName(address_);
    const QString host = QString::fromStdString(address_.host);
    // A line break in the account or the password would smuggle in a command.
    const auto breaks = [](const std::string& s) { return s.find_first_of("\r\n") != s.npos; };
    if (breaks(job.user) || breaks(job.password.Get())) {
        state_ = State::kConnecting;
        Fail(0, QStringLiteral("line break in the account name or password"), false);
        return;
    }
    const quint64 session = session_;
    if (address_.securityFromPort) {
        Q_EMIT logged(txt::kTlsPortChoseTls, QString::number(address_.port));
        if (session != session_) return;
    }
    const bool tls = address_.security != MailSecurity::Clear;
    state_ = State::kConnecting;
    if (tls && !QSslSocket::supportsSsl()) {
        Refuse(txt::kTlsFailed, QSslSocket::sslLibraryVersionString());
        return;
    }
    const MailTrust trust = LoadMailTrust(tls ? extraAuthorities_ : std::filesystem::path());
    if (trust.noteTextId) {
        Q_EMIT logged(trust.noteTextId, trust.noteDetail);
        if (session != session_) return;
    }
    user_ = job.user;
    password_ = SecretString(std::string(job.password.Get()));
    uids_.clear();
    socket_ = MakeMailSocket(trust, host);
    // What the server sends waits in the system's buffers, not in memory here.
    socket_->setReadBufferSize(qint64(kPop3SpoolPiece));
    connect(socket_.get(), &QSslSocket::readyRead, this, &Pop3Client::OnReadyRead);
    connect(socket_.get(), &QSslSocket::disconnected, this, &Pop3Client::OnDisconnected);
    connect(socket_.get(), &QSslSocket::encrypted, this, &Pop3Client::OnEncrypted);
    connect(socket_.get(), &QSslSocket::connected, this, [this] {
        state_ = address_.security == MailSecurity::Tls ? State::kHandshake : State::kGreeting;
        if (state_ == State::kHandshake) {
            timer_.start(limits_.tlsHandshake);
        } else {
            ArmReplyTimer();
        }
    });
    connect(socket_.get(), &QSslSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError e) {
                if (state_ == State::kConnecting) {
                    Fail(ConnectFailureTextId(e), LogDetails({serverName_, socket_->errorString()}),
                         false);
                } else if (state_ == State::kHandshake) {
                    Refuse(txt::kTlsFailed, socket_->errorString());
                } else if (state_ != State::kIdle && state_ != State::kQuit) {
                    OnDisconnected();
                }
            });
    // Verification is never waived: any certificate fault ends the session.
    connect(socket_.get(), &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
        const int id = TlsRefusalTextId(errors);
        Refuse(id, id == txt::kTlsFailed && !errors.isEmpty()
                       ? errors.first().errorString()
                       : QString::fromStdString(address_.host));
    });
    lines_.Clear();
    timer_.start(limits_.connect);
    if (address_.security == MailSecurity::Tls) {
        socket_->connectToHostEncrypted(host, address_.port);
    } else {
        socket_->connectToHost(host, address_.port);
    }
}

void Pop3Client::OnEncrypted() {
    if (state_ != State::kHandshake) return;
    const QSslCipher cipher = socket_->sessionCipher();
    const quint64 session = session_;
    Q_EMIT logged(txt::kTlsEncrypted, cipher.protocolString() + ' ' + cipher.name());
    if (session != session_) return;
    if (address_.security == MailSecurity::Tls) {
        state_ = State::kGreeting;
        ArmReplyTimer();
    } else {
        Send("USER " + QByteArray::fromStdString(user_), State::kUser);
    }
}

void Pop3Client::Refuse(int textId, const QString& detail) {
    const QString why = FrenchLogLine(textId, detail);
    Abort();
    Q_EMIT logged(textId, detail);
    Q_EMIT logged(txt::kPop3ConnectFailed, QString());
    Q_EMIT error(why);
    Q_EMIT finished(false);
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

void Pop3Client::Abort() {
    ++session_;
    deadline_.Stop();
    timer_.stop();
    state_ = State::kIdle;
    multiLine_ = skipping_ = false;
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_.release()->deleteLater();
    }
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
    socket_->write(line + "\r\n");
    ArmReplyTimer();
}

void Pop3Client::ArmReplyTimer() {
    deadline_.Stop();
    timer_.start(limits_.reply);
}

void Pop3Client::OnReadyRead() {
    if (!socket_) return;
    lines_.Append(socket_->readAll());
    if (multiLine_) deadline_.Touch();
    // A handler of a signal below may abort or start another session.
    const quint64 session = session_;
    while (state_ != State::kIdle && session == session_) {
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
            Fail(txt::kPop3LineTooLong, Num(qint64(limit)), true);
            return;
        }
        if (result == Pop3LineReader::Result::NoCrLf) {
            Fail(txt::kPop3LineWithoutCrLf, QString(), true);
            return;
        }
        if (multiLine_) {
            if (TakeBody(line)) continue;
        } else if (!OnReply(line)) {
            return;
        }
    }
    if (state_ == State::kIdle || session != session_) return;
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
    if (taken_ > limits_.maxMessage) {
        Skip(txt::kPop3TooLarge,
             LogDetails({Num(current_), Num(taken_), Num(qint64(limits_.maxMessage))}));
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
    deadline_.Stop();
    timer_.stop();
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
    if (expected_ > limits_.maxMessage) {
        return leave(txt::kPop3TooLarge,
                     LogDetails({Num(n), Num(expected_), Num(limits_.maxMessage)}));
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
        Fail(txt::kPop3ServerError, QString::fromUtf8(line.left(200)), true);
        return false;
    }
    const bool ok = *verdict;
    const QString text = ReplyText(line);
    timer_.stop();
    switch (state_) {
        case State::kStls:
            if (!ok) {
                Refuse(txt::kTlsNotOffered, QStringLiteral("STLS"));
                return false;
            }
            // Whatever came along with the +OK was sent in clear: dropped.
            lines_.Clear();
            state_ = State::kHandshake;
            timer_.start(limits_.tlsHandshake);
            socket_->startClientEncryption();
            return false;
        case State::kGreeting:
        case State::kUser:
        case State::kPass:
        case State::kStat:
            if (!ok && (state_ == State::kUser || state_ == State::kPass)) {
                Fail(txt::kPop3AuthRefused, text, true);
                return false;
            }
            if (!ok) {
                Fail(txt::kPop3ServerError, text, state_ != State::kGreeting);
                return false;
            }
            if (state_ == State::kGreeting && address_.security == MailSecurity::StartTls) {
                Send("STLS", State::kStls);
            } else if (state_ == State::kGreeting) {
                if (address_.security == MailSecurity::Clear) {
                    const quint64 session = session_;
                    Q_EMIT logged(txt::kPop3PasswordInClear, serverName_);
                    if (session != session_) return false;
                }
                Send("USER " + QByteArray::fromStdString(user_), State::kUser);
            } else if (state_ == State::kUser) {
                Send("PASS " + QByteArray::fromStdString(password_.Get()), State::kPass);
            } else if (state_ == State::kPass) {
                password_ = SecretString();
                Q_EMIT logged(txt::kPop3Connected, QString());
                Send("STAT", State::kStat);
            } else {
                // "+OK count bytes": the count is the number before the first space.
                const Pop3Numbers numbers = ParsePop3Numbers(line);
                const qint64 count = numbers.first.value_or(-1);
                if (count < 0 || count > kMaxPop3Count) {
                    Fail(txt::kPop3ServerError, text, true);
                    return false;
                }
                count_ = int(count);
                mailboxBytes_ = numbers.second.value_or(0);
                // The unique ids tell a message already stored (RFC 1939 7).
                uids_.assign(std::size_t(count_) + 1, std::string());
                uidsBroken_ = false;
                Send("UIDL", State::kUidl);
            }
            return state_ != State::kIdle;
        case State::kUidl:
            if (!ok) {
                uids_.clear();
                state_ = State::kReady;
                Q_EMIT statReady(count_, mailboxBytes_);
                return state_ != State::kIdle;
            }
            multiLine_ = true;
            deadline_.Start(limits_.reply, TransferCeiling(limits_, qint64(count_) * 80));
            return true;
        case State::kTop:
        case State::kRetr:
            if (!ok) break;
            multiLine_ = true;
            body_.clear();
            deadline_.Start(
                limits_.reply,
                TransferCeiling(limits_, state_ == State::kTop ? kMaxPop3Headers : expected_));
            return true;
        case State::kList:
            if (!ok) break;
            return OnList(line);
        case State::kDele: {
            if (!ok) break;
            const int n = current_;
            state_ = State::kReady;
            Q_EMIT deleted(n);
            return state_ != State::kIdle;
        }
        case State::kQuit:
            // The server closes; deletions are done once it said +OK.
            quitAnswered_ = ok;
            if (!ok) {
                const quint64 session = session_;
                Q_EMIT logged(txt::kPop3QuitRefused, text);
                if (session != session_) return false;
            }
            socket_->disconnectFromHost();
            return false;
        default:
            Fail(txt::kPop3ServerError, QString::fromUtf8(line.left(200)), true);
            return false;
    }
    // "-ERR" to a command of a session: it goes on.
    DropSpool();
    state_ = State::kReady;
    Q_EMIT logged(txt::kPop3ServerError, text);
    Q_EMIT error(text);
    return state_ != State::kIdle;
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

void Pop3Client::OnDisconnected() {
    if (state_ == State::kIdle) return;
    if (state_ == State::kQuit) {
        const bool ok = quitAnswered_;
        Abort();
        Q_EMIT logged(txt::kPop3Disconnected, QString());
        Q_EMIT finished(ok);
        return;
    }
    if (state_ == State::kGreeting || state_ == State::kHandshake) {
        Fail(txt::kNetClosedEarly, serverName_, true);
    } else if (multiLine_ || state_ == State::kRetr) {
        Fail(txt::kNetClosedInTransfer, serverName_, true);
    } else {
        Fail(txt::kNetClosed, LogDetails({serverName_, CommandName()}), true);
    }
}

void Pop3Client::OnTimeout() {
    if (state_ == State::kIdle) return;
    const QString reply = Seconds(limits_.reply);
    switch (state_) {
        case State::kConnecting:
            return Fail(txt::kNetConnectTimedOut,
                        LogDetails({serverName_, Seconds(limits_.connect)}), false);
        case State::kHandshake:
            return Fail(txt::kNetTlsTimedOut,
                        LogDetails({serverName_, Seconds(limits_.tlsHandshake)}), true);
        case State::kGreeting:
            return Fail(txt::kNetGreetingTimedOut, LogDetails({serverName_, reply}), true);
        default:
            break;
    }
    if (multiLine_ && deadline_.CeilingReached()) {
        return Fail(
            txt::kNetTransferCeiling,
            LogDetails({serverName_, Seconds(deadline_.ceiling()), Num(limits_.slowestRate)}),
            true);
    }
    if (multiLine_) return Fail(txt::kNetTransferIdle, LogDetails({serverName_, reply}), true);
    // Without an answer to QUIT the deletions are in doubt: the session failed.
    Fail(txt::kNetCommandTimedOut, LogDetails({serverName_, reply, CommandName()}), true);
}

void Pop3Client::Fail(int textId, const QString& detail, bool connected) {
    const bool loggedIn = connected && state_ != State::kGreeting && state_ != State::kUser &&
                          state_ != State::kPass && state_ != State::kHandshake &&
                          state_ != State::kStls;
    Abort();
    if (textId) Q_EMIT logged(textId, detail);
    if (!loggedIn) Q_EMIT logged(txt::kPop3ConnectFailed, textId ? QString() : detail);
    Q_EMIT error(textId ? FrenchLogLine(textId, detail) : detail);
    Q_EMIT finished(false);
}

}  // namespace quarnel
