// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/windows/form_smtp.h"

#include <QAction>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <stdexcept>

#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "crypto/own_keys.h"
#include "holder/program_state.h"
#include "mail/mail_state.h"
#include "mail/mail_tls.h"
#include "mail/outgoing_mail.h"
#include "mail/sent_log.h"
#include "mail/smtp_client.h"
#include "mail/texts.h"
#include "mail/windows/texts.h"
#include "mail/windows/transfer_progress.h"
#include "messages/texts.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/texts.h"
#include "windowkit/viewer.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

QPlainTextEdit* Memo(QWidget* parent, const char* name) {
    auto* memo = Named(new QPlainTextEdit(parent), name);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->document()->setDocumentMargin(2);
    // Inner margins: 4 pixels left and right, 2 at the top.
    memo->setStyleSheet(
        QStringLiteral("QPlainTextEdit { padding-left: 2px; padding-right: 2px; }"));
    return memo;
}

}  // namespace

FormSmtp::FormSmtp(HolderContext& ctx, MailState& mail, QWidget* parent)
    : QuarnelDialog(ctx, "FormSmtp", kHelpSending, parent), mail_(mail) {
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    labelAction_ = Named(new QLabel(this), "LabelAction");
    memoAction_ = Memo(this, "MemoAction");
    // The addressee line may be long; the body's lines are short.
    memoAction_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memoAction_->setMinimumHeight(memoAction_->fontMetrics().lineSpacing() * 7);
    outer->addWidget(labelAction_);
    outer->addWidget(memoAction_, 1);
    progress_ = new TransferProgress(this);
    outer->addWidget(progress_);

    editSelectAll_ = ViewerAction(*this, "EditSelectAll", Qt::Key_A);
    editCopy_ = ViewerAction(*this, "EditCopy", Qt::Key_C);
    print_ = ViewerAction(*this, "Print", Qt::Key_P);
    auto* bar = new QHBoxLayout;
    labelMsg_ = Named(new QLabel(this), "LabelMsg");
    bar->addWidget(labelMsg_);
    bar->addStretch();
    bar->addWidget(ViewerButton(this, editSelectAll_, "ButtonSelection"));
    bar->addWidget(ViewerButton(this, editCopy_, "CopyButton"));
    bar->addWidget(ViewerButton(this, print_, "PrintButton"));
    outer->addLayout(bar);

    memoMsg_ = Memo(this, "MemoMsg");
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFamilies({QStringLiteral("Courier New"),
                         QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    memoMsg_->setFont(courier);
    // An encrypted line holds 32 characters, the title and names more.
    memoMsg_->setMinimumSize(memoMsg_->fontMetrics().horizontalAdvance(QString(70, QChar('0'))),
                             memoMsg_->fontMetrics().lineSpacing() * 14);
    outer->addWidget(memoMsg_, 2);

    auto* buttons = new QHBoxLayout;
    maintenant_ = Named(new QPushButton(this), "BitBtnMaintenant");
    plusTard_ = Named(new QPushButton(this), "BitBtnPlusTard");
    annuler_ = Named(new QPushButton(this), "BitBtnAnnuler");
    aide_ = Named(new QPushButton(this), "BitBtnAide");
    buttons->addStretch();
    for (QPushButton* b : {maintenant_, plusTard_, annuler_, aide_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    maintenant_->setDefault(true);
    outer->addLayout(buttons);

    connect(maintenant_, &QPushButton::clicked, this, &FormSmtp::MaintenantClick);
    connect(plusTard_, &QPushButton::clicked, this, &FormSmtp::PlusTardClick);
    connect(annuler_, &QPushButton::clicked, this, &FormSmtp::AnnulerClick);
    connect(aide_, &QPushButton::clicked, this, &QuarnelDialog::ShowHelp);
    connect(editSelectAll_, &QAction::triggered, this, &FormSmtp::EditSelectAllClick);
    connect(editCopy_, &QAction::triggered, this, &FormSmtp::EditCopyClick);
    connect(print_, &QAction::triggered, this, &FormSmtp::PrintClick);
    connect(memoMsg_, &QPlainTextEdit::copyAvailable, this, &FormSmtp::UpdateCopy);
    Retranslate();
}

FormSmtp::~FormSmtp() = default;

void FormSmtp::Retranslate() {
    setWindowTitle(Tr(txt::kSmtpCaption));
    labelAction_->setText(Tr(txt::kActionLabel));
    labelMsg_->setText(Tr(txt::kSmtpMessageLabel));
    maintenant_->setText(Tr(txt::kNowButton));
    plusTard_->setText(Tr(txt::kLaterButton));
    // Once the message is sent there is nothing left to cancel.
    annuler_->setText(Tr(outcome_ == Outcome::Sent ? txt::kCloseButton : txt::kCancelButton));
    aide_->setText(Tr(txt::kHelpButton));
    editSelectAll_->setText(Tr(txt::kSelectAll));
    editCopy_->setText(Tr(txt::kCopy));
    print_->setText(Tr(txt::kPrint));
    print_->setToolTip(Tr(txt::kTipPrint));
    if (Sending()) annuler_->setToolTip(Tr(txt::kTipCancelStops));
    progress_->Retranslate();
    UpdateCopy();
}

bool FormSmtp::Sending() const {
    return client_ && client_->IsRunning();
}

void FormSmtp::Prepare(const QWidget& mainWindow) {
    SetInformation(ctx_, txt::kTransmission);
    PlaceDialog(*this, mainWindow);
    memoAction_->clear();
    memoMsg_->clear();
    progress_->Clear();
    shown_.reset();
    fromQueue_ = false;
    outcome_ = Outcome::Cancelled;
}

FormSmtp::Outcome FormSmtp::ShowFor(const OutgoingMessage& message, const QWidget& mainWindow) {
    Prepare(mainWindow);
    walking_ = false;
    mail_.queueMode = false;
    Present(message);
    maintenant_->setFocus();
    (void)RunModal(*this);
    if (outcome_ == Outcome::Cancelled) SetInformation(ctx_, txt::kIdle);
    if (outcome_ == Outcome::Sent) SetInformation(ctx_, txt::kSmtpSentInfo);
    return outcome_;
}

FormSmtp::Outcome FormSmtp::ShowQueue(const QWidget& mainWindow) {
    Prepare(mainWindow);
    walking_ = true;
    mail_.queueMode = true;
    if (!LoadNextQueued()) {
        walking_ = false;
        mail_.queueMode = false;
        return outcome_;
    }
    (void)RunModal(*this);
    mail_.queueMode = false;
    if (outcome_ == Outcome::Cancelled) SetInformation(ctx_, txt::kIdle);
    return outcome_;
}

void FormSmtp::Present(const OutgoingMessage& message) {
    shown_ = message;
    Log(Tr(txt::kSmtpReady));
    Log(FromCp1252(message.addresseeLine));
    Log(Tr(txt::kSmtpSubjectLine, {FromCp1252(message.subject)}));
    QStringList lines;
    for (const std::string& line : message.body)
        lines << FromCp1252(line);
    memoMsg_->setPlainText(lines.join('\n'));
    memoMsg_->moveCursor(QTextCursor::Start);
    SetButtons(true, true, true, 0);
    annuler_->setText(Tr(txt::kCancelButton));
    maintenant_->setFocus();
}

bool FormSmtp::LoadNextQueued() {
    std::optional<OutgoingMessage> next = TakeFirstQueued(mail_);
    if (!next) return false;
    fromQueue_ = true;
    Present(*next);
    return true;
}

void FormSmtp::Log(const QString& line) {
    memoAction_->appendPlainText(line);
}

void FormSmtp::SetButtons(bool maintenant, bool plusTard, bool annuler, int offTip) {
    maintenant_->setEnabled(maintenant);
    plusTard_->setEnabled(plusTard);
    annuler_->setEnabled(annuler);
    const QString tip = offTip ? Tr(offTip) : QString();
    maintenant_->setToolTip(maintenant ? QString() : tip);
    plusTard_->setToolTip(plusTard ? QString() : tip);
    annuler_->setToolTip(annuler ? QString() : Tr(txt::kTipCancelOff));
}

void FormSmtp::MaintenantClick() {
    if (!shown_ || Sending()) return;
    if (ctx_.settings.smtpServer.empty()) {
        (void)Ask(this, BoxIcon::Warning, Tr(txt::kSmtpNoServer), kOk);
        return;
    }
    if (shown_->subject.empty()) shown_->subject.assign(1, '-');
    PreparedMail prepared;
    try {
        prepared = PrepareMail(ctx_, *shown_);
    } catch (const std::exception& e) {
        // An attachment gone since the encryption: the message stays on show.
        (void)Ask(this, BoxIcon::Critical,
                  Tr(txt::kSmtpBuildFailed, {QString::fromLocal8Bit(e.what())}), kOk);
        return;
    }
    recipients_ = std::move(prepared.recipients);
    // Annuler stops the exchange; the message stays.
    SetButtons(false, false, true, txt::kTipNowOff);
    annuler_->setToolTip(Tr(txt::kTipCancelStops));
    cancelled_ = false;
    progress_->Clear();
    client_ = std::make_unique<SmtpClient>(nullptr, limits_);
    connect(client_.get(), &SmtpClient::logged, this, &FormSmtp::OnLogged);
    connect(client_.get(), &SmtpClient::progress, progress_, &TransferProgress::Show);
    // Only used when the relay is reached over TLS and asks for it.
    SecretString password;
    if (!password_->empty()) {
        *password = password_.Get();
    } else if (ctx_.keyStore.empty() ||
               !ReadMailPassword(ctx_.keyStore, ctx_.ownDigit, *password)) {
        password->clear();
    }
    client_->SetCredentials(Cp1252ToUtf8(ctx_.settings.accountName), std::move(password));
    client_->SetExtraAuthorities(ctx_.dataFolder / kExtraAuthorityFile);
    connect(client_.get(), &SmtpClient::finished, this, &FormSmtp::OnFinished,
            Qt::QueuedConnection);
    client_->Start(std::move(prepared.job));
}

void FormSmtp::OnLogged(int textId, const QString& detail) {
    // The body goes while it travels; it comes back if the relay refuses it.
    if (textId == txt::kSmtpTransmitting) memoMsg_->clear();
    Log(LogLine(Tr(textId), detail));
}

void FormSmtp::OnFinished(const SessionResult& result) {
    const bool connected = result.reached;
    const bool transferred = result.completed;
    client_.reset();
    if (!transferred) progress_->Clear();
    if (!shown_) return;
    if (transferred) {
        // Logged only once the relay accepted it; a failed send never is.
        (void)LogSentMessage(ctx_, mail_, SentLogRecord(*shown_, OleNow(), recipients_));
        if (fromQueue_) (void)SaveOutgoingQueue(ctx_, mail_);
        shown_.reset();
        fromQueue_ = false;
        memoMsg_->clear();
        if (walking_ && LoadNextQueued()) return;
        walking_ = false;
        mail_.queueMode = false;
        outcome_ = Outcome::Sent;
        SetButtons(false, false, true, txt::kSmtpSentInfo);
        annuler_->setText(Tr(txt::kCloseButton));
        annuler_->setFocus();
        return;
    }
    const OutgoingMessage message = *shown_;
    if (fromQueue_ && connected && !cancelled_) {
        // Refused by the relay: back at its place at the head, and the walk
        // stops there. (Unreachable, it stays on show, still queued on disk.)
        PutBackShown();
        walking_ = false;
        mail_.queueMode = false;
        Log(Tr(txt::kSmtpBackInQueue));
        SetButtons(false, false, true, txt::kSmtpBackInQueue);
    } else {
        // Cancelled or not reached: as before the click, to be tried again.
        SetButtons(true, true, true, 0);
        maintenant_->setFocus();
    }
    QStringList lines;
    for (const std::string& line : message.body)
        lines << FromCp1252(line);
    memoMsg_->setPlainText(lines.join('\n'));
    if (connected && !cancelled_ && !result.why.isEmpty()) {
        (void)Ask(this, BoxIcon::Critical, result.why, kOk);
    }
}

void FormSmtp::PutBackShown() {
    if (!shown_ || !fromQueue_) return;
    (void)PutBackAtHead(ctx_, mail_, *shown_);
    shown_.reset();
    fromQueue_ = false;
}

void FormSmtp::PlusTardClick() {
    if (!shown_ || Sending()) return;
    // In queue mode the message on show goes after the ones still queued.
    (void)QueueMessage(ctx_, mail_, *shown_);
    shown_.reset();
    fromQueue_ = false;
    walking_ = false;
    mail_.queueMode = false;
    outcome_ = Outcome::Queued;
    memoAction_->clear();
    done(QDialog::Accepted);
}

void FormSmtp::AnnulerClick() {
    if (Sending()) {
        // Stops the exchange only: the message stays on show.
        cancelled_ = true;
        client_->Abort();
        return;
    }
    if (shown_ && !fromQueue_) {
        // Encrypted and not sent: it is kept unless the person says otherwise.
        const BoxButton answer =
            Ask(this, BoxIcon::Question, Tr(txt::kSmtpKeepQuestion), kYes | kNo | kCancel,
                {{kYes, Tr(txt::kSmtpQueueIt)},
                 {kNo, Tr(txt::kDropMessage)},
                 {kCancel, Tr(txt::kBackToMessage)}});
        if (answer == kCancel) return;
        if (answer == kYes) {
            PlusTardClick();
            return;
        }
    }
    // A message taken out of the queue and not sent goes back at the head.
    PutBackShown();
    memoAction_->clear();
    done(QDialog::Rejected);
}

void FormSmtp::reject() {
    // Escape: nothing in queue mode, nor while the relay is spoken to.
    if (walking_ || Sending()) return;
    AnnulerClick();
}

void FormSmtp::UpdateCopy() {
    ShowCopyUsable(*editCopy_, memoMsg_->textCursor().hasSelection());
}

void FormSmtp::EditSelectAllClick() {
    SelectAllAndFocus(*memoMsg_);
}

void FormSmtp::EditCopyClick() {
    CopySelection(ctx_, *memoMsg_, txt::kSmtpCopiedInfo);
}

void FormSmtp::PrintClick() {
    QPrinter printer;
    if (RunPrintDialog(this, printer, false)) PrintTo(printer);
}

void FormSmtp::PrintTo(QPrinter& printer) {
    QTextDocument memoMsgBis;
    QTextCursor(&memoMsgBis).insertText(memoMsg_->toPlainText());
    PrintWithIndents(ctx_, memoMsgBis, printer, Tr(txt::kSmtpMessageLabel));
}

}  // namespace quarnel::ui
