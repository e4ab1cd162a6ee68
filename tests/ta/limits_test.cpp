// SPDX-License-Identifier: GPL-3.0-or-later
// The authority's connection limits, against the real server: slow
// connections past the limits are answered 503 at once and logged, the
// others still get their answer.

#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QProcess>
#include <QTcpSocket>
#include <QThread>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ta/server/http_listener.h"
#include "temp_dir.h"

namespace quarnel::ta {
namespace {

class LimitedServer {
  public:
    explicit LimitedServer(const QStringList& limits) {
        for (const auto& e : std::filesystem::directory_iterator(
                 std::filesystem::path(QUARNEL_TEST_DATA_DIR) / "ta"))
            std::filesystem::copy_file(e.path(), dir_.path() / e.path().filename());
        process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process_.start(QStringLiteral(QUARNEL_BIN_DIR "/quarnel-ta"),
                       QStringList{"serve", "--dir", QString::fromStdString(dir_.path().string()),
                                   "--port", "0"} +
                           limits);
        if (WaitLog("listening on ")) {
            port_ = quint16(std::stoi(log_.substr(log_.rfind(':', log_.find(" (TA")) + 1)));
        }
    }
    ~LimitedServer() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    quint16 port() const { return port_; }

    /// Waits for a log line holding `text` that was not seen before.
    bool WaitLog(const std::string& text) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 10000) {
            const auto at = log_.find(text, seen_);
            if (at != std::string::npos) {
                seen_ = at + text.size();
                return true;
            }
            process_.waitForReadyRead(100);
            log_ += process_.readAllStandardOutput().toStdString();
        }
        return false;
    }

    /// A connection from `from` that sends `bytes` and waits for nothing.
    std::unique_ptr<QTcpSocket> Open(const char* from, const std::string& bytes) const {
        auto s = std::make_unique<QTcpSocket>();
        s->bind(QHostAddress(QString::fromLatin1(from)), 0);
        s->connectToHost(QHostAddress::LocalHost, port_);
        if (!s->waitForConnected(5000)) return nullptr;
        s->write(bytes.data(), qint64(bytes.size()));
        s->waitForBytesWritten(5000);
        return s;
    }

  private:
    test::TempDir dir_;
    QProcess process_;
    std::string log_;
    std::size_t seen_ = 0;
    quint16 port_ = 0;
};

/// The status line the server sends on `s` within `ms`, or empty.
std::string StatusLine(QTcpSocket& s, int ms = 5000) {
    if (!s.canReadLine() && !s.waitForReadyRead(ms)) return {};
    return s.readLine().trimmed().toStdString();
}

const std::string kSlow = "POST /QuarnelSys/ HTTP/1.0\r\n";

TEST(ConnectionLimits, RefuseTheExcessAtOnceAndKeepServingOthers) {
    int argc = 1;
    char name[] = "t";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);
    LimitedServer ta({"--max-connections", "6", "--max-per-address", "4", "--time-limit-ms", "3000",
                      "--max-buffered", "300000"});
    ASSERT_NE(ta.port(), 0);

    std::vector<std::unique_ptr<QTcpSocket>> held;
    for (int i = 0; i < 4; ++i)
        held.push_back(ta.Open("127.0.0.1", kSlow));
    auto excess = ta.Open("127.0.0.1", kSlow);
    ASSERT_TRUE(excess);
    EXPECT_EQ(StatusLine(*excess), "HTTP/1.0 503 Service Unavailable");
    EXPECT_TRUE(ta.WaitLog("127.0.0.1 refused -> 503 Service Unavailable (connections from this"));

    for (int i = 0; i < 2; ++i)
        held.push_back(ta.Open("127.0.0.3", kSlow));
    auto full = ta.Open("127.0.0.2", kSlow);
    EXPECT_EQ(StatusLine(*full), "HTTP/1.0 503 Service Unavailable");
    EXPECT_TRUE(ta.WaitLog("127.0.0.2 refused -> 503 Service Unavailable (connections in all)"));

    // One slow connection gone, a client from elsewhere gets the service's
    // own verdict (once the server has seen the close).
    held.pop_back();
    std::string status;
    for (int i = 0; i < 50 && status.find(" 400 ") == std::string::npos; ++i) {
        auto legit = ta.Open("127.0.0.2",
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
        held.push_back(ta.Open(from, partial));
    EXPECT_TRUE(ta.WaitLog("refused -> 503 Service Unavailable (bytes held in all)"));
}

}  // namespace
}  // namespace quarnel::ta
