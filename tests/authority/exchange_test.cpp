// The HTTP exchange against scripted servers on loopback: the wire, the
// status classes, redirects, time-outs, and the buttons of the connection
// window as the exchange leaves them.

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

#include <optional>

#include "app/program_data.h"
#include "authority/exchange.h"
#include "authority/texts.h"
#include "protocol/body.h"
#include "store/atomic_file.h"
#include "ta_server.h"

namespace quarnel {
namespace {

// Answers each complete request with `script` (nothing: keeps the connection
// silent), then closes the connection. Listens on a TA port (`code`) or any.
class ScriptedServer {
  public:
    using Script = std::function<std::optional<std::string>(const std::string& request)>;

    ScriptedServer(Script script, std::string* code) : script_(std::move(script)) {
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { Accept(); });
        if (code) {
            *code = test::FreeTaCode(
                [this](quint16 port) { return server_.listen(QHostAddress::LocalHost, port); });
        } else {
            EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
        }
    }
    quint16 port() const { return server_.serverPort(); }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port()) + path;
    }
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
};

ScriptedServer::Script Reply(const std::string& status, const std::string& body,
                             const std::string& headers = "") {
    return [=](const std::string&) {
        return "HTTP/1.0 " + status + "\r\n" + headers +
               "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    };
}

const std::string kGoodBody =
    "noise\r\n" + kSeparatorLine + "\r\n" + std::string(32, '1') + "\r\n" + kEndMarkerLine + "\r\n";

class Exchange : public ::testing::Test {
  protected:
    Exchange() {
        ctx.settings.taAddress = "127.0.0.1";
        ctx.settings.taPortChoice = 'A';
    }
    // The TA of ctx.settings answers with `script`.
    void Serve(ScriptedServer::Script script) {
        server = std::make_unique<ScriptedServer>(std::move(script), &code);
        ASSERT_FALSE(code.empty());
        ctx.settings.taCode = code;
    }
    // A fresh exchange of a request of `kind`, sent as Envoyer sends it.
    void Send(std::string_view kind) {
        exchange = std::make_unique<TaExchange>();
        log.clear();
        details.clear();
        QObject::connect(exchange.get(), &TaExchange::logged,
                         [this](int id, const QString& detail) {
                             log.push_back(id);
                             details.push_back(detail.toStdString());
                         });
        setUp(*exchange);
        ctx.authority.requestKind = std::string(kind);
        ctx.authority.outgoingBody = {"title", kSeparatorLine,
                                      std::string(kind) + std::string(30, '0'), kEndMarkerLine};
        exchange->Prepare(ctx, ctx.authority);
        EXPECT_TRUE(exchange->envoyerEnabled());
        EXPECT_TRUE(exchange->annulerEnabled());
        EXPECT_FALSE(exchange->accepterEnabled());
        exchange->Send();
        EXPECT_FALSE(exchange->envoyerEnabled());
        EXPECT_FALSE(exchange->annulerEnabled());
        EXPECT_EQ(ctx.information, txt::kTransmission);
    }
    bool Logged(int id) const { return std::find(log.begin(), log.end(), id) != log.end(); }
    bool Accepter() const { return exchange->accepterEnabled(); }
    bool Annuler() const { return exchange->annulerEnabled(); }

    ProgramData ctx;
    std::unique_ptr<ScriptedServer> server;
    std::string code;
    std::unique_ptr<TaExchange> exchange;
    std::function<void(TaExchange&)> setUp = [](TaExchange&) {};
    std::vector<int> log;
    std::vector<std::string> details;
};

TEST_F(Exchange, AGoodReplyCanBeAcceptedAndAnnulerWaitsForTheTimerAfterAnAffiliationRequest) {
    Serve(Reply("200 OK", kGoodBody));
    setUp = [](TaExchange& e) { e.SetResponseDelay(300); };
    for (auto kind : {kind::kKey, kind::kAffiliation}) {
        Send(kind);
        ASSERT_TRUE(test::RunUntil([&] { return Accepter(); }));
        EXPECT_EQ(Annuler(), kind == kind::kKey);
        EXPECT_TRUE(test::RunUntil([&] { return Annuler(); }, 2000));
        EXPECT_TRUE(Accepter());
        EXPECT_EQ(exchange->memo(),
                  (Lines{"noise", kSeparatorLine, std::string(32, '1'), kEndMarkerLine}));
        EXPECT_EQ(log, (std::vector<int>{txt::kLogCall, txt::kLogResolved, txt::kLogConnected,
                                         txt::kLogSending, txt::kLogReplyReceived}));
        EXPECT_EQ(server->requests.back(),
                  "POST /QuarnelSys/ HTTP/1.0\r\n"
                  "Host: 127.0.0.1\r\n"
                  "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
                  "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
                  "Content-type: application/x-www-form-urlencoded\r\n"
                  "Content-Length: 99\r\n"
                  "Pragma:no-cache\r\n"
                  "Connection:keep-alive\r\n"
                  "\r\n" +
                      RequestData(ctx.authority.outgoingBody));
    }
}

TEST_F(Exchange, AReplyWithoutTheEndMarkerOrWithAFailureStatusLeavesOnlyAnnuler) {
    struct Case {
        std::string status;
        std::string body;
        std::vector<int> lastLogged;
        std::string detail;  // of the last line logged
    };
    const std::vector<int> failed{txt::kLogReplyFailed, txt::kLogErrorNumber};
    for (const Case& c :
         {Case{"200 OK", kSeparatorLine + "\r\nhalf\r\n", {txt::kLogReplyReceived}, ""},
          Case{"404 Not Found", "Reason text\r\n", failed, " 404 Not Found"},
          Case{"500 Internal Server Error", "Reason text\r\n", failed,
               " 500 Internal Server Error"}}) {
        Serve(Reply(c.status, c.body));
        Send(kind::kKey);
        ASSERT_TRUE(test::RunUntil([&] { return Annuler(); }));
        EXPECT_FALSE(Accepter());
        ASSERT_GE(log.size(), c.lastLogged.size());
        EXPECT_EQ(std::vector<int>(log.end() - std::ptrdiff_t(c.lastLogged.size()), log.end()),
                  c.lastLogged);
        EXPECT_EQ(details.back(), c.detail);
        EXPECT_EQ(JoinLinesCrLf(exchange->memo()), c.body);
    }
}

TEST_F(Exchange, RedirectsAreFollowedUpToTheLimit) {
    ScriptedServer target(Reply("200 OK", kGoodBody), nullptr);
    Serve(Reply("302 Found", "", "Location: " + target.Url("/QuarnelSys/") + "\r\n"));
    Send(kind::kKey);
    ASSERT_TRUE(test::RunUntil([&] { return Accepter(); }));
    ASSERT_EQ(target.requests.size(), 1u);
    EXPECT_EQ(target.requests[0].substr(target.requests[0].find("\r\n\r\n") + 4),
              RequestData(ctx.authority.outgoingBody));

    // A server that always redirects to itself is left after the limit.
    Serve([this](const std::string& r) {
        return Reply("301 Moved", "", "LOCATION: " + server->Url("/x/") + "\r\n")(r);
    });
    Send(kind::kKey);
    ASSERT_TRUE(test::RunUntil([&] { return Annuler(); }));
    EXPECT_EQ(server->requests.size(), std::size_t(TaHttpClient::kMaxRedirects + 1));
    EXPECT_TRUE(Logged(txt::kLogTooManyRedirects));
}

TEST_F(Exchange, ASilentServerTimesOutAndAnnulerLeavesTheRequestWaiting) {
    Serve([](const std::string&) { return std::nullopt; });
    setUp = [](TaExchange& e) { e.client().SetTimeoutOverride(300); };
    Send(kind::kKey);
    ASSERT_TRUE(test::RunUntil([&] { return Annuler(); }));
    EXPECT_TRUE(Logged(txt::kLogRequestFailed));
    EXPECT_EQ(log.back(), txt::kLogTimedOut);
    EXPECT_FALSE(Accepter());
    exchange->Cancel();
    EXPECT_EQ(ctx.information, txt::kEnAttente);
}

TEST_F(Exchange, ThroughAProxyTheRequestNamesTheWholeUrl) {
    auto proxy = std::make_unique<ScriptedServer>(Reply("200 OK", kGoodBody), nullptr);
    ctx.settings.proxyAddress = "127.0.0.1";
    ctx.settings.proxyPort = std::to_string(proxy->port());
    ctx.settings.taAddress = "ta.example";  // the proxy resolves it
    ctx.settings.taCode = "0FF";
    Send(kind::kKeyUpdate);
    ASSERT_TRUE(test::RunUntil([&] { return Accepter(); }));
    ASSERT_EQ(proxy->requests.size(), 1u);
    const std::string& r = proxy->requests[0];
    EXPECT_EQ(r.substr(0, r.find("Host:")),
              "POST http://ta.example:50255/QuarnelSys/ HTTP/1.0\r\n"
              "Proxy-Connection: Keep-Alive\r\n");
    EXPECT_NE(r.find("\r\nHost: ta.example\r\n"), std::string::npos);

    // The proxy gone: nothing listens, a connection failure.
    proxy.reset();
    Send(kind::kKey);
    ASSERT_TRUE(test::RunUntil([&] { return Annuler(); }));
    EXPECT_EQ(log.back(), txt::kLogConnectFailed);
}

}  // namespace
}  // namespace quarnel
