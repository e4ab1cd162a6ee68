// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_view.h"

#include "app/language.h"
#include "app/texts.h"
#include "authority/texts.h"
#include "resources/texts.h"
#include "store/record_list.h"

namespace quarnel {

MainView InitialView() {
    MainView v;
    v.Enable(Command::Exit, true);
    v.Enable(Command::Options, true);
    v.Enable(Command::Help, true);
    return v;
}

StateFacts FactsOf(const HolderContext& ctx, const MailState& mail) {
    StateFacts f = FactsOf(ctx, mail.outgoingQueue.empty());
    f.languageChanged = f.programState == ProgramState::VersionChanged && StoredVersionIsOurs(ctx);
    return f;
}

MainView EvaluateState(const MainView& current, const StateFacts& facts, CommandRules rules) {
    MainView v = current;
    for (std::size_t i = 0; i < kCommandCount; ++i) {
        if (const std::optional<bool> on = rules[i].enabledIn(facts)) v.enabled[i] = *on;
    }
    switch (facts.programState) {
        case ProgramState::NotInitialised:
            v.focus = Command::Options;
            v.information = txt::kNotInitialised;
            break;
        case ProgramState::NotAffiliated:
            v.focus = Command::Options;
            v.information = txt::kInitialisationToResume;
            break;
        case ProgramState::Affiliated:
            v.optionsCaptionIsOptions = true;
            if (facts.anyCorrespondent) {
                v.focus = Command::Correspondents;
            } else {
                v.focus = Command::NewKeys;
                if (v.information != txt::kAffiliationConfirmed) v.information = txt::kAskForKeys;
            }
            if (facts.queueEmpty) {
                if (v.information == txt::kMessagesToSend) v.information = txt::kIdle;
            } else {
                v.information = txt::kMessagesToSend;
            }
            break;
        case ProgramState::VersionChanged:
        case ProgramState::SettingsAltered:
        case ProgramState::UpdateNecessary:
            v.optionsCaptionIsOptions = true;
            v.focus = Command::AffiliationUpdate;
            if (facts.programState == ProgramState::VersionChanged)
                v.information =
                    facts.languageChanged ? txt::kLanguageChanged : txt::kVersionChanged;
            if (facts.programState == ProgramState::UpdateNecessary)
                v.information = txt::kUpdateNeeded;
            break;
    }
    if (facts.busy) {
        for (std::size_t i = 0; i < kCommandCount; ++i) {
            if (rules[i].disabledWhileBusy) v.enabled[i] = false;
        }
    }
    return v;
}

bool CanRun(Command command, const MainView& view, bool busy, const CommandRule& rule) {
    return view.Enabled(command) && !(busy && rule.blockedWhileBusy);
}

void FreeWorkingLists(HolderContext& ctx, AuthorityState& authority, MailState& mail,
                      const std::function<void(const RecordList&)>& wiped) {
    WipeRecordList(ctx.keyStore);
    if (wiped) wiped(ctx.keyStore);
    FreeRecordList(ctx.keyStore, false);
    FreeRecordList(ctx.correspondents.f, false);
    FreeRecordList(ctx.correspondents.d, false);
    FreeRecordList(ctx.correspondents.a, false);
    mail.receivedLog.Clear();
    FreeRecordList(mail.outgoingQueue, false);
    mail.sentLog.Clear();
    ctx.settings.identity.clear();
    authority.Clear();
}

}  // namespace quarnel
