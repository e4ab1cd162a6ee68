// SPDX-License-Identifier: GPL-3.0-or-later
// What a received message must not get through, what encryption refuses, and
// the handling of attachment names and files that come from outside.

#include <cctype>
#include <fstream>
#include <functional>
#include <map>

#include "authority/texts.h"
#include "crypto/hextext.h"
#include "crypto/random.h"
#include "crypto/text_stream.h"
#include "holder_fixture.h"
#include "hostile_names.h"
#include "messages/encryption.h"
#include "messages/texts.h"
#include "protocol/lines.h"

namespace quarnel {
namespace {

using test::D;
using test::E;
using test::TwoHolders;

class Verification : public TwoHolders {
  protected:
    // The sender's writing key and the section mask of `body` (title line
    // included), as only the two holders could work them out.
    void KeysOf(const Lines& body, Quad& writeKey, Quad& readKey, Quad& mask) {
        OwnKey us, ur;
        ASSERT_TRUE(OwnUnwrappingKey(x->keyStore, '0', us));
        ASSERT_TRUE(OwnUnwrappingKey(y->keyStore, '0', ur));
        writeKey = E(HexToQuad(x->messages.recipientRecord[11]), *us.key);
        readKey = E(HexToQuad(body[5]), *ur.key);
        ASSERT_TRUE(CondenseHex(body[3] + body[4] + body[5] + body[6] +
                                    QuadToHex(D(HexToQuad(body[7]), readKey)) +
                                    QuadToHex(D(HexToQuad(body[8]), readKey)) + body[9],
                                mask));
    }

    // Section `which` (1 the text's, 2 the recipient's) enciphered again as
    // `change` leaves it: the digest line stays.
    Lines Resealed(Lines body, int which, const std::function<void(DecipheredText&)>& change) {
        Quad writeKey{}, readKey{}, mask{};
        KeysOf(body, writeKey, readKey, mask);
        std::size_t index = 10;
        DecipheredText s;
        for (int i = 0; i < which; ++i)
            EXPECT_TRUE(DecipherText(body, index, readKey, mask, s));
        const std::size_t first = index;
        EXPECT_TRUE(DecipherText(body, index, readKey, mask, s));
        change(s);
        Lines section;
        EXPECT_TRUE(
            EncipherText(s.code, s.field1, s.field2, section, mask, writeKey, s.text, s.dateTime));
        body.erase(body.begin() + std::ptrdiff_t(first), body.begin() + std::ptrdiff_t(index));
        body.insert(body.begin() + std::ptrdiff_t(first), section.begin(), section.end());
        return body;
    }

    // Nothing of the message is handed over or left in the sent folder.
    void ExpectRefused(const test::Encryption& r, int text, const std::string& detail = {}) {
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.problem.text, text);
        EXPECT_EQ(r.problem.detail, detail);
        EXPECT_TRUE(x.body.empty());  // never a title and separator alone
        EXPECT_TRUE(x->messages.encryptedAttachments.empty());
        EXPECT_TRUE(std::filesystem::is_empty(x.Sent()));
    }

