// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/windows/form_msg_a_certi.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "messages/texts.h"
#include "messages/windows/form_message.h"
#include "messages/windows/sender_panel.h"
#include "messages/windows/texts.h"
#include "rtf/rtf.h"
#include "store/atomic_file.h"
#include "windowkit/help.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

QString DisplayLines(std::string_view text) {
    QString s = FromCp1252(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

// The first `count` paragraphs of `doc` as code page 1252 lines.
Lines LeadingLines(const QTextDocument& doc, std::size_t count) {
    Lines lines;
    for (QTextBlock b = doc.begin(); b.isValid() && lines.size() < count; b = b.next())
        lines.push_back(ToCp1252(b.text()));
    return lines;
}

// The longest header a saved message has before its text (categories D, F).
constexpr std::size_t kLongestHeader = 22;

}  // namespace

FormMsgACerti::FormMsgACerti(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormMsgACerti", kHelpCertification, parent) {
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    windowClose_ = Named(new QAction(this), "WindowClose");
    certifier_ = Named(new QAction(this), "Certifier");
    helpContents_ = Named(new QAction(this), "HelpContents");
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(ViewerButton(this, windowClose_, "ButtonRetour"));
    bar->addWidget(ViewerButton(this, certifier_, "ButtonCertifier"));
    bar->addWidget(ViewerButton(this, helpContents_, "ButtonAide"));
    bar->addStretch();
    auto* panel = Named(new QWidget(this), "PanelSuperieur");
    panel->setLayout(bar);
    outer->addWidget(panel);

    sender_ = std::make_unique<SenderPanel>(*this, *outer);

    editeur_ = Named(new QTextEdit(this), "Editeur");
    editeur_->setReadOnly(true);
    editeur_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editeur_->setMinimumSize(560, 220);
    outer->addWidget(editeur_, 1);

    connect(windowClose_, &QAction::triggered, this, &FormMsgACerti::WindowCloseClick);
    connect(certifier_, &QAction::triggered, this, &FormMsgACerti::CertifierClick);
    connect(helpContents_, &QAction::triggered, this, &QuarnelDialog::ShowHelp);
    certifier_->setEnabled(false);
    Retranslate();
}

FormMsgACerti::~FormMsgACerti() = default;

void FormMsgACerti::Retranslate() {
    setWindowTitle(Tr(txt::kCaptionCertification));
    windowClose_->setText(Tr(txt::kButtonBack));
    windowClose_->setToolTip(Tr(txt::kTipBack));
    certifier_->setText(Tr(txt::kButtonCertify));
    helpContents_->setText(Tr(txt::kHelpButton));
    sender_->Retranslate(txt::kLabelAffiliationShort, txt::kLabelReducedDigest);
    ShowSaved();
}

bool FormMsgACerti::Load(const QString& fileName, const std::string& bytes) {
    const bool rtfName = fileName.endsWith(QStringLiteral(".rtf"), Qt::CaseSensitive);
    QTextDocument doc;
    const bool rtfContent = bytes.rfind("{\\rtf", 0) == 0 && ReadRtf(bytes, doc);
    SavedMessage s;
    if (!rtfContent && !rtfName) {
        // Plain lines: the message is the bytes after the header, unchanged.
        if (!ReadSavedMessageText(bytes, s)) return false;
        doc.setPlainText(DisplayLines(s.messageText));
    } else {
        if (!rtfContent) doc.setPlainText(DisplayLines(bytes));
        if (!ReadSavedHeader(LeadingLines(doc, kLongestHeader), s)) return false;
        if (s.messageLine != 0 && !DropLeadingParagraphs(doc, int(s.messageLine))) return false;
        std::string text;
        if (rtfName) {
            text = WriteRtf(doc);
        } else {
            QString plain = doc.toPlainText();
            plain.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
            text = ToCp1252(plain);
        }
        ConfirmSavedMessage(s, std::move(text));
    }
    saved_ = std::move(s);
    loaded_ = true;
    editeur_->clear();
    editeur_->setAcceptRichText(rtfContent);
    if (rtfContent) {
        QTextCursor(editeur_->document()).insertFragment(QTextDocumentFragment(&doc));
    } else {
        editeur_->setPlainText(doc.toPlainText());
    }
    editeur_->moveCursor(QTextCursor::Start);
    ShowSaved();
    return true;
}

void FormMsgACerti::ShowSaved() {
    if (!loaded_) {
        sender_->ShowNobody();
        certifier_->setToolTip(Tr(txt::kTipCertify));
        return;
    }
    sender_->Show(saved_.sender, saved_.confirmation, saved_.digest, saved_.signature);
    certifier_->setEnabled(saved_.confirmed);
    // A disabled button says why.
    certifier_->setToolTip(Tr(saved_.confirmed ? txt::kTipCertify : txt::kNothingToCertify));
}

void FormMsgACerti::CertifierClick() {
    if (!saved_.confirmed) return;
    Q_EMIT CertifyRequested(saved_);
    QDialog::done(QDialog::Accepted);
}

void FormMsgACerti::WindowCloseClick() {
    editeur_->clear();
    QDialog::done(QDialog::Rejected);
}

}  // namespace quarnel::ui
