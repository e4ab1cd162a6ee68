#include "mail/pop3_client.h"

#include <QSslCipher>
#include <QSslSocket>

#include <algorithm>

#include "mail/mail_tls.h"
#include "mail/pop3_texts.h"
#include "mail/texts.h"
#include "resources/texts.h"

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

bool SplitServer(const QString& server, quint16 defaultPort, QString& host, quint16& port) {
    const QString s = server.trimmed();
    const qsizetype colon = s.lastIndexOf(':');
    // A bare IPv6 address holds colons of its own; it takes the default port.
    if (colon < 0 || s.count(':') > 1) {
        host = s;
        port = defaultPort;
    } else {
        host = s.left(colon);
        bool ok = false;
        const uint p = s.mid(colon + 1).toUInt(&ok);
        if (!ok || p == 0 || p > 65535) return false;
        port = quint16(p);
    }
    return !host.isEmpty();
}

Pop3Client::Pop3Client(QObject* parent, MailLimits limits) : QObject(parent), limits_(limits) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &Pop3Client::OnTimeout);
}

Pop3Client::~Pop3Client() {
    Abort();
}

void Pop3Client::Start(const Pop3Job& job) {
    Abort();
    const auto address = ParseMailServer(job.server.toStdString(), MailProtocol::Pop3);
    if (!address) {
        state_ = State::kConnecting;
        Fail(job.server, false);
        return;
    }
    address_ = *address;
    const QString host = QString::fromStdString(address_.host);
    // A line break in the account or the password would smuggle in a command.
    const auto breaks = [](const std::string& s) { return s.find_first_of("\r\n") != s.npos; };
    if (breaks(job.user) || breaks(job.password.Get())) {
        state_ = State::kConnecting;
        Fail(QStringLiteral("line break in the account name or password"), false);
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
    socket_ = MakeMailSocket(trust, host);
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
    connect(socket_.get(), &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        if (state_ == State::kConnecting) {
            Fail(socket_->errorString(), false);
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
    const QString why =
        QString::fromStdString(FillPlaceholders(FrenchText(textId), {detail.toStdString()}));
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

void Pop3Client::Retrieve(int n) {
    if (!ready()) return;
    current_ = n;
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
    timer_.stop();
    state_ = State::kIdle;
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_.release()->deleteLater();
    }
    lines_.Clear();
    body_.clear();
    body_.shrink_to_fit();
    password_ = SecretString();
}

void Pop3Client::Send(const QByteArray& line, State next) {
    state_ = next;
    multiLine_ = false;
    body_.clear();
    socket_->write(line + "\r\n");
    ArmReplyTimer();
}

void Pop3Client::ArmReplyTimer() {
    auto limit = limits_.reply;
    if (state_ == State::kRetr) {
        const qint64 mib = (expected_ + (qint64(1) << 20) - 1) >> 20;
        limit += limits_.dataPerMiB * mib;
    }
    timer_.start(limit);
}

void Pop3Client::OnReadyRead() {
    if (!socket_) return;
    lines_.Append(socket_->readAll());
    // A handler of a signal below may abort or start another session.
    const quint64 session = session_;
    while (state_ != State::kIdle && session == session_) {
        const std::size_t limit = multiLine_ ? kMaxPop3Line : kMaxReplyLine;
        QByteArray line;
        const Pop3LineReader::Result result = lines_.Next(limit, line);
        if (result == Pop3LineReader::Result::More) break;
        if (result == Pop3LineReader::Result::TooLong) {
            Q_EMIT logged(txt::kPop3LineTooLong, Num(qint64(limit)));
            Fail(QStringLiteral("line over %1 bytes").arg(limit), true);
            return;
        }
        if (result == Pop3LineReader::Result::NoCrLf) {
            Q_EMIT logged(txt::kPop3LineWithoutCrLf, QString());
            Fail(QStringLiteral("line without CR LF"), true);
            return;
        }
        if (multiLine_) {
            if (TakeBody(line)) continue;
        } else if (!OnReply(line)) {
            return;
        }
    }
    if (state_ == State::kIdle || session != session_) return;
    if (state_ == State::kRetr && multiLine_) Q_EMIT progress(qint64(body_.size()), expected_);
}

bool Pop3Client::TakeBody(const QByteArray& line) {
    if (line == ".") {
        multiLine_ = false;
        timer_.stop();
        const int n = current_;
        std::string body;
        body.swap(body_);
        state_ = State::kReady;
        if (std::exchange(topPending_, false)) {
            Q_EMIT topReady(n, body);
        } else {
            Q_EMIT progress(qint64(body.size()), qint64(body.size()));
            Q_EMIT retrieved(n, body);
        }
        return false;
    }
    const std::size_t cap =
        topPending_ ? std::size_t(kMaxPop3Headers) : std::size_t(kMaxPop3Message);
    // Whatever LIST said, the answer itself is held to the limit (lines
    // counted unstuffed, with their CR LF).
    const qsizetype skip = line.startsWith('.') ? 1 : 0;
    if (body_.size() + std::size_t(line.size() - skip) + 2 > cap) {
        Q_EMIT logged(txt::kPop3TooLarge, Num(current_));
        Fail(QStringLiteral("message %1 over %2 bytes").arg(current_).arg(cap), true);
        return false;
    }
    body_.append(line.constData() + skip, std::size_t(line.size() - skip));
    body_ += "\r\n";
    return true;
}

bool Pop3Client::OnReply(const QByteArray& line) {
    const std::optional<bool> verdict = Pop3Verdict(line);
    if (!verdict) {
        Fail(QString::fromUtf8(line.left(200)), true);
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
                Q_EMIT logged(txt::kPop3AuthRefused, text);
                Fail(text, true);
                return false;
            }
            if (!ok) {
                Q_EMIT logged(txt::kPop3ServerError, text);
                Fail(text, state_ != State::kGreeting);
                return false;
            }
            if (state_ == State::kGreeting && address_.security == MailSecurity::StartTls) {
                Send("STLS", State::kStls);
            } else if (state_ == State::kGreeting) {
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
                    Q_EMIT logged(txt::kPop3ServerError, text);
                    Fail(text, true);
                    return false;
                }
                state_ = State::kReady;
                Q_EMIT statReady(int(count), numbers.second.value_or(0));
            }
            return state_ != State::kIdle;
        case State::kTop:
        case State::kRetr:
            if (!ok) break;
            multiLine_ = true;
            topPending_ = state_ == State::kTop;
            body_.clear();
            ArmReplyTimer();
            return true;
        case State::kList: {
            if (!ok) break;
            // "+OK n size"
            expected_ = std::max<qint64>(ParsePop3Numbers(line).second.value_or(0), 0);
            if (expected_ > kMaxPop3Message) {
                const int n = current_;
                state_ = State::kReady;
                Q_EMIT logged(txt::kPop3TooLarge, Num(n));
                Q_EMIT tooLarge(n, expected_);
                return state_ != State::kIdle;
            }
            Send("RETR " + QByteArray::number(current_), State::kRetr);
            return true;
        }
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
            socket_->disconnectFromHost();
            return false;
        default:
            Fail(QString::fromUtf8(line.left(200)), true);
            return false;
    }
    // "-ERR" to a command of a session: it goes on.
    state_ = State::kReady;
    Q_EMIT logged(txt::kPop3ServerError, text);
    Q_EMIT error(text);
    return state_ != State::kIdle;
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
    Q_EMIT logged(txt::kPop3ConnectionLost,
                  socket_ ? socket_->errorString() : QStringLiteral("closed"));
    Fail(QStringLiteral("connection closed by the server"), true);
}

void Pop3Client::OnTimeout() {
    if (state_ == State::kIdle) return;
    static const char* const kNames[] = {"",     "connect", "greeting", "USER", "PASS",
                                         "STAT", "",        "TOP",      "LIST", "RETR",
                                         "DELE", "QUIT",    "TLS",      "STLS"};
    const QString step = QString::fromLatin1(kNames[int(state_)]);
    Q_EMIT logged(txt::kPop3TimedOut, step);
    if (state_ == State::kQuit) {
        // The server said nothing to QUIT: the deletions are in doubt.
        Fail(QStringLiteral("time-out at QUIT"), true);
        return;
    }
    Fail(QStringLiteral("time-out at %1").arg(step), state_ != State::kConnecting);
}

void Pop3Client::Fail(const QString& why, bool connected) {
    const bool loggedIn = connected && state_ != State::kGreeting && state_ != State::kUser &&
                          state_ != State::kPass && state_ != State::kHandshake &&
                          state_ != State::kStls;
    Abort();
    if (!loggedIn) Q_EMIT logged(txt::kPop3ConnectFailed, why);
    Q_EMIT error(why);
    Q_EMIT finished(false);
}

}  // namespace quarnel
