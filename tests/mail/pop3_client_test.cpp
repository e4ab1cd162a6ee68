#include "mail/pop3_client.h"

#include <gtest/gtest.h>

#include "event_loop.h"
#include "mail/pop3_texts.h"
#include "scripted_server.h"

namespace quarnel {
namespace {

using test::ScriptedServer;
namespace step = test::step;

// What one session reported.
struct Session {
    Pop3Client client{nullptr,
                      MailLimits{std::chrono::milliseconds(2000), std::chrono::milliseconds(300),
                                 std::chrono::milliseconds(100)}};
    std::vector<int> logs;
    std::vector<QString> errors;
    std::vector<std::string> tops, messages;
    std::vector<int> deletedNumbers, tooLarge;
    int count = -1;
    std::optional<bool> finished;

    explicit Session(quint16 port) {
        QObject::connect(&client, &Pop3Client::logged,
                         [this](int id, const QString&) { logs.push_back(id); });
        QObject::connect(&client, &Pop3Client::error,
                         [this](const QString& text) { errors.push_back(text); });
        QObject::connect(&client, &Pop3Client::statReady, [this](int n, qint64) { count = n; });
        QObject::connect(&client, &Pop3Client::topReady,
                         [this](int, const std::string& h) { tops.push_back(h); });
        QObject::connect(&client, &Pop3Client::retrieved,
                         [this](int, const std::string& m) { messages.push_back(m); });
        QObject::connect(&client, &Pop3Client::deleted,
                         [this](int n) { deletedNumbers.push_back(n); });
        QObject::connect(&client, &Pop3Client::tooLarge,
                         [this](int n, qint64) { tooLarge.push_back(n); });
        QObject::connect(&client, &Pop3Client::finished, [this](bool ok) { finished = ok; });
        client.Start({QStringLiteral("127.0.0.1:%1").arg(port), "anne", SecretString("secret")});
    }
    bool Has(int id) const { return std::find(logs.begin(), logs.end(), id) != logs.end(); }
    bool WaitReady() {
        return test::RunUntil([this] { return client.ready() || finished.has_value(); }) &&
               client.ready();
    }
};

test::Script LogIn(std::string statReply = "+OK 2 320\r\n",
                   std::string greeting = "+OK ready\r\n") {
    return {step::Send(std::move(greeting)), step::ExpectLine("USER anne"),
            step::Send("+OK\r\n"),           step::ExpectLine("PASS secret"),
            step::Send("+OK in\r\n"),        step::ExpectLine("STAT"),
            step::Send(std::move(statReply))};
}

test::Script Then(test::Script s, std::initializer_list<test::Step> more) {
    s.insert(s.end(), more);
    return s;
}

TEST(Pop3Client, WholeSessionUnstuffsDotsAndDeletesOnlyAfterQuit) {
    // A greeting line and a message count at their limits.
    const std::string greeting = "+OK " + std::string(kMaxReplyLine - 6, 'g') + "\r\n";
    ScriptedServer server(
        {Then(LogIn("+OK " + std::to_string(kMaxPop3Count) + " 320\r\n", greeting),
              {step::ExpectLine("TOP 1 0"),
               step::Send("+OK\r\nX-Mailer: QuarnelSys\r\nSubject: s\r\n\r\n.\r\n"),
               step::ExpectLine("LIST 1"), step::Send("+OK 1 40\r\n"), step::ExpectLine("RETR 1"),
               step::Send("+OK\r\nSubject: s\r\n\r\n..dot\r\n" + std::string(10000, 'x') + "\r\n" +
                          std::string(kMaxPop3Line - 2, 'z') + "\r\n.\r\n"),
               step::ExpectLine("DELE 1"), step::Send("+OK\r\n"), step::ExpectLine("QUIT"),
               step::Send("+OK bye\r\n")})});
    ASSERT_TRUE(server.Listen());
    Session s(server.port());
    ASSERT_TRUE(s.WaitReady());
    EXPECT_EQ(s.count, kMaxPop3Count);
    s.client.Top(1);
    ASSERT_TRUE(s.WaitReady());
    s.client.Retrieve(1);
    ASSERT_TRUE(s.WaitReady());
    s.client.Delete(1);
    ASSERT_TRUE(s.WaitReady());
    s.client.Quit();
    ASSERT_TRUE(test::RunUntil([&] { return s.finished.has_value(); }));
    EXPECT_TRUE(*s.finished);
    EXPECT_EQ(s.tops, std::vector<std::string>{"X-Mailer: QuarnelSys\r\nSubject: s\r\n\r\n"});
    // A 10,000-character line of a message is a line like any other.
    ASSERT_EQ(s.messages.size(), 1U);
    EXPECT_EQ(s.messages[0], "Subject: s\r\n\r\n.dot\r\n" + std::string(10000, 'x') + "\r\n" +
                                 std::string(kMaxPop3Line - 2, 'z') + "\r\n");
    EXPECT_EQ(s.deletedNumbers, std::vector<int>{1});
    EXPECT_TRUE(s.errors.empty());
    EXPECT_TRUE(s.Has(txt::kPop3Connected));
    EXPECT_TRUE(s.Has(txt::kPop3Disconnected));
    EXPECT_TRUE(server.Failures().empty()) << server.Failures().front();
}

TEST(Pop3Client, RefusalsWhileLoggingInEndTheSessionWithTheServersText) {
    const std::vector<test::Script> scripts = {
        {step::Send("-ERR busy\r\n")},
        {step::Send("+OK\r\n"), step::ExpectLine("USER anne"), step::Send("+OK\r\n"),
         step::ExpectLine("PASS secret"), step::Send("-ERR [AUTH] bad password\r\n")},
        LogIn("-ERR mailbox locked\r\n"),
        LogIn("+OK many\r\n"),
        LogIn("+OK " + std::to_string(kMaxPop3Count + 1) + " 0\r\n"),
    };
    const std::vector<QString> texts = {"busy", "[AUTH] bad password", "mailbox locked", "many",
                                        QString::number(kMaxPop3Count + 1) + " 0"};
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        ScriptedServer server({scripts[i]});
        ASSERT_TRUE(server.Listen());
        Session s(server.port());
        ASSERT_TRUE(test::RunUntil([&] { return s.finished.has_value(); })) << i;
        EXPECT_FALSE(*s.finished) << i;
        EXPECT_EQ(s.errors, std::vector<QString>{texts[i]}) << i;
        // Refused before or at PASS: the connection counts as failed.
        EXPECT_EQ(s.Has(txt::kPop3ConnectFailed), i < 2) << i;
        EXPECT_EQ(s.count, -1) << i;
    }
}

TEST(Pop3Client, RefusedTopAndRetrLeaveTheSessionUsableAndDeleteNothing) {
    ScriptedServer server(
        {Then(LogIn(),
              {step::ExpectLine("TOP 1 0"), step::Send("-ERR no top\r\n"),
               step::ExpectLine("LIST 2"), step::Send("+OK 2 10\r\n"), step::ExpectLine("RETR 2"),
               step::Send("-ERR gone\r\n"), step::ExpectLine("QUIT"), step::Send("+OK\r\n")})});
    ASSERT_TRUE(server.Listen());
    Session s(server.port());
    ASSERT_TRUE(s.WaitReady());
    s.client.Top(1);
    ASSERT_TRUE(s.WaitReady());
    s.client.Retrieve(2);
    ASSERT_TRUE(s.WaitReady());
    s.client.Quit();
    ASSERT_TRUE(test::RunUntil([&] { return s.finished.has_value(); }));
    EXPECT_TRUE(*s.finished);
    EXPECT_EQ(s.errors, (std::vector<QString>{"no top", "gone"}));
    EXPECT_TRUE(s.tops.empty() && s.messages.empty());
    EXPECT_EQ(server.Received(0).find("DELE"), std::string::npos);
}

TEST(Pop3Client, BrokenConnectionsEndTheSession) {
    struct Case {
        test::Script script;
        int log;
        bool retrieve;
        bool topTwice = false;
    };
    const std::string longLine(10000, 'y');
    // A TOP answer of headers one byte over kMaxPop3Headers.
    std::string headers;
    while (headers.size() < std::size_t(kMaxPop3Headers))
        headers += std::string(98, 'h') + "\r\n";
    headers.resize(std::size_t(kMaxPop3Headers) - 2);
    headers += "\r\n";
    const std::vector<Case> cases = {
        // A reset in the middle of RETR.
        {Then(LogIn(),
              {step::ExpectLine("LIST 1"), step::Send("+OK 1 900\r\n"), step::ExpectLine("RETR 1"),
               step::Send("+OK\r\nSubject: a\r\n"), step::Reset()}),
         txt::kPop3ConnectionLost, true},
        // Headers at their limit pass; a line more is refused.
        {Then(LogIn(), {step::ExpectLine("TOP 1 0"), step::Send("+OK\r\n" + headers + ".\r\n"),
                        step::ExpectLine("TOP 1 0"), step::Send("+OK\r\n" + headers + "x\r\n.\r\n"),
                        step::Silence()}),
         txt::kPop3TooLarge, false, true},
        // A message line one byte over its limit.
        {Then(LogIn(),
              {step::ExpectLine("LIST 1"), step::Send("+OK 1 900\r\n"), step::ExpectLine("RETR 1"),
               step::Send("+OK\r\n" + std::string(kMaxPop3Line - 1, 'z') + "\r\n"),
               step::Silence()}),
         txt::kPop3LineTooLong, true},
        // A server that never answers.
        {{step::Silence()}, txt::kPop3TimedOut, false},
        // A server that stops in the middle of a message.
        {Then(LogIn(),
              {step::ExpectLine("LIST 1"), step::Send("+OK 1 900\r\n"), step::ExpectLine("RETR 1"),
               step::Send("+OK\r\nSubject: a\r\n"), step::Silence()}),
         txt::kPop3TimedOut, true},
        {{step::Send("+OK ready\n"), step::Silence()}, txt::kPop3LineWithoutCrLf, false},
        {{step::Send("+OK " + longLine + "\r\n"), step::Silence()}, txt::kPop3LineTooLong, false},
        {{step::Send("+OK " + std::string(kMaxReplyLine - 5, 'y') + "\r\n"), step::Silence()},
         txt::kPop3LineTooLong,
         false},
        // The same line without its end is refused as soon as it passes the limit.
        {{step::Send("+OK " + longLine), step::Silence()}, txt::kPop3LineTooLong, false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        ScriptedServer server({cases[i].script});
        ASSERT_TRUE(server.Listen());
        Session s(server.port());
        if (cases[i].retrieve) {
            ASSERT_TRUE(s.WaitReady()) << i;
            s.client.Retrieve(1);
        }
        if (cases[i].topTwice) {
            ASSERT_TRUE(s.WaitReady()) << i;
            s.client.Top(1);
            ASSERT_TRUE(s.WaitReady()) << i;
            ASSERT_EQ(s.tops.size(), 1U);
            EXPECT_EQ(s.tops[0].size(), std::size_t(kMaxPop3Headers));
            s.client.Top(1);
        }
        ASSERT_TRUE(test::RunUntil([&] { return s.finished.has_value(); })) << i;
        EXPECT_FALSE(*s.finished) << i;
        EXPECT_TRUE(s.Has(cases[i].log)) << i;
        EXPECT_EQ(s.errors.size(), 1U) << i;
        EXPECT_TRUE(s.messages.empty()) << i;
    }
}

TEST(Pop3Client, AMessageOverTheLimitIsLeftUnread) {
    const auto limit = std::to_string(kMaxPop3Message);
    const auto over = std::to_string(kMaxPop3Message + 1);
    ScriptedServer server(
        {Then(LogIn(), {step::ExpectLine("LIST 1"), step::Send("+OK 1 " + over + "\r\n"),
                        step::ExpectLine("LIST 2"), step::Send("+OK 2 " + limit + "\r\n"),
                        step::ExpectLine("RETR 2"), step::Send("+OK\r\nSubject: b\r\n\r\n.\r\n"),
                        step::ExpectLine("QUIT")})});
    ASSERT_TRUE(server.Listen());
    Session s(server.port());
    ASSERT_TRUE(s.WaitReady());
    s.client.Retrieve(1);
    ASSERT_TRUE(s.WaitReady());
    EXPECT_EQ(s.tooLarge, std::vector<int>{1});
    EXPECT_TRUE(s.Has(txt::kPop3TooLarge));
    s.client.Retrieve(2);
    ASSERT_TRUE(s.WaitReady());
    EXPECT_EQ(s.messages.size(), 1U);
    EXPECT_EQ(server.Received(0).find("RETR 1"), std::string::npos);
}

TEST(Pop3Client, ServerAddresses) {
    QString host;
    quint16 port = 0;
    ASSERT_TRUE(SplitServer("pop.example.org", 110, host, port));
    EXPECT_EQ(host, "pop.example.org");
    EXPECT_EQ(port, 110);
    ASSERT_TRUE(SplitServer(" 127.0.0.1:2110 ", 110, host, port));
    EXPECT_EQ(port, 2110);
    EXPECT_FALSE(SplitServer("host:0", 110, host, port));
    EXPECT_FALSE(SplitServer("host:65536", 110, host, port));
    EXPECT_FALSE(SplitServer(":110", 110, host, port));

    // Refused before any connection: a bad address, or a line break that
    // would add a command.
    for (const auto& [server, user] : {std::pair<QString, std::string>{"host:99999", "anne"},
                                       {"127.0.0.1:1", "anne\r\nDELE 1"}}) {
        Pop3Client client;
        std::optional<bool> finished;
        QObject::connect(&client, &Pop3Client::finished, [&](bool ok) { finished = ok; });
        client.Start({server, user, SecretString("pw")});
        EXPECT_EQ(finished, std::optional<bool>(false)) << user;
    }
}

}  // namespace
}  // namespace quarnel
