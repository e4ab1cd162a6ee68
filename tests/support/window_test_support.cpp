// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_test_support.h"

#include "app/windows/clipped_texts.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

namespace quarnel::test {

void Click(QWidget& w, const char* button) {
    Child(w, button).click();
}

void Type(QWidget& w, const char* edit, const QString& text) {
    QLineEdit& e = Child<QLineEdit>(w, edit);
    e.clear();
    e.setFocus();
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(&e, char(c.unicode()));
        } else {  // QTest knows keys for ASCII only
            QTest::sendKeyEvent(QTest::Press, &e, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, &e, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

QStringList ClippedTexts(QWidget& root) {
    return ui::ClippedTexts(root);
}

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace quarnel::test
