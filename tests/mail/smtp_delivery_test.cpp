// SPDX-License-Identifier: GPL-3.0-or-later
// Mail prepared as the sending window prepares it, sent to a real SMTP server
// on loopback, read back from its Maildir by somebody else's parser (Python's
// email).

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <set>

#include "holder/holder_context.h"
#include "mail/mime.h"
#include "mail/outgoing_mail.h"
#include "mail_run.h"
#include "mail_servers.h"
#include "store/atomic_file.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

// The delivered mail as somebody else's parser reads it: Python's email
// package with policy.default, as JSON (defects, decoded header texts, parts).
QJsonObject Parse(const std::string& raw) {
    QProcess python;
    python.start("/usr/bin/python3", {QStringLiteral(QUARNEL_TEST_SUPPORT_DIR "/mail_report.py")});
    python.write(raw.data(), qint64(raw.size()));
    python.closeWriteChannel();
    EXPECT_TRUE(python.waitForFinished(20000)) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

std::string Sha256(const std::string& bytes) {
    return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

// Plain lines without attachments, the same with three (an empty file, every
// byte value, a name in French), and a title, a sender and a subject in code
// page 1252 as the settings and the composer hold them: the headers, the body
// lines with their leading dots, and every attachment byte come back.
TEST(SmtpDelivery, WhatTheRelayDeliversReadsRightToAnotherParser) {
    if (const std::string why = test::SmtpServer::MissingReason(); !why.empty())
        GTEST_SKIP() << why;
    test::SmtpServer server;
    ASSERT_TRUE(server.Running()) << server.Log();
    test::TempDir dir;
    std::string everyByte;
    for (int round = 0; round < 300; ++round) {
        for (int b = 0; b < 256; ++b)
            everyByte += char(b);
    }
    const std::vector<std::pair<std::string, std::string>> files = {
        {"vide.bin", ""}, {"octets.dat", everyByte}, {"pièce été.txt", "contenu\n"}};
    std::vector<std::string> paths;
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(WriteFileAtomically(dir / name, bytes));
        paths.push_back((dir / name).string());
    }
    HolderContext ctx;
    ctx.email = "martin@example.org";
    ctx.displayName = "MARTIN H\xE9l\xE8ne";
    ctx.settings.smtpServer = server.Address();
    const std::vector<std::string> dotted{"QuarnelTit", ".commence par un point", "..deux", ".",
                                          "fin"};
    const std::vector<OutgoingMessage> sent{{"", "marie@example.org", "", dotted, {}},
                                            {"", " marie@example.org ; DUPONT <paul@example.org>",
                                             "Pi\xE8"
                                             "ces",
                                             dotted, paths},
                                            {"",
                                             "marie@example.org",
                                             "\xC9t\xE9 \xE0 No\xEBl \xE7"
                                             "a",
                                             {"Message chiffr\xE9 par QuarnelTit"},
                                             {paths[2]}}};
    for (const OutgoingMessage& m : sent) {
        const test::MailRun run = test::RunSmtp(PrepareMail(ctx, m).job);
        ASSERT_TRUE(run.result.completed) << run.All() << server.Log();
    }

    const std::vector<std::string> delivered = server.Delivered(3);
    ASSERT_EQ(delivered.size(), 3u) << server.Log();
    std::vector<QJsonObject> read;
    std::set<QString> ids;
    for (const std::string& mail : delivered) {
        const QJsonObject p = Parse(mail);
        ASSERT_FALSE(p.isEmpty()) << mail.substr(0, 2000);
        EXPECT_TRUE(p["defects"].toArray().isEmpty())
            << QJsonDocument(p["defects"].toArray()).toJson().toStdString();
        EXPECT_EQ(p["x_mailer"].toString(), "QuarnelSys");
        EXPECT_EQ(p["from_name"].toString(), QString::fromUtf8("MARTIN Hélène"));
        EXPECT_EQ(p["from_address"].toString(), "martin@example.org");
        EXPECT_FALSE(p["date"].toString().isEmpty());
        const QString id = p["message_id"].toString();
        EXPECT_TRUE(QRegularExpression("^<[0-9a-f]{64}@example\\.org>$").match(id).hasMatch())
            << id.toStdString();
        ids.insert(id);
        read.push_back(p);
    }
    EXPECT_EQ(ids.size(), 3u);
    // No subject: a dash. The Maildir keeps LF line ends.
    EXPECT_EQ(read[0]["subject"].toString(), "-");
    EXPECT_EQ(read[0]["to"].toArray(), QJsonArray{"marie@example.org"});
    EXPECT_EQ(read[1]["to"].toArray(), (QJsonArray{"marie@example.org", "paul@example.org"}));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(read[i]["parts"].toArray()[0].toObject()["text"].toString(),
                  "QuarnelTit\n.commence par un point\n..deux\n.\nfin\n")
            << i;
    }
    const QJsonArray parts = read[1]["parts"].toArray();
    ASSERT_EQ(parts.size(), 4);
    for (std::size_t i = 0; i < 3; ++i) {
        const QJsonObject part = parts[qsizetype(i) + 1].toObject();
        EXPECT_EQ(part["filename"].toString(), QString::fromStdString(files[i].first));
        EXPECT_EQ(part["sha256"].toString().toStdString(), Sha256(files[i].second))
            << files[i].first;
    }
    EXPECT_EQ(read[1]["subject"].toString(), QString::fromUtf8("Pièces"));
    EXPECT_EQ(read[1]["preamble"].toString(), "This is a multi-part message in MIME format");
    EXPECT_NE(delivered[1].find("Content-Transfer-Encoding: 7bit"), std::string::npos);
    EXPECT_NE(delivered[0].find("Content-Transfer-Encoding: 8bit"), std::string::npos);
    EXPECT_NE(delivered[0].find("Content-Disposition: inline"), std::string::npos);
    EXPECT_EQ(read[2]["subject"].toString(), QString::fromUtf8("Été à Noël ça"));
    EXPECT_EQ(read[2]["parts"].toArray()[0].toObject()["text"].toString(),
              QString::fromUtf8("Message chiffré par QuarnelTit\n"));
}

TEST(BuildMail, CrLfLinesAndUnreadableAttachment) {
    OutgoingMail mail{"a@x.org", "A", "s", {"b@x.org"}, {"un", "deux"}, {}};
    const std::string built = BuildMail(mail);
    for (std::size_t i = built.find('\n'); i != std::string::npos; i = built.find('\n', i + 1)) {
        ASSERT_TRUE(i > 0 && built[i - 1] == '\r') << "bare LF at " << i;
    }
    mail.attachments = {"/nonexistent/file.bin"};
    EXPECT_THROW((void)BuildMail(mail), std::runtime_error);
}

}  // namespace
}  // namespace quarnel
