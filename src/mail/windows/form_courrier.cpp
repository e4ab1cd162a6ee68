// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/windows/form_courrier.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <utility>

#include "holder/program_state.h"
#include "mail/incoming.h"
#include "mail/mail_state.h"
#include "mail/sent_log.h"
#include "mail/windows/texts.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

/// The rows of one list as the view shows them.
class MailboxModel final : public QAbstractTableModel {
  public:
    MailboxModel(const MailboxList& list, QObject* parent)
        : QAbstractTableModel(parent), list_(list) {}

    void Reset() {
        beginResetModel();
        endResetModel();
    }
    /// The texts of the language now shown; rows and selection stay.
    void Retranslate() {
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, kMailboxColumns - 1);
        if (rowCount({}) > 0)
            Q_EMIT dataChanged(index(0, 0), index(rowCount({}) - 1, kMailboxColumns - 1));
    }
    void RowChanged(int row) { Q_EMIT dataChanged(index(row, 0), index(row, kMailboxColumns - 1)); }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(list_.Size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : kMailboxColumns;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static constexpr int kHeaders[kMailboxColumns] = {txt::kColDate, txt::kColCorrespondent,
                                                          txt::kColSubject, txt::kColAttachments,
                                                          txt::kColState};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= kMailboxColumns) {
            return {};
        }
        return Tr(kHeaders[section]);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || std::size_t(index.row()) >= list_.Size()) return {};
        const MailboxEntry& e = list_.Row(std::size_t(index.row()));
        const auto column = MailboxColumn(index.column());
        if (role == Qt::ForegroundRole && column == MailboxColumn::State &&
            (e.state == ReadState::Confirmed || e.state == ReadState::NotConfirmed)) {
            return VerdictColour(e.state == ReadState::Confirmed);
        }
        if (role != Qt::DisplayRole) return {};
        if (!e.readable) {
            return column == MailboxColumn::Correspondent
                       ? Tr(txt::kUnreadableRecord, {QString::number(e.position + 1)})
                       : QVariant();
        }
        switch (column) {
            case MailboxColumn::Date:
                return QString::fromStdString(e.date);
            case MailboxColumn::Correspondent:
                return e.correspondent;
            case MailboxColumn::Subject:
                return e.subject;
            case MailboxColumn::Attachments:
                if (e.attachments == 0) return {};
                return QStringLiteral("%1 (%2)")
                    .arg(e.attachments)
                    .arg(SizeText(e.attachmentBytes));
            case MailboxColumn::State:
                switch (e.origin) {
                    case MailboxOrigin::Queued:
                        return Tr(txt::kStateWaiting);
                    case MailboxOrigin::Sent:
                        return Tr(txt::kStateSent);
                    case MailboxOrigin::Received:
                        switch (e.state) {
                            case ReadState::Unread:
                                return Tr(txt::kStateUnread);
                            case ReadState::Earlier:
                                return Tr(txt::kStateRead);
                            case ReadState::Confirmed:
                                return Tr(txt::kStateConfirmed);
                            case ReadState::NotConfirmed:
                                return Tr(txt::kStateNotConfirmed);
                        }
                }
        }
        return {};
    }

  private:
    const MailboxList& list_;
};

namespace {

QTableView* NewGrid(QWidget* parent, const char* name, MailboxModel* model) {
    auto* grid = Named(new QTableView(parent), name);
    grid->setModel(model);
    // Rows of one height: the view never measures them.
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->verticalHeader()->hide();
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    QHeaderView& header = *grid->horizontalHeader();
    header.setSectionResizeMode(QHeaderView::Interactive);
    header.setSectionsClickable(true);
    header.setHighlightSections(false);
    header.setStretchLastSection(true);
    header.setSortIndicatorShown(true);
    const QFontMetrics& fm = grid->fontMetrics();
    const int widths[kMailboxColumns] = {
        fm.horizontalAdvance(QStringLiteral("00/00/0000 00:00:00")) + 16,
        fm.horizontalAdvance(QString(40, QChar(u'x'))),
        fm.horizontalAdvance(QString(36, QChar(u'x'))),
        fm.horizontalAdvance(QStringLiteral("99 (999,9 Mo)")) + 16,
        fm.horizontalAdvance(QString(24, QChar(u'x')))};
    for (int c = 0; c < kMailboxColumns; ++c)
        header.resizeSection(c, widths[c]);
    header.setSortIndicator(0, Qt::DescendingOrder);  // newest first
    return grid;
}

}  // namespace

