// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every window of the program shares: texts by resource number in the
// current language, the code page 1252 boundary, the placement of dialogs and
// the verdict colours.

#include <QColor>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "holder/verdict.h"

class QWidget;
class QLabel;
class QGroupBox;
class QLineEdit;

namespace quarnel::ui {

/// The text of a resource number in the current language (French built in,
/// other languages from the installed translation module).
QString Tr(int id);
/// Tr(id) with its %s placeholders replaced in order by `args`.
QString Tr(int id, std::initializer_list<QString> args);
QString Tr(int id, const QStringList& args);

/// A system text (code page 1252 bytes) for display.
QString FromCp1252(std::string_view text);
/// A typed text as code page 1252 bytes; a character the code page cannot
/// hold becomes "?".
std::string ToCp1252(const QString& text);

/// A size in the current language, in SI units: "850 octets", "3,4 Mo",
/// "25 Mo" (one decimal below 10).
QString SizeText(std::uint64_t bytes);

/// `widget` with its object name, by which tests and the help find it.
template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

/// Makes a line edit wide enough to show `length` characters as wide as
/// `sample` ("X" for upper-case text, "x" for lower case).
void FitToLength(QLineEdit& edit, int length, QChar sample);

/// The edit of a value kept in a file of lines (a setting, an identity
/// field) refuses a typed or pasted control character (tab, line break):
/// the text stays as it was and the edit's tooltip says why.
void RefuseControlCharacters(QLineEdit& edit);

/// Places a dialog at the main window's left edge, 30 pixels below its top
/// edge (frame included), as every dialog opened from the main window is;
/// showing it then keeps it within the screen (FitToScreen).
void PlaceDialog(QWidget& dialog, const QWidget& mainWindow);

/// Keeps a window within the available geometry of its screen: no larger
/// (when its layout cannot shrink that far, its content goes into a scroll
/// area, a last row of buttons staying below it) and moved inside it. Every
/// window of the program runs it when it is shown.
void FitToScreen(QWidget& window);
/// Runs FitToScreen each time `window` is shown: for the windows Qt makes
/// (file dialogs, the progress dialog).
void KeepOnScreen(QWidget& window);

/// The one mapping of verdicts to colours: positive teal (008080), negative
/// maroon (800000).
QColor VerdictColour(bool positive);
/// Shows the verdict's text in its colour.
void ShowVerdict(QLabel& label, const Verdict& verdict);
void ShowVerdict(QGroupBox& box, const Verdict& verdict);

}  // namespace quarnel::ui
