// SPDX-License-Identifier: GPL-3.0-or-later
// The composer offscreen, as a person meets it: the one question on each way
// out, attachments with their sizes and the mail's, the formatting keys, the
// default format after the text is emptied, the status panels, the edit
// commands' rules, files opened, saved and printed.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <optional>

#include "app/program_data.h"
#include "messages/windows/form_redac.h"
#include "messages/windows/texts.h"
#include "rtf/rtf.h"
#include "scripted_windows.h"
#include "store/atomic_file.h"
#include "temp_dir.h"
#include "window_test_support.h"
#include "windowkit/modal_runner.h"
#include "windowkit/texts.h"
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

TEST_F(Composer, SavingAsksBeforeReplacingAFileAndAnOpenFileIsSavedInPlace) {
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
    EXPECT_EQ(boxes.Texts(),
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

// Each way out of the composer, with a subject, a text and a file: the one
// question (save, drop, or back to the message), and nothing lost unasked.
TEST_F(Composer, EveryWayOutAsksOnceAndLosesNothingUnasked) {
    const auto a = File("a.txt", "a");
    const auto saved = dir / "lettre.rtf";
    const QString save = Tr(txt::kSaveMessage, {Tr(txt::kFilePlaceholder)});
    const QString unencrypted = Tr(txt::kCloseUnencrypted);
    using Way = std::function<void(FormRedac&)>;
    const Way escape = [](FormRedac& r) { QTest::keyClick(&r.Editor(), Qt::Key_Escape); };
    const Way fermer = [](FormRedac& r) { r.findChild<QAction*>("WindowClose")->trigger(); };
    const Way titleBar = [](FormRedac& r) { r.close(); };
    const Way chiffrer = [](FormRedac& r) {
        QTest::keyClick(&r.Editor(), Qt::Key_Return, Qt::ControlModifier);
    };
    const struct {
        const char* what;
        Way way;
        bool typed;  // text typed (else only the subject and the file)
        std::optional<BoxButton> answer;
        QString question;  // empty: none asked
        int result;        // -1: still open
    } ways[] = {
        {"Escape, back", escape, true, kCancel, save, -1},
        {"Escape, drop", escape, true, kNo, save, QDialog::Rejected},
        {"Fermer, save", fermer, true, kYes, save, QDialog::Rejected},
        {"title bar, back", titleBar, true, kCancel, save, -1},
        {"Chiffrer, back", chiffrer, true, kCancel, save, -1},
        {"Chiffrer without saving", chiffrer, true, kNo, save, QDialog::Accepted},
        {"no text, Escape, back", escape, false, kCancel, unencrypted, -1},
        {"no text, title bar, drop", titleBar, false, kNo, unencrypted, QDialog::Rejected},
    };
    for (const auto& w : ways) {
        boxes.Answer(*w.answer);
        if (w.answer == kYes) SaveDialogAnswers(saved);
        const std::size_t before = boxes.ShownBoxes().size();
        bool open = false;
        const int result = Compose([&](FormRedac& r) {
            test::Type(r, "EditObjet", "Réunion");
            if (w.typed) QTest::keyClicks(&r.Editor(), "Bonjour");
            ASSERT_TRUE(r.AddAttachments({QString::fromStdString(a.string())}));
            w.way(r);
            open = r.isVisible();
            if (!open) return;
            EXPECT_EQ(r.Editor().toPlainText(), w.typed ? "Bonjour" : "");
            EXPECT_EQ(Child<QLineEdit>(r, "EditObjet").text(), "Réunion");
            EXPECT_EQ(data.messages.attachments.size(), 1u);
            boxes.Answer(kNo);  // then dropped, to end the run
            r.WindowCloseClick();
        });
        EXPECT_EQ(open ? -1 : result, w.result) << w.what;
        ASSERT_GT(boxes.ShownBoxes().size(), before) << w.what;
        const auto& asked = boxes.ShownBoxes()[std::size_t(before)];
        EXPECT_EQ(asked.text, w.question) << w.what;
        if (w.result == QDialog::Rejected) {
            EXPECT_EQ(boxes.ShownBoxes().size(), before + 1) << w.what << ": asked once";
            EXPECT_TRUE(data.messages.attachments.empty()) << w.what;
        }
        if (w.result == QDialog::Accepted) {
            EXPECT_EQ(data.messages.subject, ToCp1252("Réunion"));
            EXPECT_EQ(data.messages.attachments, std::vector<std::filesystem::path>{a});
        }
    }
    // The buttons say what they do.
    const auto captions = boxes.ShownBoxes().front().captions;
    EXPECT_EQ(captions, (ButtonCaptions{{kYes, Tr(txt::kSaveText)},
                                        {kNo, Tr(txt::kCloseWithoutSaving)},
                                        {kCancel, Tr(txt::kBackToMessage)}}));
    EXPECT_TRUE(ReadWholeFile(saved)->starts_with("{\\rtf"));
    // Nothing to lose: no question.
    const std::size_t before = boxes.ShownBoxes().size();
    EXPECT_EQ(Compose(escape), QDialog::Rejected);
    EXPECT_EQ(boxes.ShownBoxes().size(), before);
}

// Files chosen twice are appended, each shown with its size, one comes off;
// the mail's size is shown, and past the 25 MB many providers accept the
// person is told before the encryption and may go on. The limits: files per
// message, subject length.
TEST_F(Composer, AttachmentsShowTheirSizesOneComesOffAndAMailOver25MBIsAnnounced) {
    const auto big = File("film.bin", "");
    std::filesystem::resize_file(big, 9'000'000);
    const auto small = File("plan.txt", std::string(1500, 'p'));
    runner.Always(kOpenDialogName, [&](QDialog& d) {
        AcceptFileDialog(
            d, QString::fromStdString((data.messages.attachments.empty() ? big : small).string()));
    });
    EXPECT_EQ(Compose([&](FormRedac& r) {
                  test::Type(r, "EditObjet", QString(kMaxSubjectLength + 1, u's'));
                  EXPECT_EQ(Child<QLineEdit>(r, "EditObjet").text().size(), kMaxSubjectLength);
                  r.SpeedBtnAttacheClick();
                  r.SpeedBtnAttacheClick();
                  EXPECT_EQ(Panel("LabelAttache"), "film.bin (9,0 Mo), plan.txt (1,5 Ko)");
                  EXPECT_EQ(Panel("LabelTaille"), "Courrier : environ 26 Mo");
                  r.ChiffrerClick();  // announced; back to the message
                  ASSERT_TRUE(r.isVisible());
                  r.RemoveAttachment(0);
                  EXPECT_EQ(Panel("LabelAttache"), "plan.txt (1,5 Ko)");
                  EXPECT_EQ(Panel("LabelTaille"), "Courrier : environ 6,2 Ko");
                  ASSERT_TRUE(r.AddAttachments({QString::fromStdString(big.string())}));
                  boxes.Answer(kYes);
                  r.ChiffrerClick();  // announced again, and encrypted all the same
              }),
              QDialog::Accepted);
    EXPECT_EQ(boxes.Texts(), QStringList(2, Tr(txt::kMailTooLarge, {"26 Mo", "25 Mo"})));
    EXPECT_EQ(data.messages.attachments, (std::vector<std::filesystem::path>{small, big}));
    redac.RemoveAttachment(1);
    redac.RemoveAttachment(0);
    EXPECT_EQ(Panel("LabelAttache"), "Aucun fichier attaché");
    auto& remove = Child<QToolButton>(redac, "SpeedBtnRetirer");
    EXPECT_FALSE(remove.isEnabled());
    EXPECT_EQ(remove.toolTip(), Tr(txt::kTipRemoveNothing));

    EXPECT_TRUE(redac.AddAttachments(QStringList(qsizetype(kMaxComposerAttachments), "/f")));
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
        QTextCursor firstLine = r.Editor().textCursor();
        firstLine.movePosition(QTextCursor::Start);
        firstLine.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        r.Editor().setTextCursor(firstLine);
        r.PrintClick();
        r.Editor().selectAll();
        r.Editor().insertPlainText("Ω");
        r.SaveClick();  // refused: the file could not hold it
        r.WindowCloseClick();
    });
    EXPECT_TRUE(boxes.Texts().first().startsWith(
        "Le fichier " + QString::fromStdString(big.string()) + " est trop grand"));
    EXPECT_EQ(
        boxes.Texts()
            .filter("Ces caractères ne peuvent pas être enregistrés dans un fichier texte : Ω")
            .size(),
        1);
    EXPECT_EQ(ReadWholeFile(txt), "Caf\xE9\r\nfin");
    // Compatibility form: the PDF may set "fi" as one ligature.
    const QString printed = test::PdfText(QString::fromStdString(pdf.string()))
                                .normalized(QString::NormalizationForm_KC);
    EXPECT_TRUE(printed.contains("Café") && !printed.contains("fin")) << printed.toStdString();
}

}  // namespace
}  // namespace quarnel::ui
