// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/smtp_client.h"

#include <gtest/gtest.h>

#include "mail/texts.h"
#include "mail_run.h"
#include "mail_servers.h"
#include "scripted_server.h"

namespace quarnel {
namespace {

using namespace std::chrono_literals;
namespace step = test::step;

using Outcome = test::MailRun;

Outcome Dialogue(const SmtpJob& job, MailLimits limits = {2000ms, 2000ms, 2000ms}) {
    return test::RunSmtp(job, limits);
}

SmtpJob Job(quint16 port, std::string message = "Subject: x\r\n\r\nhello\r\n") {
    return {QStringLiteral("127.0.0.1:%1").arg(port),
            "IdSMTP",
            std::move(message),
            "me@example.org",
            {"you@example.org"}};
}

test::Script Until(std::string last, test::Script tail) {
    test::Script s{step::Send("220 ready\r\n"),
                   step::ExpectLine("EHLO IdSMTP"),
                   step::Send("250-hello\r\n250 SIZE 1000\r\n"),
                   step::ExpectLine("RSET"),
                   step::Send("250 ok\r\n"),
                   step::ExpectLine("MAIL FROM:<me@example.org>"),
                   step::Send("250 ok\r\n"),
                   step::ExpectLine("RCPT TO:<you@example.org>")};
    if (last == "DATA") {
        s.push_back(step::Send("250 ok\r\n"));
        s.push_back(step::ExpectLine("DATA"));
    }
    s.insert(s.end(), tail.begin(), tail.end());
    return s;
}

using namespace txt;
const std::vector<int> kSentLog{kSmtpCall, kSmtpConnected, kSmtpTransmitting, kSmtpSent,
                                kSmtpDisconnected};

// The whole dialogue: HELO after a refused EHLO, 250 and 251 for two
// recipients, dot-stuffing, a reply line ended by LF alone, CR LF kept,
// no command slipped in through the greeting name.
TEST(SmtpClient, SendsWithHeloFallbackAndDotStuffing) {
    test::ScriptedServer server(
        {{step::Send("220 ready\n"), step::ExpectLine("EHLO IdSMTP"), step::Send("502 no\r\n"),
          step::ExpectLine("HELO IdSMTP"), step::Send("250 hi\r\n"), step::ExpectLine("RSET"),
          step::Send("250 ok\r\n"), step::ExpectLine(), step::Send("250 ok\r\n"),
          step::ExpectLine("RCPT TO:<a@x.org>"), step::Send("250 ok\r\n"),
          step::ExpectLine("RCPT TO:<b@x.org>"), step::Send("251 forwarded\r\n"),
          step::ExpectLine("DATA"), step::Send("354 go\r\n"), step::ExpectData(),
          step::Send("250 queued\r\n"), step::ExpectLine("QUIT"), step::Send("221 bye\r\n")}});
    ASSERT_TRUE(server.Listen());
    SmtpJob job = Job(server.port(), "Subject: x\r\n\r\n.line\r\n..two\r\nend");
    job.recipients = {"a@x.org", "b@x.org"};
    job.heloName = "x\r\nRSET";  // not a name: the client's own is given
    const Outcome o = Dialogue(job);
    EXPECT_EQ(o.log, kSentLog);
    EXPECT_TRUE(o.result.reached && o.result.completed);
    EXPECT_EQ(o.finishedCount, 1);
    EXPECT_EQ(o.progressDone, qint64(job.message.size()));
    EXPECT_TRUE(server.Failures().empty()) << server.Failures().front();
    ASSERT_GE(server.Taken(0).size(), 8u);
    EXPECT_EQ(server.Taken(0)[7], "Subject: x\r\n\r\n..line\r\n...two\r\nend\r\n");
}

// Each refusal or fault: the log says where, the flags say how far it got,
// and finished comes once.
TEST(SmtpClient, RefusalsAndFaultsEndWithTheRightLog) {
    const std::string at4096 = "220-" + std::string(kMaxReplyLine - 6, 'a') + "\r\n";
    struct Case {
        const char* name;
        test::Script script;
        std::vector<int> log;
        bool connected;
        QString error;
        std::string message = "Subject: x\r\n\r\nhello\r\n";
        MailLimits limits{2000ms, 2000ms, 2000ms};
    };
    const std::vector<Case> cases = {
        {"no 220",
         {step::Send("554 no service\r\n")},
         {kSmtpCall, kSmtpServerReply, kSmtpConnectFailed},
         false,
         "554 no service"},
        {"RCPT 550",
         Until("RCPT", {step::Send("550 unknown user\r\n"), step::ExpectLine("QUIT"),
                        step::Send("221 bye\r\n")}),
         {kSmtpCall, kSmtpConnected, kSmtpServerReply, kSmtpTransferFailed, kSmtpDisconnected},
         true,
         "550 unknown user"},
        {"DATA 554",
         Until("DATA", {step::Send("354 go\r\n"), step::ExpectData(),
                        step::Send("554 5.7.1 rejected\r\n"), step::ExpectLine("QUIT")}),
         {kSmtpCall, kSmtpConnected, kSmtpTransmitting, kSmtpServerReply, kSmtpTransferFailed,
          kSmtpDisconnected},
         true,
         "554 5.7.1 rejected"},
        {"dropped mid-DATA",
         Until("DATA", {step::Send("354 go\r\n"), step::ExpectUntil("0123"), step::Reset()}),
         {kSmtpCall, kSmtpConnected, kSmtpTransmitting, kNetClosedInTransfer, kSmtpTransferFailed,
          kSmtpDisconnected},
         true,
         "",
         "Subject: x\r\n\r\n" + std::string(512 << 10, '0') + "0123\r\n"},
        {"silent after the greeting",
         {step::Send("220 ready\r\n"), step::ExpectLine("EHLO IdSMTP"), step::Silence()},
         {kSmtpCall, kSmtpConnected, kNetCommandTimedOut, kSmtpTransferFailed, kSmtpDisconnected},
         true,
         "",
         "x\r\n",
         {2000ms, 300ms, 300ms}},
        {"silent after the message",
         Until("DATA", {step::Send("354 go\r\n"), step::ExpectData(), step::Silence()}),
         {kSmtpCall, kSmtpConnected, kSmtpTransmitting, kNetEndOfDataTimedOut, kSmtpTransferFailed,
          kSmtpDisconnected},
         true,
         "",
         "x\r\n",
         {2000ms, 300ms, 300ms}},
        {"no greeting at all",
         {step::Silence()},
         {kSmtpCall, kNetGreetingTimedOut, kSmtpConnectFailed},
         false,
         "",
         "x\r\n",
         {2000ms, 300ms, 300ms}},
        {"greeting without line end",
         {step::Send("220 ready"), step::Silence()},
         {kSmtpCall, kNetGreetingTimedOut, kSmtpConnectFailed},
         false,
         "",
         "x\r\n",
         {2000ms, 300ms, 300ms}},
        {"line one over the limit",
         {step::Send("220-" + std::string(kMaxReplyLine - 5, 'a') + "\r\n220 ok\r\n"),
          step::Silence()},
         {kSmtpCall, kSmtpLineTooLong, kSmtpConnectFailed},
         false,
         ""},
        {"line at the limit, then a refusal",
         {step::Send(at4096 + "220 ok\r\n"), step::ExpectLine("EHLO IdSMTP"),
          step::Send("421 closing\r\n"), step::ExpectLine("HELO IdSMTP"),
          step::Send("421 closing\r\n"), step::ExpectLine("QUIT")},
         {kSmtpCall, kSmtpConnected, kSmtpServerReply, kSmtpTransferFailed, kSmtpDisconnected},
         true,
         "421 closing"},
        {"too many reply lines",
         {step::Send([] {
              std::string s;
              for (std::size_t i = 0; i < kMaxReplyLines; ++i)
                  s += "220-more\r\n";
              return s + "220 ok\r\n";
          }()),
          step::Silence()},
         {kSmtpCall, kSmtpReplyTooLong, kSmtpConnectFailed},
         false,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptedServer server({c.script});
        ASSERT_TRUE(server.Listen());
        const Outcome o = Dialogue(Job(server.port(), c.message), c.limits);
        EXPECT_EQ(o.log, c.log);
        EXPECT_EQ(o.result.reached, c.connected);
        EXPECT_FALSE(o.result.completed);
        EXPECT_EQ(o.finishedCount, 1);
        EXPECT_FALSE(o.result.why.isEmpty());
        if (!c.error.isEmpty()) {
            EXPECT_EQ(o.result.why, c.error);
        }
    }
}

// Before any connection: nothing listening or no such host (each said in
// words, naming the server), a server text that is no address, an address
// that would break its command, too many recipients.
TEST(SmtpClient, RefusesBeforeSending) {
    test::ScriptedServer closed;
    ASSERT_TRUE(closed.Listen());
    const quint16 port = closed.port();
    const quint16 nobody = test::FreePort();
    Outcome o = Dialogue(Job(nobody));
    EXPECT_EQ(o.log, (std::vector<int>{kSmtpCall, kNetRefused, kSmtpConnectFailed}));
    EXPECT_EQ(o.result.why,
              QStringLiteral("Le serveur 127.0.0.1:%1 refuse la connexion : aucun service "
                             "n'y répond sur ce port.")
                  .arg(nobody));
    SmtpJob unknown = Job(port);
    unknown.server = "no-such-host.invalid:2525";
    o = Dialogue(unknown);
    EXPECT_EQ(o.log, (std::vector<int>{kSmtpCall, kNetUnknownHost, kSmtpConnectFailed}));
    EXPECT_EQ(o.result.why, QStringLiteral("Le serveur no-such-host.invalid:2525 est inconnu : "
                                           "vérifiez son nom dans les options."));

    SmtpJob badServer = Job(port);
    badServer.server = "host:99999";
    SmtpJob injected = Job(port);
    injected.recipients = {"a@x.org>\r\nRCPT TO:<evil@x.org"};
    SmtpJob none = Job(port);
    none.recipients.clear();
    SmtpJob tooMany = Job(port);
    tooMany.recipients.assign(kMaxRecipients + 1, "a@x.org");
    SmtpJob eightBit = Job(port);  // no SMTPUTF8: refused, named as typed
    eightBit.recipients = {"h\xC3\xA9l\xC3\xA8ne@x.org"};
    for (const SmtpJob& job : {badServer, injected, none, tooMany, eightBit}) {
        o = Dialogue(job);
        EXPECT_FALSE(o.result.reached);
        EXPECT_EQ(o.log.back(), kSmtpConnectFailed);
    }
    EXPECT_TRUE(o.result.why.contains(QStringLiteral("hélène@x.org")))
        << o.result.why.toStdString();
    EXPECT_EQ(closed.connections(), 0);

    SmtpJob atLimit = Job(port);
    atLimit.recipients.assign(kMaxRecipients, "a@x.org");
    test::Script script = Until("RCPT", {});
    script.pop_back();
    for (std::size_t i = 0; i < kMaxRecipients; ++i) {
        script.push_back(step::ExpectLine("RCPT TO:<a@x.org>"));
        script.push_back(step::Send("250 ok\r\n"));
    }
    script.insert(script.end(), {step::ExpectLine("DATA"), step::Send("354 go\r\n"),
                                 step::ExpectData(), step::Send("250 ok\r\n")});
    closed.SetScripts({script});
    EXPECT_TRUE(Dialogue(atLimit).result.completed);
}

// 8-bit content is declared to a relay that announces 8BITMIME (RFC 6152);
// to one that does not it goes as before, said once in the log.
TEST(SmtpClient, DeclaresEightBitContentWhenTheRelayTakesIt) {
    for (const bool offered : {true, false}) {
        SCOPED_TRACE(offered);
        test::Script script =
            Until("DATA", {step::Send("354 go\r\n"), step::ExpectData(), step::Send("250 ok\r\n"),
                           step::ExpectLine("QUIT"), step::Send("221 bye\r\n")});
        script[2] = step::Send(offered ? "250-hello\r\n250 8BITMIME\r\n" : "250 hello\r\n");
        script[5] = step::ExpectLine(offered ? "MAIL FROM:<me@example.org> BODY=8BITMIME"
                                             : "MAIL FROM:<me@example.org>");
        test::ScriptedServer server({script});
        ASSERT_TRUE(server.Listen());
        const Outcome o = Dialogue(Job(server.port(), "Subject: x\r\n\r\nEt\xE9\r\n"));
        EXPECT_TRUE(o.result.completed);
        EXPECT_EQ(std::count(o.log.begin(), o.log.end(), kSmtpNo8BitMime), offered ? 0 : 1);
        EXPECT_TRUE(server.Failures().empty()) << server.Failures().front();
    }
}

}  // namespace
}  // namespace quarnel
