// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the viewers of a text share (the message and certificate viewers and
// the sending window's transcript): their toolbar actions, save dialog,
// print dialog and printing, and the copy, select-all and close handlers.

#include <QAction>
#include <QDialog>
#include <QString>
#include <QTextDocument>
#include <functional>
#include <optional>
#include <string>

#include "holder/holder_context.h"
#include "holder/program_state.h"

class QPrinter;
class QTextCursor;
class QToolButton;
class QWidget;

namespace quarnel::ui {

/// The save dialog of a viewer in `folder`, shown again while the chosen file
/// exists and the holder does not agree to overwrite it; nothing when
/// cancelled. `rich` preselects the RTF name ending.
/// A name the program takes for one of its own files is refused, in any
/// folder (IsProgramFileName).
std::optional<QString> ChooseViewerSavePath(QWidget* parent, const QString& caption,
                                            const std::string& folderSetting, bool rich);

/// SaveAs of a viewer: the save dialog (ChooseViewerSavePath), then
/// `bytes()` written with the save-failure box; the path when it was saved.
std::optional<QString> SaveViewerText(QWidget* parent, const QString& caption,
                                      const std::string& folderSetting, bool rich,
                                      const std::function<std::string()>& bytes);

/// What a viewer prints of a selection: an empty line, then the selection.
/// The clipboard is left alone.
void PutSelectionForPrint(QTextDocument& document, const QTextCursor& selection);

/// A viewer's copy action: usable only with a selection, else saying why.
void ShowCopyUsable(QAction& copy, bool selected);

/// The current file name of a viewer: the path it was saved to, or the
/// placeholder "un fichier à désigner" while it was never saved.
QString FileNameOrPlaceholder(const QString& savedPath);

/// The print dialog, offering and preselecting the selection only when there
/// is one; nothing when cancelled, else whether only the selection is printed.
std::optional<bool> RunPrintDialog(QWidget* parent, QPrinter& printer, bool hasSelection);

/// Prints `document` with the settings' first and right indents under `title`.
void PrintWithIndents(const HolderContext& ctx, QTextDocument& document, QPrinter& printer,
                      const QString& title);

/// An action of a viewer's window on Ctrl+`key` (save, select all, copy,
/// print).
QAction* ViewerAction(QWidget& window, const char* name, Qt::Key key);

/// A toolbar button of a viewer carrying `action`.
QToolButton* ViewerButton(QWidget* parent, QAction* action, const char* name);

/// Select all: the whole text selected, and the focus on it.
template <class TextEdit>
void SelectAllAndFocus(TextEdit& edit) {
    edit.selectAll();
    edit.setFocus();
}

/// Copy: the selection to the clipboard, and the information line says so
/// (`copiedInformation`); nothing without a selection.
template <class TextEdit>
void CopySelection(HolderContext& ctx, TextEdit& edit, int copiedInformation) {
    if (!edit.textCursor().hasSelection()) return;
    edit.copy();
    SetInformation(ctx, copiedInformation);
}

/// Retour of a viewer: what was never saved is offered to the save dialog
/// first (`saveAs`), then the window closes.
void CloseViewer(QDialog& viewer, const QString& savedPath, const std::function<void()>& saveAs);

}  // namespace quarnel::ui
