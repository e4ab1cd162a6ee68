// The composer offscreen, as a person meets it: the save question on each way
// of closing, Escape, attachments, the formatting keys, the default format
// after the text is emptied, the status panels, the edit commands' rules,
// files opened, saved and printed.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTextEdit>

#include "app/program_data.h"
#include "messages/windows/form_redac.h"
#include "messages/windows/texts.h"
#include "rtf/rtf.h"
#include "scripted_windows.h"
#include "store/atomic_file.h"
#include "temp_dir.h"
#include "window_test_support.h"
#include "windowkit/modal_runner.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {
namespace {

using test::Child;

class Composer : public ::testing::Test {
  protected:
    void SetUp() override {
        data.dataFolder = dir.path();
        data.settings.msgToSendFolder = dir.path().string() + "/";
        data.settings.filesToSendFolder = dir.path().string() + "/";
        redac.SetAddressee("Message destiné au correspondant, DUPONT Jean", true);
        redac.SetRich(true);
    }
    /// Runs the composer for a new message; `act` plays the person.
    int Compose(const std::function<void(FormRedac&)>& act) {
        runner.Once("FormRedac", [&](QDialog&) { act(redac); });
        return redac.Compose();
    }
    QTextEdit& Editor() { return redac.Editor(); }
    QString Panel(const char* name) { return Child<QLabel>(redac, name).text(); }
    QAction& Action(const char* name) { return *redac.findChild<QAction*>(name); }
    std::filesystem::path File(const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(WriteFileAtomically(dir / name, bytes));
        return dir / name;
    }
    void SaveDialogAnswers(const std::filesystem::path& path) {
        runner.Once(kSaveDialogName, [path](QDialog& d) {
            AcceptFileDialog(d, QString::fromStdString(path.string()));
        });
    }

