// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripted_windows.h"

namespace quarnel::ui {

ScriptedMessageBoxes::ScriptedMessageBoxes() : previous_(InstallMessageBoxes(this)) {}

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
    InstallMessageBoxes(previous_);
}

QStringList ScriptedMessageBoxes::Texts() const {
    QStringList texts;
    for (const Shown& s : shown_)
        texts << s.text;
    return texts;
}

BoxButton ScriptedMessageBoxes::Show(QWidget* parent, BoxIcon icon, const QString& text,
                                     unsigned buttons) {
    return ShowCaptioned(parent, icon, text, buttons, {});
}

BoxButton ScriptedMessageBoxes::ShowCaptioned(QWidget*, BoxIcon icon, const QString& text,
                                              unsigned buttons, const ButtonCaptions& captions) {
    shown_.push_back({icon, text, buttons, captions});
    if (answers_.empty()) return FirstOf(buttons);
    const BoxButton answer = answers_.front();
    answers_.pop_front();
    return answer;
}

ScriptedModalRunner::ScriptedModalRunner() : previous_(InstallModalRunner(this)) {}

ScriptedModalRunner::~ScriptedModalRunner() {
    InstallModalRunner(previous_);
}

void ScriptedModalRunner::Always(const QString& objectName, Handler handler) {
    always_[objectName] = std::move(handler);
}

void ScriptedModalRunner::Once(const QString& objectName, Handler handler) {
    once_[objectName].push_back(std::move(handler));
}

int ScriptedModalRunner::Run(QDialog& dialog) {
    const QString name = dialog.objectName();
    runs_ << name;
    Handler handler;
    if (auto it = once_.find(name); it != once_.end() && !it->second.empty()) {
        handler = std::move(it->second.front());
        it->second.pop_front();
    } else if (auto a = always_.find(name); a != always_.end()) {
        handler = a->second;
    }
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (handler) handler(dialog);
    if (dialog.isVisible()) dialog.reject();
    // A dialog that refuses to be cancelled (its Annuler disabled) is closed.
    if (dialog.isVisible()) dialog.done(QDialog::Rejected);
    return dialog.result();
}

}  // namespace quarnel::ui
