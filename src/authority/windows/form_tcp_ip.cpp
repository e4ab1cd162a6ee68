// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/windows/form_tcp_ip.h"

#include <algorithm>
#include <limits>

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QProgressBar>
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
    progressTransfert_ = new QProgressBar(this);
    progressTransfert_->setObjectName("ProgressTransfert");
    progressTransfert_->setTextVisible(true);
    progressTransfert_->setAlignment(Qt::AlignCenter);
    outer->addWidget(progressTransfert_);
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
    connect(&exchange_, &TaExchange::progressed, this, &FormTCP_IP::ShowTransfer);
    Retranslate();
}

void FormTCP_IP::Retranslate() {
    setWindowTitle(Tr(txt::kAuthorityConnection));
    labelDonnees_->setText(Tr(txt::kDataGroup));
    labelAction_->setText(Tr(txt::kActions));
    bitBtnEnvoyer_->setText(Tr(txt::kSendButton));
    bitBtnRecevoir_->setText(Tr(txt::kAcceptButton));
    bitBtnAnnuler_->setText(Tr(txt::kCancelButton));
    bitBtnAide_->setText(Tr(txt::kHelpButton));
    Mirror();
    ShowTransfer();
}

void FormTCP_IP::Mirror() {
    QStringList lines;
    for (const auto& line : exchange_.memo())
        lines << FromCp1252(line);
    memoDonnees_->setPlainText(lines.join('\n'));
    bitBtnEnvoyer_->setEnabled(exchange_.sendEnabled());
    bitBtnRecevoir_->setEnabled(exchange_.acceptEnabled());
    bitBtnAnnuler_->setEnabled(exchange_.cancelEnabled());
    // A disabled button says why.
    const bool answered = exchange_.phase() == TaExchange::Phase::Answered;
    bitBtnEnvoyer_->setToolTip(exchange_.sendEnabled() ? QString()
                               : answered              ? Tr(txt::kTipSendAnswered)
                                                       : Tr(txt::kTipSendRunning));
    bitBtnRecevoir_->setToolTip(exchange_.acceptEnabled() ? QString() : Tr(txt::kTipAccept));
    bitBtnAnnuler_->setToolTip(exchange_.cancelEnabled() ? QString() : Tr(txt::kTipCancelHeld));
    if (exchange_.acceptEnabled()) bitBtnRecevoir_->setFocus();
}

void FormTCP_IP::ShowTransfer() {
    const TaExchange::Transfer& t = exchange_.transfer();
    const QString done = QString::number(t.done);
    // Without an announced length the bar stays empty and its text counts.
    const qint64 total = std::clamp<qint64>(t.total, 1, std::numeric_limits<int>::max());
    progressTransfert_->setRange(0, int(total));
    progressTransfert_->setValue(t.total < 0 ? 0 : int(std::min(t.done, total)));
    progressTransfert_->setFormat(
        !t.reply       ? Tr(txt::kProgressRequest, {done, QString::number(t.total)})
        : t.total >= 0 ? Tr(txt::kProgressReply, {done, QString::number(t.total)})
                       : Tr(txt::kProgressReplyOpen, {done}));
}

void FormTCP_IP::Log(int textId, const QStringList& details) {
    memoAction_->appendPlainText(Tr(textId, details));
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
    if (outcome_.listCategory) Q_EMIT ListChanged(outcome_.listCategory);
    if (outcome_.showCertificate) {
        if (isSignalConnected(QMetaMethod::fromSignal(&FormTCP_IP::CertificateDelivered))) {
            Q_EMIT CertificateDelivered(auth_.certificateText);
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
    if (exchange_.acceptEnabled()) accept();
}

void FormTCP_IP::BitBtnAnnulerClick() {
    if (!exchange_.cancelEnabled()) return;
    exchange_.Cancel();
    QDialog::reject();
}

void FormTCP_IP::reject() {
    BitBtnAnnulerClick();
}

}  // namespace quarnel::ui
