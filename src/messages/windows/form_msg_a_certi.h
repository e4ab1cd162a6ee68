// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FormMsgACerti: a saved decrypted message opened for the certification of its
// signature. The header read from the file fills the sender's data; the
// digest is checked over what remains once the header lines are deleted, and
// only a confirmed message can be sent for certification.

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "messages/certification.h"
#include "windowkit/quarnel_dialog.h"

class QAction;
class QGroupBox;
class QLabel;
class QTextEdit;

namespace quarnel::ui {

class SenderPanel;

class FormMsgACerti : public QuarnelDialog {
    Q_OBJECT
  public:
    FormMsgACerti(HolderContext& ctx, QWidget* parent);
    ~FormMsgACerti() override;

    /// Loads the bytes of the file `fileName`: RTF content is shown formatted,
    /// other content as plain lines. The message text checked is, for a name
    /// ending exactly in ".rtf", the RTF of what remains after the header,
    /// else its plain text. False when the file has too few lines for a
    /// saved decrypted message (the window is then left as it was).
    [[nodiscard]] bool Load(const QString& fileName, const std::string& bytes);
    const SavedMessage& Saved() const { return saved_; }

    // Handlers.
    void CertifierClick();
    /// ButtonRetour: the editor is emptied and the window closes.
    void WindowCloseClick();

  Q_SIGNALS:
    /// Certifier: the confirmed message is to be sent for certification.
    void CertifyRequested(const SavedMessage& saved);

  protected:
    void Retranslate() override;

  private:
    void ShowSaved();

    SavedMessage saved_;
    bool loaded_ = false;
    std::unique_ptr<SenderPanel> sender_;
    QTextEdit* editeur_ = nullptr;
    QAction* windowClose_ = nullptr;
    QAction* certifier_ = nullptr;
    QAction* helpContents_ = nullptr;
};

}  // namespace quarnel::ui
