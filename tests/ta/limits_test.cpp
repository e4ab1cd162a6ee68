// SPDX-License-Identifier: GPL-3.0-or-later
// The authority's connection limits, against the real server: slow
// connections past the limits are answered 503 at once and logged, the
// others still get their answer.

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpSocket>
#include <QThread>

#include <memory>
#include <string>
#include <vector>

#include "ta/server/http_listener.h"
#include "ta_server.h"

namespace quarnel::ta {
namespace {

/// A connection from `from` to `port` that sends `bytes` and waits for nothing.
std::unique_ptr<QTcpSocket> Connect(quint16 port, const char* from, const std::string& bytes) {
    auto s = std::make_unique<QTcpSocket>();
    s->bind(QHostAddress(QString::fromLatin1(from)), 0);
    s->connectToHost(QHostAddress::LocalHost, port);
    if (!s->waitForConnected(5000)) return nullptr;
    s->write(bytes.data(), qint64(bytes.size()));
    s->waitForBytesWritten(5000);
    return s;
}

/// The status line the server sends on `s` within `ms`, or empty.
std::string StatusLine(QTcpSocket& s, int ms = 5000) {
    if (!s.canReadLine() && !s.waitForReadyRead(ms)) return {};
    return s.readLine().trimmed().toStdString();
}

const std::string kSlow = "POST /QuarnelSys/ HTTP/1.0\r\n";

TEST(ConnectionLimits, RefuseTheExcessAtOnceAndKeepServingOthers) {
    test::TaServer ta({"--max-connections", "6", "--max-per-address", "4", "--time-limit-ms",
                       "3000", "--max-buffered", "300000"});
    ASSERT_TRUE(ta.ok());
    const auto Open = [&](const char* from, const std::string& bytes) {
        return Connect(ta.port(), from, bytes);
    };

    std::vector<std::unique_ptr<QTcpSocket>> held;
    for (int i = 0; i < 4; ++i)
        held.push_back(Open("127.0.0.1", kSlow));
    auto excess = Open("127.0.0.1", kSlow);
    ASSERT_TRUE(excess);
    EXPECT_EQ(StatusLine(*excess), "HTTP/1.0 503 Service Unavailable");
    EXPECT_TRUE(ta.WaitLog("127.0.0.1 refused -> 503 Service Unavailable (connections from this"));

    for (int i = 0; i < 2; ++i)
        held.push_back(Open("127.0.0.3", kSlow));
    auto full = Open("127.0.0.2", kSlow);
    EXPECT_EQ(StatusLine(*full), "HTTP/1.0 503 Service Unavailable");
    EXPECT_TRUE(ta.WaitLog("127.0.0.2 refused -> 503 Service Unavailable (connections in all)"));

    // One slow connection gone, a client from elsewhere gets the service's
    // own verdict (once the server has seen the close).
    held.pop_back();
    std::string status;
    for (int i = 0; i < 50 && status.find(" 400 ") == std::string::npos; ++i) {
        auto legit = Open("127.0.0.2",
                          "POST /QuarnelSys/ HTTP/1.0\r\nContent-Length: 9\r\n\r\n"
                          "not lines");
        status = StatusLine(*legit);
        if (status.find(" 503 ") != std::string::npos) QThread::msleep(50);
    }
    EXPECT_EQ(status.rfind("HTTP/1.0 400 ", 0), 0u) << status;
    EXPECT_TRUE(ta.WaitLog("127.0.0.2 kind - from - -> 400"));

    // The held ones run out of time.
    EXPECT_EQ(StatusLine(*held[0]), "HTTP/1.0 408 Request Timeout");
    EXPECT_TRUE(ta.WaitLog("refused -> 408 Request Timeout (time limit)"));
    for (auto& s : held)
        s->waitForDisconnected(5000);
    held.clear();

    // Three requests of 150000 bytes announced whole at 1 MiB: the byte
    // budget (300000) refuses one, whichever came last.
    const std::string partial =
        "POST /QuarnelSys/ HTTP/1.0\r\nContent-Length: " + std::to_string(kMaxBody) + "\r\n\r\n" +
        std::string(150000, 'A');
    for (const char* from : {"127.0.0.4", "127.0.0.5", "127.0.0.6"})
        held.push_back(Open(from, partial));
    EXPECT_TRUE(ta.WaitLog("refused -> 503 Service Unavailable (bytes held in all)"));
}

}  // namespace
}  // namespace quarnel::ta
