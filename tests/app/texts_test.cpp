// SPDX-License-Identifier: GPL-3.0-or-later
// The texts: the English module beside the program translates every text of
// every table, with its own version code; the help pages hold every context;
// every window renders offscreen in French and in English without a clipped
// text, within the screen, each command button with its own letter (the PNGs
// go to <build>/screenshots; ctest runs it again at twice the scale on a
// 1280x800 screen), and the folder chooser in French with room for its column
// titles.

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QTreeView>
#include <map>
#include <set>

#include "app/windows/clipped_texts.h"
#include "authority/windows/form_affiliation.h"
#include "authority/windows/form_destinataire.h"
#include "authority/windows/form_tcp_ip.h"
#include "mail/incoming.h"
#include "mail/outgoing_queue.h"
#include "mail/pop3_texts.h"
#include "mail/windows/form_courrier.h"
#include "mail/windows/form_pop3.h"
#include "mail/windows/form_smtp.h"
#include "mail/windows/transfer_progress.h"
#include "messages/texts.h"
#include "messages/windows/form_certi.h"
#include "messages/windows/form_message.h"
#include "messages/windows/form_msg_a_certi.h"
#include "messages/windows/form_redac.h"
#include "messages/windows/texts.h"
#include "protocol/body.h"
#include "protocol/lines.h"
#include "resources/texts.h"
#include "shell_fixture.h"
#include "store/atomic_file.h"
#include "store/windows/form_liste.h"
#include "windowkit/help.h"
#include "windowkit/long_job.h"
#include "windowkit/quarnel_dialog.h"
#include "windowkit/texts.h"

namespace quarnel {
namespace {

using test::Child;

// The command buttons shown without an underlined letter of their own (Ok
// and Annuler answer Enter and Escape; buttons of one text, such as the
// folders' Modifier, share theirs; the buttons of actions and tool bars have
// their keys).
QStringList MnemonicProblems(QWidget& window) {
    QStringList problems;
    QMap<QChar, QString> taken;
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>()) {
        auto* tool = qobject_cast<QToolButton*>(b);
        const bool ownKeys =
            tool && (tool->defaultAction() || qobject_cast<QToolBar*>(tool->parentWidget()));
        const bool command = qobject_cast<QPushButton*>(b) || (tool && !ownKeys);
        if (!command || !b->isVisibleTo(&window) || b->text().isEmpty()) continue;
        const QString text = b->text();
        if (ui::WithoutMnemonic(text) == ui::Tr(txt::kOk) ||
            ui::WithoutMnemonic(text) == ui::Tr(txt::kCancelButton)) {
            continue;
        }
        const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
        if (at < 0) {
            problems << b->objectName() + ": " + text;
        } else if (taken.value(text[at + 1].toLower(), text) != text) {
            problems << b->objectName() + ": " + text + " (letter taken)";
        } else {
            taken.insert(text[at + 1].toLower(), text);
        }
    }
    return problems;
}

// Shown, the window fits its screen and needs no more (the same test runs at
// twice the scale on a 1280x800 screen, its pictures in screenshots/scale2),
// and each command button has its letter.
void CheckShown(QWidget& window, const QString& name, bool clippedCheck = true) {
    window.show();
    QApplication::processEvents();
    const QStringList clipped = clippedCheck ? test::ClippedTexts(window) : QStringList();
    EXPECT_TRUE(clipped.isEmpty()) << name.toStdString() << ":\n"
                                   << clipped.join('\n').toStdString();
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window.frameGeometry()))
        << name.toStdString() << " at " << window.frameGeometry().x() << ","
        << window.frameGeometry().y() << " " << window.width() << "x" << window.height() << " on "
        << screen.width() << "x" << screen.height();
    const QSize needed = window.minimumSizeHint().expandedTo(window.minimumSize());
    EXPECT_TRUE(needed.width() <= screen.width() && needed.height() <= screen.height())
        << name.toStdString() << " needs " << needed.width() << "x" << needed.height();
    if (clippedCheck) {
        const QStringList letters = MnemonicProblems(window);
        EXPECT_TRUE(letters.isEmpty()) << name.toStdString() << ":\n"
                                       << letters.join('\n').toStdString();
    }
    const QString set = qEnvironmentVariable("QUARNEL_SCREENSHOTS");
    const QString dir =
        QStringLiteral(QUARNEL_BUILD_DIR "/screenshots") + (set.isEmpty() ? QString() : "/" + set);
    QDir().mkpath(dir);
    // The picture at the window's size on the screen, not its preferred one.
    EXPECT_TRUE(window.grab().save(dir + "/" + name + ".png", "PNG"));
}

