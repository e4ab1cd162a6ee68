// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/form_titulaire.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QVBoxLayout>
#include <utility>

#include "app/language.h"
#include "app/texts.h"
#include "app/windows/commands.h"
#include "app/windows/form_options.h"
#include "authority/windows/commands.h"
#include "authority/windows/form_affiliation.h"
#include "authority/windows/form_destinataire.h"
#include "authority/windows/form_tcp_ip.h"
#include "crypto/hextext.h"
#include "crypto/random.h"
#include "holder/program_state.h"
#include "holder/settings.h"
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
#include "windowkit/modal_runner.h"
#include "windowkit/qt_texts.h"
#include "windowkit/save_failure.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {
constexpr int kMainHelpContext = 200;
constexpr int kInformationWidth = 470;
}  // namespace

FormTitulaire::FormTitulaire(ProgramData& programData)
    : QWidget(nullptr), data_(programData), ctx_(programData) {
    setObjectName("FormTitulaire");
    // Fixed border with system menu and minimise box.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    ctx_.currentText = [](int id) { return ToCp1252(Tr(id)); };
    ctx_.onInformationChanged = [this] { ShowInformation(); };
    ctx_.onSaveFailure = SaveFailureBox(this);
    ctx_.saveRunner = SaveOnLongJob(this);
    BuildWidgets();
    view_ = InitialView();
    Retranslate();
    ShowView();
    CreateWindows();
    CreateCommands();
    Reseed();
}

FormTitulaire::~FormTitulaire() {
    horloge_->stop();
    // Before the windows it reports through.
    newMail_.reset();
    FreeWorkingLists(ctx_, data_.authority, data_.mail, keyStoreWiped);
    ctx_.onInformationChanged = nullptr;
    ctx_.onSaveFailure = nullptr;
    ctx_.currentText = nullptr;
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
    if (qtFrench_) QCoreApplication::removeTranslator(qtFrench_.get());
}

void FormTitulaire::BuildWidgets() {
    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);

    // Title: black text over a white shadow.
    auto* title = new QWidget(this);
    labelTitreBlanc_ = Named(new QLabel(title), "LabelTitreBlanc");
    labelTitre_ = Named(new QLabel(title), "LabelTitre");
    QFont titleFont = labelTitre_->font();
    titleFont.setPointSize(22);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    for (QLabel* l : {labelTitreBlanc_, labelTitre_})
        l->setFont(titleFont);
    QPalette white = labelTitreBlanc_->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    labelTitreBlanc_->setPalette(white);
    QPalette black = labelTitre_->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    labelTitre_->setPalette(black);
    title->setObjectName("PanelTitre");

    labelCertification_ = Named(new QLabel(this), "LabelCertification");
    labelCertification_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labelCertification_->hide();
    auto* top = new QHBoxLayout;
    top->addWidget(title);
    top->addStretch();
    top->addWidget(labelCertification_);
    root->addLayout(top);

    auto* names = new QGridLayout;
    labelNom_ = Named(new QLabel(this), "LabelNom");
    lbNom_ = Named(new QLabel(this), "lbNom");
    labelSociete_ = Named(new QLabel(this), "LabelSociete");
    lbSociete_ = Named(new QLabel(this), "LbSociete");
    for (QLabel* l : {lbNom_, lbSociete_}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setTextFormat(Qt::PlainText);
        // A firm or profession text may be long: it wraps rather than
        // widening the window.
        l->setWordWrap(true);
        l->setMaximumWidth(kInformationWidth);
    }
    labelNom_->hide();
    names->addWidget(labelNom_, 0, 0);
    names->addWidget(lbNom_, 0, 1);
    names->addWidget(labelSociete_, 1, 0);
    names->addWidget(lbSociete_, 1, 1);
    names->setColumnStretch(1, 1);
    root->addLayout(names);

    BuildCommandButtons(*root);
    BuildInformation(*root);

    popupMenuCor_ = Named(new QMenu(this), "PopupMenuCor");
    menuFirmes_ = Named(popupMenuCor_->addAction(QString()), "MenuFirmes");
    menuIndependants_ = Named(popupMenuCor_->addAction(QString()), "MenuIndependants");
    menuPrives_ = Named(popupMenuCor_->addAction(QString()), "MenuPrives");
    popupMenuAide_ = Named(new QMenu(this), "PopupMenuAide");
    menuSommaire_ = Named(popupMenuAide_->addAction(QString()), "MenuSommaire");
    aidecontextuelle_ = Named(popupMenuAide_->addAction(QString()), "Aidecontextuelle");
    menuApropos_ = Named(popupMenuAide_->addAction(QString()), "MenuApropos");

    horloge_ = Named(new QTimer(this), "horloge");
    horloge_->setInterval(50);
    connect(horloge_, &QTimer::timeout, this, &FormTitulaire::surveillance);
    horloge_->start();

    connect(speedButtonReset_, &QToolButton::clicked, this, &FormTitulaire::SpeedButtonResetClick);
    for (const MainCommandInfo& c : MainCommands()) {
        connect(&Button(c.command), &QPushButton::clicked, this,
                [this, command = c.command] { RunCommand(command); });
    }
    // F1, as in every other window: this window's help.
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, &FormTitulaire::AidecontextuelleClick);
    connect(menuSommaire_, &QAction::triggered, this, &FormTitulaire::MenuSommaireClick);
    connect(aidecontextuelle_, &QAction::triggered, this, &FormTitulaire::AidecontextuelleClick);
    connect(menuApropos_, &QAction::triggered, this, &FormTitulaire::MenuAproposClick);
}