    Lines Sent(const std::string& text, std::vector<std::filesystem::path> attachments = {}) {
        EXPECT_TRUE(Encrypt(x, y, text, false, std::move(attachments)).ok);
        Deliver(x, y);
        return x.body;
    }
};

TEST_F(Verification, AChangedTextAddressLineOrMomentFailsTheDigestAndNothingReachesTheDisk) {
    ASSERT_TRUE(RoundTrip(x, y, "premier message").ok);
    const std::string before = y->messages.decrypted.text;
    const std::string certification = y->messages.certificationData;
    const Lines body = Sent("texte original", {WriteFile("report.txt", "secret")});

    const auto resealed = [&](const std::string& text, LocalDateTime moment) {
        return Receive(y, Resealed(body, 1, [&](DecipheredText& s) {
                           s.text = text;
                           s.dateTime = OleFromLocal(moment);
                       }));
    };
    EXPECT_EQ(resealed("texte originaL", {2026, 12, 5, 14, 3, 7, 250}).refusal,
              ReceiveRefusal::DigestMismatch);
    EXPECT_EQ(resealed("texte original", {2026, 12, 5, 14, 3, 8, 250}).refusal,
              ReceiveRefusal::DigestMismatch);
    for (const std::size_t position : {3u, 31u}) {  // the date code; the sender's number
        Lines address = body;
        address[2][position] = address[2][position] == '1' ? '2' : '1';
        EXPECT_EQ(Receive(y, address).refusal, ReceiveRefusal::DigestMismatch) << position;
    }
    EXPECT_TRUE(std::filesystem::is_empty(y.Decrypted()));
    EXPECT_EQ(y->messages.decrypted.text, before);
    EXPECT_EQ(y->messages.certificationData, certification);

    // Resealing with the same text within the same second changes nothing.
    EXPECT_TRUE(resealed("texte original", {2026, 12, 5, 14, 3, 7, 900}).ok);
    EXPECT_TRUE(Receive(y, body).ok);
}

// The layout rules, and at most a thousand attachment names (none written
// beyond).
TEST_F(Verification, TheLayoutRulesAndTheNameLimitRefuseTheBody) {
    const Lines body = Sent("structure");
    const struct {
        const char* what;
        std::function<void(Lines&)> change;
        test::Holder& to;
        ReceiveRefusal refusal;
        std::string problem;
    } cases[] = {
        {"a hex line between section 3 and the end marker",
         [](Lines& b) { b.insert(b.end() - 1, std::string(32, 'A')); }, y,
         ReceiveRefusal::BadRecipientSection, ""},
        {"a name before the end marker", [](Lines& b) { b.insert(b.end() - 1, "report.txt"); }, y,
         ReceiveRefusal::Malformed, ""},
        {"lower case", [](Lines& b) { b[8][0] = char(std::tolower(b[8][0] == 'A' ? 'B' : 'a')); },
         y, ReceiveRefusal::Malformed, "line 7"},  // counted from the separator
        {"title and 14 lines", [](Lines& b) { b.erase(b.begin() + 15, b.end() - 1); }, y,
         ReceiveRefusal::Malformed, ""},
        // At the limit the body is read on (and is not for x).
        {"1000 names", [](Lines& b) { b.insert(b.end(), kMaxAttachmentNames, "n.txt"); }, x,
         ReceiveRefusal::NotForThisHolder, ""},
        {"1001 names", [](Lines& b) { b.insert(b.end(), kMaxAttachmentNames + 1, "n.txt"); }, y,
         ReceiveRefusal::TooManyAttachments, "1001 attachment names"},
    };
    for (const auto& c : cases) {
        Lines changed = body;
        c.change(changed);
        const ReceiveOutcome o = Receive(c.to, changed);
        EXPECT_EQ(o.refusal, c.refusal) << c.what;
        EXPECT_NE(o.problem.find(c.problem), std::string::npos) << c.what << ": " << o.problem;
    }
    EXPECT_FALSE(std::filesystem::exists(y.Decrypted() / "n.txt"));
    EXPECT_FALSE(y->messages.decrypted.kind);
}

TEST_F(Verification, TheBodyLayoutSpelledOut) {
    for (const std::size_t n : {0u, 16u, 17u, 32u, 33u}) {
        SCOPED_TRACE(n);
        const Lines body = Sent(std::string(n, 'a'));
        EXPECT_EQ(body[0], "Message chiffr\xE9 par \"QuarnelSys\"");
        EXPECT_EQ(body[1], std::string(32, 'F'));
        // Kind, date code of 05/12/2026, "0", the two key digits, recipient, sender.
        const std::string& a = body[2];
        ASSERT_EQ(a.size(), 32u);
        EXPECT_EQ(a.substr(0, 2), "20");
        EXPECT_EQ(a.substr(2, 5), "05C26");
        EXPECT_EQ(a.substr(7, 3), "000");
        EXPECT_EQ(a.substr(10, 11), "0FF01000000");
        EXPECT_EQ(a.substr(21, 11), "0FF00002000");
        Quad writeKey{}, readKey{}, mask{};
        KeysOf(body, writeKey, readKey, mask);
        // After 4 key lines, nonce, digest and signature: the sender's section,
        // two header lines and one line per 16 characters.
        std::size_t index = 10;
        DecipheredText sender;
        ASSERT_TRUE(DecipherText(body, index, readKey, mask, sender));
        EXPECT_EQ(index, 10 + 2 + (sender.text.size() + 15) / 16);
        // The text's section: its block count, padding, version code, flag, category.
        const std::size_t blocks = n == 0 ? 0 : n <= 16 ? 1 : n <= 32 ? 2 : 3;
        const char padding = n == 17 || n == 33 ? 'F' : '0';
        std::string header;
        ASSERT_TRUE(VerifyHeader(body, index, readKey, mask, header));
        EXPECT_EQ(header.substr(16), "0000000" + std::to_string(blocks) + padding + "D400F1F");
        index += 2 + blocks;
        // The recipient's section, then the end marker and nothing after it.
        ASSERT_TRUE(VerifyHeader(body, index, readKey, mask, header));
        EXPECT_EQ(body.size(), index + 2 + HexToWord(header.substr(16, 8)) + 1);
        EXPECT_EQ(body.back(), std::string(32, '0'));
    }
}

TEST_F(Verification, AMessageForSomeoneElseIsRefused) {
    test::Holder z = MakeHolder('D', "0FF00004000", "BERNARD", '1');
    Pair(x, z);
    ASSERT_TRUE(Encrypt(x, z, "pour Bernard").ok);
    Lines body = x.body;
    EXPECT_EQ(Receive(y, body).refusal, ReceiveRefusal::NotForThisHolder);
    // Even with y's number put in, y has no key that opens it.
    body[2].replace(10, 11, y->ownNumber);
    EXPECT_NE(Receive(y, body).refusal, ReceiveRefusal::None);
    EXPECT_TRUE(Receive(z, x.body).ok);
    EXPECT_EQ(z->messages.decrypted.sender.firmLabel, txt::kFirmLabel);
}

TEST_F(Verification, AttachmentsFromOutsideMissingSpoiltOrBadlyNamed) {
    Lines body = Sent("pièces abîmées", {WriteFile("a.txt", "aaa"), WriteFile("b.txt", "bbb"),
                                         WriteFile("c.txt", "ccc")});
    std::filesystem::remove(y.Received() / "a.txt");
    // Mail noise before the lines is dropped; a spoilt line is not.
    const std::string bFile = *ReadWholeFile(y.Received() / "b.txt");
    ASSERT_TRUE(WriteFileAtomically(y.Received() / "b.txt", "<html>\r\n<pre>\r\n" + bFile));
    std::string cFile = *ReadWholeFile(y.Received() / "c.txt");
    cFile[0] = cFile[0] == '0' ? '1' : '0';
    ASSERT_TRUE(WriteFileAtomically(y.Received() / "c.txt", cFile));
    // The names as an outside sender could list them.
    body.insert(body.end(), {"../../b.txt", "..\\b.txt", "..", ".", "dossier/",
                             "a\x01"
                             "b"});
    // A file of the holder's that the missing one's empty file must not replace.
    const auto in = [&](const char* name) { return y.Decrypted() / name; };
    std::filesystem::create_directories(y.Decrypted());
    ASSERT_TRUE(WriteFileAtomically(in("a.txt"), "mine"));

    ASSERT_TRUE(Receive(y, body).ok);
    const DecryptedMessage& m = y->messages.decrypted;
    EXPECT_EQ(m.text, "pièces abîmées");
    EXPECT_EQ(m.attachments,
              (std::vector{in("a_1.txt"), in("b.txt"), in("c.txt"), in("b_1.txt"), in("b_2.txt")}));
    EXPECT_EQ(*ReadWholeFile(in("a.txt")), "mine");
    EXPECT_EQ(*ReadWholeFile(in("a_1.txt")), "");
    for (const char* b : {"b.txt", "b_1.txt", "b_2.txt"})
        EXPECT_EQ(*ReadWholeFile(in(b)), "bbb");
    EXPECT_EQ(*ReadWholeFile(in("c.txt")), "");
    EXPECT_FALSE(std::filesystem::exists(y->dataFolder / "b.txt"));
    EXPECT_FALSE(std::filesystem::exists(root.path() / "b.txt"));
    EXPECT_EQ(m.notices, (std::vector<Notice>{{txt::kAttachmentMissing, "a.txt"},
                                              {txt::kAttachmentRenamed, "a_1.txt"},
                                              {txt::kAttachmentUndecipherable, "c.txt"},
                                              {txt::kAttachmentRenamed, "b_1.txt"},
                                              {txt::kAttachmentRenamed, "b_2.txt"},
                                              {txt::kAttachmentNameRefused, ".."},
                                              {txt::kAttachmentNameRefused, "."},
                                              {txt::kAttachmentNameRefused, "dossier/"},
                                              {txt::kAttachmentNameRefused,
                                               "a\x01"
                                               "b"}}));
    EXPECT_EQ(SafeAttachmentName("C:\\temp\\x.doc"), "x.doc");
}

// Attachment files of another line shape, or made for another message, give
// empty files and a notice; one thread or several read them alike. The flag
// shown is the message's, the moment the last attachment kept (never one
// refused).
TEST_F(Verification, AttachmentsOfAnotherLineShapeOrHeaderGiveEmptyFilesOnAnyThreads) {
    constexpr double kDay = 24.0 * 60 * 60;
    std::string plain(3000 * 16 - 5, '\0');  // six batches of blocks: several threads
    for (std::size_t i = 0; i < plain.size(); ++i)
        plain[i] = char(i * 37 >> 2);
    Lines body = Sent("pièces liées", {WriteFile("bon.bin", plain)});
    Quad writeKey{}, readKey{}, mask{};
    KeysOf(body, writeKey, readKey, mask);
    std::size_t index = 10;
    DecipheredText sender, message;
    ASSERT_TRUE(DecipherText(body, index, readKey, mask, sender));
    ASSERT_TRUE(DecipherText(body, index, readKey, mask, message));
    const auto enciphered = [&](const std::string& code, char flag, char category, double at) {
        Lines lines;
        EXPECT_TRUE(EncipherText(code, flag, category, lines, mask, writeKey, plain, at));
        return JoinLinesCrLf(lines);
    };
    const std::string good = *ReadWholeFile(y.Received() / "bon.bin");
    const char flag = message.field1;
    const char other = flag == '1' ? '0' : '1';
    std::vector<std::pair<std::string, std::string>> files{
        // The sender's clock, taken anew for this file, half a minute later.
        {"pareil.bin",
         enciphered(message.code, flag, message.field2, message.dateTime + 30 / kDay)},
        {"hexa.bin", good},
        {"minuscules.bin", good},
        {"courte.bin", good},
        {"lf.bin", good},
        {"en_plus.bin", good + "\r\n"},
        {"version.bin", enciphered("D400E", flag, message.field2, message.dateTime)},
        {"drapeau.bin", enciphered(message.code, other, message.field2, message.dateTime)},
        {"categorie.bin", enciphered(message.code, flag, 'D', message.dateTime)},
        {"avant.bin", enciphered(message.code, flag, message.field2, message.dateTime - 1)},
        {"apres.bin", enciphered(message.code, flag, message.field2, message.dateTime + 1)},
        {"les_deux.bin",
         enciphered(message.code, other, message.field2, message.dateTime + 3600 / kDay)}};
    files[1].second[34 * 1700 + 5] = 'G';
    for (std::size_t i = 34 * 1800; i < 34 * 1800 + 32; ++i)
        files[2].second[i] = char(std::tolower(files[2].second[i]));
    ASSERT_NE(files[2].second, good);
    files[3].second.erase(34 * 1900 + 7, 1);
    files[4].second.erase(34 * 2000 + 32, 1);  // LF alone
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(WriteFileAtomically(y.Received() / name, bytes));
        body.push_back(name);
    }

