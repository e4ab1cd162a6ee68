// The SMTP dialogue as a state machine driven by the socket's signals.

#include "mail/smtp_client.h"

#include <QSslCipher>
#include <QSslSocket>
#include <algorithm>
#include <cctype>

#include "mail/mail_tls.h"
#include "mail/texts.h"
#include "resources/texts.h"

namespace quarnel {

namespace {

constexpr std::size_t kPiece = 64 * 1024;

QString Latin(const std::string& s) {
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

bool HasEightBit(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return (unsigned char)c >= 0x80; });
}

// An address that cannot break out of "<...>" nor out of its command line.
bool AddressTravels(const std::string& a) {
    if (a.empty() || a.size() > kMaxAddressLength) return false;
    for (const unsigned char c : a) {
        if (c <= 0x20 || c == 0x7f || c == '<' || c == '>') return false;
    }
    return true;
}

// The name given after EHLO and HELO: one word of printable ASCII, else the
// client's own name.
std::string HeloName(const QString& name) {
    const std::string n = name.toStdString();
    const bool fits = !n.empty() && n.size() <= 255 &&
                      std::all_of(n.begin(), n.end(), [](char c) { return c > 0x20 && c < 0x7f; });
    return fits ? n : "IdSMTP";
}

// The keywords of an EHLO reply ("250-STARTTLS", "250 AUTH PLAIN LOGIN"),
// upper case, each line's words after the code.
std::vector<QStringList> Extensions(const QString& reply) {
    std::vector<QStringList> out;
    for (const QString& line : reply.split('\n')) {
        const QStringList words = line.mid(4).toUpper().split(' ', Qt::SkipEmptyParts);
        if (!words.isEmpty()) out.push_back(words);
    }
    return out;
}

std::string Base64(const std::string& s) {
    return QByteArray::fromRawData(s.data(), qsizetype(s.size())).toBase64().toStdString();
}

}  // namespace

SmtpClient::SmtpClient(QObject* parent, MailLimits limits) : QObject(parent), limits_(limits) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SmtpClient::OnTimeout);
}

SmtpClient::~SmtpClient() {
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
    }
}

void SmtpClient::Start(const SmtpJob& job) {
    if (!running_) Start(SmtpJob(job));
}

void SmtpClient::Start(SmtpJob&& job) {
    if (running_) return;
    job_ = std::move(job);
    running_ = true;
    connected_ = transferred_ = failed_ = false;
    replies_.Clear();
    recipient_ = dataPos_ = 0;
    atLineStart_ = true;
    tlsUp_ = false;
    eightBitMime_ = false;
    step_ = Step::Connecting;
    Q_EMIT logged(txt::kSmtpCall, {});

    // Refused before any connection: nothing may be injected into a command.
    if (!AddressTravels(job_.fromAddress)) {
        return Fail(txt::kSmtpAddressRefused, Latin(job_.fromAddress));
    }
    if (job_.recipients.empty()) return Fail(txt::kSmtpAddressRefused, {});
    if (job_.recipients.size() > kMaxRecipients) {
        return Fail(txt::kSmtpAddressRefused, Latin(job_.recipients[kMaxRecipients]));
    }
    for (const std::string& a : job_.recipients) {
        if (!AddressTravels(a)) return Fail(txt::kSmtpAddressRefused, Latin(a));
    }
    const auto address = ParseMailServer(job_.server.toStdString(), MailProtocol::Smtp);
    if (!address) return Fail(txt::kSmtpConnectFailed, job_.server);
    address_ = *address;
    serverName_ = ServerName(address_);
    const QString host = QString::fromStdString(address_.host);
    if (address_.securityFromPort) {
        Q_EMIT logged(address_.security == MailSecurity::Tls ? txt::kTlsPortChoseTls
                                                             : txt::kTlsPortChoseStartTls,
                      QString::number(address_.port));
        if (!running_) return;
    }
    const bool tls = address_.security != MailSecurity::Clear;
    if (tls && !QSslSocket::supportsSsl()) {
        return Refuse(txt::kTlsFailed, QSslSocket::sslLibraryVersionString());
    }
    const MailTrust trust = LoadMailTrust(tls ? extraAuthorities_ : std::filesystem::path());
    if (trust.noteTextId) {
        Q_EMIT logged(trust.noteTextId, trust.noteDetail);
        if (!running_) return;
    }

    socket_ = MakeMailSocket(trust, host);
    connect(socket_.get(), &QSslSocket::connected, this, &SmtpClient::OnConnected);
    connect(socket_.get(), &QSslSocket::encrypted, this, &SmtpClient::OnEncrypted);
    connect(socket_.get(), &QSslSocket::readyRead, this, &SmtpClient::OnReadyRead);
    connect(socket_.get(), &QSslSocket::bytesWritten, this, &SmtpClient::OnBytesWritten);
    connect(socket_.get(), &QSslSocket::errorOccurred, this, &SmtpClient::OnSocketError);
    // Verification is never waived: any certificate fault ends the dialogue.
    connect(socket_.get(), &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
        const int id = TlsRefusalTextId(errors);
        Refuse(id, id == txt::kTlsFailed && !errors.isEmpty()
                       ? errors.first().errorString()
                       : QString::fromStdString(address_.host));
    });
    ArmTimer(limits_.connect);
    if (address_.security == MailSecurity::Tls) {
        socket_->connectToHostEncrypted(host, address_.port);
    } else {
        socket_->connectToHost(host, address_.port);
    }
}

