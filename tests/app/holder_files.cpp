#include "holder_files.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/own_keys.h"
#include "crypto/text_cipher.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"
#include "store/record_list.h"

namespace quarnel::test {

Settings SampleSettings(char category, const std::filesystem::path& data) {
    Settings s;
    s.language = 1;
    s.category = category;
    s.taCode = "0FF";
    s.taAddress = "ta.example.org";
    s.taPortChoice = 'A';
    s.smtpServer = "smtp.example.org";
    s.pop3Server = "pop.example.org";
    s.accountName = "jdupont";
    s.proxyAddress = "-";
    s.proxyPort = "-";
    const std::string base = FolderSetting(data);
    s.keyFolder = base;
    s.msgToSendFolder = base + "A chiffrer/";
    s.filesToSendFolder = base + "A chiffrer/";
    s.sentEncryptedFolder = base + "Chiffr\xE9s envoy\xE9s/";
    s.receivedEncryptedFolder = base + "Chiffr\xE9s re\xE7us/";
    s.decryptedMsgFolder = base +
                           "D\xE9"
                           "chiffr\xE9s/";
    s.decryptedFilesFolder = base +
                             "D\xE9"
                             "chiffr\xE9s/";
    s.certificatesFolder = base + "Certificats/";
    s.versionCode = "D400F";
    if (category == 'A') {
        s.identity = {"DUPONT", "jean",   "1 rue des Lilas",   "75001", "PARIS",
                      "-",      "FRANCE", "+33 1 23 45 67 89", "-",     "jean.dupont@example.org",
                      "x"};
    } else {
        s.identity = {category == 'D' ? "AVOCAT" : "ACME",
                      "-",
                      "DUPONT",
                      "jean",
                      "1 rue des Lilas",
                      "75001",
                      "PARIS",
                      "-",
                      "FRANCE",
                      "+33 1 23 45 67 89",
                      "-",
                      "jean.dupont@example.org",
                      "x"};
    }
    return s;
}

Quad InverseKey(const Quad& key) {
    // value^(p - 2) modulo p, p = 2^127 - 1: p - 2 has all bits 0..126 set
    // except bit 1.
    const Quad v = SplitBlock(key).value;
    Quad result{1, 0, 0, 0};
    Quad power = v;
    for (int bit = 0; bit < 127; ++bit) {
        if (bit != 1) result = MulModP(result, power);
        power = MulModP(power, power);
    }
    return JoinBlock(result, true);
}

Record SealedOwnRecord(const std::string& number, const std::vector<std::string>& identity,
                       char registered) {
    const Quad taKey = HexToQuad("93DB583C8583C4BB439417591AD681EE");
    const std::string line2 = "8031B25D6E8863A9C64CDFC2D8EDECFB";
    RecordList store{Record{number, QuadToHex(taKey), line2}};
    OwnKey signing;
    EXPECT_TRUE(OwnSigningKey(store, '0', signing));
    // The TA enciphers with the key whose inverse is the signing key.
    const Quad sealKey = InverseKey(signing.key);
    std::string digestHex;
    EXPECT_TRUE(SettingsDigest(number, identity, digestHex));
    const Quad digest = HexToQuad(digestHex);
    Record& own = store.back();
    own.push_back(QuadToHex(CipherBlock(digest, sealKey, Direction::Encipher)));
    Lines header;
    EXPECT_TRUE(EncipherText("D400F", '0', registered, header, digest, sealKey, "", 45000.5));
    own.insert(own.end(), header.begin(), header.end());
    RecordSeal seal;
    EXPECT_TRUE(ReadRecordSeal(store, signing.key, seal));
    EXPECT_EQ(seal.sealed, digestHex);
    return own;
}

Record CorrespondentRecord(char category, const std::string& number) {
    const auto layout = *LayoutFor(category);
    Record r(layout.lineCount, "x");
    r[layout.numberLine] = number;
    for (std::size_t i = layout.firstKeyLine; i < layout.lineCount; ++i) {
        r[i] = "0123456789ABCDEF0123456789ABCDEF";
    }
    return r;
}

HolderFiles::HolderFiles(char category) : settings(SampleSettings(category, dir_.path())) {}

void HolderFiles::WriteSettings() const {
    WriteLines(kSettingsFileName, SettingsLines(settings));
}

void HolderFiles::WriteLines(const std::string& name, const std::vector<std::string>& lines) const {
    ASSERT_TRUE(WriteFileAtomically(dir_ / name, JoinLinesCrLf(lines)));
}

void HolderFiles::WriteKeyStore(const RecordList& store) const {
    WriteList("QuarnelTit.kpr", store);
}

RecordList HolderFiles::SealedStore() const {
    return RecordList{SealedOwnRecord(number, settings.identity)};
}

void HolderFiles::WriteList(const std::string& name, const RecordList& list) const {
    ASSERT_EQ(SaveRecordList(list, dir_ / name, nullptr), SaveResult::Saved);
}

}  // namespace quarnel::test
