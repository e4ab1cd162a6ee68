// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/windows/form_liste.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMetaMethod>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "holder/program_state.h"
#include "messages/addressee.h"
#include "store/correspondents.h"
#include "store/list_view.h"
#include "store/texts.h"
#include "store/windows/correspondents_model.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

constexpr int kCaption[] = {txt::kListPrivatePersons, txt::kListIndependents, txt::kListEmployees};
constexpr int kTitles[] = {txt::kColumnsPrivatePersons, txt::kColumnsIndependents,
                           txt::kColumnsEmployees};

int ByCategory(const int (&texts)[3], char category) {
    return texts[category == 'A' ? 0 : category == 'D' ? 1 : 2];
}

// The grid's header, the key column's title on the light 3-D colour.
class KeyHeader final : public QHeaderView {
  public:
    explicit KeyHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}
    int key = 0;

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        if (logicalIndex != key || !rect.isValid()) return;
        painter->save();
        painter->fillRect(rect.adjusted(1, 1, -1, -1), palette().color(QPalette::Light));
        QFont bold = font();
        bold.setBold(true);
        painter->setFont(bold);
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawText(rect.adjusted(2, 2, -2, 0), Qt::AlignCenter,
                          model()->headerData(logicalIndex, Qt::Horizontal).toString());
        painter->restore();
    }
};

bool Inside(const QWidget* widget, const QWidget* box) {
    return widget && (widget == box || box->isAncestorOf(widget));
}

}  // namespace

