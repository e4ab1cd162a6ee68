// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/windows/sender_panel.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "messages/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

SenderPanel::SenderPanel(QWidget& owner, QVBoxLayout& outer) {
    groupBoxExp_ = Named(new QGroupBox(&owner), "GroupBoxExp");
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
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
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
    outer.addWidget(groupBoxExp_);

    digest_ = new QGridLayout;
    labelHachage_ = Named(new QLabel(&owner), "LabelHachage");
    lbHachage_ = Named(new QLabel(&owner), "LbHachage");
    labelSignature_ = Named(new QLabel(&owner), "LabelSignature");
    lbSignature_ = Named(new QLabel(&owner), "LbSignature");
    for (QLabel* l : {lbHachage_, lbSignature_}) {
        l->setTextFormat(Qt::PlainText);
        l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QString(33, QLatin1Char('0'))));
    }
    digest_->addWidget(labelHachage_, 0, 0);
    digest_->addWidget(lbHachage_, 0, 1);
    digest_->addWidget(labelSignature_, 1, 0);
    digest_->addWidget(lbSignature_, 1, 1);
    digest_->setColumnStretch(1, 1);
    outer.addLayout(digest_);
}

void SenderPanel::Retranslate(int affiliationLabel, int digestLabel) {
    labelAffiliation_->setText(Tr(affiliationLabel));
    labelNom_->setText(Tr(txt::kLabelName));
    labelLocalite_->setText(Tr(txt::kLabelLocality));
    labelEmail_->setText(Tr(txt::kLabelEmail));
    labelHachage_->setText(Tr(digestLabel));
    labelSignature_->setText(Tr(txt::kLabelSignature));
}

void SenderPanel::ShowNobody() {
    groupBoxExp_->setTitle(Tr(txt::kGroupSender));
}

void SenderPanel::Show(const SenderView& s, const Verdict& confirmation, const std::string& digest,
                       const std::string& signature) {
    ShowVerdict(*groupBoxExp_, s.registration);
    labelFirme_->setText(s.firmLabel ? Tr(s.firmLabel) : QString());
    lbSociete_->setText(s.firmLabel ? FromCp1252(s.firm) : QString());
    lbAffiliation_->setText(FromCp1252(s.affiliation));
    lbNom_->setText(FromCp1252(s.name));
    lbLocalite_->setText(FromCp1252(s.locality));
    lbEmail_->setText(FromCp1252(s.email));
    lbDate_->setText(Tr(txt::kEncryptedOn, {FromCp1252(s.date), FromCp1252(s.time)}));
    lbHachage_->setText(FromCp1252(digest));
    lbSignature_->setText(FromCp1252(signature));
    ShowVerdict(*lbConfirmation_, confirmation);
}

QString SenderPanel::Name() const {
    return lbNom_->text();
}

}  // namespace quarnel::ui