// Qt's folder chooser, in French: every column title has room, and a folder
// says it is one in French.
void CheckFolderDialog(QDialog& dialog, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "courrier");
    auto& list = test::Child<QTreeView>(dialog, "treeView");
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QModelIndex parent = model->index(QString::fromStdString(folder.string()));
    for (int i = 0; i < 500 && model->rowCount(parent) == 0; ++i)
        QTest::qWait(10);  // the model reads the folder in a thread
    ASSERT_GT(model->rowCount(parent), 0);
    dialog.show();
    QApplication::processEvents();
    const QHeaderView& header = *list.header();
    for (int i = 0; i < header.count(); ++i) {
        EXPECT_GE(header.sectionSize(i), header.sectionSizeHint(i))
            << model->headerData(i, Qt::Horizontal).toString().toStdString();
    }
    const int last = header.count() - 1;
    EXPECT_LE(header.sectionViewportPosition(last) + header.sectionSizeHint(last),
              list.viewport()->width())
        << "the last column is cut";
    EXPECT_EQ(model->headerData(last, Qt::Horizontal).toString(), "Dernière modification");
    EXPECT_EQ(model->index(0, 2, parent).data().toString(), "Dossier");
    CheckShown(dialog, "folder_fr", false);
}

// The viewers with long values: an independent's firm, a notice, attachments.
DecryptedMessage SampleMessage() {
    DecryptedMessage m;
    m.kind = Kind::PlainMessage;
    m.text = "Bonjour,\r\nVoici le rapport trimestriel demand\xE9.\r\nCordialement";
    m.digest = std::string(32, 'A');
    m.signature = std::string(32, 'B');
    m.sender = {{true, txt::kSenderRegistered},
                txt::kProfession,
                "EXPERT-COMPTABLE ET COMMISSAIRE AUX COMPTES, inscrit au tableau de l'ordre",
                "DE LA FONTAINE-MONTMORENCY jean-christophe",
                "SAINT-REMY-EN-BOUZEMONT-SAINT-GENEST-ET-ISSON, MARNE, FRANCE",
                "jean-christophe.delafontaine@cabinet-exemple.fr",
                "0FF00002000",
                "05/12/2026",
                "14:03:07"};
    m.confirmation = {false, txt::kIdentityNotConfirmed};
    m.attachments = {"/tmp/rapport.pdf", "/tmp/annexe.xlsx"};
    m.notices = {{txt::kAttachmentRenamed, "annexe(2).xlsx"}};
    return m;
}

// One correspondent of each category with long texts in every column.
void WriteLongestCorrespondents(const test::HolderFiles& files) {
    for (const char category : {'A', 'D', 'F'}) {
        Record r = test::CorrespondentRecord(category, "1F400000123");
        const std::size_t text = category == 'A' ? 0 : 2;
        if (category != 'A') {
            r[0] = "EXPERT-COMPTABLE ET COMMISSAIRE AUX COMPTES";
            r[1] = "-";
        }
        r[text] = "DE LA TOUR D'AUVERGNE";
        r[text + 1] = "marie-th\xE9r\xE8se";
        r[text + 2] = "SAINT-GERMAIN-EN-LAYE";
        r[text + 3] = "ILE-DE-FRANCE";
        r[text + 4] = "FRANCE";
        r[text + 5] = "marie-therese.delatour@example.org";
        const auto layout = *LayoutFor(category);
        r[layout.flagLine] = "1";
        r[layout.dateLine] = "31/12/2026";
        files.WriteList(CorrespondentFileName(category), {r});
    }
}

// The correspondents window on the list of ctx.listCategory: the texts fit,
// and so do the column titles.
void CheckListWindow(ui::FormListe& liste, const QString& name) {
    liste.show();
    liste.FormActivate();
    QApplication::processEvents();
    const auto& grid = Child<QTableView>(liste, "grille");
    const QHeaderView& header = *grid.horizontalHeader();
    for (int c = 0; c < grid.model()->columnCount(); ++c) {
        const QString title = grid.model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_GE(header.sectionSize(c), QFontMetrics(header.font()).horizontalAdvance(title) + 8)
            << name.toStdString() << ": " << title.toStdString();
    }
    // On a screen too narrow for them the columns scroll.
    if (header.length() < liste.screen()->availableGeometry().width() * 3 / 4) {
        EXPECT_GE(grid.viewport()->width(), header.length())
            << name.toStdString() << ": columns cut";
    }
    CheckShown(liste, name);
    liste.hide();
}

class Screenshots : public test::ShellFixture {};