FormListe::FormListe(HolderContext& ctx, MessageState& msgs, QWidget* parent)
    : QuarnelDialog(ctx, "FormListe", kHelpCorrespondents, parent), msgs_(msgs) {
    setModal(false);
    setSizeGripEnabled(true);
    auto* root = new QVBoxLayout(this);

    auto* panelSuperieur = Named(new QWidget(this), "PanelSuperieur");
    auto* top = new QHBoxLayout(panelSuperieur);
    top->setContentsMargins(0, 0, 0, 0);
    labelFiltre_ = Named(new QLabel(panelSuperieur), "LabelFiltre");
    editFiltre_ = Named(new QLineEdit(panelSuperieur), "EditFiltre");
    FitToLength(*editFiltre_, 16, u'X');
    labelFiltre_->setBuddy(editFiltre_);
    bitBtnListe_ = Named(new QPushButton(panelSuperieur), "BitBtnListe");
    bitBtnCorrespondre_ = Named(new QPushButton(panelSuperieur), "BitBtnCorrespondre");
    bitBtnSupprimer_ = Named(new QPushButton(panelSuperieur), "BitBtnSupprimer");
    bitBtnAJour_ = Named(new QPushButton(panelSuperieur), "BitBtnAJour");
    top->addWidget(labelFiltre_);
    top->addWidget(editFiltre_);
    top->addStretch();
    for (QPushButton* b : {bitBtnListe_, bitBtnCorrespondre_, bitBtnSupprimer_, bitBtnAJour_}) {
        b->setAutoDefault(false);
        top->addWidget(b);
    }
    root->addWidget(panelSuperieur);

    grille_ = Named(new QTableView(this), "grille");
    header_ = new KeyHeader(grille_);
    grille_->setHorizontalHeader(header_);
    model_ = new CorrespondentsModel(this);
    grille_->setModel(model_);
    // Rows of one height: the view never measures them.
    grille_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grille_->verticalHeader()->setDefaultSectionSize(grille_->fontMetrics().height() + 8);
    grille_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grille_->setSelectionMode(QAbstractItemView::SingleSelection);
    grille_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grille_->setShowGrid(true);
    grille_->setWordWrap(false);
    grille_->verticalHeader()->hide();
    grille_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grille_->horizontalHeader()->setSectionsClickable(true);
    grille_->horizontalHeader()->setHighlightSections(false);
    grille_->horizontalHeader()->setStretchLastSection(true);
    root->addWidget(grille_, 1);

    auto* panelInferieur = Named(new QWidget(this), "PanelInferieur");
    auto* bottom = new QHBoxLayout(panelInferieur);
    bottom->setContentsMargins(0, 0, 0, 0);
    bitBtnQuitter_ = Named(new QPushButton(panelInferieur), "BitBtnQuitter");
    bitBtnAide_ = Named(new QPushButton(panelInferieur), "BitBtnAide");
    groupBoxRemarque_ = Named(new QGroupBox(panelInferieur), "GroupBoxRemarque");
    auto* remark = new QHBoxLayout(groupBoxRemarque_);
    editRemarque_ = Named(new QLineEdit(groupBoxRemarque_), "EditRemarque");
    editRemarque_->setMaxLength(int(kMaxRemarkLength));
    editRemarque_->setMinimumWidth(340);
    bitBtnRemarque_ = Named(new QPushButton(groupBoxRemarque_), "BitBtnRemarque");
    bitBtnRemarque_->setDefault(true);
    bitBtnRemarque_->setEnabled(false);
    remark->addWidget(editRemarque_, 1);
    remark->addWidget(bitBtnRemarque_);
    // The remark box in the middle, Quitter at the left, Aide at the right.
    bottom->addWidget(bitBtnQuitter_, 0, Qt::AlignBottom);
    bottom->addStretch(1);
    bottom->addWidget(groupBoxRemarque_);
    bottom->addStretch(1);
    bottom->addWidget(bitBtnAide_, 0, Qt::AlignBottom);
    for (QPushButton* b : {bitBtnQuitter_, bitBtnAide_})
        b->setAutoDefault(false);
    root->addWidget(panelInferieur);

    popupMenuMsg_ = Named(new QMenu(this), "PopupMenuMsg");
    menuTexteSimple_ = Named(popupMenuMsg_->addAction(QString()), "MenuTexteSimple");
    menuTexteFormate_ = Named(popupMenuMsg_->addAction(QString()), "MenuTexteFormate");

    connect(editFiltre_, &QLineEdit::textChanged, this, &FormListe::EditFiltreChange);
    connect(grille_->horizontalHeader(), &QHeaderView::sectionPressed, this,
            &FormListe::grilleHeaderPressed);
    connect(grille_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FormListe::grilleSelectCell);
    // A double click on a correspondent offers what Correspondre offers.
    connect(grille_, &QAbstractItemView::doubleClicked, this, [this] {
        if (bitBtnCorrespondre_->isEnabled()) popupMenuMsg_->popup(QCursor::pos());
    });
    connect(bitBtnListe_, &QPushButton::clicked, this, &FormListe::BitBtnListeClick);
    connect(bitBtnCorrespondre_, &QPushButton::clicked, this, &FormListe::BitBtnCorrespondreClick);
    connect(menuTexteSimple_, &QAction::triggered, this,
            [this] { MenuTexteClick(Kind::PlainMessage); });
    connect(menuTexteFormate_, &QAction::triggered, this,
            [this] { MenuTexteClick(Kind::RichMessage); });
    connect(bitBtnAJour_, &QPushButton::clicked, this, &FormListe::BitBtnAJourClick);
    connect(bitBtnSupprimer_, &QPushButton::clicked, this, &FormListe::BitBtnSupprimerClick);
    connect(editRemarque_, &QLineEdit::textEdited, this, &FormListe::EditRemarqueChange);
    connect(bitBtnRemarque_, &QPushButton::clicked, this, &FormListe::BitBtnRemarqueClick);
    connect(bitBtnQuitter_, &QPushButton::clicked, this, &FormListe::BitBtnQuitterClick);
    connect(bitBtnAide_, &QPushButton::clicked, this, &QuarnelDialog::ShowHelp);
    connect(qApp, &QApplication::focusChanged, this, &FormListe::OnFocusChanged);
    Retranslate();
}

