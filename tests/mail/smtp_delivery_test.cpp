// SPDX-License-Identifier: GPL-3.0-or-later
// Mail built here, sent to a real SMTP server on loopback, read back from its
// Maildir by somebody else's parser (Python's email).

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fstream>

#include "event_loop.h"
#include "mail/mime.h"
#include "mail/smtp_client.h"
#include "mail_servers.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

// The delivered mail as somebody else's parser reads it.
QJsonObject Parse(const std::string& raw) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(test::PythonMailReport(raw))).object();
}

std::string Sha256(const std::string& bytes) {
    return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

bool Send(const test::SmtpServer& server, const std::string& message) {
    SmtpClient client;
    bool done = false, sent = false;
    QObject::connect(&client, &SmtpClient::finished, [&](const SessionResult& r) {
        done = true;
        sent = r.completed;
    });
    client.Start({QString::fromStdString(server.Address()),
                  "IdSMTP",
                  message,
                  "jean.dupont@example.org",
                  {"marie@example.org"}});
    EXPECT_TRUE(test::RunUntil([&] { return done; }, 20000));
    return sent;
}

class SmtpDelivery : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = test::SmtpServer::MissingReason(); !why.empty()) {
            GTEST_SKIP() << why;
        }
    }
};

// Built, sent and delivered without attachments and with three (an empty
// file, every byte value, a name in French): the headers, the body lines with
// their leading dots, and every attachment byte come back.
TEST_F(SmtpDelivery, MailWithZeroAndThreeAttachmentsArrivesWhole) {
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
    OutgoingMail mail{"jean.dupont@example.org",
                      "DUPONT Jean",
                      "Message chiffré",
                      {"marie@example.org"},
                      {"QuarnelTit", ".commence par un point", "..deux", ".", "fin"},
                      {}};
    ASSERT_TRUE(Send(server, BuildMail(mail)));
    for (const auto& [name, bytes] : files) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        mail.attachments.push_back(dir / name);
    }
    ASSERT_TRUE(Send(server, BuildMail(mail)));

    const std::vector<std::string> delivered = server.Delivered(2);
    ASSERT_EQ(delivered.size(), 2u) << server.Log();
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QJsonObject p = Parse(delivered[i]);
        ASSERT_FALSE(p.isEmpty());
        EXPECT_TRUE(p["defects"].toArray().isEmpty());
        EXPECT_EQ(p["x_mailer"].toString(), "QuarnelSys");
        EXPECT_EQ(p["from_name"].toString(), "DUPONT Jean");
        EXPECT_EQ(p["from_address"].toString(), "jean.dupont@example.org");
        EXPECT_EQ(p["to"].toArray(), QJsonArray{"marie@example.org"});
        EXPECT_FALSE(p["date"].toString().isEmpty());
        EXPECT_EQ(p["subject"].toString(), QString::fromUtf8("Message chiffré"));
        // The Maildir keeps LF line ends.
        EXPECT_EQ(p["parts"].toArray()[0].toObject()["text"].toString(),
                  "QuarnelTit\n.commence par un point\n..deux\n.\nfin\n");
    }
    const QJsonArray parts = Parse(delivered[1])["parts"].toArray();
    ASSERT_EQ(parts.size(), 4);
    for (std::size_t i = 0; i < 3; ++i) {
        const QJsonObject part = parts[qsizetype(i) + 1].toObject();
        EXPECT_EQ(part["filename"].toString(), QString::fromStdString(files[i].first));
        EXPECT_EQ(part["sha256"].toString().toStdString(), Sha256(files[i].second))
            << files[i].first;
    }
    EXPECT_EQ(Parse(delivered[1])["preamble"].toString(),
              "This is a multi-part message in MIME format");
    EXPECT_NE(delivered[1].find("Content-Transfer-Encoding: 7bit"), std::string::npos);
    EXPECT_NE(delivered[0].find("Content-Transfer-Encoding: 8bit"), std::string::npos);
    EXPECT_NE(delivered[0].find("Content-Disposition: inline"), std::string::npos);
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
