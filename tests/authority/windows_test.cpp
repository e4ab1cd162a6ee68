// The authority's windows offscreen: the affiliation forms' rules as a person
// meets them, the new-correspondent dialog, and a newcomer who initialises,
// is affiliated, asks a key and updates the affiliation through the main
// window against a real quarnel-ta.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/settings.h"
#include "app/windows/form_titulaire.h"
#include "app/windows/message_box.h"
#include "app/windows/modal_runner.h"
#include "app/windows/window_kit.h"
#include "authority/texts.h"
#include "authority/windows/form_affiliation.h"
#include "authority/windows/form_destinataire.h"
#include "authority/windows/form_tcp_ip.h"
#include "crypto/own_keys.h"
#include "holder_fixture.h"
#include "store/key_store.h"
#include "ta_server.h"

namespace quarnel::ui {
namespace {

class WidgetsEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[8] = "tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};
[[maybe_unused]] auto* const kQt =
    ::testing::AddGlobalTestEnvironment(new WidgetsEnvironment);  // gtest owns it

template <typename T>
T& Child(QWidget& w, const char* name) {
    T* child = w.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return *child;
}

void Type(QWidget& w, const char* name, const QString& text) {
    QLineEdit& edit = Child<QLineEdit>(w, name);
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

void Click(QWidget& w, const char* name) {
    Child<QAbstractButton>(w, name).click();
}

QString Tx(int id) {
    return Tr(id);
}

class Windows : public ::testing::Test {
  protected:
    HolderContext ctx;
    ScriptedMessageBoxes boxes;
};

TEST_F(Windows, AnEmployeeFillsTheFreshFormAndItWritesTheIdentity) {
    ctx.settings.category = 'F';
    FormAffiliationF form(ctx, nullptr);
    form.PrepareFresh();
    form.show();
    Type(form, "EditSociete", "acme");
    Type(form, "EditNom", "martin");
    Type(form, "EditPrenoms", "Claire");
    Type(form, "EditAdresse", "1 Quai Bas");
    Type(form, "EditCodePostal", "69001");
    Type(form, "EditLocalite", "lyon");
    Type(form, "EditTelephone", "+33 4 00");
    Type(form, "EditEmail", "Claire@Example.org");
    EXPECT_EQ(Child<QLineEdit>(form, "EditNom").text(), "MARTIN");
    EXPECT_EQ(Child<QLineEdit>(form, "EditPrenoms").text(), "claire");
    EXPECT_FALSE(Child<QPushButton>(form, "BitBtnExecuter").isEnabled());  // neither oui nor non
    Click(form, "RadioBtnNon");
    ASSERT_TRUE(Child<QPushButton>(form, "BitBtnExecuter").isEnabled());
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
    Type(form, "EditNom", "LE");
    Type(form, "EditNom", QString::fromUtf8("é"));
    EXPECT_EQ(Child<QLineEdit>(form, "EditNom").text(), "LE");
    ASSERT_EQ(boxes.Texts(), QStringList{Tx(txt::kPasDeDiacritiques)});
    Type(form, "EditPrenoms", QString::fromUtf8("Hélène"));
    EXPECT_EQ(Child<QLineEdit>(form, "EditPrenoms").text(), QString::fromUtf8("hélène"));
    EXPECT_EQ(boxes.Texts().size(), 1);
    Type(form, "EditPrenoms", QString(40, 'a'));
    EXPECT_EQ(Child<QLineEdit>(form, "EditPrenoms").text().size(), 25);
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
    EXPECT_TRUE(Child<QPushButton>(form, "BitBtnExecuter").isEnabled());
    Child<QLineEdit>(form, "EditAdresse").clear();
    Type(form, "EditAdresse", "9 rue neuve");
    Click(form, "BitBtnExecuter");
    std::vector<std::string> expected = test::IdentityOf('A', "DUPONT");
    expected[2] = "9 rue neuve";
    EXPECT_EQ(ctx.settings.identity, expected);
    // Emptying a required field disables Exécuter.
    form.PrepareFromIdentity();
    Child<QLineEdit>(form, "EditEmail").clear();
    Type(form, "EditEmail", "");
    form.UpdateExecuter();
    EXPECT_FALSE(Child<QPushButton>(form, "BitBtnExecuter").isEnabled());
}

TEST_F(Windows, TheNewCorrespondentDialogTakesOnlyANumberThatIsNeitherKnownNorOwn) {
    ctx.ownNumber = "0FF01000000";
    ctx.correspondents.f.push_back(Record(17, std::string(32, 'A')));
    ctx.correspondents.f[0][8] = "0FF00002000";
    FormDestinataire dialog(ctx, nullptr);
    dialog.Prepare();
    dialog.show();
    QGroupBox& info = Child<QGroupBox>(dialog, "GroupBoxInformation");
    QPushButton& executer = Child<QPushButton>(dialog, "BitBtnExecuter");
    Type(dialog, "EditDestinataire", "0ff0000200");
    EXPECT_EQ(dialog.Edit().text(), "0FF0000200");
    EXPECT_FALSE(executer.isEnabled());
    EXPECT_FALSE(info.isVisible());
    Type(dialog, "EditDestinataire", "0");
    EXPECT_FALSE(executer.isEnabled());
    EXPECT_TRUE(info.isVisible());
    EXPECT_EQ(Child<QLabel>(dialog, "LabelInformation").text(),
              Tx(txt::kCorrespondantDejaEnregistre));
    dialog.Prepare();
    Type(dialog, "EditDestinataire", "0FF01000000");
    EXPECT_EQ(Child<QLabel>(dialog, "LabelInformation").text(), Tx(txt::kPropreNumero));
    EXPECT_FALSE(executer.isEnabled());
    dialog.Prepare();
    Type(dialog, "EditDestinataire", "0FF00001FFF");  // below the lists' ranges
    EXPECT_TRUE(executer.isEnabled());
    EXPECT_FALSE(info.isVisible());
    EXPECT_EQ(dialog.Number(), "0FF00001FFF");
}

// Answers the TA connection window as a person would: Envoyer, then
// Accepter once it is enabled.
void SendAndAccept(QDialog& d) {
    Click(d, "BitBtnEnvoyer");
    QPushButton& accepter = Child<QPushButton>(d, "BitBtnRecevoir");
    ASSERT_TRUE(test::RunUntil([&] { return accepter.isEnabled(); }, 20000));
    EXPECT_FALSE(Child<QPushButton>(d, "BitBtnAnnuler").isEnabled() &&
                 d.findChild<QPushButton*>("BitBtnEnvoyer")->isEnabled());
    accepter.click();
}

TEST_F(Windows, ANewcomerIsAffiliatedAndGetsAKeyThroughTheWindows) {
    test::TaServer ta;
    ASSERT_TRUE(ta.ok());
    test::TempDir program, data;
    std::filesystem::copy_file(ta.ParameterFile(), program.path() / ta.ParameterFile().filename());

    // Another affiliate, for the key request.
    test::TempDir otherDir;
    auto other = test::NewHolder(otherDir.path(), 'D', "LEBLANC", 5,
                                 program.path() / ta.ParameterFile().filename());
    {
        TaExchange exchange;
        FlowHooks hooks{[&](HolderContext& c) {
                            exchange.Prepare(c);
                            exchange.Send();
                            test::RunUntil([&] { return exchange.accepterEnabled(); }, 20000);
                            exchange.Stop();
                            return ProcessTaReply(c, exchange.MemoText()).accepted;
                        },
                        [] { return SaveResult::Saved; }};
        ASSERT_EQ(RunFirstAffiliation(*other, hooks).status, FlowStatus::Done);
    }

    FormTitulaire main(ctx);
    (void)main.Start({program.path() / "quarneltit", data.path(), true});
    main.show();
    ASSERT_EQ(ctx.programState, 0);
    ScriptedModalRunner runner;
    runner.Once("FormOptions", [](QDialog& d) {
        Click(d, "RadioBtnPrive");
        Type(d, "EditAdresseTa", "127.0.0.1");
        Type(d, "EditSmtp", "127.0.0.1");
        Type(d, "EditPop3", "127.0.0.1");
        Type(d, "EditId", "dupont");
        Type(d, "EditPasse", "motdepasse");
        for (int i = 0; i < 8; ++i)
            Click(d, "BtnInitClef");
        ASSERT_TRUE(Child<QPushButton>(d, "BitBtnOk").isEnabled());
        Click(d, "BitBtnOk");
    });
    runner.Once("FormAffiliationA", [](QDialog& d) {
        Type(d, "EditNom", "dupont");
        Type(d, "EditPrenoms", "jean");
        Type(d, "EditAdresse", "3 rue haute");
        Type(d, "EditCodePostal", "75001");
        Type(d, "EditLocalite", "paris");
        Type(d, "EditTelephone", "+33 1 00");
        Type(d, "EditEmail", "jean@example.org");
        Click(d, "RadioBtnOui");
        Click(d, "BitBtnExecuter");
    });
    runner.Always("FormTCP_IP", SendAndAccept);
    main.BitBtnOptionsClick();

    EXPECT_EQ(runner.Runs(),
              (QStringList{"FormOptions", "FormAffiliationA", "FormTCP_IP", "FormTCP_IP"}));
    ASSERT_EQ(ctx.programState, 2);
    EXPECT_FALSE(ctx.busy);
    EXPECT_EQ(ctx.ownNumber, ta.code() + "01000000");
    EXPECT_EQ(main.windowTitle(), Tr(txt::kAffilie, {QString::fromStdString(ctx.ownNumber)}));
    EXPECT_EQ(ctx.information, txt::kAffiliationConfirmed);
    HolderContext reread;
    ASSERT_TRUE(LoadSettings(reread, SettingsPath(ctx)));
    EXPECT_EQ(reread.settings.identity, ctx.settings.identity);
    EXPECT_EQ(reread.settings.versionCode, "D400F");
    RecordList store;
    ASSERT_TRUE(LoadRecordList(ctx.KeyStorePath(), store));
    ASSERT_EQ(store.size(), 1u);
    EXPECT_EQ(store[0].size(), 7u);  // with the mailbox password
    std::string password;
    ASSERT_TRUE(ReadMailPassword(store, '0', password));
    EXPECT_EQ(password, "motdepasse");

    runner.Once("FormDestinataire", [&](QDialog& d) {
        Type(d, "EditDestinataire", QString::fromStdString(other->ownNumber));
        Click(d, "BitBtnExecuter");
    });
    main.BitBtnClefsClick();
    EXPECT_EQ(ctx.information, txt::kKeyDelivered);
    ASSERT_EQ(ctx.correspondents.d.size(), 1u);
    RecordList listD;
    ASSERT_TRUE(LoadRecordList(data.path() / "QuarnelTitD.dat", listD));
    EXPECT_EQ(listD, ctx.correspondents.d);

    runner.Once("FormAffiliationA", [](QDialog& d) {
        EXPECT_FALSE(Child<QLineEdit>(d, "EditNom").isVisible());
        Child<QLineEdit>(d, "EditTelephone").clear();
        Type(d, "EditTelephone", "+33 1 99");
        Click(d, "BitBtnExecuter");
    });
    main.BitBtnMiseAJourClick();
    EXPECT_EQ(ctx.information, txt::kAffiliationUpdated);
    EXPECT_EQ(ctx.programState, 2);
    ASSERT_TRUE(LoadSettings(reread, SettingsPath(ctx)));
    EXPECT_EQ(reread.settings.identity[7], "+33 1 99");
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
}

TEST_F(Windows, CancellingTheTaWindowLeavesTheKeyRequestWaiting) {
    ctx.settings.taAddress = "127.0.0.1";
    ctx.settings.taCode = "0FF";
    ctx.ownNumber = "0FF01000000";
    ctx.programState = 2;
    FormTCP_IP window(ctx, nullptr);
    QWidget mainWindow;
    ScriptedModalRunner runner;
    runner.Once("FormTCP_IP", [](QDialog& d) {
        EXPECT_TRUE(Child<QPushButton>(d, "BitBtnEnvoyer").isEnabled());
        EXPECT_FALSE(Child<QPushButton>(d, "BitBtnRecevoir").isEnabled());
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

}  // namespace
}  // namespace quarnel::ui
