// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/pop3_client.h"

#include <gtest/gtest.h>

#include "event_loop.h"
#include "mail/pop3_texts.h"
#include "mail/texts.h"
#include "mail_scripts.h"
#include "scripted_server.h"
#include "store/atomic_file.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

using test::ScriptedServer;
namespace step = test::step;

using namespace std::chrono_literals;

// What one session reported.
struct Session {
    test::TempDir spool;
    Pop3Client client;
    std::vector<int> logs;
    std::vector<QString> errors;
    std::vector<std::string> tops, messages, digests;
    std::vector<int> deletedNumbers, left;
    int count = -1;
    std::optional<bool> finished;

    explicit Session(quint16 port, MailLimits limits = {2000ms, 300ms, 300ms})
        : client(nullptr, limits) {
        QObject::connect(&client, &Pop3Client::logged,
                         [this](int id, const QString&) { logs.push_back(id); });
        QObject::connect(&client, &Pop3Client::error,
                         [this](const QString& text) { errors.push_back(text); });
        QObject::connect(&client, &Pop3Client::statReady, [this](int n, qint64) { count = n; });
        QObject::connect(&client, &Pop3Client::topReady,
                         [this](int, const std::string& h) { tops.push_back(h); });
        // The file goes once the signal is handled: read it now.
        QObject::connect(&client, &Pop3Client::retrieved, [this](int, const RetrievedMail& m) {
            messages.push_back(ReadWholeFile(m.file).value_or("(unreadable)"));
            EXPECT_EQ(std::filesystem::status(m.file).permissions(),
                      std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
            digests.push_back(m.digest);
        });
        QObject::connect(&client, &Pop3Client::deleted,
                         [this](int n) { deletedNumbers.push_back(n); });
        QObject::connect(&client, &Pop3Client::leftOnServer, [this](int n) { left.push_back(n); });
        QObject::connect(&client, &Pop3Client::finished, [this](const SessionResult& r) {
            if (!r.why.isEmpty()) errors.push_back(r.why);
            finished = r.completed;
        });
        client.Start({QStringLiteral("127.0.0.1:%1").arg(port), "anne", SecretString("secret")});
    }
    bool Has(int id) const { return std::find(logs.begin(), logs.end(), id) != logs.end(); }
    bool WaitReady() {
        return test::RunUntil([this] { return client.ready() || finished.has_value(); }) &&
               client.ready();
    }
    void Retrieve(int n) { client.Retrieve(n, spool.path() / "spool.eml"); }
    // The spool folder holds nothing once each message is handled.
    bool SpoolEmpty() const { return std::filesystem::is_empty(spool.path()); }
};

test::Script LogIn(const std::string& stat = "+OK 2 320\r\n",
                   const std::string& greeting = "+OK ready\r\n",
                   const std::string& uidl = "-ERR no UIDL\r\n") {
    return test::pop3::LogIn("anne", "secret", stat, uidl, greeting);
}
using test::pop3::Then;

TEST(Pop3Client, WholeSessionUnstuffsDotsAndDeletesOnlyAfterQuit) {
    // A greeting line and a message count at their limits; unique ids listed.
    const std::string greeting = "+OK " + std::string(kMaxReplyLine - 6, 'g') + "\r\n";
    const std::string longestUid(kMaxPop3Uid, '~');
    ScriptedServer server(
        {Then(LogIn("+OK " + std::to_string(kMaxPop3Count) + " 320\r\n", greeting,
                    "+OK\r\n1 abc\r\n2 " + longestUid + "\r\n.\r\n"),
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
    EXPECT_EQ(s.client.Uid(1), "abc");
    EXPECT_EQ(s.client.Uid(2), longestUid);
    EXPECT_EQ(s.client.Uid(3), "");
    s.client.Top(1);
    ASSERT_TRUE(s.WaitReady());
    s.Retrieve(1);
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
    EXPECT_EQ(s.digests[0], QCryptographicHash::hash(QByteArray::fromStdString(s.messages[0]),
                                                     QCryptographicHash::Sha256)
                                .toHex()
                                .toStdString());
    EXPECT_TRUE(s.SpoolEmpty());
    EXPECT_EQ(s.deletedNumbers, std::vector<int>{1});
    EXPECT_TRUE(s.errors.empty());
    EXPECT_TRUE(s.Has(txt::kPop3Connected));
    // Reached without TLS: said once.
    EXPECT_EQ(std::count(s.logs.begin(), s.logs.end(), txt::kPop3PasswordInClear), 1);
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
        ASSERT_EQ(s.errors.size(), 1U) << i;
        EXPECT_TRUE(s.errors[0].contains(texts[i])) << s.errors[0].toStdString();
        // Refused before or at PASS: the connection counts as failed.
        EXPECT_EQ(s.Has(txt::kPop3ConnectFailed), i < 2) << i;
        EXPECT_EQ(s.count, -1) << i;
    }
}

TEST(Pop3Client, RefusedTopAndRetrLeaveTheSessionUsableAndDeleteNothing) {
    // A unique id that is not one (a blank in it): the list is not used at all.
    ScriptedServer server(
        {Then(LogIn("+OK 2 320\r\n", "+OK\r\n", "+OK\r\n1 a\r\n2 b c\r\n.\r\n"),
              {step::ExpectLine("TOP 1 0"), step::Send("-ERR no top\r\n"),
               step::ExpectLine("LIST 2"), step::Send("+OK 2 10\r\n"), step::ExpectLine("RETR 2"),
               step::Send("-ERR gone\r\n"), step::ExpectLine("QUIT"), step::Send("+OK\r\n")})});
    ASSERT_TRUE(server.Listen());
    Session s(server.port());
    ASSERT_TRUE(s.WaitReady());
    EXPECT_EQ(s.client.Uid(1), "");
    s.client.Top(1);
    ASSERT_TRUE(s.WaitReady());
    s.Retrieve(2);
    ASSERT_TRUE(s.WaitReady());
    EXPECT_TRUE(s.SpoolEmpty());
    s.client.Quit();
    ASSERT_TRUE(test::RunUntil([&] { return s.finished.has_value(); }));
    EXPECT_TRUE(*s.finished);
    ASSERT_EQ(s.errors.size(), 2U);
    EXPECT_EQ(s.errors[1], "gone");
    EXPECT_TRUE(s.tops.empty() && s.messages.empty());
    EXPECT_EQ(server.Received(0).find("DELE"), std::string::npos);
}

// Only faults of the connection itself end a session (a message past a
// limit does not: see the retrieval tests).
TEST(Pop3Client, BrokenConnectionsEndTheSession) {
    struct Case {
        test::Script script;
        int log;
        bool retrieve;
        MailLimits limits{2000ms, 300ms, 300ms};
    };
    const std::string longLine(10000, 'y');
    // A message sent one byte every 100 ms, well within the idle limit,
    // slower on the whole than the slowest honest link.
    test::Script trickle = Then(LogIn(), {step::ExpectLine("LIST 1"), step::Send("+OK 1 100\r\n"),
                                          step::ExpectLine("RETR 1"), step::Send("+OK\r\n")});
    for (int i = 0; i < 60; ++i) {
        trickle.push_back(step::Pause(100));
        trickle.push_back(step::Send("x"));
    }
    const std::vector<Case> cases = {
        // A reset in the middle of RETR.
        {Then(LogIn(),
              {step::ExpectLine("LIST 1"), step::Send("+OK 1 900\r\n"), step::ExpectLine("RETR 1"),
               step::Send("+OK\r\nSubject: a\r\n"), step::Reset()}),
         txt::kNetClosedInTransfer, true},
        // A server that never answers.
        {{step::Silence()}, txt::kNetGreetingTimedOut, false},
        // A server that stops in the middle of a message.
        {Then(LogIn(),
              {step::ExpectLine("LIST 1"), step::Send("+OK 1 900\r\n"), step::ExpectLine("RETR 1"),
               step::Send("+OK\r\nSubject: a\r\n"), step::Silence()}),
         txt::kNetTransferIdle, true},
        // 100 bytes at 100 bytes a second at least: cut after 1 s past the idle limit.
        {trickle, txt::kNetTransferCeiling, true, {2000ms, 1000ms, 300ms, 100}},
        {{step::Send("+OK ready\n"), step::Silence()}, txt::kPop3LineWithoutCrLf, false},
        {{step::Send("+OK " + std::string(kMaxReplyLine - 5, 'y') + "\r\n"), step::Silence()},
         txt::kPop3LineTooLong,
         false},
        // A line without its end is refused as soon as it passes the limit.
        {{step::Send("+OK " + longLine), step::Silence()}, txt::kPop3LineTooLong, false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        ScriptedServer server({cases[i].script});
        ASSERT_TRUE(server.Listen());
        Session s(server.port(), cases[i].limits);
        if (cases[i].retrieve) {
            ASSERT_TRUE(s.WaitReady()) << i;
            s.Retrieve(1);
        }
        ASSERT_TRUE(test::RunUntil([&] { return s.finished.has_value(); }, 10000)) << i;
        EXPECT_FALSE(*s.finished) << i;
        EXPECT_TRUE(s.Has(cases[i].log)) << i;
        EXPECT_EQ(s.errors.size(), 1U) << i;
        EXPECT_TRUE(s.messages.empty()) << i;
        EXPECT_TRUE(s.SpoolEmpty()) << i;
    }
}

// Refused before any connection: a bad address, or a line break that would
// add a command.
TEST(Pop3Client, RefusesBeforeConnecting) {
    for (const auto& [server, user] : {std::pair<QString, std::string>{"host:99999", "anne"},
                                       {"127.0.0.1:1", "anne\r\nDELE 1"}}) {
        Pop3Client client;
        std::optional<SessionFailure> failure;
        QObject::connect(&client, &Pop3Client::finished,
                         [&](const SessionResult& r) { failure = r.failure; });
        client.Start({server, user, SecretString("pw")});
        EXPECT_EQ(failure, SessionFailure::Unusable) << user;
    }
}

}  // namespace
}  // namespace quarnel
