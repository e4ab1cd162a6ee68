// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fuzz targets' seeds from what the program itself writes: the
// fixed pair's settings, lists and key store, x's messages to y (plain, rich,
// with an attachment file) and the mails carrying them, y's requests to the
// authority as the client posts them, the authority's replies to y as its
// issuing core makes them and as its server sends them, rich text written
// canonically, and the reference parameter file.
// Usage: fuzz_make_corpus OUTDIR

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <filesystem>
#include <string>

#include "authority/connection.h"
#include "authority/requests.h"
#include "crypto/datetime.h"
#include "crypto/hextext.h"
#include "fuzz_holders.h"
#include "mail/mime.h"
#include "messages/encryption.h"
#include "protocol/body.h"
#include "protocol/lines.h"
#include "rtf/rtf.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"

namespace fs = std::filesystem;
using namespace quarnel;

namespace {

fs::path out;
int failures = 0;

void Put(const std::string& target, const std::string& name, const std::string& bytes) {
    fs::create_directories(out / target);
    if (!WriteFileAtomically(out / target / name, bytes)) {
        std::fprintf(stderr, "cannot write %s/%s\n", target.c_str(), name.c_str());
        ++failures;
    }
}

void Fail(const char* what) {
    std::fprintf(stderr, "make_corpus: %s\n", what);
    ++failures;
}

/// x's message to y; its body text and the attachment files it names.
Lines Encrypt(ProgramData& x, const ProgramData& y, Kind kind, const std::string& text,
              std::vector<fs::path> attachments, std::vector<fs::path>& encrypted) {
    const char category = y.settings.category;
    const int i = FindCorrespondent(x.correspondents, category, y.ownNumber);
    if (i < 0) Fail("x has no record of y");
    x.messages.recipientCategory = category;
    x.messages.recipientRecord = (*x.correspondents.ForCategory(category))[std::size_t(i)];
    x.messages.attachments = std::move(attachments);
    Lines body;
    MessageProblem problem;
    if (!BuildMessageBody(x, x.messages, kind, text, body, problem)) Fail("message not built");
    encrypted = x.messages.encryptedAttachments;
    return body;
}

std::string ServerReply(int status, const std::string& reason, const std::string& body) {
    // As quarnel-ta's listener answers.
    std::string r = "HTTP/1.0 " + std::to_string(status) + " " + reason + "\r\n";
    r += "Content-Type: text/plain; charset=windows-1252\r\n";
    r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    r += "Connection: close\r\n\r\n";
    return r + body;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_corpus OUTDIR\n");
        return 2;
    }
    out = argv[1];
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const fs::path root = fuzz::ScratchFolder("make-corpus");
    fuzz::FixedPair p = fuzz::MakeFixedPair(root);
    ProgramData& x = *p.x;
    ProgramData& y = *p.y;

    // Settings and record lists.
    Put("settings", "x.ini", JoinLinesCrLf(SettingsLines(x.settings)));
    Put("settings", "y.ini", JoinLinesCrLf(SettingsLines(y.settings)));
    if (auto keys = SerializeRecordList(y.keyStore)) Put("record_list", "key-store", *keys);
    if (auto list = SerializeRecordList(*x.correspondents.ForCategory('A'))) {
        Put("record_list", "list-A", *list);
    }
    if (auto list = SerializeRecordList(*y.correspondents.ForCategory('F'))) {
        Put("record_list", "list-F", *list);
    }
    const fs::path taFile = fs::path(QUARNEL_TEST_DATA_DIR) / "ta" / "QuarnelTaPr.0FF";
    if (auto params = ReadWholeFile(taFile)) Put("ta_parameters", "QuarnelTaPr.0FF", *params);

    // x's messages to y; with an attachment, the body, a NUL and the file.
    std::vector<fs::path> encrypted;
    const Lines plain =
        Encrypt(x, y, Kind::PlainMessage, "Bonjour,\r\nvoici le devis.", {}, encrypted);
    Put("body", "plain", JoinLinesCrLf(plain));
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Madame, "));
    cursor.insertText(QStringLiteral("réunion à 10 h"), bold);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Cordialement, 3 € de frais."));
    const std::string rich = WriteRtf(doc);
    Put("rtf", "message.rtf", rich);
    const Lines richBody = Encrypt(x, y, Kind::RichMessage, rich, {}, encrypted);
    Put("body", "rich", JoinLinesCrLf(richBody));
    const fs::path file = root / "devis.txt";
    if (!WriteFileAtomically(file, "Devis 2026-12\r\nLigne 1;12,50\r\nLigne 2;7,00\r\n")) {
        Fail("attachment not written");
    }
    const Lines withFile =
        Encrypt(x, y, Kind::PlainMessage, "Ci-joint le devis.", {file}, encrypted);
    if (encrypted.size() != 1) Fail("the attachment was not enciphered");
    const auto sealed = encrypted.empty() ? std::nullopt : ReadWholeFile(encrypted[0]);
    Put("body", "attachment", JoinLinesCrLf(withFile) + std::string(1, '\0') + sealed.value_or(""));

