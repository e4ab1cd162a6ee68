#include "app/options.h"

#include "holder/program_state.h"

#include "crypto/own_keys.h"
#include "crypto/secret.h"

namespace quarnel {

OkState UpdateOk(const OptionsFields& f) {
    // A category, the eight clicks, every field and working folder, and a
    // proxy with both its address and its port or neither.
    const bool complete = f.categoryChosen && f.clickCounter == 0 && !f.taAddressEmpty &&
                          !f.smtpEmpty && !f.pop3Empty && !f.accountEmpty && !f.passwordEmpty &&
                          !f.anyWorkingFolderEmpty && f.proxyAddressEmpty == f.proxyPortEmpty;
    if (!complete) return {.ok = false, .enableAnnuler = true, .ports = PortButtons::Unchanged};
    return {.ok = true,
            .enableAnnuler = false,
            .ports = f.proxyAddressEmpty ? PortButtons::Free : PortButtons::Forced80};
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
