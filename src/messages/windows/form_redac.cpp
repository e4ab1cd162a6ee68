// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/windows/form_redac.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "holder/holder_context.h"
#include "mail/mail_size.h"
#include "messages/texts.h"
#include "messages/windows/texts.h"
#include "rtf/rtf.h"
#include "store/record_list.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

constexpr int kSizes[] = {4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 22,
                          24, 26, 28, 30, 32, 34, 36, 38, 40, 44, 48, 52, 56, 60, 64, 68, 72};

struct Colour {
    int text;
    const char* name;
    QRgb rgb;
};
constexpr Colour kColours[] = {
    {txt::kRed, "rouge", 0xFF0000},
    {txt::kGreen, "vert", 0x008000},
    {txt::kBlue, "bleu", 0x0000FF},
    {txt::kBlack, "noir", 0x000000},
};

QAction* MakeAction(QObject* parent, const char* name) {
    auto* a = new QAction(parent);
    a->setObjectName(name);
    return a;
}

// Plain drawings for the commands, the same on every desktop.
QIcon DrawnIcon(std::string_view name) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2));
    const auto sheet = [&](qreal x, qreal y) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(x, y, 8, 10));
        p.drawLine(QPointF(x + 2, y + 3), QPointF(x + 6, y + 3));
        p.drawLine(QPointF(x + 2, y + 6), QPointF(x + 6, y + 6));
    };
    const auto disk = [&] {
        p.setBrush(QColor(0x40, 0x60, 0xB0));
        p.drawRect(QRectF(1.5, 1.5, 12, 12));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 2, 7, 4));
    };
    if (name == "document-open") {
        p.setBrush(QColor(0xE8, 0xC0, 0x50));
        p.drawPolygon(QPolygonF({{1, 4}, {6, 4}, {7, 6}, {15, 6}, {15, 14}, {1, 14}}));
    } else if (name == "document-save") {
        disk();
    } else if (name == "document-save-as") {
        disk();
        p.setPen(QPen(QColor(0xC0, 0x30, 0x30), 2));
        p.drawLine(QPointF(9, 14), QPointF(15, 8));
    } else if (name == "document-print") {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(0x90, 0x90, 0x90));
        p.drawRect(QRectF(1.5, 6, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 10, 8, 5));
    } else if (name == "edit-select-all") {
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1, Qt::DashLine));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.fillRect(QRectF(4, 5, 8, 6), QColor(0x40, 0x60, 0xB0));
    } else if (name == "edit-cut") {
        p.drawLine(QPointF(4, 1), QPointF(11, 10));
        p.drawLine(QPointF(12, 1), QPointF(5, 10));
        p.drawEllipse(QPointF(4, 12.5), 2.5, 2.5);
        p.drawEllipse(QPointF(12, 12.5), 2.5, 2.5);
    } else if (name == "edit-copy") {
        sheet(1.5, 1.5);
        sheet(6.5, 4.5);
    } else if (name == "edit-paste") {
        p.setBrush(QColor(0xC0, 0x90, 0x50));
        p.drawRect(QRectF(1.5, 2.5, 10, 12));
        sheet(6.5, 4.5);
    } else if (name.starts_with("format-justify-")) {
        const bool left = name.ends_with("left"), right = name.ends_with("right");
        for (int row = 0; row < 5; ++row) {
            const qreal width = row % 2 ? 8 : 13;
            const qreal x = left ? 1.5 : right ? 14.5 - width : 8 - width / 2;
            p.drawLine(QPointF(x, 2.5 + row * 2.75), QPointF(x + width, 2.5 + row * 2.75));
        }
    } else if (name == "format-list-unordered") {
        p.setBrush(QColor(0x30, 0x30, 0x30));
        for (int row = 0; row < 3; ++row) {
            p.drawEllipse(QPointF(3, 3.5 + row * 4.5), 1.3, 1.3);
            p.drawLine(QPointF(6.5, 3.5 + row * 4.5), QPointF(14.5, 3.5 + row * 4.5));
        }
    } else if (name == "edit-undo") {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.6));
        p.drawArc(QRectF(3, 4, 11, 9), 90 * 16, -200 * 16);
        p.setBrush(QColor(0x30, 0x30, 0x30));
        p.drawPolygon(QPolygonF({{1, 5}, {7, 1.5}, {7, 8.5}}));
    }
    return QIcon(pixmap);
}

QString FirstFamily(const QTextCharFormat& f) {
    const QStringList families = f.fontFamilies().toStringList();
    return families.isEmpty() ? f.font().family() : families.first();
}

}  // namespace

