// The HTTP exchange against scripted servers on loopback: the wire, the
// status classes, redirects, time-outs, and the buttons of the connection
// window as the exchange leaves them.

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

#include <optional>
#include <random>

#include "authority/exchange.h"
#include "authority/texts.h"
#include "crypto/bignum.h"
#include "messages/format.h"
#include "qt_test_support.h"

namespace quarnel {
namespace {

[[maybe_unused]] auto* const kQt =
    ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);  // gtest owns it

// Answers each complete request with `script` (nothing: keeps the connection
// silent), then closes the connection.
class ScriptedServer {
  public:
    using Script = std::function<std::optional<std::string>(const std::string& request)>;

    explicit ScriptedServer(Script script, quint16 port = 0) : script_(std::move(script)) {
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { Accept(); });
        ok_ = server_.listen(QHostAddress::LocalHost, port);
    }
    /// Listens on a free port of the TA range 50000 + code; gives the code.
    static std::unique_ptr<ScriptedServer> OnTaPort(Script script, std::string& code) {
        std::mt19937 g(std::random_device{}());
        for (int i = 0; i < 50; ++i) {
            const Word c = Word(0x100 + g() % 0xE00);
            auto s = std::make_unique<ScriptedServer>(script, quint16(50000 + c));
            if (s->ok_) {
                code = WordToHex(c).substr(5);
                return s;
            }
        }
        return nullptr;
    }
    quint16 port() const { return server_.serverPort(); }
    std::vector<std::string> requests;

  private:
    void Accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            auto buffer = std::make_shared<std::string>();
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                buffer->append(socket->readAll().toStdString());
                const auto end = buffer->find("\r\n\r\n");
                if (end == std::string::npos) return;
                const auto cl = buffer->find("Content-Length: ");
                const std::size_t length =
                    cl == std::string::npos ? 0 : std::stoul(buffer->substr(cl + 16));
                if (buffer->size() < end + 4 + length) return;
                requests.push_back(*buffer);
                if (const auto reply = script_(*buffer)) {
                    socket->write(reply->data(), qint64(reply->size()));
                    socket->disconnectFromHost();
                }
            });
        }
    }

    QTcpServer server_;
    Script script_;
    bool ok_ = false;
};

std::string Http(const std::string& status, const std::string& body,
                 const std::string& headers = "") {
    return "HTTP/1.0 " + status + "\r\n" + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

const std::string kGoodBody =
    "noise\r\n" + kSeparatorLine + "\r\n" + std::string(32, '1') + "\r\n" + kEndMarkerLine + "\r\n";

class Exchange : public ::testing::Test {
  protected:
    void Start(std::string_view kind, const std::string& taCode) {
        ctx.settings.taAddress = "127.0.0.1";
        ctx.settings.taCode = taCode;
        if (ctx.settings.proxyAddress.size() < 2) ctx.settings.taPortChoice = 'A';
        ctx.requestKind = std::string(kind);
        ctx.outgoingBody = {"title", kSeparatorLine, std::string(kind) + std::string(30, '0'),
                            kEndMarkerLine};
        QObject::connect(&exchange, &TaExchange::logged, [this](int id, const QString& detail) {
            log.push_back(id);
            details.push_back(detail.toStdString());
        });
        exchange.Prepare(ctx);
        EXPECT_TRUE(exchange.envoyerEnabled());
        EXPECT_TRUE(exchange.annulerEnabled());
        EXPECT_FALSE(exchange.accepterEnabled());
        exchange.Send();
        EXPECT_FALSE(exchange.envoyerEnabled());
        EXPECT_FALSE(exchange.annulerEnabled());
        EXPECT_EQ(ctx.information, txt::kTransmission);
    }
    bool Logged(int id) const { return std::find(log.begin(), log.end(), id) != log.end(); }
    bool Ended() const { return Logged(txt::kLogReplyReceived) || exchange.annulerEnabled(); }

    HolderContext ctx;
    TaExchange exchange;
    std::vector<int> log;
    std::vector<std::string> details;
    std::string code;
};

TEST_F(Exchange, AGoodReplyToAKeyRequestCanBeAcceptedOrCancelledAtOnce) {
    auto server = ScriptedServer::OnTaPort(
        [](const std::string&) { return Http("200 OK", kGoodBody); }, code);
    ASSERT_TRUE(server);
    Start(kind::kKey, code);
    ASSERT_TRUE(test::RunUntil([&] { return exchange.accepterEnabled(); }));
    EXPECT_TRUE(exchange.annulerEnabled());
    EXPECT_EQ(exchange.memo().back(), kEndMarkerLine);
    EXPECT_EQ(exchange.memo().front(), "noise");
    EXPECT_EQ(log, (std::vector<int>{txt::kLogCall, txt::kLogResolved, txt::kLogConnected,
                                     txt::kLogSending, txt::kLogReplyReceived}));
    ASSERT_EQ(server->requests.size(), 1u);
    const std::string& request = server->requests[0];
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "POST /QuarnelSys/ HTTP/1.0");
    EXPECT_NE(request.find("\r\nHost: 127.0.0.1\r\n"), std::string::npos);
    EXPECT_NE(request.find("\r\nContent-Length: 99\r\n"), std::string::npos);
    EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4), RequestData(ctx.outgoingBody));
}

TEST_F(Exchange, AfterAGoodReplyToAnAffiliationRequestAnnulerWaitsForTheTimer) {
    auto server = ScriptedServer::OnTaPort(
        [](const std::string&) { return Http("200 OK", kGoodBody); }, code);
    ASSERT_TRUE(server);
    exchange.SetResponseDelay(300);
    Start(kind::kAffiliation, code);
    ASSERT_TRUE(test::RunUntil([&] { return exchange.accepterEnabled(); }));
    EXPECT_FALSE(exchange.annulerEnabled());
    EXPECT_TRUE(test::RunUntil([&] { return exchange.annulerEnabled(); }, 2000));
    EXPECT_TRUE(exchange.accepterEnabled());
}

TEST_F(Exchange, AReplyWithoutTheEndMarkerNeverEnablesAccepter) {
    auto server = ScriptedServer::OnTaPort(
        [](const std::string&) { return Http("200 OK", kSeparatorLine + "\r\nhalf\r\n"); }, code);
    ASSERT_TRUE(server);
    Start(kind::kKey, code);
    ASSERT_TRUE(test::RunUntil([&] { return exchange.annulerEnabled(); }));
    EXPECT_FALSE(exchange.accepterEnabled());
    EXPECT_TRUE(Logged(txt::kLogReplyReceived));
    EXPECT_EQ(exchange.memo().back(), "half");
}

TEST_F(Exchange, FailureStatusesAreLoggedWithTheirStatusLine) {
    for (const std::string status : {"404 Not Found", "500 Internal Server Error"}) {
        log.clear();
        details.clear();
        auto server = ScriptedServer::OnTaPort(
            [&](const std::string&) { return Http(status, "Reason text\r\n"); }, code);
        ASSERT_TRUE(server);
        TaExchange fresh;
        QObject::connect(&fresh, &TaExchange::logged, [this](int id, const QString& d) {
            log.push_back(id);
            details.push_back(d.toStdString());
        });
        ctx.settings.taAddress = "127.0.0.1";
        ctx.settings.taCode = code;
        ctx.requestKind = "10";
        ctx.outgoingBody = {"t", kSeparatorLine, "10" + std::string(30, '0'), kEndMarkerLine};
        fresh.Prepare(ctx);
        fresh.Send();
        ASSERT_TRUE(test::RunUntil([&] { return fresh.annulerEnabled(); }));
        EXPECT_FALSE(fresh.accepterEnabled());
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], txt::kLogReplyFailed);
        EXPECT_EQ(log.back(), txt::kLogErrorNumber);
        EXPECT_EQ(details.back(), " " + status);
        EXPECT_EQ(fresh.memo(), Lines{"Reason text"});
    }
}

