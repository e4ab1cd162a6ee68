// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for window tests.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace quarnel::test {

/// The child of `w` named `name`; a failure names it when missing.
template <typename T = QAbstractButton>
T& Child(QWidget& w, const char* name) {
    T* child = w.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return *child;
}

/// Clicks the button as a person would (nothing happens when it is disabled).
void Click(QWidget& w, const char* button);

/// Replaces the text of a line edit key by key, accented letters included.
void Type(QWidget& w, const char* edit, const QString& text);

/// Texts of the visible labels, buttons, group boxes and tabs under `root`
/// that do not fit in their widget, each with the widget's object name.
QStringList ClippedTexts(QWidget& root);

/// The text of a PDF as another program reads it (pdftotext).
QString PdfText(const QString& pdf);

}  // namespace quarnel::test

#include <ostream>

QT_BEGIN_NAMESPACE
/// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE
