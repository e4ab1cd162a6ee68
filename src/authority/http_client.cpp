#include "authority/http_client.h"

#include <QTcpSocket>

#include "authority/texts.h"
#include "crypto/cp1252.h"
#include "crypto/text_cipher.h"

namespace quarnel {

TaHttpClient::TaHttpClient(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &TaHttpClient::OnTimeout);
}

TaHttpClient::~TaHttpClient() {
    DropSocket();
}

void TaHttpClient::Log(int textId, const QString& detail) {
    Q_EMIT logged(textId, detail);
}

void TaHttpClient::Post(const TaConnection& connection, const std::string& data,
                        std::optional<Kind> requestKind) {
    DropSocket();
    connection_ = connection;
    target_ = TargetOf(connection);
    data_ = data;
    kind_ = requestKind;
    everConnected_ = false;
    silentDisconnect_ = true;
    redirects_ = 0;
    done_ = false;
    Connect();
}

void TaHttpClient::Connect() {
    DropSocket();
    received_.clear();
    connected_ = false;
    socket_ = std::make_unique<QTcpSocket>();
    QTcpSocket* s = socket_.get();
    connect(s, &QTcpSocket::hostFound, this, [this] {
        Log(txt::kLogResolved);
        Q_EMIT progress(Stage::Resolved);
    });
    connect(s, &QTcpSocket::connected, this, &TaHttpClient::OnConnected);
    connect(s, &QTcpSocket::readyRead, this, &TaHttpClient::OnReadyRead);
    connect(s, &QTcpSocket::disconnected, this, &TaHttpClient::OnDisconnected);
    connect(s, &QTcpSocket::errorOccurred, this, &TaHttpClient::OnSocketError);
    timer_.start(Timeout(connection_.replyTimeoutMs));
    const bool viaProxy = !connection_.proxyHost.empty();
    s->connectToHost(QString::fromStdString(viaProxy ? connection_.proxyHost : target_.host),
                     quint16(viaProxy ? connection_.proxyPort : target_.port));
}

void TaHttpClient::OnConnected() {
    connected_ = true;
    everConnected_ = true;
    Log(txt::kLogConnected);
    Q_EMIT progress(Stage::Connected);
    Log(txt::kLogSending);
    timer_.start(Timeout(ConnectedTimeoutMs(kind_)));
    const std::string bytes = HttpRequestBytes(target_, !connection_.proxyHost.empty(), data_);
    socket_->write(bytes.data(), qint64(bytes.size()));
    Q_EMIT progress(Stage::Sent);
}

void TaHttpClient::OnReadyRead() {
    if (done_ || !socket_) return;
    received_ += socket_->readAll();
    timer_.start(Timeout(ConnectedTimeoutMs(kind_)));
    const HttpReply reply =
        ParseHttpReply(std::string_view(received_.constData(), std::size_t(received_.size())));
    if (reply.BodyComplete(std::size_t(received_.size()))) Complete();
}

void TaHttpClient::OnDisconnected() {
    const bool wasConnected = connected_;
    connected_ = false;
    if (wasConnected) {
        if (silentDisconnect_) {
            silentDisconnect_ = false;
        } else {
            Log(txt::kLogDisconnected);
        }
    }
    if (!done_ && wasConnected) Complete();
}

void TaHttpClient::OnSocketError() {
    if (done_ || !socket_) return;
    const auto e = socket_->error();
    if (e == QAbstractSocket::RemoteHostClosedError) return;  // the end of an HTTP/1.0 reply
    if (e == QAbstractSocket::HostNotFoundError) {
        Log(txt::kLogHostNotFound);
        Fail(Failure::HostNotFound);
    } else if (!connected_ && !everConnected_) {
        Log(txt::kLogConnectFailed);
        Fail(Failure::ConnectFailed);
    } else {
        Log(txt::kLogRequestFailed);
        Fail(Failure::TransmissionFailed);
    }
}

void TaHttpClient::OnTimeout() {
    if (done_) return;
    if (everConnected_) Log(txt::kLogRequestFailed);
    Log(txt::kLogTimedOut);
    Fail(Failure::TimedOut);
}

void TaHttpClient::Complete() {
    if (done_) return;
    if (socket_) received_ += socket_->readAll();
    const HttpReply reply =
        ParseHttpReply(std::string_view(received_.constData(), std::size_t(received_.size())));
    const auto bodyStart = qsizetype(std::min<std::size_t>(reply.bodyStart, received_.size()));
    QByteArray body = reply.headerComplete ? received_.mid(bodyStart) : QByteArray();
    if (reply.contentLength && body.size() > qsizetype(*reply.contentLength)) {
        body.truncate(qsizetype(*reply.contentLength));
    }
    if (!reply.headerComplete || reply.status == 0) {
        Log(txt::kLogReplyFailed);
        if (!reply.statusLine.empty()) {
            Log(txt::kLogErrorNumber,
                QString::fromStdString(Cp1252ToUtf8(StatusDetail(reply.statusLine))));
        }
        Fail(Failure::TransmissionFailed);
        return;
    }
    if (reply.status >= 300 && reply.status < 400) {
        const auto next = ResolveLocation(target_, reply.location);
        if (next && redirects_ < kMaxRedirects) {
            ++redirects_;
            target_ = *next;
            // The old connection goes; its end is not part of the log.
            if (socket_) socket_->disconnect(this);
            Connect();
            return;
        }
        Log(txt::kLogTooManyRedirects);
        Fail(Failure::TooManyRedirects, body);
        return;
    }
    if (reply.status >= 400) {
        Log(txt::kLogReplyFailed);
        Log(txt::kLogErrorNumber,
            QString::fromStdString(Cp1252ToUtf8(StatusDetail(reply.statusLine))));
        Fail(Failure::HttpStatus, body);
        return;
    }
    done_ = true;
    timer_.stop();
    Log(txt::kLogReplyReceived);
    if (socket_ && connected_) socket_->disconnectFromHost();
    Q_EMIT finished(body);
}

void TaHttpClient::Fail(Failure failure, const QByteArray& body) {
    done_ = true;
    timer_.stop();
    if (socket_ && connected_) socket_->abort();
    Q_EMIT error(failure, body);
}

void TaHttpClient::Abort() {
    done_ = true;
    timer_.stop();
    DropSocket();
}

void TaHttpClient::DropSocket() {
    if (!socket_) return;
    socket_->disconnect(this);
    socket_->abort();
    // Deleting a socket inside its own signal is unsafe: let the loop do it.
    socket_.release()->deleteLater();
    connected_ = false;
}

}  // namespace quarnel