FormListe::~FormListe() {
    // QDialog's destructor hides the window, which moves the focus: by then
    // this part of the object is gone and must not be called.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void FormListe::Retranslate() {
    labelFiltre_->setText(Tr(txt::kFilter));
    bitBtnListe_->setText(Tr(txt::kListsButton));
    bitBtnCorrespondre_->setText(Tr(txt::kWriteButton));
    bitBtnSupprimer_->setText(Tr(txt::kDeleteButton));
    bitBtnAJour_->setText(Tr(txt::kUpdateKeyButton));
    bitBtnQuitter_->setText(Tr(txt::kQuitButton));
    bitBtnAide_->setText(Tr(txt::kHelpButton));
    groupBoxRemarque_->setTitle(Tr(txt::kRemark));
    bitBtnRemarque_->setText(Tr(txt::kSaveButton));
    editRemarque_->setToolTip(Tr(txt::kRemarkTooLong, {QString::number(kMaxRemarkLength)}));
    menuTexteSimple_->setText(Tr(txt::kPlainMessage));
    menuTexteFormate_->setText(Tr(txt::kFormattedMessage));
    setWindowTitle(Tr(ByCategory(kCaption, category_)));
    ShowHeader();
    UpdateButtons();
}

void FormListe::showEvent(QShowEvent* event) {
    FormActivate();
    QuarnelDialog::showEvent(event);
}

void FormListe::hideEvent(QHideEvent* event) {
    QuarnelDialog::hideEvent(event);
    // Closed, the window holds no rows; it shows them again when opened.
    model_->Clear();
    UpdateButtons();
    // With the last correspondent gone, "Correspondants" has nothing to open.
    if (!ctx_.correspondents.AnyNonEmpty()) Q_EMIT CorrespondentsGone();
}

void FormListe::FormActivate() {
    category_ = LayoutFor(ctx_.listCategory) ? ctx_.listCategory : 'F';
    keyColumn_ = 0;
    LoadRemarksOnce();
    setWindowTitle(Tr(ByCategory(kCaption, category_)));
    SetFilterRule();
    {
        const QSignalBlocker quiet(editFiltre_);
        editFiltre_->clear();
    }
    ShowHeader();
    Refill(true);
    const std::vector<int> widths = ColumnWidths(category_);
    const QStringList titleTexts = Titles();
    QFont bold = header_->font();
    bold.setBold(true);
    const QFontMetrics titles(bold);
    const QFontMetrics cells(grille_->font());
    const int numberColumn = int(LayoutFor(category_)->numberLine);
    int total = 0;
    for (int c = 0; c < int(widths.size()); ++c) {
        // At least the usual width, room for the title as the key column's,
        // and for a whole affiliation number or date.
        const QString title = titleTexts.value(c);
        int width = std::max(widths[std::size_t(c)], titles.horizontalAdvance(title) + 14);
        if (c == numberColumn) width = std::max(width, cells.horizontalAdvance("DDDDDDDDDDD") + 14);
        if (c == numberColumn + 1)
            width = std::max(width, cells.horizontalAdvance("00/00/0000") + 14);
        grille_->setColumnWidth(c, width);
        total += width;
    }
    // Every column in view, unless the screen has not the room: the grid then
    // scrolls its columns.
    const int all = total + 2 * grille_->frameWidth() +
                    grille_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QScreen* shown = screen();
    grille_->setMinimumWidth(shown ? std::min(all, shown->availableGeometry().width() * 3 / 4)
                                   : all);
}

void FormListe::LoadRemarksOnce() {
    const std::filesystem::path folder = PathFromSetting(ctx_.settings.keyFolder);
    if (remarksLoaded_ && folder == remarksFolder_) return;
    remarksFolder_ = folder;
    remarksLoaded_ = true;
    if (LoadRemarks(folder, remarks_) == RemarksLoad::Damaged) {
        (void)Ask(this, BoxIcon::Warning,
                  Tr(txt::kFileAltered, {QString::fromLatin1(kRemarksFileName)}), kCancel);
    }
}

QStringList FormListe::Titles() const {
    QStringList titles = Tr(ByCategory(kTitles, category_)).split(u'\n');
    titles << Tr(txt::kAffiliationDate);
    return titles;
}

void FormListe::ShowHeader() {
    model_->SetTitles(Titles());
    static_cast<KeyHeader*>(header_)->key = keyColumn_;
    header_->viewport()->update();
}

