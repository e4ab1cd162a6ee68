// SPDX-License-Identifier: GPL-3.0-or-later
#include "holder_folder.h"

#include <iostream>
#include <system_error>

#include "crypto/cp1252.h"
#include "holder/settings.h"
#include "holder/startup.h"
#include "store/key_store.h"
#include "tool_support.h"

namespace quarnel::tool {
namespace {

// No one to ask: a missing key store is not waited for, altered files are
// told on standard error.
class ToolStartupHost : public StartupHost {
  public:
    void ApplyLanguage() override {}
    bool RetryMissingFile(const std::filesystem::path&) override { return false; }
    void ReportAltered(const std::string& fileName) override {
        std::cerr << "quarnel-tool: warning: " << fileName << " is altered\n";
    }
    void ReportExposedFolder(const ExposedFolder& exposed) override {
        static constexpr const char* kWhat[] = {"the data folder", "the key folder",
                                                "the program's folder"};
        std::cerr << "quarnel-tool: warning: the working folder "
                  << Escaped(Cp1252ToUtf8(exposed.folder)) << " is " << kWhat[int(exposed.reason)]
                  << ": files from outside are never saved there under the program's names\n";
    }
};

}  // namespace

std::unique_ptr<DataFolderLock> LoadHolderFolder(const std::filesystem::path& dir,
                                                 HolderContext& ctx, FolderUse use) {
    std::error_code ec;
    std::filesystem::current_path(dir, ec);
    if (ec) throw UsageError("cannot enter the data folder " + dir.string() + ": " + ec.message());
    const std::filesystem::path data = std::filesystem::current_path();
    // Folder settings are code page 1252: another folder would be named.
    if (const std::string outside = DistinctOutsideCp1252(data.string()); !outside.empty()) {
        throw UsageError("the data folder " + data.string() + " has characters code page 1252 " +
                         "cannot hold: " + outside);
    }
    std::unique_ptr<DataFolderLock> lock;
    if (use == FolderUse::Writes) {
        lock = std::make_unique<DataFolderLock>(data);
        std::string why;
        switch (lock->Take(&why)) {
            case DataFolderLock::Result::Taken:
                break;
            case DataFolderLock::Result::Held:
                throw UsageError("the holder's program is already open on " + data.string() +
                                 " (process " + lock->otherProcess() + " on " + lock->otherHost() +
                                 "): close it first");
            case DataFolderLock::Result::Failed:
                throw UsageError("cannot lock the data folder: " + why);
        }
    }
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) program = data / "quarnel-tool";
    PrepareStartup(ctx, {program, data, true});
    ToolStartupHost host;
    const std::string where = " in " + dir.string();
    const StartupEnd end = LoadHolder(ctx, host);
    if (lock) (void)SweepHolderFolders(ctx);
    switch (end) {
        case StartupEnd::NoSettings:
            throw UsageError(std::string("no valid ") + kSettingsFileName + where);
        case StartupEnd::KeyStoreMissing:
            throw UsageError("the key store " + ctx.KeyStorePath().string() + " is missing");
        case StartupEnd::KeyStoreAltered:
            throw UsageError("the key store " + ctx.KeyStorePath().string() + " is altered");
        case StartupEnd::Completed:
            break;
    }
    switch (ctx.State()) {
        case ProgramState::Affiliated:
            return lock;
        case ProgramState::NotAffiliated:
            throw UsageError("the holder" + where + " is not affiliated yet");
        case ProgramState::SettingsAltered:
            throw UsageError(std::string(kSettingsFileName) + where +
                             " is altered: it is not what the TA sealed");
        default:
            throw UsageError("the affiliation of the holder" + where + " must be updated first");
    }
}

}  // namespace quarnel::tool