QString CharactersOutsideCp1252(const QString& text) {
    QString outside;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (c == U'\n' || c == U'\r' || c == U'\t' || c == U'\x2029' || c == U'\x2028') continue;
        if (ToCp1252(one) == "?" && c != U'?' && !outside.contains(one)) outside += one;
    }
    return outside;
}

FormRedac::FormRedac(HolderContext& ctx, MessageState& msgs, QWidget* parent)
    : QuarnelDialog(ctx, "FormRedac", kHelpWriting, parent), msgs_(msgs) {
    BuildWidgets();
    defaultFormat_ = editeur_->currentCharFormat();
    defaultFormat_.setFont(editeur_->font());
    defaultFormat_.setForeground(QColor(Qt::black));
    Retranslate();
}

void FormRedac::BuildWidgets() {
    setAcceptDrops(true);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(2);

    standardToolBar_ = Named(new QToolBar(this), "StandardToolBar");
    open_ = MakeAction(this, "OpenButton");
    save_ = MakeAction(this, "SaveButton");
    saveAs_ = MakeAction(this, "SaveAs");
    print_ = MakeAction(this, "PrintButton");
    selectAll_ = MakeAction(this, "ButtonSelection");
    cut_ = MakeAction(this, "CutButton");
    copy_ = MakeAction(this, "CopyButton");
    paste_ = MakeAction(this, "PasteButton");
    undo_ = MakeAction(this, "UndoButton");
    chiffrer_ = MakeAction(this, "Chiffrer");
    close_ = MakeAction(this, "WindowClose");
    help_ = MakeAction(this, "HelpContents");
    const std::pair<QAction*, const char*> icons[] = {
        {open_, "document-open"},   {save_, "document-save"},        {saveAs_, "document-save-as"},
        {print_, "document-print"}, {selectAll_, "edit-select-all"}, {cut_, "edit-cut"},
        {copy_, "edit-copy"},       {paste_, "edit-paste"},          {undo_, "edit-undo"},
    };
    for (const auto& [action, name] : icons) {
        action->setIcon(DrawnIcon(name));
        standardToolBar_->addAction(action);
        if (action == print_ || action == undo_) standardToolBar_->addSeparator();
    }
    for (QAction* a : {chiffrer_, close_, help_}) {
        standardToolBar_->addAction(a);
        static_cast<QToolButton*>(standardToolBar_->widgetForAction(a))
            ->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    root->addWidget(standardToolBar_);

    toolBarFormat_ = Named(new QToolBar(this), "ToolBarFormat");
    fontName_ = Named(new QComboBox(this), "FontName");
    fontName_->addItems(QFontDatabase::families());
    fontName_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fontName_->setMinimumContentsLength(18);
    hauteur_ = Named(new QComboBox(this), "hauteur");
    for (const int s : kSizes)
        hauteur_->addItem(QString::number(s));
    menuCouleur_ = Named(new QMenu(this), "MenuCouleur");
    for (const Colour& c : kColours) {
        QAction* a = MakeAction(menuCouleur_, c.name);
        QPixmap swatch(12, 12);
        swatch.fill(QColor(c.rgb));
        a->setIcon(QIcon(swatch));
        menuCouleur_->addAction(a);
        connect(a, &QAction::triggered, this, [this, rgb = c.rgb] {
            QTextCharFormat f;
            f.setForeground(QColor(rgb));
            MergeFormat(f);
        });
    }
    colorButton_ = Named(new QToolButton(this), "ColorButton");
    bold_ = MakeAction(this, "BoldButton");
    italic_ = MakeAction(this, "ItalicButton");
    underline_ = MakeAction(this, "UnderlineButton");
    leftAlign_ = MakeAction(this, "LeftAlign");
    centerAlign_ = MakeAction(this, "CenterAlign");
    rightAlign_ = MakeAction(this, "RightAlign");
    bullets_ = MakeAction(this, "BulletsButton");
    alignments_ = new QActionGroup(this);
    for (QAction* a : {bold_, italic_, underline_, leftAlign_, centerAlign_, rightAlign_, bullets_})
        a->setCheckable(true);
    for (QAction* a : {leftAlign_, centerAlign_, rightAlign_})
        alignments_->addAction(a);
    const std::pair<QAction*, const char*> formatIcons[] = {
        {leftAlign_, "format-justify-left"},
        {centerAlign_, "format-justify-center"},
        {rightAlign_, "format-justify-right"},
        {bullets_, "format-list-unordered"},
    };
    for (const auto& [action, name] : formatIcons)
        action->setIcon(DrawnIcon(name));
    QFont b = font();
    b.setBold(true);
    bold_->setFont(b);
    QFont i = font();
    i.setItalic(true);
    italic_->setFont(i);
    QFont u = font();
    u.setUnderline(true);
    underline_->setFont(u);
    toolBarFormat_->addWidget(fontName_);
    toolBarFormat_->addWidget(hauteur_);
    toolBarFormat_->addWidget(colorButton_);
    toolBarFormat_->addSeparator();
    for (QAction* a : {bold_, italic_, underline_})
        toolBarFormat_->addAction(a);
    toolBarFormat_->addSeparator();
    for (QAction* a : {leftAlign_, centerAlign_, rightAlign_})
        toolBarFormat_->addAction(a);
    toolBarFormat_->addSeparator();
    toolBarFormat_->addAction(bullets_);
    root->addWidget(toolBarFormat_);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 4, 8, 0);
    labelDest_ = Named(new QLabel(this), "LabelDest");
    labelDest_->setWordWrap(true);
    body->addWidget(labelDest_);
    auto* subject = new QHBoxLayout;
    labelObjet_ = Named(new QLabel(this), "LabelObjet");
    editObjet_ = Named(new QLineEdit(this), "EditObjet");
    editObjet_->setMaxLength(kMaxSubjectLength);
    labelObjet_->setBuddy(editObjet_);
    subject->addWidget(labelObjet_);
    subject->addWidget(editObjet_, 1);
    body->addLayout(subject);
    auto* files = new QHBoxLayout;
    speedBtnAttache_ = Named(new QToolButton(this), "SpeedBtnAttache");
    speedBtnAttache_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    speedBtnRetirer_ = Named(new QToolButton(this), "SpeedBtnRetirer");
    speedBtnRetirer_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    speedBtnRetirer_->setPopupMode(QToolButton::InstantPopup);
    menuRetirer_ = Named(new QMenu(this), "MenuRetirer");
    speedBtnRetirer_->setMenu(menuRetirer_);
    labelAttache_ = Named(new QLabel(this), "LabelAttache");
    labelAttache_->setWordWrap(true);
    labelAttache_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    labelTaille_ = Named(new QLabel(this), "LabelTaille");
    files->addWidget(speedBtnAttache_);
    files->addWidget(speedBtnRetirer_);
    files->addWidget(labelAttache_, 1);
    files->addWidget(labelTaille_);
    body->addLayout(files);
    editeur_ = Named(new QTextEdit(this), "editeur");
    editeur_->setTabChangesFocus(false);
    editeur_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editeur_->installEventFilter(this);
    editeur_->viewport()->installEventFilter(this);
    body->addWidget(editeur_, 1);
    root->addLayout(body, 1);
    // From the subject straight to the text.
    setTabOrder(editObjet_, editeur_);
    setTabOrder(editeur_, speedBtnAttache_);
    setTabOrder(speedBtnAttache_, speedBtnRetirer_);

    statusBar_ = Named(new QStatusBar(this), "StatusBar");
    panelPosition_ = Named(new QLabel(this), "PanelPosition");
    panelModified_ = Named(new QLabel(this), "PanelModified");
    const QFontMetrics fm(font());
    panelModified_->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("Modified ")) * 2);
    statusBar_->addWidget(panelPosition_);
    statusBar_->addWidget(panelModified_);
    statusBar_->setSizeGripEnabled(true);
    root->addWidget(statusBar_);

    // Commands.
    connect(open_, &QAction::triggered, this, &FormRedac::OpenClick);
    connect(save_, &QAction::triggered, this, &FormRedac::SaveClick);
    connect(saveAs_, &QAction::triggered, this, &FormRedac::SaveAsClick);
    connect(print_, &QAction::triggered, this, &FormRedac::PrintClick);
    connect(selectAll_, &QAction::triggered, editeur_, &QTextEdit::selectAll);
    connect(cut_, &QAction::triggered, this, [this] {
        deletion_ = true;
        editeur_->cut();
    });
    connect(copy_, &QAction::triggered, editeur_, &QTextEdit::copy);
    connect(paste_, &QAction::triggered, editeur_, &QTextEdit::paste);
    connect(undo_, &QAction::triggered, editeur_, &QTextEdit::undo);
    connect(chiffrer_, &QAction::triggered, this, &FormRedac::ChiffrerClick);
    connect(close_, &QAction::triggered, this, &FormRedac::WindowCloseClick);
    connect(help_, &QAction::triggered, this, &QuarnelDialog::ShowHelp);
    connect(speedBtnAttache_, &QToolButton::clicked, this, &FormRedac::SpeedBtnAttacheClick);
    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* s = new QShortcut(key, this);
        connect(s, &QShortcut::activated, this, &FormRedac::ChiffrerClick);
    }

    // Formatting, ignored while the bar follows the selection.
    connect(fontName_, &QComboBox::textActivated, this, [this](const QString& family) {
        if (updating_) return;
        QTextCharFormat f;
        f.setFontFamilies({family});
        MergeFormat(f);
        editeur_->setFocus();
    });
    connect(hauteur_, &QComboBox::textActivated, this, [this](const QString& size) {
        if (updating_) return;
        QTextCharFormat f;
        f.setFontPointSize(size.toInt());
        MergeFormat(f);
    });
    connect(colorButton_, &QToolButton::clicked, this,
            [this] { menuCouleur_->popup(colorButton_->mapToGlobal(QPoint(-5, 22))); });
    connect(bold_, &QAction::toggled, this, [this](bool on) {
        if (updating_) return;
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        MergeFormat(f);
    });
    connect(italic_, &QAction::toggled, this, [this](bool on) {
        if (updating_) return;
        QTextCharFormat f;
        f.setFontItalic(on);
        MergeFormat(f);
    });
    connect(underline_, &QAction::toggled, this, [this](bool on) {
        if (updating_) return;
        QTextCharFormat f;
        f.setFontUnderline(on);
        MergeFormat(f);
    });
    connect(leftAlign_, &QAction::triggered, this, [this] { SetAlignment(Qt::AlignLeft); });
    connect(centerAlign_, &QAction::triggered, this, [this] { SetAlignment(Qt::AlignHCenter); });
    connect(rightAlign_, &QAction::triggered, this, [this] { SetAlignment(Qt::AlignRight); });
    connect(bullets_, &QAction::toggled, this, [this](bool on) {
        if (!updating_) ToggleBullets(on);
    });

    // The bar, the status panels and the edit commands follow the text.
    connect(editeur_, &QTextEdit::cursorPositionChanged, this, &FormRedac::SelectionChanged);
    connect(editeur_, &QTextEdit::selectionChanged, this, &FormRedac::SelectionChanged);
    connect(editeur_, &QTextEdit::currentCharFormatChanged, this, &FormRedac::SyncToolbar);
    connect(editeur_->document(), &QTextDocument::modificationChanged, this,
            [this](bool modified) { panelModified_->setText(modified ? Tr(txt::kModified) : ""); });
    connect(editeur_->document(), &QTextDocument::contentsChanged, this,
            &FormRedac::UpdateMailSize);
    connect(editeur_, &QTextEdit::copyAvailable, this, &FormRedac::UpdateEditCommands);
    connect(editeur_, &QTextEdit::undoAvailable, this, &FormRedac::UpdateEditCommands);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &FormRedac::UpdateEditCommands);
}

