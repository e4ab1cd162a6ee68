#include "store/holder_context.h"

#include "crypto/bignum.h"
#include "crypto/cp1252.h"
#include "crypto/random.h"
#include "crypto/secret.h"
#include "store/key_store.h"

namespace quarnel {

HolderContext::~HolderContext() {
    FreeRecordList(keyStore, true);
    WipeString(pendingPassword);
    WipeQuad(taKey);
}

std::vector<std::string> SenderIdentityFields(char category,
                                              const std::vector<std::string>& identity) {
    static constexpr std::size_t kA[] = {0, 1, 4, 5, 6, 9};
    static constexpr std::size_t kDF[] = {0, 1, 2, 3, 6, 7, 8, 11};
    std::vector<std::string> out;
    if (category == 'A' && identity.size() == 11) {
        for (const std::size_t i : kA)
            out.push_back(identity[i]);
    } else if ((category == 'D' || category == 'F') && identity.size() == 13) {
        for (const std::size_t i : kDF)
            out.push_back(identity[i]);
    }
    return out;
}

bool SettingsDigest(const std::string& ownNumber, const std::vector<std::string>& identity,
                    std::string& digest) {
    std::string text = ownNumber;
    for (const auto& line : identity)
        text += line;
    Quad d{};
    if (!CondenseText(text, d)) return false;
    digest = QuadToHex(d);
    return true;
}

std::filesystem::path PathFromSetting(const std::string& folder) {
    return std::filesystem::path(Cp1252ToUtf8(folder));
}

std::vector<std::filesystem::path> HolderContext::OwnDataFiles() const {
    const auto key = PathFromSetting(settings.keyFolder);
    return {dataFolder / "QuarnelTit.ini",
            dataFolder / "QuarnelTit.msg",
            key / kKeyStoreFileName,
            key / CorrespondentFileName('A'),
            key / CorrespondentFileName('D'),
            key / CorrespondentFileName('F'),
            PathFromSetting(settings.sentEncryptedFolder) / "MsgChifS.dat",
            PathFromSetting(settings.receivedEncryptedFolder) / "MsgChifE.dat"};
}

std::filesystem::path HolderContext::KeyStorePath() const {
    return PathFromSetting(settings.keyFolder) / kKeyStoreFileName;
}

SaveResult HolderContext::SaveKeyStore() const {
    return SaveRecordList(keyStore, KeyStorePath(), onSaveFailure);
}

}  // namespace quarnel
