#pragma once
// Helpers for window tests.

#include <QString>
#include <QStringList>

class QWidget;

namespace quarnel::test {

/// Texts of the visible labels, buttons, group boxes and tabs under `root`
/// that do not fit in their widget, each with the widget's object name.
QStringList ClippedTexts(QWidget& root);

/// Renders the window (laid out, shown offscreen) into `path` as PNG.
bool SaveScreenshot(QWidget& window, const QString& path);

}  // namespace quarnel::test

#include <ostream>

QT_BEGIN_NAMESPACE
/// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE
