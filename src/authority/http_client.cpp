// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/http_client.h"

#include <QTcpSocket>

#include "authority/texts.h"
#include "crypto/cp1252.h"
#include "crypto/text_cipher.h"

namespace quarnel {
namespace {

QString ErrorDetail(const HttpReply& reply) {
    return QString::fromStdString(Cp1252ToUtf8(StatusDetail(reply.statusLine)));
}

}  // namespace

TaHttpClient::TaHttpClient(QObject* parent) : QObject(parent) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &TaHttpClient::OnTimeout);
}

TaHttpClient::~TaHttpClient() {
    DropSocket();
}

void TaHttpClient::Log(int textId, const QStringList& details) {
    Q_EMIT logged(textId, details);
}

QString TaHttpClient::Server() const {
    const bool viaProxy = !connection_.proxyHost.empty();
    return QStringLiteral("%1:%2").arg(
        QString::fromStdString(viaProxy ? connection_.proxyHost : target_.host),
        QString::number(viaProxy ? connection_.proxyPort : target_.port));
}

QString TaHttpClient::DeadlineSeconds() const {
    return QString::number((deadline_.interval() + 999) / 1000);
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
    deadline_.start(Timeout(connection_.replyTimeoutMs));
    Connect();
}

void TaHttpClient::Connect() {
    DropSocket();
    reader_ = HttpReplyReader();
    unwritten_ = 0;
    connected_ = false;
    socket_ = std::make_unique<QTcpSocket>();
    QTcpSocket* s = socket_.get();
    s->setReadBufferSize(kReadChunkBytes);
    connect(s, &QTcpSocket::hostFound, this, [this] {
        Log(txt::kLogResolved);
        Q_EMIT progress(Stage::Resolved);
    });
    connect(s, &QTcpSocket::connected, this, &TaHttpClient::OnConnected);
    connect(s, &QTcpSocket::bytesWritten, this, [this](qint64 n) {
        unwritten_ -= n;
        Q_EMIT transferred(requestBytes_ - unwritten_, requestBytes_, false);
    });
    connect(s, &QTcpSocket::readyRead, this, &TaHttpClient::OnReadyRead);
    connect(s, &QTcpSocket::disconnected, this, &TaHttpClient::OnDisconnected);
    connect(s, &QTcpSocket::errorOccurred, this, &TaHttpClient::OnSocketError);
    const bool viaProxy = !connection_.proxyHost.empty();
    s->connectToHost(QString::fromStdString(viaProxy ? connection_.proxyHost : target_.host),
                     quint16(viaProxy ? connection_.proxyPort : target_.port));
}

void TaHttpClient::OnConnected() {
    connected_ = true;
    Log(txt::kLogConnected);
    Q_EMIT progress(Stage::Connected);
    Log(txt::kLogSending);
    // The deadline counts from the first connection; a redirect does not
    // extend it.
    if (!everConnected_) deadline_.start(Timeout(ConnectedTimeoutMs(kind_)));
    everConnected_ = true;
    const std::string bytes = HttpRequestBytes(target_, !connection_.proxyHost.empty(), data_);
    requestBytes_ = unwritten_ = qint64(bytes.size());
    Q_EMIT transferred(0, requestBytes_, false);
    socket_->write(bytes.data(), qint64(bytes.size()));
    Q_EMIT progress(Stage::Sent);
}

bool TaHttpClient::ReadAvailable() {
    const std::size_t before = reader_.Body().size();
    while (socket_ && socket_->bytesAvailable() > 0 &&
           reader_.state() == HttpReplyReader::State::Reading) {
        const QByteArray chunk = socket_->read(kReadChunkBytes);
        if (chunk.isEmpty()) break;
        (void)reader_.Feed(std::string_view(chunk.constData(), std::size_t(chunk.size())));
    }
    const HttpReply& reply = reader_.reply();
    if (reply.headerComplete && reader_.Body().size() != before) {
        const auto total =
            reply.chunked || !reply.contentLength ? -1 : qint64(*reply.contentLength);
        Q_EMIT transferred(qint64(reader_.Body().size()), total, true);
    }
    switch (reader_.state()) {
        case HttpReplyReader::State::ReplyTooLong:
            Log(txt::kLogReplyTooLong, {QString::number(HttpReplyReader::kMaxReplyBytes)});
            Fail(Failure::ReplyTooLong, false);
            return false;
        case HttpReplyReader::State::HeaderLineTooLong:
            Log(txt::kLogHeaderLineTooLong,
                {QString::number(HttpReplyReader::kMaxHeaderLineBytes)});
            Fail(Failure::ReplyTooLong, false);
            return false;
        case HttpReplyReader::State::BadFraming:
            Log(txt::kLogBadFraming, {Server()});
            Fail(Failure::BadReply);
            return false;
        case HttpReplyReader::State::UnsupportedEncoding:
            Log(txt::kLogUnsupportedEncoding,
                {Server(), QString::fromStdString(Cp1252ToUtf8(reply.transferEncoding))});
            Fail(Failure::BadReply);
            return false;
        default:
            return true;
    }
}

