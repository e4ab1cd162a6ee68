// SPDX-License-Identifier: GPL-3.0-or-later
// Mail over TLS against real servers (tls_smtpd.py, Dovecot with ssl =
// required) holding certificates of a test authority that the holder trusts
// through QuarnelTitCA.pem: every mode sends and retrieves with the password
// checked by the server; every refusal has its line and sends nothing.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <fstream>

#include "event_loop.h"
#include "mail/mail_state.h"
#include "mail/mail_tls.h"
#include "mail/mime.h"
#include "mail/pop3_client.h"
#include "mail/pop3_texts.h"
#include "mail/server_address.h"
#include "mail/texts.h"
#include "mail/windows/form_smtp.h"
#include "mail_run.h"
#include "mail_servers.h"
#include "protocol/body.h"
#include "resources/texts.h"
#include "scripted_server.h"
#include "scripted_windows.h"
#include "store/atomic_file.h"
#include "temp_dir.h"
#include "window_test_support.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {
namespace {

namespace fs = std::filesystem;
const std::string kUser = "dupont";
const std::string kPassword = "Tls-s3cret-9";

std::string Line(int id, const std::string& detail = {}) {
    return FillPlaceholders(FrenchText(id), {detail});
}

using Transcript = test::MailRun;

Transcript Send(const std::string& server, const std::string& password, const fs::path& trust,
                const std::string& body = "ligne", MailLimits limits = {}) {
    OutgoingMail mail{"moi@example.org",      "MARTIN Paul", "Objet",
                      {"dupont@example.org"}, {body},        {}};
    return test::RunSmtp({QString::fromStdString(server),
                          "IdSMTP",
                          BuildMail(mail),
                          "moi@example.org",
                          {"dupont@example.org"}},
                         limits, kUser, password, trust);
}

// A line of text `id` in `t`; with `detail` empty, any value of its %s.
bool HasLine(const Transcript& t, int id, const std::string& detail) {
    if (!detail.empty()) return t.Has(Line(id, detail));
    const std::string pattern = FrenchText(id);
    const std::string head = pattern.substr(0, pattern.find("%s"));
    return std::any_of(t.lines.begin(), t.lines.end(),
                       [&](const std::string& l) { return l.rfind(head, 0) == 0; });
}

// Logs in, takes message 1 (when there is one) and quits.
Transcript Fetch(const std::string& server, const std::string& password, const fs::path& trust,
                 std::string* message = nullptr, MailLimits limits = {}) {
    Pop3Client client(nullptr, limits);
    test::TempDir spool;
    Transcript t;
    QObject::connect(&client, &Pop3Client::logged, [&](int id, const QString& d) {
        t.lines.push_back(FrenchLogLine(id, d).toStdString());
    });
    QObject::connect(&client, &Pop3Client::statReady, [&](int count, qint64) {
        count > 0 ? client.Retrieve(1, spool.path() / "m.eml") : client.Quit();
    });
    QObject::connect(&client, &Pop3Client::retrieved, [&](int, const RetrievedMail& m) {
        if (message) *message = ReadWholeFile(m.file).value_or("");
        client.Quit();
    });
    QObject::connect(&client, &Pop3Client::finished, [&](const SessionResult& r) {
        t.result = r;
        ++t.finishedCount;
    });
    client.SetExtraAuthorities(trust);
    client.Start({QString::fromStdString(server), kUser, SecretString(password)});
    EXPECT_TRUE(test::RunUntil([&] { return t.finishedCount > 0; }, 20000)) << t.All();
    return t;
}

std::string Skipped() {
    for (const std::string& why :
         {test::SmtpServer::MissingReason(), test::Pop3Server::MissingReason(),
          test::TestCertificates::MissingReason()}) {
        if (!why.empty()) return why;
    }
    return {};
}

test::TlsSetup Server(const char* mode, const char* certificate = "good", bool loginOnly = false) {
    return {mode, certificate, kUser, kPassword, loginOnly};
}

std::string At(const char* scheme, unsigned short port) {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port);
}

