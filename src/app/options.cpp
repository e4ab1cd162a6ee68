// SPDX-License-Identifier: GPL-3.0-or-later
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
                .enableCancel = true,
                .ports = PortButtons::Unchanged,
                .missing = std::move(missing)};
    }
    return {.ok = true,
            .enableCancel = false,
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
    const ProgramState state = ctx.State();
    OptionsResult result;

    // The change is made on a copy, taken only once every part of it holds:
    // a refused or abandoned step leaves the settings as they were.
    const Settings before = ctx.settings;
    Settings next = ctx.settings;
    for (int tag = 1; tag < kFolderCount; ++tag) {
        FolderSettingByTag(next, tag) = in.folders[std::size_t(tag)];
    }
    next.category = in.category;
    next.taAddress = in.taAddress;
    next.taPortChoice = in.portChoice;
    next.smtpServer = in.smtpServer;
    next.pop3Server = in.pop3Server;
    next.accountName = in.accountName;
    next.proxyAddress = in.proxyAddress.empty() ? "-" : in.proxyAddress;
    next.proxyPort = in.proxyAddress.empty() ? "-" : in.proxyPort;

    if (state == ProgramState::NotInitialised) {
        // No key store to move yet: the key folder is simply set. The first
        // affiliation writes the settings.
        next.keyFolder = in.folders[0];
        if (const auto failed = CreateFolders(next)) {
            result.outcome = OptionsOutcome::FolderNotCreated;
            result.failedFolder = *failed;
            return result;
        }
        ctx.settings = std::move(next);
        auth.pendingPassword = SecretString(*in.password);
        return result;
    }

    const auto undo = [&](OptionsOutcome outcome) {
        ctx.settings = before;
        result.outcome = outcome;
        return result;
    };
    ctx.settings = std::move(next);
    const bool save =
        in.folderChanged || in.fieldChanged || in.languageChanged || in.keyFolderChanged;
    SaveResult saved = SaveResult::Saved;
    if (in.keyFolderChanged && in.folders[0] != before.keyFolder) {
        // The keys are written in their new folder, then the settings that
        // name it, and only then are the old files deleted.
        const RelocationResult moved = RelocateKeyFolder(ctx, in.folders[0], [&] {
            saved = SaveSettings(ctx, SettingsPath(ctx));
            return saved == SaveResult::Saved;
        });
        if (moved == RelocationResult::Refused) {
            result.failedFolder = PathFromSetting(in.folders[0]);
            return undo(OptionsOutcome::KeysNotMoved);
        }
        if (moved == RelocationResult::Abandoned) {
            return undo(saved == SaveResult::Refused ? OptionsOutcome::SettingsRefused
                                                     : OptionsOutcome::Abandoned);
        }
    } else if (save) {
        saved = SaveSettings(ctx, SettingsPath(ctx));
        if (saved == SaveResult::Refused) return undo(OptionsOutcome::SettingsRefused);
        if (saved == SaveResult::Aborted) return undo(OptionsOutcome::Abandoned);
    }

    if (!IsAffiliatedState(state)) {
        auth.pendingPassword = SecretString(*in.password);
    } else if (in.passwordChanged && !ctx.keyStore.empty()) {
        auth.pendingPassword = SecretString();
        // Kept so that an abandoned write leaves in memory the password the
        // file still holds: the next save must not write the new one unasked.
        RecordList keysBefore = ctx.keyStore;
        if (StoreMailPassword(ctx.keyStore, ctx.ownDigit, *in.password)) {
            if (ctx.SaveKeyStore() == SaveResult::Aborted) {
                ctx.keyStore = std::move(keysBefore);
                result.outcome = OptionsOutcome::Abandoned;
                return result;
            }
        }
    }
    return result;
}

}  // namespace quarnel
