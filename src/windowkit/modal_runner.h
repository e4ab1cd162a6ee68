// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every modal window and every file, folder or print dialog is run through
// this runner: the program runs them with exec(); tests install a scripted
// runner, which shows the dialog, lets a handler act on it as the person
// would (fill fields, press buttons) and returns its result.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

namespace quarnel::ui {

class ModalRunner {
  public:
    virtual ~ModalRunner() = default;
    /// Runs the dialog modally and returns its result code.
    virtual int Run(QDialog& dialog) = 0;
};

/// The runner in use: the installed one, else exec().
ModalRunner& Modals();

/// Shorthand for Modals().Run(dialog).
int RunModal(QDialog& dialog);

/// Object name of the folder, open and save dialogs made below, so that
/// tests can answer them.
inline constexpr const char* kFolderDialogName = "DialogDossier";
inline constexpr const char* kOpenDialogName = "DialogOuvrir";
inline constexpr const char* kSaveDialogName = "DialogSauver";

/// A folder-selection dialog (new folders may be created) opened on `start`;
/// the chosen folder or nothing.
std::optional<QString> ChooseFolder(QWidget* parent, const QString& caption, const QString& start);
/// Open dialog for one or several existing files; empty when cancelled.
QStringList ChooseFilesToOpen(QWidget* parent, const QString& caption, const QString& folder,
                              const QString& filter, bool several);
/// Save dialog, with `selectedFilter` (one entry of `filter`) chosen when
/// given; nothing when cancelled.
std::optional<QString> ChooseFileToSave(QWidget* parent, const QString& caption,
                                        const QString& folder, const QString& filter,
                                        const QString& defaultSuffix,
                                        const QString& selectedFilter = {});

/// Installs `runner` in place of exec() (nullptr restores it); returns the
/// one installed before. The tests' scripted runner uses it.
ModalRunner* InstallModalRunner(ModalRunner* runner);

/// In a handler: selects `path` in a file or folder dialog and accepts it.
void AcceptFileDialog(QDialog& dialog, const QString& path);

}  // namespace quarnel::ui
