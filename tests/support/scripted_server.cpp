// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripted_server.h"

#include <QHostAddress>

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace quarnel::test {

namespace {

// A readable excerpt of client bytes for a failure message.
std::string Quote(const std::string& bytes) {
    constexpr std::size_t kShown = 80;
    QByteArray shown = QByteArray::fromStdString(bytes.substr(0, kShown));
    shown.replace('\r', "\\r").replace('\n', "\\n");
    return '"' + shown.toStdString() + (bytes.size() > kShown ? "\"..." : "\"");
}

Step Expect(Step::Frame frame, std::string terminator, Step::Match match, std::string what) {
    Step s;
    s.kind = Step::Kind::kExpect;
    s.frame = frame;
    s.bytes = std::move(terminator);
    s.match = std::move(match);
    s.what = std::move(what);
    return s;
}

std::string Named(std::string what, const Step::Match& match) {
    return match ? what + " (predicate)" : what;
}

Step Bare(Step::Kind kind, std::string what) {
    Step s;
    s.kind = kind;
    s.what = std::move(what);
    return s;
}

// Where one Expect's unit ends in `pending`: `length` bytes to consume, of
// which the first `keep` are taken; nothing while incomplete.
struct Cut {
    std::size_t length = 0;
    std::size_t keep = 0;
    bool malformed = false;
};

// Content-Length of the header block `head` (no such header: 0). Past the
// buffer limit the connection overflows anyway; the bound on its digits also
// keeps the parse from overflowing.
std::optional<std::size_t> ContentLength(std::string_view head) {
    const QByteArray h = QByteArray(head.data(), qsizetype(head.size())).toLower() + "\r\n";
    const qsizetype at = h.indexOf("\r\ncontent-length:");
    if (at < 0) return 0;
    const qsizetype start = at + qsizetype(sizeof "\r\ncontent-length:") - 1;
    const QByteArray value = h.mid(start, h.indexOf("\r\n", start) - start).trimmed();
    bool digits = value.size() <= 8;
    for (const char ch : value)
        digits = digits && ch >= '0' && ch <= '9';
    if (!digits || value.isEmpty()) return std::nullopt;
    return std::size_t(value.toULongLong());
}

std::optional<Cut> CutUnit(const Step& s, std::string_view pending) {
    switch (s.frame) {
        case Step::Frame::kUntil: {
            const std::size_t at = pending.find(s.bytes);
            if (at == std::string_view::npos) return std::nullopt;
            return Cut{at + s.bytes.size(), at};
        }
        case Step::Frame::kData: {
            if (pending.substr(0, 3) == ".\r\n") return Cut{3, 0};  // empty body
            const std::size_t at = pending.find("\r\n.\r\n");
            if (at == std::string_view::npos) return std::nullopt;
            return Cut{at + 5, at + 2};
        }
        case Step::Frame::kHttp: {
            const std::size_t at = pending.find("\r\n\r\n");
            if (at == std::string_view::npos) return std::nullopt;
            const auto length = ContentLength(pending.substr(0, at));
            if (!length) return Cut{0, 0, true};
            const std::size_t total = at + 4 + *length;
            if (pending.size() < total) return std::nullopt;
            return Cut{total, total};
        }
    }
    return std::nullopt;
}

}  // namespace

namespace step {
Step Send(std::string bytes) {
    Step s = Bare(Step::Kind::kSend, "Send");
    s.bytes = std::move(bytes);
    return s;
}
Step ExpectLine() {
    return Expect(Step::Frame::kUntil, "\r\n", {}, "ExpectLine");
}
Step ExpectLine(std::string line) {
    const std::string what = "ExpectLine " + Quote(line);
    return Expect(
        Step::Frame::kUntil, "\r\n",
        [line = std::move(line)](const std::string& t) { return t == line; }, what);
}
Step ExpectLine(Step::Match match, std::string what) {
    what = "ExpectLine " + what;
    return Expect(Step::Frame::kUntil, "\r\n", std::move(match), std::move(what));
}
Step ExpectUntil(std::string terminator, Step::Match match) {
    std::string what = Named("ExpectUntil " + Quote(terminator), match);
    return Expect(Step::Frame::kUntil, std::move(terminator), std::move(match), std::move(what));
}
Step ExpectData(Step::Match match) {
    std::string what = Named("ExpectData", match);
    return Expect(Step::Frame::kData, "", std::move(match), std::move(what));
}
Step ExpectHttp(Step::Match match) {
    std::string what = Named("ExpectHttp", match);
    return Expect(Step::Frame::kHttp, "", std::move(match), std::move(what));
}
Step Pause(int ms) {
    Step s = Bare(Step::Kind::kPause, "Pause");
    s.ms = ms;
    return s;
}
Step Drop() {
    return Bare(Step::Kind::kDrop, "Drop");
}
Step Reset() {
    return Bare(Step::Kind::kReset, "Reset");
}
Step Silence() {
    return Bare(Step::Kind::kSilence, "Silence");
}
}  // namespace step

ScriptedServer::ScriptedServer(std::vector<Script> scripts, int expectTimeoutMs)
    : scripts_(std::move(scripts)), expectTimeoutMs_(expectTimeoutMs) {
    QObject::connect(&server_, &QTcpServer::newConnection, [this] { Accept(); });
}

ScriptedServer::~ScriptedServer() {
    // Each connection's timer is the context of its socket's signals: gone
    // first, no signal reaches a connection while server_ deletes the sockets.
    connections_.clear();
}

bool ScriptedServer::Listen(quint16 port) {
    return server_.listen(QHostAddress::LocalHost, port);
}

std::string ScriptedServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port()) + path;
}

