// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FormCerti, the viewer of a certificate delivered by the TA: save (the
// certificates folder, plain text), print, copy, and the save step on
// closing while it was never saved.

#include <QString>
#include <string>

#include "windowkit/quarnel_dialog.h"

class QAction;
class QPlainTextEdit;
class QPrinter;

namespace quarnel::ui {

class FormCerti : public QuarnelDialog {
    Q_OBJECT
  public:
    FormCerti(HolderContext& ctx, QWidget* parent);

    /// Puts the certificate (code page 1252, as the TA sent it) into the
    /// window; the current file name becomes the placeholder.
    void Fill(const std::string& certificate);
    /// Fills, places against the main window, captions and runs it modally.
    void ShowCertificate(const std::string& certificate, const QWidget& mainWindow);

    /// The certificate's lines, each ended by CR LF: what SaveAs writes.
    std::string SavedBytes() const;

    // Handlers.
    void SaveAsClick();
    void PrintClick();
    void PrintTo(QPrinter& printer, bool selectionOnly);
    void EditCopyClick();
    void EditSelectAllClick();
    /// ToolButtonRetour, Escape and the close button: the save step when the
    /// certificate was never saved, then close.
    void WindowCloseClick();
    void reject() override;

  protected:
    void Retranslate() override;

  private:
    void UpdateCopy();

    std::string certificate_;
    QString savedPath_;
    QPlainTextEdit* memoCerti_ = nullptr;
    QAction* windowClose_ = nullptr;
    QAction* helpContents_ = nullptr;
    QAction* saveAs_ = nullptr;
    QAction* editSelectAll_ = nullptr;
    QAction* editCopy_ = nullptr;
    QAction* print_ = nullptr;
};

}  // namespace quarnel::ui
