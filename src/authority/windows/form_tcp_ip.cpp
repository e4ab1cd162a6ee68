#include "authority/windows/form_tcp_ip.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "authority/requests.h"
#include "authority/texts.h"
#include "protocol/body.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

FormTCP_IP::FormTCP_IP(HolderContext& ctx, AuthorityState& auth, QWidget* parent)
    : QuarnelDialog(ctx, "FormTCP_IP", kHelpConnection, parent), auth_(auth) {
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    labelDonnees_ = new QLabel(this);
    memoDonnees_ = new QPlainTextEdit(this);
    memoDonnees_->setObjectName("MemoDonnees");
    memoDonnees_->setReadOnly(true);
    memoDonnees_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memoDonnees_->setMinimumSize(420, 220);
    labelAction_ = new QLabel(this);
    memoAction_ = new QPlainTextEdit(this);
    memoAction_->setObjectName("MemoAction");
    memoAction_->setReadOnly(true);
    outer->addWidget(labelDonnees_);
    outer->addWidget(memoDonnees_, 2);
    outer->addWidget(labelAction_);
    outer->addWidget(memoAction_, 1);
    auto* buttons = new QHBoxLayout;
    bitBtnEnvoyer_ = new QPushButton(this);
    bitBtnEnvoyer_->setObjectName("BitBtnEnvoyer");
    bitBtnRecevoir_ = new QPushButton(this);
    bitBtnRecevoir_->setObjectName("BitBtnRecevoir");
    bitBtnAnnuler_ = new QPushButton(this);
    bitBtnAnnuler_->setObjectName("BitBtnAnnuler");
    bitBtnAide_ = new QPushButton(this);
    bitBtnAide_->setObjectName("BitBtnAide");
    for (QPushButton* b : {bitBtnEnvoyer_, bitBtnRecevoir_, bitBtnAnnuler_, bitBtnAide_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);
    connect(bitBtnEnvoyer_, &QPushButton::clicked, this, &FormTCP_IP::BitBtnEnvoyerClick);
    connect(bitBtnRecevoir_, &QPushButton::clicked, this, &FormTCP_IP::BitBtnRecevoirClick);
    connect(bitBtnAnnuler_, &QPushButton::clicked, this, &FormTCP_IP::BitBtnAnnulerClick);
    connect(bitBtnAide_, &QPushButton::clicked, this, &QuarnelDialog::ShowHelp);
    connect(&exchange_, &TaExchange::changed, this, &FormTCP_IP::Mirror);
    connect(&exchange_, &TaExchange::logged, this, &FormTCP_IP::Log);
    Retranslate();
    Mirror();
}

void FormTCP_IP::Retranslate() {
    setWindowTitle(Tr(txt::kConnexionTa));
    labelDonnees_->setText(Tr(txt::kDonnees));
    labelAction_->setText(Tr(txt::kActions));
    bitBtnEnvoyer_->setText(Tr(txt::kEnvoyer));
    bitBtnRecevoir_->setText(Tr(txt::kAccepter));
    bitBtnAnnuler_->setText(Tr(txt::kAnnuler));
    bitBtnAide_->setText(Tr(txt::kAide));
}

void FormTCP_IP::Mirror() {
    QStringList lines;
    for (const auto& line : exchange_.memo())
        lines << FromCp1252(line);
    memoDonnees_->setPlainText(lines.join('\n'));
    bitBtnEnvoyer_->setEnabled(exchange_.envoyerEnabled());
    bitBtnRecevoir_->setEnabled(exchange_.accepterEnabled());
    bitBtnAnnuler_->setEnabled(exchange_.annulerEnabled());
    if (exchange_.accepterEnabled()) bitBtnRecevoir_->setFocus();
}

void FormTCP_IP::Log(int textId, const QString& detail) {
    memoAction_->appendPlainText(Tr(textId, {detail}));
}

bool FormTCP_IP::RunRequestDriver(const QWidget& mainWindow) {
    outcome_ = {};
    if (!IsTaRequestKind(auth_.requestKind)) return false;
    PlaceDialog(*this, mainWindow);
    exchange_.Prepare(ctx_, auth_);
    memoAction_->clear();
    bitBtnEnvoyer_->setFocus();
    const int result = RunModal(*this);
    exchange_.Stop();
    if (result != QDialog::Accepted) return false;
    outcome_ = ProcessTaReply(ctx_, auth_, exchange_.MemoText());
    if (!outcome_.accepted) return false;
    if (outcome_.listCategory && listChanged) listChanged(outcome_.listCategory);
    if (outcome_.showCertificate) {
        if (showCertificate) {
            showCertificate(auth_.certificateText);
        } else {
            Inform(parentWidget(), FromCp1252(auth_.certificateText));
        }
    }
    return true;
}

void FormTCP_IP::BitBtnEnvoyerClick() {
    exchange_.Send();
}

void FormTCP_IP::BitBtnRecevoirClick() {
    if (exchange_.accepterEnabled()) accept();
}

void FormTCP_IP::BitBtnAnnulerClick() {
    if (!exchange_.annulerEnabled()) return;
    exchange_.Cancel();
    QDialog::reject();
}

void FormTCP_IP::reject() {
    BitBtnAnnulerClick();
}

}  // namespace quarnel::ui
