// SPDX-License-Identifier: GPL-3.0-or-later
// The authority's windows offscreen: the affiliation forms' rules as a person
// meets them, the new-correspondent dialog, the connection window stopped,
// sent again and counting its bytes, and a newcomer who initialises, is affiliated, asks a key and
// updates the affiliation through the main window and renews the key from the correspondents
// window, against a real quarnel-ta, with an affiliate on the other side.

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/startup.h"
#include "app/windows/form_titulaire.h"
#include "authority/windows/form_affiliation.h"
#include "authority/windows/form_destinataire.h"
#include "authority/windows/form_tcp_ip.h"
#include "crypto/own_keys.h"
#include "holder/settings.h"
#include "holder_fixture.h"
#include "protocol/body.h"
#include "scripted_server.h"
#include "scripted_windows.h"
#include "store/key_store.h"
#include "store/windows/form_liste.h"
#include "ta_server.h"
#include "window_test_support.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {
namespace {

using test::Child;
using test::Click;
using test::Type;

// Types into each field: names and texts in turn.
void Fill(QWidget& w, std::initializer_list<const char*> namesAndTexts) {
    for (auto it = namesAndTexts.begin(); it + 1 < namesAndTexts.end(); it += 2)
        Type(w, it[0], it[1]);
}

class Windows : public ::testing::Test {
  protected:
    ProgramData ctx;
    ScriptedMessageBoxes boxes;
    ScriptedModalRunner runner;
};

TEST_F(Windows, AnEmployeeFillsTheFreshFormAndItWritesTheIdentity) {
    ctx.settings.category = 'F';
    FormAffiliationF form(ctx, nullptr);
    form.PrepareFresh();
    form.show();
    QAbstractButton& executer = Child(form, "BitBtnExecuter");
    EXPECT_EQ(executer.toolTip(), Tr(txt::kFieldToFill, {Tr(txt::kFirmField)}));
    Fill(form, {"EditSociete", "acme", "EditNom", "martin", "EditPrenoms", "Claire", "EditAdresse",
                "1 Quai Bas", "EditCodePostal", "69001", "EditLocalite", "lyon", "EditTelephone",
                "+33 4 00", "EditEmail", "Claire@Example.org"});
    EXPECT_EQ(Child<QLineEdit>(form, "EditNom").text(), "MARTIN");
    EXPECT_EQ(Child<QLineEdit>(form, "EditPrenoms").text(), "claire");
    EXPECT_FALSE(executer.isEnabled());  // neither oui nor non
    EXPECT_EQ(executer.toolTip(), Tr(txt::kChoosePublicList));
    Click(form, "RadioBtnNon");
    ASSERT_TRUE(executer.isEnabled());
    EXPECT_EQ(executer.toolTip(), "");
    Click(form, "BitBtnExecuter");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(
        ctx.settings.identity,
        (std::vector<std::string>{"ACME", "-", "MARTIN", "claire", "1 quai bas", "69001", "LYON",
                                  "-", "-", "+33 4 00", "-", "claire@example.org", "-"}));
    EXPECT_EQ(ctx.displayName, "MARTIN claire");  // the values derived from it follow
}

TEST_F(Windows, APrivatePersonsFormRefusesDiacriticsWhereItSaysSoAndKeepsStoredNames) {
    ctx.settings.category = 'A';
    FormAffiliationA form(ctx, nullptr);
    form.PrepareFresh();
    form.show();
    EXPECT_EQ(form.findChild<QLineEdit*>("EditSociete"), nullptr);
    // Above 127 in a field without diacritics, whether or not code page 1252
    // has it; elsewhere only what code page 1252 cannot represent.
    Type(form, "EditNom", QString::fromUtf8("LEéΩ"));
    EXPECT_EQ(Child<QLineEdit>(form, "EditNom").text(), "LE");
    Type(form, "EditPrenoms", QString::fromUtf8("Hélène Ω") + QString(40, 'a'));
    EXPECT_EQ(Child<QLineEdit>(form, "EditPrenoms").text(),
              QString::fromUtf8("hélène ") + QString(18, 'a'));
    EXPECT_EQ(boxes.Texts(), (QStringList{Tr(txt::kNoDiacritics), Tr(txt::kNoDiacritics),
                                          Tr(txt::kCharacterRefused, {QString::fromUtf8("Ω")})}));
    // Each field is a line of the settings file: no line break gets in.
    Child<QLineEdit>(form, "EditAdresse").insert("1 rue\nde la Paix");
    EXPECT_EQ(Child<QLineEdit>(form, "EditAdresse").text(), "");

    // Pre-filled: the names are fixed labels and go back as stored.
    ctx.settings.identity = test::IdentityOf('A', "DUPONT");
    form.PrepareFromIdentity();
    EXPECT_FALSE(Child<QLineEdit>(form, "EditNom").isVisible());
    EXPECT_EQ(Child<QLabel>(form, "LbNom").text(), "DUPONT");
    EXPECT_TRUE(Child<QRadioButton>(form, "RadioBtnOui").isChecked());
    EXPECT_TRUE(Child(form, "BitBtnExecuter").isEnabled());
    // Emptying a required field by hand disables Exécuter, whose tip names
    // the field.
    QLineEdit& email = Child<QLineEdit>(form, "EditEmail");
    email.setFocus();
    email.selectAll();
    QTest::keyClick(&email, Qt::Key_Backspace);
    EXPECT_FALSE(Child(form, "BitBtnExecuter").isEnabled());
    EXPECT_EQ(Child(form, "BitBtnExecuter").toolTip(), Tr(txt::kFieldToFill, {Tr(txt::kEmail)}));
}

// True when the edit shows `text` whole: with the cursor at its end, nothing
// scrolled out on the left.
bool ShowsWhole(QLineEdit& edit, const QString& text) {
    edit.setText(QString());
    edit.repaint();
    const int start = edit.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    edit.setText(text);
    edit.repaint();  // the edit scrolls when it paints
    return edit.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x() - start >=
           QFontMetrics(edit.font()).horizontalAdvance(text);
}

TEST_F(Windows, EveryFieldHasRoomForItsLongestText) {
    ctx.settings.identity = test::IdentityOf('D', "DUPONT");
    ctx.settings.category = 'D';
    FormAffiliationF f(ctx, nullptr);
    FormAffiliationD d(ctx, nullptr);
    FormAffiliationA a(ctx, nullptr);
    d.PrepareFromIdentity();  // the update form
    FormDestinataire destinataire(ctx, nullptr);
    for (QDialog* form : std::initializer_list<QDialog*>{&f, &d, &a, &destinataire}) {
        form->show();
        for (QLineEdit* edit : form->findChildren<QLineEdit*>()) {
            if (!edit->isVisible()) continue;
            // In the field's letter case.
            Type(*form, edit->objectName().toLatin1().constData(), "a");
            const QChar letter = edit->text() == "A" ? u'X' : u'x';
            EXPECT_TRUE(ShowsWhole(*edit, QString(edit->maxLength(), letter)))
                << form->objectName().toStdString() << " " << edit->objectName().toStdString();
        }
    }
}

TEST_F(Windows, TheNewCorrespondentDialogTakesOnlyANumberThatIsNeitherKnownNorOwn) {
    ctx.ownNumber = "0FF01000000";
    ctx.correspondents.f.push_back(Record(17, std::string(32, 'A')));
    ctx.correspondents.f[0][8] = "0FF00002000";
    FormDestinataire dialog(ctx, nullptr);
    dialog.show();
    QGroupBox& info = Child<QGroupBox>(dialog, "GroupBoxInformation");
    QPushButton& executer = Child<QPushButton>(dialog, "BitBtnExecuter");
    struct Case {
        const char* typed;
        int information;  // 0: none shown
        bool executer;
    };
    for (const Case& c : {Case{"0ff0000200", 0, false},
                          Case{"0ff00002000", txt::kCorrespondentAlreadyRegistered, false},
                          Case{"0FF01000000", txt::kOwnNumber, false},
                          Case{"0FF0100000G", txt::kNumberNotHexadecimal, false},
                          Case{"0FF 1000000", txt::kNumberNotHexadecimal, false},
                          Case{"0FF00001FFF", 0, true}}) {  // below the lists' ranges
        dialog.Prepare();
        Type(dialog, "EditDestinataire", c.typed);
        EXPECT_EQ(dialog.Edit().text(), QString(c.typed).toUpper());
        EXPECT_EQ(executer.isEnabled(), c.executer) << c.typed;
        EXPECT_EQ(info.isVisible(), c.information != 0) << c.typed;
        if (c.information) {
            EXPECT_EQ(Child<QLabel>(dialog, "LabelInformation").text(), Tr(c.information));
        }
        // A disabled Exécuter says why.
        EXPECT_EQ(executer.toolTip(), c.executer      ? QString()
                                      : c.information ? Tr(c.information)
                                                      : Tr(txt::kNumberIncomplete));
    }
    EXPECT_EQ(dialog.Number(), "0FF00001FFF");
}

// The help opened from a modal dialog can be used, and closed with Escape,
// while the dialog stays open.
TEST_F(Windows, HelpStaysUsableBesideAModalDialog) {
    QWidget owner;
    HelpSystem help(&owner);
    help.SetFile(std::filesystem::path(QUARNEL_BIN_DIR) / "QuarnelTit_F.hlp");
    owner.show();
    FormDestinataire dialog(ctx, &owner);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
    Click(dialog, "BitBtnAide");
    ASSERT_TRUE(help.isVisible());
    EXPECT_EQ(help.LastContext(), kHelpNewCorrespondent);
    // Through the window system, as a person's key press reaches a window.
    QTest::keyClick(help.windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
    EXPECT_TRUE(dialog.isVisible());
}

// While the authority says nothing Annuler stops the exchange; a failed
// exchange is sent again from the window; the bar counts the bytes, and a
// disabled button says why.
TEST_F(Windows, TheConnectionWindowIsStoppedOrSentAgainAndCountsItsBytes) {
    namespace step = test::step;
    const std::string reply = kSeparatorLine + "\r\n" + kEndMarkerLine + "\r\n";
    test::ScriptedServer server(
        {{step::ExpectHttp(), step::Silence()},
         {step::ExpectHttp(), step::Drop()},
         {step::ExpectHttp(), step::Send("HTTP/1.0 200 OK\r\nContent-Length: " +
                                         std::to_string(reply.size()) + "\r\n\r\n" + reply)}});
    ctx.settings.taAddress = "127.0.0.1";
    ctx.settings.taPortChoice = 'A';
    ctx.settings.taCode = test::FreeTaCode([&](quint16 port) { return server.Listen(port); });
    ctx.authority.requestKind = Kind::Key;
    ctx.authority.outgoingBody = {"title", kSeparatorLine, "10" + std::string(30, '0'),
                                  kEndMarkerLine};
    const QString sent =
        QString::number(HttpRequestBytes(TargetOf(ConfigureTaConnection(ctx.settings)), false,
                                         RequestData(ctx.authority.outgoingBody))
                            .size());
    QWidget main;
    FormTCP_IP window(ctx, ctx.authority, &main);
    runner.Once("FormTCP_IP", [&](QDialog& d) {
        QPushButton& envoyer = Child<QPushButton>(d, "BitBtnEnvoyer");
        QPushButton& accepter = Child<QPushButton>(d, "BitBtnRecevoir");
        QPushButton& annuler = Child<QPushButton>(d, "BitBtnAnnuler");
        QProgressBar& bar = Child<QProgressBar>(d, "ProgressTransfert");
        EXPECT_EQ(bar.text(), Tr(txt::kProgressRequest, {QString("0"), sent}));
        Click(d, "BitBtnEnvoyer");
        ASSERT_TRUE(test::RunUntil([&] {
            return bar.text() == Tr(txt::kProgressRequest, {sent, sent});
        }));
        EXPECT_TRUE(annuler.isEnabled());
        EXPECT_EQ(envoyer.toolTip(), Tr(txt::kTipSendRunning));
        EXPECT_EQ(accepter.toolTip(), Tr(txt::kTipAccept));
        Click(d, "BitBtnAnnuler");
    });
    EXPECT_FALSE(window.RunRequestDriver(main));
    EXPECT_EQ(ctx.information, txt::kIdle);
    runner.Once("FormTCP_IP", [&](QDialog& d) {
        QPushButton& envoyer = Child<QPushButton>(d, "BitBtnEnvoyer");
        QPushButton& accepter = Child<QPushButton>(d, "BitBtnRecevoir");
        QPushButton& annuler = Child<QPushButton>(d, "BitBtnAnnuler");
        QProgressBar& bar = Child<QProgressBar>(d, "ProgressTransfert");
        Click(d, "BitBtnEnvoyer");
        ASSERT_TRUE(test::RunUntil([&] { return envoyer.isEnabled(); }));
        EXPECT_TRUE(Child<QPlainTextEdit>(d, "MemoAction")
                        .toPlainText()
                        .endsWith(Tr(txt::kLogClosedSilently,
                                     {QString("127.0.0.1:%1").arg(server.port())})));
        Click(d, "BitBtnEnvoyer");
        ASSERT_TRUE(test::RunUntil([&] { return accepter.isEnabled(); }));
        const QString size = QString::number(reply.size());
        EXPECT_EQ(bar.text(), Tr(txt::kProgressReply, {size, size}));
        EXPECT_EQ(envoyer.toolTip(), Tr(txt::kTipSendAnswered));
        EXPECT_EQ(annuler.toolTip(), "");
        Click(d, "BitBtnAnnuler");
    });
    EXPECT_FALSE(window.RunRequestDriver(main));
    EXPECT_EQ(server.connections(), 3);
}

// A newcomer (A) through the windows and an affiliate (D) through the
// exchange alone, each in its own data folder, against a real quarnel-ta
// restarted midway: they affiliate, acknowledge, ask each other's keys (the
// first ask cancelled in the connection window), update a key and their
// affiliations.
TEST_F(Windows, ANewcomerAndAnAffiliateExchangeKeysAcrossARestartOfTheAuthority) {
    test::TaServer ta;
    ASSERT_TRUE(ta.ok());
    test::TempDir program, data, others;
    std::filesystem::copy_file(ta.ParameterFile(), program.path() / ta.ParameterFile().filename());
    auto d =
        test::AffiliatedHolder(others.path(), 'D', "LEBLANC", 5, test::Http, ta.ParameterFile());

    FormTitulaire main(ctx);
    (void)main.Start({program.path() / "quarneltit", data.path(), true});
    main.show();
    ASSERT_EQ(ctx.State(), ProgramState::NotInitialised);
    runner.Once("FormOptions", [](QDialog& dialog) {
        Click(dialog, "RadioBtnPrive");
        Fill(dialog, {"EditAdresseTa", "127.0.0.1", "EditSmtp", "127.0.0.1", "EditPop3",
                      "127.0.0.1", "EditId", "dupont", "EditPasse", "motdepasse"});
        for (int i = 0; i < 8; ++i)
            Click(dialog, "BtnInitClef");
        Click(dialog, "BitBtnOk");
    });
    runner.Once("FormAffiliationA", [](QDialog& dialog) {
        Fill(dialog, {"EditNom", "dupont", "EditPrenoms", "jean", "EditAdresse", "3 rue haute",
                      "EditCodePostal", "75001", "EditLocalite", "paris", "EditTelephone",
                      "+33 1 00", "EditEmail", "jean@example.org"});
        Click(dialog, "RadioBtnOui");
        Click(dialog, "BitBtnExecuter");
    });
    // As a person answers the connection window: Envoyer, then Accepter
    // once it is enabled.
    runner.Always("FormTCP_IP", [](QDialog& dialog) {
        Click(dialog, "BitBtnEnvoyer");
        QPushButton& accepter = Child<QPushButton>(dialog, "BitBtnRecevoir");
        ASSERT_TRUE(test::RunUntil([&] { return accepter.isEnabled(); }, 20000));
        accepter.click();
    });
    main.RunCommand(Command::Options);
    EXPECT_EQ(runner.Runs(),
              (QStringList{"FormOptions", "FormAffiliationA", "FormTCP_IP", "FormTCP_IP"}));
    ASSERT_EQ(ctx.State(), ProgramState::Affiliated);
    EXPECT_FALSE(ctx.busy);
    EXPECT_EQ(ctx.ownNumber, ta.code() + "01000000");
    EXPECT_EQ(d->ownNumber, ta.code() + "08000000");
    EXPECT_EQ(main.windowTitle(), Tr(txt::kAffiliated, {QString::fromStdString(ctx.ownNumber)}) +
                                      QStringLiteral(" \u2014 ") +
                                      QString::fromStdString(ctx.applicationTitle));
    EXPECT_EQ(ctx.information, txt::kAffiliationConfirmed);
    std::string password;
    ASSERT_TRUE(ReadMailPassword(ctx.keyStore, '0', password));
    EXPECT_EQ(password, "motdepasse");
    EXPECT_EQ(ta.log().size(), 5u);  // "listening on", then one line per request

    ta.Stop();
    ASSERT_TRUE(ta.Start());
    const auto askD = [&](QDialog& dialog) {
        Type(dialog, "EditDestinataire", QString::fromStdString(d->ownNumber));
        Click(dialog, "BitBtnExecuter");
    };
    runner.Once("FormDestinataire", askD);
    runner.Once("FormTCP_IP", [](QDialog& dialog) {
        EXPECT_TRUE(Child(dialog, "BitBtnEnvoyer").isEnabled());
        EXPECT_FALSE(Child(dialog, "BitBtnRecevoir").isEnabled());
        Click(dialog, "BitBtnAnnuler");
    });
    main.RunCommand(Command::NewKeys);
    EXPECT_TRUE(ctx.correspondents.d.empty());
    EXPECT_EQ(ta.log().size(), 1u);  // nothing sent
    runner.Once("FormDestinataire", askD);
    main.RunCommand(Command::NewKeys);
    EXPECT_EQ(ctx.information, txt::kKeyDelivered);
    ASSERT_EQ(RunKeyRequest(test::Scope(*d), test::Http(*d), ctx.ownNumber, false).status,
              FlowStatus::Done);
    // The key update, from the correspondents window's "Mettre à jour".
    main.findChild<QAction*>("MenuIndependants")->trigger();
    FormListe& liste = *main.Windows().liste;
    ASSERT_TRUE(liste.isVisible());
    ASSERT_EQ(ctx.messages.recipientRecord[8], d->ownNumber);
    Click(liste, "BitBtnAJour");
    EXPECT_FALSE(liste.isVisible());
    EXPECT_EQ(ctx.information, txt::kKeyUpdated);
    EXPECT_FALSE(ctx.busy);
    ASSERT_EQ(ctx.correspondents.d.size(), 1u);
    ASSERT_EQ(ta.log().size(), 4u);
    EXPECT_NE(ta.log()[3].find("kind 11 from " + ctx.ownNumber + " -> 200"), std::string::npos)
        << ta.log()[3];
    runner.Once("FormAffiliationA", [](QDialog& dialog) {
        EXPECT_FALSE(Child<QLineEdit>(dialog, "EditNom").isVisible());
        Type(dialog, "EditTelephone", "+33 1 99");
        Click(dialog, "BitBtnExecuter");
    });
    main.RunCommand(Command::AffiliationUpdate);
    EXPECT_EQ(ctx.information, txt::kAffiliationUpdated);
    d->settings.identity[4] = "2 quai haut";  // moved
    ASSERT_EQ(RunAffiliationUpdate(test::Scope(*d), test::Http(*d)).status, FlowStatus::Done);
    EXPECT_EQ(d->information, txt::kAffiliationUpdated);
    EXPECT_EQ(ta.log().size(), 6u);
    for (std::size_t i = 1; i < ta.log().size(); ++i)
        EXPECT_NE(ta.log()[i].find("-> 200"), std::string::npos) << ta.log()[i];

    // On disk, as the next start of the program finds it in each folder: the
    // settings as last typed, sealed by the authority in the own record (with
    // its password), and the other holder's record in the list of its
    // category, nothing else.
    struct : StartupHost {
        void ApplyLanguage() override {}
        bool RetryMissingFile(const std::filesystem::path& p) override {
            ADD_FAILURE() << p;
            return false;
        }
        void ReportAltered(const std::string& name) override { ADD_FAILURE() << name; }
        void ReportExposedFolder(const ExposedFolder& e) override { ADD_FAILURE() << e.folder; }
    } host;
    for (const ProgramData* h : {&ctx, d.get()}) {
        ProgramData reread;
        PrepareStartup(reread, {h->programFolder / "quarneltit", h->dataFolder, true});
        ASSERT_EQ(LoadHolder(reread, host), StartupEnd::Completed);
        EXPECT_EQ(reread.State(), ProgramState::Affiliated);
        EXPECT_EQ(reread.ownNumber, h->ownNumber);
        EXPECT_EQ(reread.settings.identity, h->settings.identity);
        EXPECT_EQ(reread.OwnRecord().size(), 7u);
        EXPECT_EQ(reread.correspondents.Total(), 1u);
        if (h == &ctx) {
            ASSERT_EQ(reread.correspondents.d.size(), 1u);
            EXPECT_EQ(reread.correspondents.d[0][8], d->ownNumber);
        } else {
            ASSERT_EQ(reread.correspondents.a.size(), 1u);
            EXPECT_EQ(reread.correspondents.a[0][6], ctx.ownNumber);
        }
    }
    EXPECT_EQ(ctx.settings.identity[7], "+33 1 99");
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
    // Only the kinds sent to the TA open the connection window.
    const qsizetype runs = runner.Runs().size();
    ctx.authority.requestKind = Kind::PlainMessage;
    EXPECT_FALSE(main.Windows().tcpIp->RunRequestDriver(main));
    EXPECT_EQ(runner.Runs().size(), runs);
}

}  // namespace
}  // namespace quarnel::ui