void FormRedac::Retranslate() {
    setWindowTitle(Tr(txt::kComposerCaption));
    open_->setText(Tr(txt::kOpenTextAction));
    save_->setText(Tr(txt::kSaveTextAction));
    saveAs_->setText(Tr(txt::kSaveTextAsAction));
    print_->setText(Tr(txt::kPrint));
    selectAll_->setText(Tr(txt::kSelectAll));
    cut_->setText(Tr(txt::kCut));
    copy_->setText(Tr(txt::kCopy));
    paste_->setText(Tr(txt::kPaste));
    undo_->setText(Tr(txt::kUndo));
    chiffrer_->setText(Tr(txt::kEncryptButton));
    close_->setText(Tr(txt::kCloseButton));
    help_->setText(Tr(txt::kHelpButton));
    const auto withKey = [](int text, QKeyCombination key) {
        return Tr(text).remove('&') + " (" + QKeySequence(key).toString(QKeySequence::NativeText) +
               ")";
    };
    chiffrer_->setToolTip(withKey(txt::kEncryptButton, Qt::CTRL | Qt::Key_Return));
    close_->setToolTip(withKey(txt::kCloseButton, QKeyCombination(Qt::Key_Escape)));
    fontName_->setToolTip(Tr(txt::kFont));
    hauteur_->setToolTip(Tr(txt::kFontSize));
    colorButton_->setText(Tr(txt::kColour));
    colorButton_->setToolTip(Tr(txt::kColour));
    for (std::size_t k = 0; k < std::size(kColours); ++k)
        menuCouleur_->actions()[int(k)]->setText(Tr(kColours[k].text));
    bold_->setText(Tr(txt::kBoldShort));
    bold_->setToolTip(Tr(txt::kBold));
    italic_->setText(Tr(txt::kItalicShort));
    italic_->setToolTip(Tr(txt::kItalic));
    underline_->setText(Tr(txt::kUnderlineShort));
    underline_->setToolTip(Tr(txt::kUnderline));
    leftAlign_->setToolTip(Tr(txt::kAlignLeft));
    centerAlign_->setToolTip(Tr(txt::kAlignCentre));
    rightAlign_->setToolTip(Tr(txt::kAlignRight));
    bullets_->setToolTip(Tr(txt::kBullets));
    labelObjet_->setText(Tr(txt::kSubjectLabel));
    speedBtnAttache_->setText(Tr(txt::kAttachButton));
    speedBtnRetirer_->setText(Tr(txt::kRemoveAttachment));
    ShowAttachments();
    if (!hasFile_) fileName_ = Tr(txt::kFilePlaceholder);
    panelModified_->setText(editeur_->document()->isModified() ? Tr(txt::kModified) : "");
    SelectionChanged();
    UpdateEditCommands();
    // Both bars show whole, in either language.
    setMinimumWidth(
        std::max(standardToolBar_->sizeHint().width(), toolBarFormat_->sizeHint().width()) + 24);
}

