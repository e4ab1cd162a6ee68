#include "holder/holder_context.h"

#include "crypto/cp1252.h"
#include "store/key_store.h"
#include "store/remarks.h"

namespace quarnel {

HolderContext::~HolderContext() {
    FreeRecordList(keyStore, true);
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
            key / kRemarksFileName,
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
