#include "messages/windows/form_msg_a_certi.h"

#include <QAction>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
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

    groupBoxExp_ = Named(new QGroupBox(this), "GroupBoxExp");
    auto* sender = new QGridLayout(groupBoxExp_);
    auto label = [this](const char* name) {
        auto* l = Named(new QLabel(groupBoxExp_), name);
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    labelAffiliation_ = label("LabelAffiliation");
    lbAffiliation_ = label("LbAffiliation");
    labelFirme_ = label("LabelFirme");
    lbSociete_ = label("LbSociete");
    labelNom_ = label("LabelNom");
    lbNom_ = label("LbNom");
    labelLocalite_ = label("LabelLocalite");
    lbLocalite_ = label("LbLocalite");
    labelEmail_ = label("LabelEmail");
    lbEmail_ = label("LbEmail");
    lbDate_ = label("LbDate");
    lbConfirmation_ = label("LbConfirmation");
    for (QLabel* l : {lbAffiliation_, lbSociete_, lbNom_, lbLocalite_, lbEmail_}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setWordWrap(true);
    }
    int row = 0;
    for (auto [caption, value] : {std::pair{labelAffiliation_, lbAffiliation_},
                                  {labelFirme_, lbSociete_},
                                  {labelNom_, lbNom_},
                                  {labelLocalite_, lbLocalite_},
                                  {labelEmail_, lbEmail_}}) {
        sender->addWidget(caption, row, 0);
        sender->addWidget(value, row++, 1);
    }
    sender->addWidget(lbDate_, row++, 0, 1, 2);
    sender->addWidget(lbConfirmation_, row, 0, 1, 2);
    sender->setColumnStretch(1, 1);
    outer->addWidget(groupBoxExp_);

    auto* digest = new QGridLayout;
    labelHachage_ = Named(new QLabel(this), "LabelHachage");
    lbHachage_ = Named(new QLabel(this), "LbHachage");
    labelSignature_ = Named(new QLabel(this), "LabelSignature");
    lbSignature_ = Named(new QLabel(this), "LbSignature");
    for (QLabel* l : {lbHachage_, lbSignature_}) {
        l->setTextFormat(Qt::PlainText);
        l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QString(33, QLatin1Char('0'))));
    }
    digest->addWidget(labelHachage_, 0, 0);
    digest->addWidget(lbHachage_, 0, 1);
    digest->addWidget(labelSignature_, 1, 0);
    digest->addWidget(lbSignature_, 1, 1);
    digest->setColumnStretch(1, 1);
    outer->addLayout(digest);

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

void FormMsgACerti::Retranslate() {
    setWindowTitle(Tr(txt::kCaptionCertification));
    windowClose_->setText(Tr(txt::kButtonBack));
    windowClose_->setToolTip(Tr(txt::kTipBack));
    certifier_->setText(Tr(txt::kButtonCertify));
    helpContents_->setText(Tr(txt::kAide));
    labelAffiliation_->setText(Tr(txt::kLabelAffiliationShort));
    labelNom_->setText(Tr(txt::kLabelName));
    labelLocalite_->setText(Tr(txt::kLabelLocality));
    labelEmail_->setText(Tr(txt::kLabelEmail));
    labelHachage_->setText(Tr(txt::kLabelReducedDigest));
    labelSignature_->setText(Tr(txt::kLabelSignature));
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
        groupBoxExp_->setTitle(Tr(txt::kGroupSender));
        certifier_->setToolTip(Tr(txt::kTipCertify));
        return;
    }
    const SenderView& s = saved_.sender;
    ShowVerdict(*groupBoxExp_, s.registration);
    labelFirme_->setText(s.firmLabel ? Tr(s.firmLabel) : QString());
    lbSociete_->setText(s.firmLabel ? FromCp1252(s.firm) : QString());
    lbAffiliation_->setText(FromCp1252(s.affiliation));
    lbNom_->setText(FromCp1252(s.name));
    lbLocalite_->setText(FromCp1252(s.locality));
    lbEmail_->setText(FromCp1252(s.email));
    lbDate_->setText(Tr(txt::kEncryptedOn, {FromCp1252(s.date), FromCp1252(s.time)}));
    lbHachage_->setText(FromCp1252(saved_.digest));
    lbSignature_->setText(FromCp1252(saved_.signature));
    ShowVerdict(*lbConfirmation_, saved_.confirmation);
    certifier_->setEnabled(saved_.confirmed);
    // A disabled button says why.
    certifier_->setToolTip(Tr(saved_.confirmed ? txt::kTipCertify : txt::kNothingToCertify));
}

void FormMsgACerti::CertifierClick() {
    if (!saved_.confirmed) return;
    if (certify) certify(saved_);
    QDialog::done(QDialog::Accepted);
}

void FormMsgACerti::WindowCloseClick() {
    editeur_->clear();
    QDialog::done(QDialog::Rejected);
}

}  // namespace quarnel::ui
