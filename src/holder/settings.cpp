// SPDX-License-Identifier: GPL-3.0-or-later
#include "holder/settings.h"

#include <system_error>

#include "crypto/compare.h"
#include "crypto/cp1252.h"
#include "crypto/hextext.h"
#include "holder/program_state.h"
#include "holder/texts.h"
#include "protocol/identity.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"
#include "store/key_store.h"
#include "store/remarks.h"

namespace quarnel {

namespace {

bool Fail(std::string* problem, std::string why) {
    if (problem) *problem = std::move(why);
    return false;
}

bool IsDecimal(std::string_view s) {
    if (s.empty() || s.size() > 9) return false;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

bool HasCertificatesLine(std::string_view versionCode) {
    return versionCode.substr(0, kVersionWithoutCertificates.size()) != kVersionWithoutCertificates;
}

// A NUL cuts a folder path short, and any control character is a damaged
// file: no line of the settings holds one.
bool HasControlCharacter(std::string_view line) {
    for (const char c : line) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) return true;
    }
    return false;
}

// Lines after the identity: language to version code.
constexpr std::size_t kTailLines = 19;

}  // namespace

bool ParseSettings(const std::vector<std::string>& lines, Settings& out, std::string* problem) {
    if (lines.size() < 11) return Fail(problem, "fewer than 11 lines");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (HasControlCharacter(lines[i])) {
            return Fail(problem, "line " + std::to_string(i + 1) + " holds a control character");
        }
    }
    if (!IsHexText(lines.back(), 5)) {
        return Fail(problem, "the last line is not a version code of 5 upper-case digits");
    }
    Settings s;
    s.versionCode = lines.back();
    const bool certificates = HasCertificatesLine(s.versionCode);
    const std::size_t tail = certificates ? kTailLines : kTailLines - 1;
    if (lines.size() < tail) return Fail(problem, "too few lines for the settings");

    std::size_t next = lines.size() - 1;  // the version code is taken
    auto take = [&]() -> const std::string& { return lines[--next]; };
    if (certificates) s.certificatesFolder = take();
    s.decryptedFilesFolder = take();
    s.decryptedMsgFolder = take();
    s.receivedEncryptedFolder = take();
    s.sentEncryptedFolder = take();
    s.filesToSendFolder = take();
    s.msgToSendFolder = take();
    s.keyFolder = take();
    s.proxyPort = take();
    s.proxyAddress = take();
    s.accountName = take();
    s.pop3Server = take();
    s.smtpServer = take();
    const std::string& portChoice = take();
    s.taAddress = take();
    s.taCode = take();
    const std::string& category = take();
    const std::string& language = take();
    if (portChoice.empty()) return Fail(problem, "the port choice line is empty");
    if (category.empty()) return Fail(problem, "the category line is empty");
    if (!IsDecimal(language)) return Fail(problem, "the language line is not a decimal number");
    s.taPortChoice = portChoice[0];
    s.category = category[0];
    s.language = std::stoi(language) == 1 ? 1 : 0;

    s.identity.assign(lines.begin(), lines.begin() + std::ptrdiff_t(next));
    const std::size_t want = IdentityLineCount(s.category);
    if (want != 0 && s.identity.size() != want) {
        return Fail(problem, "the identity has " + std::to_string(s.identity.size()) +
                                 " lines instead of " + std::to_string(want));
    }
    out = std::move(s);
    return true;
}

std::vector<std::string> SettingsLines(const Settings& s) {
    std::vector<std::string> lines = s.identity;
    auto letter = [](char c) { return c ? std::string(1, c) : std::string(); };
    lines.push_back(std::to_string(s.language));
    lines.push_back(letter(s.category));
    lines.push_back(s.taCode);
    lines.push_back(s.taAddress);
    lines.push_back(letter(s.taPortChoice));
    lines.push_back(s.smtpServer);
    lines.push_back(s.pop3Server);
    lines.push_back(s.accountName);
    lines.push_back(s.proxyAddress);
    lines.push_back(s.proxyPort);
    for (int tag = 0; tag < kFolderCount; ++tag) {
        if (tag == 7 && !HasCertificatesLine(s.versionCode)) continue;
        lines.push_back(FolderSettingByTag(s, tag));
    }
    lines.push_back(s.versionCode);
    return lines;
}