void FormTitulaire::BuildCommandButtons(QVBoxLayout& root) {
    // Command buttons, three by three.
    auto* grid = new QGridLayout;
    static constexpr Command kPlaces[3][3] = {
        {Command::Correspondents, Command::IncomingMail, Command::Dispatch},
        {Command::NewKeys, Command::AffiliationUpdate, Command::Certification},
        {Command::Options, Command::Help, Command::Exit},
    };
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const Command c = kPlaces[row][col];
            auto* b = Named(new QPushButton(this), CommandInfo(c).objectName);
            b->setMinimumWidth(150);
            b->setAutoDefault(false);
            buttons_[std::size_t(c)] = b;
            grid->addWidget(b, row, col);
        }
    }
    // The mailbox below, across the three columns.
    auto* courrier = Named(new QPushButton(this), CommandInfo(Command::Mailbox).objectName);
    courrier->setAutoDefault(false);
    buttons_[std::size_t(Command::Mailbox)] = courrier;
    grid->addWidget(courrier, 3, 0, 1, 3);
    root.addLayout(grid);
}

void FormTitulaire::BuildInformation(QVBoxLayout& root) {
    groupBoxInfo_ = Named(new QGroupBox(this), "GroupBoxInfo");
    auto* info = new QHBoxLayout(groupBoxInfo_);
    labelInformation_ = Named(new QLabel(groupBoxInfo_), "LabelInformation");
    labelInformation_->setWordWrap(true);
    labelInformation_->setTextFormat(Qt::PlainText);
    labelInformation_->setMinimumWidth(kInformationWidth);
    labelInformation_->setMinimumHeight(3 * labelInformation_->fontMetrics().height());
    labelInformation_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    speedButtonReset_ = Named(new QToolButton(groupBoxInfo_), "SpeedButtonReset");
    speedButtonReset_->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    speedButtonReset_->setAutoRaise(true);
    info->addWidget(labelInformation_, 1);
    info->addWidget(speedButtonReset_, 0, Qt::AlignTop);
    root.addWidget(groupBoxInfo_);
}

void FormTitulaire::CreateWindows() {
    forms_.options = new FormOptions(ctx_, data_.authority, this);
    forms_.affiliationF = new FormAffiliationF(ctx_, this);
    forms_.affiliationD = new FormAffiliationD(ctx_, this);
    forms_.affiliationA = new FormAffiliationA(ctx_, this);
    forms_.destinataire = new FormDestinataire(ctx_, this);
    forms_.liste = new FormListe(ctx_, data_.messages, this);
    forms_.redac = new FormRedac(ctx_, data_.messages, this);
    forms_.tcpIp = new FormTCP_IP(ctx_, data_.authority, this);
    forms_.smtp = new FormSmtp(ctx_, data_.mail, this);
    forms_.pop3 = new FormPop3(ctx_, data_.mail, this);
    forms_.message = new FormMessage(ctx_, this);
    forms_.msgACerti = new FormMsgACerti(ctx_, this);
    forms_.certi = new FormCerti(ctx_, this);
    forms_.courrier = new FormCourrier(ctx_, data_.mail, this);
    help_ = new HelpSystem(this);
}