TEST(MailServerAddress, SchemesPortsAndRefusals) {
    using S = MailSecurity;
    struct Case {
        const char* text;
        MailProtocol protocol;
        const char* host;
        int port;
        S security;
        bool fromPort;
    };
    const auto smtp = MailProtocol::Smtp;
    const auto pop3 = MailProtocol::Pop3;
    const Case cases[] = {
        {"relay.example.org", smtp, "relay.example.org", 25, S::Clear, false},
        {" relay:2525 ", smtp, "relay", 2525, S::Clear, false},
        {"relay:587", smtp, "relay", 587, S::StartTls, true},
        {"relay:465", smtp, "relay", 465, S::Tls, true},
        {"relay:995", smtp, "relay", 995, S::Clear, false},
        {"smtp://relay:587", smtp, "relay", 587, S::Clear, false},
        {"SMTP+STARTTLS://relay", smtp, "relay", 587, S::StartTls, false},
        {"smtp+starttls://relay:25/", smtp, "relay", 25, S::StartTls, false},
        {"smtps://[::1]:2465", smtp, "::1", 2465, S::Tls, false},
        {"smtps://relay", smtp, "relay", 465, S::Tls, false},
        {"pop.example.org", pop3, "pop.example.org", 110, S::Clear, false},
        {"pop:995", pop3, "pop", 995, S::Tls, true},
        {"pop:587", pop3, "pop", 587, S::Clear, false},
        {"pop3://pop", pop3, "pop", 110, S::Clear, false},
        {"pop3+stls://pop", pop3, "pop", 110, S::StartTls, false},
        {"pop3s://pop:1995", pop3, "pop", 1995, S::Tls, false},
        {"::1", pop3, "::1", 110, S::Clear, false},
    };
    for (const Case& c : cases) {
        const auto a = ParseMailServer(c.text, c.protocol);
        ASSERT_TRUE(a) << c.text;
        EXPECT_EQ(a->host, c.host) << c.text;
        EXPECT_EQ(a->port, c.port) << c.text;
        EXPECT_EQ(a->security, c.security) << c.text;
        EXPECT_EQ(a->securityFromPort, c.fromPort) << c.text;
    }
    const std::string longest(kMaxServerAddressLength - 10, 'a');
    EXPECT_FALSE(ParseMailServer("smtps://" + longest, smtp)) << "host over 253";
    EXPECT_FALSE(ParseMailServer(std::string(kMaxServerAddressLength + 1, 'a'), smtp));
    for (const char* bad :
         {"", "pop3s://pop", "smtps://", "imap://relay", "relay:0", "relay:65536", "relay:", ":25",
          "re lay", "smtp://relay/path", "smtp://user@relay", "[::1", "[::1]x"}) {
        EXPECT_FALSE(ParseMailServer(bad, smtp)) << bad;
    }
    EXPECT_FALSE(ParseMailServer("smtps://relay", pop3));
}