std::filesystem::path SettingsPath(const HolderContext& ctx) {
    return ctx.dataFolder / kSettingsFileName;
}

bool LoadSettings(HolderContext& ctx, const std::filesystem::path& path, std::string* problem) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return Fail(problem, "the file is missing or unreadable");
    Settings s;
    if (!ParseSettings(SplitLines(*bytes), s, problem)) return false;
    ctx.settings = std::move(s);
    DeriveIdentityValues(ctx);
    return true;
}

SaveResult SaveSettings(const HolderContext& ctx, const std::filesystem::path& path) {
    if (ctx.settings.identity.empty()) return SaveResult::Saved;
    const std::vector<std::string> lines = SettingsLines(ctx.settings);
    for (const auto& line : lines) {
        // A line break inside a value would shift every line read from the
        // end, and the file could not be read back with any control character.
        if (HasControlCharacter(line)) return SaveResult::Refused;
    }
    return SaveBytesWithRetry(path, JoinLinesCrLf(lines), ctx.Hooks().onSaveFailure);
}

void DeriveIdentityValues(HolderContext& ctx) {
    const auto& id = ctx.settings.identity;
    ctx.displayName.clear();
    ctx.firmText.clear();
    ctx.email.clear();
    const std::size_t count = IdentityLineCount(ctx.settings.category);
    if (count == 0 || id.size() != count) return;
    if (ctx.settings.category == 'A') {
        ctx.displayName = id[0] + " " + id[1];
        ctx.email = id[9];
    } else {
        ctx.displayName = id[2] + " " + id[3];
        ctx.firmText = id[1] == "-" ? id[0] : id[0] + ", " + id[1];
        ctx.email = id[11];
    }
}

bool CheckSettingsDigest(const HolderContext& ctx, std::string_view expected) {
    std::string digest;
    return SettingsDigest(ctx.ownNumber, ctx.settings.identity, digest) &&
           EqualDigests(digest, expected);
}

std::string FolderSetting(const std::filesystem::path& folder) {
    const std::string utf8 = folder.string();
    std::string out;
    if (!Utf8ToCp1252(utf8, out)) {
        // Keep what the code page can hold; mark the rest.
        out.clear();
        for (std::size_t i = 0; i < utf8.size();) {
            const unsigned char lead = static_cast<unsigned char>(utf8[i]);
            const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            std::string one;
            out += Utf8ToCp1252(utf8.substr(i, n), one) ? one : std::string("?");
            i += n;
        }
    }
    if (out.empty() || out.back() != '/') out += '/';
    return out;
}

std::string& FolderSettingByTag(Settings& s, int tag) {
    return const_cast<std::string&>(FolderSettingByTag(static_cast<const Settings&>(s), tag));
}

const std::string& FolderSettingByTag(const Settings& s, int tag) {
    switch (tag) {
        case 0:
            return s.keyFolder;
        case 1:
            return s.msgToSendFolder;
        case 2:
            return s.filesToSendFolder;
        case 3:
            return s.sentEncryptedFolder;
        case 4:
            return s.receivedEncryptedFolder;
        case 5:
            return s.decryptedMsgFolder;
        case 6:
            return s.decryptedFilesFolder;
        default:
            return s.certificatesFolder;
    }
}

FolderSettings FoldersOf(const Settings& settings) {
    FolderSettings folders;
    for (int tag = 0; tag < kFolderCount; ++tag)
        folders[std::size_t(tag)] = FolderSettingByTag(settings, tag);
    return folders;
}