void FormTitulaire::CreateCommands() {
    const AuthorityScope scope{ctx_, data_.authority, data_.messages};
    const AuthorityWindows windows{forms_.affiliationF, forms_.affiliationD, forms_.affiliationA,
                                   forms_.destinataire, forms_.tcpIp};
    affiliation_ = std::make_unique<AffiliationCommand>(scope, *this, windows);
    writeMessage_ =
        std::make_unique<WriteMessage>(ctx_, data_.messages, data_.mail, *this, *forms_.redac);
    auto correspondentsCommand = std::make_unique<CorrespondentsCommand>(
        ctx_, *this, *forms_.liste, *popupMenuCor_,
        std::array<QAction*, 3>{menuFirmes_, menuIndependants_, menuPrives_},
        Button(Command::Correspondents));
    correspondentsCommand_ = correspondentsCommand.get();
    auto at = [this](Command c) -> std::unique_ptr<MainCommand>& {
        return commands_[std::size_t(c)];
    };
    at(Command::Correspondents) = std::move(correspondentsCommand);
    at(Command::IncomingMail) = std::make_unique<IncomingMailCommand>(ctx_, *this, *forms_.pop3);
    at(Command::AffiliationUpdate) =
        std::make_unique<AffiliationUpdateCommand>(scope, *this, windows);
    at(Command::Dispatch) =
        std::make_unique<DispatchCommand>(ctx_, *this, *forms_.smtp, txt::kMessagesSent);
    auto newKeysCommand = std::make_unique<NewKeysCommand>(scope, *this, windows);
    newKeysCommand_ = newKeysCommand.get();
    at(Command::NewKeys) = std::move(newKeysCommand);
    auto certification = std::make_unique<CertificationCommand>(ctx_, *this, *forms_.msgACerti);
    at(Command::Certification) = std::move(certification);
    at(Command::Exit) = std::make_unique<ExitCommand>(*this);
    at(Command::Options) =
        std::make_unique<OptionsCommand>(ctx_, *this, *forms_.options, *affiliation_);
    at(Command::Help) =
        std::make_unique<HelpCommand>(*this, *popupMenuAide_, Button(Command::Help));
    at(Command::Mailbox) = std::make_unique<MailboxCommand>(*this, *forms_.courrier);
    WireMessageWindows(scope, windows);
    connect(menuFirmes_, &QAction::triggered, this,
            [this] { correspondentsCommand_->OpenList('F'); });
    connect(menuIndependants_, &QAction::triggered, this,
            [this] { correspondentsCommand_->OpenList('D'); });
    connect(menuPrives_, &QAction::triggered, this,
            [this] { correspondentsCommand_->OpenList('A'); });
    keyUpdate_ = std::make_unique<KeyUpdateCommand>(scope, *this, windows);
    FormListe& liste = *forms_.liste;
    connect(&liste, &FormListe::KeyUpdateRequested, this,
            [this](const std::string& number) { keyUpdate_->RunFor(number); });
    connect(&liste, &FormListe::CorrespondRequested, this,
            [this](Kind kind) { writeMessage_->Run(kind); });
    connect(&liste, &FormListe::ListsAgain, this, [this] { RunCommand(Command::Correspondents); });
    connect(&liste, &FormListe::CorrespondentsGone, this, [this] { EvaluateState(); });
    connect(forms_.tcpIp, &FormTCP_IP::ListChanged, &liste, &FormListe::ListChanged);
}

