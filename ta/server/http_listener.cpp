// SPDX-License-Identifier: GPL-3.0-or-later
#include "ta/server/http_listener.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <cctype>

#include "crypto/cp1252.h"

namespace quarnel::ta {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

ParsedRequest Refuse(int status, std::string reason) {
    return {true, status, std::move(reason), {}};
}

std::string ResponseBytes(const Reply& r) {
    std::string out = "HTTP/1.0 " + std::to_string(r.status) + " " + r.reason + "\r\n";
    out += "Content-Type: text/plain; charset=windows-1252\r\n";
    out += "Content-Length: " + std::to_string(r.body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    out += r.body;
    return out;
}

}  // namespace

ParsedRequest ParseHttpRequest(const std::string& data) {
    // The header ends at the first empty line, CR LF or bare LF; it is looked
    // for only where it may end within the limit, however the bytes came.
    const std::string_view head(data.data(), std::min(data.size(), kMaxHeader));
    std::size_t end = head.find("\r\n\r\n");
    std::size_t skip = 4;
    if (const std::size_t lf = head.find("\n\n"); lf < end) {
        end = lf;
        skip = 2;
    }
    if (end == std::string_view::npos || end + skip > kMaxHeader) {
        if (data.size() >= kMaxHeader) return Refuse(431, "Request Header Fields Too Large");
        return {};
    }
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < end;) {
        std::size_t n = data.find('\n', start);
        if (n == std::string::npos || n > end) n = end;
        std::string line = data.substr(start, n - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = n + 1;
    }
    if (lines.empty()) return Refuse(400, "Bad Request");
    const std::string& requestLine = lines[0];
    const auto sp1 = requestLine.find(' ');
    const auto sp2 = requestLine.find(' ', sp1 == std::string::npos ? sp1 : sp1 + 1);
    if (sp1 == std::string::npos || sp2 == std::string::npos) return Refuse(400, "Bad Request");
    const std::string method = requestLine.substr(0, sp1);
    std::string target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    if (Lower(target).rfind("http://", 0) == 0) {
        const auto slash = target.find('/', 7);
        target = slash == std::string::npos ? "/" : target.substr(slash);
    }
    if (target != "/QuarnelSys/" && target != "/QuarnelSys") return Refuse(404, "Not Found");
    if (method != "POST") return Refuse(405, "Method Not Allowed");
    std::optional<std::size_t> length;
    bool transferEncoding = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto colon = lines[i].find(':');
        if (colon == std::string::npos) continue;
        const std::string name = Lower(Trim(lines[i].substr(0, colon)));
        if (name == "transfer-encoding") transferEncoding = true;
        if (name != "content-length") continue;
        const std::string v = Trim(lines[i].substr(colon + 1));
        if (v.empty() || v.size() > 9 || !std::all_of(v.begin(), v.end(), ::isdigit)) {
            return Refuse(400, "Bad Content-Length");
        }
        // Two lengths that disagree frame the body two ways: a proxy in
        // front may have read the other one.
        if (length && *length != std::stoul(v)) return Refuse(400, "Conflicting Content-Length");
        length = std::stoul(v);
    }
    if (transferEncoding) {
        if (length) return Refuse(400, "Content-Length With Transfer-Encoding");
        return Refuse(501, "Transfer-Encoding Not Implemented");
    }
    if (!length) return Refuse(411, "Length Required");
    if (*length > kMaxBody) return Refuse(413, "Payload Too Large");
    const std::size_t bodyStart = end + skip;
    if (data.size() < bodyStart + *length) return {false, 0, {}, {}, bodyStart + *length};
    return {true, 0, {}, data.substr(bodyStart, *length)};
}

HttpListener::HttpListener(Handler handler, LogSink log, ConnectionLimits limits, QObject* parent)
    : QObject(parent), handler_(std::move(handler)), log_(std::move(log)), limits_(limits) {
    connect(&server_, &QTcpServer::newConnection, this, &HttpListener::Accept);
}

bool HttpListener::Listen(const QString& address, quint16 port, QString& error) {
    QHostAddress host;
    if (!host.setAddress(address)) {
        error = QStringLiteral("not an address: %1").arg(address);
        return false;
    }
    // A burst of connections refused at once must not fill the kernel's
    // queue and leave other clients' connects waiting on a retry.
    server_.setListenBacklogSize(kListenBacklog);
    if (!server_.listen(host, port)) {
        error = server_.errorString();
        return false;
    }
    return true;
}