void SmtpClient::Abort() {
    if (!running_) return;
    failed_ = true;
    Q_EMIT logged(txt::kSmtpCancelled, {});
    Finish();
}

void SmtpClient::ArmTimer(std::chrono::milliseconds limit) {
    timer_.start(limit);
}

void SmtpClient::OnConnected() {
    if (address_.security == MailSecurity::Tls) {
        step_ = Step::Handshake;
        return ArmTimer(limits_.tlsHandshake);
    }
    step_ = Step::Greeting;
    ArmTimer(limits_.reply);
}

void SmtpClient::OnEncrypted() {
    if (!running_ || step_ != Step::Handshake) return;
    tlsUp_ = true;
    const QSslCipher cipher = socket_->sessionCipher();
    Q_EMIT logged(txt::kTlsEncrypted, cipher.protocolString() + ' ' + cipher.name());
    if (!running_) return;
    if (address_.security == MailSecurity::Tls) {
        step_ = Step::Greeting;
        return ArmTimer(limits_.reply);
    }
    SendCommand(Step::Ehlo, "EHLO " + HeloName(job_.heloName));
}

void SmtpClient::AfterEhlo(const QString& text) {
    const std::vector<QStringList> extensions = Extensions(text);
    eightBitMime_ = std::any_of(extensions.begin(), extensions.end(),
                                [](const QStringList& w) { return w[0] == "8BITMIME"; });
    if (address_.security == MailSecurity::StartTls && !tlsUp_) {
        const bool offered = std::any_of(extensions.begin(), extensions.end(),
                                         [](const QStringList& w) { return w[0] == "STARTTLS"; });
        if (!offered) return Refuse(txt::kTlsNotOffered, QStringLiteral("STARTTLS"));
        return SendCommand(Step::StartTls, "STARTTLS");
    }
    // AUTH only inside TLS, only when announced, PLAIN before LOGIN.
    QStringList mechanisms;
    for (const QStringList& w : extensions) {
        if (w[0] == "AUTH") mechanisms += w.mid(1);
    }
    const bool credentials = !account_.empty() && !password_.Get().empty();
    if (tlsUp_ && credentials) {
        if (mechanisms.contains("PLAIN")) {
            std::string raw;
            raw.reserve(account_.size() + password_.Get().size() + 2);
            raw += '\0';
            raw += account_;
            raw += '\0';
            raw += password_.Get();
            const SecretString plain(std::move(raw));
            return SendSecret(Step::AuthPlain, SecretString("AUTH PLAIN " + Base64(plain.Get())));
        }
        if (mechanisms.contains("LOGIN")) return SendCommand(Step::AuthLogin, "AUTH LOGIN");
    }
    SendCommand(Step::Rset, "RSET");
}

void SmtpClient::SendSecret(Step next, SecretString command) {
    step_ = next;
    ArmTimer(limits_.reply);
    *command += "\r\n";
    socket_->write(command.Get().data(), qint64(command.Get().size()));
}

