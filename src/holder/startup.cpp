// SPDX-License-Identifier: GPL-3.0-or-later
#include "holder/startup.h"

#include <set>
#include <system_error>

#include "crypto/own_keys.h"
#include "holder/program_state.h"
#include "holder/settings.h"
#include "resources/texts.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"
#include "store/key_store.h"
#include "store/record_list.h"

namespace quarnel {

namespace {

std::filesystem::path FolderOf(const std::filesystem::path& p) {
    std::filesystem::path folder = p;
    return folder.has_parent_path() ? folder.parent_path() : std::filesystem::path(".");
}

/// Reads the seal of the own record: the settings digest and the holder's
/// registration and affiliation date. False when it cannot be opened.
bool ReadOwnSeal(HolderContext& ctx, std::string& sealedDigest) {
    OwnKey signing;
    if (!OwnSigningKey(ctx.keyStore, ctx.ownDigit, signing)) return false;
    RecordSeal seal;
    const bool ok = ReadRecordSeal(ctx.keyStore, *signing.key, seal);
    signing.key.Wipe();
    signing.taKey.Wipe();
    if (!ok) return false;
    sealedDigest = seal.sealed;
    ctx.registrationFlag = seal.header.field2;
    ctx.affiliationDate = seal.header.dateTime;
    return true;
}

void LoadCorrespondentLists(HolderContext& ctx, StartupHost& host) {
    const std::filesystem::path keyFolder = PathFromSetting(ctx.settings.keyFolder);
    for (const char category : {'A', 'D', 'F'}) {
        const std::string name = CorrespondentFileName(category);
        const std::filesystem::path file = keyFolder / name;
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) continue;
        RecordList& list = *ctx.correspondents.ForCategory(category);
        if (!LoadRecordList(file, list) || !CheckCorrespondentList(list, category)) {
            host.ReportAltered(name);
            FreeRecordList(list, false);
            ctx.correspondents.MarkDamaged(category);
        }
    }
}

}  // namespace

void PrepareStartup(HolderContext& ctx, const StartupPlaces& places) {
    ctx.busy = false;
    ctx.programFile = places.programFile;
    ctx.programFolder = FolderOf(places.programFile);
    ctx.dataFolder = places.currentFolder;
    ctx.helpFile = HelpFileOf(ctx);
    ctx.appliedLocale = 0;
    state::Starting(ctx);
    ctx.settings.taPortChoice = 'A';
    ctx.paragraphFirstIndent = 80;
    ctx.paragraphRightIndent = 30;
    ctx.settings.language = places.localeIsFrench ? 1 : 0;
}

int SweepHolderFolders(const HolderContext& ctx) {
    std::vector<std::filesystem::path> folders{ctx.dataFolder};
    for (int tag = 0; tag < kFolderCount; ++tag) {
        const std::string& folder = FolderSettingByTag(ctx.settings, tag);
        if (!folder.empty()) folders.push_back(PathFromSetting(folder));
    }
    std::set<std::filesystem::path> swept;
    int removed = 0;
    for (const std::filesystem::path& folder : folders) {
        std::error_code ec;
        const std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, ec);
        if (!swept.insert(ec ? folder : canonical).second) continue;
        removed += RemoveStaleTemporaries(folder);
    }
    return removed;
}

StartupEnd LoadHolder(HolderContext& ctx, StartupHost& host) {
    if (!LoadSettings(ctx, SettingsPath(ctx))) {
        host.ApplyLanguage();
        ctx.settings.versionCode = CurrentText(ctx, txt::kVersionCode);
        return StartupEnd::NoSettings;
    }
    host.ApplyLanguage();
    if (const auto exposed =
            FirstExposedFolder(FoldersOf(ctx.settings), ctx.dataFolder, ctx.programFolder)) {
        host.ReportExposedFolder(*exposed);
    }

    const std::filesystem::path storePath = ctx.KeyStorePath();
    std::error_code ec;
    while (!std::filesystem::exists(storePath, ec)) {
        if (!host.RetryMissingFile(storePath)) return StartupEnd::KeyStoreMissing;
    }
    if (!LoadRecordList(storePath, ctx.keyStore) || !CheckKeyStore(ctx.keyStore)) {
        host.ReportAltered(kKeyStoreFileName);
        FreeRecordList(ctx.keyStore, true);
        return StartupEnd::KeyStoreAltered;
    }

    const Record& own = ctx.OwnRecord();
    const std::string programVersion = CurrentText(ctx, txt::kVersionCode);
    const bool versionChanged =
        ctx.settings.versionCode.substr(0, 5) != programVersion.substr(0, 5);
    state::Loaded(ctx, own, versionChanged);

    ctx.ownDigit = KeyGenerationDigit(ctx.keyStore.size());
    ctx.applicationTitle = ctx.displayName;
    std::string sealedDigest;
    bool sealRead = false;
    if (ctx.State() != ProgramState::NotAffiliated) {
        ctx.ownNumber = own[0];
        if (ctx.State() == ProgramState::Affiliated ||
            ctx.State() == ProgramState::VersionChanged) {
            sealRead = ReadOwnSeal(ctx, sealedDigest);
        }
    }

    // The settings must be those the TA sealed.
    if (ctx.State() == ProgramState::Affiliated &&
        !(sealRead && CheckSettingsDigest(ctx, sealedDigest))) {
        host.ReportAltered(kSettingsFileName);
        state::SettingsAltered(ctx);
    }

    if (IsAffiliatedState(ctx.State())) LoadCorrespondentLists(ctx, host);
    return StartupEnd::Completed;
}

std::filesystem::path HelpFileOf(const HolderContext& ctx) {
    return ctx.programFolder / CurrentText(ctx, txt::kHelpFile);
}

}  // namespace quarnel
