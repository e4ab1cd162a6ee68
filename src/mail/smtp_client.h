#pragma once
// Sending one mail by SMTP: a signal-driven dialogue on a QTcpSocket that
// never blocks the event loop.

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mail/mail_limits.h"

class QTcpSocket;

namespace quarnel {

/// What to send and where.
struct SmtpJob {
    QString server;  ///< host or host:port, default port 25
    QString heloName;
    std::string message;  ///< the whole MIME message, CR LF lines, not yet dot-stuffed
    std::string fromAddress;
    std::vector<std::string> recipients;
};

/// The relay's host and port of "host[:port]"; port 0 when the text is not a
/// valid address.
struct ServerAddress {
    QString host;
    quint16 port = 0;
};
[[nodiscard]] ServerAddress ParseServerAddress(const QString& server, quint16 defaultPort);

class SmtpClient : public QObject {
    Q_OBJECT
  public:
    explicit SmtpClient(QObject* parent = nullptr, MailLimits limits = {});
    ~SmtpClient() override;

    /// Starts the dialogue; the outcome comes through `finished`, exactly
    /// once per Start.
    void Start(const SmtpJob& job);
    /// Ends the dialogue at once (finished follows with what was reached).
    void Abort();
    [[nodiscard]] bool IsRunning() const { return running_; }

  Q_SIGNALS:
    /// One per step: a text of mail/texts.h and its detail.
    void logged(int textId, const QString& detail);
    void progress(qint64 done, qint64 total);
    /// The server's text of a refusal, or what went wrong on the line.
    void error(const QString& serverText);
    /// connected: the relay greeted us; transferred: it accepted the message.
    void finished(bool connected, bool transferred);

  private:
    enum class Step {
        Idle,
        Connecting,
        Greeting,
        Ehlo,
        Helo,
        Rset,
        MailFrom,
        RcptTo,
        Data,
        Sending,
        EndOfData,
        Quit,
    };

    void OnConnected();
    void OnReadyRead();
    void OnBytesWritten(qint64 bytes);
    void OnDisconnected();
    void OnTimeout();
    void OnReply(int code, const QString& text);
    void SendCommand(Step next, const std::string& command);
    void SendMoreData();
    void ArmTimer(std::chrono::milliseconds limit);
    void Fail(int textId, const QString& detail);
    void Finish();
    [[nodiscard]] QString StepName(Step step) const;

    MailLimits limits_;
    SmtpJob job_;
    std::unique_ptr<QTcpSocket> socket_;
    QTimer timer_;
    Step step_ = Step::Idle;
    bool running_ = false;
    bool connected_ = false;
    bool transferred_ = false;
    std::string inbox_;  ///< bytes of a reply line not yet complete
    QString replyText_;  ///< the lines of a multi-line reply so far
    std::size_t replyLines_ = 0;
    std::size_t recipient_ = 0;
    std::size_t dataPos_ = 0;  ///< how far into job_.message the DATA has gone
    bool atLineStart_ = true;  ///< for dot-stuffing across pieces
    qint64 queued_ = 0;        ///< bytes handed to the socket not yet written
    qint64 written_ = 0;
};

}  // namespace quarnel
