#include "holder_folder.h"

#include <iostream>
#include <system_error>

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
};

}  // namespace

void LoadHolderFolder(const std::filesystem::path& dir, HolderContext& ctx) {
    std::error_code ec;
    std::filesystem::current_path(dir, ec);
    if (ec) throw UsageError("cannot enter the data folder " + dir.string() + ": " + ec.message());
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) program = std::filesystem::current_path() / "quarnel-tool";
    PrepareStartup(ctx, {program, std::filesystem::current_path(), true});
    ToolStartupHost host;
    const std::string where = " in " + dir.string();
    switch (LoadHolder(ctx, host)) {
        case StartupEnd::NoSettings:
            throw UsageError(std::string("no valid ") + kSettingsFileName + where);
        case StartupEnd::KeyStoreMissing:
            throw UsageError("the key store " + ctx.KeyStorePath().string() + " is missing");
        case StartupEnd::KeyStoreAltered:
            throw UsageError("the key store " + ctx.KeyStorePath().string() + " is altered");
        case StartupEnd::Completed:
            break;
    }
    switch (ctx.programState) {
        case ProgramState::Affiliated:
            return;
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