    struct Read {
        std::vector<Notice> notices;
        std::vector<std::string> contents;
        std::uint32_t seed;
    };
    std::vector<Read> reads;
    for (const unsigned threads : {1u, 3u}) {
        SetStreamThreads(threads);
        std::filesystem::remove_all(y.Decrypted());
        SetSeed(77);
        ASSERT_TRUE(Receive(y, body).ok);
        Read r{y->messages.decrypted.notices, {}, Seed()};
        for (const auto& path : y->messages.decrypted.attachments)
            r.contents.push_back(*ReadWholeFile(path));
        reads.push_back(std::move(r));
    }
    SetStreamThreads(0);
    EXPECT_EQ(reads[0].notices, reads[1].notices);
    EXPECT_EQ(reads[0].contents, reads[1].contents);
    EXPECT_EQ(reads[0].seed, reads[1].seed);

    std::vector<std::string> want(files.size() + 1);
    want[0] = want[1] = plain;
    EXPECT_EQ(reads[0].contents, want);
    std::vector<Notice> notices;
    for (std::size_t i = 1; i < files.size(); ++i) {
        notices.push_back({i < 6 ? txt::kAttachmentUndecipherable : txt::kAttachmentHeaderDiffers,
                           files[i].first});
    }
    EXPECT_EQ(reads[0].notices, notices);
    EXPECT_EQ(y->messages.decrypted.registrationFlag, flag);
    EXPECT_TRUE(y->messages.decrypted.sender.registration.positive);
    EXPECT_EQ(y->messages.decrypted.sender.time, "14:03:37") << "the last one kept";
}

