// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/shell.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <utility>

#include "app/texts.h"
#include "app/windows/commands.h"
#include "app/windows/form_options.h"
#include "authority/windows/commands.h"
#include "authority/windows/form_affiliation.h"
#include "authority/windows/form_destinataire.h"
#include "authority/windows/form_tcp_ip.h"
#include "crypto/generator.h"
#include "mail/windows/clipboard_watch.h"
#include "mail/windows/commands.h"
#include "mail/windows/form_courrier.h"
#include "mail/windows/form_pop3.h"
#include "mail/windows/form_smtp.h"
#include "mail/windows/new_mail_watch.h"
#include "messages/windows/commands.h"
#include "messages/windows/form_certi.h"
#include "messages/windows/form_message.h"
#include "messages/windows/form_msg_a_certi.h"
#include "messages/windows/form_redac.h"
#include "messages/windows/write_message.h"
#include "protocol/body.h"
#include "resources/texts.h"
#include "store/correspondents.h"
#include "store/windows/commands.h"
#include "store/windows/form_liste.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

Shell::Shell(ProgramData& programData)
    : data_(programData), ctx_(programData), main_(std::make_unique<FormTitulaire>(programData)) {
    CreateWindows();
    CreateCommands();
    Reseed();
}

Shell::~Shell() {
    // The main window and its windows outlive what they borrowed from here,
    // and what they signal reaches it no more.
    main_->disconnect(this);
    for (QObject* child : main_->findChildren<QObject*>())
        child->disconnect(this);
    main_->SetCommands({});
    main_->ShowNewMailOf(nullptr);
    main_->SetBlockIntake(nullptr);
}

void Shell::CreateWindows() {
    FormTitulaire* const parent = main_.get();
    forms_.options = new FormOptions(ctx_, data_.authority, parent);
    forms_.authority.affiliationF = new FormAffiliationF(ctx_, parent);
    forms_.authority.affiliationD = new FormAffiliationD(ctx_, parent);
    forms_.authority.affiliationA = new FormAffiliationA(ctx_, parent);
    forms_.authority.destinataire = new FormDestinataire(ctx_, parent);
    forms_.liste = new FormListe(ctx_, data_.messages, parent);
    forms_.redac = new FormRedac(ctx_, data_.messages, parent);
    forms_.authority.tcpIp = new FormTCP_IP(ctx_, data_.authority, parent);
    forms_.smtp = new FormSmtp(ctx_, data_.mail, parent);
    forms_.pop3 = new FormPop3(ctx_, data_.mail, parent);
    forms_.message = new FormMessage(ctx_, parent);
    forms_.msgACerti = new FormMsgACerti(ctx_, parent);
    forms_.certi = new FormCerti(ctx_, parent);
    forms_.courrier = new FormCourrier(ctx_, data_.mail, parent);
    help_ = new HelpSystem(parent);
    main_->SetHelp(*help_);
}

