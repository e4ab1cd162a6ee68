// Mail built here, sent to a real SMTP server on loopback, read back from its
// Maildir.

#include <gmime/gmime.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "event_loop.h"
#include "mail/mime.h"
#include "mail/smtp_client.h"
#include "mail_servers.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

struct Parsed {
    std::map<std::string, std::string> headers;  // first value, name lower-case
    std::string text;
    std::vector<std::pair<std::string, std::string>> attachments;  // name, bytes
};

std::string Content(GMimePart* part) {
    GMimeStream* mem = g_mime_stream_mem_new();
    g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(part), mem);
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(mem));
    std::string out(reinterpret_cast<const char*>(bytes->data), bytes->len);
    g_object_unref(mem);
    return out;
}

Parsed Parse(const std::string& raw) {
    g_mime_init();
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(raw.data(), raw.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    Parsed p;
    if (message) {
        GMimeHeaderList* list = g_mime_object_get_header_list(GMIME_OBJECT(message));
        for (int i = 0; i < g_mime_header_list_get_count(list); ++i) {
            GMimeHeader* h = g_mime_header_list_get_header_at(list, i);
            std::string name = g_mime_header_get_name(h);
            for (char& c : name)
                c = char(std::tolower((unsigned char)c));
            p.headers.emplace(name, g_mime_header_get_value(h));
        }
        GMimeObject* body = g_mime_message_get_mime_part(message);
        auto take = [&](GMimeObject* o) {
            if (!GMIME_IS_PART(o)) return;
            const char* name = g_mime_part_get_filename(GMIME_PART(o));
            if (name) {
                p.attachments.emplace_back(name, Content(GMIME_PART(o)));
            } else {
                p.text = Content(GMIME_PART(o));
            }
        };
        if (GMIME_IS_MULTIPART(body)) {
            for (int i = 0; i < g_mime_multipart_get_count(GMIME_MULTIPART(body)); ++i) {
                take(g_mime_multipart_get_part(GMIME_MULTIPART(body), i));
            }
        } else {
            take(body);
        }
        g_object_unref(message);
    }
    g_object_unref(parser);
    g_object_unref(stream);
    return p;
}

bool Send(const test::SmtpServer& server, const std::string& message) {
    SmtpClient client;
    bool done = false, sent = false;
    QObject::connect(&client, &SmtpClient::finished, [&](bool, bool t) {
        done = true;
        sent = t;
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
        const Parsed p = Parse(delivered[i]);
        EXPECT_EQ(p.headers.at("x-mailer"), "QuarnelSys");
        EXPECT_NE(p.headers.at("from").find("DUPONT Jean"), std::string::npos);
        EXPECT_NE(p.headers.at("from").find("<jean.dupont@example.org>"), std::string::npos);
        EXPECT_EQ(p.headers.at("to"), "marie@example.org");
        EXPECT_TRUE(p.headers.count("date"));
        EXPECT_EQ(p.headers.count("subject"), 1u);
        // The Maildir keeps LF line ends.
        EXPECT_EQ(p.text, "QuarnelTit\n.commence par un point\n..deux\n.\nfin\n");
    }
    const Parsed withFiles = Parse(delivered[1]);
    ASSERT_EQ(withFiles.attachments.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(withFiles.attachments[i].first, files[i].first);
        EXPECT_EQ(withFiles.attachments[i].second, files[i].second) << files[i].first;
    }
    EXPECT_NE(delivered[1].find("This is a multi-part message in MIME format"), std::string::npos);
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