void FormRedac::SetAddressee(const QString& text, bool registered) {
    labelDest_->setText(text);
    QPalette p = labelDest_->palette();
    p.setColor(QPalette::WindowText,
               registered ? palette().color(QPalette::WindowText) : VerdictColour(false));
    labelDest_->setPalette(p);
}

void FormRedac::SetRich(bool rich) {
    rich_ = rich;
    editeur_->setAcceptRichText(rich);
    toolBarFormat_->setVisible(rich);
}

QString FormRedac::Filter() const {
    const QString rtf = Tr(txt::kFilterRtf);
    const QString text = Tr(txt::kFilterTxt);
    // The mode's own entry comes first, so that the dialogs preselect it.
    return rich_ ? rtf + ";;" + text : text + ";;" + rtf;
}

void FormRedac::PrepareNew() {
    msgs_.attachments.clear();
    msgs_.subject.clear();
    italicKey_ = deletion_ = false;
    editObjet_->clear();
    editeur_->clear();
    RestoreDefaultFormat();
    QTextCursor c = editeur_->textCursor();
    QTextBlockFormat block;
    block.setAlignment(Qt::AlignLeft);
    c.setBlockFormat(block);
    editeur_->setTextCursor(c);
    editeur_->document()->clearUndoRedoStacks();
    editeur_->document()->setModified(false);
    hasFile_ = false;
    fileName_ = Tr(txt::kFilePlaceholder);
    ShowAttachments();
    SyncToolbar();
    SelectionChanged();
    UpdateEditCommands();
    panelModified_->clear();
}

