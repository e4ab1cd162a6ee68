// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/windows/form_certi.h"

#include <QAction>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QVBoxLayout>

#include "holder/program_state.h"
#include "messages/texts.h"
#include "messages/windows/texts.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/record_list.h"
#include "windowkit/help.h"
#include "windowkit/modal_runner.h"
#include "windowkit/save_failure.h"
#include "windowkit/texts.h"
#include "windowkit/viewer.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

FormCerti::FormCerti(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormCerti", kHelpCertification, parent) {
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    windowClose_ = Named(new QAction(this), "WindowClose");
    helpContents_ = Named(new QAction(this), "HelpContents");
    saveAs_ = ViewerAction(*this, "SaveAs", Qt::Key_S);
    editSelectAll_ = ViewerAction(*this, "EditSelectAll", Qt::Key_A);
    editCopy_ = ViewerAction(*this, "EditCopy", Qt::Key_C);
    print_ = ViewerAction(*this, "Print", Qt::Key_P);
    auto* bar = new QHBoxLayout;
    bar->addWidget(ViewerButton(this, windowClose_, "ToolButtonRetour"));
    bar->addWidget(ViewerButton(this, helpContents_, "ButtonAide"));
    bar->addSpacing(12);
    bar->addWidget(ViewerButton(this, saveAs_, "SaveButton"));
    bar->addWidget(ViewerButton(this, editSelectAll_, "ButtonSelection"));
    bar->addWidget(ViewerButton(this, editCopy_, "CopyButton"));
    bar->addWidget(ViewerButton(this, print_, "PrintButton"));
    bar->addStretch();
    outer->addLayout(bar);

    memoCerti_ = Named(new QPlainTextEdit(this), "MemoCerti");
    memoCerti_->setReadOnly(true);
    memoCerti_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoCerti_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // A certificate line holds a 32-digit value after its label.
    memoCerti_->setMinimumSize(
        memoCerti_->fontMetrics().horizontalAdvance(QString(72, QLatin1Char('0'))), 300);
    outer->addWidget(memoCerti_, 1);

    connect(windowClose_, &QAction::triggered, this, &FormCerti::WindowCloseClick);
    connect(helpContents_, &QAction::triggered, this, &QuarnelDialog::ShowHelp);
    connect(saveAs_, &QAction::triggered, this, &FormCerti::SaveAsClick);
    connect(editSelectAll_, &QAction::triggered, this, &FormCerti::EditSelectAllClick);
    connect(editCopy_, &QAction::triggered, this, &FormCerti::EditCopyClick);
    connect(print_, &QAction::triggered, this, &FormCerti::PrintClick);
    connect(memoCerti_, &QPlainTextEdit::copyAvailable, this, &FormCerti::UpdateCopy);
    Retranslate();
}

void FormCerti::Retranslate() {
    setWindowTitle(Tr(txt::kCaptionCertificate));
    windowClose_->setText(Tr(txt::kButtonBack));
    windowClose_->setToolTip(Tr(txt::kTipBack));
    helpContents_->setText(Tr(txt::kHelpButton));
    saveAs_->setText(Tr(txt::kButtonSaveAs));
    editSelectAll_->setText(Tr(txt::kSelectAll));
    editCopy_->setText(Tr(txt::kCopy));
    print_->setText(Tr(txt::kPrint));
    print_->setToolTip(Tr(txt::kTipPrint));
    UpdateCopy();
}

void FormCerti::Fill(const std::string& certificate) {
    certificate_ = certificate;
    savedPath_.clear();
    QStringList lines;
    for (const std::string& line : SplitLines(certificate))
        lines << FromCp1252(line);
    memoCerti_->setPlainText(lines.join('\n'));
    memoCerti_->moveCursor(QTextCursor::Start);
    UpdateCopy();
}

void FormCerti::ShowCertificate(const std::string& certificate, const QWidget& mainWindow) {
    Fill(certificate);
    PlaceDialog(*this, mainWindow);
    (void)RunModal(*this);
}

std::string FormCerti::SavedBytes() const {
    return JoinLinesCrLf(SplitLines(certificate_));
}

void FormCerti::UpdateCopy() {
    ShowCopyUsable(*editCopy_, memoCerti_->textCursor().hasSelection());
}

void FormCerti::SaveAsClick() {
    if (const auto path =
            SaveViewerText(this, Tr(txt::kSaveCertificateCaption), ctx_.settings.certificatesFolder,
                           false, [this] { return SavedBytes(); }))
        savedPath_ = *path;
}

void FormCerti::PrintClick() {
    QPrinter printer;
    const std::optional<bool> selectionOnly =
        RunPrintDialog(this, printer, memoCerti_->textCursor().hasSelection());
    if (selectionOnly) PrintTo(printer, *selectionOnly);
}

void FormCerti::PrintTo(QPrinter& printer, bool selectionOnly) {
    QTextDocument memoCertiBis;
    if (selectionOnly) {
        PutSelectionForPrint(memoCertiBis, memoCerti_->textCursor());
    } else {
        QTextCursor(&memoCertiBis).insertText(memoCerti_->toPlainText());
    }
    PrintWithIndents(ctx_, memoCertiBis, printer, Tr(txt::kCertificatePrintTitle));
}

void FormCerti::EditCopyClick() {
    CopySelection(ctx_, *memoCerti_, txt::kCertificateCopied);
}

void FormCerti::EditSelectAllClick() {
    SelectAllAndFocus(*memoCerti_);
}

void FormCerti::WindowCloseClick() {
    CloseViewer(*this, savedPath_, [this] { SaveAsClick(); });
}

void FormCerti::reject() {
    WindowCloseClick();
}

}  // namespace quarnel::ui