// Section 3 that names someone else than the holder: told, still decrypted.
TEST_F(Verification, ARecipientSectionThatDoesNotNameTheHolderGivesANotice) {
    const Lines body = Resealed(Sent("pour qui ?"), 2, [](DecipheredText& s) {
        ASSERT_EQ(s.text.substr(0, 6), "DUPONT");
        s.text.replace(0, 6, "DURAND");
    });
    ASSERT_TRUE(Receive(y, body).ok);
    EXPECT_EQ(y->messages.decrypted.text, "pour qui ?");
    EXPECT_EQ(y->messages.decrypted.notices, (std::vector<Notice>{{txt::kRecipientNotHolder, ""}}));
}

TEST_F(Verification, ANameFromOutsideNeverTakesOneOfTheProgramsNames) {
    // The worst folder: decrypted files land in the data folder, which holds
    // the key store and the settings. (A mail's attachments take the same
    // free names: the program files' and the incoming mail's tests.)
    const std::filesystem::path data = y->dataFolder;
    y->settings.decryptedFilesFolder = y->settings.keyFolder;
    ASSERT_EQ(y->SaveKeyStore(), SaveResult::Saved);
    const auto& names = test::kProgramFileNames;
    std::map<std::string, std::optional<std::string>> before;
    for (const std::string& name : names)
        before[name] = ReadWholeFile(data / name);
    ASSERT_TRUE(before["QuarnelTit.kpr"]);

    // A message's attachment list, which no signature covers.
    std::vector<std::filesystem::path> files;
    for (std::size_t i = 0; i < names.size(); ++i)
        files.push_back(WriteFile("piece" + std::to_string(i) + ".txt", "contenu " + names[i]));
    Lines body = Sent("pièces", files);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string& listed = body[body.size() - names.size() + i];
        std::filesystem::rename(y.Received() / listed, y.Received() / names[i]);
        listed = names[i];
    }
    ASSERT_TRUE(Receive(y, body).ok);
    ASSERT_EQ(y->messages.decrypted.attachments.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(y->messages.decrypted.attachments[i], data / ("_" + names[i]));
        EXPECT_EQ(y->messages.decrypted.notices[i],
                  (Notice{txt::kAttachmentRenamed, "_" + names[i]}));
    }
    for (const std::string& name : names)
        EXPECT_EQ(ReadWholeFile(data / name), before[name]) << name;
}

