// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bytes done of the total of a mail transfer, shown by the sending and the
// receiving windows while a server is spoken to; its room stays when no
// transfer runs, so that the window does not jump.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace quarnel::ui {

class TransferProgress : public QWidget {
  public:
    explicit TransferProgress(QWidget* parent);
    /// Shows `done` of `total` bytes (total 0: only the bytes done).
    void Show(qint64 done, qint64 total);
    /// Hides it, keeping its room.
    void Clear();
    /// The text on show ("1,2 Mo sur 3,4 Mo"), "" when hidden.
    [[nodiscard]] QString Text() const;
    void Retranslate();

  private:
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    qint64 done_ = 0;
    qint64 total_ = 0;
};

}  // namespace quarnel::ui
