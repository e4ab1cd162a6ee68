// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: windows created at start, the start-up as the holder sees
// it, the timer, help and about; the options dialog: UpdateOk as the holder
// meets it, the proxy fields, the clicks, the password, the folders and the
// language switch, and the road of a newcomer; why Ok is disabled, and the
// characters code page 1252 cannot hold; the mail collected without asking
// as the preferences file and the options choose it.

#include <QCheckBox>
#include <QMenu>
#include <QSpinBox>
#include <QTextEdit>
#include <functional>
#include <optional>

#include "app/texts.h"
#include "authority/windows/form_destinataire.h"
#include "authority/windows/form_tcp_ip.h"
#include "crypto/own_keys.h"
#include "holder/preferences.h"
#include "holder/settings.h"
#include "mail/windows/form_smtp.h"
#include "mail/windows/new_mail_watch.h"
#include "messages/windows/form_message.h"
#include "messages/windows/form_msg_a_certi.h"
#include "messages/windows/form_redac.h"
#include "shell_fixture.h"
#include "store/correspondents.h"
#include "windowkit/help.h"
#include "windowkit/window_kit.h"

namespace quarnel {
namespace {

using enum Command;
using test::Child;
using test::Click;
using test::ShellFixture;

class MainWindow : public ShellFixture {};

const std::vector<Command> kCreation{Exit, Options, Help};

TEST_F(MainWindow, CreatesEveryWindowOnceInOrderAndAFirstRunOffersOnlyInitialisation) {
    QStringList windows;
    for (QObject* child : main->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w->isWindow() && !qobject_cast<QMenu*>(w)) windows << w->objectName();
    }
    EXPECT_EQ(windows,
              (QStringList{"FormOptions", "FormAffiliationF", "FormAffiliationD",
                           "FormAffiliationA", "FormDestinataire", "FormListe", "FormRedac",
                           "FormTCP_IP", "FormSmtp", "FormPop3", "FormMessage", "FormMsgACerti",
                           "FormCerti", "FormCourrier", "FormAide"}));
    EXPECT_EQ(main->objectName(), "FormTitulaire");
    EXPECT_EQ(Enabled(), kCreation);

