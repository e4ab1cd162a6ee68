// SPDX-License-Identifier: GPL-3.0-or-later
#include "holder/holder_context.h"

#include "crypto/cp1252.h"
#include "store/key_store.h"

namespace quarnel {

HolderContext::~HolderContext() {
    FreeRecordList(keyStore, true);
}

std::filesystem::path PathFromSetting(const std::string& folder) {
    return std::filesystem::path(Cp1252ToUtf8(folder));
}

const WindowHooks& HolderContext::Hooks() const {
    static const WindowHooks kNone;
    return hooks_ ? *hooks_ : kNone;
}

std::filesystem::path HolderContext::KeyStorePath() const {
    return PathFromSetting(settings.keyFolder) / kKeyStoreFileName;
}

SaveResult HolderContext::SaveKeyStore() const {
    return SaveRecordList(keyStore, KeyStorePath(), Hooks().onSaveFailure);
}

}  // namespace quarnel
