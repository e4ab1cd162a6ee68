// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/http_client.h"

#include <QTcpSocket>

#include <chrono>
#include <utility>

#include "authority/texts.h"
#include "crypto/cp1252.h"
#include "mail/mail_limits.h"

namespace quarnel {
namespace {

QString ErrorDetail(const HttpReply& reply) {
    return QString::fromStdString(Cp1252ToUtf8(StatusDetail(reply.statusLine)));
}

}  // namespace

TaHttpClient::TaHttpClient(QObject* parent) : NetworkSession(parent) {
    SetReadBufferSize(kReadChunkBytes);
}

QString TaHttpClient::Server() const {
    const bool viaProxy = !connection_.proxyHost.empty();
    return QStringLiteral("%1:%2").arg(
        QString::fromStdString(viaProxy ? connection_.proxyHost : target_.host),
        QString::number(viaProxy ? connection_.proxyPort : target_.port));
}

QString TaHttpClient::DeadlineSeconds() const {
    return QString::number((deadlineMs_ + 999) / 1000);
}

void TaHttpClient::StartDeadline(int ms) {
    deadlineMs_ = timeoutOverride_ > 0 ? timeoutOverride_ : ms;
    deadline_.setRemainingTime(deadlineMs_);
    Arm(std::chrono::milliseconds(deadlineMs_));
}

void TaHttpClient::Post(const TaConnection& connection, const std::string& data,
                        std::optional<Kind> requestKind) {
    Begin();
    connection_ = connection;
    target_ = TargetOf(connection);
    data_ = data;
    kind_ = requestKind;
    body_.clear();
    everConnected_ = false;
    silentDisconnect_ = true;
    redirects_ = 0;
    StartDeadline(connection_.replyTimeoutMs);
    ConnectToServer();
}

void TaHttpClient::ConnectToServer() {
    reader_ = HttpReplyReader();
    unwritten_ = 0;
    connected_ = false;
    const bool viaProxy = !connection_.proxyHost.empty();
    const quint64 token = Token();
    Connect({viaProxy ? connection_.proxyHost : target_.host,
             quint16(viaProxy ? connection_.proxyPort : target_.port), MailSecurity::Clear, false});
    // The exchange's deadline, not a connect limit of its own.
    if (Still(token)) Arm(std::chrono::milliseconds(deadline_.remainingTime()));
}

void TaHttpClient::OnHostFound() {
    if (Log(txt::kLogResolved)) Q_EMIT progress(Stage::Resolved);
}

void TaHttpClient::OnOpened() {
    connected_ = true;
    if (!Log(txt::kLogConnected)) return;
    Q_EMIT progress(Stage::Connected);
    if (!Log(txt::kLogSending)) return;
    // The deadline counts from the first connection; a redirect does not
    // extend it.
    if (!std::exchange(everConnected_, true)) StartDeadline(ConnectedTimeoutMs(kind_));
    const std::string bytes = HttpRequestBytes(target_, !connection_.proxyHost.empty(), data_);
    requestBytes_ = unwritten_ = qint64(bytes.size());
    Q_EMIT transferred(0, requestBytes_, false);
    Write(bytes);
    Q_EMIT progress(Stage::Sent);
}

void TaHttpClient::OnWritten() {
    unwritten_ = socket().bytesToWrite();
    Q_EMIT transferred(requestBytes_ - unwritten_, requestBytes_, false);
}

bool TaHttpClient::ReadAvailable() {
    const std::size_t before = reader_.Body().size();
    while (HasSocket() && socket().bytesAvailable() > 0 &&
           reader_.state() == HttpReplyReader::State::Reading) {
        const QByteArray chunk = socket().read(kReadChunkBytes);
        if (chunk.isEmpty()) break;
        (void)reader_.Feed(std::string_view(chunk.constData(), std::size_t(chunk.size())));
    }
    if (reader_.received() > 0) result().reached = true;
    const HttpReply& reply = reader_.reply();
    if (reply.headerComplete && reader_.Body().size() != before) {
        const auto total =
            reply.chunked || !reply.contentLength ? -1 : qint64(*reply.contentLength);
        const quint64 token = Token();
        Q_EMIT transferred(qint64(reader_.Body().size()), total, true);
        if (!Still(token)) return false;
    }
    switch (reader_.state()) {
        case HttpReplyReader::State::ReplyTooLong:
            Fail(SessionFailure::BadReply, txt::kLogReplyTooLong,
                 QString::number(HttpReplyReader::kMaxReplyBytes), false);
            return false;
        case HttpReplyReader::State::HeaderLineTooLong:
            Fail(SessionFailure::BadReply, txt::kLogHeaderLineTooLong,
                 QString::number(HttpReplyReader::kMaxHeaderLineBytes), false);
            return false;
        case HttpReplyReader::State::BadFraming:
            Fail(SessionFailure::BadReply, txt::kLogBadFraming, Server());
            return false;
        case HttpReplyReader::State::UnsupportedEncoding:
            Fail(SessionFailure::BadReply, txt::kLogUnsupportedEncoding,
                 LogDetails(
                     {Server(), QString::fromStdString(Cp1252ToUtf8(reply.transferEncoding))}));
            return false;
        default:
            return true;
    }
}

void TaHttpClient::OnReadable() {
    if (ReadAvailable() && reader_.state() == HttpReplyReader::State::Complete) Complete();
}

bool TaHttpClient::Disconnected() {
    if (!std::exchange(connected_, false) || std::exchange(silentDisconnect_, false)) return true;
    return Log(txt::kLogDisconnected);
}

void TaHttpClient::OnLinkFault(const LinkFault& fault) {
    switch (fault.kind) {
        case LinkFault::Kind::Unreachable:
            if (fault.error == QAbstractSocket::HostNotFoundError) {
                if (!Log(txt::kLogHostNotFound)) return;
                return Fail(SessionFailure::HostNotFound, txt::kLogUnknownHost,
                            Server().section(':', 0, -2));
            }
            if (!everConnected_) {
                if (!Log(txt::kLogConnectFailed)) return;
                if (fault.error == QAbstractSocket::ConnectionRefusedError) {
                    return Fail(SessionFailure::ConnectFailed, txt::kLogRefused, Server());
                }
                return Fail(SessionFailure::ConnectFailed, txt::kLogUnreachable,
                            LogDetails({Server(), fault.reason}));
            }
            [[fallthrough]];  // a redirect's target: the request did not get through
        case LinkFault::Kind::Broken:
        case LinkFault::Kind::Tls:  // not spoken: the authority's address is plain HTTP
            if (!Log(txt::kLogRequestFailed)) return;
            return Fail(SessionFailure::ConnectionLost, txt::kLogConnectionLost,
                        LogDetails({Server(), fault.reason}));
        case LinkFault::Kind::Closed:
            // The end of an HTTP/1.0 reply, or of one cut short.
            if (!Disconnected() || !ReadAvailable()) return;
            (void)reader_.Close();
            return Complete();
        case LinkFault::Kind::TimedOut:
            break;
    }
    QString detail = LogDetails({Server(), DeadlineSeconds()});
    int textId = txt::kLogNoReply;  // the server is slow or silent
    if (!everConnected_) {
        textId = txt::kLogNoConnection;
    } else if (unwritten_ > 0) {
        if (!Log(txt::kLogRequestFailed)) return;
        textId = txt::kLogRequestStuck;
    } else if (reader_.received() > 0) {
        textId = txt::kLogReplyUnfinished;
        detail = LogDetails({Server(), DeadlineSeconds(), QString::number(reader_.received())});
    }
    if (!Log(textId, detail)) return;
    NoteFailure(SessionFailure::TimedOut, FrenchLogLine(textId, detail));
    Fail(SessionFailure::TimedOut, txt::kLogTimedOut);
}

void TaHttpClient::Complete() {
    const HttpReply& reply = reader_.reply();
    if (reader_.received() == 0) {
        // Closed without a word: the request did not get through.
        if (!Log(txt::kLogRequestFailed)) return;
        return Fail(SessionFailure::ConnectionLost, txt::kLogClosedSilently, Server());
    }
    if (!reply.headerComplete || reply.status == 0) {
        if (reply.statusLine.empty()) {
            return Fail(SessionFailure::ConnectionLost, txt::kLogReplyFailed);
        }
        if (!Log(txt::kLogReplyFailed)) return;
        return Fail(SessionFailure::ConnectionLost, txt::kLogErrorNumber, ErrorDetail(reply));
    }
    if (reply.status >= 300 && reply.status < 400) {
        const auto next = ResolveLocation(target_, reply.location);
        if (!next) {
            if (!Log(txt::kLogBadRedirect)) return;
            return Fail(SessionFailure::BadReply, txt::kLogErrorNumber, ErrorDetail(reply));
        }
        if (redirects_ >= kMaxRedirects) {
            return Fail(SessionFailure::BadReply, txt::kLogTooManyRedirects);
        }
        ++redirects_;
        target_ = *next;
        // The old connection goes; its end is not part of the log.
        return ConnectToServer();
    }
    if (reply.status >= 400) {
        // The authority answers a refusal (an unknown correspondent) with
        // 404: not a wrong address, the status line says why.
        if (reply.status != 404 && !Log(txt::kLogReplyFailed)) return;
        return Fail(SessionFailure::Refused, txt::kLogErrorNumber, ErrorDetail(reply));
    }
    if (reader_.state() == HttpReplyReader::State::Incomplete) {
        // Closed before the end it announced: a part of a reply is no reply.
        const QString got = QString::number(reader_.Body().size());
        if (reply.chunked) {
            return Fail(SessionFailure::BadReply, txt::kLogChunksIncomplete,
                        LogDetails({Server(), got}));
        }
        return Fail(SessionFailure::BadReply, txt::kLogReplyIncomplete,
                    LogDetails({Server(), got, QString::number(reply.contentLength.value_or(0))}));
    }
    if (!Log(txt::kLogReplyReceived) || !Disconnected()) return;
    const std::string_view body = reader_.Body();
    body_ = QByteArray(body.data(), qsizetype(body.size()));
    result().completed = true;
    Finish();
}

void TaHttpClient::Fail(SessionFailure failure, int textId, const QString& detail, bool shown) {
    if (!Log(textId, detail)) return;
    const std::string_view arrived = shown ? reader_.Arrived() : std::string_view();
    body_ = QByteArray(arrived.data(), qsizetype(arrived.size()));
    if (!Disconnected()) return;
    NoteFailure(failure, FrenchLogLine(textId, detail));
    Finish();
}

}  // namespace quarnel
