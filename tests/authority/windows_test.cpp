// SPDX-License-Identifier: GPL-3.0-or-later
// The authority's windows offscreen: the affiliation forms' rules as a person
// meets them, the new-correspondent dialog, the connection window stopped,
// sent again and counting its bytes. The roads through them against a real
// authority are the end-to-end road's.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "authority/windows/form_affiliation.h"
#include "authority/windows/form_destinataire.h"
#include "authority/windows/form_tcp_ip.h"
#include "holder_fixture.h"
#include "protocol/body.h"
#include "scripted_server.h"
#include "scripted_windows.h"
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
        QProgressBar& bar = Child<QProgressBar>(d, "ProgressTransfert");
        EXPECT_EQ(bar.text(), Tr(txt::kProgressRequest, {QString("0"), sent}));
        Click(d, "BitBtnEnvoyer");
        ASSERT_TRUE(test::RunUntil([&] {
            return bar.text() == Tr(txt::kProgressRequest, {sent, sent});
        }));
        EXPECT_TRUE(Child(d, "BitBtnAnnuler").isEnabled());
        EXPECT_EQ(Child(d, "BitBtnEnvoyer").toolTip(), Tr(txt::kTipSendRunning));
        EXPECT_EQ(Child(d, "BitBtnRecevoir").toolTip(), Tr(txt::kTipAccept));
        Click(d, "BitBtnAnnuler");
    });
    EXPECT_FALSE(window.RunRequestDriver(main));
    EXPECT_EQ(ctx.information, txt::kIdle);
    runner.Once("FormTCP_IP", [&](QDialog& d) {
        QPushButton& envoyer = Child<QPushButton>(d, "BitBtnEnvoyer");
        QPushButton& accepter = Child<QPushButton>(d, "BitBtnRecevoir");
        Click(d, "BitBtnEnvoyer");
        ASSERT_TRUE(test::RunUntil([&] { return envoyer.isEnabled(); }));
        EXPECT_TRUE(
            Child<QPlainTextEdit>(d, "MemoAction")
                .toPlainText()
                .endsWith(Tr(txt::kLogClosedSilently, {QString::fromStdString(server.Address())})));
        Click(d, "BitBtnEnvoyer");
        ASSERT_TRUE(test::RunUntil([&] { return accepter.isEnabled(); }));
        const QString size = QString::number(reply.size());
        EXPECT_EQ(Child<QProgressBar>(d, "ProgressTransfert").text(),
                  Tr(txt::kProgressReply, {size, size}));
        EXPECT_EQ(envoyer.toolTip(), Tr(txt::kTipSendAnswered));
        EXPECT_EQ(Child(d, "BitBtnAnnuler").toolTip(), "");
        Click(d, "BitBtnRecevoir");
    });
    // Accepted in the window, the reply (no key in it) is still refused.
    EXPECT_FALSE(window.RunRequestDriver(main));
    EXPECT_FALSE(window.LastOutcome().accepted);
    EXPECT_EQ(server.connections(), 3);
    // A message is no request: the window does not open for it.
    ctx.authority.requestKind = Kind::PlainMessage;
    EXPECT_FALSE(window.RunRequestDriver(main));
    EXPECT_EQ(runner.Runs().size(), 2);
}

}  // namespace
}  // namespace quarnel::ui