    EXPECT_EQ(Start(), StartupEnd::NoSettings);
    EXPECT_EQ(Information(), "Le programme n'est pas encore initialisé.");
    EXPECT_EQ(main->windowTitle(), "QuarnelTit");
    EXPECT_EQ(main->Button(Options).text(), "&Initialisation");
    EXPECT_TRUE(boxes.ShownBoxes().empty());
}

// Répondre in the viewer: the composer for a correspondent, in the received
// form, with "Re: " once; for anybody else, "Nouvelles clefs" with the
// sender's number typed.
TEST_F(MainWindow, ReplyWritesToACorrespondentOrAsksForTheSendersKeys) {
    Affiliated();
    files.WriteList(CorrespondentFileName('F'), {test::CorrespondentRecord('F', "0FF00002000")});
    ASSERT_EQ(Start(), StartupEnd::Completed);
    ui::FormMessage& viewer = *shell->Windows().message;
    const auto reply = [&](const std::string& number, const QString& subject) {
        ctx.messages.decrypted.kind = Kind::RichMessage;
        ctx.messages.decrypted.sender.affiliation = number;
        viewer.Fill(ctx.messages.decrypted, subject);
        const qsizetype before = runner.Runs().size();
        Click(viewer, "ButtonRepondre");
        for (int i = 0; i < 100 && runner.Runs().size() == before; ++i)
            QTest::qWait(10);
    };
    QString subject;
    bool rich = false;
    runner.Always("FormRedac", [&](QDialog& d) {
        subject = Child<QLineEdit>(d, "EditObjet").text();
        rich = static_cast<ui::FormRedac&>(d).Rich();
    });
    reply("0FF00002000", QStringLiteral("Devis"));
    EXPECT_EQ(subject, "Re: Devis");
    EXPECT_TRUE(rich);
    reply("0FF00002000", QStringLiteral("RE: Devis"));
    EXPECT_EQ(subject, "RE: Devis");

    QString typed;
    runner.Once("FormDestinataire",
                [&](QDialog& d) { typed = static_cast<ui::FormDestinataire&>(d).Edit().text(); });
    boxes.Answer(ui::kYes);
    reply("0FF00003000", QStringLiteral("Devis"));
    EXPECT_EQ(typed, "0FF00003000");
    EXPECT_TRUE(boxes.Texts().last().contains("0FF00003000"));
    EXPECT_EQ(runner.Runs().count("FormRedac"), 2);
}

TEST(MainWindowStart, AMissingKeyStoreIsAskedForWithAbortAndRetryAMalformedOneWithCancel) {
    for (const bool malformed : {false, true}) {
        test::Shell s;
        s.files.WriteSettings();
        const QString path = QString::fromStdString((s.files / "QuarnelTit.kpr").string());
        QStringList texts(2, QStringLiteral("Le fichier %1 n'a pu être lu.").arg(path));
        unsigned buttons = ui::kAbort | ui::kRetry;
        if (malformed) {
            s.files.WriteList("QuarnelTit.kpr", {{"1F400000123", "not hexadecimal"}});
            texts = QStringList{"Le fichier QuarnelTit.kpr est altéré."};
            buttons = ui::kCancel;
        } else {
            s.boxes.Answer(ui::kRetry);
            s.boxes.Answer(ui::kAbort);
        }
        EXPECT_EQ(s.Start(), malformed ? StartupEnd::KeyStoreAltered : StartupEnd::KeyStoreMissing);
        EXPECT_EQ(s.boxes.Texts(), texts);
        for (const auto& box : s.boxes.ShownBoxes()) {
            EXPECT_EQ(box.icon, ui::BoxIcon::Warning);
            EXPECT_EQ(box.buttons, buttons);
        }
        EXPECT_EQ(s.ctx.State(), ProgramState::NotInitialised);
        EXPECT_TRUE(s.ctx.keyStore.empty());
        EXPECT_EQ(s.Information(), "Le programme n'est pas encore initialisé.");
    }
}

// Started in English (never switched to it): the program's texts and Qt's own.
TEST_F(MainWindow, AHolderWhoChoseEnglishStartsInEnglish) {
    files.settings.language = 0;
    Affiliated();
    (void)Start();
    EXPECT_EQ(Child<QLabel>(*main, "LabelSociete").text(), "Company:");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
}

TEST_F(MainWindow, AffiliatedHolderSeesNamesTheKeyHintTheTimerTheResetAndTheMenu) {
    files.settings.identity[1] = "compta";
    Affiliated();
    EXPECT_EQ(Start(), StartupEnd::Completed);
    EXPECT_EQ(main->windowTitle(), "Affilié 1F400000123 \u2014 DUPONT jean");
    EXPECT_EQ(Child<QLabel>(*main, "lbNom").text(), "DUPONT jean");
    EXPECT_EQ(Child<QLabel>(*main, "LabelSociete").text(), "Société :");
    EXPECT_EQ(Child<QLabel>(*main, "LbSociete").text(), "ACME, compta");
    EXPECT_EQ(main->Button(Options).text(), "&Options");
    EXPECT_EQ(Information(),
              "Il est nécessaire de demander une clef pour chacun de vos correspondants.");

    // The timer stays out while busy, else empties the request kind and
    // watches the clipboard; the block played goes to the program's own
    // processing unless the test takes it.
    struct PlayedClipboard : ui::BlockIntake {
        explicit PlayedClipboard(ui::BlockIntake& own) : program(own) {}
        std::optional<Lines> TakeBlock() override {
            ++watched;
            return block;
        }
        bool ProcessBlock(Lines& taken) override {
            return process ? process(taken) : program.ProcessBlock(taken);
        }
        ui::BlockIntake& program;
        int watched = 0;
        std::optional<Lines> block;
        std::function<bool(Lines&)> process;
    } clipboard(*shell);
    main->SetBlockIntake(&clipboard);
    ctx.authority.requestKind = Kind::Key;
    ctx.busy = true;
    main->surveillance();
    EXPECT_EQ(clipboard.watched, 0);
    EXPECT_EQ(ctx.authority.requestKind, Kind::Key);
    ctx.busy = false;
    main->surveillance();
    EXPECT_EQ(clipboard.watched, 1);
    EXPECT_FALSE(ctx.authority.requestKind);

    // An altered block, handled while busy (with a correspondent, so that the
    // key hint does not replace the line); first by the program's own
    // processing, which opens no window for it.
    ctx.correspondents.f.push_back(test::CorrespondentRecord('F', "00000123456"));
    clipboard.block = Lines{"bloc", "chiffr\xE9"};
    main->surveillance();
    EXPECT_EQ(Information(), "Message altéré");
    EXPECT_TRUE(runner.Runs().isEmpty());
    bool busyInside = false;
    clipboard.block = Lines{"block"};
    clipboard.process = [&](Lines& block) {
        busyInside = ctx.busy && !main->Button(NewKeys).isEnabled();
        EXPECT_EQ(block, Lines{"block"});
        return false;
    };
    main->surveillance();
    main->SetBlockIntake(nullptr);
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(ctx.busy);
    EXPECT_EQ(Information(), "Message altéré");
    EXPECT_TRUE(main->Button(NewKeys).isEnabled());

    // The reset button: "En attente", then the rules again.
    QTest::mouseClick(&Child<QToolButton>(*main, "SpeedButtonReset"), Qt::LeftButton);
    EXPECT_EQ(Information(), "En attente");
    EXPECT_TRUE(main->Button(Correspondents).isEnabled());

    // The correspondents menu offers the lists that have records.
    main->RunCommand(Command::Correspondents);
    auto& menu = Child<QMenu>(*main, "PopupMenuCor");
    EXPECT_TRUE(menu.actions()[0]->isEnabled());
    EXPECT_FALSE(menu.actions()[1]->isEnabled());
    EXPECT_FALSE(menu.actions()[2]->isEnabled());
    menu.actions()[0]->trigger();
    EXPECT_EQ(ctx.listCategory, 'F');
    menu.close();

    // Closing the main window wipes the key store, frees the working lists
    // and saves nothing.
    const auto before = test::FilesUnder(files.Data());
    const RecordList store = ctx.keyStore;
    RecordList wiped;
    QObject::connect(main, &ui::FormTitulaire::KeyStoreWiped,
                     [&](const RecordList& w) { wiped = w; });
    shell.reset();
    // (Every line overwritten in place: the record list's test.)
    ASSERT_EQ(wiped.size(), store.size());
    for (std::size_t r = 0; r < store.size(); ++r)
        EXPECT_NE(wiped[r], store[r]) << "record " << r;
    EXPECT_EQ(test::FilesUnder(files.Data()), before);
    EXPECT_TRUE(ctx.keyStore.empty());
    EXPECT_EQ(ctx.correspondents.Total(), 0u);
    EXPECT_TRUE(ctx.settings.identity.empty());
}

// The keys as people expect them, in every window that has them: F1 opens
// the window's help, Enter presses the focused button (else the default
// one), Tab leaves the composer's subject for the text.
TEST_F(MainWindow, KeysHelpAndAbout) {
    Affiliated();
    Start();
    ctx.settings.smtpServer.clear();
    main->MenuSommaireClick();
    EXPECT_EQ(main->Help().Page(), std::filesystem::path(QUARNEL_BIN_DIR) / "QuarnelTit_F.html");
    EXPECT_EQ(main->Help().LastContext(), 0);

    const ui::Forms& f = shell->Windows();
    using Act = std::function<void(QWidget&)>;
    // Shown as a window of its own; the sending window with a message, modally.
    const auto shown = [](QWidget* window) {
        return [window](const Act& act) {
            window->show();
            act(*window);
            window->hide();
        };
    };
    std::optional<ui::FormSmtp::Outcome> sent;
    const auto sending = [&](const Act& act) {
        runner.Once("FormSmtp", [&](QDialog& d) { act(d); });
        sent = f.smtp->ShowFor({"Message destin\xE9 au correspondant, A",
                                "a@example.org",
                                "s",
                                {"titre", std::string(32, 'F')},
                                {}},
                               *main);
    };
    const auto help = [&](int context) {
        return [this, context] { return main->Help().LastContext() == context; };
    };
    const struct {
        const char* what;
        std::function<void(const Act&)> in;
        const char* focus;  // nullptr: the window
        Qt::Key key;
        std::function<bool()> happened;
    } keys[] = {
        {"F1, main window", shown(main), nullptr, Qt::Key_F1, help(200)},
        {"F1, options", shown(f.options), nullptr, Qt::Key_F1, help(210)},
        {"F1, composer", shown(f.redac), nullptr, Qt::Key_F1, help(240)},
        {"F1, viewer", shown(f.message), nullptr, Qt::Key_F1, help(250)},
        {"F1, message to certify", shown(f.msgACerti), nullptr, Qt::Key_F1, help(300)},
        {"Enter on Aide, connection window", shown(f.authority.tcpIp), "BitBtnAide", Qt::Key_Return,
         help(280)},
        {"Enter on Aide, sending window", sending, "BitBtnAide", Qt::Key_Return, help(310)},
        {"Enter on Plus tard, sending window", sending, "BitBtnPlusTard", Qt::Key_Enter,
         [&] { return sent == ui::FormSmtp::Outcome::Queued; }},
        {"Enter in the message, sending window: Maintenant", sending, "MemoMsg", Qt::Key_Return,
         [&] { return !boxes.Texts().filter("transmetteur SMTP").isEmpty(); }},
        {"Tab from the subject, composer", shown(f.redac), "EditObjet", Qt::Key_Tab,
         [&] { return f.redac->focusWidget() == &f.redac->Editor(); }},
    };
    for (const auto& k : keys) {
        main->Help().hide();
        k.in([&](QWidget& window) {
            QApplication::setActiveWindow(&window);
            QWidget* target = k.focus ? window.findChild<QWidget*>(k.focus) : &window;
            ASSERT_NE(target, nullptr) << k.what;
            target->setFocus();
            QTest::keyClick(target, k.key);
        });
        EXPECT_TRUE(k.happened()) << k.what;
    }
    main->Help().hide();

    main->MenuAproposClick();
    EXPECT_EQ(boxes.Texts().last(),
              "QuarnelTit\nVersion : D400F\nCode de l'Organisme de Confiance : 0FF");
}

TEST_F(MainWindow, InitialisationWithoutTaParameterFileOpensNothing) {
    test::TempDir emptyProgramFolder;
    Start(emptyProgramFolder.path());
    main->Button(Options).click();
    EXPECT_TRUE(runner.Runs().isEmpty());
    // ... but says why.
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_TRUE(boxes.Texts()[0].contains(QStringLiteral("QuarnelTaPr.*")));
    EXPECT_FALSE(ctx.busy);
}

TEST_F(MainWindow, AffiliatedTheOptionsOpenWithoutTheParameterFileAndRefuseAnExposedFolder) {
    Affiliated();
    test::TempDir emptyProgramFolder;
    Start(emptyProgramFolder.path());
    ASSERT_EQ(ctx.State(), ProgramState::Affiliated);
    ChooseFolder(files.Data());
    OpenOptions([&](QDialog& d) {
        EXPECT_EQ(Child<QLabel>(d, "LbCode").text(), "0FF");
        const QString received = Child<QLabel>(d, "LbRepChifE").text();
        Click(d, "ButtonChifE");
        EXPECT_EQ(Child<QLabel>(d, "LbRepChifE").text(), received);
        auto& smtp = Child<QLineEdit>(d, "EditSmtp");
        smtp.insert("\tX");
        EXPECT_EQ(smtp.text(), "smtp.example.org");
        Click(d, "BitBtnAnnuler");
    });
    EXPECT_EQ(runner.Runs().count("FormOptions"), 1);
    EXPECT_EQ(boxes.Texts(), QStringList{ui::ExposedFolderText(
                                 {4, FolderSetting(files.Data()), ExposedReason::DataFolder})});
}

TEST_F(MainWindow, ReinitialisingKeepsTheOldKeyStoreAndSettingsAsideAndSaysSo) {
    files.WriteSettings();
    files.WriteList("QuarnelTit.kpr", {{"1F400000123", "not hexadecimal"}});
    const std::string oldStore = *ReadWholeFile(files / "QuarnelTit.kpr");
    const std::string oldSettings = *ReadWholeFile(files / "QuarnelTit.ini");
    test::FixClocks();
    Start();
    ASSERT_EQ(ctx.State(), ProgramState::NotInitialised);
    runner.Once("FormAffiliationA", [](QDialog& d) {
        for (const auto& [edit, text] : {std::pair{"EditNom", "dupont"},
                                         {"EditPrenoms", "jean"},
                                         {"EditAdresse", "3 rue"},
                                         {"EditCodePostal", "75001"},
                                         {"EditLocalite", "paris"},
                                         {"EditTelephone", "+33 1 00"},
                                         {"EditEmail", "jean@example.org"}})
            test::Type(d, edit, text);
        Click(d, "RadioBtnOui");
        Click(d, "BitBtnExecuter");
    });
    runner.Once("FormTCP_IP", [](QDialog& d) { Click(d, "BitBtnAnnuler"); });
    OpenOptions([](QDialog& d) {
        Click(d, "RadioBtnPrive");
        TypeServers(d, "127.0.0.1");
        for (int i = 0; i < 8; ++i)
            Click(d, "BtnInitClef");
        Click(d, "BitBtnOk");
    });
    test::ReleaseClocks();
    EXPECT_EQ(runner.Runs(), (QStringList{"FormOptions", "FormAffiliationA", "FormTCP_IP"}));
    const auto keptStore = files / "QuarnelTit.kpr.old-20261205-1403";
    const auto keptSettings = files / "QuarnelTit.ini.old-20261205-1403";
    EXPECT_EQ(ReadWholeFile(keptStore), oldStore);
    EXPECT_EQ(ReadWholeFile(keptSettings), oldSettings);
    ASSERT_EQ(boxes.Texts().size(), 2);
    EXPECT_EQ(boxes.Texts()[1],
              QString("Les fichiers précédents sont conservés avant d'être remplacés :\n%1\n%2")
                  .arg(QString::fromStdString(keptStore.string()),
                       QString::fromStdString(keptSettings.string())));
    // The new set-up is written beside them.
    EXPECT_EQ(ctx.State(), ProgramState::NotAffiliated);
    EXPECT_NE(ReadWholeFile(files / "QuarnelTit.kpr"), oldStore);
    EXPECT_NE(ReadWholeFile(files / "QuarnelTit.ini"), oldSettings);
}

class OptionsDialog : public test::ShellFixture {};

TEST_F(OptionsDialog, NewcomerSwitchesToEnglishInitialisesAndCancellingTheAffiliationSendsNothing) {
    Start();
    runner.Once("FormOptions",
                [&](QDialog& d) { Q_EMIT Child<QComboBox>(d, "ComboBoxLangue").activated(0); });
    OpenOptions([&](QDialog& d) {
        auto& ok = Child<QPushButton>(d, "BitBtnOk");
        auto& key = Child<QPushButton>(d, "BtnInitClef");
        auto& a = Child<QRadioButton>(d, "RadioBtnA");
        auto& b = Child<QRadioButton>(d, "RadioBtnB");
        auto& port = Child<QLineEdit>(d, "EditPortProxy");
        // Reopened in English; it cannot be confirmed yet, so Annuler stays.
        EXPECT_EQ(d.windowTitle(), "Initialisation");
        EXPECT_TRUE(Child<QPushButton>(d, "BitBtnAnnuler").isEnabled());
        Click(d, "BtnInitClef");
        EXPECT_EQ(key.text(), "&Click 7 times at an irregular pace.");
        TypeServers(d, "ta.example.org");
        Child<QRadioButton>(d, "RadioBtnPrive").click();
        for (int i = 0; i < 7; ++i)
            Click(d, "BtnInitClef");
        EXPECT_FALSE(key.isEnabled());
        EXPECT_EQ(Child<QLabel>(d, "LbCode").text(), "0FF");
        EXPECT_EQ(Child<QLabel>(d, "LbCertificat").text().size(), 32);
        EXPECT_TRUE(ok.isEnabled());
        EXPECT_TRUE(a.isChecked());

        test::Type(d, "EditAdresseProxy", "proxy.lan");
        EXPECT_FALSE(ok.isEnabled());
        EXPECT_TRUE(Child<QPushButton>(d, "BitBtnAnnuler").isEnabled());
        QTest::keyClicks(&port, "3a1b2/8");
        EXPECT_EQ(port.text(), "3128") << "letters are refused";
        QTest::keyClick(&port, Qt::Key_Backspace);
        EXPECT_EQ(port.text(), "312") << "Backspace still deletes";
        EXPECT_TRUE(ok.isEnabled());
        EXPECT_TRUE(b.isChecked());
        EXPECT_FALSE(a.isEnabled() || b.isEnabled());
        Child<QLineEdit>(d, "EditAdresseProxy").clear();
        EXPECT_FALSE(ok.isEnabled()) << "a port alone";
        port.clear();
        EXPECT_TRUE(ok.isEnabled());
        EXPECT_TRUE(a.isEnabled() && b.isEnabled());
        Click(d, "BitBtnOk");
    });
    EXPECT_EQ(runner.Runs(), (QStringList{"FormOptions", "FormOptions", "FormAffiliationA"}));
    EXPECT_TRUE(boxes.ShownBoxes().empty());
    EXPECT_EQ(ctx.State(), ProgramState::NotInitialised);
    EXPECT_TRUE(ctx.keyStore.empty());
    EXPECT_TRUE(ctx.authority.outgoingBody.empty());
    EXPECT_FALSE(ctx.busy);
    EXPECT_EQ(ctx.settings.category, 'A');
    EXPECT_EQ(ctx.settings.smtpServer, "smtp.example.org");
    EXPECT_EQ(ctx.authority.publicHex.size(), 256u);
    EXPECT_EQ(*ctx.authority.pendingPassword, "pop-secret");
    EXPECT_NE(Child<QLineEdit>(OptionsForm(), "EditPasse").text(), "pop-secret");
    EXPECT_FALSE(std::filesystem::exists(files / "QuarnelTit.ini"));
    EXPECT_EQ(Enabled(), kCreation);
    EXPECT_EQ(main->Button(Options).text(), "Ini&tialisation");
    EXPECT_EQ(Information(), "The program is not initialised yet.");
}

TEST_F(OptionsDialog, StateOneDemandsEightNewClicks) {
    files.WriteSettings();
    RecordList store = files.SealedStore();
    store.back().resize(2);
    files.WriteKeyStore(store);
    Start();
    ASSERT_EQ(ctx.State(), ProgramState::NotAffiliated);
    OpenOptions([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Options");
        EXPECT_TRUE(Child<QRadioButton>(d, "RadioBtnFirme").isChecked());
        EXPECT_FALSE(Child<QGroupBox>(d, "GroupBoxUsage").isEnabled());
        EXPECT_EQ(Child<QLineEdit>(d, "EditSmtp").text(), "smtp.example.org");
        EXPECT_EQ(Child<QLineEdit>(d, "EditPasse").text(), "");
        QTest::keyClicks(&Child<QLineEdit>(d, "EditPasse"), "pw");
        EXPECT_FALSE(Child<QPushButton>(d, "BitBtnOk").isEnabled());
        for (int i = 0; i < 8; ++i)
            Click(d, "BtnInitClef");
        EXPECT_TRUE(Child<QPushButton>(d, "BitBtnOk").isEnabled());
    });
}

TEST_F(OptionsDialog, TheMailCollectedWithoutAskingFollowsThePreferencesFileAndOk) {
    // A damaged file: said, the defaults, the file left as it is.
    Affiliated();
    const std::filesystem::path file = files.Data() / kPreferencesFileName;
    ASSERT_TRUE(WriteFileAtomically(file, "autoRetrieval=peut-être\r\n"));
    Start();
    EXPECT_EQ(boxes.Texts(), QStringList{"Le fichier QuarnelTitPref.ini est altéré."});
    EXPECT_FALSE(shell->NewMail().On());
    EXPECT_EQ(ReadWholeFile(file), "autoRetrieval=peut-être\r\n");

    OpenOptions([&](QDialog& d) {
        auto& check = Child<QCheckBox>(d, "CheckReleve");
        auto& minutes = Child<QSpinBox>(d, "SpinMinutes");
        EXPECT_FALSE(check.isChecked());
        EXPECT_EQ(minutes.value(), kDefaultRetrievalMinutes);
        minutes.setValue(45);
        check.setChecked(true);
        Click(d, "BitBtnOk");
    });
    EXPECT_TRUE(shell->NewMail().On());
    Preferences saved;
    ASSERT_EQ(LoadPreferences(files.Data(), saved), PreferencesLoad::Loaded);
    EXPECT_TRUE(saved.autoRetrieval);
    EXPECT_EQ(saved.retrievalMinutes, 45);
}

TEST_F(OptionsDialog, StateTwoKeepsPasswordAndFoldersUnlessConfirmedThenSwitchesToEnglish) {
    Affiliated();
    RecordList store = files.SealedStore();
    ASSERT_TRUE(StoreMailPassword(store, '0', "stored"));
    files.WriteKeyStore(store);
    Start();
    ASSERT_EQ(ctx.State(), ProgramState::Affiliated);
    const std::filesystem::path chosen = files / "certificats-bis";
    std::filesystem::create_directory(chosen);
    ChooseFolder(chosen, true);
    auto storedPassword = [](const RecordList& keys) {
        std::string password;
        EXPECT_TRUE(ReadMailPassword(keys, '0', password));
        return password;
    };
    OpenOptions([&](QDialog& d) {
        Click(d, "ButtonCerti");
        EXPECT_EQ(Child<QLabel>(d, "LbRepCerti").text(), QString::fromStdString(chosen.string()));
        Click(d, "BitBtnAnnuler");
    });
    EXPECT_EQ(ctx.settings.certificatesFolder, files.settings.certificatesFolder);
    EXPECT_FALSE(ctx.busy);
    OpenOptions([&](QDialog& d) {
        EXPECT_EQ(Child<QLineEdit>(d, "EditPasse").text(), QString(10, u' '));
        EXPECT_FALSE(Child<QPushButton>(d, "BtnInitClef").isEnabled());
        EXPECT_EQ(Child<QPushButton>(d, "BtnInitClef").text(),
                  "&Cliquez 0 fois sans imposer de cadence.");
        Click(d, "BitBtnOk");
    });
    EXPECT_EQ(storedPassword(ctx.keyStore), "stored");
    EXPECT_TRUE(main->Button(IncomingMail).isEnabled());

    OpenOptions([&](QDialog& d) {
        test::Type(d, "EditPasse", "nouveau");
        Click(d, "ButtonCerti");
        Click(d, "BitBtnOk");
    });
    RecordList saved;
    ASSERT_TRUE(LoadRecordList(files / "QuarnelTit.kpr", saved));
    EXPECT_EQ(storedPassword(saved), "nouveau");
    EXPECT_EQ(ctx.settings.certificatesFolder, FolderSetting(chosen));
    // Only a re-initialisation keeps the old files aside.
    for (const auto& e : std::filesystem::directory_iterator(files.Data()))
        EXPECT_EQ(e.path().filename().string().find(".old-"), std::string::npos) << e.path();

    // The language switch, affiliated: said before (the language may be
    // kept), then No, applied, shown again without Annuler; state 3, and the
    // main window says why and what to do.
    main->move(40, 50);
    const QPoint position = main->pos();
    runner.Once("FormOptions", [&](QDialog& d) {
        auto& combo = Child<QComboBox>(d, "ComboBoxLangue");
        combo.setCurrentIndex(0);
        Q_EMIT combo.activated(0);  // the scripted answer keeps the language
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(combo.currentIndex(), 1);
        const auto& asked = boxes.ShownBoxes().back();
        EXPECT_EQ(asked.text, ui::Tr(txt::kLanguageWarning));
        EXPECT_EQ(asked.captions.front(), (std::pair{ui::kCancel, ui::Tr(txt::kKeepLanguage)}));
        boxes.Answer(ui::kYes);
        combo.setCurrentIndex(0);
        Q_EMIT combo.activated(0);
        EXPECT_FALSE(d.isVisible());
    });
    OpenOptions([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Options");
        EXPECT_EQ(Child<QPushButton>(d, "BitBtnOk").text(), "OK");
        EXPECT_FALSE(Child<QPushButton>(d, "BitBtnAnnuler").isEnabled());
        EXPECT_TRUE(Child<QPushButton>(d, "BitBtnOk").isEnabled());
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible()) << "no Cancel while Annuler is disabled";
        Click(d, "BitBtnOk");
    });
    EXPECT_EQ(runner.Runs().count("FormOptions"), 5) << "shown again after the switch";
    EXPECT_EQ(ctx.State(), ProgramState::VersionChanged);
    EXPECT_EQ(main->Button(Exit).text(), "E&xit");
    EXPECT_EQ(main->windowTitle(), "Affiliated 1F400000123 \u2014 DUPONT jean");
    EXPECT_EQ(main->pos(), position);
    EXPECT_EQ(Information(), "You changed the language: update your affiliation to go on.");
    EXPECT_EQ(ctx.helpFile, std::filesystem::path(QUARNEL_BIN_DIR) / "QuarnelTit_E.hlp");
    ProgramData back;
    ASSERT_TRUE(LoadSettings(back, files / "QuarnelTit.ini"));
    EXPECT_EQ(back.settings.language, 0);

