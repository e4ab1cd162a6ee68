// The main window: windows created at start, the start-up as the holder sees
// it, the timer, help and about, and the road of a newcomer.

#include <QMenu>
#include <QTextBrowser>

#include "app/windows/help.h"
#include "messages/windows/form_certi.h"
#include "messages/windows/form_message.h"
#include "messages/windows/form_msg_a_certi.h"
#include "messages/windows/form_redac.h"
#include "shell_fixture.h"
#include "store/windows/form_liste.h"

namespace quarnel {
namespace {

using enum Command;
using test::Click;
using test::In;
using test::ShellFixture;

class MainWindow : public ShellFixture {};

const std::vector<Command> kCreation{Sortie, Options, Aide};

TEST_F(MainWindow, CreatesEveryWindowOnceInOrderAndAFirstRunOffersOnlyInitialisation) {
    QStringList windows;
    for (QObject* child : main->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w->isWindow() && !qobject_cast<QMenu*>(w)) windows << w->objectName();
    }
    EXPECT_EQ(windows, (QStringList{"FormOptions", "FormAffiliationF", "FormAffiliationD",
                                    "FormAffiliationA", "FormDestinataire", "FormListe",
                                    "FormRedac", "FormTCP_IP", "FormSmtp", "FormPop3",
                                    "FormMessage", "FormMsgACerti", "FormCerti", "FormAide"}));
    EXPECT_EQ(main->objectName(), "FormTitulaire");
    EXPECT_EQ(Enabled(), kCreation);

