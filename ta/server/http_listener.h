#pragma once
// HTTP/1.0 front of the reference authority: POST /QuarnelSys/ (or the whole
// URL, as a proxy forwards it) with a Content-Length body; one reply per
// connection, then the connection is closed.

#include <QObject>
#include <QTcpServer>

#include <functional>
#include <string>

#include "ta/service/authority_service.h"

namespace quarnel::ta {

class HttpListener : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<Reply(std::string_view body)>;
    using LogSink = std::function<void(const std::string& line)>;

    HttpListener(Handler handler, LogSink log, QObject* parent = nullptr);

    [[nodiscard]] bool Listen(const QString& address, quint16 port, QString& error);
    quint16 port() const { return server_.serverPort(); }

  private:
    void Accept();
    void Serve(class QTcpSocket* socket);

    QTcpServer server_;
    Handler handler_;
    LogSink log_;
};

/// Splits an HTTP request held in `data`: false while incomplete. On a
/// complete request `status` is 0 when it is acceptable, else the HTTP status
/// to refuse it with (and `reason`).
struct ParsedRequest {
    bool complete = false;
    int status = 0;
    std::string reason;
    std::string body;
};
ParsedRequest ParseHttpRequest(const std::string& data);

}  // namespace quarnel::ta
