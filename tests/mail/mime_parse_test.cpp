// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/mime_parse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "holder_fixture.h"
#include "mail/mail_size.h"
#include "mail/mime.h"
#include "store/atomic_file.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

std::string Crlf(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

TEST(ParseMail, SinglePartMailHeadersDecodedAndLookedUpWithoutCase) {
    ParsedMail m;
    ASSERT_TRUE(ParseMail(Crlf("From: =?UTF-8?Q?Ren=C3=A9e_Dupr=C3=A9?= <renee@example.org>\n"
                               "To: anne@example.org\n"
                               "Subject: =?ISO-8859-1?Q?r=E9sum=E9?= du\n jour\n"
                               "X-MAILER: QuarnelSys\n"
                               "x-mailer: other\n"
                               "Content-Transfer-Encoding: 8bit\n"
                               "\n"
                               "ligne 1\n"
                               "ligne 2\n"),
                          m));
    EXPECT_EQ(m.Values("X-Mailer"), (std::vector<std::string>{"QuarnelSys", "other"}));
    EXPECT_EQ(m.FromName(), "Renée Dupré");
    EXPECT_EQ(m.Subject(), "résumé du jour");
    EXPECT_FALSE(m.multipart);
    EXPECT_EQ(m.textParts, std::vector<std::string>{"ligne 1\r\nligne 2\r\n"});
    EXPECT_TRUE(m.attachments.empty());

    // TOP n 0 gives the headers only; a sender without a name shows its address.
    ASSERT_TRUE(ParseMailHeaders(Crlf("From: bob@example.org\nSubject: s\n\n"), m));
    EXPECT_EQ(m.FromName(), "bob@example.org");
    EXPECT_EQ(m.Value("subject"), "s");
    // Line breaks hidden in encoded words would split a record line.
    ASSERT_TRUE(ParseMailHeaders(
        "From: =?UTF-8?Q?A=0D=0AB?= <a@b.org>\r\nSubject: =?UTF-8?Q?x=0Ay=09z?=\r\n\r\n", m));
    EXPECT_EQ(m.Subject(), "x y z");
    EXPECT_EQ(m.FromName(), "A  B");
}

TEST(ParseMail, NestedPartsGiveEveryTextInOrderAndEveryAttachmentWithItsDecodedName) {
    ParsedMail m;
    ASSERT_TRUE(ParseMail(
        Crlf("From: a@example.org\n"
             "Subject: x\n"
             "MIME-Version: 1.0\n"
             "Content-Type: multipart/mixed; boundary=\"out\"\n"
             "\n"
             "preamble\n"
             "--out\n"
             "Content-Type: multipart/alternative; boundary=\"in\"\n"
             "\n"
             "--in\n"
             "Content-Type: text/plain\n"
             "\n"
             "first\n"
             "--in\n"
             "Content-Type: text/plain\n"
             "Content-Transfer-Encoding: quoted-printable\n"
             "\n"
             "second=3Dtext\n"
             "--in--\n"
             "--out\n"
             "Content-Type: application/octet-stream\n"
             "Content-Disposition: attachment; filename*=UTF-8''%C3%A9t%C3%A9.txt\n"
             "Content-Transfer-Encoding: base64\n"
             "\n"
             "AAEC/w==\n"
             "--out\n"
             "Content-Type: application/octet-stream; name=\"=?ISO-8859-1?Q?r=E9sum=E9.pdf?=\"\n"
             "Content-Transfer-Encoding: base64\n"
             "\n"
             "aGk=\n"
             "--out\n"
             "Content-Type: text/plain\n"
             "Content-Disposition: attachment; filename=\"../../notes.txt\"\n"
             "\n"
             "note\n"
             "--out--\n"),
        m));
    EXPECT_TRUE(m.multipart);
    // The line break before a boundary belongs to the boundary.
    EXPECT_EQ(m.textParts, (std::vector<std::string>{"first", "second=text"}));
    ASSERT_EQ(m.attachments.size(), 3U);
    EXPECT_EQ(m.attachments[0].fileName, "été.txt");
    EXPECT_EQ(m.attachments[0].content, std::string("\x00\x01\x02\xff", 4));
    EXPECT_EQ(m.attachments[1].fileName, "résumé.pdf");
    EXPECT_EQ(m.attachments[1].content, "hi");
    // Names are given as sent: the sorting checks them.
    EXPECT_EQ(m.attachments[2].fileName, "../../notes.txt");
}

// The single-part mail read back from a file: the retrievals of Incoming.
TEST(ParseMail, ReadsBackWhatBuildMailWrites) {
    test::TempDir dir;
    const std::string binary("\0\x01\xFF\r\n.\r\n", 8);
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "r\xC3\xA9sum\xC3\xA9 long name.bin", binary));
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "b.txt", "note"));
    const OutgoingMail out{
        "claire@example.org",
        "MARTIN Cl\xC3\xA9"
        "ment",
        "Facture d'\xC3\xA9t\xC3\xA9",
        {"jean@example.org"},
        {"titre", ".ligne", "", "fin"},
        {dir.path() / "r\xC3\xA9sum\xC3\xA9 long name.bin", dir.path() / "b.txt"}};
    const std::string built = BuildMail(out);
    ParsedMail m;
    ASSERT_TRUE(ParseMail(built, m));
    EXPECT_EQ(m.Value("x-mailer"), "QuarnelSys");
    EXPECT_EQ(m.FromName(),
              "MARTIN Cl\xC3\xA9"
              "ment");
    EXPECT_EQ(m.Subject(), "Facture d'\xC3\xA9t\xC3\xA9");
    EXPECT_TRUE(m.multipart);
    ASSERT_EQ(m.textParts.size(), 1U);
    EXPECT_EQ(m.textParts[0].substr(0, 20), "titre\r\n.ligne\r\n\r\nfin");
    ASSERT_EQ(m.attachments.size(), 2U);
    EXPECT_EQ(m.attachments[0].fileName, "r\xC3\xA9sum\xC3\xA9 long name.bin");
    EXPECT_EQ(m.attachments[0].content, binary);
    EXPECT_EQ(m.attachments[1].content, "note");
    // From a file, the attachments are read from there when written out.
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "mail.eml", built));
    ParsedMail f;
    ASSERT_EQ(ParseMailFile(dir.path() / "mail.eml", f), MailParseFault::None);
    EXPECT_EQ(f.textParts, m.textParts);
    ASSERT_EQ(f.attachments.size(), 2U);
    std::string streamed;
    ASSERT_TRUE(f.attachments[0].WriteTo([&](std::string_view piece) {
        streamed.append(piece);
        return true;
    }));
    EXPECT_EQ(streamed, binary);
    EXPECT_TRUE(f.attachments[0].content.empty());
}