int FormRedac::Compose(const QString& subject) {
    PrepareNew();
    editObjet_->setText(subject.left(kMaxSubjectLength));
    if (!subject.isEmpty()) {
        // An answer: its subject is given, its text is to be written.
        editeur_->setFocus();
        return RunModal(*this);
    }
    return Resume();
}

int FormRedac::Resume() {
    editObjet_->setFocus();
    return RunModal(*this);
}

QString FormRedac::PlainText() const {
    // The raw text keeps no-break spaces, which code page 1252 has.
    QString text = editeur_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

std::string FormRedac::RichText() const {
    return WriteRtf(*editeur_->document());
}

void FormRedac::ClearText() {
    editeur_->clear();
    editeur_->document()->setModified(false);
    panelModified_->clear();
}

QString FormRedac::CurrentFileName() const {
    return hasFile_ ? fileName_ : Tr(txt::kFilePlaceholder);
}

// --- closing

bool FormRedac::TextUnsaved() const {
    return editeur_->document()->isModified() && !editeur_->document()->isEmpty();
}

bool FormRedac::AskSave(int yes, int no) {
    if (!TextUnsaved()) return true;
    const int text = hasFile_ ? txt::kSaveChanges : txt::kSaveMessage;
    const BoxButton answer =
        Ask(this, BoxIcon::Question, Tr(text, {CurrentFileName()}), kYes | kNo | kCancel,
            {{kYes, Tr(yes)}, {kNo, Tr(no)}, {kCancel, Tr(txt::kBackToMessage)}});
    if (answer == kCancel) return false;
    if (answer == kYes) SaveClick();
    return answer == kNo || !TextUnsaved();
}

bool FormRedac::ConfirmClose() {
    if (TextUnsaved()) return AskSave(txt::kSaveText, txt::kCloseWithoutSaving);
    if (editObjet_->text().isEmpty() && msgs_.attachments.empty()) return true;
    return Ask(this, BoxIcon::Question, Tr(txt::kCloseUnencrypted), kNo | kCancel,
               {{kCancel, Tr(txt::kBackToMessage)}, {kNo, Tr(txt::kDropMessage)}}) == kNo;
}

bool FormRedac::MailSizeAccepted() {
    ShowAttachments();  // the files as they are now
    std::vector<std::uint64_t> sizes;
    for (const auto& size : attachmentSizes_)
        sizes.push_back(size.value_or(0));
    const std::uint64_t mail =
        EstimatedMailBytes(std::uint64_t(editeur_->document()->characterCount()), sizes);
    if (mail <= kProviderMailLimitBytes) return true;
    return Ask(this, BoxIcon::Warning,
               Tr(txt::kMailTooLarge, {SizeText(mail), SizeText(kProviderMailLimitBytes)}),
               kYes | kCancel,
               {{kCancel, Tr(txt::kBackToMessage)}, {kYes, Tr(txt::kEncryptAnyway)}}) == kYes;
}

void FormRedac::closeEvent(QCloseEvent* event) {
    // The title bar's close is one more way of closing: the same question.
    if (isVisible()) WindowCloseClick();
    if (isVisible()) {
        event->ignore();
        return;
    }
    event->accept();
}

void FormRedac::reject() {
    WindowCloseClick();
}

void FormRedac::ChiffrerClick() {
    if (!AskSave(txt::kSaveThenEncrypt, txt::kEncryptWithoutSaving)) return;
    if (!MailSizeAccepted()) return;
    msgs_.subject = ToCp1252(editObjet_->text());
    QuarnelDialog::done(Accepted);
}

void FormRedac::WindowCloseClick() {
    if (!ConfirmClose()) return;
    ClearText();
    msgs_.attachments.clear();
    ShowAttachments();
    QuarnelDialog::done(Rejected);
}

// --- attachments

void FormRedac::SpeedBtnAttacheClick() {
    const QStringList chosen =
        ChooseFilesToOpen(this, speedBtnAttache_->text().remove('&'),
                          FromCp1252(ctx_.settings.filesToSendFolder), Tr(txt::kFilterAll), true);
    if (!chosen.isEmpty()) (void)AddAttachments(chosen);
}

bool FormRedac::AddAttachments(const QStringList& paths) {
    if (msgs_.attachments.size() + std::size_t(paths.size()) > kMaxComposerAttachments) {
        (void)Ask(this, BoxIcon::Warning,
                  Tr(txt::kTooManyAttachments, {QString::number(kMaxComposerAttachments)}), kOk);
        return false;
    }
    for (const QString& p : paths)
        msgs_.attachments.emplace_back(p.toStdU16String());
    ShowAttachments();
    return true;
}

void FormRedac::RemoveAttachment(std::size_t index) {
    if (index >= msgs_.attachments.size()) return;
    msgs_.attachments.erase(msgs_.attachments.begin() + std::ptrdiff_t(index));
    ShowAttachments();
}

void FormRedac::ShowAttachments() {
    QStringList names;
    attachmentSizes_.clear();
    menuRetirer_->clear();
    for (std::size_t i = 0; i < msgs_.attachments.size(); ++i) {
        const std::filesystem::path& p = msgs_.attachments[i];
        const QString name = QString::fromStdU16String(p.filename().u16string());
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(p, ec);
        attachmentSizes_.push_back(ec ? std::nullopt : std::optional<std::uint64_t>(size));
        names << (ec ? Tr(txt::kAttachmentMissingSize, {name})
                     : Tr(txt::kAttachmentSize, {name, SizeText(size)}));
        connect(menuRetirer_->addAction(names.back()), &QAction::triggered, this,
                [this, i] { RemoveAttachment(i); });
    }
    labelAttache_->setText(names.isEmpty() ? Tr(txt::kNoFile) : names.join(QStringLiteral(", ")));
    speedBtnRetirer_->setEnabled(!names.isEmpty());
    speedBtnRetirer_->setToolTip(names.isEmpty() ? Tr(txt::kTipRemoveNothing) : QString());
    UpdateMailSize();
}

void FormRedac::UpdateMailSize() {
    std::vector<std::uint64_t> sizes;
    for (const auto& size : attachmentSizes_)
        sizes.push_back(size.value_or(0));
    const std::uint64_t mail =
        EstimatedMailBytes(std::uint64_t(editeur_->document()->characterCount()), sizes);
    labelTaille_->setText(Tr(txt::kMailSize, {SizeText(mail)}));
}

void FormRedac::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void FormRedac::dropEvent(QDropEvent* event) {
    // Files dropped beside the text travel with the message; on the text,
    // the first one is opened (eventFilter).
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) paths << url.toLocalFile();
    }
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    (void)AddAttachments(paths);
}

