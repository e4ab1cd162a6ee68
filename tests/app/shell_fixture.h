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

#include "app/windows/form_options.h"
#include "app/windows/form_titulaire.h"
#include "app/windows/message_box.h"
#include "app/windows/modal_runner.h"
#include "holder_files.h"
#include "window_test_support.h"

namespace quarnel::test {

class ShellFixture : public ::testing::Test {
  protected:
    ShellFixture() : main(std::make_unique<ui::FormTitulaire>(ctx)) {}

    StartupEnd Start(const std::filesystem::path& programFolder = QUARNEL_BIN_DIR) {
        StartupPlaces places;
        places.programFile = programFolder / "quarneltit";
        places.currentFolder = files.Data();
        places.localeIsFrench = true;
        return main->Start(places);
    }
    /// Settings and a sealed key store: state 2 at start.
    void Affiliated() {
        files.WriteSettings();
        files.WriteKeyStore(files.SealedStore());
    }
    template <typename T>
    static T& In(QWidget& w, const char* name) {
        T* child = w.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return *child;
    }
    ui::FormOptions& OptionsForm() { return *main->Windows().options; }
    QString Information() { return In<QLabel>(*main, "LabelInformation").text(); }

    HolderFiles files;
    HolderContext ctx;
    ui::ScriptedMessageBoxes boxes;
    ui::ScriptedModalRunner runner;
    std::unique_ptr<ui::FormTitulaire> main;
};

/// Fills every field of the General page that Ok needs.
inline void FillGeneralPage(QDialog& d, const QString& password = QStringLiteral("secret")) {
    for (const auto& [name, text] :
         {std::pair{"EditAdresseTa", "ta.example.org"}, std::pair{"EditSmtp", "smtp.example.org"},
          std::pair{"EditPop3", "pop.example.org"}, std::pair{"EditId", "jdupont"}}) {
        auto* edit = d.findChild<QLineEdit*>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    auto* passe = d.findChild<QLineEdit*>("EditPasse");
    passe->clear();
    QTest::keyClicks(passe, password);
}

inline void ClickKeyEightTimes(QDialog& d) {
    auto* key = d.findChild<QPushButton*>("BtnInitClef");
    for (int i = 0; i < 8; ++i)
        QTest::mouseClick(key, Qt::LeftButton);
}

}  // namespace quarnel::test
