// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowkit/modal_runner.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QListView>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

#include "windowkit/help.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

class ExecRunner : public ModalRunner {
  public:
    int Run(QDialog& dialog) override {
        // An open help window stays usable beside the dialog, and after it.
        QTimer::singleShot(0, &dialog, [] {
            if (HelpSystem* help = HelpSystem::Current()) help->FollowModal();
        });
        const int result = dialog.exec();
        if (HelpSystem* help = HelpSystem::Current()) help->FollowModal();
        return result;
    }
};

ModalRunner* g_installed = nullptr;

/// Qt sizes the columns of the file list for English; each column gets room
/// for its title in the current language, and the dialog room for them all.
void WidenForColumns(QFileDialog& dialog) {
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!list) return;  // a dialog of the platform's own
    QHeaderView& header = *list->header();
    int columns = 0;
    for (int i = 0; i < header.count(); ++i) {
        header.resizeSection(i, std::max(header.sectionSize(i), header.sectionSizeHint(i)));
        columns += header.sectionSize(i);
    }
    int beside = 0;  // the list of places left of the files, and the frames
    if (auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar"))) {
        // Room for the longest place name ("Ordinateur") beside its icon.
        int widest = 0;
        if (const QAbstractItemModel* model = places->model()) {
            for (int row = 0; row < model->rowCount(); ++row) {
                const QString name = model->index(row, 0).data().toString();
                widest = std::max(widest, places->fontMetrics().horizontalAdvance(name));
            }
        }
        const int needed = widest + places->iconSize().width() + 32;
        places->setMinimumWidth(std::max(places->minimumWidth(), needed));
        beside += std::max({places->width(), places->sizeHint().width(), needed});
    }
    beside += list->verticalScrollBar()->sizeHint().width() + 64;
    dialog.setMinimumWidth(std::max(dialog.minimumSizeHint().width(), columns + beside));
}

std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, const char* name,
                                            const QString& caption, const QString& folder,
                                            const QString& filter) {
    auto dialog = std::make_unique<QFileDialog>(parent, caption, folder, filter);
    dialog->setObjectName(name);
    WidenForColumns(*dialog);
    KeepOnScreen(*dialog);
    return dialog;
}

/// Runs the dialog; the first file or folder chosen, if any.
std::optional<QString> FirstChosen(QFileDialog& dialog) {
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

}  // namespace

ModalRunner& Modals() {
    static ExecRunner exec;
    return g_installed ? *g_installed : exec;
}

int RunModal(QDialog& dialog) {
    return Modals().Run(dialog);
}

std::optional<QString> ChooseFolder(QWidget* parent, const QString& caption, const QString& start) {
    auto dialog = MakeFileDialog(parent, kFolderDialogName, caption, start, QString());
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    return FirstChosen(*dialog);
}

QStringList ChooseFilesToOpen(QWidget* parent, const QString& caption, const QString& folder,
                              const QString& filter, bool several) {
    auto dialog = MakeFileDialog(parent, kOpenDialogName, caption, folder, filter);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (RunModal(*dialog) != QDialog::Accepted) return {};
    return dialog->selectedFiles();
}

std::optional<QString> ChooseFileToSave(QWidget* parent, const QString& caption,
                                        const QString& folder, const QString& filter,
                                        const QString& defaultSuffix,
                                        const QString& selectedFilter) {
    auto dialog = MakeFileDialog(parent, kSaveDialogName, caption, folder, filter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    if (!selectedFilter.isEmpty()) dialog->selectNameFilter(selectedFilter);
    dialog->setDefaultSuffix(defaultSuffix);
    // Where an overwrite needs a question, the program asks its own.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    return FirstChosen(*dialog);
}

ModalRunner* InstallModalRunner(ModalRunner* runner) {
    ModalRunner* previous = g_installed;
    g_installed = runner;
    return previous;
}

void AcceptFileDialog(QDialog& dialog, const QString& path) {
    if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
        files->selectFile(path);
    }
    dialog.accept();
}

}  // namespace quarnel::ui
