#pragma once
// Sending one mail by SMTP: a signal-driven dialogue on a QTcpSocket that
// never blocks the event loop.

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
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

/// What to send and where.
struct SmtpJob {
    QString server;  ///< a server setting (mail/server_address.h), default port 25
    QString heloName;
    std::string message;  ///< the whole MIME message, CR LF lines, not yet dot-stuffed
    std::string fromAddress;
    std::vector<std::string> recipients;
};

/// The most recipients of one mail.
inline constexpr std::size_t kMaxRecipients = 100;
/// The longest address accepted for MAIL FROM and RCPT TO.
inline constexpr std::size_t kMaxAddressLength = 254;
/// How much of the message is handed to the socket ahead of the wire.
inline constexpr std::size_t kDataWindow = 256 * 1024;

/// Sends one mail. Every step is logged through `logged` (from "Appel" to
/// "Déconnexion du transmetteur SMTP", failures included), so a window only
/// has to show the lines; `finished` comes last, exactly once per Start (at
/// once, inside Start, for a job refused before connecting). A receiver may
/// start the next job from `finished`, but must not delete the client from
/// one of its signals (deleteLater does).
class SmtpClient : public QObject {
    Q_OBJECT
  public:
    explicit SmtpClient(QObject* parent = nullptr, MailLimits limits = {});
    ~SmtpClient() override;
    SmtpClient(const SmtpClient&) = delete;
    SmtpClient& operator=(const SmtpClient&) = delete;

    /// Starts the dialogue (ignored while one runs). The rvalue form takes
    /// the message over instead of copying it. A TLS refusal (certificate,
    /// STARTTLS missing) or a refused AUTH has a log line of its own and
    /// ends the dialogue: nothing is ever sent in clear instead.
    void Start(const SmtpJob& job);
    void Start(SmtpJob&& job);
    /// For AUTH of the next Start: sent only over TLS and only when the
    /// relay announces AUTH; the password is wiped when that dialogue ends.
    void SetCredentials(std::string account, SecretString password) {
        account_ = std::move(account);
        password_ = std::move(password);
    }
    /// The holder's extra authority file (kExtraAuthorityFile), if any.
    void SetExtraAuthorities(std::filesystem::path file) { extraAuthorities_ = std::move(file); }
    /// Ends the dialogue at once at the holder's request (logged so, no
    /// error); finished follows with what was reached.
    void Abort();
    [[nodiscard]] bool IsRunning() const { return running_; }

  Q_SIGNALS:
    /// One per step: a text of mail/texts.h and the value of its %s.
    void logged(int textId, const QString& detail);
    /// Message bytes handed over during DATA, of the message's size.
    void progress(qint64 done, qint64 total);
    /// The relay's reply text on a refusal; on a fault of the line (time-out,
    /// cut, malformed reply) the logged line's French text.
    void error(const QString& serverText);
    /// connected: the relay greeted us with 220; transferred: it accepted
    /// the message.
    void finished(bool connected, bool transferred);

  private:
    enum class Step {
        Idle,
        Connecting,
        Handshake,
        Greeting,
        Ehlo,
        StartTls,
        AuthPlain,
        AuthLogin,
        AuthUser,
        AuthPass,
        Helo,
        Rset,
        MailFrom,
        RcptTo,
        Data,
        Sending,
        EndOfData,
        Quit
    };

    void OnConnected();
    void OnEncrypted();
    void AfterEhlo(const QString& text);
    void SendSecret(Step next, SecretString command);
    void AuthRefused(const QString& text);
    void Refuse(int textId, const QString& detail);
    void OnReadyRead();
    void OnBytesWritten();
    void OnSocketError();
    void OnTimeout();
    void OnReply(int code, const QString& text);
    void SendCommand(Step next, const std::string& command);
    void SendMoreData();
    void ArmTimer(std::chrono::milliseconds limit);
    [[nodiscard]] std::string MailFromCommand();
    /// The line for a connection the server cut, by where the dialogue was.
    void LostConnection();
    void Refused(const QString& text);
    void Fail(int textId, const QString& detail);
    void Finish();
    [[nodiscard]] static QString StepName(Step step);

    MailLimits limits_;
    SmtpJob job_;
    std::string account_;
    SecretString password_;
    std::filesystem::path extraAuthorities_;
    std::unique_ptr<QSslSocket> socket_;
    MailServerAddress address_;
    bool tlsUp_ = false;
    QString serverName_;  ///< "host:port", as the log names the relay
    QTimer timer_;
    TransferDeadline deadline_{timer_};  ///< of DATA
    Step step_ = Step::Idle;
    bool running_ = false;
    bool connected_ = false;
    bool transferred_ = false;
    bool failed_ = false;
    bool eightBitMime_ = false;  ///< the relay announced 8BITMIME (RFC 6152)
    SmtpReplyReader replies_;
    std::size_t recipient_ = 0;
    std::size_t dataPos_ = 0;  ///< how far into job_.message DATA has gone
    bool atLineStart_ = true;  ///< dot-stuffing across pieces
};

}  // namespace quarnel
