#pragma once
// Holders made from what the authority's issuing core gives them, without a
// test framework (the benchmarks use it too): their settings, working
// folders, own key record and each other's correspondent records.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "store/holder_context.h"
#include "ta/core/issuing.h"

namespace quarnel::test {

/// A folder as a folder setting: code page 1252, ending in "/".
inline std::string FolderSetting(const std::filesystem::path& folder) {
    std::string out;
    (void)Utf8ToCp1252(folder.string(), out);  // test folders are representable
    return out + "/";
}

/// The folders of a holder under `dir`, with the design's default names.
inline void SetFolders(Settings& s, const std::filesystem::path& dir) {
    s.keyFolder = FolderSetting(dir);
    s.msgToSendFolder = s.filesToSendFolder = FolderSetting(dir / "A chiffrer");
    s.sentEncryptedFolder = FolderSetting(dir / "Chiffrés envoyés");
    s.receivedEncryptedFolder = FolderSetting(dir / "Chiffrés reçus");
    s.decryptedMsgFolder = s.decryptedFilesFolder = FolderSetting(dir / "Déchiffrés");
    s.certificatesFolder = FolderSetting(dir / "Certificats");
    for (const auto* f : {&s.msgToSendFolder, &s.sentEncryptedFolder, &s.receivedEncryptedFolder,
                          &s.decryptedMsgFolder, &s.certificatesFolder}) {
        std::filesystem::create_directories(PathFromSetting(*f));
    }
}

/// An affiliate as the authority keeps it, with fresh keys.
inline ta::Affiliate NewAffiliate(char category, const std::string& number,
                                  std::vector<std::string> identity, char registrationFlag,
                                  const ta::RandomSource& random) {
    ta::Affiliate a;
    a.number = number;
    a.category = category;
    a.identity = std::move(identity);
    a.registrationFlag = registrationFlag;
    a.affiliationDate = OleFromLocal({2026, 3, 1, 9, 30, 0, 0});
    a.signingKey = ta::RandomKey(random);
    a.taKey = ta::RandomKey(random);
    return a;
}

/// The holder's context as the program holds it once affiliated (state 2),
/// its folders under `dir`.
inline std::unique_ptr<HolderContext> ContextOf(const ta::Affiliate& a,
                                                const std::filesystem::path& dir) {
    auto ctx = std::make_unique<HolderContext>();
    HolderContext& c = *ctx;
    c.dataFolder = c.programFolder = dir;
    c.settings.category = a.category;
    c.settings.taCode = "0FF";
    c.settings.versionCode = "D400F";
    c.settings.identity = a.identity;
    SetFolders(c.settings, dir);
    c.keyStore = {ta::OwnKeyRecord(a)};
    c.programState = 2;
    c.ownDigit = a.digit;
    c.ownNumber = a.number;
    c.registrationFlag = a.registrationFlag;
    c.affiliationDate = a.affiliationDate;
    return ctx;
}

/// Gives each holder the other's correspondent record for a fresh pair key.
inline void GivePairRecords(HolderContext& ca, const ta::Affiliate& a, HolderContext& cb,
                            const ta::Affiliate& b, const ta::RandomSource& random) {
    auto [aboutB, aboutA] = ta::RecordsForPair(a, b, ta::RandomKey(random));
    ca.correspondents.ForCategory(b.category)->push_back(std::move(aboutB));
    cb.correspondents.ForCategory(a.category)->push_back(std::move(aboutA));
}

}  // namespace quarnel::test