void FormTitulaire::WireMessageWindows(const AuthorityScope& scope,
                                       const AuthorityWindows& windows) {
    // The viewers' Certifier sends request 18; the certificate comes back to
    // FormCerti through the connection window.
    certification_ = std::make_unique<CertificationRequest>(scope, *this, windows);
    connect(forms_.tcpIp, &FormTCP_IP::CertificateDelivered, this,
            [this](const std::string& certificate) {
                forms_.certi->ShowCertificate(certificate, *this);
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
    incoming_ = std::make_unique<IncomingBlock>(ctx_, data_.authority, data_.messages, *this,
                                                *forms_.message, *forms_.certi);
    // A decryption the person stopped is no altered message.
    processIncomingBlock = [this](Lines& block) {
        return incoming_->Process(block) != BlockOutcome::Refused;
    };
    // What is read, and its verdict, shows in the mailbox, however it was opened.
    const auto decryptAndMark = [this](Lines& block, const QString& subject,
                                       IncomingBlock::Attachments attachments) {
        const Lines textAndNames = block;
        const BlockOutcome outcome = incoming_->Process(block, subject, attachments);
        if (outcome == BlockOutcome::Taken)
            forms_.courrier->MarkRead(textAndNames, data_.messages.decrypted.identityConfirmed);
        return outcome;
    };
    forms_.pop3->decrypt = [decryptAndMark](Lines& block, const QString& subject) {
        return decryptAndMark(block, subject, IncomingBlock::Attachments::Written);
    };
    connect(forms_.message, &FormMessage::ReplyRequested, this, [this] {
        const DecryptedMessage& m = data_.messages.decrypted;
        pendingReply_ = Reply{m.sender.affiliation, forms_.message->Subject(),
                              m.kind.value_or(Kind::PlainMessage)};
        // The receiving window waits under the answer; what it holds stays listed.
        if (forms_.pop3->isVisible() && !forms_.pop3->Receiving()) forms_.pop3->AnnulerClick();
        QTimer::singleShot(0, this, &FormTitulaire::RunPendingReply);
    });
    connect(
        forms_.courrier, &FormCourrier::OpenRequested, this,
        [this, decryptAndMark](const Lines& entry) {
            if (ctx_.busy || entry.empty()) return;
            {
                BusyGuard busy(ctx_);
                EvaluateState();
                Lines text(entry.begin() + 1, entry.end());
                // Its attachments were written at the first reading: again
                // only when asked for.
                if (decryptAndMark(text, FromCp1252(entry.front()),
                                   IncomingBlock::Attachments::OnDemand) == BlockOutcome::Refused)
                    (void)Ask(forms_.courrier, BoxIcon::Warning, Tr(txt::kMessageAltered), kOk);
            }
            EvaluateState();
        });
    // After its encryption a message goes to the sending window.
    writeMessage_->handOver = [this](const OutgoingMessage& message) {
        (void)forms_.smtp->ShowFor(message, *this);
    };
    clipboardWatch = [this] { return WatchClipboard(ctx_, *this); };
    newMail_ = std::make_unique<NewMailWatch>(ctx_, *forms_.pop3, *this);
    connect(newMail_.get(), &NewMailWatch::Retrieved, this, [this](int accepted) {
        if (accepted > 0 && forms_.courrier->isVisible()) forms_.courrier->Reload();
    });
    connect(forms_.options, &FormOptions::PreferencesChanged, this,
            &FormTitulaire::ApplyPreferences);
}

void FormTitulaire::ApplyPreferences() {
    const Preferences& p = ctx_.preferences;
    newMail_->Apply(p.autoRetrieval, std::chrono::minutes(p.retrievalMinutes));
}

void FormTitulaire::RunPendingReply() {
    // Tried again when the command that holds Busy ends.
    if (!pendingReply_ || ctx_.busy) return;
    const Reply reply = *std::exchange(pendingReply_, std::nullopt);
    const char category = CategoryOfNumber(reply.number);
    const RecordList* list = ctx_.correspondents.ForCategory(category);
    const int at = FindCorrespondent(ctx_.correspondents, category, reply.number);
    if (!list || at < 0) {
        if (Ask(this, BoxIcon::Question, Tr(txt::kReplyNeedsKeys, {FromCp1252(reply.number)}),
                kYes | kNo) == kYes &&
            CanRun(Command::NewKeys, view_, ctx_.busy, CommandInfo(Command::NewKeys).rule)) {
            newKeysCommand_->RunFor(reply.number);
        }
        EvaluateState();
        return;
    }
    data_.messages.recipientCategory = category;
    data_.messages.recipientRecord = (*list)[std::size_t(at)];
    const QString re = QStringLiteral("Re: ");
    writeMessage_->Run(reply.kind, reply.subject.startsWith(re, Qt::CaseInsensitive)
                                       ? reply.subject
                                       : re + reply.subject);
    EvaluateState();
}

void FormTitulaire::RunCommand(Command command) {
    if (!CanRun(command, view_, ctx_.busy, CommandInfo(command).rule)) return;
    commands_[std::size_t(command)]->Run();
    // What a command received or sent shows in the mailbox at once.
    if (forms_.courrier->isVisible() && command != Command::Mailbox) forms_.courrier->Reload();
    // Sortie may have closed the window; the buttons are evaluated either way.
    EvaluateState();
}

StartupEnd FormTitulaire::Start(const StartupPlaces& places) {
    PrepareStartup(ctx_, places);
    help_->SetFile(ctx_.helpFile);
    const StartupEnd end = RunStartup(ctx_, data_.mail, *this);
    ApplyPreferences();
    RefreshNames();
    EvaluateState();
    return end;
}

bool FormTitulaire::RetryMissingFile(const std::filesystem::path& path) {
    const QString text = Tr(txt::kFileUnreadable, {QString::fromStdString(path.string())});
    return Ask(this, BoxIcon::Warning, text, kAbort | kRetry) == kRetry;
}

void FormTitulaire::ReportAltered(const std::string& fileName) {
    (void)Ask(this, BoxIcon::Warning, Tr(txt::kFileAltered, {FromCp1252(fileName)}), kCancel);
}

void FormTitulaire::ReportExposedFolder(const ExposedFolder& exposed) {
    (void)Ask(this, BoxIcon::Warning, ExposedFolderText(exposed), kOk);
}

void FormTitulaire::ApplyLanguage() {
    const LanguageStep step = BeginLanguageSwitch(ctx_);
    if (!step.changed || step.missing) return;
    bool textsChanged = false;
    if (step.module) {
        auto loaded = std::make_unique<QTranslator>();
        if (!loaded->load(QString::fromStdString(step.module->string()))) return;
        if (translator_) QCoreApplication::removeTranslator(translator_.get());
        translator_ = std::move(loaded);
        QCoreApplication::installTranslator(translator_.get());
        textsChanged = true;
    } else if (translator_) {
        // Back to the built-in French texts.
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
        textsChanged = true;
    }
    // Qt's own dialogs (folder selection) speak French too when its catalogue
    // is installed; English is their own language.
    if (step.locale == kLocaleFrench && !qtFrench_) {
        if (auto qt = LoadQtTexts(QLocale(QLocale::French))) {
            qtFrench_ = std::move(qt);
            QCoreApplication::installTranslator(qtFrench_.get());
            textsChanged = true;
        }
    } else if (step.locale != kLocaleFrench && qtFrench_) {
        QCoreApplication::removeTranslator(qtFrench_.get());
        qtFrench_.reset();
        textsChanged = true;
    }
    // Every window rebuilds its texts now; positions stay.
    if (textsChanged) QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    FinishLanguageSwitch(ctx_, step, textsChanged);
    help_->SetFile(ctx_.helpFile);
    forms_.redac->resize(634, 450);
    RefreshNames();
    ShowView();
}

void FormTitulaire::showEvent(QShowEvent* event) {
    FitToScreen(*this);
    QWidget::showEvent(event);
}

void FormTitulaire::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) Retranslate();
    QWidget::changeEvent(event);
}