void TaHttpClient::OnReadyRead() {
    if (done_ || !socket_) return;
    if (!ReadAvailable()) return;
    if (reader_.state() == HttpReplyReader::State::Complete) Complete();
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
    if (done_ || !wasConnected || !ReadAvailable()) return;
    (void)reader_.Close();
    Complete();
}

void TaHttpClient::OnSocketError() {
    if (done_ || !socket_) return;
    const auto e = socket_->error();
    if (e == QAbstractSocket::RemoteHostClosedError) return;  // the end of an HTTP/1.0 reply
    const QString reason = socket_->errorString();
    if (e == QAbstractSocket::HostNotFoundError) {
        Log(txt::kLogHostNotFound);
        Log(txt::kLogUnknownHost, {Server().section(':', 0, -2)});
        Fail(Failure::HostNotFound);
    } else if (!connected_ && !everConnected_) {
        Log(txt::kLogConnectFailed);
        if (e == QAbstractSocket::ConnectionRefusedError) {
            Log(txt::kLogRefused, {Server()});
        } else {
            Log(txt::kLogUnreachable, {Server(), reason});
        }
        Fail(Failure::ConnectFailed);
    } else {
        Log(txt::kLogRequestFailed);
        Log(txt::kLogConnectionLost, {Server(), reason});
        Fail(Failure::TransmissionFailed);
    }
}

void TaHttpClient::OnTimeout() {
    if (done_) return;
    if (!connected_ && !everConnected_) {
        Log(txt::kLogNoConnection, {Server(), DeadlineSeconds()});
    } else if (unwritten_ > 0) {
        Log(txt::kLogRequestFailed);
        Log(txt::kLogRequestStuck, {Server(), DeadlineSeconds()});
    } else if (reader_.received() == 0) {
        Log(txt::kLogNoReply, {Server(), DeadlineSeconds()});  // the server is slow or silent
    } else {
        Log(txt::kLogReplyUnfinished,
            {Server(), DeadlineSeconds(), QString::number(reader_.received())});
    }
    Log(txt::kLogTimedOut);
    Fail(Failure::TimedOut);
}

void TaHttpClient::Complete() {
    if (done_) return;
    const HttpReply& reply = reader_.reply();
    if (reader_.received() == 0) {
        // Closed without a word: the request did not get through.
        Log(txt::kLogRequestFailed);
        Log(txt::kLogClosedSilently, {Server()});
        Fail(Failure::TransmissionFailed);
        return;
    }
    if (!reply.headerComplete || reply.status == 0) {
        Log(txt::kLogReplyFailed);
        if (!reply.statusLine.empty()) Log(txt::kLogErrorNumber, {ErrorDetail(reply)});
        Fail(Failure::TransmissionFailed);
        return;
    }
    if (reply.status >= 300 && reply.status < 400) {
        const auto next = ResolveLocation(target_, reply.location);
        if (!next) {
            Log(txt::kLogBadRedirect);
            Log(txt::kLogErrorNumber, {ErrorDetail(reply)});
            Fail(Failure::BadRedirect);
            return;
        }
        if (redirects_ >= kMaxRedirects) {
            Log(txt::kLogTooManyRedirects);
            Fail(Failure::TooManyRedirects);
            return;
        }
        ++redirects_;
        target_ = *next;
        // The old connection goes; its end is not part of the log.
        if (socket_) socket_->disconnect(this);
        Connect();
        return;
    }
    if (reply.status >= 400) {
        // The authority answers a refusal (an unknown correspondent) with
        // 404: not a wrong address, the status line says why.
        if (reply.status != 404) Log(txt::kLogReplyFailed);
        Log(txt::kLogErrorNumber, {ErrorDetail(reply)});
        Fail(Failure::HttpStatus);
        return;
    }
    if (reader_.state() == HttpReplyReader::State::Incomplete) {
        // Closed before the end it announced: a part of a reply is no reply.
        const QString got = QString::number(reader_.Body().size());
        if (reply.chunked) {
            Log(txt::kLogChunksIncomplete, {Server(), got});
        } else {
            Log(txt::kLogReplyIncomplete,
                {Server(), got, QString::number(reply.contentLength.value_or(0))});
        }
        Fail(Failure::BadReply);
        return;
    }
    done_ = true;
    deadline_.stop();
    Log(txt::kLogReplyReceived);
    if (socket_ && connected_) socket_->disconnectFromHost();
    const std::string_view body = reader_.Body();
    Q_EMIT finished(QByteArray(body.data(), qsizetype(body.size())));
}

void TaHttpClient::Fail(Failure failure, bool shown) {
    done_ = true;
    deadline_.stop();
    const std::string_view arrived = shown ? reader_.Arrived() : std::string_view();
    const QByteArray body(arrived.data(), qsizetype(arrived.size()));
    if (socket_ && connected_) socket_->abort();
    Q_EMIT error(failure, body);
}

void TaHttpClient::Abort() {
    done_ = true;
    deadline_.stop();
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