void HttpListener::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        const std::string peer = socket->peerAddress().toString().toStdString();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::errorOccurred, socket, [socket](QAbstractSocket::SocketError) {
            if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
        });
        if (open_ >= limits_.maxConnections) {
            RefuseConnection(socket, peer, 503, "Service Unavailable", "connections in all");
        } else if (perAddress_[peer] >= limits_.maxPerAddress) {
            RefuseConnection(socket, peer, 503, "Service Unavailable",
                             "connections from this address");
        } else {
            Serve(socket, peer);
        }
    }
}

void HttpListener::RefuseConnection(QTcpSocket* socket, const std::string& peer, int status,
                                    const std::string& reason, const std::string& why) {
    log_(peer + " refused -> " + std::to_string(status) + " " + reason + " (" + why + ")");
    const std::string bytes = ResponseBytes(Reply{status, reason, reason + "\r\n", "", ""});
    // Nothing more is read from it: the kernel drops what it still sends.
    socket->setReadBufferSize(1);
    socket->write(bytes.data(), qint64(bytes.size()));
    socket->disconnectFromHost();
}

void HttpListener::Serve(QTcpSocket* socket, const std::string& peer) {
    struct Connection {
        std::string buffer;
        bool answered = false;
        std::size_t needed = 0;
    };
    auto c = std::make_shared<Connection>();
    // Counted from here until the socket goes, whatever ends it.
    ++open_;
    ++perAddress_[peer];
    connect(socket, &QObject::destroyed, this, [this, peer, c] {
        --open_;
        if (--perAddress_[peer] == 0) perAddress_.erase(peer);
        buffered_ -= c->buffer.size();
    });
    const auto release = [this, c] {
        c->answered = true;
        buffered_ -= c->buffer.size();
        std::string().swap(c->buffer);
    };
    // Qt would otherwise keep whatever arrives between two reads.
    socket->setReadBufferSize(qint64(kMaxHeader));
    auto timer = new QTimer(socket);
    timer->setSingleShot(true);
    timer->start(limits_.timeLimitMs);
    connect(timer, &QTimer::timeout, socket, [this, socket, peer, c, release] {
        if (c->answered) {
            socket->abort();
            return;
        }
        release();
        RefuseConnection(socket, peer, 408, "Request Timeout", "time limit");
        QTimer::singleShot(1000, socket, &QTcpSocket::abort);
    });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, peer, c, release] {
        const QByteArray chunk = socket->readAll();
        if (c->answered) return;
        const std::size_t size = std::size_t(chunk.size());
        if (c->buffer.size() + size > kMaxHeader + kMaxBody) {
            release();
            RefuseConnection(socket, peer, 413, "Payload Too Large", "request larger than allowed");
            return;
        }
        if (buffered_ + size > limits_.maxBufferedTotal) {
            release();
            RefuseConnection(socket, peer, 503, "Service Unavailable", "bytes held in all");
            return;
        }
        buffered_ += size;
        c->buffer.append(chunk.constData(), size);
        // Parse again only when the request may be whole: a body trickled a
        // byte at a time must not cost a parse per byte.
        if (c->buffer.size() < c->needed) return;
        const ParsedRequest request = ParseHttpRequest(c->buffer);
        if (!request.complete) {
            c->needed = request.needed;
            return;
        }
        release();
        Reply reply;
        if (request.status != 0) {
            reply = Reply{request.status, request.reason, request.reason + "\r\n", "", ""};
        } else {
            reply = handler_(request.body);
        }
        log_(peer + " kind " + (reply.kind.empty() ? "-" : reply.kind) + " from " +
             (reply.holder.empty() ? "-" : reply.holder) + " -> " + std::to_string(reply.status) +
             " " + Cp1252ToUtf8(reply.reason) + (reply.replayed ? " (same reply again)" : ""));
        const std::string bytes = ResponseBytes(reply);
        socket->write(bytes.data(), qint64(bytes.size()));
        socket->disconnectFromHost();
    });
}

}  // namespace quarnel::ta
