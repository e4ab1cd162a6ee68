#pragma once
// A holder's working folders under a test folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "crypto/cp1252.h"
#include "store/holder_context.h"

namespace quarnel::test {

/// A folder as a folder setting: code page 1252, ending in "/".
inline std::string FolderSetting(const std::filesystem::path& folder) {
    std::string out;
    EXPECT_TRUE(Utf8ToCp1252(folder.string(), out));
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

}  // namespace quarnel::test