void Shell::CreateCommands() {
    FormTitulaire& main = *main_;
    const AuthorityScope scope{ctx_, data_.authority, data_.messages};
    const AuthorityWindows& windows = forms_.authority;
    affiliation_ = std::make_unique<AffiliationCommand>(scope, main, windows);
    writeMessage_ = std::make_unique<WriteMessage>(ctx_, data_.messages, main, *forms_.redac);
    auto correspondentsCommand = std::make_unique<CorrespondentsCommand>(
        ctx_, main, *forms_.liste, main.CorrespondentsMenu(), main.CorrespondentsEntries(),
        main.Button(Command::Correspondents));
    correspondentsCommand_ = correspondentsCommand.get();
    auto at = [this](Command c) -> std::unique_ptr<MainCommand>& {
        return commands_[std::size_t(c)];
    };
    at(Command::Correspondents) = std::move(correspondentsCommand);
    at(Command::IncomingMail) = std::make_unique<IncomingMailCommand>(ctx_, main, *forms_.pop3);
    at(Command::AffiliationUpdate) =
        std::make_unique<AffiliationUpdateCommand>(scope, main, windows);
    at(Command::Dispatch) =
        std::make_unique<DispatchCommand>(ctx_, main, *forms_.smtp, txt::kMessagesSent);
    auto newKeysCommand = std::make_unique<NewKeysCommand>(scope, main, windows);
    newKeysCommand_ = newKeysCommand.get();
    at(Command::NewKeys) = std::move(newKeysCommand);
    at(Command::Certification) =
        std::make_unique<CertificationCommand>(ctx_, main, *forms_.msgACerti);
    at(Command::Exit) = std::make_unique<ExitCommand>(main);
    at(Command::Options) =
        std::make_unique<OptionsCommand>(ctx_, main, *forms_.options, *affiliation_);
    at(Command::Help) =
        std::make_unique<HelpCommand>(main, main.HelpMenu(), main.Button(Command::Help));
    at(Command::Mailbox) = std::make_unique<MailboxCommand>(main, *forms_.courrier);
    std::array<MainCommand*, kCommandCount> lent{};
    for (std::size_t c = 0; c < kCommandCount; ++c)
        lent[c] = commands_[c].get();
    main.SetCommands(lent);
    WireMessageWindows(scope, windows);

    const std::array<QAction*, 3> lists = main.CorrespondentsEntries();
    const char categories[3] = {'F', 'D', 'A'};
    for (std::size_t i = 0; i < lists.size(); ++i) {
        connect(lists[i], &QAction::triggered, this,
                [this, category = categories[i]] { correspondentsCommand_->OpenList(category); });
    }
    keyUpdate_ = std::make_unique<KeyUpdateCommand>(scope, main, windows);
    FormListe& liste = *forms_.liste;
    connect(&liste, &FormListe::KeyUpdateRequested, this,
            [this](const std::string& number) { keyUpdate_->RunFor(number); });
    connect(&liste, &FormListe::CorrespondRequested, this,
            [this](Kind kind) { writeMessage_->Run(kind); });
    connect(&liste, &FormListe::ListsAgain, this,
            [this] { main_->RunCommand(Command::Correspondents); });
    connect(&liste, &FormListe::CorrespondentsGone, &main, &FormTitulaire::EvaluateState);
    connect(forms_.authority.tcpIp, &FormTCP_IP::ListChanged, &liste, &FormListe::ListChanged);

    // What a command received or sent shows in the mailbox at once.
    connect(&main, &FormTitulaire::CommandRan, this, [this](Command command) {
        if (forms_.courrier->isVisible() && command != Command::Mailbox) forms_.courrier->Reload();
    });
    connect(&main, &FormTitulaire::ViewShown, forms_.courrier, &FormCourrier::UpdateButtons);
    connect(&main, &FormTitulaire::LanguageApplied, this,
            [this] { forms_.redac->resize(634, 450); });
}

void Shell::WireMessageWindows(const AuthorityScope& scope, const AuthorityWindows& windows) {
    FormTitulaire& main = *main_;
    // The viewers' Certifier sends request 18; the certificate comes back to
    // FormCerti through the connection window.
    certification_ = std::make_unique<CertificationRequest>(scope, main, windows);
    connect(forms_.authority.tcpIp, &FormTCP_IP::CertificateDelivered, this,
            [this](const std::string& certificate) {
                forms_.certi->ShowCertificate(certificate, *main_);
            });
    // Busy is already held by whoever shows the viewer.
    connect(forms_.message, &FormMessage::CertifyRequested, this, [this] {
        (void)CertifyDecryptedMessage(data_.messages, [this] { return certification_->Send(); });
    });
    connect(forms_.msgACerti, &FormMsgACerti::CertifyRequested, this,
            [this](const SavedMessage& saved) {
                (void)CertifySavedMessage(data_.messages, saved,
                                          [this] { return certification_->Send(); });
            });
    incoming_ = std::make_unique<IncomingBlock>(ctx_, data_.authority, data_.messages, main,
                                                *forms_.message, *forms_.certi);
    main.SetBlockIntake(this);
    forms_.pop3->decrypt = [this](Lines& block, const QString& subject) {
        return DecryptAndMark(block, subject, IncomingBlock::Attachments::Written);
    };
    connect(forms_.message, &FormMessage::ReplyRequested, this, [this] {
        const DecryptedMessage& m = data_.messages.decrypted;
        pendingReply_ = Reply{m.sender.affiliation, forms_.message->Subject(),
                              m.kind.value_or(Kind::PlainMessage)};
        // The receiving window waits under the answer; what it holds stays listed.
        if (forms_.pop3->isVisible() && !forms_.pop3->Receiving()) forms_.pop3->AnnulerClick();
        QTimer::singleShot(0, this, &Shell::RunPendingReply);
    });
    // Once the command that holds Busy ends.
    connect(&main, &FormTitulaire::StateEvaluated, this, [this] {
        if (pendingReply_ && !ctx_.busy) QTimer::singleShot(0, this, &Shell::RunPendingReply);
    });
    connect(forms_.courrier, &FormCourrier::OpenRequested, this, &Shell::OpenStored);
    // After its encryption a message goes to the sending window.
    connect(
        writeMessage_.get(), &WriteMessage::Encrypted, this,
        [this](const OutgoingMessage& message) { (void)forms_.smtp->ShowFor(message, *main_); });
    newMail_ = std::make_unique<NewMailWatch>(ctx_, *forms_.pop3, main);
    main.ShowNewMailOf(newMail_.get());
    connect(newMail_.get(), &NewMailWatch::Retrieved, this, [this](int accepted) {
        if (accepted > 0 && forms_.courrier->isVisible()) forms_.courrier->Reload();
    });
    connect(forms_.options, &FormOptions::PreferencesChanged, this, &Shell::ApplyPreferences);
}

