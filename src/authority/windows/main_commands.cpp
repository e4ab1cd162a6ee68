// The main window's commands that talk to the TA: the affiliation after the
// options dialog (states 0 and 1), the affiliation update and the key
// request. The sequences themselves are authority/flows.h.

#include <QPushButton>

#include "app/settings.h"
#include "app/windows/form_titulaire.h"
#include "app/windows/message_box.h"
#include "app/windows/modal_runner.h"
#include "app/windows/window_kit.h"
#include "authority/texts.h"
#include "authority/windows/form_affiliation.h"
#include "authority/windows/form_destinataire.h"
#include "authority/windows/form_tcp_ip.h"

namespace quarnel::ui {

FlowHooks FormTitulaire::AuthorityHooks() {
    FlowHooks hooks;
    hooks.runExchange = [this](HolderContext&) {
        const bool ok = forms_.tcpIp->RunRequestDriver(*this);
        if (ok && forms_.tcpIp->LastOutcome().captionChanged) RefreshNames();
        ShowInformation();
        return ok;
    };
    hooks.saveSettings = [this] { return SaveSettings(ctx_, SettingsPath(ctx_)); };
    return hooks;
}

AffiliationForm& FormTitulaire::AffiliationFormOfCategory() {
    switch (ctx_.settings.category) {
        case 'A':
            return *forms_.affiliationA;
        case 'D':
            return *forms_.affiliationD;
        default:
            return *forms_.affiliationF;
    }
}

void FormTitulaire::ReportNotBuilt(const FlowResult& result) {
    if (result.status == FlowStatus::NotBuilt && result.problem) {
        (void)Ask(this, BoxIcon::Warning, Tr(result.problem), kOk);
    }
}

bool FormTitulaire::RunCommandDialog(QDialog& dialog) {
    PlaceDialog(dialog, *this);
    if (RunModal(dialog) == QDialog::Accepted) {
        EvaluateState();
        return true;
    }
    ctx_.busy = false;
    EvaluateState();
    return false;
}

void FormTitulaire::ContinueWithAffiliation() {
    AffiliationForm& form = AffiliationFormOfCategory();
    if (ctx_.programState == 0) {
        form.PrepareFresh();
    } else {
        form.PrepareFromIdentity();
    }
    if (!RunCommandDialog(form)) return;
    // The holder is named from now on, whatever the exchange gives.
    ctx_.applicationTitle = ctx_.displayName;
    RefreshNames();
    ReportNotBuilt(RunFirstAffiliation(ctx_, AuthorityHooks()));
    RefreshNames();
    ctx_.busy = false;
    EvaluateState();
}

void FormTitulaire::BitBtnMiseAJourClick() {
    if (!CanRun(Command::MiseAJour, view_, ctx_.busy)) return;
    ctx_.busy = true;
    ctx_.firstAffiliation = false;
    ctx_.requestKind = "01";
    AffiliationForm& form = AffiliationFormOfCategory();
    form.PrepareFromIdentity();
    if (!RunCommandDialog(form)) return;
    RefreshNames();
    ReportNotBuilt(RunAffiliationUpdate(ctx_, AuthorityHooks()));
    ctx_.busy = false;
    EvaluateState();
}

void FormTitulaire::BitBtnClefsClick() {
    if (!CanRun(Command::Clefs, view_, ctx_.busy)) return;
    ctx_.busy = true;
    FormDestinataire& dialog = *forms_.destinataire;
    dialog.Prepare();
    if (!RunCommandDialog(dialog)) return;
    ReportNotBuilt(RunKeyRequest(ctx_, AuthorityHooks(), dialog.Number(), false));
    ctx_.busy = false;
    EvaluateState();
}

}  // namespace quarnel::ui