TEST_F(Screenshots, FrenchAndEnglishWithoutClippedTexts) {
    // The longest texts: an independent with a long name and profession.
    files.settings = test::SampleSettings('D', files.Data());
    files.settings.identity[0] = "EXPERT-COMPTABLE ET COMMISSAIRE AUX COMPTES";
    files.settings.identity[1] = "inscrit au tableau de l'ordre";
    files.settings.versionCode = "D4001";  // state 3: the longest information line
    Affiliated();
    WriteLongestCorrespondents(files);
    ASSERT_EQ(Start(), StartupEnd::Completed);
    ASSERT_EQ(ctx.State(), ProgramState::VersionChanged);
    for (const QString language : {"fr", "en"}) {
        if (language == "en") {
            ctx.settings.language = 0;
            main->ApplyLanguage();
            ASSERT_EQ(main->Button(Command::Exit).text(), "E&xit");
        }
        CheckShown(*main, "main_" + language);
        main->Help().ShowContext(ui::kHelpWriting);
        CheckShown(main->Help(), "FormAide_" + language);
        main->Help().hide();
        OpenOptions([&](QDialog& d) {
            EXPECT_TRUE(Child<QPushButton>(d, "BitBtnOk").isEnabled());
            auto& pages = Child<QTabWidget>(d, "PageControl");
            for (int i = 0; i < pages.count(); ++i) {
                pages.setCurrentIndex(i);
                CheckShown(d, QStringLiteral("options_%1_%2").arg(language).arg(i + 1));
            }
            if (language == "fr") {
                runner.Once(ui::kFolderDialogName,
                            [&](QDialog& chooser) { CheckFolderDialog(chooser, files.Data()); });
                test::Click(d, "ButtonCerti");
                EXPECT_EQ(runner.Runs().count(ui::kFolderDialogName), 1);
            }
        });
        const ui::Forms& w = shell->Windows();
        const ui::AuthorityWindows& a = w.authority;
        a.affiliationF->PrepareFresh();
        a.affiliationA->PrepareFresh();
        a.affiliationD->PrepareFromIdentity();  // the update form
        a.destinataire->Prepare();
        for (QDialog* d : std::initializer_list<QDialog*>{
                 a.affiliationF, a.affiliationD, a.affiliationA, a.destinataire, a.tcpIp}) {
            CheckShown(*d, d->objectName() + "_" + language);
            d->hide();
        }
        w.message->Fill(SampleMessage(), QStringLiteral("Rapport trimestriel et pi\u00e8ces"));
        ASSERT_TRUE(w.msgACerti->Load(
            QStringLiteral("rapport.txt"),
            test::SavedMessageFile("D1",
                                   {"EXPERT-COMPTABLE ET COMMISSAIRE AUX COMPTES", "-", "DUPONT",
                                    "jean", "LYON", "-", "FRANCE", "jean.dupont@example.org"},
                                   "Bonjour,\r\nVoici le rapport.")));
        w.certi->Fill(
            "Organisme de Confiance 0FF\r\nCERTIFI\xC9 : la signature ci-dessus est celle de "
            "l'exp\xE9"
            "diteur\r\nMessage condens\xE9 : " +
            std::string(32, 'A'));
        for (QDialog* d : std::initializer_list<QDialog*>{w.message, w.msgACerti, w.certi}) {
            CheckShown(*d, d->objectName() + "_" + language);
            d->hide();
        }
        // The sending window on an encrypted body with two attachments, and
        // the receiving window with the lines of a retrieval.
        OutgoingMessage out{
            "Message destin\xE9 au correspondant non enregistr\xE9, CABINET "
            "D'EXPERTISE COMPTABLE, DUPONT-MARTIN Jean-Christophe",
            "jean-christophe.dupont-martin@cabinet-expertise.example",
            "Rapport trimestriel et pi\xE8"
            "ces",
            {"Message chiffr\xE9", kSeparatorLine, std::string(32, '2')},
            {"/tmp/devis 2026.pdf.chi"}};
        for (int i = 0; i < 12; ++i)
            out.body.push_back(std::string(32, "0123456789ABCDEF"[i]));
        out.body.insert(out.body.end(), {kEndMarkerLine, "devis 2026.pdf.chi"});
        // Each with its widest transfer figures on show.
        const auto transferring = [](QDialog& d) {
            static_cast<ui::TransferProgress*>(
                Child<QProgressBar>(d, "ProgressTransfer").parentWidget())
                ->Show(qint64(1000) << 20, qint64(1023) << 20);
        };
        runner.Once("FormSmtp", [&](QDialog& d) {
            transferring(d);
            CheckShown(d, "FormSmtp_" + language);
            static_cast<ui::FormSmtp&>(d).AnnulerClick();
        });
        (void)w.smtp->ShowFor(out, *main);
        runner.Once("FormPop3", [&](QDialog& d) {
            auto& log = Child<QPlainTextEdit>(d, "MemoAction");
            for (const auto& [id, detail] : std::initializer_list<std::pair<int, const char*>>{
                     {txt::kPop3Call, ""},
                     {txt::kPop3Connected, ""},
                     {txt::kPop3Messages, "2"},
                     {txt::kPop3OtherRejected, "1"},
                     {txt::kPop3ForAffiliate, "01000000023"},
                     {txt::kPop3Accepted, "2"}})
                log.appendPlainText(ui::Tr(id, {QString::fromLatin1(detail)}));
            transferring(d);
            CheckShown(d, "FormPop3_" + language);
        });
        w.pop3->ShowReceiving(*main);
        // The mailbox over a message with the longest sender and subject, read.
        if (language == "fr") {
            RecordLog log;
            const Lines text{
                kSeparatorLine,
                AddressLine(Kind::PlainMessage, "12345", '1', '2', "01000000017", "0FF00002000"),
                std::string(32, 'A'), kEndMarkerLine, "rapport trimestriel.pdf"};
            log.Add(ReceivedLogRecord(46082.5, "DE LA FONTAINE-MONTMORENCY jean-christophe",
                                      "Rapport trimestriel et pi\xE8"
                                      "ces jointes",
                                      text));
            ASSERT_TRUE(CreatePrivateFolders(ReceivedLogPath(ctx).parent_path()));
            ASSERT_EQ(log.Save(ReceivedLogPath(ctx), {}), SaveResult::Saved);
            w.courrier->ShowMailbox(*main);
            w.courrier->MarkRead(std::span(text), false);
        }
        w.courrier->ShowMailbox(*main);
        CheckShown(*w.courrier, "FormCourrier_" + language);
        w.courrier->hide();
        for (const char category : {'F', 'D', 'A'}) {
            ctx.listCategory = category;
            CheckListWindow(*w.liste,
                            QStringLiteral("FormListe_%1_%2").arg(category).arg(language));
        }
        // The composer in both modes, for the longest addressee line.
        for (const bool rich : {false, true}) {
            const QString firm = QStringLiteral(
                "CABINET D'EXPERTISE COMPTABLE, Service des déclarations, %1 DUPONT-MARTIN "
                "Jean-Christophe");
            w.redac->SetAddressee(language == "fr"
                                      ? "Message destiné au correspondant non enregistré, " +
                                            firm.arg(QStringLiteral("à l'attention de"))
                                      : "Message for the unregistered correspondent, " +
                                            firm.arg(QStringLiteral("for the attention of")),
                                  false);
            w.redac->SetRich(rich);
            w.redac->PrepareNew();
            const auto quoteFile = files.Data() / "devis 2026.pdf";
            const auto plan = files.Data() / "plan.png";
            ASSERT_TRUE(WriteFileAtomically(quoteFile, std::string(184320, 'd')));
            ASSERT_TRUE(WriteFileAtomically(plan, std::string(2400000, 'p')));
            ASSERT_TRUE(w.redac->AddAttachments({QString::fromStdString(quoteFile.string()),
                                                 QString::fromStdString(plan.string())}));
            w.redac->Editor().setPlainText(QStringLiteral("Bonjour,\n\nVoici le devis."));
            CheckShown(*w.redac,
                       QStringLiteral("FormRedac_%1_%2").arg(rich ? "rtf" : "txt", language));
            w.redac->PrepareNew();
            w.redac->hide();
        }
        // The progress of a long job, shown until Annuler stops it.
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->objectName() != ui::kProgressDialogName || !top->isVisible()) continue;
                if (Child<QLabel>(*top, "LabelFichier").text().isEmpty()) continue;
                look.stop();
                CheckShown(*top, "DialogProgression_" + language);
                test::Click(*top, "BoutonAnnuler");
            }
        });
        look.start(20);
        bool cancelled = false;
        (void)ui::RunLongJob(
            main, ui::Tr(txt::kEncryptionCaption),
            [](const ui::JobProgress& progress) {
                while (progress(QStringLiteral("Devis détaillé 2026.pdf"), 40, 100))
                    QThread::msleep(5);
                return false;
            },
            &cancelled);
        EXPECT_TRUE(cancelled);
    }
}

