#include "mail/windows/transfer_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>

#include "mail/windows/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {
constexpr int kBarSteps = 1000;
}  // namespace

QString SizeText(qint64 bytes) {
    // The person's own number format, short: one decimal only below 10.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const auto figure = [&](double value) {
        return locale.toString(value, 'f', value < 10 ? 1 : 0);
    };
    if (bytes < 1024) return Tr(txt::kSizeBytes, {locale.toString(bytes)});
    const double kb = double(bytes) / 1024;
    if (kb < 1024) return Tr(txt::kSizeKo, {figure(kb)});
    const double mb = kb / 1024;
    if (mb < 1024) return Tr(txt::kSizeMo, {figure(mb)});
    return Tr(txt::kSizeGo, {figure(mb / 1024)});
}

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
    label_->setText(total > 0 ? Tr(txt::kTransferProgress, {SizeText(done), SizeText(total)})
                              : SizeText(done));
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
        Tr(txt::kTransferProgress, {SizeText(qint64(1023) << 20), SizeText(qint64(1023) << 20)}) +
        QStringLiteral("  ")));
    if (isVisibleTo(parentWidget())) Show(done_, total_);
}

}  // namespace quarnel::ui
