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
        EXPECT_EQ(s.ctx.programState, 0);
        EXPECT_TRUE(s.ctx.keyStore.empty());
        EXPECT_EQ(s.Information(), "");
        EXPECT_EQ(s.Enabled(), kCreation);
    }
}

TEST_F(MainWindow, AffiliatedHolderSeesNamesTheKeyHintTheTimerTheResetAndTheMenu) {
    files.settings.identity[1] = "compta";
    Affiliated();
    EXPECT_EQ(Start(), StartupEnd::Completed);
    EXPECT_EQ(main->windowTitle(), "Affilié 1F400000123");
    EXPECT_EQ(In<QLabel>(*main, "lbNom").text(), "DUPONT jean");
    EXPECT_EQ(In<QLabel>(*main, "LabelSociete").text(), "Société :");
    EXPECT_EQ(In<QLabel>(*main, "LbSociete").text(), "ACME, compta");
    EXPECT_EQ(main->Button(Options).text(), "&Options");
    EXPECT_EQ(Information(),
              "Il est nécessaire de demander une clef pour chacun de vos correspondants.");

    // The timer stays out while busy, else empties the request kind and
    // watches the clipboard.
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

    // An altered block, handled while busy (with a correspondent, so that the
    // key hint does not replace the line).
    ctx.correspondents.f.push_back(test::CorrespondentRecord('F', "00000123456"));
    bool busyInside = false;
    main->clipboardWatch = [] { return std::optional<Lines>(Lines{"block"}); };
    main->processIncomingBlock = [&](Lines& block) {
        busyInside = ctx.busy && !main->Button(Clefs).isEnabled();
        EXPECT_EQ(block, Lines{"block"});
        return false;
    };
    main->surveillance();
    main->clipboardWatch = nullptr;
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(ctx.busy);
    EXPECT_EQ(Information(), "Message altéré");
    EXPECT_TRUE(main->Button(Clefs).isEnabled());

    // The reset button: "En attente", then the rules again.
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

}  // namespace
}  // namespace quarnel
