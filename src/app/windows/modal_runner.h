#pragma once
// Every modal window and every file, folder or print dialog is run through
// this runner: the program runs them with exec(); tests install a
// ScriptedModalRunner, which shows the dialog, lets a handler act on it as
// the person would (fill fields, press buttons) and returns its result.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
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
/// Save dialog; nothing when cancelled.
std::optional<QString> ChooseFileToSave(QWidget* parent, const QString& caption,
                                        const QString& folder, const QString& filter,
                                        const QString& defaultSuffix);

/// For tests: installed for its lifetime. A handler acts on the dialog
/// (it is shown, not modal); if the dialog is still open afterwards it is
/// rejected. A dialog without a handler is rejected at once.
class ScriptedModalRunner : public ModalRunner {
  public:
    using Handler = std::function<void(QDialog&)>;

    ScriptedModalRunner();
    ~ScriptedModalRunner() override;
    ScriptedModalRunner(const ScriptedModalRunner&) = delete;
    ScriptedModalRunner& operator=(const ScriptedModalRunner&) = delete;

    /// Handles every run of the dialog named `objectName`.
    void Always(const QString& objectName, Handler handler);
    /// Handles the next run of that dialog only (before any Always handler).
    void Once(const QString& objectName, Handler handler);
    /// Object names of the dialogs run, in order.
    const QStringList& Runs() const { return runs_; }

    int Run(QDialog& dialog) override;

  private:
    std::map<QString, Handler> always_;
    std::map<QString, std::deque<Handler>> once_;
    QStringList runs_;
    ModalRunner* previous_;
};

/// In a handler: selects `path` in a file or folder dialog and accepts it.
void AcceptFileDialog(QDialog& dialog, const QString& path);

}  // namespace quarnel::ui
