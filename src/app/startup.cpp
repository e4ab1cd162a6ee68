// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/texts.h"
#include "holder/preferences.h"
#include "holder/program_state.h"
#include "mail/mailbox.h"
#include "resources/texts.h"

namespace quarnel {

StartupEnd RunStartup(HolderContext& ctx, MailState& mail, StartupHost& host) {
    mail.queueMode = false;
    const PreferencesLoad preferences = LoadPreferences(ctx.dataFolder, ctx.preferences);
    const StartupEnd end = LoadHolder(ctx, host);
    // The run holds the data folder's lock (main takes it first): what a
    // crash of an earlier run left is nobody's.
    (void)SweepHolderFolders(ctx);
    if (end != StartupEnd::Completed) {
        // A newcomer (or a holder whose key store is gone) learns at once
        // that the set-up is still to do.
        SetInformation(ctx, txt::kNotInitialised);
        return end;
    }
    // The queue carries no integrity check: what was read is kept. The logs
    // are read when a window needs them, so that a long history costs the
    // start nothing.
    std::error_code ec;
    const std::filesystem::path queue = ctx.dataFolder / "QuarnelTit.msg";
    if (IsAffiliatedState(ctx.State()) && std::filesystem::exists(queue, ec))
        (void)LoadRecordList(queue, mail.outgoingQueue);
    if (IsAffiliatedState(ctx.State())) BeginReadMarks(ctx, mail.receivedLog);
    // Defaults hold; the file stays as it is until the holder saves the options.
    if (preferences == PreferencesLoad::Damaged) host.ReportAltered(kPreferencesFileName);
    SetInformation(ctx, txt::kIdle);
    return end;
}

}  // namespace quarnel
