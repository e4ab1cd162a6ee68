// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window kit's seams scripted for tests: message boxes answered from a
// queue, and modal dialogs handed to a handler that acts as the person would.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"

namespace quarnel::ui {

/// For tests: answers from a queue and records what was shown. Installed for
/// its lifetime.
class ScriptedMessageBoxes : public MessageBoxes {
  public:
    struct Shown {
        BoxIcon icon;
        QString text;
        unsigned buttons;
        ButtonCaptions captions;
    };

    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes() override;
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    /// The next box is answered with `button`. Without a queued answer a box
    /// gets the first of its buttons in the order Ok, Cancel, Abort, Retry,
    /// Ignore, Yes, No.
    void Answer(BoxButton button) { answers_.push_back(button); }
    const std::vector<Shown>& ShownBoxes() const { return shown_; }
    /// The texts shown, in order.
    QStringList Texts() const;

    BoxButton Show(QWidget* parent, BoxIcon icon, const QString& text, unsigned buttons) override;
    BoxButton ShowCaptioned(QWidget* parent, BoxIcon icon, const QString& text, unsigned buttons,
                            const ButtonCaptions& captions) override;

  private:
    std::deque<BoxButton> answers_;
    std::vector<Shown> shown_;
    MessageBoxes* previous_;
};

/// For tests: installed for its lifetime. A handler acts on the dialog
/// (it is shown, not modal); if the dialog is still open afterwards it is
/// rejected. A dialog without a handler is rejected at once.
class ScriptedModalRunner : public ModalRunner {
  public:
    using Handler = std::function<void(QDialog&)>;

    ScriptedModalRunner();
    ~ScriptedModalRunner() override;
    ScriptedModalRunner(const ScriptedModalRunner&) = delete;
    ScriptedModalRunner& operator=(const ScriptedModalRunner&) = delete;

    /// Handles every run of the dialog named `objectName`.
    void Always(const QString& objectName, Handler handler);
    /// Handles the next run of that dialog only (before any Always handler).
    void Once(const QString& objectName, Handler handler);
    /// Object names of the dialogs run, in order.
    const QStringList& Runs() const { return runs_; }

    int Run(QDialog& dialog) override;

  private:
    std::map<QString, Handler> always_;
    std::map<QString, std::deque<Handler>> once_;
    QStringList runs_;
    ModalRunner* previous_;
};

}  // namespace quarnel::ui