// --- files

void FormRedac::OpenClick() {
    if (!AskSave(txt::kSaveText, txt::kOpenWithoutSaving)) return;
    const QStringList chosen = ChooseFilesToOpen(
        this, Tr(txt::kOpenTextAction), FromCp1252(ctx_.settings.msgToSendFolder), Filter(), false);
    if (!chosen.isEmpty()) OpenFile(chosen.first());
}

void FormRedac::OpenFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        (void)Ask(this, BoxIcon::Warning, Tr(txt::kCannotOpenFile, {path}), kOk);
        return;
    }
    if (file.size() > kMaxComposerFileBytes) {
        (void)Ask(this, BoxIcon::Warning,
                  Tr(txt::kFileTooLarge, {path, QString::number(kMaxComposerFileBytes)}), kOk);
        return;
    }
    const QByteArray bytes = file.read(kMaxComposerFileBytes + 1);
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    if (rich_ && view.starts_with("{\\rtf")) {
        // Read aside, so that a bad file leaves the text as it was.
        QTextDocument read;
        read.setDefaultFont(editeur_->document()->defaultFont());
        RtfError error;
        if (!ReadRtf(view, read, &error)) {
            (void)Ask(this, BoxIcon::Warning,
                      Tr(txt::kNotReadableRtf, {path, QString::number(error.offset) + " " +
                                                          QString::fromStdString(error.reason)}),
                      kOk);
            return;
        }
        editeur_->clear();
        QTextCursor(editeur_->document()).insertFragment(QTextDocumentFragment(&read));
    } else {
        QString text = FromCp1252(view);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        editeur_->setPlainText(text);
    }
    editeur_->moveCursor(QTextCursor::Start);
    MarkSaved(path);
}