void FormListe::SetFilterRule() {
    const FilterRule rule = FilterRuleFor(category_, keyColumn_);
    editFiltre_->setMaxLength(rule.maxLength > 0 ? rule.maxLength : 32767);
}

void FormListe::EditFiltreChange(const QString& text) {
    const FilterRule rule = FilterRuleFor(category_, keyColumn_);
    const QString forced = rule.lowerCase ? text.toLower() : text.toUpper();
    if (forced != text) {
        const int cursor = editFiltre_->cursorPosition();
        editFiltre_->setText(forced.left(editFiltre_->maxLength()));  // comes back here
        editFiltre_->setCursorPosition(cursor);
        return;
    }
    Refill(false);
}

void FormListe::Refill(bool arrange) {
    const RecordList& list = *ctx_.correspondents.ForCategory(category_);
    const std::string filter = ToCp1252(editFiltre_->text());
    const QSignalBlocker quiet(grille_->selectionModel());
    if (arrange)
        model_->Show(list, category_, keyColumn_, filter);
    else
        model_->Filter(filter);
    if (model_->ShownCount() == 0) {
        grille_->setSelectionMode(QAbstractItemView::NoSelection);
        grille_->clearSelection();
        editRemarque_->clear();
        editRemarque_->setModified(false);
        groupBoxRemarque_->setEnabled(false);
    } else {
        grille_->setSelectionMode(QAbstractItemView::SingleSelection);
        grille_->selectRow(0);
        groupBoxRemarque_->setEnabled(true);
    }
    ShowRemarkOfSelection();
    UpdateButtons();
    editFiltre_->setFocus();
}

int FormListe::SelectedIndex() const {
    const QModelIndexList rows = grille_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : model_->RecordOf(rows.first().row());
}

const Record* FormListe::SelectedRecord() const {
    const int index = SelectedIndex();
    const RecordList& list = *ctx_.correspondents.ForCategory(category_);
    return index >= 0 && std::size_t(index) < list.size() ? &list[std::size_t(index)] : nullptr;
}

std::string FormListe::SelectedNumber() const {
    const Record* r = SelectedRecord();
    const std::size_t line = LayoutFor(category_)->numberLine;
    return r && line < r->size() ? (*r)[line] : std::string();
}

void FormListe::ShowRemarkOfSelection() {
    const Record* r = SelectedRecord();
    editRemarque_->setText(r ? FromCp1252(remarks_.Get(category_, SelectedNumber())) : QString());
    editRemarque_->setModified(false);
    // The selected correspondent is what the composer writes to.
    if (r) {
        msgs_.recipientCategory = category_;
        msgs_.recipientRecord = *r;
    }
}

void FormListe::UpdateButtons() {
    const bool edited = editRemarque_->isModified();
    const ListButtons b = ListButtonsFor(model_->ShownCount(), ctx_.correspondents.Total(), edited);
    bitBtnListe_->setEnabled(b.listes);
    bitBtnListe_->setToolTip(b.listes ? QString()
                             : edited ? Tr(txt::kRemarkNotSaved)
                                      : Tr(txt::kAllListsShown));
    for (QPushButton* button : {bitBtnCorrespondre_, bitBtnSupprimer_, bitBtnAJour_}) {
        button->setEnabled(b.actions);
        button->setToolTip(b.actions ? QString()
                           : edited  ? Tr(txt::kRemarkNotSaved)
                                     : Tr(txt::kNoCorrespondentShown));
    }
    bitBtnRemarque_->setEnabled(b.remarque);
    bitBtnRemarque_->setToolTip(b.remarque ? QString() : Tr(txt::kRemarkUnchanged));
}

void FormListe::grilleHeaderPressed(int column) {
    if (column < 0 || column >= model_->columnCount()) return;
    keyColumn_ = column;
    ShowHeader();
    SetFilterRule();
    const QSignalBlocker quiet(editFiltre_);
    editFiltre_->clear();
    Refill(true);
}

void FormListe::grilleSelectCell() {
    if (model_->ShownCount() == 0) return;
    ShowRemarkOfSelection();
    UpdateButtons();
}