namespace {

// The folder as the file system resolves it, without a trailing separator.
std::filesystem::path Resolved(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(folder, ec);
    if (ec) p = std::filesystem::absolute(folder, ec);
    p = p.lexically_normal();
    if (!p.has_filename() && p.has_parent_path() && p != p.root_path()) p = p.parent_path();
    return p;
}

}  // namespace

std::optional<ExposedFolder> FirstExposedFolder(const FolderSettings& folders,
                                                const std::filesystem::path& dataFolder,
                                                const std::filesystem::path& programFolder) {
    std::vector<std::pair<std::filesystem::path, ExposedReason>> guarded;
    if (!dataFolder.empty()) guarded.emplace_back(Resolved(dataFolder), ExposedReason::DataFolder);
    if (!folders[0].empty()) {
        guarded.emplace_back(Resolved(PathFromSetting(folders[0])), ExposedReason::KeyFolder);
    }
    if (!programFolder.empty()) {
        guarded.emplace_back(Resolved(programFolder), ExposedReason::ProgramFolder);
    }
    for (const int tag : {3, 4, 5, 6}) {
        const std::string& folder = folders[std::size_t(tag)];
        if (folder.empty()) continue;
        const std::filesystem::path p = Resolved(PathFromSetting(folder));
        for (const auto& [g, reason] : guarded) {
            if (p == g) return ExposedFolder{tag, folder, reason};
        }
    }
    return std::nullopt;
}

void SetDefaultFolders(HolderContext& ctx) {
    const std::string data = FolderSetting(ctx.dataFolder);
    auto under = [&](int text) { return data + CurrentText(ctx, text) + "/"; };
    Settings& s = ctx.settings;
    s.keyFolder = data;
    s.msgToSendFolder = under(txt::kFolderToEncrypt);
    s.filesToSendFolder = under(txt::kFolderToEncrypt);
    s.sentEncryptedFolder = under(txt::kFolderEncryptedSent);
    s.receivedEncryptedFolder = under(txt::kFolderEncryptedReceived);
    s.decryptedMsgFolder = under(txt::kFolderDecrypted);
    s.decryptedFilesFolder = under(txt::kFolderDecrypted);
    s.certificatesFolder = under(txt::kFolderCertificates);
}

std::optional<std::filesystem::path> CreateFolders(const Settings& settings) {
    for (int tag = 1; tag < kFolderCount; ++tag) {
        std::string folder = FolderSettingByTag(settings, tag);
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        if (folder.empty()) continue;
        const std::filesystem::path path = PathFromSetting(folder);
        if (!CreatePrivateFolders(path)) return path;
    }
    return std::nullopt;
}

bool ReadTaParameterCandidate(const std::filesystem::path& file, TaParameters& out,
                              std::string* problem) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return Fail(problem, "cannot read " + file.string());
    if (size > kMaxTaParameterFileSize) {
        return Fail(problem, file.string() + " is larger than " +
                                 std::to_string(kMaxTaParameterFileSize) + " bytes");
    }
    return ReadTaParameterFile(file, out, problem);
}

std::vector<std::filesystem::path> TaParameterFolders(const HolderContext& ctx) {
    std::vector<std::filesystem::path> folders{ctx.programFolder};
    std::error_code ec;
    if (!ctx.dataFolder.empty() &&
        !std::filesystem::equivalent(ctx.programFolder, ctx.dataFolder, ec))
        folders.push_back(ctx.dataFolder);
    return folders;
}

bool ReadTaParameters(const std::vector<std::filesystem::path>& folders, TaParameters& out,
                      std::string* problem) {
    for (const std::filesystem::path& folder : folders) {
        if (const auto file = FindTaParameterFile(folder))
            return ReadTaParameterCandidate(*file, out, problem);
    }
    std::string where;
    for (const std::filesystem::path& folder : folders)
        where += (where.empty() ? "" : ", ") + folder.string();
    return Fail(problem, "no QuarnelTaPr.* file in " + where);
}