StartupEnd Shell::Start(const StartupPlaces& places) {
    const StartupEnd end = main_->Start(places);
    ApplyPreferences();
    return end;
}

std::optional<Lines> Shell::TakeBlock() {
    return WatchClipboard(ctx_, *main_);
}

bool Shell::ProcessBlock(Lines& block) {
    return incoming_->Process(block) != BlockOutcome::Refused;
}

BlockOutcome Shell::DecryptAndMark(Lines& block, const QString& subject,
                                   IncomingBlock::Attachments attachments) {
    const Lines textAndNames = block;
    const BlockOutcome outcome = incoming_->Process(block, subject, attachments);
    if (outcome == BlockOutcome::Taken)
        forms_.courrier->MarkRead(textAndNames, data_.messages.decrypted.identityConfirmed);
    return outcome;
}

void Shell::OpenStored(const Lines& entry) {
    if (ctx_.busy || entry.empty()) return;
    {
        BusyGuard busy(ctx_);
        main_->EvaluateState();
        Lines text(entry.begin() + 1, entry.end());
        // Its attachments were written at the first reading: again only when
        // asked for.
        if (DecryptAndMark(text, FromCp1252(entry.front()), IncomingBlock::Attachments::OnDemand) ==
            BlockOutcome::Refused)
            (void)Ask(forms_.courrier, BoxIcon::Warning, Tr(txt::kMessageAltered), kOk);
    }
    main_->EvaluateState();
}

void Shell::ApplyPreferences() {
    const Preferences& p = ctx_.preferences;
    newMail_->Apply(p.autoRetrieval, std::chrono::minutes(p.retrievalMinutes));
}

void Shell::RunPendingReply() {
    // Tried again when the command that holds Busy ends.
    if (!pendingReply_ || ctx_.busy) return;
    const Reply reply = *std::exchange(pendingReply_, std::nullopt);
    const char category = CategoryOfNumber(reply.number);
    const RecordList* list = ctx_.correspondents.ForCategory(category);
    const int at = FindCorrespondent(ctx_.correspondents, category, reply.number);
    if (!list || at < 0) {
        if (Ask(main_.get(), BoxIcon::Question,
                Tr(txt::kReplyNeedsKeys, {FromCp1252(reply.number)}), kYes | kNo) == kYes &&
            main_->MayRun(Command::NewKeys)) {
            newKeysCommand_->RunFor(reply.number);
        }
        main_->EvaluateState();
        return;
    }
    data_.messages.recipientCategory = category;
    data_.messages.recipientRecord = (*list)[std::size_t(at)];
    const QString re = QStringLiteral("Re: ");
    writeMessage_->Run(reply.kind, reply.subject.startsWith(re, Qt::CaseInsensitive)
                                       ? reply.subject
                                       : re + reply.subject);
    main_->EvaluateState();
}

}  // namespace quarnel::ui