void FormListe::ListChanged(char category) {
    if (category == category_ && isVisible()) {
        const QSignalBlocker quiet(editFiltre_);
        Refill(true);
    }
}

void FormListe::BitBtnListeClick() {
    close();
    Q_EMIT ListsAgain();
}

void FormListe::BitBtnCorrespondreClick() {
    popupMenuMsg_->popup(bitBtnCorrespondre_->mapToGlobal(QPoint(0, 24)));
    editFiltre_->setFocus();
}

void FormListe::MenuTexteClick(Kind kind) {
    if (ctx_.busy || !SelectedRecord()) return;
    ShowRemarkOfSelection();
    close();
    if (isSignalConnected(QMetaMethod::fromSignal(&FormListe::CorrespondRequested))) {
        Q_EMIT CorrespondRequested(kind);
    } else {
        Inform(parentWidget(), Tr(txt::kNotAvailableYet));
    }
}

void FormListe::BitBtnAJourClick() {
    if (ctx_.busy) return;
    const std::string number = SelectedNumber();
    if (number.empty()) return;
    close();
    Q_EMIT KeyUpdateRequested(number);
}

void FormListe::BitBtnSupprimerClick() {
    const int index = SelectedIndex();
    if (index < 0) return;
    const std::string number = SelectedNumber();
    const QString named =
        Tr(txt::kNamedDeletion,
           {FromCp1252(AddresseeText(ctx_, category_, *SelectedRecord())), FromCp1252(number)});
    if (Ask(this, BoxIcon::Question, named, kOk | kCancel) == kCancel) return;
    const std::filesystem::path keyFolder = PathFromSetting(ctx_.settings.keyFolder);
    std::filesystem::path kept;
    const RecordList& list = *ctx_.correspondents.ForCategory(category_);
    const Record gone = list[std::size_t(index)];
    const std::size_t before = list.size();
    (void)DeleteCorrespondent(ctx_.correspondents, category_, std::size_t(index), keyFolder,
                              ctx_.Hooks().onSaveFailure, &kept, ctx_.Hooks().saveRunner);
    if (list.size() < before) model_->Removed(std::size_t(index));
    if (!kept.empty()) NoteKeptDamagedList(ctx_, kept);
    // The remark goes with its correspondent, unless the same number is
    // still in the list (a hand-made file may hold it twice).
    if (FindCorrespondent(ctx_.correspondents, category_, number) < 0 &&
        remarks_.Erase(category_, number)) {
        (void)SaveRemarks(remarks_, keyFolder, ctx_.Hooks().onSaveFailure);
    }
    // The deleted record can no longer be written to.
    if (msgs_.recipientCategory == category_ && msgs_.recipientRecord == gone) {
        msgs_.recipientCategory = 0;
        msgs_.recipientRecord.clear();
    }
    Refill(false);
}

void FormListe::EditRemarqueChange() {
    UpdateButtons();
}

void FormListe::BitBtnRemarqueClick() {
    const std::string number = SelectedNumber();
    if (number.empty()) return;
    if (!remarks_.Set(category_, number, ToCp1252(editRemarque_->text()))) return;
    (void)SaveRemarks(remarks_, PathFromSetting(ctx_.settings.keyFolder),
                      ctx_.Hooks().onSaveFailure);
    editRemarque_->setModified(false);
    UpdateButtons();
    editFiltre_->setFocus();
}

void FormListe::GroupBoxRemarqueExit() {
    ShowRemarkOfSelection();
    UpdateButtons();
}

void FormListe::OnFocusChanged(QWidget* old, QWidget* now) {
    // Leaving the remark box for another place of this window discards what
    // was not saved.
    if (!isVisible() || !Inside(old, groupBoxRemarque_) || Inside(now, groupBoxRemarque_)) return;
    if (!now || now->window() != this) return;
    if (editRemarque_->isModified()) GroupBoxRemarqueExit();
}

void FormListe::BitBtnQuitterClick() {
    close();
}

}  // namespace quarnel::ui