TEST_F(Exchange, ARedirectIsFollowed) {
    ScriptedServer target([](const std::string&) { return Http("200 OK", kGoodBody); });
    const std::string location =
        "Location: http://127.0.0.1:" + std::to_string(target.port()) + "/QuarnelSys/\r\n";
    auto first = ScriptedServer::OnTaPort(
        [&](const std::string&) { return Http("302 Found", "", location); }, code);
    ASSERT_TRUE(first);
    Start(kind::kKey, code);
    ASSERT_TRUE(test::RunUntil([&] { return exchange.accepterEnabled(); }));
    ASSERT_EQ(target.requests.size(), 1u);
    EXPECT_EQ(target.requests[0].substr(target.requests[0].find("\r\n\r\n") + 4),
              RequestData(ctx.outgoingBody));

    // A server that always redirects to itself is left after the limit.
    log.clear();
    std::string selfCode;
    std::unique_ptr<ScriptedServer> loop;
    loop = ScriptedServer::OnTaPort(
        [&](const std::string&) {
            return Http("301 Moved", "",
                        "LOCATION: http://127.0.0.1:" + std::to_string(loop->port()) + "/x/\r\n");
        },
        selfCode);
    ASSERT_TRUE(loop);
    TaExchange again;
    QObject::connect(&again, &TaExchange::logged,
                     [this](int id, const QString&) { log.push_back(id); });
    ctx.settings.taCode = selfCode;
    again.Prepare(ctx);
    again.Send();
    ASSERT_TRUE(test::RunUntil([&] { return again.annulerEnabled(); }));
    EXPECT_EQ(loop->requests.size(), std::size_t(TaHttpClient::kMaxRedirects + 1));
    EXPECT_TRUE(Logged(txt::kLogTooManyRedirects));
}

TEST_F(Exchange, ASilentServerTimesOut) {
    auto server = ScriptedServer::OnTaPort([](const std::string&) { return std::nullopt; }, code);
    ASSERT_TRUE(server);
    exchange.client().SetTimeoutOverride(300);
    Start(kind::kKey, code);
    ASSERT_TRUE(test::RunUntil([&] { return exchange.annulerEnabled(); }));
    EXPECT_TRUE(Logged(txt::kLogRequestFailed));
    EXPECT_EQ(log.back(), txt::kLogTimedOut);
    EXPECT_FALSE(exchange.accepterEnabled());
    exchange.Cancel();
    EXPECT_EQ(ctx.information, txt::kEnAttente);
}

TEST_F(Exchange, NothingListeningIsAConnectionFailure) {
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    ctx.settings.taPortChoice = 'B';
    ctx.settings.proxyAddress = "127.0.0.1";
    ctx.settings.proxyPort = std::to_string(port);
    Start(kind::kKey, "0FF");
    ASSERT_TRUE(test::RunUntil([&] { return exchange.annulerEnabled(); }));
    EXPECT_EQ(log.back(), txt::kLogConnectFailed);
}

TEST_F(Exchange, ThroughAProxyTheRequestNamesTheWholeUrl) {
    ScriptedServer proxy([](const std::string&) { return Http("200 OK", kGoodBody); });
    ctx.settings.proxyAddress = "127.0.0.1";
    ctx.settings.proxyPort = std::to_string(proxy.port());
    ctx.settings.taAddress = "ta.example";
    ctx.settings.taCode = "0FF";
    ctx.requestKind = "11";
    ctx.outgoingBody = {"t", kSeparatorLine, "11" + std::string(30, '0'), kEndMarkerLine};
    exchange.Prepare(ctx);
    exchange.Send();
    ASSERT_TRUE(test::RunUntil([&] { return exchange.accepterEnabled(); }));
    ASSERT_EQ(proxy.requests.size(), 1u);
    const std::string& r = proxy.requests[0];
    EXPECT_EQ(r.substr(0, r.find("Host:")),
              "POST http://ta.example:50255/QuarnelSys/ HTTP/1.0\r\n"
              "Proxy-Connection: Keep-Alive\r\n");
    EXPECT_NE(r.find("\r\nHost: ta.example\r\n"), std::string::npos);
}

}  // namespace
}  // namespace quarnel
