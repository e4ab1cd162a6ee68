// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/windows/commands.h"

#include <QStringList>
#include <utility>

#include "authority/texts.h"
#include "authority/windows/form_affiliation.h"
#include "authority/windows/form_destinataire.h"
#include "authority/windows/form_tcp_ip.h"
#include "holder/settings.h"
#include "holder/texts.h"
#include "protocol/body.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

// Before the first affiliation writes the key store and the settings file,
// what an earlier set-up left there is moved aside and the holder told so.
// False when a file could not be moved: nothing may then be written.
bool KeepOldFiles(const HolderContext& ctx, QWidget& window) {
    const KeptFiles k = KeepFilesBeforeInitialisation(ctx);
    QStringList kept;
    for (const auto& p : k.kept)
        kept << QString::fromStdString(p.string());
    if (!kept.isEmpty()) Inform(&window, Tr(txt::kPreviousFilesKept, {kept.join('\n')}));
    if (!k.failed) return true;
    (void)Ask(&window, BoxIcon::Warning,
              Tr(txt::kFileNotSetAside,
                 {QString::fromStdString(k.failed->string()), QString::fromStdString(k.reason)}),
              kOk);
    return false;
}

}  // namespace

FlowHooks AuthorityCommand::Hooks() {
    FlowHooks hooks;
    hooks.runExchange = [this] {
        const std::string noteBefore = scope_.ctx.informationNote;
        const bool ok = windows_.tcpIp->RunRequestDriver(host_.Window());
        if (ok && windows_.tcpIp->LastOutcome().captionChanged) host_.RefreshNames();
        host_.ShowInformation();
        // A damaged list was kept aside by the reply's save: say where, once.
        const std::string& note = scope_.ctx.informationNote;
        if (!note.empty() && note != noteBefore) Inform(&host_.Window(), FromCp1252(note));
        return ok;
    };
    hooks.saveSettings = [this] { return SaveSettings(scope_.ctx, SettingsPath(scope_.ctx)); };
    return hooks;
}

AffiliationForm& AuthorityCommand::FormOfCategory() {
    switch (scope_.ctx.settings.category) {
        case 'A':
            return *windows_.affiliationA;
        case 'D':
            return *windows_.affiliationD;
        default:
            return *windows_.affiliationF;
    }
}

void AuthorityCommand::ReportNotBuilt(const FlowResult& result) {
    if (result.problem) {
        (void)Ask(&host_.Window(), BoxIcon::Warning, Tr(result.problem), kOk);
    }
}

bool AuthorityCommand::RunDialog(QDialog& dialog) {
    PlaceDialog(dialog, host_.Window());
    if (RunModal(dialog) != QDialog::Accepted) return false;
    host_.EvaluateState();
    return true;
}

void AffiliationCommand::Run() {
    HolderContext& ctx = scope_.ctx;
    AffiliationForm& form = FormOfCategory();
    if (ctx.State() == ProgramState::NotInitialised) {
        form.PrepareFresh();
    } else {
        form.PrepareFromIdentity();
    }
    if (!RunDialog(form)) return;
    // The holder is named from now on, whatever the exchange gives.
    ctx.applicationTitle = ctx.displayName;
    host_.RefreshNames();
    if (!KeepOldFiles(ctx, host_.Window())) return;
    ReportNotBuilt(RunFirstAffiliation(scope_, Hooks()));
    host_.RefreshNames();
}

std::optional<bool> AffiliationUpdateCommand::EnabledIn(const StateFacts& facts) {
    if (IsAffiliatedState(facts.programState)) return true;
    return std::nullopt;
}

void AffiliationUpdateCommand::Run() {
    BusyGuard busy(scope_.ctx);
    scope_.auth.firstAffiliation = false;
    scope_.auth.requestKind = Kind::Update;
    AffiliationForm& form = FormOfCategory();
    form.PrepareFromIdentity();
    if (!RunDialog(form)) return;
    host_.RefreshNames();
    ReportNotBuilt(RunAffiliationUpdate(scope_, Hooks()));
}

std::optional<bool> NewKeysCommand::EnabledIn(const StateFacts& facts) {
    if (facts.programState == ProgramState::Affiliated) return true;
    if (IsAffiliatedState(facts.programState)) return false;
    return std::nullopt;
}

void NewKeysCommand::Run() {
    BusyGuard busy(scope_.ctx);
    FormDestinataire& dialog = *windows_.destinataire;
    dialog.Prepare(FromCp1252(std::exchange(number_, {})));
    if (!RunDialog(dialog)) return;
    ReportNotBuilt(RunKeyRequest(scope_, Hooks(), dialog.Number(), false));
}

void NewKeysCommand::RunFor(const std::string& number) {
    number_ = number;
    Run();
}

void KeyUpdateCommand::RunFor(const std::string& number) {
    number_ = number;
    Run();
}

void KeyUpdateCommand::Run() {
    if (scope_.ctx.busy || number_.empty()) return;
    {
        BusyGuard busy(scope_.ctx);
        host_.EvaluateState();
        ReportNotBuilt(RunKeyRequest(scope_, Hooks(), number_, true));
    }
    host_.EvaluateState();
}

bool CertificationRequest::Send() {
    const FlowResult result = RunCertificationRequest(scope_, Hooks());
    ReportNotBuilt(result);
    return result.status == FlowStatus::Done;
}

}  // namespace quarnel::ui