    EXPECT_EQ(Start(), StartupEnd::NoSettings);
    EXPECT_EQ(Enabled(), kCreation);
    EXPECT_EQ(Information(), "");
    EXPECT_EQ(main->windowTitle(), "");
    EXPECT_EQ(main->Button(Options).text(), "Initialisation");
    EXPECT_TRUE(boxes.ShownBoxes().empty());
}

TEST_F(MainWindow, AMissingKeyStoreIsAskedForWithAbortAndRetry) {
    files.WriteSettings();
    boxes.Answer(ui::kRetry);
    boxes.Answer(ui::kAbort);
    EXPECT_EQ(Start(), StartupEnd::KeyStoreMissing);
    const QString path = QString::fromStdString((files / "QuarnelTit.kpr").string());
    EXPECT_EQ(boxes.Texts(),
              QStringList(2, QStringLiteral("Le fichier %1 n'a pu être lu.").arg(path)));
    for (const auto& box : boxes.ShownBoxes()) {
        EXPECT_EQ(box.icon, ui::BoxIcon::Warning);
        EXPECT_EQ(box.buttons, ui::kAbort | ui::kRetry);
    }
    EXPECT_EQ(ctx.programState, 0);
    EXPECT_EQ(Information(), "");
    EXPECT_EQ(Enabled(), kCreation);
}

TEST_F(MainWindow, AMalformedKeyStoreIsReportedWithCancelOnly) {
    files.WriteSettings();
    files.WriteList("QuarnelTit.kpr", {{"1F400000123", "not hexadecimal"}});
    EXPECT_EQ(Start(), StartupEnd::KeyStoreAltered);
    EXPECT_EQ(boxes.Texts(), QStringList{"Le fichier QuarnelTit.kpr est altéré."});
    EXPECT_EQ(boxes.ShownBoxes()[0].icon, ui::BoxIcon::Warning);
    EXPECT_EQ(boxes.ShownBoxes()[0].buttons, unsigned(ui::kCancel));
    EXPECT_EQ(ctx.programState, 0);
    EXPECT_TRUE(ctx.keyStore.empty());
}

TEST_F(MainWindow, AffiliatedHolderSeesNameNumberAndTheKeyHint) {
    files.settings.identity[1] = "compta";
    Affiliated();
    EXPECT_EQ(Start(), StartupEnd::Completed);
    EXPECT_EQ(ctx.programState, 2);
    EXPECT_EQ(main->windowTitle(), "Affilié 1F400000123");
    EXPECT_EQ(In<QLabel>(*main, "lbNom").text(), "DUPONT jean");
    EXPECT_EQ(In<QLabel>(*main, "LabelSociete").text(), "Société :");
    EXPECT_EQ(In<QLabel>(*main, "LbSociete").text(), "ACME, compta");
    EXPECT_EQ(main->Button(Options).text(), "&Options");
    EXPECT_EQ(Information(),
              "Il est nécessaire de demander une clef pour chacun de vos correspondants.");
    EXPECT_EQ(Enabled(),
              (std::vector<Command>{MiseAJour, Clefs, Certification, Sortie, Options, Aide}));

    // The reset button: "En attente", then the rules again.
    ctx.correspondents.f.push_back(test::CorrespondentRecord('F', "00000123456"));
    QTest::mouseClick(&In<QToolButton>(*main, "SpeedButtonReset"), Qt::LeftButton);
    EXPECT_EQ(Information(), "En attente");
    EXPECT_TRUE(main->Button(Correspondants).isEnabled());

    // The correspondents menu offers the lists that have records.
    main->BitBtnCorrespondantsClick();
    auto& menu = In<QMenu>(*main, "PopupMenuCor");
    EXPECT_TRUE(menu.actions()[0]->isEnabled());
    EXPECT_FALSE(menu.actions()[1]->isEnabled());
    EXPECT_FALSE(menu.actions()[2]->isEnabled());
    menu.actions()[0]->trigger();
    EXPECT_EQ(ctx.listCategory, 'F');
    menu.close();

    // Closing the main window frees the working lists; nothing is saved.
    main.reset();
    EXPECT_TRUE(ctx.keyStore.empty());
    EXPECT_EQ(ctx.correspondents.Total(), 0u);
    EXPECT_TRUE(ctx.settings.identity.empty());
}

TEST_F(MainWindow, TimerStaysOutWhileBusyAndReportsAnAlteredBlock) {
    Affiliated();
    Start();
    int watched = 0;
    main->clipboardWatch = [&]() -> std::optional<Lines> {
        ++watched;
        return std::nullopt;
    };
    ctx.requestKind = "10";
    ctx.busy = true;
    main->surveillance();
    EXPECT_EQ(watched, 0);
    EXPECT_EQ(ctx.requestKind, "10");
    ctx.busy = false;
    main->surveillance();
    EXPECT_EQ(watched, 1);
    EXPECT_EQ(ctx.requestKind, "");

    // (With a correspondent, so that the key hint does not replace the line.)
    ctx.correspondents.f.push_back(test::CorrespondentRecord('F', "00000123456"));
    bool busyInside = false;
    main->clipboardWatch = [] { return std::optional<Lines>(Lines{"block"}); };
    main->processIncomingBlock = [&](Lines& block) {
        busyInside = ctx.busy && !main->Button(Clefs).isEnabled();
        EXPECT_EQ(block, Lines{"block"});
        return false;
    };
    main->surveillance();
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(ctx.busy);
    EXPECT_EQ(Information(), "Message altéré");
    EXPECT_TRUE(main->Button(Clefs).isEnabled());
    main->clipboardWatch = nullptr;
}

TEST_F(MainWindow, HelpContextsAndAbout) {
    Start();
    main->AidecontextuelleClick();
    EXPECT_EQ(main->Help().LastContext(), 200);
    EXPECT_EQ(main->Help().Page(), std::filesystem::path(QUARNEL_BIN_DIR) / "QuarnelTit_F.html");
    EXPECT_TRUE(main->Help().Browser().toPlainText().contains("La fenêtre principale"));
    main->MenuSommaireClick();
    EXPECT_EQ(main->Help().LastContext(), 0);

    const ui::Forms& f = main->Windows();
    const std::pair<ui::QuarnelDialog*, int> contexts[] = {{f.options, 210},   {f.liste, 230},
                                                           {f.redac, 240},     {f.message, 250},
                                                           {f.msgACerti, 300}, {f.certi, 300}};
    for (const auto& [window, context] : contexts) {
        window->show();
        QApplication::setActiveWindow(window);
        QTest::keyClick(window, Qt::Key_F1);
        EXPECT_EQ(main->Help().LastContext(), context) << window->objectName().toStdString();
        window->hide();
    }
    main->Help().hide();

    main->MenuAproposClick();
    EXPECT_EQ(boxes.Texts(),
              QStringList{"QuarnelTit\nVersion : D400F\nCode de l'Organisme de Confiance : 0FF"});
}

TEST_F(MainWindow, InitialisationWithoutTaParameterFileOpensNothing) {
    test::TempDir emptyProgramFolder;
    Start(emptyProgramFolder.path());
    main->Button(Options).click();
    EXPECT_TRUE(runner.Runs().isEmpty());
    EXPECT_TRUE(boxes.ShownBoxes().empty());
    EXPECT_FALSE(ctx.busy);
}

TEST_F(MainWindow, NewcomerInitialisesAndCancellingTheAffiliationFormSendsNothing) {
    Start();
    runner.Once("FormOptions", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Initialisation");
        auto& key = In<QPushButton>(d, "BtnInitClef");
        EXPECT_EQ(key.text(), "Cliquez 8 fois sans imposer de cadence.");
        Click(d, "BtnInitClef");
        EXPECT_EQ(key.text(), "Cliquez 7 fois sans imposer de cadence.");
        test::FillGeneralPage(d, "pop-secret");
        auto& ok = In<QPushButton>(d, "BitBtnOk");
        EXPECT_FALSE(ok.isEnabled()) << "no category, seven clicks to go";
        In<QRadioButton>(d, "RadioBtnPrive").click();
        EXPECT_FALSE(ok.isEnabled()) << "seven clicks to go";
        for (int i = 0; i < 7; ++i)
            Click(d, "BtnInitClef");
        EXPECT_FALSE(key.isEnabled());
        EXPECT_EQ(In<QLabel>(d, "LbCode").text(), "0FF");
        EXPECT_EQ(In<QLabel>(d, "LbCertificat").text().size(), 32);
        ASSERT_TRUE(ok.isEnabled());
        In<QLineEdit>(d, "EditPop3").clear();
        EXPECT_FALSE(ok.isEnabled());
        test::Type(d, "EditPop3", "pop.example.org");
        Click(d, "BitBtnOk");
    });
    runner.Once("FormAffiliationA", [](QDialog& d) { d.reject(); });
    main->Button(Options).click();
    EXPECT_EQ(runner.Runs(), (QStringList{"FormOptions", "FormAffiliationA"}));
    EXPECT_TRUE(boxes.ShownBoxes().empty());
    EXPECT_EQ(ctx.programState, 0);
    EXPECT_TRUE(ctx.keyStore.empty());
    EXPECT_TRUE(ctx.outgoingBody.empty());
    EXPECT_FALSE(ctx.busy);
    EXPECT_EQ(ctx.settings.category, 'A');
    EXPECT_EQ(ctx.settings.smtpServer, "smtp.example.org");
    EXPECT_EQ(ctx.publicHex.size(), 256u);
    EXPECT_EQ(ctx.pendingPassword, "pop-secret");
    EXPECT_NE(In<QLineEdit>(OptionsForm(), "EditPasse").text(), "pop-secret");
    EXPECT_TRUE(std::filesystem::is_directory(files / "Chiffrés envoyés"));
    EXPECT_FALSE(std::filesystem::exists(files / "QuarnelTit.ini"));
    EXPECT_EQ(Enabled(), kCreation);
}

}  // namespace
}  // namespace quarnel