void SmtpClient::OnReadyRead() {
    while (running_ && socket_ && socket_->bytesAvailable() > 0) {
        char buffer[4096];
        const qint64 n = socket_->read(buffer, sizeof buffer);
        if (n <= 0) return;
        replies_.Append(std::string_view(buffer, std::size_t(n)));
        while (running_) {
            const std::optional<SmtpReply> reply = replies_.Next();
            if (!reply) break;
            OnReply(reply->code,
                    QString::fromUtf8(reply->text.data(), qsizetype(reply->text.size())));
        }
        if (!running_) return;
        switch (replies_.fault()) {
            case SmtpReplyReader::Fault::LineTooLong:
                return Fail(txt::kSmtpLineTooLong, QString::number(kMaxReplyLine));
            case SmtpReplyReader::Fault::TooManyLines:
                return Fail(txt::kSmtpReplyTooLong, QString::number(kMaxReplyLines));
            case SmtpReplyReader::Fault::None:
                break;
        }
    }
}

void SmtpClient::SendCommand(Step next, const std::string& command) {
    step_ = next;
    ArmTimer(limits_.reply);
    const std::string line = command + "\r\n";
    socket_->write(line.data(), qint64(line.size()));
}

void SmtpClient::OnReply(int code, const QString& text) {
    switch (step_) {
        case Step::Greeting:
            if (code != 220) return Refused(text);
            connected_ = true;
            Q_EMIT logged(txt::kSmtpConnected, {});
            return SendCommand(Step::Ehlo, "EHLO " + HeloName(job_.heloName));
        case Step::Ehlo:
            if (code == 250) return AfterEhlo(text);
            // HELO cannot say STARTTLS: an encrypted dialogue needs EHLO.
            if (address_.security == MailSecurity::StartTls && !tlsUp_) {
                return Refuse(txt::kTlsNotOffered, QStringLiteral("STARTTLS"));
            }
            if (address_.security != MailSecurity::Clear) return Refused(text);
            return SendCommand(Step::Helo, "HELO " + HeloName(job_.heloName));
        case Step::StartTls:
            if (code != 220) return Refuse(txt::kTlsNotOffered, QStringLiteral("STARTTLS"));
            // Whatever came along with the 220 was sent in clear: dropped.
            replies_.Clear();
            step_ = Step::Handshake;
            ArmTimer(limits_.tlsHandshake);
            return socket_->startClientEncryption();
        case Step::AuthPlain:
        case Step::AuthPass:
            if (code != 235) return AuthRefused(text);
            Q_EMIT logged(txt::kSmtpAuthenticated, step_ == Step::AuthPlain
                                                       ? QStringLiteral("PLAIN")
                                                       : QStringLiteral("LOGIN"));
            if (!running_) return;
            return SendCommand(Step::Rset, "RSET");
        case Step::AuthLogin:
            if (code != 334) return AuthRefused(text);
            return SendSecret(Step::AuthUser, SecretString(Base64(account_)));
        case Step::AuthUser:
            if (code != 334) return AuthRefused(text);
            return SendSecret(Step::AuthPass, SecretString(Base64(password_.Get())));
        case Step::Helo:
            if (code != 250) return Refused(text);
            return SendCommand(Step::Rset, "RSET");
        case Step::Rset:
            return SendCommand(Step::MailFrom, MailFromCommand());
        case Step::MailFrom:
            if (code != 250) return Refused(text);
            return SendCommand(Step::RcptTo, "RCPT TO:<" + job_.recipients[0] + ">");
        case Step::RcptTo:
            if (code != 250 && code != 251) return Refused(text);
            if (++recipient_ < job_.recipients.size()) {
                return SendCommand(Step::RcptTo, "RCPT TO:<" + job_.recipients[recipient_] + ">");
            }
            return SendCommand(Step::Data, "DATA");
        case Step::Data: {
            if (code != 354) return Refused(text);
            Q_EMIT logged(txt::kSmtpTransmitting, {});
            if (!running_) return;
            step_ = Step::Sending;
            deadline_.Start(limits_.reply,
                            TransferCeiling(limits_, std::int64_t(job_.message.size())));
            return SendMoreData();
        }
        case Step::Sending:  // a reply before the end of the message: a refusal
            return Refused(text);
        case Step::EndOfData:
            deadline_.Stop();
            if (code != 250) return Refused(text);
            transferred_ = true;
            Q_EMIT logged(txt::kSmtpSent, {});
            return SendCommand(Step::Quit, "QUIT");
        case Step::Quit:
            return Finish();
        case Step::Idle:
        case Step::Connecting:
        case Step::Handshake:
            return;
    }
}

void SmtpClient::SendMoreData() {
    if (step_ != Step::Sending || !socket_) return;
    const std::string& m = job_.message;
    while (dataPos_ < m.size() && std::size_t(socket_->bytesToWrite()) < kDataWindow) {
        const std::size_t end = std::min(m.size(), dataPos_ + kPiece);
        std::string piece;
        piece.reserve(end - dataPos_ + 64);
        for (std::size_t i = dataPos_; i < end; ++i) {
            if (atLineStart_ && m[i] == '.') piece += '.';
            piece += m[i];
            atLineStart_ = m[i] == '\n';
        }
        dataPos_ = end;
        socket_->write(piece.data(), qint64(piece.size()));
        Q_EMIT progress(qint64(dataPos_), qint64(m.size()));
        if (!running_) return;  // a receiver aborted
    }
    if (dataPos_ >= m.size()) {
        const bool endsWithLine = m.size() >= 2 && m.compare(m.size() - 2, 2, "\r\n") == 0;
        const std::string end = endsWithLine ? ".\r\n" : "\r\n.\r\n";
        socket_->write(end.data(), qint64(end.size()));
        step_ = Step::EndOfData;  // idle limit until the last byte is out
    }
}

void SmtpClient::OnBytesWritten() {
    if (!running_ || !socket_) return;
    deadline_.Touch();
    if (step_ == Step::EndOfData && deadline_.running() && socket_->bytesToWrite() == 0) {
        // All handed over: the relay's verdict may take a while.
        deadline_.Stop();
        ArmTimer(limits_.reply);
        return;
    }
    SendMoreData();
}

std::string SmtpClient::MailFromCommand() {
    std::string command = "MAIL FROM:<" + job_.fromAddress + ">";
    if (!HasEightBit(job_.message)) return command;
    if (eightBitMime_) return command + " BODY=8BITMIME";
    // Sent all the same: most relays take it.
    Q_EMIT logged(txt::kSmtpNo8BitMime, {});
    return command;
}

void SmtpClient::OnSocketError() {
    if (!running_) return;
    if (step_ == Step::Quit) return Finish();
    if (step_ == Step::Handshake) return Refuse(txt::kTlsFailed, socket_->errorString());
    if (step_ == Step::Connecting) {
        return Fail(ConnectFailureTextId(socket_->error()),
                    LogDetails({serverName_, socket_->errorString()}));
    }
    LostConnection();
}

void SmtpClient::LostConnection() {
    if (step_ == Step::Greeting || step_ == Step::Handshake) {
        return Fail(txt::kNetClosedEarly, serverName_);
    }
    if (step_ == Step::Sending || step_ == Step::EndOfData) {
        return Fail(txt::kNetClosedInTransfer, serverName_);
    }
    Fail(txt::kNetClosed, LogDetails({serverName_, StepName(step_)}));
}

void SmtpClient::OnTimeout() {
    if (!running_) return;
    if (step_ == Step::Quit) return Finish();
    const QString reply = Seconds(limits_.reply);
    switch (step_) {
        case Step::Connecting:
            return Fail(txt::kNetConnectTimedOut,
                        LogDetails({serverName_, Seconds(limits_.connect)}));
        case Step::Handshake:
            return Fail(txt::kNetTlsTimedOut,
                        LogDetails({serverName_, Seconds(limits_.tlsHandshake)}));
        case Step::Greeting:
            return Fail(txt::kNetGreetingTimedOut, LogDetails({serverName_, reply}));
        case Step::Sending:
        case Step::EndOfData:
            if (deadline_.CeilingReached()) {
                return Fail(txt::kNetTransferCeiling,
                            LogDetails({serverName_, Seconds(deadline_.ceiling()),
                                        QString::number(limits_.slowestRate)}));
            }
            if (deadline_.running()) {
                return Fail(txt::kNetTransferIdle, LogDetails({serverName_, reply}));
            }
            return Fail(txt::kNetEndOfDataTimedOut, LogDetails({serverName_, reply}));
        default:
            return Fail(txt::kNetCommandTimedOut,
                        LogDetails({serverName_, reply, StepName(step_)}));
    }
}

