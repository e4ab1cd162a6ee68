// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipped_texts.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>

namespace quarnel::ui {

QString WithoutMnemonic(const QString& text) {
    QString t = text;
    // A single "&" marks the mnemonic and takes no room.
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(u'&');
    t.replace(u'\x01', u'&');
    return t;
}

QStringList ClippedTexts(QWidget& root) {
    QStringList clipped;
    // Only what this window shows: not hidden pages, not other windows.
    auto shown = [&](const QWidget* w) { return w->window() == &root && w->isVisibleTo(&root); };
    auto report = [&](const QWidget& w, const QString& text) {
        clipped << QStringLiteral("%1: \"%2\"").arg(w.objectName(), text);
    };
    for (QLabel* l : root.findChildren<QLabel*>()) {
        if (!shown(l) || l->text().isEmpty() || !l->pixmap().isNull()) continue;
        const QRect r = l->contentsRect();
        const QFontMetrics fm(l->font());
        const QString text =
            l->textFormat() == Qt::RichText ? QString() : WithoutMnemonic(l->text());
        if (text.isEmpty()) continue;
        if (l->wordWrap()) {
            if (l->heightForWidth(l->width()) > l->height()) report(*l, text);
            // A single word longer than the width cannot wrap.
            for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
                if (fm.horizontalAdvance(word) > r.width()) report(*l, word);
            }
        } else {
            const QRect need = fm.boundingRect(QRect(0, 0, 100000, 100000), 0, text);
            if (need.width() > r.width() || fm.height() > r.height()) report(*l, text);
        }
    }
    for (QAbstractButton* b : root.findChildren<QAbstractButton*>()) {
        if (!shown(b) || b->text().isEmpty()) continue;
        if (qobject_cast<QTabBar*>(b->parentWidget())) continue;  // tab scrollers
        const QSize hint = b->sizeHint();
        if (hint.width() > b->width() || hint.height() > b->height()) report(*b, b->text());
    }
    for (QGroupBox* g : root.findChildren<QGroupBox*>()) {
        if (!shown(g) || g->title().isEmpty()) continue;
        const QFontMetrics fm(g->font());
        // The title sits inside the frame with a margin on each side.
        if (fm.horizontalAdvance(WithoutMnemonic(g->title())) + 16 > g->width())
            report(*g, g->title());
    }
    for (QTabWidget* t : root.findChildren<QTabWidget*>()) {
        if (!shown(t)) continue;
        const QTabBar* bar = t->tabBar();
        const QFontMetrics fm(bar->font());
        for (int i = 0; i < t->count(); ++i) {
            if (fm.horizontalAdvance(WithoutMnemonic(t->tabText(i))) > bar->tabRect(i).width()) {
                report(*t, t->tabText(i));
            }
            if (bar->tabRect(i).right() > bar->width()) report(*t, t->tabText(i));
        }
    }
    return clipped;
}

}  // namespace quarnel::ui