void FormRedac::MarkSaved(const QString& path) {
    hasFile_ = true;
    fileName_ = path;
    editeur_->document()->setModified(false);
    panelModified_->clear();
}

bool FormRedac::SaveTo(const QString& path) {
    std::string bytes;
    if (rich_) {
        bytes = RichText();
    } else {
        const QString text = PlainText();
        const QString outside = CharactersOutsideCp1252(text);
        if (!outside.isEmpty()) {
            (void)Ask(this, BoxIcon::Warning, Tr(txt::kNotInCp1252File, {outside}), kOk);
            return false;
        }
        bytes = ToCp1252(text);
    }
    const SaveResult r = SaveBytesWithRetry(std::filesystem::path(path.toStdU16String()), bytes,
                                            ctx_.Hooks().onSaveFailure);
    if (r != SaveResult::Saved) return false;
    MarkSaved(path);
    return true;
}

void FormRedac::SaveClick() {
    if (hasFile_) {
        (void)SaveTo(fileName_);
    } else {
        SaveAsClick();
    }
}

void FormRedac::SaveAsClick() {
    for (;;) {
        const std::optional<QString> chosen = ChooseFileToSave(
            this, Tr(txt::kSaveTextAsAction), FromCp1252(ctx_.settings.msgToSendFolder), Filter(),
            rich_ ? QStringLiteral("rtf") : QStringLiteral("txt"));
        if (!chosen) return;
        if (QFileInfo::exists(*chosen) &&
            Ask(this, BoxIcon::Question, Tr(txt::kOverwrite, {*chosen}), kYes | kNo) != kYes)
            continue;
        (void)SaveTo(*chosen);
        return;
    }
}

void FormRedac::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("PrintDialog");
    const bool selection = editeur_->textCursor().hasSelection();
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selection);
    if (selection) dialog.setPrintRange(QAbstractPrintDialog::Selection);
    if (RunModal(dialog) != Accepted) return;
    QTextDocument bis;
    bis.setDefaultFont(editeur_->document()->defaultFont());
    QTextCursor into(&bis);
    if (selection && printer.printRange() == QPrinter::Selection) {
        into.insertFragment(editeur_->textCursor().selection());
    } else {
        into.insertFragment(QTextDocumentFragment(editeur_->document()));
    }
    into.select(QTextCursor::Document);
    QTextBlockFormat indents;
    indents.setTextIndent(ctx_.paragraphFirstIndent);
    indents.setRightMargin(ctx_.paragraphRightIndent);
    into.mergeBlockFormat(indents);
    printer.setDocName(CurrentFileName());
    bis.print(&printer);
}

// --- editing

void FormRedac::UpdateEditCommands() {
    const bool selected = editeur_->textCursor().hasSelection();
    const bool undo = editeur_->document()->isUndoAvailable();
    const bool pasteOk = editeur_->canPaste();
    cut_->setEnabled(selected);
    copy_->setEnabled(selected);
    undo_->setEnabled(undo);
    paste_->setEnabled(pasteOk);
    // A greyed button says why.
    cut_->setToolTip(selected ? cut_->text() : Tr(txt::kNothingSelected, {cut_->text()}));
    copy_->setToolTip(selected ? copy_->text() : Tr(txt::kNothingSelected, {copy_->text()}));
    undo_->setToolTip(undo ? undo_->text() : Tr(txt::kNothingToUndo, {undo_->text()}));
    paste_->setToolTip(pasteOk ? paste_->text() : Tr(txt::kNothingToPaste, {paste_->text()}));
}

void FormRedac::MergeFormat(const QTextCharFormat& format) {
    QTextCursor c = editeur_->textCursor();
    c.mergeCharFormat(format);
    editeur_->mergeCurrentCharFormat(format);
}

void FormRedac::SetAlignment(Qt::Alignment alignment) {
    if (updating_) return;
    editeur_->setAlignment(alignment);
}

void FormRedac::ToggleBullets(bool on) {
    QTextCursor c = editeur_->textCursor();
    if (on) {
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDisc);
        c.createList(list);
    } else if (QTextList* list = c.currentList()) {
        QTextBlockFormat block = c.blockFormat();
        for (int n = list->count() - 1; n >= 0; --n)
            list->remove(list->item(n));
        block.setIndent(0);
        block.setObjectIndex(-1);
        c.setBlockFormat(block);
    }
}

void FormRedac::RestoreDefaultFormat() {
    editeur_->setCurrentCharFormat(defaultFormat_);
}

void FormRedac::SyncToolbar() {
    updating_ = true;
    const QTextCharFormat f = editeur_->currentCharFormat();
    bold_->setChecked(f.fontWeight() >= QFont::Bold);
    italic_->setChecked(f.fontItalic());
    underline_->setChecked(f.fontUnderline());
    const QTextCursor c = editeur_->textCursor();
    bullets_->setChecked(c.currentList() != nullptr);
    fontName_->setCurrentIndex(fontName_->findText(FirstFamily(f)));
    const qreal size = f.fontPointSize() > 0 ? f.fontPointSize() : f.font().pointSizeF();
    hauteur_->setCurrentIndex(hauteur_->findText(QString::number(qRound(size))));
    const Qt::Alignment a = c.blockFormat().alignment();
    if (a & Qt::AlignHCenter) {
        centerAlign_->setChecked(true);
    } else if (a & Qt::AlignRight) {
        rightAlign_->setChecked(true);
    } else {
        leftAlign_->setChecked(true);
    }
    updating_ = false;
}

void FormRedac::SelectionChanged() {
    if (deletion_ && editeur_->document()->isEmpty()) {
        deletion_ = false;
        RestoreDefaultFormat();
    }
    SyncToolbar();
    const QTextCursor c = editeur_->textCursor();
    panelPosition_->setText(QString::asprintf(Tr(txt::kLineColumn).toUtf8().constData(),
                                              c.blockNumber() + 1, c.positionInBlock() + 1));
    UpdateEditCommands();
}

bool FormRedac::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editeur_->viewport() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasUrls()) return false;
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop) {
            const QList<QUrl> urls = drop->mimeData()->urls();
            if (!urls.isEmpty() && urls.first().isLocalFile() &&
                AskSave(txt::kSaveText, txt::kOpenWithoutSaving)) {
                OpenFile(urls.first().toLocalFile());
            }
        }
        return true;
    }
    if (watched != editeur_ || event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete) deletion_ = true;
    if (key->key() == Qt::Key_Tab && italicKey_) {
        italicKey_ = false;
        // The tab that Ctrl+I itself types on some systems.
        if (key->modifiers() & Qt::ControlModifier) return true;
    }
    if (key->modifiers() != Qt::ControlModifier) return false;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        ChiffrerClick();
        return true;
    }
    if (!rich_) return key->key() == Qt::Key_I;  // no formatting, and no tab from Ctrl+I
    switch (key->key()) {
        case Qt::Key_B:
            bold_->toggle();
            return true;
        case Qt::Key_I:
            italicKey_ = true;
            italic_->toggle();
            return true;
        case Qt::Key_U:
            underline_->toggle();
            return true;
        case Qt::Key_L:
            leftAlign_->trigger();
            return true;
        case Qt::Key_E:
            centerAlign_->trigger();
            return true;
        case Qt::Key_R:
            rightAlign_->trigger();
            return true;
        default:
            return false;
    }
}

}  // namespace quarnel::ui