FormCourrier::FormCourrier(HolderContext& ctx, MailState& mail, QWidget* parent)
    : QuarnelDialog(ctx, "FormCourrier", kHelpMailbox, parent), mail_(mail) {
    setModal(false);
    auto* outer = new QVBoxLayout(this);
    auto* filterRow = new QHBoxLayout;
    labelFiltre_ = Named(new QLabel(this), "LabelFiltre");
    editFiltre_ = Named(new QLineEdit(this), "EditFiltre");
    editFiltre_->setClearButtonEnabled(true);
    FitToLength(*editFiltre_, 30, QChar(u'x'));
    labelFiltre_->setBuddy(editFiltre_);
    filterRow->addWidget(labelFiltre_);
    filterRow->addWidget(editFiltre_, 1);
    outer->addLayout(filterRow);

    onglets_ = Named(new QTabWidget(this), "OngletsCourrier");
    modelRecus_ = new MailboxModel(received_, this);
    modelEnvoyes_ = new MailboxModel(sent_, this);
    grilleRecus_ = NewGrid(onglets_, "GrilleRecus", modelRecus_);
    grilleEnvoyes_ = NewGrid(onglets_, "GrilleEnvoyes", modelEnvoyes_);
    onglets_->addTab(grilleRecus_, QString());
    onglets_->addTab(grilleEnvoyes_, QString());
    outer->addWidget(onglets_, 1);

    labelEtat_ = Named(new QLabel(this), "LabelEtat");
    labelEtat_->setWordWrap(true);
    labelEtat_->setTextFormat(Qt::PlainText);
    outer->addWidget(labelEtat_);

    auto* buttons = new QHBoxLayout;
    ouvrir_ = Named(new QPushButton(this), "BitBtnOuvrir");
    supprimer_ = Named(new QPushButton(this), "BitBtnSupprimer");
    rechercher_ = Named(new QPushButton(this), "BitBtnRechercher");
    fermer_ = Named(new QPushButton(this), "BitBtnFermer");
    aide_ = Named(new QPushButton(this), "BitBtnAide");
    for (QPushButton* b : {ouvrir_, supprimer_, rechercher_, fermer_, aide_})
        b->setAutoDefault(false);
    ouvrir_->setDefault(true);
    buttons->addWidget(ouvrir_);
    buttons->addWidget(supprimer_);
    buttons->addWidget(rechercher_);
    buttons->addStretch();
    buttons->addWidget(fermer_);
    buttons->addWidget(aide_);
    outer->addLayout(buttons);
    resize(grilleRecus_->horizontalHeader()->length() + 60, 480);

    connect(editFiltre_, &QLineEdit::textChanged, this, &FormCourrier::FiltreChanged);
    for (QTableView* grid : {grilleRecus_, grilleEnvoyes_}) {
        connect(grid->horizontalHeader(), &QHeaderView::sectionPressed, this,
                &FormCourrier::HeaderPressed);
        connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &FormCourrier::UpdateButtons);
    }
    connect(grilleRecus_, &QAbstractItemView::doubleClicked, this, &FormCourrier::OuvrirClick);
    connect(onglets_, &QTabWidget::currentChanged, this, &FormCourrier::UpdateButtons);
    connect(ouvrir_, &QPushButton::clicked, this, &FormCourrier::OuvrirClick);
    connect(supprimer_, &QPushButton::clicked, this, &FormCourrier::SupprimerClick);
    connect(rechercher_, &QPushButton::clicked, this, &FormCourrier::RechercherClick);
    connect(fermer_, &QPushButton::clicked, this, &QDialog::close);
    connect(aide_, &QPushButton::clicked, this, &QuarnelDialog::ShowHelp);
    Retranslate();
}

FormCourrier::~FormCourrier() = default;

void FormCourrier::Retranslate() {
    setWindowTitle(Tr(txt::kMailboxCaption));
    labelFiltre_->setText(Tr(txt::kFilterLabel));
    onglets_->setTabText(0, Tr(txt::kReceivedTab));
    onglets_->setTabText(1, Tr(txt::kSentTab));
    ouvrir_->setText(Tr(txt::kOpenMessageButton));
    supprimer_->setText(Tr(txt::kDeleteMessageButton));
    rechercher_->setText(Tr(txt::kSearchButton));
    fermer_->setText(Tr(txt::kCloseButton));
    aide_->setText(Tr(txt::kHelpButton));
    modelRecus_->Retranslate();
    modelEnvoyes_->Retranslate();
    labelEtat_->setText(Status());
    UpdateButtons();
}