std::string Nested(int depth, int leaves) {
    std::string mail = "From: a@example.org\r\nSubject: deep\r\n";
    for (int i = 0; i < depth; ++i) {
        mail += "Content-Type: multipart/mixed; boundary=\"b" + std::to_string(i) +
                "\"\r\n\r\n--b" + std::to_string(i) + "\r\n";
    }
    mail += "Content-Type: text/plain\r\n\r\nleaf\r\n";
    for (int j = 1; j < leaves; ++j) {
        mail += "--b" + std::to_string(depth - 1) + "\r\nContent-Type: text/plain\r\n\r\nleaf\r\n";
    }
    for (int i = depth - 1; i >= 0; --i)
        mail += "--b" + std::to_string(i) + "--\r\n";
    return mail;
}

TEST(ParseMail, LimitsOnNestingPartsAndSize) {
    ParsedMail m;
    // The root multipart is level 0: kMaxMailDepth multiparts nest one leaf at the limit.
    EXPECT_TRUE(ParseMail(Nested(kMaxMailDepth, 1), m));
    EXPECT_EQ(m.textParts, std::vector<std::string>{"leaf"});
    EXPECT_FALSE(ParseMail(Nested(kMaxMailDepth + 1, 1), m));
    EXPECT_TRUE(m.textParts.empty() && m.headers.empty());
    // One multipart and its leaves are the parts counted.
    EXPECT_TRUE(ParseMail(Nested(1, int(kMaxMailParts) - 1), m));
    EXPECT_FALSE(ParseMail(Nested(1, int(kMaxMailParts)), m));
    // Thousands of nested multiparts are refused before GMime recurses into them.
    EXPECT_FALSE(ParseMail(Nested(20000, 1), m));

    std::string headers;
    for (std::size_t i = 1; i < kMaxMailHeaders; ++i)
        headers += "X-N: " + std::to_string(i) + "\r\n";
    EXPECT_TRUE(ParseMail(headers + "X-N: last\r\n\r\nbody", m));
    EXPECT_FALSE(ParseMail(headers + "X-N: last\r\nX-N: over\r\n\r\nbody", m));

    // The text held in memory, whatever the size of the mail.
    std::string text = "Subject: big\r\n\r\n";
    text.resize(text.size() + kMaxMailText, 'a');
    EXPECT_TRUE(ParseMail(text, m));
    EXPECT_FALSE(ParseMail(text + 'a', m));

    std::string huge = "Subject: big\r\n\r\n";
    huge.resize(kMaxParsedMail + 1, 'a');
    EXPECT_FALSE(ParseMail(huge, m));
}

// The composer's estimate of a mail's size against the mail really built for
// the same message, its attachments enciphered.
class MailSize : public test::TwoHolders {};

TEST_F(MailSize, TheEstimateIsWithinOnePercentOrOneKilobyteOfTheMailBuilt) {
    const std::string text(5000, 't');
    for (const std::vector<std::size_t>& sizes :
         std::vector<std::vector<std::size_t>>{{}, {1}, {1024, 300 * 1024}, {2 << 20}}) {
        std::vector<std::filesystem::path> files;
        std::vector<std::uint64_t> bytes;
        for (const std::size_t size : sizes) {
            files.push_back(WriteFile("f" + std::to_string(files.size()), std::string(size, 'a')));
            bytes.push_back(size);
        }
        ASSERT_TRUE(Encrypt(x, y, text, false, files).ok);
        OutgoingMail mail{x->email, x->displayName, "Objet", {y->email}, x.body, {}};
        mail.attachments = x->messages.encryptedAttachments;
        const double built = double(BuildMail(mail).size());
        const double estimate = double(EstimatedMailBytes(text.size(), bytes));
        EXPECT_NEAR(estimate, built, std::max(built / 100, 1024.0)) << sizes.size() << " files";
    }
    // A file of 8.7 MB already makes a mail over the providers' 25 MB.
    const std::uint64_t file = 8'700'000;
    EXPECT_GT(EstimatedMailBytes(0, {&file, 1}), kProviderMailLimitBytes);
}

}  // namespace
}  // namespace quarnel