void FormTitulaire::Retranslate() {
    labelTitre_->setText(Tr(txt::kQuarnelSoft));
    labelTitreBlanc_->setText(Tr(txt::kQuarnelSoft));
    for (QLabel* l : {labelTitreBlanc_, labelTitre_})
        l->adjustSize();
    labelTitreBlanc_->move(2, 2);
    labelTitre_->move(0, 0);
    labelTitre_->parentWidget()->setFixedSize(labelTitre_->size() + QSize(2, 2));
    labelCertification_->setText(Tr(txt::kNotRegistered));
    labelNom_->setText(Tr(txt::kMainNameLabel));
    groupBoxInfo_->setTitle(Tr(txt::kInformationGroup));
    speedButtonReset_->setToolTip(Tr(txt::kClearInformation));
    for (const MainCommandInfo& c : MainCommands())
        Button(c.command).setText(Tr(c.caption));
    menuFirmes_->setText(Tr(txt::kMenuEmployees));
    menuIndependants_->setText(Tr(txt::kMenuIndependents));
    menuPrives_->setText(Tr(txt::kMenuPrivatePersons));
    menuSommaire_->setText(Tr(txt::kHelpContents));
    aidecontextuelle_->setText(Tr(txt::kContextHelp));
    menuApropos_->setText(Tr(txt::kAbout));
    RefreshNames();
    ShowView();
}

