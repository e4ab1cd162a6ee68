// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/windows/form_pop3.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "holder/program_state.h"
#include "mail/mail_state.h"
#include "mail/mailbox.h"
#include "mail/pop3_texts.h"
#include "mail/windows/texts.h"
#include "mail/windows/transfer_progress.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

FormPop3::FormPop3(HolderContext& ctx, MailState& mail, QWidget* parent)
    : QuarnelDialog(ctx, "FormPop3", kHelpReceiving, parent), mail_(mail) {
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    labelAction_ = Named(new QLabel(this), "LabelAction");
    memoAction_ = Named(new QPlainTextEdit(this), "MemoAction");
    memoAction_->setReadOnly(true);
    memoAction_->document()->setDocumentMargin(2);
    memoAction_->setStyleSheet(
        QStringLiteral("QPlainTextEdit { padding-left: 2px; padding-right: 2px; }"));
    memoAction_->setMinimumSize(
        memoAction_->fontMetrics().horizontalAdvance(QString(60, QChar('x'))),
        memoAction_->fontMetrics().lineSpacing() * 14);
    outer->addWidget(labelAction_);
    outer->addWidget(memoAction_, 1);
    progress_ = new TransferProgress(this);
    outer->addWidget(progress_);
    auto* buttons = new QHBoxLayout;
    retirer_ = Named(new QPushButton(this), "BitBtnRetirer");
    dechiffrer_ = Named(new QPushButton(this), "BitBtnDechiffrer");
    annuler_ = Named(new QPushButton(this), "BitBtnAnnuler");
    aide_ = Named(new QPushButton(this), "BitBtnAide");
    buttons->addStretch();
    for (QPushButton* b : {retirer_, dechiffrer_, annuler_, aide_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    dechiffrer_->setDefault(true);
    outer->addLayout(buttons);
    connect(retirer_, &QPushButton::clicked, this, &FormPop3::RetirerClick);
    connect(dechiffrer_, &QPushButton::clicked, this, &FormPop3::DechiffrerClick);
    connect(annuler_, &QPushButton::clicked, this, &FormPop3::AnnulerClick);
    connect(aide_, &QPushButton::clicked, this, &QuarnelDialog::ShowHelp);
    Retranslate();
}

FormPop3::~FormPop3() = default;

void FormPop3::Retranslate() {
    setWindowTitle(Tr(txt::kPop3Caption));
    labelAction_->setText(Tr(txt::kActionLabel));
    retirer_->setText(Tr(txt::kCollectButton));
    dechiffrer_->setText(Tr(txt::kDecryptButton));
    annuler_->setText(Tr(txt::kCancelButton));
    aide_->setText(Tr(txt::kHelpButton));
    progress_->Retranslate();
    SetButtons(retirer_->isEnabled(), dechiffrer_->isEnabled(), annuler_->isEnabled());
}

bool FormPop3::Receiving() const {
    return retrieval_ && retrieval_->running();
}

void FormPop3::ShowReceiving(const QWidget& mainWindow) {
    Q_EMIT Opened();
    PlaceDialog(*this, mainWindow);
    memoAction_->clear();
    progress_->Clear();
    FillWaiting();
    SetButtons(true, !waiting_.empty(), true);
    (void)RunModal(*this);
    SetInformation(ctx_, txt::kIdle);
}

void FormPop3::FillWaiting() {
    ReadMarks marks;
    (void)marks.Load(ReadMarksPath(ctx_));
    std::unordered_set<std::string> logged;
    DecryptionQueue waiting;
    for (Lines& entry : UnreadMessages(mail_.receivedLog, ReceivedLogPath(ctx_), marks, logged)) {
        if (!altered_.contains(ReadMark(std::span(entry).subspan(1))))
            waiting.push_back(std::move(entry));
    }
    // Accepted but not in the log (its write failed): only here, kept.
    for (Lines& entry : waiting_) {
        if (!entry.empty() && !logged.contains(ReadMark(std::span(entry).subspan(1))))
            waiting.push_back(std::move(entry));
    }
    waiting_ = std::move(waiting);
}

MailRetrieval* FormPop3::NewUnseenRetrieval() {
    if (Receiving()) return nullptr;
    retrieval_ = std::make_unique<MailRetrieval>(ctx_, mail_, waiting_, limits_);
    return retrieval_.get();
}

void FormPop3::Log(const QString& line) {
    memoAction_->appendPlainText(line);
}

void FormPop3::LogText(int textId, const QString& detail) {
    Log(LogLine(Tr(textId), detail));
}

void FormPop3::SetButtons(bool retirer, bool dechiffrer, bool annuler) {
    retirer_->setEnabled(retirer);
    dechiffrer_->setEnabled(dechiffrer);
    annuler_->setEnabled(annuler);
    retirer_->setToolTip(retirer ? QString() : Tr(txt::kTipCollectOff));
    dechiffrer_->setToolTip(dechiffrer ? QString() : Tr(txt::kTipDecryptOff));
    annuler_->setToolTip(Receiving() ? Tr(txt::kTipCancelStops)
                         : annuler   ? QString()
                                     : Tr(txt::kTipCancelOff));
}

void FormPop3::RetirerClick() {
    if (Receiving()) return;
    if (ctx_.settings.pop3Server.empty()) {
        (void)Ask(this, BoxIcon::Warning, Tr(txt::kPop3NoServer), kOk);
        return;
    }
    SetInformation(ctx_, txt::kTransmission);
    progress_->Clear();
    retrieval_ = std::make_unique<MailRetrieval>(ctx_, mail_, waiting_, limits_);
    connect(retrieval_.get(), &MailRetrieval::logged, this,
            [this](int id, const QString& detail) { LogText(id, detail); });
    connect(retrieval_.get(), &MailRetrieval::progress, progress_, &TransferProgress::Show);
    connect(retrieval_.get(), &MailRetrieval::finished, this, &FormPop3::OnFinished);
    retrieval_->Start();
    // Annuler stops the exchange while it runs.
    if (Receiving()) SetButtons(false, false, true);
}

void FormPop3::OnFinished(const RetrievalOutcome& outcome) {
    FillWaiting();
    const bool waiting = !waiting_.empty();
    progress_->Clear();
    if (outcome.noPassword) {
        // Nothing to log in with: where to set it, and the window usable again.
        (void)Ask(this, BoxIcon::Warning, Tr(txt::kPop3NoPasswordHint), kOk);
        SetButtons(true, waiting, true);
        return;
    }
    if (!outcome.connected) {
        // Not reached: to be tried again from here.
        SetButtons(true, waiting, true);
        retirer_->setFocus();
        return;
    }
    // Stopped before the end: Retirer again. What waits stays in the received
    // log for the next opening and the mailbox: the window may close.
    SetButtons(!outcome.complete, waiting, true);
    if (waiting) {
        dechiffrer_->setFocus();
    } else if (!outcome.complete) {
        retirer_->setFocus();
    }
}

void FormPop3::DechiffrerClick() {
    if (waiting_.empty() || Receiving()) return;
    Lines entry = std::move(waiting_.front());
    waiting_.erase(waiting_.begin());
    const QString subject = FromCp1252(entry.front());
    Lines text(entry.begin() + 1, entry.end());
    LogText(txt::kPop3Decrypting);
    const BlockOutcome outcome = decrypt ? decrypt(text, subject) : BlockOutcome::Refused;
    if (outcome == BlockOutcome::Cancelled) {
        waiting_.insert(waiting_.begin(), std::move(entry));
        LogText(txt::kPop3DecryptionStopped);
        return;
    }
    if (outcome == BlockOutcome::Refused) altered_.insert(ReadMark(std::span(entry).subspan(1)));
    LogText(outcome == BlockOutcome::Taken ? txt::kPop3Decrypted : txt::kPop3Altered);
    if (waiting_.empty()) SetButtons(retirer_->isEnabled(), false, true);
}

void FormPop3::AnnulerClick() {
    if (Receiving()) {
        // Stops the exchange only: nothing is deleted, what was stored stays.
        retrieval_->Abort();
        return;
    }
    done(QDialog::Rejected);
}

void FormPop3::reject() {
    // Escape closes the window; it does not cut an exchange under way.
    if (Receiving()) return;
    AnnulerClick();
}

}  // namespace quarnel::ui
