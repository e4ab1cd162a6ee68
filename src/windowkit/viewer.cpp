// SPDX-License-Identifier: GPL-3.0-or-later
// What the viewers of a text share.

#include "windowkit/viewer.h"

#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QToolButton>

#include "store/program_files.h"
#include "store/record_list.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/save_failure.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

QString FileNameOrPlaceholder(const QString& savedPath) {
    return savedPath.isEmpty() ? Tr(txt::kFilePlaceholder) : savedPath;
}

std::optional<QString> ChooseViewerSavePath(QWidget* parent, const QString& caption,
                                            const std::string& folderSetting, bool rich) {
    const QString folder = QString::fromStdString(PathFromSetting(folderSetting).string());
    const QString filter = Tr(txt::kFilterRtf) + QStringLiteral(";;") + Tr(txt::kFilterTxt);
    // The person is asked again until a name is agreed on or the dialog is
    // cancelled.
    for (;;) {
        std::optional<QString> path = ChooseFileToSave(
            parent, caption, folder, filter, rich ? QStringLiteral("rtf") : QStringLiteral("txt"),
            Tr(rich ? txt::kFilterRtf : txt::kFilterTxt));
        if (!path) return std::nullopt;
        const QString name = QFileInfo(*path).fileName();
        // Never under a name the program takes for one of its own (key
        // store, lists, settings, TA parameters), in any folder.
        if (IsProgramFileName(name.toStdString())) {
            (void)Ask(parent, BoxIcon::Warning, Tr(txt::kOwnFileRefused, {name}), kOk);
            continue;
        }
        if (!QFileInfo::exists(*path)) return path;
        if (Ask(parent, BoxIcon::Question, Tr(txt::kOverwrite, {name}), kYes | kNo) == kYes) {
            return path;
        }
    }
}

std::optional<QString> SaveViewerText(QWidget* parent, const QString& caption,
                                      const std::string& folderSetting, bool rich,
                                      const std::function<std::string()>& bytes) {
    const std::optional<QString> path = ChooseViewerSavePath(parent, caption, folderSetting, rich);
    if (!path) return std::nullopt;
    if (SaveBytesWithRetry(path->toStdString(), bytes(), SaveFailureBox(parent)) !=
        SaveResult::Saved)
        return std::nullopt;
    return path;
}

void PutSelectionForPrint(QTextDocument& document, const QTextCursor& selection) {
    QTextCursor c(&document);
    c.insertBlock();
    c.insertFragment(selection.selection());
}

void ShowCopyUsable(QAction& copy, bool selected) {
    copy.setEnabled(selected);
    copy.setToolTip(selected ? QString() : Tr(txt::kTipNothingSelected));
}

std::optional<bool> RunPrintDialog(QWidget* parent, QPrinter& printer, bool hasSelection) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName("PrintDialog");
    dialog.setOption(QAbstractPrintDialog::PrintSelection, hasSelection);
    dialog.setPrintRange(hasSelection ? QAbstractPrintDialog::Selection
                                      : QAbstractPrintDialog::AllPages);
    if (RunModal(dialog) != QDialog::Accepted) return std::nullopt;
    return hasSelection && dialog.printRange() == QAbstractPrintDialog::Selection;
}

void PrintWithIndents(const HolderContext& ctx, QTextDocument& document, QPrinter& printer,
                      const QString& title) {
    QTextCursor all(&document);
    all.select(QTextCursor::Document);
    QTextBlockFormat indents;
    indents.setTextIndent(ctx.paragraphFirstIndent);
    indents.setRightMargin(ctx.paragraphRightIndent);
    all.mergeBlockFormat(indents);
    printer.setDocName(title);
    document.print(&printer);
}

QToolButton* ViewerButton(QWidget* parent, QAction* action, const char* name) {
    auto* b = Named(new QToolButton(parent), name);
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(false);
    return b;
}

QAction* ViewerAction(QWidget& window, const char* name, Qt::Key key) {
    auto* a = Named(new QAction(&window), name);
    a->setShortcut(QKeySequence(Qt::CTRL | key));
    a->setShortcutContext(Qt::WindowShortcut);
    window.addAction(a);
    return a;
}

void CloseViewer(QDialog& viewer, const QString& savedPath, const std::function<void()>& saveAs) {
    if (savedPath.isEmpty()) saveAs();
    viewer.done(QDialog::Rejected);
}

}  // namespace quarnel::ui
