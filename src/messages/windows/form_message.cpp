// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/windows/form_message.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMetaMethod>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "crypto/datetime.h"
#include "holder/program_state.h"
#include "messages/certification.h"
#include "messages/decryption.h"
#include "messages/texts.h"
#include "messages/windows/sender_panel.h"
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

QString PlainForDisplay(std::string_view text) {
    QString s = FromCp1252(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QStringList HeaderLines(const std::vector<std::string>& header) {
    QStringList lines;
    for (const std::string& line : header)
        lines << FromCp1252(line);
    return lines;
}

}  // namespace

FormMessage::FormMessage(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormMessage", kHelpReading, parent) {
    setModal(true);
    auto* outer = new QVBoxLayout(this);

    agrafer_ = Named(new QAction(this), "Agrafer");
    windowClose_ = Named(new QAction(this), "WindowClose");
    certifier_ = Named(new QAction(this), "Certifier");
    repondre_ = Named(new QAction(this), "Repondre");
    helpContents_ = Named(new QAction(this), "HelpContents");
    saveAs_ = ViewerAction(*this, "SaveAs", Qt::Key_S);
    editSelectAll_ = ViewerAction(*this, "EditSelectAll", Qt::Key_A);
    editCopy_ = ViewerAction(*this, "EditCopy", Qt::Key_C);
    print_ = ViewerAction(*this, "Print", Qt::Key_P);

    auto* bar = new QHBoxLayout;
    buttonAgrafe_ = ViewerButton(this, agrafer_, "ButtonAgrafe");
    bar->addWidget(buttonAgrafe_);
    bar->addWidget(ViewerButton(this, windowClose_, "ButtonRetour"));
    buttonRepondre_ = ViewerButton(this, repondre_, "ButtonRepondre");
    bar->addWidget(buttonRepondre_);
    bar->addWidget(ViewerButton(this, certifier_, "ButtonCertifier"));
    bar->addWidget(ViewerButton(this, helpContents_, "ButtonAide"));
    bar->addSpacing(12);
    bar->addWidget(ViewerButton(this, saveAs_, "SaveButton"));
    bar->addWidget(ViewerButton(this, editSelectAll_, "ButtonSelection"));
    bar->addWidget(ViewerButton(this, editCopy_, "CopyButton"));
    bar->addWidget(ViewerButton(this, print_, "PrintButton"));
    bar->addStretch();
    outer->addLayout(bar);

    sender_ = std::make_unique<SenderPanel>(*this, *outer);
    labelObjet_ = Named(new QLabel(this), "LabelObjet");
    lbObjet_ = Named(new QLabel(this), "LbObjet");
    lbObjet_->setTextFormat(Qt::PlainText);
    lbObjet_->setWordWrap(true);
    sender_->DigestGrid().addWidget(labelObjet_, 2, 0);
    sender_->DigestGrid().addWidget(lbObjet_, 2, 1);

    lbAvis_ = Named(new QLabel(this), "LbAvis");
    lbAvis_->setTextFormat(Qt::PlainText);
    lbAvis_->setWordWrap(true);
    lbAvis_->hide();
    outer->addWidget(lbAvis_);

    editeur_ = Named(new QTextEdit(this), "Editeur");
    editeur_->setReadOnly(true);
    editeur_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    editeur_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editeur_->setMinimumSize(560, 240);
    outer->addWidget(editeur_, 1);

    menuAgrafe_ = Named(new QMenu(this), "MenuAgrafe");

    connect(agrafer_, &QAction::triggered, this, &FormMessage::AgraferClick);
    connect(windowClose_, &QAction::triggered, this, &FormMessage::WindowCloseClick);
    connect(certifier_, &QAction::triggered, this, &FormMessage::CertifierClick);
    connect(repondre_, &QAction::triggered, this, &FormMessage::RepondreClick);
    connect(helpContents_, &QAction::triggered, this, &QuarnelDialog::ShowHelp);
    connect(saveAs_, &QAction::triggered, this, &FormMessage::SaveAsClick);
    connect(editSelectAll_, &QAction::triggered, this, &FormMessage::EditSelectAllClick);
    connect(editCopy_, &QAction::triggered, this, &FormMessage::EditCopyClick);
    connect(print_, &QAction::triggered, this, &FormMessage::PrintClick);
    connect(editeur_, &QTextEdit::copyAvailable, this, &FormMessage::UpdateCopy);

    openAttachment = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    Retranslate();
    UpdateCopy();
}

FormMessage::~FormMessage() = default;

void FormMessage::Retranslate() {
    setWindowTitle(Tr(txt::kCaptionReading));
    agrafer_->setText(Tr(txt::kButtonAttachments));
    agrafer_->setToolTip(Tr(txt::kTipAttachments));
    windowClose_->setText(Tr(txt::kButtonBack));
    windowClose_->setToolTip(Tr(txt::kTipBack));
    certifier_->setText(Tr(txt::kButtonCertify));
    certifier_->setToolTip(Tr(txt::kTipCertify));
    repondre_->setText(Tr(txt::kButtonReply));
    repondre_->setToolTip(Tr(txt::kTipReply));
    helpContents_->setText(Tr(txt::kHelpButton));
    saveAs_->setText(Tr(txt::kButtonSaveAs));
    saveAs_->setToolTip(Tr(txt::kTipSaveAs));
    editSelectAll_->setText(Tr(txt::kSelectAll));
    editCopy_->setText(Tr(txt::kCopy));
    print_->setText(Tr(txt::kPrint));
    print_->setToolTip(Tr(txt::kTipPrint));
    sender_->Retranslate(txt::kLabelAffiliationNumber, txt::kLabelDigest);
    labelObjet_->setText(Tr(txt::kLabelSubject));
    if (auto* note = menuAgrafe_->findChild<QAction*>("AgrafeNonSignee"))
        note->setText(Tr(txt::kAttachmentsNotSigned));
    ShowSender();
    UpdateCopy();
}

void FormMessage::ShowSender() {
    if (!message_.kind) {
        sender_->ShowNobody();
        return;
    }
    sender_->Show(message_.sender, message_.confirmation, message_.digest, message_.signature);
    // The message's own notices first, then those of the attachments under
    // their heading.
    QStringList message;
    QStringList attachments;
    for (const Notice& n : message_.notices) {
        (n.text == txt::kRecipientNotHolder ? message : attachments)
            << Tr(n.text, {FromCp1252(n.detail)});
    }
    if (!attachments.isEmpty()) message << Tr(txt::kAttachmentNotices) << attachments;
    lbAvis_->setText(message.join('\n'));
    lbAvis_->setVisible(!message.isEmpty());
}

void FormMessage::Fill(const DecryptedMessage& message, const QString& subject) {
    message_ = message;
    savedPath_.clear();
    lbObjet_->setText(subject);
    ShowSender();

    QTextDocument& doc = *editeur_->document();
    richShown_ = false;
    if (message_.kind == Kind::RichMessage) {
        editeur_->setAcceptRichText(true);
        richShown_ = ReadRtf(message_.text, doc);
    }
    if (!richShown_) {
        // Plain mode, size 10 and no style; a rich text that does not read
        // is shown as it came.
        editeur_->setAcceptRichText(false);
        doc.clear();
        QFont font = editeur_->font();
        font.setPointSize(10);
        doc.setDefaultFont(font);
        editeur_->setPlainText(PlainForDisplay(message_.text));
    }
    editeur_->moveCursor(QTextCursor::Start);

    attachmentFiles_ = message_.attachments;
    attachmentNames_.clear();
    for (const std::filesystem::path& file : attachmentFiles_)
        attachmentNames_.push_back(QString::fromStdString(file.filename().string()));
    ListAttachments();
    certifier_->setEnabled(
        isSignalConnected(QMetaMethod::fromSignal(&FormMessage::CertifyRequested)));
    buttonRepondre_->setVisible(
        isSignalConnected(QMetaMethod::fromSignal(&FormMessage::ReplyRequested)));
    UpdateCopy();
}

void FormMessage::OfferAttachments(const std::vector<std::string>& names) {
    attachmentNames_.clear();
    for (const std::string& name : names) {
        const std::optional<std::string> safe = SafeAttachmentName(name);
        attachmentNames_.push_back(safe ? FromCp1252(*safe) : QString());
    }
    attachmentFiles_.assign(names.size(), {});
    ListAttachments();
}

void FormMessage::SetAttachmentFile(int index, const std::filesystem::path& file) {
    if (index < 0 || std::size_t(index) >= attachmentFiles_.size()) return;
    attachmentFiles_[std::size_t(index)] = file;
}

QString FormMessage::AttachmentName(int index) const {
    return index < 0 || std::size_t(index) >= attachmentNames_.size()
               ? QString()
               : attachmentNames_[std::size_t(index)];
}

void FormMessage::ListAttachments() {
    menuAgrafe_->clear();
    // The format proves the message, not the files: said before they are opened.
    QAction* note =
        Named(menuAgrafe_->addAction(Tr(txt::kAttachmentsNotSigned)), "AgrafeNonSignee");
    note->setEnabled(false);
    menuAgrafe_->addSeparator();
    bool any = false;
    for (std::size_t i = 0; i < attachmentNames_.size(); ++i) {
        if (attachmentNames_[i].isEmpty()) continue;
        QAction* item = menuAgrafe_->addAction(attachmentNames_[i]);
        connect(item, &QAction::triggered, this, [this, i] { AttachmentChosen(int(i)); });
        any = true;
    }
    buttonAgrafe_->setVisible(any);
}

void FormMessage::UpdateCopy() {
    ShowCopyUsable(*editCopy_, editeur_->textCursor().hasSelection());
}

void FormMessage::AgraferClick() {
    menuAgrafe_->popup(buttonAgrafe_->mapToGlobal(QPoint(0, buttonAgrafe_->height())));
}

void FormMessage::AttachmentChosen(int index) {
    if (index < 0 || std::size_t(index) >= attachmentFiles_.size()) return;
    // Offered and not written yet: written now, or nothing to open.
    if (attachmentFiles_[std::size_t(index)].empty()) Q_EMIT AttachmentWanted(index);
    if (attachmentFiles_[std::size_t(index)].empty()) return;
    const QString path = QString::fromStdString(attachmentFiles_[std::size_t(index)].string());
    if (!openAttachment || !openAttachment(path)) {
        // Where it is, so that the person can open it otherwise.
        const QFileInfo file(path);
        (void)Ask(this, BoxIcon::Warning,
                  Tr(txt::kAttachmentNotOpened,
                     {file.fileName(), QDir::toNativeSeparators(file.absolutePath())}),
                  kOk);
    }
}

void FormMessage::AssembleSaved(QTextDocument& document) const {
    if (richShown_ && ReadRtf(message_.text, document)) {
        PrependParagraphs(document, HeaderLines(message_.headerText));
        return;
    }
    document.setPlainText(PlainForDisplay(SavedMessageBytes(message_)));
}

std::string FormMessage::SavedBytes() const {
    if (!richShown_) return SavedMessageBytes(message_);
    QTextDocument editeurBis;
    AssembleSaved(editeurBis);
    return WriteRtf(editeurBis);
}

void FormMessage::SaveAsClick() {
    const bool rich = message_.kind == Kind::RichMessage;
    if (const auto path =
            SaveViewerText(this, Tr(txt::kSaveMessageCaption), ctx_.settings.decryptedMsgFolder,
                           rich, [this] { return SavedBytes(); }))
        savedPath_ = *path;
}

void FormMessage::PrintClick() {
    QPrinter printer;
    const std::optional<bool> selectionOnly =
        RunPrintDialog(this, printer, editeur_->textCursor().hasSelection());
    if (selectionOnly) PrintTo(printer, *selectionOnly);
}

void FormMessage::PrintTo(QPrinter& printer, bool selectionOnly) {
    QTextDocument editeurBis;
    if (selectionOnly) {
        PutSelectionForPrint(editeurBis, editeur_->textCursor());
    } else {
        AssembleSaved(editeurBis);
    }
    PrintWithIndents(ctx_, editeurBis, printer, sender_->Name());
}

void FormMessage::EditCopyClick() {
    CopySelection(ctx_, *editeur_, txt::kMessageCopied);
}

void FormMessage::EditSelectAllClick() {
    SelectAllAndFocus(*editeur_);
}

void FormMessage::WindowCloseClick() {
    CloseViewer(*this, savedPath_, [this] { SaveAsClick(); });
}

void FormMessage::reject() {
    QDialog::done(QDialog::Rejected);
}

void FormMessage::closeEvent(QCloseEvent* event) {
    // The window's own close button closes as Retour does.
    if (isVisible() && savedPath_.isEmpty()) SaveAsClick();
    QuarnelDialog::closeEvent(event);
}

void FormMessage::CertifierClick() {
    Q_EMIT CertifyRequested();
}

void FormMessage::RepondreClick() {
    Q_EMIT ReplyRequested();
    // The answer is written once the viewer is gone; the message stays in the mailbox.
    reject();
}

QString FormMessage::Subject() const {
    return lbObjet_->text();
}

}  // namespace quarnel::ui
