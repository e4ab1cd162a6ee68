// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A loopback server that plays a script per accepted connection, for
// protocol tests (SMTP and POP3 lines, HTTP requests). Event driven: it
// advances only while the test runs the Qt event loop.
//
//   ScriptedServer smtp({{step::Send("220 ready\r\n"), step::ExpectLine("EHLO x"),
//                         step::Send("250 ok\r\n"), step::ExpectLine("DATA"),
//                         step::Send("354 go\r\n"), step::ExpectData(),
//                         step::Send("250 queued\r\n")}});
//
// A script that runs out closes the connection gracefully; Silence() keeps
// it open instead. Mismatches, time-outs, overflows and connections closed
// by the client while an Expect remained are recorded in Failures(), never
// thrown.

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quarnel::test {

/// One step of a script; build it with the functions of `step`.
struct Step {
    enum class Kind { kSend, kExpect, kPause, kDrop, kReset, kSilence };
    /// How an Expect cuts its unit out of what the client sent.
    enum class Frame { kUntil, kData, kHttp };
    using Match = std::function<bool(const std::string& taken)>;

    Kind kind = Kind::kSend;
    std::string bytes;  // Send: what to write; Expect kUntil: the terminator
    Frame frame = Frame::kUntil;
    Match match;       // Expect: empty accepts anything
    int ms = 0;        // Pause
    std::string what;  // for failure messages
};
using Script = std::vector<Step>;

namespace step {
/// Writes `bytes` to the client.
[[nodiscard]] Step Send(std::string bytes);
/// Waits for a line ending in CR LF; takes it without the CR LF, and checks
/// it equals `line` (or satisfies `match`).
[[nodiscard]] Step ExpectLine();
[[nodiscard]] Step ExpectLine(std::string line);
[[nodiscard]] Step ExpectLine(Step::Match match, std::string what = "(predicate)");
/// Waits until `terminator` has arrived; takes what came before it.
[[nodiscard]] Step ExpectUntil(std::string terminator, Step::Match match = {});
/// Waits for a message body ended by a line holding a single dot (after
/// DATA); takes the body with its last CR LF, dots still doubled.
[[nodiscard]] Step ExpectData(Step::Match match = {});
/// Waits for a whole HTTP request: the headers, then Content-Length bytes.
[[nodiscard]] Step ExpectHttp(Step::Match match = {});
/// Waits `ms` before the next step.
[[nodiscard]] Step Pause(int ms);
/// Closes the connection after what was written (FIN).
[[nodiscard]] Step Drop();
/// Aborts the connection (RST), dropping what was not written yet.
[[nodiscard]] Step Reset();
/// Never answers again and keeps the connection open (time-out tests).
[[nodiscard]] Step Silence();
}  // namespace step

class ScriptedServer {
  public:
    /// What one connection may send in all; beyond, it is aborted.
    static constexpr std::size_t kMaxBuffered = std::size_t(1) << 20;
    /// How long one Expect waits for its unit; then the connection is aborted.
    static constexpr int kExpectTimeoutMs = 10000;

    /// Connection i plays scripts[i], the last script repeating; no script
    /// at all closes every connection at once.
    explicit ScriptedServer(std::vector<Script> scripts = {},
                            int expectTimeoutMs = kExpectTimeoutMs);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    /// Replaces the scripts for the connections still to come (a script may
    /// need the port, known once listening).
    void SetScripts(std::vector<Script> scripts) { scripts_ = std::move(scripts); }
    /// Listens on 127.0.0.1, on `port` or (0) any free one; may be called
    /// again after a failure, e.g. from a search for a free port.
    [[nodiscard]] bool Listen(quint16 port = 0);
    [[nodiscard]] quint16 port() const { return server_.serverPort(); }
    /// "127.0.0.1:port", as a server setting names it.
    [[nodiscard]] std::string Address() const { return "127.0.0.1:" + std::to_string(port()); }
    [[nodiscard]] std::string Url(const std::string& path) const;

    /// Connections accepted so far.
    [[nodiscard]] int connections() const { return int(connections_.size()); }
    /// Everything connection i sent, as it arrived.
    [[nodiscard]] const std::string& Received(int i) const;
    /// What the Expect steps of connection i took, in order.
    [[nodiscard]] const std::vector<std::string>& Taken(int i) const;
    /// Every fault so far ("connection 1, step 3 ExpectLine "DATA": ..."),
    /// and the Expects still waiting on open connections.
    [[nodiscard]] std::vector<std::string> Failures() const;

  private:
    struct Connection {
        int index = 0;
        Script script;
        std::size_t step = 0;
        QPointer<QTcpSocket> socket;
        QTimer timer;  // Pause and Expect time limit; also the context of the socket's signals
        std::string received;
        std::string pending;  // received, not taken yet
        std::vector<std::string> taken;
        bool ended = false;
        bool silent = false;
    };

    void Accept();
    void OnReadyRead(Connection& c);
    void OnDisconnected(Connection& c);
    void OnTimeout(Connection& c);
    void Run(Connection& c);
    void End(Connection& c, bool abort);
    void Fail(const Connection& c, const std::string& why);

    std::vector<Script> scripts_;
    int expectTimeoutMs_;
    std::vector<std::string> failures_;
    QTcpServer server_;  // parent of the sockets
    std::vector<std::unique_ptr<Connection>> connections_;
};

}  // namespace quarnel::test
