// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every message box of the program goes through this facade: an icon, a
// text and a set of buttons in, the button pressed out. The program uses
// QMessageBox; tests install a scripted facade that answers from a script
// and records every text shown.

#include <QString>
#include <utility>
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

/// Captions that say what a box's buttons do, in place of Oui, Non, Annuler.
using ButtonCaptions = std::vector<std::pair<BoxButton, QString>>;

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    /// Shows the box and returns the button pressed (one of `buttons`).
    virtual BoxButton Show(QWidget* parent, BoxIcon icon, const QString& text,
                           unsigned buttons) = 0;
    /// The same with `captions` on the buttons they name.
    virtual BoxButton ShowCaptioned(QWidget* parent, BoxIcon icon, const QString& text,
                                    unsigned buttons, const ButtonCaptions& captions) {
        (void)captions;
        return Show(parent, icon, text, buttons);
    }
};

/// The facade in use: the installed one, else the QMessageBox one.
MessageBoxes& Boxes();

/// Shorthand for Boxes().Show(...).
BoxButton Ask(QWidget* parent, BoxIcon icon, const QString& text, unsigned buttons);
/// A question whose buttons say what they do: the first caption's button is
/// the default (Enter), Escape gives kCancel when offered.
BoxButton Ask(QWidget* parent, BoxIcon icon, const QString& text, unsigned buttons,
              const ButtonCaptions& captions);
/// An information box with Ok.
void Inform(QWidget* parent, const QString& text);

/// Installs `boxes` in place of the QMessageBox facade (nullptr restores
/// it); returns the one installed before. The tests' scripted boxes use it.
MessageBoxes* InstallMessageBoxes(MessageBoxes* boxes);

/// The first of `buttons` in the order Ok, Cancel, Abort, Retry, Ignore,
/// Yes, No.
BoxButton FirstOf(unsigned buttons);

}  // namespace quarnel::ui