TEST_F(Verification, AFolderCutShortByANulHasNoFreeName) {
    // A folder setting cut short by a NUL: every name looks taken.
    const std::string cut = root.path().string() + std::string(1, '\0') + "x";
    const Lines body = Sent("nul", {WriteFile("a.txt", "aaa")});
    y->settings.decryptedFilesFolder = cut;
    ASSERT_TRUE(Receive(y, body).ok);
    EXPECT_TRUE(y->messages.decrypted.attachments.empty());
    EXPECT_EQ(y->messages.decrypted.notices, (std::vector<Notice>{{txt::kNoFreeName, "a.txt"}}));
    x->settings.sentEncryptedFolder = cut;
    const test::Encryption r = Encrypt(x, y, "nul", false, {WriteFile("a.txt", "aaa")});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.problem.text, txt::kNoFreeName);
    EXPECT_TRUE(x->messages.encryptedAttachments.empty());
}

TEST_F(Verification, AttachmentsThatCannotBeReadOrNamedOrWrittenAndTextsThatCannotBeCondensed) {
    const auto good = WriteFile("bon.txt", "ok");
    ExpectRefused(Encrypt(x, y, "absent", false, {good, root.path() / "absent.txt"}),
                  txt::kCannotOpenFile, (root.path() / "absent.txt").string());
    ExpectRefused(Encrypt(x, y, "dossier", false, {good, root.path()}), txt::kCannotOpenFile,
                  root.path().string());
    // "✓" has no code page 1252 byte: the name could not travel in the body.
    const auto tick = WriteFile("r\xC3\xA9sum\xC3\xA9\xE2\x9C\x93.txt", "x");
    ExpectRefused(Encrypt(x, y, "nom", false, {good, tick}), txt::kAttachmentNameRefused,
                  DisplayName(tick.filename()));
    EXPECT_EQ(DisplayName(tick).substr(DisplayName(tick).size() - 11), "r\xE9sum\xE9?.txt");
    // Names the receiver would cut, trim, split or read as the end marker.
    for (const std::string& name :
         {std::string("deux\nlignes.txt"), std::string("fin.txt "), std::string("fin.txt\t"),
          std::string(" d\xC3\xA9"
                      "but.txt"),
          std::string("a\\b.txt"),
          std::string("x\x1B"
                      ".txt"),
          std::string(32, '0')}) {
        const auto bad = WriteFile(name, "x");
        ExpectRefused(Encrypt(x, y, "nom", false, {good, bad}), txt::kAttachmentNameRefused,
                      DisplayName(bad.filename()));
    }
    // Readable where it is, but too long a name for the temporary file of an
    // atomic write in the sent folder: what was written already goes again.
    const auto longName = root.path() / std::string(250, 'n');
    std::ofstream(longName) << "trop long";
    ExpectRefused(Encrypt(x, y, "écriture", false, {good, longName}), txt::kFileSaveFailed,
                  DisplayName(x.Sent() / std::string(250, 'n')));
    // 16 bytes in a row that are no cipher block, wherever they fall.
    ExpectRefused(Encrypt(x, y, std::string(40, '\0')), txt::kTextNotCondensable);
    ExpectRefused(Encrypt(x, y, "abc" + std::string(40, '\xFF')), txt::kTextNotCondensable);
    EXPECT_TRUE(Encrypt(x, y, "nom", false, {WriteFile(std::string(31, '0'), "x")}).ok);
}

