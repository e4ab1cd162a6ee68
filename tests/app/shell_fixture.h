// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window over a holder's files, with scripted message boxes and
// modal dialogs; the program folder is the build's bin folder (TA parameter
// file, English text module, help pages).

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest/QTest>
#include <memory>

#include "app/windows/commands.h"
#include "app/windows/form_options.h"
#include "app/windows/form_titulaire.h"
#include "app/windows/shell.h"
#include "holder_files.h"
#include "scripted_windows.h"
#include "window_test_support.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"

namespace quarnel::test {

struct Shell {
    StartupEnd Start(const std::filesystem::path& programFolder = QUARNEL_BIN_DIR) {
        StartupPlaces places;
        places.programFile = programFolder / "quarneltit";
        places.currentFolder = files.Data();
        places.localeIsFrench = true;
        return shell->Start(places);
    }
    /// Settings and a sealed key store: state 2 at start.
    void Affiliated() {
        files.WriteSettings();
        files.WriteKeyStore(files.SealedStore());
    }
    ui::FormOptions& OptionsForm() { return *shell->Windows().options; }
    /// Opens the options dialog from the main window; `handler` acts on it.
    void OpenOptions(ui::ScriptedModalRunner::Handler handler) {
        runner.Once("FormOptions", std::move(handler));
        main->Button(Command::Options).click();
    }
    /// The folder chooser answered with `folder`, once or every time.
    void ChooseFolder(const std::filesystem::path& folder, bool always = false) {
        const auto choose = [folder](QDialog& d) {
            ui::AcceptFileDialog(d, QString::fromStdString(folder.string()));
        };
        always ? runner.Always(ui::kFolderDialogName, choose)
               : runner.Once(ui::kFolderDialogName, choose);
    }
    /// The options' authority address, mail servers, account and password.
    static void TypeServers(QDialog& d, const char* taAddress) {
        for (const auto& [edit, text] : {std::pair{"EditAdresseTa", taAddress},
                                         {"EditSmtp", "smtp.example.org"},
                                         {"EditPop3", "pop.example.org"},
                                         {"EditId", "jdupont"},
                                         {"EditPasse", "pop-secret"}})
            Type(d, edit, text);
    }
    QString Information() { return Child<QLabel>(*main, "LabelInformation").text(); }
    /// The main window's enabled commands.
    std::vector<Command> Enabled() {
        std::vector<Command> out;
        for (const ui::MainCommandInfo& c : ui::MainCommands()) {
            if (main->Button(c.command).isEnabled()) out.push_back(c.command);
        }
        return out;
    }

    HolderFiles files;
    ProgramData ctx;
    ui::ScriptedMessageBoxes boxes;
    ui::ScriptedModalRunner runner;
    std::unique_ptr<ui::Shell> shell = std::make_unique<ui::Shell>(ctx);
    ui::FormTitulaire* main = &shell->Main();  ///< gone with the shell
};

class ShellFixture : public ::testing::Test, public Shell {};

}  // namespace quarnel::test
