// The authority's windows offscreen: the affiliation forms' rules as a person
// meets them, the new-correspondent dialog, the connection window's Annuler,
// and a newcomer who initialises, is affiliated, asks a key and updates the
// affiliation through the main window against a real quarnel-ta.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/windows/form_titulaire.h"
#include "app/windows/message_box.h"
#include "app/windows/modal_runner.h"
#include "app/windows/window_kit.h"
#include "authority/windows/form_affiliation.h"
#include "authority/windows/form_destinataire.h"
#include "authority/windows/form_tcp_ip.h"
#include "crypto/own_keys.h"
#include "holder_fixture.h"
#include "store/key_store.h"
#include "ta_server.h"
#include "window_test_support.h"

namespace quarnel::ui {
namespace {

template <typename T = QPushButton>
T& Child(QWidget& w, const char* name) {
    T* child = w.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return *child;
}

QString Text(QWidget& w, const char* name) {
    return Child<QLineEdit>(w, name).text();
}

// Types `text` into the field, replacing what it held when `replace`.
void Type(QWidget& w, const char* name, const QString& text, bool replace = false) {
    QLineEdit& edit = Child<QLineEdit>(w, name);
    if (replace) edit.clear();
    edit.setFocus();
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(&edit, char(c.unicode()));
        } else {  // QTest knows keys for ASCII only
            QTest::sendKeyEvent(QTest::Press, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void Fill(QWidget& w, std::initializer_list<std::pair<const char*, const char*>> fields) {
    for (const auto& [name, text] : fields)
        Type(w, name, text);
}

void Click(QWidget& w, const char* name) {
    Child<QAbstractButton>(w, name).click();
}

class Windows : public ::testing::Test {
  protected:
    HolderContext ctx;
    ScriptedMessageBoxes boxes;
    ScriptedModalRunner runner;
};

TEST_F(Windows, AnEmployeeFillsTheFreshFormAndItWritesTheIdentity) {
    ctx.settings.category = 'F';
    FormAffiliationF form(ctx, nullptr);
    form.PrepareFresh();
    form.show();
    Fill(form, {{"EditSociete", "acme"},
                {"EditNom", "martin"},
                {"EditPrenoms", "Claire"},
                {"EditAdresse", "1 Quai Bas"},
                {"EditCodePostal", "69001"},
                {"EditLocalite", "lyon"},
                {"EditTelephone", "+33 4 00"},
                {"EditEmail", "Claire@Example.org"}});
    EXPECT_EQ(Text(form, "EditNom"), "MARTIN");
    EXPECT_EQ(Text(form, "EditPrenoms"), "claire");
    EXPECT_FALSE(Child(form, "BitBtnExecuter").isEnabled());  // neither oui nor non
    Click(form, "RadioBtnNon");
    ASSERT_TRUE(Child(form, "BitBtnExecuter").isEnabled());
    Click(form, "BitBtnExecuter");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(
        ctx.settings.identity,
        (std::vector<std::string>{"ACME", "-", "MARTIN", "claire", "1 quai bas", "69001", "LYON",
                                  "-", "-", "+33 4 00", "-", "claire@example.org", "-"}));
    EXPECT_EQ(ctx.firmText, "ACME");
    EXPECT_EQ(ctx.displayName, "MARTIN claire");
    EXPECT_EQ(ctx.email, "claire@example.org");
}

TEST_F(Windows, DiacriticsAreRefusedWhereTheFormSaysSoAndLengthsAreCapped) {
    ctx.settings.category = 'A';
    FormAffiliationA form(ctx, nullptr);
    form.PrepareFresh();
    form.show();
    EXPECT_EQ(form.findChild<QLineEdit*>("EditSociete"), nullptr);
    Type(form, "EditNom", QString::fromUtf8("LEé"));
    EXPECT_EQ(Text(form, "EditNom"), "LE");
    ASSERT_EQ(boxes.Texts(), QStringList{Tr(txt::kPasDeDiacritiques)});
    Type(form, "EditPrenoms", QString::fromUtf8("Hélène") + QString(40, 'a'));
    EXPECT_EQ(Text(form, "EditPrenoms"), QString::fromUtf8("hélène") + QString(19, 'a'));
    EXPECT_EQ(boxes.Texts().size(), 1);
}

TEST_F(Windows, APreFilledFormKeepsTheNamesAsStored) {
    ctx.settings.category = 'A';
    ctx.settings.identity = test::IdentityOf('A', "DUPONT");
    FormAffiliationA form(ctx, nullptr);
    form.PrepareFromIdentity();
    form.show();
    EXPECT_FALSE(Child<QLineEdit>(form, "EditNom").isVisible());
    EXPECT_EQ(Child<QLabel>(form, "LbNom").text(), "DUPONT");
    EXPECT_TRUE(Child<QRadioButton>(form, "RadioBtnOui").isChecked());
    Type(form, "EditAdresse", "9 rue neuve", true);
    Click(form, "BitBtnExecuter");
    std::vector<std::string> expected = test::IdentityOf('A', "DUPONT");
    expected[2] = "9 rue neuve";
    EXPECT_EQ(ctx.settings.identity, expected);
    // Emptying a required field disables Exécuter.
    form.PrepareFromIdentity();
    Child<QLineEdit>(form, "EditEmail").clear();
    form.UpdateExecuter();
    EXPECT_FALSE(Child(form, "BitBtnExecuter").isEnabled());
}

TEST_F(Windows, TheNewCorrespondentDialogTakesOnlyANumberThatIsNeitherKnownNorOwn) {
    ctx.ownNumber = "0FF01000000";
    ctx.correspondents.f.push_back(Record(17, std::string(32, 'A')));
    ctx.correspondents.f[0][8] = "0FF00002000";
    FormDestinataire dialog(ctx, nullptr);
    dialog.show();
    QGroupBox& info = Child<QGroupBox>(dialog, "GroupBoxInformation");
    QPushButton& executer = Child(dialog, "BitBtnExecuter");
    struct Case {
        const char* typed;
        int information;  // 0: none shown
        bool executer;
    };
    for (const Case& c : {Case{"0ff0000200", 0, false},
                          Case{"0ff00002000", txt::kCorrespondantDejaEnregistre, false},
                          Case{"0FF01000000", txt::kPropreNumero, false},
                          Case{"0FF00001FFF", 0, true}}) {  // below the lists' ranges
        dialog.Prepare();
        Type(dialog, "EditDestinataire", c.typed);
        EXPECT_EQ(dialog.Edit().text(), QString(c.typed).toUpper());
        EXPECT_EQ(executer.isEnabled(), c.executer) << c.typed;
        EXPECT_EQ(info.isVisible(), c.information != 0) << c.typed;
        if (c.information) {
            EXPECT_EQ(Child<QLabel>(dialog, "LabelInformation").text(), Tr(c.information));
        }
    }
    EXPECT_EQ(dialog.Number(), "0FF00001FFF");
}

TEST_F(Windows, CancellingTheTaWindowLeavesTheKeyRequestWaiting) {
    ctx.settings.taAddress = "127.0.0.1";
    ctx.settings.taCode = "0FF";
    ctx.ownNumber = "0FF01000000";
    ctx.programState = 2;
    FormTCP_IP window(ctx, nullptr);
    QWidget mainWindow;
    runner.Once("FormTCP_IP", [](QDialog& d) {
        EXPECT_TRUE(Child(d, "BitBtnEnvoyer").isEnabled());
        EXPECT_FALSE(Child(d, "BitBtnRecevoir").isEnabled());
        Click(d, "BitBtnAnnuler");
    });
    FlowHooks hooks{[&](HolderContext&) { return window.RunRequestDriver(mainWindow); },
                    [] { return SaveResult::Saved; }};
    EXPECT_EQ(RunKeyRequest(ctx, hooks, "0FF00002000", false).status, FlowStatus::Failed);
    EXPECT_EQ(ctx.information, txt::kEnAttente);
    EXPECT_EQ(runner.Runs(), QStringList{"FormTCP_IP"});
    // Only the kinds sent to the TA open the window.
    ctx.requestKind = "20";
    EXPECT_FALSE(window.RunRequestDriver(mainWindow));
    EXPECT_EQ(runner.Runs().size(), 1);
}

TEST_F(Windows, ANewcomerIsAffiliatedAndGetsAKeyThroughTheWindows) {
    test::TaServer ta;
    ASSERT_TRUE(ta.ok());
    test::TempDir program, data, others;
    std::filesystem::copy_file(ta.ParameterFile(), program.path() / ta.ParameterFile().filename());
    // Another affiliate, for the key request.
    auto other =
        test::AffiliatedHolder(others.path(), 'D', "LEBLANC", 5, test::Http, ta.ParameterFile());

    FormTitulaire main(ctx);
    (void)main.Start({program.path() / "quarneltit", data.path(), true});
    main.show();
    ASSERT_EQ(ctx.programState, 0);
    runner.Once("FormOptions", [](QDialog& d) {
        Click(d, "RadioBtnPrive");
        Fill(d, {{"EditAdresseTa", "127.0.0.1"},
                 {"EditSmtp", "127.0.0.1"},
                 {"EditPop3", "127.0.0.1"},
                 {"EditId", "dupont"},
                 {"EditPasse", "motdepasse"}});
        for (int i = 0; i < 8; ++i)
            Click(d, "BtnInitClef");
        Click(d, "BitBtnOk");
    });
    runner.Once("FormAffiliationA", [](QDialog& d) {
        Fill(d, {{"EditNom", "dupont"},
                 {"EditPrenoms", "jean"},
                 {"EditAdresse", "3 rue haute"},
                 {"EditCodePostal", "75001"},
                 {"EditLocalite", "paris"},
                 {"EditTelephone", "+33 1 00"},
                 {"EditEmail", "jean@example.org"}});
        Click(d, "RadioBtnOui");
        Click(d, "BitBtnExecuter");
    });
    // As a person answers the connection window: Envoyer, then Accepter
    // once it is enabled.
    runner.Always("FormTCP_IP", [](QDialog& d) {
        Click(d, "BitBtnEnvoyer");
        QPushButton& accepter = Child(d, "BitBtnRecevoir");
        ASSERT_TRUE(test::RunUntil([&] { return accepter.isEnabled(); }, 20000));
        accepter.click();
    });
    main.BitBtnOptionsClick();
    EXPECT_EQ(runner.Runs(),
              (QStringList{"FormOptions", "FormAffiliationA", "FormTCP_IP", "FormTCP_IP"}));
    ASSERT_EQ(ctx.programState, 2);
    EXPECT_FALSE(ctx.busy);
    EXPECT_EQ(ctx.ownNumber, ta.code() + "01000000");
    EXPECT_EQ(main.windowTitle(), Tr(txt::kAffilie, {QString::fromStdString(ctx.ownNumber)}));
    EXPECT_EQ(ctx.information, txt::kAffiliationConfirmed);
    RecordList store;
    ASSERT_TRUE(LoadRecordList(ctx.KeyStorePath(), store));
    std::string password;
    ASSERT_TRUE(ReadMailPassword(store, '0', password));
    EXPECT_EQ(password, "motdepasse");

    runner.Once("FormDestinataire", [&](QDialog& d) {
        Type(d, "EditDestinataire", QString::fromStdString(other->ownNumber));
        Click(d, "BitBtnExecuter");
    });
    main.BitBtnClefsClick();
    EXPECT_EQ(ctx.information, txt::kKeyDelivered);
    RecordList listD;
    ASSERT_TRUE(LoadRecordList(data.path() / "QuarnelTitD.dat", listD));
    ASSERT_EQ(listD.size(), 1u);
    EXPECT_EQ(listD, ctx.correspondents.d);

    runner.Once("FormAffiliationA", [](QDialog& d) {
        EXPECT_FALSE(Child<QLineEdit>(d, "EditNom").isVisible());
        Type(d, "EditTelephone", "+33 1 99", true);
        Click(d, "BitBtnExecuter");
    });
    main.BitBtnMiseAJourClick();
    EXPECT_EQ(ctx.information, txt::kAffiliationUpdated);
    EXPECT_EQ(ctx.programState, 2);
    HolderContext reread;
    ASSERT_TRUE(LoadSettings(reread, SettingsPath(ctx)));
    EXPECT_EQ(reread.settings.identity, ctx.settings.identity);
    EXPECT_EQ(reread.settings.identity[7], "+33 1 99");
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
}

}  // namespace
}  // namespace quarnel::ui
