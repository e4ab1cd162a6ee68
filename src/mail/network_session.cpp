// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/network_session.h"

#include <QSslCipher>
#include <QSslSocket>

#include "mail/mail_tls.h"
#include "mail/texts.h"

namespace quarnel {

NetworkSession::NetworkSession(QObject* parent, MailLimits limits)
    : QObject(parent), limits_(limits) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &NetworkSession::OnTimer);
}

NetworkSession::~NetworkSession() {
    if (!socket_) return;
    socket_->disconnect(this);
    socket_->abort();
}

void NetworkSession::Begin() {
    Drop();
    ++generation_;
    running_ = true;
    result_ = {};
    encrypted_ = upgrading_ = false;
}

void NetworkSession::Drop() {
    if (!running_) return;
    running_ = false;
    Disarm();
    DropSocket();
    phase_ = Phase::Idle;
    Ending();
}

void NetworkSession::NoteFailure(SessionFailure failure, const QString& why) {
    if (result_.failure != SessionFailure::None) return;
    result_.failure = failure;
    result_.why = why;
}

void NetworkSession::Finish() {
    if (!running_) return;
    Drop();
    const SessionResult result = std::exchange(result_, {});
    Q_EMIT finished(result);
}

bool NetworkSession::Log(int textId, const QString& detail) {
    const quint64 token = generation_;
    Q_EMIT logged(textId, detail);
    return Still(token);
}

void NetworkSession::Connect(const MailServerAddress& server) {
    DropSocket();
    server_ = server;
    serverName_ = ServerName(server);
    encrypted_ = upgrading_ = closedTold_ = false;
    if (server.securityFromPort &&
        !Log(server.security == MailSecurity::Tls ? txt::kTlsPortChoseTls
                                                  : txt::kTlsPortChoseStartTls,
             QString::number(server.port))) {
        return;
    }
    const QString host = QString::fromStdString(server.host);
    const bool tls = server.security != MailSecurity::Clear;
    if (tls && !QSslSocket::supportsSsl()) {
        return OnLinkFault({LinkFault::Kind::Tls, Phase::Connecting,
                            QAbstractSocket::UnknownSocketError,
                            QSslSocket::sslLibraryVersionString(), txt::kTlsFailed});
    }
    if (tls) {
        const MailTrust trust = LoadMailTrust(extraAuthorities_);
        if (trust.noteTextId && !Log(trust.noteTextId, trust.noteDetail)) return;
        std::unique_ptr<QSslSocket> socket = MakeMailSocket(trust, host);
        tls_ = socket.get();
        socket_ = std::move(socket);
        connect(tls_, &QSslSocket::encrypted, this, &NetworkSession::OnEncrypted);
        // Verification is never waived: any certificate fault ends the session.
        connect(tls_, &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
            const int id = TlsRefusalTextId(errors);
            OnLinkFault({LinkFault::Kind::Tls, phase_, QAbstractSocket::SslHandshakeFailedError,
                         id == txt::kTlsFailed && !errors.isEmpty()
                             ? errors.first().errorString()
                             : QString::fromStdString(server_.host),
                         id});
        });
    } else {
        socket_ = std::make_unique<QTcpSocket>();
    }
    QTcpSocket* s = socket_.get();
    if (readBufferSize_ > 0) s->setReadBufferSize(readBufferSize_);
    connect(s, &QTcpSocket::hostFound, this, [this] { OnHostFound(); });
    connect(s, &QTcpSocket::connected, this, &NetworkSession::OnConnected);
    connect(s, &QTcpSocket::readyRead, this, [this] { OnReadable(); });
    connect(s, &QTcpSocket::bytesWritten, this, [this] { OnWritten(); });
    connect(s, &QTcpSocket::errorOccurred, this, &NetworkSession::OnSocketError);
    connect(s, &QTcpSocket::disconnected, this, &NetworkSession::OnDisconnected);
    phase_ = Phase::Connecting;
    Arm(limits_.connect);
    if (server.security == MailSecurity::Tls) {
        tls_->connectToHostEncrypted(host, server.port);
    } else {
        s->connectToHost(host, server.port);
    }
}

void NetworkSession::StartTls() {
    if (!tls_ || phase_ != Phase::Open) return;
    phase_ = Phase::Handshake;
    upgrading_ = true;
    Arm(limits_.tlsHandshake);
    tls_->startClientEncryption();
}

void NetworkSession::Write(std::string_view bytes) {
    if (socket_) socket_->write(bytes.data(), qint64(bytes.size()));
}

void NetworkSession::OnConnected() {
    if (server_.security == MailSecurity::Tls) {
        phase_ = Phase::Handshake;
        return Arm(limits_.tlsHandshake);
    }
    phase_ = Phase::Open;
    OnOpened();
}