// The extra authority file: taken up to its size limit, refused beyond it
// with a note, and the port alone choosing TLS is said in the log.
TEST(MailTls, AuthorityFileLimitAndPortChoice) {
    if (const std::string why = test::TestCertificates::MissingReason(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    const auto& certs = test::TestCertificates::Get();
    ASSERT_TRUE(certs.Made());
    test::TempDir dir;
    std::ifstream in(certs.Authority(), std::ios::binary);
    std::string pem((std::istreambuf_iterator<char>(in)), {});
    const auto base = LoadMailTrust({}).configuration.caCertificates().size();
    pem.resize(std::size_t(kMaxAuthorityFileBytes), '\n');
    std::ofstream(dir / kExtraAuthorityFile, std::ios::binary) << pem;
    MailTrust trust = LoadMailTrust(dir / kExtraAuthorityFile);
    EXPECT_EQ(trust.noteTextId, 0);
    EXPECT_EQ(trust.configuration.caCertificates().size(), base + 1);
    std::ofstream(dir / kExtraAuthorityFile, std::ios::binary | std::ios::app) << '\n';
    trust = LoadMailTrust(dir / kExtraAuthorityFile);
    EXPECT_EQ(trust.noteTextId, txt::kTlsAuthorityFileBad);
    EXPECT_EQ(trust.configuration.caCertificates().size(), base);

    const Transcript t = Send("127.0.0.1:465", kPassword, {}, "x",
                              {std::chrono::milliseconds(2000), std::chrono::milliseconds(500),
                               std::chrono::milliseconds(500)});
    ASSERT_FALSE(t.lines.empty());
    EXPECT_EQ(t.lines[1], Line(txt::kTlsPortChoseTls, "465")) << t.All();
    EXPECT_FALSE(t.result.completed);
}

// A server that accepts the connection and never answers the handshake:
// both clients give up at the TLS limit.
TEST(MailTls, HandshakeTimeOut) {
    test::ScriptedServer silent({{test::step::Silence()}});
    ASSERT_TRUE(silent.Listen());
    const MailLimits limits{std::chrono::milliseconds(2000), std::chrono::milliseconds(5000),
                            std::chrono::milliseconds(300)};
    QElapsedTimer clock;
    clock.start();
    const std::string line =
        FrenchLogLine(txt::kNetTlsTimedOut,
                      LogDetails({QString::fromStdString(silent.Address()), "1"}))
            .toStdString();
    const Transcript smtp = Send(At("smtps", silent.port()), kPassword, {}, "x", limits);
    EXPECT_TRUE(smtp.Has(line)) << smtp.All();
    const Transcript pop3 = Fetch(At("pop3s", silent.port()), kPassword, {}, nullptr, limits);
    EXPECT_TRUE(pop3.Has(line)) << pop3.All();
    EXPECT_FALSE(smtp.result.completed || pop3.result.completed);
    EXPECT_LT(clock.elapsed(), 4000);
}

// The sending window as the program runs it, with the password given and
// the holder's authority file beside the settings; its log.
std::string SendFromTheWindow(const std::string& server, const std::string& body) {
    test::TempDir dir;
    HolderContext ctx;
    MailState mail;
    ScriptedMessageBoxes boxes;
    ScriptedModalRunner runner;
    ctx.dataFolder = dir.path();
    ctx.settings.sentEncryptedFolder = dir.path().string();
    fs::copy_file(test::TestCertificates::Get().Authority(), dir / kExtraAuthorityFile);
    ctx.email = "moi@example.org";
    ctx.settings.accountName = kUser;
    ctx.settings.smtpServer = server;
    QWidget window;
    FormSmtp smtp(ctx, mail, &window);
    smtp.SetPassword(SecretString(kPassword));
    QString action;
    runner.Once("FormSmtp", [&](QDialog& d) {
        smtp.MaintenantClick();
        EXPECT_TRUE(test::RunUntil([&] { return !smtp.Sending(); }, 20000));
        QCoreApplication::processEvents();
        action = test::Child<QPlainTextEdit>(d, "MemoAction").toPlainText();
        smtp.AnnulerClick();
    });
    const OutgoingMessage message{"Message destin\xE9 au correspondant",
                                  "dupont@example.org",
                                  "Objet",
                                  {"titre", kSeparatorLine, body, kEndMarkerLine},
                                  {}};
    EXPECT_EQ(smtp.ShowFor(message, window), FormSmtp::Outcome::Sent) << action.toStdString();
    EXPECT_TRUE(boxes.Texts().isEmpty());
    return action.toStdString();
}

// Both servers of a mode on one Maildir, each checking the password (and,
// the certificates not made, neither running).
struct Servers {
    explicit Servers(const test::TlsSetup& setup)
        : relay(setup), mailbox(relay.Maildir(), kUser, kPassword, &setup) {}
    test::SmtpServer relay;
    test::Pop3Server mailbox;
};

struct Mode {
    const char* name;
    test::TlsSetup server;
    const char* smtpScheme;
    const char* pop3Scheme;
    const char* mechanism;
};

class MailTlsModes : public ::testing::TestWithParam<Mode> {};

// Sent by the window with authentication over STARTTLS (PLAIN) or TLS
// (LOGIN), then retrieved over STLS or POP3S: the message arrives whole, the
// servers checked the password, and no log line holds it.
TEST_P(MailTlsModes, SendAndRetrieve) {
    if (const std::string why = Skipped(); !why.empty()) GTEST_SKIP() << why;
    const Mode& m = GetParam();
    Servers s(m.server);
    ASSERT_TRUE(s.relay.Running() && s.mailbox.Running()) << s.relay.Log() << s.mailbox.Log();

    const std::string body = "Message " + std::string(m.name);
    const std::string sent = SendFromTheWindow(At(m.smtpScheme, s.relay.port()), body);
    EXPECT_NE(sent.find("Connexion chiffrée établie (TLSv1."), std::string::npos) << sent;
    EXPECT_NE(sent.find(Line(txt::kSmtpAuthenticated, m.mechanism)), std::string::npos) << sent;
    EXPECT_NE(s.relay.Log().find(std::string("AUTH ") + m.mechanism + " accepted"),
              std::string::npos);

    std::string message;
    const Transcript fetched = Fetch(At(m.pop3Scheme, s.mailbox.port()), kPassword,
                                     test::TestCertificates::Get().Authority(), &message);
    EXPECT_TRUE(fetched.result.completed) << fetched.All() << s.mailbox.Log();
    EXPECT_TRUE(fetched.Mentions("Connexion chiffrée établie")) << fetched.All();
    EXPECT_NE(message.find(body), std::string::npos) << message;
    EXPECT_EQ(sent.find(kPassword), std::string::npos);
    EXPECT_FALSE(fetched.Mentions(kPassword));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, MailTlsModes,
    ::testing::Values(Mode{"starttls", Server("starttls"), "smtp+starttls", "pop3+stls", "PLAIN"},
                      Mode{"tls", Server("tls", "good", true), "smtps", "pop3s", "LOGIN"}),
    [](const auto& p) { return std::string(p.param.name); });

struct Refusal {
    const char* name;
    test::TlsSetup server;
    const char* smtpScheme;
    const char* pop3Scheme;
    bool wrongPassword;
    int smtpLine;  // the refusal lines
    int pop3Line;
    std::string smtpDetail;  // their %s; empty: the server's own text
    std::string pop3Detail;
};

class MailTlsRefusals : public ::testing::TestWithParam<Refusal> {};

// Each refusal on both sides: its own line, nothing delivered, no password
// in any log or in the words of the failure.
TEST_P(MailTlsRefusals, EndWithTheirLineAndSendNothing) {
    if (const std::string why = Skipped(); !why.empty()) GTEST_SKIP() << why;
    const Refusal& r = GetParam();
    Servers s(r.server);
    ASSERT_TRUE(s.relay.Running() && s.mailbox.Running()) << s.relay.Log() << s.mailbox.Log();
    const fs::path trust = test::TestCertificates::Get().Authority();
    const std::string password = r.wrongPassword ? "wrong-" + kPassword : kPassword;

    const Transcript sent = Send(At(r.smtpScheme, s.relay.port()), password, trust);
    EXPECT_FALSE(sent.result.completed);
    EXPECT_TRUE(HasLine(sent, r.smtpLine, r.smtpDetail)) << sent.All();
    EXPECT_TRUE(s.relay.Delivered(0, std::chrono::milliseconds(0)).empty());
    const Transcript fetched = Fetch(At(r.pop3Scheme, s.mailbox.port()), password, trust);
    EXPECT_FALSE(fetched.result.completed);
    EXPECT_TRUE(HasLine(fetched, r.pop3Line, r.pop3Detail)) << fetched.All();
    for (const Transcript* t : {&sent, &fetched}) {
        EXPECT_FALSE(t->Mentions(password));
        EXPECT_FALSE(t->result.why.contains(QString::fromStdString(password)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, MailTlsRefusals,
    ::testing::Values(Refusal{"UnknownAuthority", Server("tls", "unknown"), "smtps", "pop3s", false,
                              txt::kTlsUnknownAuthority, txt::kTlsUnknownAuthority, "127.0.0.1",
                              "127.0.0.1"},
                      Refusal{"Expired", Server("starttls", "expired"), "smtp+starttls",
                              "pop3+stls", false, txt::kTlsExpired, txt::kTlsExpired, "127.0.0.1",
                              "127.0.0.1"},
                      Refusal{"OtherHost", Server("tls", "other-host"), "smtps", "pop3s", false,
                              txt::kTlsWrongHost, txt::kTlsWrongHost, "127.0.0.1", "127.0.0.1"},
                      Refusal{"NoStartTls", Server("clear"), "smtp+starttls", "pop3+stls", false,
                              txt::kTlsNotOffered, txt::kTlsNotOffered, "STARTTLS", "STLS"},
                      Refusal{"WrongPassword", Server("starttls"), "smtp+starttls", "pop3+stls",
                              true, txt::kSmtpAuthRefused, txt::kPop3AuthRefused, "", ""}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace quarnel::ui
