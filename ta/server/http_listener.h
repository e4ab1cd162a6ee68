// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// HTTP/1.0 front of the reference authority: POST /QuarnelSys/ (or the whole
// URL, as a proxy forwards it) with a Content-Length body; one reply per
// connection, then the connection is closed.

#include <QObject>
#include <QTcpServer>

#include <functional>
#include <string>
#include <unordered_map>

#include "ta/service/authority_service.h"

namespace quarnel::ta {

/// What one request may hold: its header (with the empty line that ends it),
/// and the body its Content-Length announces.
inline constexpr std::size_t kMaxHeader = 64 * 1024;
inline constexpr std::size_t kMaxBody = 1024 * 1024;

/// Connections the kernel may queue before the server takes them.
inline constexpr int kListenBacklog = 1024;

/// What the listener lets the network take from it. Past the connection
/// counts or the byte budget a connection is answered 503 at once; a
/// connection still unanswered at the time limit gets 408. Memory is bounded
/// by construction: each connection buffers at most kMaxHeader + kMaxBody,
/// and all together at most `maxBufferedTotal`.
struct ConnectionLimits {
    int maxConnections = 256;
    int maxPerAddress = 64;
    int timeLimitMs = 15000;
    std::size_t maxBufferedTotal = 64 * 1024 * 1024;
};

class HttpListener : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<Reply(std::string_view body)>;
    using LogSink = std::function<void(const std::string& line)>;

    HttpListener(Handler handler, LogSink log, ConnectionLimits limits = {},
                 QObject* parent = nullptr);

    [[nodiscard]] bool Listen(const QString& address, quint16 port, QString& error);
    quint16 port() const { return server_.serverPort(); }

  private:
    void Accept();
    void Serve(class QTcpSocket* socket, const std::string& peer);
    void RefuseConnection(QTcpSocket* socket, const std::string& peer, int status,
                          const std::string& reason, const std::string& why);

    Handler handler_;
    LogSink log_;
    ConnectionLimits limits_;
    int open_ = 0;
    std::unordered_map<std::string, int> perAddress_;
    std::size_t buffered_ = 0;
    // Last, so destroyed first: its sockets uncount themselves on the way.
    QTcpServer server_;
};

/// Splits an HTTP request held in `data`: false while incomplete. On a
/// complete request `status` is 0 when it is acceptable, else the HTTP status
/// to refuse it with (and `reason`). The body is framed by one Content-Length
/// only: lengths that disagree, or a Transfer-Encoding beside it, are refused
/// (400), as a proxy in front might frame the body the other way.
struct ParsedRequest {
    bool complete = false;
    int status = 0;
    std::string reason;
    std::string body;
    /// While incomplete with the header read: the whole request's size.
    std::size_t needed = 0;
};
ParsedRequest ParseHttpRequest(const std::string& data);

}  // namespace quarnel::ta