void NetworkSession::OnEncrypted() {
    if (!running_ || phase_ != Phase::Handshake) return;
    encrypted_ = true;
    phase_ = Phase::Open;
    const QSslCipher cipher = tls_->sessionCipher();
    if (!Log(txt::kTlsEncrypted, cipher.protocolString() + ' ' + cipher.name())) return;
    if (std::exchange(upgrading_, false)) return OnSecured();
    OnOpened();
}

void NetworkSession::OnSocketError(QAbstractSocket::SocketError error) {
    if (!running_ || !socket_) return;
    const QString reason = socket_->errorString();
    switch (phase_) {
        case Phase::Idle:
            return;
        case Phase::Connecting:
            return OnLinkFault({LinkFault::Kind::Unreachable, phase_, error, reason, 0});
        case Phase::Handshake:
            return OnLinkFault({LinkFault::Kind::Tls, phase_, error, reason, txt::kTlsFailed});
        case Phase::Open:
            if (std::exchange(closedTold_, true)) return;
            return OnLinkFault({error == QAbstractSocket::RemoteHostClosedError
                                    ? LinkFault::Kind::Closed
                                    : LinkFault::Kind::Broken,
                                phase_, error, reason, 0});
    }
}

void NetworkSession::OnDisconnected() {
    if (!running_ || phase_ == Phase::Idle || phase_ == Phase::Connecting) return;
    if (std::exchange(closedTold_, true)) return;
    OnLinkFault({LinkFault::Kind::Closed, phase_, QAbstractSocket::RemoteHostClosedError, {}, 0});
}

void NetworkSession::OnTimer() {
    if (!running_) return;
    OnLinkFault({LinkFault::Kind::TimedOut, phase_, QAbstractSocket::SocketTimeoutError, {}, 0});
}

void NetworkSession::Arm(std::chrono::milliseconds limit) {
    deadline_.Stop();
    timer_.start(limit);
}

void NetworkSession::Disarm() {
    deadline_.Stop();
    timer_.stop();
}

void NetworkSession::StartTransfer(std::int64_t bytes) {
    deadline_.Start(limits_.reply, TransferCeiling(limits_, bytes));
}

void NetworkSession::DropSocket() {
    tls_ = nullptr;
    if (!socket_) return;
    socket_->disconnect(this);
    socket_->abort();
    // May run inside one of the socket's own signals.
    socket_.release()->deleteLater();
}

std::pair<int, QString> NetworkSession::FaultLine(const LinkFault& fault, Awaiting awaiting,
                                                  const QString& command) const {
    const QString reply = Seconds(limits_.reply);
    const bool transfer = awaiting == Awaiting::Transfer || awaiting == Awaiting::TransferEnd;
    switch (fault.kind) {
        case LinkFault::Kind::Unreachable:
            return {ConnectFailureTextId(fault.error), LogDetails({serverName_, fault.reason})};
        case LinkFault::Kind::Tls:
            return {fault.textId, fault.reason};
        case LinkFault::Kind::Closed:
        case LinkFault::Kind::Broken:
            if (fault.phase == Phase::Handshake || awaiting == Awaiting::Greeting) {
                return {txt::kNetClosedEarly, serverName_};
            }
            if (transfer) return {txt::kNetClosedInTransfer, serverName_};
            return {txt::kNetClosed, LogDetails({serverName_, command})};
        case LinkFault::Kind::TimedOut:
            break;
    }
    if (fault.phase == Phase::Connecting) {
        return {txt::kNetConnectTimedOut, LogDetails({serverName_, Seconds(limits_.connect)})};
    }
    if (fault.phase == Phase::Handshake) {
        return {txt::kNetTlsTimedOut, LogDetails({serverName_, Seconds(limits_.tlsHandshake)})};
    }
    if (awaiting == Awaiting::Greeting) {
        return {txt::kNetGreetingTimedOut, LogDetails({serverName_, reply})};
    }
    if (transfer && deadline_.CeilingReached()) {
        return {txt::kNetTransferCeiling, LogDetails({serverName_, Seconds(deadline_.ceiling()),
                                                      QString::number(limits_.slowestRate)})};
    }
    if (transfer && deadline_.running()) {
        return {txt::kNetTransferIdle, LogDetails({serverName_, reply})};
    }
    if (awaiting == Awaiting::TransferEnd) {
        return {txt::kNetEndOfDataTimedOut, LogDetails({serverName_, reply})};
    }
    return {txt::kNetCommandTimedOut, LogDetails({serverName_, reply, command})};
}

SessionFailure NetworkSession::FailureOf(const LinkFault& fault) {
    switch (fault.kind) {
        case LinkFault::Kind::Unreachable:
            return fault.error == QAbstractSocket::HostNotFoundError
                       ? SessionFailure::HostNotFound
                       : SessionFailure::ConnectFailed;
        case LinkFault::Kind::Tls:
            return SessionFailure::Tls;
        case LinkFault::Kind::Closed:
        case LinkFault::Kind::Broken:
            return SessionFailure::ConnectionLost;
        case LinkFault::Kind::TimedOut:
            break;
    }
    return SessionFailure::TimedOut;
}

}  // namespace quarnel
