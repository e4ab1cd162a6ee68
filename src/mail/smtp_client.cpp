// SPDX-License-Identifier: GPL-3.0-or-later
// The SMTP dialogue as a state machine driven by the socket's signals.

#include "mail/smtp_client.h"

#include <QTcpSocket>
#include <algorithm>
#include <cctype>

#include "mail/mail_tls.h"
#include "mail/texts.h"
#include "resources/texts.h"

namespace quarnel {

namespace {

constexpr std::size_t kPiece = 64 * 1024;

bool HasEightBit(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return (unsigned char)c >= 0x80; });
}

// An address that cannot break out of "<...>" nor out of its command line,
// in ASCII: an address in another script needs the relay's SMTPUTF8, which
// the client does not speak, and would go out as raw bytes.
bool AddressTravels(const std::string& a) {
    if (a.empty() || a.size() > kMaxAddressLength) return false;
    for (const unsigned char c : a) {
        if (c <= 0x20 || c >= 0x7f || c == '<' || c == '>') return false;
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

SmtpClient::SmtpClient(QObject* parent, MailLimits limits) : NetworkSession(parent, limits) {}

void SmtpClient::Start(SmtpJob&& job) {
    if (IsRunning()) return;
    Begin();
    job_ = std::move(job);
    replies_.Clear();
    recipient_ = dataPos_ = 0;
    atLineStart_ = true;
    eightBitMime_ = false;
    step_ = Step::Connecting;
    if (!Log(txt::kSmtpCall)) return;

    // Refused before any connection: nothing may be injected into a command.
    const auto refuse = [this](const std::string& address) {
        Fail(SessionFailure::Unusable, txt::kSmtpAddressRefused, QString::fromStdString(address));
    };
    if (!AddressTravels(job_.fromAddress)) return refuse(job_.fromAddress);
    if (job_.recipients.empty()) return refuse({});
    if (job_.recipients.size() > kMaxRecipients) return refuse(job_.recipients[kMaxRecipients]);
    for (const std::string& a : job_.recipients) {
        if (!AddressTravels(a)) return refuse(a);
    }
    const auto address = ParseMailServer(job_.server.toStdString(), MailProtocol::Smtp);
    if (!address) return Fail(SessionFailure::Unusable, txt::kSmtpConnectFailed, job_.server);
    Connect(*address);
}

void SmtpClient::Abort() {
    if (!IsRunning()) return;
    NoteFailure(SessionFailure::Cancelled, {});
    if (Log(txt::kSmtpCancelled)) Finish();
}

void SmtpClient::OnOpened() {
    step_ = Step::Greeting;
    Arm(limits().reply);
}

void SmtpClient::OnSecured() {
    SendCommand(Step::Ehlo, "EHLO " + HeloName(job_.heloName));
}

void SmtpClient::AfterEhlo(const QString& text) {
    const std::vector<QStringList> extensions = Extensions(text);
    eightBitMime_ = std::any_of(extensions.begin(), extensions.end(),
                                [](const QStringList& w) { return w[0] == "8BITMIME"; });
    if (server().security == MailSecurity::StartTls && !encrypted()) {
        const bool offered = std::any_of(extensions.begin(), extensions.end(),
                                         [](const QStringList& w) { return w[0] == "STARTTLS"; });
        if (!offered) {
            return Fail(SessionFailure::Tls, txt::kTlsNotOffered, QStringLiteral("STARTTLS"));
        }
        return SendCommand(Step::StartTls, "STARTTLS");
    }
    // AUTH only inside TLS, only when announced, PLAIN before LOGIN.
    QStringList mechanisms;
    for (const QStringList& w : extensions) {
        if (w[0] == "AUTH") mechanisms += w.mid(1);
    }
    const bool credentials = !account_.empty() && !password_.Get().empty();
    if (encrypted() && credentials) {
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
    Arm(limits().reply);
    *command += "\r\n";
    Write(command.Get());
}

void SmtpClient::OnReadable() {
    const quint64 token = Token();
    while (Still(token) && HasSocket() && socket().bytesAvailable() > 0) {
        char buffer[4096];
        const qint64 n = socket().read(buffer, sizeof buffer);
        if (n <= 0) return;
        replies_.Append(std::string_view(buffer, std::size_t(n)));
        while (Still(token)) {
            const std::optional<SmtpReply> reply = replies_.Next();
            if (!reply) break;
            OnReply(reply->code,
                    QString::fromUtf8(reply->text.data(), qsizetype(reply->text.size())));
        }
        if (!Still(token)) return;
        switch (replies_.fault()) {
            case SmtpReplyReader::Fault::LineTooLong:
                return Fail(SessionFailure::BadReply, txt::kSmtpLineTooLong,
                            QString::number(kMaxReplyLine));
            case SmtpReplyReader::Fault::TooManyLines:
                return Fail(SessionFailure::BadReply, txt::kSmtpReplyTooLong,
                            QString::number(kMaxReplyLines));
            case SmtpReplyReader::Fault::None:
                break;
        }
    }
}

void SmtpClient::SendCommand(Step next, const std::string& command) {
    step_ = next;
    Arm(limits().reply);
    Write(command + "\r\n");
}

void SmtpClient::OnReply(int code, const QString& text) {
    switch (step_) {
        case Step::Greeting:
            if (code != 220) return Refused(text);
            result().reached = true;
            if (!Log(txt::kSmtpConnected)) return;
            return SendCommand(Step::Ehlo, "EHLO " + HeloName(job_.heloName));
        case Step::Ehlo:
            if (code == 250) return AfterEhlo(text);
            // HELO cannot say STARTTLS: an encrypted dialogue needs EHLO.
            if (server().security == MailSecurity::StartTls && !encrypted()) {
                return Fail(SessionFailure::Tls, txt::kTlsNotOffered, QStringLiteral("STARTTLS"));
            }
            if (server().security != MailSecurity::Clear) return Refused(text);
            return SendCommand(Step::Helo, "HELO " + HeloName(job_.heloName));
        case Step::StartTls:
            if (code != 220) {
                return Fail(SessionFailure::Tls, txt::kTlsNotOffered, QStringLiteral("STARTTLS"));
            }
            // Whatever came along with the 220 was sent in clear: dropped.
            replies_.Clear();
            return StartTls();
        case Step::AuthPlain:
        case Step::AuthPass:
            if (code != 235) return AuthRefused(text);
            if (!Log(txt::kSmtpAuthenticated, step_ == Step::AuthPlain ? QStringLiteral("PLAIN")
                                                                       : QStringLiteral("LOGIN"))) {
                return;
            }
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
        case Step::Data:
            if (code != 354) return Refused(text);
            if (!Log(txt::kSmtpTransmitting)) return;
            step_ = Step::Sending;
            StartTransfer(std::int64_t(job_.message.size()));
            return SendMoreData();
        case Step::Sending:  // a reply before the end of the message: a refusal
            return Refused(text);
        case Step::EndOfData:
            Disarm();
            if (code != 250) return Refused(text);
            result().completed = true;
            if (!Log(txt::kSmtpSent)) return;
            return SendCommand(Step::Quit, "QUIT");
        case Step::Quit:
            return Finish();
        case Step::Idle:
        case Step::Connecting:
            return;
    }
}

void SmtpClient::SendMoreData() {
    if (step_ != Step::Sending || !HasSocket()) return;
    const quint64 token = Token();
    const std::string& m = job_.message;
    while (dataPos_ < m.size() && std::size_t(socket().bytesToWrite()) < kDataWindow) {
        const std::size_t end = std::min(m.size(), dataPos_ + kPiece);
        std::string piece;
        piece.reserve(end - dataPos_ + 64);
        for (std::size_t i = dataPos_; i < end; ++i) {
            if (atLineStart_ && m[i] == '.') piece += '.';
            piece += m[i];
            atLineStart_ = m[i] == '\n';
        }
        dataPos_ = end;
        Write(piece);
        Q_EMIT progress(qint64(dataPos_), qint64(m.size()));
        if (!Still(token)) return;  // a receiver aborted
    }
    if (dataPos_ >= m.size()) {
        const bool endsWithLine = m.size() >= 2 && m.compare(m.size() - 2, 2, "\r\n") == 0;
        Write(endsWithLine ? ".\r\n" : "\r\n.\r\n");
        step_ = Step::EndOfData;  // idle limit until the last byte is out
    }
}

void SmtpClient::OnWritten() {
    if (!IsRunning() || !HasSocket()) return;
    Touch();
    if (step_ == Step::EndOfData && InTransfer() && socket().bytesToWrite() == 0) {
        // All handed over: the relay's verdict may take a while.
        return Arm(limits().reply);
    }
    SendMoreData();
}

std::string SmtpClient::MailFromCommand() {
    std::string command = "MAIL FROM:<" + job_.fromAddress + ">";
    if (!HasEightBit(job_.message)) return command;
    if (eightBitMime_) return command + " BODY=8BITMIME";
    // Sent all the same: most relays take it.
    Log(txt::kSmtpNo8BitMime);
    return command;
}

void SmtpClient::OnLinkFault(const LinkFault& fault) {
    // The relay may close or fall silent after QUIT: the mail is through.
    if (step_ == Step::Quit && fault.kind != LinkFault::Kind::Tls) return Finish();
    if (fault.kind == LinkFault::Kind::Tls) {
        return Fail(SessionFailure::Tls, fault.textId, fault.reason);
    }
    const Awaiting awaiting = step_ == Step::Greeting ? Awaiting::Greeting
                              : step_ == Step::Sending || step_ == Step::EndOfData
                                  ? Awaiting::TransferEnd
                                  : Awaiting::Reply;
    const auto [textId, detail] = FaultLine(fault, awaiting, StepName());
    Fail(FailureOf(fault), textId, detail);
}

void SmtpClient::Refused(const QString& text) {
    if (!Log(txt::kSmtpServerReply, text)) return;
    NoteFailure(SessionFailure::Refused, text);
    const bool reached = result().reached;
    if (!Log(reached ? txt::kSmtpTransferFailed : txt::kSmtpConnectFailed)) return;
    // A relay that refused a command still hears QUIT; mid-message it cannot.
    if (reached && step_ != Step::Sending && HasSocket() &&
        socket().state() == QAbstractSocket::ConnectedState) {
        return SendCommand(Step::Quit, "QUIT");
    }
    Finish();
}

void SmtpClient::AuthRefused(const QString& text) {
    if (!Log(txt::kSmtpAuthRefused, text)) return;
    NoteFailure(SessionFailure::Refused, FrenchLogLine(txt::kSmtpAuthRefused, text));
    if (!Log(txt::kSmtpTransferFailed)) return;
    SendCommand(Step::Quit, "QUIT");
}

void SmtpClient::Fail(SessionFailure failure, int textId, const QString& detail) {
    if (!IsRunning()) return;
    NoteFailure(failure, FrenchLogLine(textId, detail));
    if (textId != txt::kSmtpConnectFailed && !Log(textId, detail)) return;
    if (!Log(result().reached ? txt::kSmtpTransferFailed : txt::kSmtpConnectFailed)) return;
    Finish();
}

void SmtpClient::Ending() {
    step_ = Step::Idle;
    job_.message.clear();
    job_.message.shrink_to_fit();
    password_ = SecretString();
    if (result().reached) Q_EMIT logged(txt::kSmtpDisconnected, {});
}

QString SmtpClient::StepName() const {
    switch (step_) {
        case Step::Idle:
        case Step::Connecting:
            return QStringLiteral("CONNECT");
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
