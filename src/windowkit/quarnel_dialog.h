// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Base of the program's dialogs: created once at start with the holder
// context, with the object name the tests and the help find them by, help on
// F1 for their help context, Enter on the focused button, kept within the
// screen, and their texts rebuilt whenever the language changes.

#include <QDialog>

namespace quarnel {
struct HolderContext;
}

namespace quarnel::ui {

class QuarnelDialog : public QDialog {
    Q_OBJECT
  public:
    /// Dialog result of a window that closed itself to have the language
    /// applied (the options dialog's language list).
    static constexpr int kResultNo = 2;

    QuarnelDialog(HolderContext& ctx, const char* objectName, int helpContext, QWidget* parent);

    /// Opens the help at this window's context.
    void ShowHelp() const;

  protected:
    /// Sets every text of the window in the current language. Subclasses call
    /// it at the end of their constructor; a language change calls it again.
    virtual void Retranslate() {}
    void changeEvent(QEvent* event) override;
    /// Enter presses the focused button, else the default one.
    void keyPressEvent(QKeyEvent* event) override;
    /// Shown within the screen (FitToScreen).
    void showEvent(QShowEvent* event) override;

    HolderContext& ctx_;

  private:
    int helpContext_;
};

}  // namespace quarnel::ui