void SmtpClient::Refused(const QString& text) {
    Q_EMIT logged(txt::kSmtpServerReply, text);
    if (!running_) return;
    Q_EMIT error(text);
    if (!running_) return;
    failed_ = true;
    Q_EMIT logged(connected_ ? txt::kSmtpTransferFailed : txt::kSmtpConnectFailed, {});
    if (!running_) return;
    // A relay that refused a command still hears QUIT; mid-message it cannot.
    if (connected_ && step_ != Step::Sending && socket_ &&
        socket_->state() == QAbstractSocket::ConnectedState) {
        return SendCommand(Step::Quit, "QUIT");
    }
    Finish();
}

void SmtpClient::AuthRefused(const QString& text) {
    Q_EMIT logged(txt::kSmtpAuthRefused, text);
    if (!running_) return;
    Q_EMIT error(FrenchLogLine(txt::kSmtpAuthRefused, text));
    if (!running_) return;
    failed_ = true;
    Q_EMIT logged(txt::kSmtpTransferFailed, {});
    if (!running_) return;
    SendCommand(Step::Quit, "QUIT");
}

void SmtpClient::Refuse(int textId, const QString& detail) {
    if (!running_) return;
    failed_ = true;
    Q_EMIT logged(textId, detail);
    if (!running_) return;
    Q_EMIT error(FrenchLogLine(textId, detail));
    if (!running_) return;
    Q_EMIT logged(connected_ ? txt::kSmtpTransferFailed : txt::kSmtpConnectFailed, {});
    Finish();
}

void SmtpClient::Fail(int textId, const QString& detail) {
    if (!running_) return;
    failed_ = true;
    if (textId != txt::kSmtpConnectFailed) {
        Q_EMIT logged(textId, detail);
        if (!running_) return;
    }
    Q_EMIT error(FrenchLogLine(textId, detail));
    if (!running_) return;
    Q_EMIT logged(connected_ ? txt::kSmtpTransferFailed : txt::kSmtpConnectFailed, {});
    Finish();
}

void SmtpClient::Finish() {
    if (!running_) return;
    running_ = false;
    deadline_.Stop();
    timer_.stop();
    step_ = Step::Idle;
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        // May run inside one of the socket's own signals.
        socket_.release()->deleteLater();
    }
    job_.message.clear();
    job_.message.shrink_to_fit();
    password_ = SecretString();
    if (connected_) Q_EMIT logged(txt::kSmtpDisconnected, {});
    Q_EMIT finished(connected_, transferred_);
}

QString SmtpClient::StepName(Step step) {
    switch (step) {
        case Step::Idle:
        case Step::Connecting:
            return QStringLiteral("CONNECT");
        case Step::Handshake:
            return QStringLiteral("TLS");
        case Step::Greeting:
            return QStringLiteral("(greeting)");
        case Step::StartTls:
            return QStringLiteral("STARTTLS");
        case Step::AuthPlain:
        case Step::AuthLogin:
        case Step::AuthUser:
        case Step::AuthPass:
            return QStringLiteral("AUTH");
        case Step::Ehlo:
            return QStringLiteral("EHLO");
        case Step::Helo:
            return QStringLiteral("HELO");
        case Step::Rset:
            return QStringLiteral("RSET");
        case Step::MailFrom:
            return QStringLiteral("MAIL FROM");
        case Step::RcptTo:
            return QStringLiteral("RCPT TO");
        case Step::Data:
            return QStringLiteral("DATA");
        case Step::Sending:
        case Step::EndOfData:
            return QStringLiteral("DATA .");
        case Step::Quit:
            return QStringLiteral("QUIT");
    }
    return {};
}

}  // namespace quarnel
