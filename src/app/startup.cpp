#include "app/startup.h"

#include "app/texts.h"
#include "holder/program_state.h"
#include "resources/texts.h"

namespace quarnel {

namespace {

void LoadIfPresent(const std::filesystem::path& file, RecordList& list) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return;
    // Queue and logs carry no integrity check: what was read is kept.
    (void)LoadRecordList(file, list);
}

}  // namespace

StartupEnd RunStartup(HolderContext& ctx, MailState& mail, StartupHost& host) {
    mail.queueMode = false;
    const StartupEnd end = LoadHolder(ctx, host);
    // The run holds the data folder's lock (main takes it first): what a
    // crash of an earlier run left is nobody's.
    (void)SweepHolderFolders(ctx);
    if (end != StartupEnd::Completed) {
        // A newcomer (or a holder whose key store is gone) learns at once
        // that the set-up is still to do.
        SetInformation(ctx, txt::kPasInitialise);
        return end;
    }
    if (IsAffiliatedState(ctx.programState)) {
        LoadIfPresent(ctx.dataFolder / "QuarnelTit.msg", mail.outgoingQueue);
        LoadIfPresent(PathFromSetting(ctx.settings.sentEncryptedFolder) / "MsgChifS.dat",
                      mail.sentLog);
        LoadIfPresent(PathFromSetting(ctx.settings.receivedEncryptedFolder) / "MsgChifE.dat",
                      mail.receivedLog);
    }
    SetInformation(ctx, txt::kEnAttente);
    return end;
}

}  // namespace quarnel