TEST(ClippedTexts, ReportsWhatDoesNotFit) {
    QWidget window;
    auto place = [](QWidget* w, const char* name, int y, int width) {
        w->setObjectName(name);
        w->setGeometry(0, y, width, 30);
    };
    place(new QLabel(QStringLiteral("Ok"), &window), "Fits", 0, 200);
    place(new QLabel(QStringLiteral("Chemin de sauvegarde des certificats:"), &window), "Narrow",
          40, 60);
    place(new QPushButton(QStringLiteral("&Nouvelles clefs"), &window), "Button", 80, 40);
    window.resize(220, 120);
    window.show();
    const QStringList clipped = test::ClippedTexts(window);
    ASSERT_EQ(clipped.size(), 2);
    EXPECT_TRUE(clipped[0].startsWith("Narrow"));
    EXPECT_TRUE(clipped[1].startsWith("Button"));
}

TEST(Translation, EveryTextHasAnEnglishTranslation) {
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(QUARNEL_BIN_DIR "/quarneltit.ENG")));
    QStringList missing;
    std::set<int> ids;
    for (const auto table : AllTextTables()) {
        for (const TextEntry& e : table) {
            EXPECT_TRUE(ids.insert(e.id).second) << "resource " << e.id << " defined twice";
            if (english.translate(kTextContext, e.french).isEmpty()) {
                missing << QStringLiteral("%1 %2").arg(e.id).arg(QString::fromUtf8(e.french));
            }
        }
    }
    EXPECT_TRUE(missing.isEmpty()) << "add to src/resources/quarneltit_en.ts:\n"
                                   << missing.join('\n').toStdString();

    const QString version = english.translate(kTextContext, FrenchText(txt::kVersionCode));
    EXPECT_TRUE(IsHexText(version.toStdString(), 5));
    EXPECT_NE(version.toStdString(), FrenchText(txt::kVersionCode));
}

