// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sending one mail by SMTP: a signal-driven dialogue on a QTcpSocket that
// never blocks the event loop.

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "crypto/secret.h"
#include "mail/mail_replies.h"
#include "mail/network_session.h"

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
/// once, inside Start, for a job refused before connecting): reached when the
/// relay greeted us with 220, completed when it accepted the message, and on
/// a failure the relay's reply text, or the logged line's French text for a
/// fault of the line.
class SmtpClient : public NetworkSession {
    Q_OBJECT
  public:
    explicit SmtpClient(QObject* parent = nullptr, MailLimits limits = {});
    ~SmtpClient() override = default;

    /// Starts the dialogue (ignored while one runs), taking the message over
    /// rather than copying it. A TLS refusal (certificate, STARTTLS missing)
    /// or a refused AUTH has a log line of its own and ends the dialogue:
    /// nothing is ever sent in clear instead.
    void Start(SmtpJob&& job);
    /// For AUTH of the next Start: sent only over TLS and only when the
    /// relay announces AUTH; the password is wiped when that dialogue ends.
    void SetCredentials(std::string account, SecretString password) {
        account_ = std::move(account);
        password_ = std::move(password);
    }
    /// Ends the dialogue at once at the holder's request (logged so, no
    /// error); finished follows with what was reached.
    void Abort();

  Q_SIGNALS:
    /// Message bytes handed over during DATA, of the message's size.
    void progress(qint64 done, qint64 total);

  private:
    enum class Step {
        Idle,
        Connecting,
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

    void OnOpened() override;
    void OnSecured() override;
    void OnReadable() override;
    void OnWritten() override;
    void OnLinkFault(const LinkFault& fault) override;
    void Ending() override;

    void AfterEhlo(const QString& text);
    void SendSecret(Step next, SecretString command);
    void AuthRefused(const QString& text);
    void OnReply(int code, const QString& text);
    void SendCommand(Step next, const std::string& command);
    void SendMoreData();
    [[nodiscard]] std::string MailFromCommand();
    void Refused(const QString& text);
    /// Logs `textId` (unless it is the failed connection itself), then the
    /// failed connection or transfer, and ends the dialogue.
    void Fail(SessionFailure failure, int textId, const QString& detail);
    [[nodiscard]] QString StepName() const;

    SmtpJob job_;
    std::string account_;
    SecretString password_;
    Step step_ = Step::Idle;
    bool eightBitMime_ = false;  ///< the relay announced 8BITMIME (RFC 6152)
    SmtpReplyReader replies_;
    std::size_t recipient_ = 0;
    std::size_t dataPos_ = 0;  ///< how far into job_.message DATA has gone
    bool atLineStart_ = true;  ///< dot-stuffing across pieces
};

}  // namespace quarnel
