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

#include "app/language.h"
#include "app/texts.h"
#include "app/windows/commands.h"
#include "app/windows/form_options.h"
#include "holder/program_state.h"
#include "holder/settings.h"
#include "mail/windows/new_mail_watch.h"
#include "resources/texts.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
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
    hooks_.currentText = [](int id) { return ToCp1252(Tr(id)); };
    hooks_.onInformationChanged = [this] { ShowInformation(); };
    hooks_.onSaveFailure = SaveFailureBox(this);
    hooks_.saveRunner = SaveOnLongJob(this);
    ctx_.LendHooks(&hooks_);
    BuildWidgets();
    view_ = InitialView();
    Retranslate();
    ShowView();
}

FormTitulaire::~FormTitulaire() {
    horloge_->stop();
    FreeWorkingLists(ctx_, data_.authority, data_.mail,
                     [this](const RecordList& wiped) { Q_EMIT KeyStoreWiped(wiped); });
    ctx_.LendHooks(nullptr);
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

bool FormTitulaire::MayRun(Command command) const {
    return CanRun(command, view_, ctx_.busy, CommandInfo(command).rule);
}

void FormTitulaire::RunCommand(Command command) {
    if (!MayRun(command)) return;
    MainCommand* const run = commands_[std::size_t(command)];
    if (!run) return;
    run->Run();
    Q_EMIT CommandRan(command);
    // Sortie may have closed the window; the buttons are evaluated either way.
    EvaluateState();
}

StartupEnd FormTitulaire::Start(const StartupPlaces& places) {
    PrepareStartup(ctx_, places);
    help_->SetFile(ctx_.helpFile);
    const StartupEnd end = RunStartup(ctx_, data_.mail, *this);
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
    Q_EMIT LanguageApplied();
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
    setWindowTitle(NewMailCaptionPrefix(NewMailCount()) + caption);
    labelCertification_->setVisible(affiliated && ctx_.registrationFlag != '1');
}

void FormTitulaire::EvaluateState() {
    view_.information = ctx_.information;
    view_ = quarnel::EvaluateState(view_, FactsOf(ctx_, data_.mail), MainCommandRules());
    if (ctx_.information != view_.information) ctx_.informationNote.clear();
    ctx_.information = view_.information;
    ShowView();
    Q_EMIT StateEvaluated();
}

void FormTitulaire::ShowView() {
    for (const MainCommandInfo& c : MainCommands())
        Button(c.command).setEnabled(view_.Enabled(c.command));
    Q_EMIT ViewShown();
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
    if (NewMailCount() > 0) lines << NewMailLine(NewMailCount());
    labelInformation_->setText(lines.join('\n'));
}

int FormTitulaire::NewMailCount() const {
    return newMail_ ? newMail_->NewCount() : 0;
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
    std::optional<Lines> block = intake_ ? intake_->TakeBlock() : std::nullopt;
    if (!block) {
        data_.authority.requestKind.reset();
        return;
    }
    {
        BusyGuard busy(ctx_);
        EvaluateState();
        if (isMinimized()) showNormal();
        if (!intake_->ProcessBlock(*block)) SetInformation(ctx_, txt::kMessageAltered);
    }
    EvaluateState();
}

}  // namespace quarnel::ui
