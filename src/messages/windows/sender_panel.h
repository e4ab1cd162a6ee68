// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sender group with its verdicts, and the digest and signature lines,
// as the message viewer and the certification window both show them.

#include <QString>

#include "messages/message_state.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QVBoxLayout;
class QWidget;

namespace quarnel::ui {

class SenderPanel {
  public:
    /// Adds the group and the digest lines to `outer`, their labels owned by
    /// `owner`.
    SenderPanel(QWidget& owner, QVBoxLayout& outer);

    /// The captions, with the window's own texts for the affiliation and the
    /// digest labels.
    void Retranslate(int affiliationLabel, int digestLabel);
    /// The group's design caption, nothing filled.
    void ShowNobody();
    void Show(const SenderView& sender, const Verdict& confirmation, const std::string& digest,
              const std::string& signature);
    /// The grid of the digest and signature lines (two rows), for a window
    /// that adds rows of its own below them.
    QGridLayout& DigestGrid() { return *digest_; }
    /// The sender's name as shown.
    QString Name() const;

  private:
    QGroupBox* groupBoxExp_ = nullptr;
    QLabel* labelAffiliation_ = nullptr;
    QLabel* labelNom_ = nullptr;
    QLabel* labelLocalite_ = nullptr;
    QLabel* labelEmail_ = nullptr;
    QLabel* labelFirme_ = nullptr;
    QLabel* lbAffiliation_ = nullptr;
    QLabel* lbNom_ = nullptr;
    QLabel* lbLocalite_ = nullptr;
    QLabel* lbEmail_ = nullptr;
    QLabel* lbSociete_ = nullptr;
    QLabel* lbDate_ = nullptr;
    QLabel* lbConfirmation_ = nullptr;
    QLabel* labelHachage_ = nullptr;
    QLabel* lbHachage_ = nullptr;
    QLabel* labelSignature_ = nullptr;
    QLabel* lbSignature_ = nullptr;
    QGridLayout* digest_ = nullptr;
};

}  // namespace quarnel::ui
