// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/windows/transfer_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include "mail/windows/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {
constexpr int kBarSteps = 1000;
}  // namespace

TransferProgress::TransferProgress(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    bar_ = Named(new QProgressBar(this), "ProgressTransfer");
    bar_->setRange(0, kBarSteps);
    bar_->setTextVisible(false);
    label_ = Named(new QLabel(this), "LabelTransfer");
    row->addWidget(bar_, 1);
    row->addWidget(label_);
    QSizePolicy keep = sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    setSizePolicy(keep);
    Retranslate();
    Clear();
}

void TransferProgress::Show(qint64 done, qint64 total) {
    done_ = done;
    total_ = total;
    bar_->setValue(total > 0 ? int(std::min<long double>(1, (long double)done / total) * kBarSteps)
                             : 0);
    label_->setText(total > 0 ? Tr(txt::kTransferProgress,
                                   {SizeText(std::uint64_t(done)), SizeText(std::uint64_t(total))})
                              : SizeText(std::uint64_t(done)));
    setVisible(true);
}

void TransferProgress::Clear() {
    done_ = total_ = 0;
    label_->clear();
    bar_->setValue(0);
    setVisible(false);
}

QString TransferProgress::Text() const {
    return isVisibleTo(parentWidget()) ? label_->text() : QString();
}

void TransferProgress::Retranslate() {
    // Room for the widest figures it shows.
    label_->setMinimumWidth(label_->fontMetrics().horizontalAdvance(
        Tr(txt::kTransferProgress, {SizeText(999'000'000), SizeText(999'000'000)}) +
        QStringLiteral("  ")));
    if (isVisibleTo(parentWidget())) Show(done_, total_);
}

}  // namespace quarnel::ui