// Each window's help (its button, F1 or menu) lands on its own topic; every
// topic is in both pages and their contents, and every picture a page shows
// is there.
TEST(Help, EveryWindowHasItsTopicInBothPagesAndEveryImageItsFile) {
    ProgramData data;
    ui::Shell shell(data);
    ui::FormTitulaire& main = shell.Main();
    std::map<QString, int> contexts;
    for (ui::QuarnelDialog* window : main.findChildren<ui::QuarnelDialog*>()) {
        window->ShowHelp();
        contexts[window->objectName()] = main.Help().LastContext();
    }
    main.findChild<QAction*>("Aidecontextuelle")->trigger();
    contexts[main.objectName()] = main.Help().LastContext();
    using namespace ui;
    EXPECT_EQ(contexts, (std::map<QString, int>{{"FormTitulaire", kHelpMain},
                                                {"FormOptions", kHelpOptions},
                                                {"FormAffiliationF", kHelpAffiliation},
                                                {"FormAffiliationD", kHelpAffiliation},
                                                {"FormAffiliationA", kHelpAffiliation},
                                                {"FormDestinataire", kHelpNewCorrespondent},
                                                {"FormListe", kHelpCorrespondents},
                                                {"FormRedac", kHelpWriting},
                                                {"FormTCP_IP", kHelpConnection},
                                                {"FormSmtp", kHelpSending},
                                                {"FormPop3", kHelpReceiving},
                                                {"FormMessage", kHelpReading},
                                                {"FormMsgACerti", kHelpCertification},
                                                {"FormCerti", kHelpCertification},
                                                {"FormCourrier", kHelpMailbox}}));
    for (const char* page : {"QuarnelTit_F.html", "QuarnelTit_E.html"}) {
        QFile file(QStringLiteral(QUARNEL_BIN_DIR "/") + page);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page;
        const QString html = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(html.contains(QStringLiteral("id=\"sommaire\""))) << page;
        for (const int context : ui::kHelpContexts) {
            EXPECT_TRUE(html.contains(QStringLiteral("id=\"h%1\"").arg(context)))
                << page << " " << context;
            EXPECT_TRUE(html.contains(QStringLiteral("href=\"#h%1\"").arg(context)))
                << page << " " << context << " is not in the contents";
        }
        const QRegularExpression image(QStringLiteral("<img src=\"([^\"]+)\""));
        int images = 0;
        for (const auto& m : image.globalMatch(html)) {
            ++images;
            EXPECT_TRUE(QFile::exists(QStringLiteral(QUARNEL_BIN_DIR "/") + m.captured(1)))
                << page << " " << m.captured(1).toStdString();
        }
        EXPECT_GE(images, 10) << page;
    }
}

}  // namespace
}  // namespace quarnel