    test::TempDir dir;
    ProgramData data;
    FormRedac redac{data, data.messages, nullptr};
    ScriptedMessageBoxes boxes;
    ScriptedModalRunner runner;
};

TEST_F(Composer, EveryWayOfClosingAsksToSaveAModifiedTextAndNoStillEncrypts) {
    // Chiffrer with a text never saved: the question names the placeholder.
    boxes.Answer(kNo);
    EXPECT_EQ(Compose([](FormRedac& r) {
                  test::Type(r, "EditObjet", "Réunion");
                  QTest::keyClicks(&r.Editor(), "Bonjour");
                  QTest::keyClick(&r.Editor(), Qt::Key_Return, Qt::ControlModifier);
              }),
              QDialog::Accepted);
    EXPECT_EQ(boxes.Texts(),
              QStringList{"Voulez-vous enregistrer le message dans un fichier à désigner?"});
    EXPECT_EQ(data.messages.subject, ToCp1252("Réunion"));
    EXPECT_EQ(redac.PlainText(), "Bonjour");

    // Yes saves through the save dialog; an existing file asks before it is
    // replaced, and No shows the dialog again.
    const auto taken = File("pris.txt", "ancien");
    const auto saved = dir / "lettre.rtf";
    SaveDialogAnswers(taken);
    SaveDialogAnswers(saved);
    boxes.Answer(kYes);  // save?
    boxes.Answer(kNo);   // overwrite pris.txt?
    EXPECT_EQ(Compose([](FormRedac& r) {
                  QTest::keyClicks(&r.Editor(), "Texte");
                  r.close();  // the title bar
              }),
              QDialog::Rejected);
    EXPECT_EQ(boxes.Texts().mid(1),
              (QStringList{
                  "Voulez-vous enregistrer le message dans un fichier à "
                  "désigner?",
                  "Etes-vous d'accord d'écraser " + QString::fromStdString(taken.string()) + "?",
              }));
    EXPECT_EQ(ReadWholeFile(taken), "ancien");
    const auto rtf = ReadWholeFile(saved);
    ASSERT_TRUE(rtf);
    EXPECT_TRUE(rtf->starts_with("{\\rtf"));
    EXPECT_EQ(redac.CurrentFileName(), QString::fromStdString(saved.string()));
    EXPECT_EQ(Panel("PanelModified"), "");

    // A file that is open: the question names it, and Yes writes it in place.
    EXPECT_EQ(Compose([&](FormRedac& r) {
                  r.OpenFile(QString::fromStdString(saved.string()));
                  EXPECT_EQ(r.Editor().toPlainText(), "Texte");
                  QTest::keyClicks(&r.Editor(), "Encore ");
                  EXPECT_EQ(Panel("PanelModified"), "Modifié");
                  boxes.Answer(kYes);
                  r.ChiffrerClick();
              }),
              QDialog::Accepted);
    EXPECT_EQ(boxes.Texts().last(), "Voulez-vous sauver les modifications dans " +
                                        QString::fromStdString(saved.string()) + "?");
    QTextDocument reread;
    ASSERT_TRUE(ReadRtf(*ReadWholeFile(saved), reread));
    EXPECT_EQ(reread.toPlainText(), "Encore Texte");
}

TEST_F(Composer, EscapeLosesTextAndAttachmentsWithoutAQuestionAndTheSubjectHasItsLimit) {
    const auto a = File("a.txt", "a");
    EXPECT_EQ(Compose([&](FormRedac& r) {
                  test::Type(r, "EditObjet", QString(kMaxSubjectLength + 1, u's'));
                  EXPECT_EQ(Child<QLineEdit>(r, "EditObjet").text().size(), kMaxSubjectLength);
                  QTest::keyClicks(&r.Editor(), QString(300, u'x'));
                  ASSERT_TRUE(r.AddAttachments({QString::fromStdString(a.string())}));
                  QTest::keyClick(&r.Editor(), Qt::Key_Escape);
              }),
              QDialog::Rejected);
    EXPECT_TRUE(boxes.Texts().isEmpty());
    EXPECT_TRUE(redac.Editor().toPlainText().isEmpty());
    EXPECT_TRUE(data.messages.attachments.empty());
    EXPECT_TRUE(data.messages.subject.empty());
    EXPECT_EQ(Child<QLabel>(redac, "LabelAttache").text(), "Aucun fichier attaché");
}

TEST_F(Composer, AttachmentsChosenTwiceAreAppendedUpToTheLimit) {
    const auto a = File("a.txt", "a");
    const auto b = File("b.pdf", "b");
    runner.Always(kOpenDialogName, [&](QDialog& d) {
        AcceptFileDialog(
            d, QString::fromStdString((data.messages.attachments.empty() ? a : b).string()));
    });
    Compose([](FormRedac& r) {
        r.SpeedBtnAttacheClick();
        r.SpeedBtnAttacheClick();
        r.ChiffrerClick();
    });
    EXPECT_EQ(data.messages.attachments, (std::vector<std::filesystem::path>{a, b}));
    EXPECT_EQ(Child<QLabel>(redac, "LabelAttache").text(), "a.txt, b.pdf");

    QStringList many;
    for (std::size_t i = 2; i < kMaxComposerAttachments; ++i)
        many << "/f";
    EXPECT_TRUE(redac.AddAttachments(many));
    EXPECT_EQ(data.messages.attachments.size(), kMaxComposerAttachments);
    EXPECT_FALSE(redac.AddAttachments({"/g"}));
    EXPECT_EQ(data.messages.attachments.size(), kMaxComposerAttachments);
    EXPECT_EQ(boxes.Texts().last(), "Un message ne peut porter plus de 1000 fichiers attachés.");
}

TEST_F(Composer, KeysFormatWithoutTypingAndTheStatusFollowsTheCaret) {
    Compose([&](FormRedac& r) {
        QTextEdit& e = r.Editor();
        EXPECT_EQ(Panel("PanelPosition"), "Ligne :   1   Colonne :   1");
        EXPECT_EQ(Panel("PanelModified"), "");
        QTest::keyClick(&e, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(&e, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(&e, Qt::Key_E, Qt::ControlModifier);
        QTest::keyClicks(&e, "ab");
        QTest::keyClick(&e, Qt::Key_Tab);
        EXPECT_EQ(e.toPlainText(), "ab\t");
        EXPECT_TRUE(e.currentCharFormat().fontItalic());
        EXPECT_EQ(e.currentCharFormat().fontWeight(), QFont::Bold);
        EXPECT_EQ(e.alignment(), Qt::AlignHCenter);
        EXPECT_TRUE(Action("ItalicButton").isChecked());
        EXPECT_TRUE(Action("CenterAlign").isChecked());
        QTest::keyClick(&e, Qt::Key_Return);
        QTest::keyClicks(&e, "c");
        EXPECT_EQ(Panel("PanelPosition"), "Ligne :   2   Colonne :   2");
        EXPECT_EQ(Panel("PanelModified"), "Modifié");
        r.WindowCloseClick();
    });

    // Plain mode: no formatting, and still no tab from Ctrl+I.
    redac.SetRich(false);
    Compose([&](FormRedac& r) {
        QTest::keyClick(&r.Editor(), Qt::Key_I, Qt::ControlModifier);
        QTest::keyClicks(&r.Editor(), "z");
        EXPECT_EQ(r.Editor().toPlainText(), "z");
        EXPECT_FALSE(r.Editor().currentCharFormat().fontItalic());
        EXPECT_FALSE(Child<QWidget>(r, "ToolBarFormat").isVisible());
        r.WindowCloseClick();
    });
}

TEST_F(Composer, EmptyingTheTextByCutOrDeleteBringsBackTheDefaultFormat) {
    Compose([&](FormRedac& r) {
        QTextEdit& e = r.Editor();
        const QTextCharFormat initial = e.currentCharFormat();
        for (const bool byCut : {true, false}) {
            QTextCharFormat red;
            red.setForeground(QColor(0xFF0000));
            red.setFontPointSize(30);
            e.mergeCurrentCharFormat(red);
            QTest::keyClicks(&e, "rouge");
            e.selectAll();
            if (byCut) {
                Action("CutButton").trigger();
            } else {
                QTest::keyClick(&e, Qt::Key_Delete);
            }
            QTest::keyClicks(&e, "x");
            EXPECT_EQ(e.currentCharFormat().foreground().color(), QColor(Qt::black)) << byCut;
            EXPECT_EQ(e.currentCharFormat().fontPointSize(), initial.fontPointSize()) << byCut;
            e.clear();
        }
        r.WindowCloseClick();
    });
}

TEST_F(Composer, EditCommandsAreUsableOnlyWhenTheyCanActAndSayWhyOtherwise) {
    QApplication::clipboard()->clear();
    Compose([&](FormRedac& r) {
        QTextEdit& e = r.Editor();
        for (const char* a : {"CutButton", "CopyButton", "UndoButton", "PasteButton"})
            EXPECT_FALSE(Action(a).isEnabled()) << a;
        EXPECT_EQ(Action("CutButton").toolTip(), "Couper : aucun texte n'est sélectionné.");
        EXPECT_EQ(Action("PasteButton").toolTip(),
                  "Coller : le presse-papiers ne contient pas de texte.");
        QTest::keyClicks(&e, "mot");
        EXPECT_TRUE(Action("UndoButton").isEnabled());
        EXPECT_FALSE(Action("CopyButton").isEnabled());
        e.selectAll();
        EXPECT_TRUE(Action("CutButton").isEnabled());
        EXPECT_TRUE(Action("CopyButton").isEnabled());
        Action("CopyButton").trigger();
        EXPECT_TRUE(Action("PasteButton").isEnabled());
        r.WindowCloseClick();
    });
}

TEST_F(Composer, FilesOpenedAndPrintedAsThePersonChose) {
    // A plain text file: code page 1252 with CR LF, read and written back as such.
    redac.SetRich(false);
    const auto txt = File("lettre.txt", "Caf\xE9\r\nfin");
    const auto big = File("gros.txt", "");
    std::filesystem::resize_file(big, kMaxComposerFileBytes + 1);
    const auto pdf = dir / "page.pdf";
    runner.Once("PrintDialog", [&](QDialog& d) {
        auto& print = static_cast<QPrintDialog&>(d);
        EXPECT_TRUE(print.testOption(QAbstractPrintDialog::PrintSelection));
        EXPECT_EQ(print.printRange(), QAbstractPrintDialog::Selection);
        d.accept();
        print.printer()->setOutputFormat(QPrinter::PdfFormat);
        print.printer()->setOutputFileName(QString::fromStdString(pdf.string()));
    });
    std::string lines;
    constexpr int kLines = kMaxComposerFileBytes / 80;
    for (int i = 0; i < kLines; ++i)
        lines += std::string(78, 'a') + "\r\n";
    lines.resize(kMaxComposerFileBytes, 'a');
    const auto atLimit = File("limite.txt", lines);
    Compose([&](FormRedac& r) {
        r.OpenFile(QString::fromStdString(big.string()));
        EXPECT_TRUE(r.Editor().toPlainText().isEmpty());
        r.OpenFile(QString::fromStdString(atLimit.string()));
        EXPECT_EQ(r.Editor().document()->characterCount() - 1, kMaxComposerFileBytes - kLines);
        r.OpenFile(QString::fromStdString(txt.string()));
        EXPECT_EQ(r.PlainText(), "Café\r\nfin");
        r.Editor().insertPlainText(QStringLiteral("\u00A0"));
        EXPECT_EQ(ToCp1252(r.PlainText()),
                  "\xA0"
                  "Caf\xE9\r\nfin");
        r.Editor().undo();
        r.Editor().selectAll();
        r.PrintClick();
        r.Editor().insertPlainText("Ω");
        r.SaveClick();  // refused: the file could not hold it
        r.WindowCloseClick();
    });
    EXPECT_TRUE(boxes.Texts().first().startsWith(
        "Le fichier " + QString::fromStdString(big.string()) + " est trop grand"));
    EXPECT_TRUE(boxes.Texts().last().startsWith(
        "Ces caractères ne peuvent pas être enregistrés dans un fichier texte : Ω"));
    EXPECT_EQ(ReadWholeFile(txt), "Caf\xE9\r\nfin");
    EXPECT_GT(std::filesystem::file_size(pdf), 0u);
}

}  // namespace
}  // namespace quarnel::ui