    // And back to French, without a question (the update is due already):
    // the built-in texts return.
    const std::size_t asked = boxes.ShownBoxes().size();
    OpenOptions([&](QDialog& d) { Q_EMIT Child<QComboBox>(d, "ComboBoxLangue").activated(1); });
    EXPECT_EQ(boxes.ShownBoxes().size(), asked);
    EXPECT_EQ(main->Button(Exit).text(), "&Sortie");
    EXPECT_EQ(ctx.State(), ProgramState::VersionChanged);
    EXPECT_EQ(Information(),
              "Vous avez changé de langue : mettez à jour votre affiliation pour continuer.");
}

TEST_F(OptionsDialog, ADisabledOkSaysWhatIsMissingAndTheDialogKeepsToCodePage1252) {
    Start();
    const std::filesystem::path greek = files / "Ωmega";
    std::filesystem::create_directory(greek);
    ChooseFolder(greek);
    OpenOptions([&](QDialog& d) {
        auto& ok = Child<QPushButton>(d, "BitBtnOk");
        EXPECT_TRUE(ok.toolTip().contains(ui::Tr(txt::kOkClicks, {"8"})));
        Child<QRadioButton>(d, "RadioBtnFirme").click();
        for (int i = 0; i < 3; ++i)
            Click(d, "BtnInitClef");
        test::Type(d, "EditAdresseTa", "ta.example.org");
        test::Type(d, "EditSmtp", "smtp.example.org");
        EXPECT_EQ(ok.toolTip(),
                  QStringList({ui::Tr(txt::kOkOnceDone), ui::Tr(txt::kOkClicks, {"5"}),
                               ui::Tr(txt::kOkMailField, {ui::Tr(txt::kPop3)}),
                               ui::Tr(txt::kOkMailField, {ui::Tr(txt::kAccountNameLabel)}),
                               ui::Tr(txt::kOkMailField, {ui::Tr(txt::kPasswordLabel)})})
                      .join("\n- "));

        // The euro sign is in code page 1252, omega is not.
        test::Type(d, "EditPop3", QString::fromUtf8("pop.example.org"));
        test::Type(d, "EditId", QString::fromUtf8("jdupont€Ω"));
        test::Type(d, "EditPasse", QString::fromUtf8("Ωmot"));
        EXPECT_EQ(Child<QLineEdit>(d, "EditId").text(), QString::fromUtf8("jdupont€"));
        EXPECT_EQ(Child<QLineEdit>(d, "EditPasse").text(), "mot");
        const QString certificates = Child<QLabel>(d, "LbRepCerti").text();
        Click(d, "ButtonCerti");
        EXPECT_EQ(Child<QLabel>(d, "LbRepCerti").text(), certificates);
        for (int i = 0; i < 5; ++i)
            Click(d, "BtnInitClef");
        EXPECT_TRUE(ok.isEnabled());
        EXPECT_EQ(ok.toolTip(), "");
        Click(d, "BitBtnOk");
    });
    const QString omega = QString::fromUtf8("Ω");
    EXPECT_EQ(boxes.Texts(),
              (QStringList{ui::Tr(txt::kCharacterNotAllowed, {omega}),
                           ui::Tr(txt::kCharacterNotAllowed, {omega}),
                           ui::Tr(txt::kFolderNotRepresentable,
                                  {QString::fromStdString(greek.string()), omega})}));
    EXPECT_EQ(ctx.settings.accountName, "jdupont\x80");
    EXPECT_EQ(*ctx.authority.pendingPassword, "mot");
}

}  // namespace
}  // namespace quarnel
