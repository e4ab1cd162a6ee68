// SPDX-License-Identifier: GPL-3.0-or-later
// The HTTP exchange against scripted servers on loopback: the wire, the
// status classes, redirects, replies that end otherwise than announced,
// time-outs, the failures named in words, and the buttons of the connection
// window as the exchange leaves them.

#include <gtest/gtest.h>

#include "app/program_data.h"
#include "authority/exchange.h"
#include "authority/texts.h"
#include "protocol/body.h"
#include "protocol/lines.h"
#include "scripted_server.h"
#include "store/atomic_file.h"
#include "ta_server.h"

namespace quarnel {
namespace {

using test::ScriptedServer;
namespace step = test::step;

std::string Reply(const std::string& status, const std::string& body,
                  const std::string& headers = "") {
    return "HTTP/1.0 " + status + "\r\n" + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// One chunk of a chunked reply: its size in hexadecimal, the data.
std::string Chunk(const std::string& data) {
    char size[16];
    std::snprintf(size, sizeof size, "%zX", data.size());
    return size + std::string(";ext=1\r\n") + data + "\r\n";
}

// Takes one request, answers `reply` and closes the connection.
test::Script Answer(std::string reply) {
    return {step::ExpectHttp(), step::Send(std::move(reply))};
}

// The request of the last connection (the client closes after each reply).
const std::string& LastRequest(const ScriptedServer& server) {
    return server.Received(server.connections() - 1);
}

const std::string kGoodBody =
    "noise\r\n" + kSeparatorLine + "\r\n" + std::string(32, '1') + "\r\n" + kEndMarkerLine + "\r\n";

class Exchange : public ::testing::Test {
  protected:
    Exchange() {
        ctx.settings.taAddress = "127.0.0.1";
        ctx.settings.taPortChoice = 'A';
    }
    // The TA of ctx.settings, on a port its code names, plays `script`.
    void Serve(test::Script script) {
        server = std::make_unique<ScriptedServer>(std::vector<test::Script>{std::move(script)});
        code = test::FreeTaCode([this](quint16 port) { return server->Listen(port); });
        ASSERT_FALSE(code.empty());
        ctx.settings.taCode = code;
    }
    // A fresh exchange of a request of `kind`, sent as Envoyer sends it;
    // whether it ended, one way or the other, within `ms`.
    [[nodiscard]] bool Send(Kind kind, int ms = 5000) {
        exchange = std::make_unique<TaExchange>();
        log.clear();
        details.clear();
        QObject::connect(exchange.get(), &TaExchange::logged,
                         [this](int id, const QStringList& detail) {
                             log.push_back(id);
                             details.push_back(detail.join('|').toStdString());
                         });
        setUp(*exchange);
        ctx.authority.requestKind = kind;
        ctx.authority.outgoingBody = {"title", kSeparatorLine,
                                      std::string(KindText(kind)) + std::string(30, '0'),
                                      kEndMarkerLine};
        exchange->Prepare(ctx, ctx.authority);
        EXPECT_TRUE(exchange->sendEnabled());
        EXPECT_TRUE(exchange->cancelEnabled());
        EXPECT_FALSE(exchange->acceptEnabled());
        exchange->Send();
        EXPECT_FALSE(exchange->sendEnabled());
        EXPECT_TRUE(exchange->cancelEnabled());  // the person may stop it
        EXPECT_EQ(ctx.information, txt::kTransmission);
        return Ended(ms);
    }
    // Waits until the exchange has ended one way or the other.
    bool Ended(int ms = 5000) {
        return test::RunUntil([&] { return AcceptEnabled() || exchange->sendEnabled(); }, ms);
    }
    std::string Server() const { return server->Address(); }
    std::vector<int> Last(std::size_t n) const {
        return {log.end() - std::ptrdiff_t(std::min(n, log.size())), log.end()};
    }
    bool Logged(int id) const { return std::find(log.begin(), log.end(), id) != log.end(); }
    bool AcceptEnabled() const { return exchange->acceptEnabled(); }
    bool CancelEnabled() const { return exchange->cancelEnabled(); }

    ProgramData ctx;
    std::unique_ptr<ScriptedServer> server;
    std::string code;
    std::unique_ptr<TaExchange> exchange;
    std::function<void(TaExchange&)> setUp = [](TaExchange&) {};
    std::vector<int> log;
    std::vector<std::string> details;
};

TEST_F(Exchange, AGoodReplyCanBeAcceptedAndAnnulerWaitsForTheTimerAfterAnAffiliationRequest) {
    Serve(Answer(Reply("200 OK", kGoodBody)));
    setUp = [](TaExchange& e) { e.SetResponseDelay(300); };
    for (auto kind : {Kind::Key, Kind::Affiliation}) {
        ASSERT_TRUE(Send(kind) && AcceptEnabled());
        EXPECT_EQ(CancelEnabled(), kind == Kind::Key);
        EXPECT_FALSE(exchange->sendEnabled());
        EXPECT_EQ(exchange->transfer().done, exchange->transfer().total);
        EXPECT_EQ(exchange->transfer().total, qint64(kGoodBody.size()));
        EXPECT_TRUE(test::RunUntil([&] { return CancelEnabled(); }, 2000));
        EXPECT_TRUE(AcceptEnabled());
        EXPECT_EQ(exchange->memo(),
                  (Lines{"noise", kSeparatorLine, std::string(32, '1'), kEndMarkerLine}));
        EXPECT_EQ(log, (std::vector<int>{txt::kLogCall, txt::kLogResolved, txt::kLogConnected,
                                         txt::kLogSending, txt::kLogReplyReceived}));
        EXPECT_EQ(LastRequest(*server),
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
    EXPECT_EQ(server->Failures(), std::vector<std::string>{});
}

TEST_F(Exchange, AReplyWithoutTheEndMarkerOrWithAFailureStatusLeavesOnlyAnnuler) {
    struct Case {
        std::string status;
        std::string body;
        std::vector<int> lastLogged;
        std::string detail;  // of the last line logged
    };
    const std::vector<int> failed{txt::kLogReplyFailed, txt::kLogErrorNumber};
    // A 404 is how the authority refuses (an unknown correspondent): no
    // "wrong address" before it.
    const std::vector<int> refused{txt::kLogSending, txt::kLogErrorNumber};
    for (const Case& c :
         {Case{"200 OK", kSeparatorLine + "\r\nhalf\r\n", {txt::kLogReplyReceived}, ""},
          Case{"404 Not Found", "Reason text\r\n", refused, " 404 Not Found"},
          Case{"500 Internal Server Error", "Reason text\r\n", failed,
               " 500 Internal Server Error"}}) {
        Serve(Answer(Reply(c.status, c.body)));
        ASSERT_TRUE(Send(Kind::Key));
        EXPECT_FALSE(AcceptEnabled());
        EXPECT_EQ(Last(c.lastLogged.size()), c.lastLogged);
        EXPECT_EQ(details.back(), c.detail);
        EXPECT_EQ(JoinLinesCrLf(exchange->memo()), c.body);
    }
}

TEST_F(Exchange, RedirectsAreFollowedUpToTheLimit) {
    ScriptedServer target({Answer(Reply("200 OK", kGoodBody))});
    ASSERT_TRUE(target.Listen());
    Serve(Answer(Reply("302 Found", "", "Location: " + target.Url("/QuarnelSys/") + "\r\n")));
    ASSERT_TRUE(Send(Kind::Key) && AcceptEnabled());
    ASSERT_EQ(target.connections(), 1);
    EXPECT_EQ(target.Received(0).substr(target.Received(0).find("\r\n\r\n") + 4),
              RequestData(ctx.authority.outgoingBody));

    // A server that always redirects to itself is left after the limit.
    Serve({});
    server->SetScripts(
        {Answer(Reply("301 Moved", "", "LOCATION: " + server->Url("/x/") + "\r\n"))});
    ASSERT_TRUE(Send(Kind::Key));
    EXPECT_EQ(server->connections(), TaHttpClient::kMaxRedirects + 1);
    EXPECT_EQ(server->Failures(), std::vector<std::string>{});
    EXPECT_TRUE(Logged(txt::kLogTooManyRedirects));

    // A redirect without a usable address says so, after one connection.
    for (const std::string headers : {"", "Location: ftp://x/\r\n"}) {
        Serve(Answer(Reply("302 Found", "", headers)));
        ASSERT_TRUE(Send(Kind::Key));
        EXPECT_EQ(server->connections(), 1);
        EXPECT_EQ(Last(2), (std::vector<int>{txt::kLogBadRedirect, txt::kLogErrorNumber}));
        EXPECT_EQ(details.back(), " 302 Found");
    }
}

// Short or in chunks: only a reply that ends as it announced can be
// accepted, and a failed exchange can be sent again. (Interim replies, and
// every framing byte by byte: Connection.RepliesEndAsTheyAnnounceOrAreRefused.)
TEST_F(Exchange, AReplyIsTakenOnlyWhenItEndsAsAnnounced) {
    const std::string ok = "HTTP/1.1 200 OK\r\n";
    const std::string half = kGoodBody.substr(0, 20);
    struct Case {
        test::Script script;
        bool accepted;
        std::vector<int> lastLogged;
        std::string detail;  // of the last line logged, after the server
    };
    for (const Case& c : {
             // Closed 50 bytes short: with its end marker, but not whole.
             Case{{step::ExpectHttp(),
                   step::Send(ok + "Content-Length: " + std::to_string(kGoodBody.size() + 50) +
                              "\r\n\r\n" + kGoodBody),
                   step::Drop()},
                  false,
                  {txt::kLogReplyIncomplete},
                  std::to_string(kGoodBody.size()) + "|" + std::to_string(kGoodBody.size() + 50)},
             Case{{step::ExpectHttp(),
                   step::Send(ok + "Transfer-Encoding: chunked\r\n\r\n" + Chunk(half)),
                   step::Pause(50), step::Send(Chunk(kGoodBody.substr(20)) + "0\r\n\r\n"),
                   step::Silence()},
                  true,
                  {txt::kLogReplyReceived},
                  ""},
             Case{{step::ExpectHttp(),
                   step::Send(ok + "Transfer-Encoding: chunked\r\n\r\n" + Chunk(half)),
                   step::Drop()},
                  false,
                  {txt::kLogChunksIncomplete},
                  "20"},
         }) {
        Serve(c.script);
        server->SetScripts({c.script, Answer(Reply("200 OK", kGoodBody))});
        ASSERT_TRUE(Send(Kind::Key));
        EXPECT_EQ(AcceptEnabled(), c.accepted);
        EXPECT_EQ(Last(c.lastLogged.size()), c.lastLogged);
        EXPECT_EQ(details.back(),
                  c.lastLogged[0] == txt::kLogReplyReceived ? "" : Server() + "|" + c.detail);
        if (c.accepted) {
            EXPECT_EQ(JoinLinesCrLf(exchange->memo()), kGoodBody);
            continue;
        }
        // Never "received" for a reply that was not read; what arrived stays
        // in view, and Envoyer sends the same request again.
        EXPECT_FALSE(Logged(txt::kLogReplyReceived));
        EXPECT_NE(exchange->memo(), ctx.authority.outgoingBody);
        EXPECT_TRUE(CancelEnabled());
        exchange->Send();
        ASSERT_TRUE(Ended());
        EXPECT_TRUE(AcceptEnabled());
        EXPECT_EQ(server->Received(1), server->Received(0));
    }
}

TEST_F(Exchange, ASilentOrSlowServerMeetsOneDeadlineAndAnnulerLeavesTheRequestWaiting) {
    Serve({step::ExpectHttp(), step::Silence()});
    setUp = [](TaExchange& e) { e.client().SetTimeoutOverride(300); };
    ASSERT_TRUE(Send(Kind::Key));
    // The request went out: the reply is what did not come.
    EXPECT_FALSE(Logged(txt::kLogRequestFailed));
    EXPECT_EQ(Last(2), (std::vector<int>{txt::kLogNoReply, txt::kLogTimedOut}));
    EXPECT_EQ(details[details.size() - 2], Server() + "|1");
    EXPECT_FALSE(AcceptEnabled());
    exchange->Cancel();
    EXPECT_EQ(ctx.information, txt::kIdle);

    // A byte every 100 ms does not push the deadline back, and what had
    // arrived stays in view.
    test::Script trickle{step::ExpectHttp(),
                         step::Send("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n")};
    for (int i = 0; i < 12; ++i) {
        trickle.push_back(step::Pause(100));
        trickle.push_back(step::Send("x"));
    }
    Serve(trickle);
    setUp = [](TaExchange& e) { e.client().SetTimeoutOverride(400); };
    ASSERT_TRUE(Send(Kind::Affiliation));
    EXPECT_EQ(Last(2), (std::vector<int>{txt::kLogReplyUnfinished, txt::kLogTimedOut}));
    ASSERT_EQ(exchange->memo().size(), 1u);
    EXPECT_EQ(exchange->memo()[0], std::string(exchange->memo()[0].size(), 'x'));
    EXPECT_LT(exchange->memo()[0].size(), 12u);

    // A server that closes without a word: the request did not get through.
    Serve({step::ExpectHttp(), step::Drop()});
    ASSERT_TRUE(Send(Kind::Key));
    EXPECT_EQ(Last(2), (std::vector<int>{txt::kLogRequestFailed, txt::kLogClosedSilently}));
    EXPECT_FALSE(Logged(txt::kLogReplyFailed));
}

TEST_F(Exchange, TheReplyAndEachHeaderLineAreBounded) {
    constexpr std::size_t kMax = HttpReplyReader::kMaxReplyBytes;
    constexpr std::size_t kLine = HttpReplyReader::kMaxHeaderLineBytes;
    const std::string tooLong = std::to_string(kMax);
    const std::string lineTooLong = std::to_string(kLine);
    // A whole reply of exactly the limit, and a header line of exactly its
    // limit, are taken.
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 1234567\r\n\r\n";
    const std::string padded =
        std::string(kMax - head.size() - kGoodBody.size() - 2, 'p') + "\r\n" + kGoodBody;
    const std::string pad = "X-Pad: " + std::string(kLine - 7, 'p') + "\r\n";
    for (const std::string& reply : {Reply("200 OK", padded), Reply("200 OK", kGoodBody, pad)}) {
        ASSERT_LE(reply.size(), kMax);
        Serve(Answer(reply));
        ASSERT_TRUE(Send(Kind::Key) && AcceptEnabled()) << reply.size();
        EXPECT_EQ(exchange->memo().back(), kEndMarkerLine);
    }
    EXPECT_EQ(Reply("200 OK", padded).size(), kMax);

    // One byte more, a length announced beyond the limit, a longer header
    // line, an endless one: the exchange ends at once, the server still
    // sending or silent.
    struct Case {
        std::string sent;
        int logged;
        std::string detail;
    };
    const std::string open = "HTTP/1.0 200 OK\r\n";
    for (const Case& c :
         {Case{open + "\r\n" + std::string(kMax - open.size() - 1, 'p'), txt::kLogReplyTooLong,
               tooLong},
          Case{open + "Content-Length: " + tooLong + "\r\n\r\n", txt::kLogReplyTooLong, tooLong},
          Case{open + "X-Pad: " + std::string(kLine - 6, 'p') + "\r\n", txt::kLogHeaderLineTooLong,
               lineTooLong},
          Case{open + std::string(kLine * 3, 'p'), txt::kLogHeaderLineTooLong, lineTooLong}}) {
        Serve({step::ExpectHttp(), step::Send(c.sent), step::Silence()});
        ASSERT_TRUE(Send(Kind::Key)) << c.sent.size();
        EXPECT_EQ(log.back(), c.logged);
        EXPECT_EQ(details.back(), c.detail);
        EXPECT_FALSE(AcceptEnabled());
    }
}

TEST_F(Exchange, ThroughAProxyTheRequestNamesTheWholeUrl) {
    auto proxy = std::make_unique<ScriptedServer>(
        std::vector<test::Script>{Answer(Reply("200 OK", kGoodBody))});
    ASSERT_TRUE(proxy->Listen());
    ctx.settings.proxyAddress = "127.0.0.1";
    ctx.settings.proxyPort = std::to_string(proxy->port());
    ctx.settings.taAddress = "ta.example";  // the proxy resolves it
    ctx.settings.taCode = "0FF";
    ASSERT_TRUE(Send(Kind::KeyUpdate) && AcceptEnabled());
    ASSERT_EQ(proxy->connections(), 1);
    const std::string& r = proxy->Received(0);
    EXPECT_EQ(r.substr(0, r.find("Host:")),
              "POST http://ta.example:50255/QuarnelSys/ HTTP/1.0\r\n"
              "Proxy-Connection: Keep-Alive\r\n");
    EXPECT_NE(r.find("\r\nHost: ta.example\r\n"), std::string::npos);

    // The proxy gone: nothing listens, a refused connection, told apart
    // from a name that is not known.
    const std::string where = "127.0.0.1:" + ctx.settings.proxyPort;
    proxy.reset();
    ASSERT_TRUE(Send(Kind::Key));
    EXPECT_EQ(Last(2), (std::vector<int>{txt::kLogConnectFailed, txt::kLogRefused}));
    EXPECT_EQ(details.back(), where);
    ctx.settings.proxyAddress.clear();
    ctx.settings.taAddress = "nohost.invalid";
    ASSERT_TRUE(Send(Kind::Key, 30000));
    EXPECT_EQ(Last(2), (std::vector<int>{txt::kLogHostNotFound, txt::kLogUnknownHost}));
    EXPECT_EQ(details.back(), "nohost.invalid");
}

}  // namespace
}  // namespace quarnel
