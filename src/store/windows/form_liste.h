// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Correspondents window: one correspondent list as a grid, filtered by the
// beginning of a chosen column, from which the holder writes to a
// correspondent, renews a correspondent's key, deletes a correspondent or
// keeps a remark on one. Shown modelessly; created once at start by the main
// window. The grid is a view on a model of the list: only what is shown is
// drawn, and closing the window frees the rows.

#include <QPointer>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "messages/message_state.h"
#include "protocol/kinds.h"
#include "store/remarks.h"
#include "windowkit/quarnel_dialog.h"

class QAction;
class QGroupBox;
class QHeaderView;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace quarnel::ui {

class CorrespondentsModel;

class FormListe : public QuarnelDialog {
    Q_OBJECT
  public:
    FormListe(HolderContext& ctx, MessageState& msgs, QWidget* parent);
    ~FormListe() override;

    /// A list was written behind the window (a key reply): shown again when
    /// it is the one on view, so that no row stands for a record gone.
    void ListChanged(char category);

    /// The remarks as loaded from the key folder.
    const Remarks& RemarksShown() const { return remarks_; }

    // Handlers.
    void FormActivate();
    void EditFiltreChange(const QString& text);
    void grilleHeaderPressed(int column);
    void grilleSelectCell();
    void BitBtnListeClick();
    void BitBtnCorrespondreClick();
    void MenuTexteClick(Kind kind);
    void BitBtnAJourClick();
    void BitBtnSupprimerClick();
    void EditRemarqueChange();
    void BitBtnRemarqueClick();
    void GroupBoxRemarqueExit();
    void BitBtnQuitterClick();

  Q_SIGNALS:
    /// The holder wants to write to the selected correspondent (already in
    /// msgs.recipientCategory and msgs.recipientRecord; the window has
    /// closed). With nothing connected, the holder is told it is not there.
    void CorrespondRequested(Kind kind);
    /// The main window's list menu again ("&Listes").
    void ListsAgain();
    /// The last correspondent is gone: the main window's buttons follow.
    void CorrespondentsGone();
    /// The key update (kind 11) for an affiliation number; the window has closed.
    void KeyUpdateRequested(const std::string& number);

  protected:
    void Retranslate() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    /// Shows the rows again: ordered anew by the key column when `arrange`
    /// (the list or the column changed), else only picked by the filter.
    void Refill(bool arrange);
    void UpdateButtons();
    void SetFilterRule();
    void LoadRemarksOnce();
    /// The column titles of the category, then the affiliation date's.
    QStringList Titles() const;
    void ShowHeader();
    /// The list index of the selected row's record, or -1.
    int SelectedIndex() const;
    const Record* SelectedRecord() const;
    std::string SelectedNumber() const;
    void ShowRemarkOfSelection();
    void OnFocusChanged(QWidget* old, QWidget* now);

    MessageState& msgs_;
    Remarks remarks_;
    std::filesystem::path remarksFolder_;  ///< where remarks_ was loaded from
    bool remarksLoaded_ = false;
    char category_ = 'F';
    int keyColumn_ = 0;
    CorrespondentsModel* model_ = nullptr;  ///< the rows; freed while the window is closed

    QLabel* labelFiltre_ = nullptr;
    QLineEdit* editFiltre_ = nullptr;
    QPushButton* bitBtnListe_ = nullptr;
    QPushButton* bitBtnCorrespondre_ = nullptr;
    QPushButton* bitBtnSupprimer_ = nullptr;
    QPushButton* bitBtnAJour_ = nullptr;
    QTableView* grille_ = nullptr;
    QHeaderView* header_ = nullptr;
    QPushButton* bitBtnQuitter_ = nullptr;
    QPushButton* bitBtnAide_ = nullptr;
    QGroupBox* groupBoxRemarque_ = nullptr;
    QLineEdit* editRemarque_ = nullptr;
    QPushButton* bitBtnRemarque_ = nullptr;
    QMenu* popupMenuMsg_ = nullptr;
    QAction* menuTexteSimple_ = nullptr;
    QAction* menuTexteFormate_ = nullptr;
};

}  // namespace quarnel::ui
