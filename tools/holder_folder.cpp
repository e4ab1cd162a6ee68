#include "holder_folder.h"

#include <iostream>
#include <system_error>

#include "crypto/hextext.h"
#include "crypto/own_keys.h"
#include "crypto/secret.h"
#include "resources/texts.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"
#include "store/key_store.h"
#include "tool_support.h"

namespace quarnel::tool {
namespace {

constexpr const char* kSettingsFile = "QuarnelTit.ini";

// The settings file read from its end: the version code, the certificates
// folder unless the version begins with "D300", the other folders and
// settings, and the identity record before them.
bool ParseSettingsFile(const std::vector<std::string>& lines, Settings& s) {
    if (lines.size() < 11 || !IsHexText(lines.back(), 5)) return false;
    std::size_t next = lines.size() - 1;
    s.versionCode = lines.back();
    const bool certificates = s.versionCode.rfind("D300", 0) != 0;
    if (lines.size() < (certificates ? 19u : 18u)) return false;
    auto take = [&]() -> const std::string& { return lines[--next]; };
    if (certificates) s.certificatesFolder = take();
    for (std::string* f :
         {&s.decryptedFilesFolder, &s.decryptedMsgFolder, &s.receivedEncryptedFolder,
          &s.sentEncryptedFolder, &s.filesToSendFolder, &s.msgToSendFolder, &s.keyFolder,
          &s.proxyPort, &s.proxyAddress, &s.accountName, &s.pop3Server, &s.smtpServer}) {
        *f = take();
    }
    const std::string port = take();
    s.taAddress = take();
    s.taCode = take();
    const std::string category = take();
    const std::string language = take();
    if (port.empty() || category.empty() || language.empty() ||
        language.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    s.taPortChoice = port[0];
    s.category = category[0];
    s.language = language == "1" ? 1 : 0;
    s.identity.assign(lines.begin(), lines.begin() + std::ptrdiff_t(next));
    const std::size_t want = s.category == 'A' ? 11 : 13;
    return s.identity.size() == want;
}

[[noreturn]] void Refuse(const std::string& why) {
    throw UsageError(why);
}

}  // namespace

void LoadHolderFolder(const std::filesystem::path& dir, HolderContext& ctx) {
    std::error_code ec;
    std::filesystem::current_path(dir, ec);
    if (ec) Refuse("cannot enter the data folder " + dir.string() + ": " + ec.message());
    ctx.dataFolder = std::filesystem::current_path();
    ctx.programFolder = ctx.dataFolder;

    const auto settings = ReadWholeFile(kSettingsFile);
    if (!settings) Refuse(dir.string() + " has no " + kSettingsFile);
    if (!ParseSettingsFile(SplitLines(*settings), ctx.settings)) {
        Refuse(std::string(kSettingsFile) + " in " + dir.string() + " is not a settings file");
    }

    LoadError error;
    if (!LoadRecordList(ctx.KeyStorePath(), ctx.keyStore, &error) || !CheckKeyStore(ctx.keyStore)) {
        Refuse("the key store " + ctx.KeyStorePath().string() + " is missing or altered");
    }
    const Record& own = ctx.OwnRecord();
    const bool versionChanged =
        ctx.settings.versionCode.substr(0, 5) != FrenchTextCp1252(txt::kVersionCode);
    switch (StartupStateFromOwnRecord(own, versionChanged)) {
        case 2:
            break;
        case 1:
            Refuse("the holder of " + dir.string() + " is not affiliated yet");
        default:
            Refuse("the affiliation of the holder of " + dir.string() + " must be updated first");
    }
    ctx.programState = 2;
    ctx.ownDigit = KeyGenerationDigit(ctx.keyStore.size());
    ctx.ownNumber = own[0];

    // The seal: the holder's registration and affiliation date, and the
    // digest of the settings the TA certified.
    OwnKey signing;
    RecordSeal seal;
    const bool opened = OwnSigningKey(ctx.keyStore, ctx.ownDigit, signing) &&
                        ReadRecordSeal(ctx.keyStore, signing.key, seal);
    WipeQuad(signing.key);
    WipeQuad(signing.taKey);
    std::string digest;
    if (!opened || !SettingsDigest(ctx.ownNumber, ctx.settings.identity, digest) ||
        digest != seal.sealed) {
        Refuse(std::string(kSettingsFile) + " in " + dir.string() +
               " is altered: it is not what the TA sealed");
    }
    ctx.registrationFlag = seal.header.field2;
    ctx.affiliationDate = seal.header.dateTime;

    const std::filesystem::path keyFolder = PathFromSetting(ctx.settings.keyFolder);
    for (const char category : {'A', 'D', 'F'}) {
        const std::filesystem::path file = keyFolder / CorrespondentFileName(category);
        if (!std::filesystem::exists(file, ec)) continue;
        RecordList& list = *ctx.correspondents.ForCategory(category);
        if (!LoadRecordList(file, list) || !CheckCorrespondentList(list, category)) {
            std::cerr << "quarnel-tool: warning: " << file.string()
                      << " is altered; its correspondents are left out\n";
            FreeRecordList(list, false);
        }
    }
}

}  // namespace quarnel::tool
