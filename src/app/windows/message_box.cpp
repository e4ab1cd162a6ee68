#include "app/windows/message_box.h"

#include <QMessageBox>
#include <QStringList>

namespace quarnel::ui {

namespace {

constexpr std::pair<BoxButton, QMessageBox::StandardButton> kButtons[] = {
    {kOk, QMessageBox::Ok},       {kCancel, QMessageBox::Cancel}, {kAbort, QMessageBox::Abort},
    {kRetry, QMessageBox::Retry}, {kIgnore, QMessageBox::Ignore}, {kYes, QMessageBox::Yes},
    {kNo, QMessageBox::No},
};

BoxButton FirstOf(unsigned buttons) {
    for (const auto& [ours, theirs] : kButtons) {
        if (buttons & ours) return ours;
    }
    return kOk;
}

class QtMessageBoxes : public MessageBoxes {
  public:
    BoxButton Show(QWidget* parent, BoxIcon icon, const QString& text, unsigned buttons) override {
        static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::Information,
                                                       QMessageBox::Warning, QMessageBox::Critical,
                                                       QMessageBox::Question};
        QMessageBox box(kIcons[int(icon)], QStringLiteral("QuarnelTit"), text,
                        QMessageBox::NoButton, parent);
        QMessageBox::StandardButtons standard;
        for (const auto& [ours, theirs] : kButtons) {
            if (buttons & ours) standard |= theirs;
        }
        box.setStandardButtons(standard);
        const int pressed = box.exec();
        for (const auto& [ours, theirs] : kButtons) {
            if (pressed == theirs) return ours;
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

void Inform(QWidget* parent, const QString& text) {
    (void)Ask(parent, BoxIcon::Information, text, kOk);
}

ScriptedMessageBoxes::ScriptedMessageBoxes() : previous_(g_installed) {
    g_installed = this;
}

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
    g_installed = previous_;
}

QStringList ScriptedMessageBoxes::Texts() const {
    QStringList texts;
    for (const Shown& s : shown_)
        texts << s.text;
    return texts;
}

BoxButton ScriptedMessageBoxes::Show(QWidget*, BoxIcon icon, const QString& text,
                                     unsigned buttons) {
    shown_.push_back({icon, text, buttons});
    if (answers_.empty()) return FirstOf(buttons);
    const BoxButton answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace quarnel::ui