TEST_F(Verification, RecordsThatDoNotCheckAndAMissingOwnKeyOrRecipient) {
    // A record whose check still holds, issued with a date in another form.
    Record& r = x->correspondents.a[0];
    const Record issued = r;
    r[10] = "2026-03-01";
    OwnKey u;
    ASSERT_TRUE(OwnUnwrappingKey(x->keyStore, '0', u));
    Quad digest{};
    ASSERT_TRUE(CondenseText(ConcatenatedLines(r, 11), digest));
    r[12] = QuadToHex(ta::Wrap(ta::Wrap(digest, E(HexToQuad(r[11]), *u.key)), *u.key));
    ExpectRefused(Encrypt(x, y, "date"), txt::kNotADate, "2026-03-01");
    // An altered record names its list file.
    r = issued;
    r[0] = "DURAND";
    ExpectRefused(Encrypt(x, y, "altéré"), txt::kFileAltered, "QuarnelTitA.dat");
    // Fields of a D or F record read as an A record fail the check too.
    x->messages.recipientRecord = Record(17, std::string(32, 'A'));
    ExpectRefused(EncryptForChosen(x, "mauvaise liste"), txt::kFileAltered, "QuarnelTitA.dat");
    x->messages.recipientRecord.clear();
    x->messages.recipientCategory = 0;
    ExpectRefused(EncryptForChosen(x, "personne"), txt::kNoRecipient);
    r = issued;
    x->ownDigit = '1';  // one record only: digit 0
    ExpectRefused(Encrypt(x, y, "sans clef"), txt::kNoOwnKeyForMessage);
    x->ownDigit = '0';
    x->keyStore.clear();
    ExpectRefused(Encrypt(x, y, "sans clef"), txt::kNoOwnKeyForMessage);
}

TEST(RecordDates, OnlyRealDatesInTheRecordForm) {
    EXPECT_EQ(ParseDateText("05/12/2026"), OleFromLocal({2026, 12, 5, 0, 0, 0, 0}));
    EXPECT_EQ(ParseDateText("29/02/2028"), OleFromLocal({2028, 2, 29, 0, 0, 0, 0}));
    for (const char* bad :
         {"29/02/2026", "31/04/2026", "00/01/2026", "01/13/2026", "5/12/2026", "05-12-2026",
          "05/12/26", " 05/12/2026", "05/12/2026 ", "", "0a/12/2026", "01/01/0000"}) {
        EXPECT_FALSE(ParseDateText(bad)) << bad;
    }
}

}  // namespace
}  // namespace quarnel
