// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowkit/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

struct ButtonKind {
    BoxButton ours;
    QMessageBox::StandardButton theirs;
    int text;  // in the language of the program, not of the platform
};
constexpr ButtonKind kButtons[] = {
    {kOk, QMessageBox::Ok, txt::kOk},
    {kCancel, QMessageBox::Cancel, txt::kCancelButton},
    {kAbort, QMessageBox::Abort, txt::kAbortButton},
    {kRetry, QMessageBox::Retry, txt::kRetryButton},
    {kIgnore, QMessageBox::Ignore, txt::kIgnoreButton},
    {kYes, QMessageBox::Yes, txt::kYesButton},
    {kNo, QMessageBox::No, txt::kNoButton},
};

}  // namespace

BoxButton FirstOf(unsigned buttons) {
    for (const ButtonKind& b : kButtons) {
        if (buttons & b.ours) return b.ours;
    }
    return kOk;
}

namespace {

class QtMessageBoxes : public MessageBoxes {
  public:
    BoxButton Show(QWidget* parent, BoxIcon icon, const QString& text, unsigned buttons) override {
        return ShowCaptioned(parent, icon, text, buttons, {});
    }
    BoxButton ShowCaptioned(QWidget* parent, BoxIcon icon, const QString& text, unsigned buttons,
                            const ButtonCaptions& captions) override {
        static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::Information,
                                                       QMessageBox::Warning, QMessageBox::Critical,
                                                       QMessageBox::Question};
        QMessageBox box(kIcons[int(icon)], QStringLiteral("QuarnelTit"), text,
                        QMessageBox::NoButton, parent);
        for (const ButtonKind& b : kButtons) {
            if (!(buttons & b.ours)) continue;
            QPushButton* button = box.addButton(b.theirs);
            button->setText(Tr(b.text));
            for (const auto& [which, caption] : captions) {
                if (which == b.ours) button->setText(caption);
            }
            if (!captions.empty() && captions.front().first == b.ours) box.setDefaultButton(button);
        }
        const int pressed = box.exec();
        for (const ButtonKind& b : kButtons) {
            if (pressed == b.theirs) return b.ours;
        }
        // Closed by Escape or the window's close button: the box's escape
        // button, as the platform chose it.
        return (buttons & kCancel) ? kCancel : (buttons & kNo) ? kNo : FirstOf(buttons);
    }
};

MessageBoxes* g_installed = nullptr;

}  // namespace

MessageBoxes& Boxes() {
    static QtMessageBoxes qtBoxes;
    return g_installed ? *g_installed : qtBoxes;
}

BoxButton Ask(QWidget* parent, BoxIcon icon, const QString& text, unsigned buttons) {
    return Boxes().Show(parent, icon, text, buttons);
}

BoxButton Ask(QWidget* parent, BoxIcon icon, const QString& text, unsigned buttons,
              const ButtonCaptions& captions) {
    return Boxes().ShowCaptioned(parent, icon, text, buttons, captions);
}

void Inform(QWidget* parent, const QString& text) {
    (void)Ask(parent, BoxIcon::Information, text, kOk);
}

MessageBoxes* InstallMessageBoxes(MessageBoxes* boxes) {
    MessageBoxes* previous = g_installed;
    g_installed = boxes;
    return previous;
}

}  // namespace quarnel::ui
