// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FormCourrier, the mailbox: the received messages (with what was read and
// its verdict), the sent ones and those waiting in the queue, filtered as one
// types and sorted by any column. A received message opens again into the
// viewer through the same decryption as Déchiffrer, and may be deleted for
// good. Never modal: it stays open beside the other windows.

#include <QString>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "crypto/text_cipher.h"
#include "mail/mailbox.h"
#include "windowkit/long_job.h"
#include "windowkit/quarnel_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace quarnel {
struct MailState;
}  // namespace quarnel

namespace quarnel::ui {

class MailboxModel;

class FormCourrier : public QuarnelDialog {
    Q_OBJECT
  public:
    FormCourrier(HolderContext& ctx, MailState& mail, QWidget* parent);
    ~FormCourrier() override;

    /// Reads the logs and the queue again and shows the window (placed
    /// against the main window the first time).
    void ShowMailbox(const QWidget& mainWindow);
    /// Reads the logs, the read marks and the queue again, keeping the filter,
    /// the sort and the selection.
    void Reload();
    /// The received message `textAndNames` was read, its sender confirmed or
    /// not: kept in the read marks, shown at once when listed.
    void MarkRead(std::span<const std::string> textAndNames, bool confirmed);

    [[nodiscard]] const MailboxList& Received() const { return received_; }
    [[nodiscard]] const MailboxList& Sent() const { return sent_; }
    /// What the window says under the lists (counts, a damaged log).
    [[nodiscard]] QString Status() const;

    // Handlers.
    void OuvrirClick();
    /// Looks for the filter's words in the texts of the received messages
    /// (each decrypted in memory, with progress and Annuler) and lists those
    /// that hold them.
    void RechercherClick();
    void SupprimerClick();
    void FiltreChanged(const QString& text);
    void HeaderPressed(int column);
    /// Selects row `row` of the received list as shown.
    void SelectReceived(int row);
    /// Ouvrir and Supprimer from the selection and the busy flag.
    void UpdateButtons();

    /// Runs the search (tests stop it at a chosen point).
    LongJobRunner runJob = RunLongJob;

  Q_SIGNALS:
    /// Ouvrir: the received message to decrypt and show, as the waiting list
    /// holds it (the subject, then the text and the attachment names).
    void OpenRequested(const quarnel::Lines& entry);

  protected:
    void Retranslate() override;

  private:
    /// The received entry selected and readable, or nothing.
    [[nodiscard]] const MailboxEntry* Selected() const;
    /// Runs `change` to the lists and shows their rows again, the message
    /// chosen still chosen.
    void ShowRows(const std::function<void()>& change);
    /// The logs, the read marks and the queue read again.
    void ReadLists();

    MailState& mail_;
    ReadMarks marks_;
    MailboxList received_;
    MailboxList sent_;
    MailboxLoad receivedLoad_;  // without its entries: counts and damage
    MailboxLoad sentLoad_;
    QString searchNote_;  // what the last search found, until the filter changes
    bool placed_ = false;

    QLabel* labelFiltre_ = nullptr;
    QLineEdit* editFiltre_ = nullptr;
    QTabWidget* onglets_ = nullptr;
    QTableView* grilleRecus_ = nullptr;
    QTableView* grilleEnvoyes_ = nullptr;
    MailboxModel* modelRecus_ = nullptr;
    MailboxModel* modelEnvoyes_ = nullptr;
    QLabel* labelEtat_ = nullptr;
    QPushButton* ouvrir_ = nullptr;
    QPushButton* supprimer_ = nullptr;
    QPushButton* rechercher_ = nullptr;
    QPushButton* fermer_ = nullptr;
    QPushButton* aide_ = nullptr;
};

}  // namespace quarnel::ui