std::optional<std::filesystem::path> InstallTaParameterFile(const HolderContext& ctx,
                                                            const std::filesystem::path& file,
                                                            std::string* problem) {
    TaParameters checked;
    if (!ReadTaParameterCandidate(file, checked, problem)) return std::nullopt;
    const auto bytes = ReadWholeFile(file);
    if (!bytes) {
        (void)Fail(problem, "cannot read " + file.string());
        return std::nullopt;
    }
    // The bytes copied are checked themselves: the file may change between
    // the two reads.
    TaParameters copied;
    if (!ParseTaParameters(SplitLines(*bytes), copied, problem)) return std::nullopt;
    const std::filesystem::path target = ctx.dataFolder / file.filename();
    if (!WriteFileAtomically(target, *bytes, problem)) return std::nullopt;
    return target;
}

KeptFiles KeepFilesBeforeInitialisation(const HolderContext& ctx) {
    KeptFiles result;
    if (ctx.State() != ProgramState::NotInitialised) return result;
    for (const std::filesystem::path& file : {ctx.KeyStorePath(), SettingsPath(ctx)}) {
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) continue;
        std::string why;
        if (const auto kept = KeepUnderDatedName(file, "old", &why)) {
            result.kept.push_back(*kept);
        } else {
            result.failed = file;
            result.reason = why;
            return result;
        }
    }
    return result;
}

RelocationResult RelocateKeyFolder(HolderContext& ctx, const std::string& newFolder,
                                   const std::function<bool()>& commit) {
    namespace fs = std::filesystem;
    const fs::path oldDir = PathFromSetting(ctx.settings.keyFolder);
    const fs::path newDir = PathFromSetting(newFolder);
    std::error_code ec;
    if (!fs::is_directory(newDir, ec)) return RelocationResult::Refused;
    const std::string oldFolder = ctx.settings.keyFolder;
    if (fs::equivalent(oldDir, newDir, ec) || ctx.keyStore.empty()) {
        ctx.settings.keyFolder = newFolder;
        if (commit && !commit()) {
            ctx.settings.keyFolder = oldFolder;
            return RelocationResult::Abandoned;
        }
        return RelocationResult::Moved;
    }
    // Never write over somebody's key store.
    if (fs::exists(newDir / kKeyStoreFileName, ec)) return RelocationResult::Refused;

    std::vector<fs::path> written;
    std::vector<fs::path> toDelete;
    auto undo = [&] {
        for (const auto& p : written)
            fs::remove(p, ec);
        return RelocationResult::Abandoned;
    };
    const fs::path newStore = newDir / kKeyStoreFileName;
    if (SaveRecordList(ctx.keyStore, newStore, ctx.Hooks().onSaveFailure) != SaveResult::Saved) {
        return undo();
    }
    written.push_back(newStore);
    toDelete.push_back(oldDir / kKeyStoreFileName);
    for (const std::string& name : {CorrespondentFileName('A'), CorrespondentFileName('D'),
                                    CorrespondentFileName('F'), std::string(kRemarksFileName)}) {
        const auto bytes = ReadWholeFile(oldDir / name);
        if (!bytes) continue;
        // The file as it is: a list found altered at start-up is empty in
        // memory, but its file must not be lost.
        if (SaveBytesWithRetry(newDir / name, *bytes, ctx.Hooks().onSaveFailure) !=
            SaveResult::Saved) {
            return undo();
        }
        written.push_back(newDir / name);
        toDelete.push_back(oldDir / name);
    }
    ctx.settings.keyFolder = newFolder;
    if (commit && !commit()) {
        ctx.settings.keyFolder = oldFolder;
        return undo();
    }
    for (const auto& p : toDelete)
        fs::remove(p, ec);
    return RelocationResult::Moved;
}

}  // namespace quarnel