void FormCourrier::ShowRows(const std::function<void()>& change) {
    // The message chosen stays chosen wherever it goes.
    const MailboxEntry* chosen = Selected();
    const bool any = chosen != nullptr;
    const std::size_t position = any ? chosen->position : 0;
    const std::string mark = any ? chosen->mark : std::string();
    change();
    modelRecus_->Reset();
    modelEnvoyes_->Reset();
    for (std::size_t row = 0; any && row < received_.Size(); ++row) {
        const MailboxEntry& e = received_.Row(row);
        if (mark.empty() ? e.position == position : e.mark == mark) SelectReceived(int(row));
    }
    labelEtat_->setText(Status());
    UpdateButtons();
}

void FormCourrier::ShowMailbox(const QWidget& mainWindow) {
    Reload();
    if (!placed_) {
        PlaceDialog(*this, mainWindow);
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
    if (!Selected() && received_.Size() > 0) SelectReceived(0);
    grilleRecus_->setFocus();
}

void FormCourrier::Reload() {
    ShowRows([this] { ReadLists(); });
}

void FormCourrier::ReadLists() {
    (void)marks_.Load(ReadMarksPath(ctx_));
    receivedLoad_ = ListReceived(mail_.receivedLog, ReceivedLogPath(ctx_),
                                 PathFromSetting(ctx_.settings.receivedEncryptedFolder), marks_);
    sentLoad_ = ListSent(mail_.sentLog, SentLogPath(ctx_),
                         PathFromSetting(ctx_.settings.sentEncryptedFolder));
    std::vector<MailboxEntry> sent = std::move(sentLoad_.entries);
    std::vector<MailboxEntry> queued = ListQueued(mail_.outgoingQueue);
    sent.insert(sent.end(), std::make_move_iterator(queued.begin()),
                std::make_move_iterator(queued.end()));
    received_.Assign(std::move(receivedLoad_.entries));
    sent_.Assign(std::move(sent));
    receivedLoad_.entries.clear();
    sentLoad_.entries.clear();
}

QString FormCourrier::Status() const {
    QStringList lines;
    lines << Tr(txt::kMessageCount, {QString::number(received_.Entries().size()),
                                     QString::number(sent_.Entries().size())});
    if (!searchNote_.isEmpty()) lines << searchNote_;
    const auto tell = [&](const MailboxLoad& load, const std::filesystem::path& path) {
        const QString file = QString::fromStdString(path.filename().string());
        if (load.unreadable) lines << Tr(txt::kLogUnreadable, {file});
        if (load.notListed > 0) lines << Tr(txt::kNotListed, {QString::number(load.notListed)});
        if (load.damagedFromLine > 0)
            lines << Tr(txt::kLogDamaged, {file, QString::number(load.damagedFromLine)});
    };
    tell(receivedLoad_, ReceivedLogPath(ctx_));
    tell(sentLoad_, SentLogPath(ctx_));
    return lines.join(u'\n');
}

const MailboxEntry* FormCourrier::Selected() const {
    if (onglets_->currentIndex() != 0) return nullptr;
    const QModelIndexList rows = grilleRecus_->selectionModel()->selectedRows();
    if (rows.isEmpty() || std::size_t(rows.front().row()) >= received_.Size()) return nullptr;
    return &received_.Row(std::size_t(rows.front().row()));
}

void FormCourrier::SelectReceived(int row) {
    onglets_->setCurrentIndex(0);
    grilleRecus_->selectRow(row);
    grilleRecus_->scrollTo(modelRecus_->index(row, 0));
}

void FormCourrier::UpdateButtons() {
    const MailboxEntry* e = Selected();
    const bool open = e && e->readable && !ctx_.busy;
    const bool remove = e && !ctx_.busy;
    ouvrir_->setEnabled(open);
    supprimer_->setEnabled(remove);
    ouvrir_->setToolTip(open ? QString() : Tr(ctx_.busy ? txt::kTipWait : txt::kTipOpenOff));
    supprimer_->setToolTip(remove ? QString() : Tr(ctx_.busy ? txt::kTipWait : txt::kTipDeleteOff));
    const bool search = !editFiltre_->text().trimmed().isEmpty() && !ctx_.busy;
    rechercher_->setEnabled(search);
    rechercher_->setToolTip(search      ? QString()
                            : ctx_.busy ? Tr(txt::kTipWait)
                                        : Tr(txt::kTipSearchOff));
}

void FormCourrier::FiltreChanged(const QString& text) {
    searchNote_.clear();
    ShowRows([&] {
        received_.SetFilter(text);
        sent_.SetFilter(text);
    });
}

void FormCourrier::HeaderPressed(int column) {
    MailboxList& list = onglets_->currentIndex() == 0 ? received_ : sent_;
    QTableView* grid = onglets_->currentIndex() == 0 ? grilleRecus_ : grilleEnvoyes_;
    const auto c = MailboxColumn(column);
    // A second press on the same column turns the order round.
    const bool ascending = list.Column() == c ? !list.Ascending() : c != MailboxColumn::Date;
    ShowRows([&] { list.SortBy(c, ascending); });
    grid->horizontalHeader()->setSortIndicator(
        column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void FormCourrier::OuvrirClick() {
    const MailboxEntry* e = Selected();
    if (!e || !e->readable || ctx_.busy) return;
    const std::optional<Record> record = mail_.receivedLog.Read(ReceivedLogPath(ctx_), e->position);
    std::optional<Lines> entry;
    if (record) entry = ReceivedQueueEntry(*record);
    if (!entry) {
        // The log changed under the window: what it holds now is shown.
        Reload();
        return;
    }
    Q_EMIT OpenRequested(*entry);
    UpdateButtons();
}

void FormCourrier::RechercherClick() {
    const QString words = editFiltre_->text().trimmed();
    if (words.isEmpty() || ctx_.busy) return;
    std::vector<std::size_t> positions;
    QStringList subjects;
    for (const MailboxEntry& e : received_.Entries()) {
        if (!e.readable) continue;
        positions.push_back(e.position);
        subjects << e.subject;
    }
    TextSearch result;
    {
        BusyGuard busy(ctx_);
        UpdateButtons();
        // The decryption says where it is on the information line: kept from
        // the window while it runs off its thread.
        const int information = ctx_.information;
        bool cancelled = false;
        {
            const InformationFromWorker hidden(ctx_, *this, nullptr);
            (void)runJob(
                this, Tr(txt::kSearchCaption),
                [&](const JobProgress& progress) {
                    result = SearchReceivedTexts(
                        ctx_, mail_.receivedLog, ReceivedLogPath(ctx_), positions, words,
                        [&](std::size_t done, std::size_t total) {
                            return progress(subjects.value(qsizetype(done)), done, total);
                        });
                    return !result.cancelled;
                },
                &cancelled);
        }
        SetInformation(ctx_, information);
    }
    if (!result.cancelled) {
        // The finds replace the filter's rows until the filter changes.
        searchNote_ = Tr(txt::kFoundInTexts, {QString::number(result.found.size()), words});
        if (result.undecipherable > 0)
            searchNote_ += ' ' + Tr(txt::kNotDecrypted, {QString::number(result.undecipherable)});
        onglets_->setCurrentIndex(0);
        ShowRows([&] { received_.SetFound(result.found); });
    }
    UpdateButtons();
}

void FormCourrier::MarkRead(std::span<const std::string> textAndNames, bool confirmed) {
    const std::string mark = ReadMark(textAndNames);
    // The file as it is now: another run of the marks may have written it.
    (void)marks_.Load(ReadMarksPath(ctx_));
    marks_.Set(mark, confirmed);
    (void)marks_.Save(ReadMarksPath(ctx_), ctx_.Hooks().onSaveFailure);
    for (std::size_t row = 0; row < received_.Size(); ++row) {
        MailboxEntry& e = received_.Row(row);
        if (e.mark != mark) continue;
        e.state = confirmed ? ReadState::Confirmed : ReadState::NotConfirmed;
        modelRecus_->RowChanged(int(row));
    }
}

void FormCourrier::SupprimerClick() {
    const MailboxEntry* e = Selected();
    if (!e || ctx_.busy) return;
    const QString what = e->readable
                             ? Tr(txt::kDeleteQuestion,
                                  {e->subject, e->correspondent, QString::fromStdString(e->date)})
                             : Tr(txt::kDeleteQuestion,
                                  {Tr(txt::kUnreadableRecord, {QString::number(e->position + 1)}),
                                   QStringLiteral("?"), QStringLiteral("?")});
    if (Ask(this, BoxIcon::Question, what, kYes | kNo) != kYes) return;
    std::string why;
    if (!DeleteReceived(mail_.receivedLog, ReceivedLogPath(ctx_),
                        PathFromSetting(ctx_.settings.receivedEncryptedFolder), e->position, marks_,
                        why)) {
        (void)Ask(this, BoxIcon::Warning, Tr(txt::kDeleteFailed, {QString::fromStdString(why)}),
                  kOk);
    } else {
        (void)marks_.Save(ReadMarksPath(ctx_), ctx_.Hooks().onSaveFailure);
    }
    Reload();
}

}  // namespace quarnel::ui
