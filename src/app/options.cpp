#include "app/options.h"

#include "holder/program_state.h"

#include "crypto/cp1252.h"
#include "crypto/own_keys.h"
#include "crypto/secret.h"

namespace quarnel {

OkState UpdateOk(const OptionsFields& f) {
    // A category, the eight clicks, every field and working folder, and a
    // proxy with both its address and its port or neither.
    std::vector<OkMissing> missing;
    const std::pair<bool, OkMissing> checks[] = {
        {!f.categoryChosen, OkMissing::Category},
        {f.clickCounter != 0, OkMissing::Clicks},
        {f.taAddressEmpty, OkMissing::TaAddress},
        {f.smtpEmpty, OkMissing::Smtp},
        {f.pop3Empty, OkMissing::Pop3},
        {f.accountEmpty, OkMissing::Account},
        {f.passwordEmpty, OkMissing::Password},
        {f.anyWorkingFolderEmpty, OkMissing::Folder},
        {f.proxyAddressEmpty != f.proxyPortEmpty, OkMissing::Proxy},
    };
    for (const auto& [lacking, what] : checks) {
        if (lacking) missing.push_back(what);
    }
    if (!missing.empty()) {
        return {.ok = false,
                .enableAnnuler = true,
                .ports = PortButtons::Unchanged,
                .missing = std::move(missing)};
    }
    return {.ok = true,
            .enableAnnuler = false,
            .ports = f.proxyAddressEmpty ? PortButtons::Free : PortButtons::Forced80,
            .missing = {}};
}

std::optional<std::string> RefusedCharacter(std::string_view utf8) {
    return FirstOutsideCp1252(utf8);
}

std::optional<std::string> ChosenFolderSetting(const std::string& utf8Path, std::string& refused) {
    // Folder settings are code page 1252: a path it cannot hold would name
    // another folder.
    if (auto c = FirstOutsideCp1252(utf8Path)) {
        refused = *c;
        return std::nullopt;
    }
    return FolderSetting(std::filesystem::path(utf8Path));
}

OptionsResult ApplyOptions(HolderContext& ctx, AuthorityState& auth, const OptionsInput& in) {
    Settings& s = ctx.settings;
    const ProgramState state = ctx.programState;
    OptionsResult result;

    // Folders take their new values only now, so that Annuler leaves them.
    // Before initialisation there is no key store to move: the key folder is
    // simply set.
    for (int tag = 1; tag < kFolderCount; ++tag) {
        FolderSettingByTag(s, tag) = in.folders[std::size_t(tag)];
    }
    if (state == ProgramState::NotInitialised) {
        s.keyFolder = in.folders[0];
        if (const auto failed = CreateFolders(s)) {
            result.outcome = OptionsOutcome::FolderNotCreated;
            result.failedFolder = *failed;
            return result;
        }
    }

    s.category = in.category;
    s.taAddress = in.taAddress;
    s.taPortChoice = in.portChoice;
    s.smtpServer = in.smtpServer;
    s.pop3Server = in.pop3Server;
    s.accountName = in.accountName;
    if (!in.proxyAddress.empty()) {
        s.proxyAddress = in.proxyAddress;
        s.proxyPort = in.proxyPort;
    } else {
        s.proxyAddress = "-";
        s.proxyPort = "-";
    }

    if (!IsAffiliatedState(state)) {
        auth.pendingPassword = SecretString(*in.password);
    }

    if (state != ProgramState::NotInitialised) {
        // The keys move before the settings are written, so that the file
        // names the folder that holds them.
        if (in.keyFolderChanged && in.folders[0] != s.keyFolder) {
            switch (RelocateKeyFolder(ctx, in.folders[0])) {
                case RelocationResult::Moved:
                    break;
                case RelocationResult::Abandoned:
                    result.outcome = OptionsOutcome::Abandoned;
                    return result;
                case RelocationResult::Refused:
                    result.outcome = OptionsOutcome::KeysNotMoved;
                    result.failedFolder = PathFromSetting(in.folders[0]);
                    return result;
            }
        }
        if (in.folderChanged || in.fieldChanged || in.languageChanged || in.keyFolderChanged) {
            if (SaveSettings(ctx, SettingsPath(ctx)) == SaveResult::Aborted) {
                result.outcome = OptionsOutcome::Abandoned;
                return result;
            }
        }
    }

    if (IsAffiliatedState(state) && in.passwordChanged && !ctx.keyStore.empty()) {
        auth.pendingPassword = SecretString();
        if (StoreMailPassword(ctx.keyStore, ctx.ownDigit, *in.password)) {
            if (ctx.SaveKeyStore() == SaveResult::Aborted) {
                result.outcome = OptionsOutcome::Abandoned;
                return result;
            }
        }
    }
    return result;
}

}  // namespace quarnel
