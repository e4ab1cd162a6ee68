#pragma once
// Every message box of the program goes through this facade: an icon, a
// text and a set of buttons in, the button pressed out. The program uses
// QMessageBox; tests install ScriptedMessageBoxes, which answers from a
// script and records every text shown.

#include <QString>
#include <deque>
#include <vector>

class QWidget;

namespace quarnel::ui {

enum class BoxIcon { Information, Warning, Critical, Question };

/// Buttons of a box; combine with |.
enum BoxButton : unsigned {
    kOk = 1u << 0,
    kCancel = 1u << 1,
    kAbort = 1u << 2,
    kRetry = 1u << 3,
    kIgnore = 1u << 4,
    kYes = 1u << 5,
    kNo = 1u << 6,
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    /// Shows the box and returns the button pressed (one of `buttons`).
    virtual BoxButton Show(QWidget* parent, BoxIcon icon, const QString& text,
                           unsigned buttons) = 0;
};

/// The facade in use: the installed one, else the QMessageBox one.
MessageBoxes& Boxes();

/// Shorthand for Boxes().Show(...).
BoxButton Ask(QWidget* parent, BoxIcon icon, const QString& text, unsigned buttons);
/// An information box with Ok.
void Inform(QWidget* parent, const QString& text);

/// For tests: answers from a queue and records what was shown. Installed for
/// its lifetime.
class ScriptedMessageBoxes : public MessageBoxes {
  public:
    struct Shown {
        BoxIcon icon;
        QString text;
        unsigned buttons;
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

  private:
    std::deque<BoxButton> answers_;
    std::vector<Shown> shown_;
    MessageBoxes* previous_;
};

}  // namespace quarnel::ui