void FormTitulaire::RefreshNames() {
    const Settings& s = ctx_.settings;
    const bool named = !ctx_.displayName.empty();
    labelNom_->setVisible(named);
    lbNom_->setText(FromCp1252(ctx_.displayName));
    if (named && (s.category == 'D' || s.category == 'F')) {
        labelSociete_->setText(Tr(s.category == 'D' ? txt::kProfession : txt::kFirmLabel));
        lbSociete_->setText(FromCp1252(ctx_.firmText));
    } else {
        labelSociete_->clear();
        lbSociete_->clear();
    }
    const bool affiliated = IsAffiliatedState(ctx_.State()) && !ctx_.ownNumber.empty();
    // Before the affiliation the window still says whose program it is. The
    // holder's name is part of the caption itself: the platform adds the
    // application's name only when a caption is set, which a restart does
    // before the name is known.
    const QString holder = FromCp1252(ctx_.applicationTitle);
    QGuiApplication::setApplicationDisplayName(holder);
    QString caption = affiliated ? Tr(txt::kAffiliated, {FromCp1252(ctx_.ownNumber)})
                                 : QStringLiteral("QuarnelTit");
    if (!holder.isEmpty()) caption += QStringLiteral(" \u2014 ") + holder;
    setWindowTitle(NewMailCaptionPrefix(newMail_ ? newMail_->NewCount() : 0) + caption);
    labelCertification_->setVisible(affiliated && ctx_.registrationFlag != '1');
}

void FormTitulaire::EvaluateState() {
    if (pendingReply_ && !ctx_.busy) QTimer::singleShot(0, this, &FormTitulaire::RunPendingReply);
    view_.information = ctx_.information;
    view_ = quarnel::EvaluateState(view_, FactsOf(ctx_, data_.mail), MainCommandRules());
    if (ctx_.information != view_.information) ctx_.informationNote.clear();
    ctx_.information = view_.information;
    ShowView();
}

void FormTitulaire::ShowView() {
    for (const MainCommandInfo& c : MainCommands())
        Button(c.command).setEnabled(view_.Enabled(c.command));
    if (forms_.courrier) forms_.courrier->UpdateButtons();
    Button(Command::Options)
        .setText(
            Tr(view_.optionsCaptionIsOptions ? txt::kOptionsButton : txt::kInitialisationButton));
    if (view_.focus) Button(*view_.focus).setFocus();
    ShowInformation();
}

void FormTitulaire::ShowInformation() {
    view_.information = ctx_.information;
    QStringList lines;
    if (ctx_.information) lines << Tr(ctx_.information);
    if (!ctx_.informationNote.empty()) lines << FromCp1252(ctx_.informationNote);
    if (newMail_ && newMail_->NewCount() > 0) lines << NewMailLine(newMail_->NewCount());
    labelInformation_->setText(lines.join('\n'));
}

void FormTitulaire::SpeedButtonResetClick() {
    SetInformation(ctx_, txt::kIdle);
    EvaluateState();
}

void FormTitulaire::MenuSommaireClick() {
    help_->ShowContents();
}

void FormTitulaire::AidecontextuelleClick() {
    help_->ShowContext(kMainHelpContext);
}

void FormTitulaire::MenuAproposClick() {
    QString taCode = FromCp1252(ctx_.settings.taCode);
    if (taCode.isEmpty()) {
        TaParameters ta;
        if (ReadTaParameters(ctx_, ta)) taCode = QString::fromStdString(ta.code);
    }
    if (taCode.isEmpty()) taCode = QStringLiteral("-");
    Inform(this, Tr(txt::kAboutText, {Tr(txt::kVersionCode), taCode}));
}

void FormTitulaire::surveillance() {
    if (ctx_.busy) return;
    std::optional<Lines> block = clipboardWatch ? clipboardWatch() : std::nullopt;
    if (!block) {
        data_.authority.requestKind.reset();
        return;
    }
    {
        BusyGuard busy(ctx_);
        EvaluateState();
        if (isMinimized()) showNormal();
        const bool processed = processIncomingBlock && processIncomingBlock(*block);
        if (!processed) SetInformation(ctx_, txt::kMessageAltered);
    }
    EvaluateState();
}

}  // namespace quarnel::ui