const std::string& ScriptedServer::Received(int i) const {
    return connections_.at(std::size_t(i))->received;
}

const std::vector<std::string>& ScriptedServer::Taken(int i) const {
    return connections_.at(std::size_t(i))->taken;
}

std::vector<std::string> ScriptedServer::Failures() const {
    std::vector<std::string> all = failures_;
    for (const auto& c : connections_) {
        if (c->ended || c->silent || c->step >= c->script.size()) continue;
        const Step& s = c->script[c->step];
        if (s.kind != Step::Kind::kExpect) continue;
        all.push_back("connection " + std::to_string(c->index) + ", step " +
                      std::to_string(c->step) + " " + s.what + ": still waiting, has " +
                      Quote(c->pending));
    }
    return all;
}

void ScriptedServer::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        auto owned = std::make_unique<Connection>();
        Connection& c = *owned;
        c.index = int(connections_.size());
        if (!scripts_.empty()) {
            c.script = scripts_[std::min(connections_.size(), scripts_.size() - 1)];
        }
        c.socket = socket;
        c.timer.setSingleShot(true);
        c.timer.setTimerType(Qt::PreciseTimer);  // never before its time
        connections_.push_back(std::move(owned));
        QObject::connect(&c.timer, &QTimer::timeout, &c.timer, [this, &c] { OnTimeout(c); });
        QObject::connect(socket, &QTcpSocket::readyRead, &c.timer, [this, &c] { OnReadyRead(c); });
        QObject::connect(socket, &QTcpSocket::disconnected, &c.timer,
                         [this, &c] { OnDisconnected(c); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        Run(c);
    }
}

void ScriptedServer::OnReadyRead(Connection& c) {
    if (!c.socket) return;
    const std::size_t room = kMaxBuffered - c.received.size();
    const QByteArray data = c.socket->read(qint64(room) + 1);
    const std::string_view kept(data.constData(), std::min(std::size_t(data.size()), room));
    c.received += kept;
    if (c.ended) return;
    c.pending += kept;
    if (std::size_t(data.size()) > room) {
        Fail(c, "sent more than " + std::to_string(kMaxBuffered) + " bytes");
        c.pending.clear();
        End(c, true);
        return;
    }
    Run(c);
}

void ScriptedServer::OnDisconnected(Connection& c) {
    if (!c.ended && c.socket && c.socket->bytesAvailable() > 0) OnReadyRead(c);
    if (c.ended) return;
    c.ended = true;
    c.timer.stop();
    if (c.silent) return;
    for (std::size_t i = c.step; i < c.script.size(); ++i) {
        if (c.script[i].kind != Step::Kind::kExpect) continue;
        Fail(c, "closed by the client before step " + std::to_string(i) + " " + c.script[i].what +
                    " was met, has " + Quote(c.pending));
        break;
    }
}

void ScriptedServer::OnTimeout(Connection& c) {
    if (c.ended || c.step >= c.script.size()) return;
    const Step& s = c.script[c.step];
    if (s.kind == Step::Kind::kPause) {
        ++c.step;
        Run(c);
        return;
    }
    Fail(c, "step " + std::to_string(c.step) + " " + s.what + ": nothing complete within " +
                std::to_string(expectTimeoutMs_) + " ms, has " + Quote(c.pending));
    c.pending.clear();
    End(c, true);
}

void ScriptedServer::Run(Connection& c) {
    while (!c.ended && !c.silent) {
        if (!c.socket) return;
        if (c.step >= c.script.size()) {
            End(c, false);
            return;
        }
        const Step& s = c.script[c.step];
        switch (s.kind) {
            case Step::Kind::kSend:
                c.socket->write(s.bytes.data(), qint64(s.bytes.size()));
                ++c.step;
                break;
            case Step::Kind::kExpect: {
                const auto cut = CutUnit(s, c.pending);
                if (!cut) {
                    if (!c.timer.isActive()) c.timer.start(expectTimeoutMs_);
                    return;
                }
                c.timer.stop();
                if (cut->malformed) {
                    Fail(c, "step " + std::to_string(c.step) + " " + s.what + ": malformed " +
                                Quote(c.pending));
                    c.pending.clear();
                    End(c, true);
                    return;
                }
                std::string taken = c.pending.substr(0, cut->keep);
                c.pending.erase(0, cut->length);
                if (s.match && !s.match(taken)) {
                    Fail(c, "step " + std::to_string(c.step) + " " + s.what + ": took " +
                                Quote(taken));
                }
                c.taken.push_back(std::move(taken));
                ++c.step;
                break;
            }
            case Step::Kind::kPause:
                if (!c.timer.isActive()) c.timer.start(s.ms);
                return;
            case Step::Kind::kDrop:
                End(c, false);
                return;
            case Step::Kind::kReset:
                End(c, true);
                return;
            case Step::Kind::kSilence:
                c.silent = true;
                return;
        }
    }
}

void ScriptedServer::End(Connection& c, bool abort) {
    if (!c.pending.empty()) Fail(c, "sent what no step expected: " + Quote(c.pending));
    c.ended = true;  // before the socket signals disconnected
    c.timer.stop();
    if (!c.socket) return;
    if (abort) {
        c.socket->abort();
    } else {
        c.socket->disconnectFromHost();
    }
}

void ScriptedServer::Fail(const Connection& c, const std::string& why) {
    failures_.push_back("connection " + std::to_string(c.index) + ": " + why);
}

}  // namespace quarnel::test