    // The mails carrying them.
    OutgoingMail mail;
    mail.fromAddress = "claire@example.org";
    mail.fromName = "Claire MARTIN";
    mail.subject = "QuarnelSys";
    mail.to = {"jean@example.org"};
    mail.bodyLines = plain;
    Put("mime", "plain.eml", BuildMail(mail));
    mail.bodyLines = withFile;
    mail.attachments = encrypted;
    Put("mime", "attachment.eml", BuildMail(mail));

    // The mail servers' answers to a sending and a fetching of these mails,
    // as the loopback servers of the tests give them (the first byte: SMTP
    // piece size; POP3 command STAT, LIST or RETR and piece size).
    Put("smtp_reply", "send",
        std::string(1, '\x10') +
            "220 relay.example.org ESMTP ready\r\n250-relay.example.org\r\n250-SIZE "
            "33554432\r\n250-8BITMIME\r\n250 HELP\r\n250 OK\r\n250 OK\r\n354 End data "
            "with <CR><LF>.<CR><LF>\r\n250 OK queued\r\n221 Bye\r\n");
    Put("smtp_reply", "refused",
        std::string(1, '\x01') +
            "220 relay\r\n250 hello\r\n550 5.1.1 <jean@example.org>: "
            "Recipient address rejected\r\n");
    std::string retr = BuildMail(mail);
    std::string stuffed;
    for (const auto& line : SplitLines(retr))
        stuffed += (line.rfind('.', 0) == 0 ? "." : "") + line + "\r\n";
    const std::string login = "+OK Dovecot ready.\r\n+OK\r\n+OK Logged in.\r\n";
    Put("pop3_reply", "stat",
        std::string(1, char(0 + 3 * 5)) + login + "+OK 2 " + std::to_string(retr.size()) + "\r\n");
    Put("pop3_reply", "list",
        std::string(1, char(1 + 3 * 5)) + "+OK 1 " + std::to_string(retr.size()) +
            "\r\n-ERR no such message\r\n");
    Put("pop3_reply", "retr",
        std::string(1, char(2 + 3 * 20)) + "+OK " + std::to_string(retr.size()) + " octets\r\n" +
            stuffed + ".\r\n+OK Marked to be deleted.\r\n+OK Logging out.\r\n");

    // y's requests as the client posts them, and the authority's replies.
    const HttpTarget target = TargetOf(ConfigureTaConnection(y.settings));
    auto request = [&](Kind kind, const std::string& name) {
        y.authority.requestKind = kind;
        y.authority.correspondentNumber = x.ownNumber;
        if (!BuildOutgoingBody(y, y.authority, y.messages).ok) return Fail("request not built");
        Put("http_request", name,
            HttpRequestBytes(target, false, RequestData(y.authority.outgoingBody)));
    };
    request(Kind::Update, "update");
    request(Kind::Key, "key");
    request(Kind::KeyUpdate, "key-update");
    const ta::RandomSource random = test::SeededRandom(99);
    auto reply = [&](Kind kind, const std::string& other, const Lines& lines, int choice,
                     const std::string& name) {
        const std::string body = JoinLinesCrLf(ta::ReplyBody(
            AddressLine(kind, DateCode(), p.ya.digit, p.ya.digit, other, p.ya.number), lines));
        Put("ta_reply", name, std::string(1, char(choice)) + body);
        Put("http_reply", name, std::string(1, '\x3f') + ServerReply(200, "OK", body));
    };
    // The first byte: the request waited for (0-4) and the program state (<< 3).
    reply(Kind::PrivateKey, kNoNumber, ta::PrivateKeyLines(p.ya), 0 + (1 << 3), "private-key");
    reply(Kind::Updated, kNoNumber, ta::SealLines(p.ya), 1 + (2 << 3) + 0x80, "acknowledged");
    const ta::KeyIssue issue = ta::IssueKey(p.ya, p.xa, ta::RandomKey(random), random);
    Lines key{issue.w, issue.a, issue.k3, issue.k4, issue.q};
    key.insert(key.end(), issue.section.begin(), issue.section.end());
    reply(Kind::KeyDelivered, p.xa.number, key, 2 + (2 << 3), "key");
    reply(Kind::KeyUpdated, p.xa.number, key, 3 + (2 << 3), "key-updated");
    reply(Kind::Certificate, kNoNumber,
          ta::CertificateLines(p.ya, "Certificat de signature\r\nsignature de MARTIN", OleNow(),
                               random),
          4 + (2 << 3), "certificate");
    Put("http_reply", "refused",
        std::string(1, '\x07') +
            ServerReply(403, "Clef erronee", "Clef erronee : la demande n'est pas chiffree\r\n"));
    Put("http_reply", "moved",
        std::string(1, '\x3f') +
            "HTTP/1.0 302 Found\r\nLocation: "
            "http://127.0.0.1:50255/QuarnelSys/\r\n"
            "Content-Length: 0\r\n\r\n");

    std::error_code ec;
    fs::remove_all(root, ec);
    return failures == 0 ? 0 : 1;
}
