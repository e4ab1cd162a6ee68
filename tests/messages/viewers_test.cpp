// SPDX-License-Identifier: GPL-3.0-or-later
// The viewers offscreen: a received block decrypted and shown with its sender,
// attachments and copy; the save step on closing and the overwrite question;
// printing the selection or everything; the Certification command's Busy and
// the files it refuses or cannot confirm. (Certification through a real
// authority: the e2e road.)

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest/QTest>

#include "holder/program_state.h"
#include "holder_fixture.h"
#include "messages/certification.h"
#include "messages/texts.h"
#include "messages/windows/commands.h"
#include "messages/windows/form_certi.h"
#include "messages/windows/form_message.h"
#include "messages/windows/form_msg_a_certi.h"
#include "messages/windows/texts.h"
#include "rtf/rtf.h"
#include "scripted_windows.h"
#include "window_host.h"
#include "window_test_support.h"
#include "windowkit/long_job.h"
#include "windowkit/modal_runner.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {
namespace {

using test::Child;
using test::Click;
using test::PdfText;

using Host = test::WindowHost;

QColor TextColour(const QWidget& w) {
    return w.palette().color(QPalette::WindowText);
}

std::string FileBytes(const std::filesystem::path& path) {
    return ReadWholeFile(path).value_or("<missing>");
}

class Viewers : public test::TwoHolders {
  protected:
    std::filesystem::path MessagesFolder(const test::Holder& h) {
        return PathFromSetting(h->settings.decryptedMsgFolder);
    }
    /// The file dialog `name` answered with `path`.
    void Choose(const char* name, const std::filesystem::path& path) {
        runner.Once(name, [path](QDialog& d) {
            AcceptFileDialog(d, QString::fromStdString(path.string()));
        });
    }
    void SaveAs(const std::filesystem::path& path) { Choose(kSaveDialogName, path); }

    ScriptedMessageBoxes boxes;
    ScriptedModalRunner runner;
    Host host;
};

TEST_F(Viewers, AReceivedBlockShowsItsSenderAttachmentsInOrderAndCopies) {
    const std::vector<std::filesystem::path> files{
        WriteFile("a.txt", "un"), WriteFile("b.pdf", "deux"), WriteFile("c.png", "trois")};
    ASSERT_TRUE(Encrypt(x, y, "Bonjour\r\nla suite", false, files).ok);
    Deliver(x, y);
    Lines block = x.body;

    FormMessage viewer(*y, nullptr);
    FormCerti certi(*y, nullptr);
    QStringList opened;
    const auto record = [&opened](const QString& path) {
        opened << path;
        return true;
    };
    viewer.openAttachment = record;
    IncomingBlock incoming(*y, y->authority, y->messages, host, viewer, certi);
    runner.Once("FormMessage", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), Tr(txt::kCaptionReading));
        EXPECT_EQ(Child<QLabel>(d, "LbNom").text(), "MARTIN claire");
        EXPECT_EQ(Child<QLabel>(d, "LbObjet").text(), "le sujet");
        EXPECT_EQ(Child<QLabel>(d, "LbHachage").text(),
                  QString::fromStdString(y->messages.decrypted.digest));
        auto& sender = Child<QGroupBox>(d, "GroupBoxExp");
        EXPECT_EQ(sender.title(), Tr(txt::kSenderRegistered));
        EXPECT_EQ(TextColour(sender), VerdictColour(true));
        auto& confirmation = Child<QLabel>(d, "LbConfirmation");
        EXPECT_EQ(confirmation.text(), Tr(txt::kIdentityConfirmed));
        EXPECT_EQ(TextColour(confirmation), VerdictColour(true));

        EXPECT_TRUE(Child<QToolButton>(d, "ButtonAgrafe").isVisible());
        // A disabled note that the signature does not cover them, then the files.
        QStringList items;
        const QList<QAction*> actions = Child<QMenu>(d, "MenuAgrafe").actions();
        for (QAction* a : actions)
            items << (a->isEnabled() ? a->text() : "(" + a->text() + ")");
        EXPECT_EQ(items, QStringList({"(" + Tr(txt::kAttachmentsNotSigned) + ")", "", "a.txt",
                                      "b.pdf", "c.png"}));
        actions[3]->trigger();
        EXPECT_EQ(opened, QStringList{QString::fromStdString((y.Decrypted() / "b.pdf").string())});
        // With no program to open it: where the file is.
        viewer.openAttachment = [](const QString&) { return false; };
        actions[4]->trigger();

        auto& copy = Child<QToolButton>(d, "CopyButton");
        EXPECT_FALSE(copy.isEnabled());
        EXPECT_EQ(copy.toolTip(), Tr(txt::kTipNothingSelected));
        Click(d, "ButtonSelection");
        ASSERT_TRUE(copy.isEnabled());
        QApplication::clipboard()->clear();
        QApplication::setActiveWindow(&d);
        auto& editeur = Child<QTextEdit>(d, "Editeur");
        editeur.setFocus();
        QTest::keyClick(&editeur, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), "Bonjour\nla suite");
        EXPECT_EQ(y->information, txt::kMessageCopied);
        // Escape closes without the save step.
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    ASSERT_EQ(incoming.Process(block, QStringLiteral("le sujet")), BlockOutcome::Taken);
    EXPECT_EQ(runner.Runs(), QStringList{"FormMessage"});
    EXPECT_EQ(y->information, txt::kMessageDecrypted);
    EXPECT_EQ(
        boxes.Texts(),
        QStringList{Tr(txt::kAttachmentNotOpened,
                       {"c.png", QString::fromStdString(y.Decrypted().parent_path().string())})});

    // Opened again (the mailbox): nothing is written until an attachment is
    // chosen, then that one only (the generator brought to it through the
    // first), once, under a free name.
    const auto written = [&] {
        return std::distance(std::filesystem::directory_iterator(y.Decrypted()), {});
    };
    const auto before = written();
    opened.clear();
    viewer.openAttachment = record;
    runner.Once("FormMessage", [&](QDialog& d) {
        EXPECT_EQ(written(), before);
        for (int i = 0; i < 2; ++i)
            Child<QMenu>(d, "MenuAgrafe").actions()[3]->trigger();
    });
    block = x.body;
    ASSERT_EQ(incoming.Process(block, {}, IncomingBlock::Attachments::OnDemand),
              BlockOutcome::Taken);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], opened[1]);
    EXPECT_EQ(FileBytes(opened[0].toStdString()), "deux");
    EXPECT_EQ(written(), before + 1);

    // From an unregistered sender, without attachments: maroon, no menu.
    ASSERT_TRUE(RoundTrip(y, x, "court").ok);
    viewer.Fill(x->messages.decrypted, {});
    viewer.show();
    EXPECT_FALSE(Child<QToolButton>(viewer, "ButtonAgrafe").isVisible());
    EXPECT_EQ(Child<QGroupBox>(viewer, "GroupBoxExp").title(), Tr(txt::kSenderUnregistered));
    EXPECT_EQ(TextColour(Child<QGroupBox>(viewer, "GroupBoxExp")), VerdictColour(false));
    viewer.reject();
    // The message's notice stands above the attachments' heading and notices.
    DecryptedMessage noticed = x->messages.decrypted;
    noticed.notices = {{txt::kAttachmentUndecipherable, "a.txt"}, {txt::kRecipientNotHolder, ""}};
    viewer.Fill(noticed, {});
    EXPECT_EQ(Child<QLabel>(viewer, "LbAvis").text(),
              QStringList({Tr(txt::kRecipientNotHolder), Tr(txt::kAttachmentNotices),
                           Tr(txt::kAttachmentUndecipherable, {"a.txt"})})
                  .join('\n'));

    // A block that does not decrypt is refused without a window.
    block = x.body;
    block[5][3] = block[5][3] == '1' ? '2' : '1';
    EXPECT_EQ(incoming.Process(block), BlockOutcome::Refused);
    EXPECT_EQ(runner.Runs().size(), 2);  // no third viewer
}

// Annuler during the second attachment: the first one, already written, goes
// too, nothing is shown and the previous message stands. (What counts as a
// stop, and that a late Annuler is none, is the long job's.)
TEST_F(Viewers, CancellingTheDecryptionKeepsNoAttachmentAndShowsNothing) {
    const auto first = WriteFile("premier.bin", std::string(3000, 'p'));
    ASSERT_TRUE(Encrypt(x, y, "gros", false, {first, WriteFile("second.bin", "s")}).ok);
    Deliver(x, y);
    Lines block = x.body;
    FormMessage viewer(*y, nullptr);
    FormCerti certi(*y, nullptr);
    IncomingBlock incoming(*y, y->authority, y->messages, host, viewer, certi);
    const auto firstSize = std::filesystem::file_size(y.Received() / "premier.bin");
    incoming.runJob = [&](QWidget*, const QString&, const auto& job, bool*) {
        return job(
            [&](const QString&, std::uint64_t done, std::uint64_t) { return done <= firstSize; });
    };
    y->messages.decrypted.digest = "avant";
    EXPECT_EQ(incoming.Process(block), BlockOutcome::Cancelled);
    EXPECT_TRUE(runner.Runs().isEmpty());
    EXPECT_TRUE(std::filesystem::is_empty(y.Decrypted()));
    EXPECT_EQ(y->messages.decrypted.digest, "avant");
    EXPECT_EQ(y->information, txt::kIdle);
}

// Closing offers the save once, and No to overwrite asks again; printing
// takes the selection only when there is one.
TEST_F(Viewers, ClosingOffersTheSaveOnceNoToOverwriteAsksAgainAndPrintingTakesTheSelection) {
    ASSERT_TRUE(RoundTrip(x, y, "Premier message").ok);
    FormMessage viewer(*y, nullptr);
    viewer.Fill(y->messages.decrypted, {});
    viewer.show();
    EXPECT_EQ(viewer.FileName(), Tr(txt::kFilePlaceholder));
    const std::filesystem::path path = MessagesFolder(y) / "lettre.txt";
    runner.Once(kSaveDialogName, [path](QDialog& d) {
        // A plain message is offered as text first.
        EXPECT_EQ(static_cast<QFileDialog&>(d).selectedNameFilter(), Tr(txt::kFilterTxt));
        AcceptFileDialog(d, QString::fromStdString(path.string()));
    });
    Click(viewer, "ButtonRetour");
    EXPECT_FALSE(viewer.isVisible());
    const std::string first = SavedMessageBytes(y->messages.decrypted);
    EXPECT_EQ(FileBytes(path), first);
    EXPECT_EQ(viewer.FileName().toStdString(), path.string());
    viewer.show();
    Click(viewer, "ButtonRetour");  // saved once: no question
    EXPECT_EQ(runner.Runs().count(kSaveDialogName), 1);

    // A new message over the same name: No shows the dialog again, whose
    // cancel saves nothing and still closes.
    ASSERT_TRUE(RoundTrip(x, y, "Ligne choisie\r\nAutre ligne").ok);
    viewer.Fill(y->messages.decrypted, {});
    viewer.show();
    SaveAs(path);
    boxes.Answer(kNo);
    Click(viewer, "ButtonRetour");
    EXPECT_EQ(boxes.Texts(), QStringList{Tr(txt::kOverwrite, {"lettre.txt"})});
    EXPECT_EQ(runner.Runs().count(kSaveDialogName), 3);
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(FileBytes(path), first);

    // Yes overwrites; a name the program takes for one of its files is
    // refused in any folder, there or not.
    viewer.show();
    SaveAs(path);
    boxes.Answer(kYes);
    Click(viewer, "SaveButton");
    EXPECT_EQ(FileBytes(path), SavedMessageBytes(y->messages.decrypted));
    ASSERT_TRUE(WriteFileAtomically(y->KeyStorePath(), "clefs"));
    SaveAs(y->KeyStorePath());
    Click(viewer, "SaveButton");
    EXPECT_EQ(boxes.Texts().last(), Tr(txt::kOwnFileRefused, {"QuarnelTit.kpr"}));
    EXPECT_EQ(FileBytes(y->KeyStorePath()), "clefs");
    SaveAs(y.Decrypted() / "QuarnelTit.ini");  // not there (the names: the store's test)
    Click(viewer, "SaveButton");
    EXPECT_EQ(boxes.Texts().last(), Tr(txt::kOwnFileRefused, {"QuarnelTit.ini"}));
    EXPECT_FALSE(std::filesystem::exists(y.Decrypted() / "QuarnelTit.ini"));

    // Printing: the selection only when there is one.
    auto print = [&](bool expectSelection, const QString& pdf) {
        runner.Once("PrintDialog", [=](QDialog& d) {
            auto& dialog = static_cast<QPrintDialog&>(d);
            EXPECT_EQ(dialog.testOption(QAbstractPrintDialog::PrintSelection), expectSelection);
            EXPECT_EQ(dialog.printRange() == QAbstractPrintDialog::Selection, expectSelection);
            dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog.printer()->setOutputFileName(pdf);
            d.setResult(QDialog::Accepted);
            d.hide();
        });
        Click(viewer, "PrintButton");
        return PdfText(pdf);
    };
    auto& editeur = Child<QTextEdit>(viewer, "Editeur");
    QTextCursor c = editeur.textCursor();
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    editeur.setTextCursor(c);
    const QString dir = QString::fromStdString(root.path().string());
    const QString selection = print(true, dir + "/selection.pdf");
    EXPECT_TRUE(selection.contains("Ligne choisie")) << selection.toStdString();
    EXPECT_FALSE(selection.contains("Autre ligne"));
    editeur.moveCursor(QTextCursor::Start);
    const QString all = print(false, dir + "/tout.pdf");
    EXPECT_TRUE(all.contains(Tr(txt::kHeaderTitle)) && all.contains("Autre ligne"))
        << all.toStdString();
    viewer.reject();
}

TEST_F(Viewers, TheCertificationCommandHoldsBusyAndRefusesWhatIsNoSavedMessage) {
    FormMsgACerti form(*y, nullptr);
    int sent = 0;
    QObject::connect(&form, &FormMsgACerti::CertifyRequested, [&sent] { ++sent; });
    CertificationCommand command(*y, host, form);
    const auto open = [this](const std::filesystem::path& path) { Choose(kOpenDialogName, path); };
    const std::filesystem::path folder = MessagesFolder(y);

    ASSERT_TRUE(WriteFileAtomically(folder / "court.txt", "une lettre\r\nordinaire\r\n"));
    open(folder / "court.txt");
    command.Run();
    EXPECT_EQ(boxes.Texts(), QStringList{Tr(txt::kNotASavedMessage, {"court.txt"})});
    EXPECT_FALSE(y->busy);

    // A file at the size limit is read; one byte past it is refused before.
    const std::filesystem::path big = folder / "grand.txt";
    ASSERT_TRUE(WriteFileAtomically(big, ""));
    std::filesystem::resize_file(big, kMaxSavedMessageBytes);
    open(big);
    command.Run();
    EXPECT_EQ(boxes.Texts().last(), Tr(txt::kNotASavedMessage, {"grand.txt"}));
    std::filesystem::resize_file(big, kMaxSavedMessageBytes + 1);
    open(big);
    command.Run();
    EXPECT_EQ(boxes.Texts().last(), Tr(txt::kSavedMessageTooLarge, {"grand.txt", "64"}));

    ASSERT_TRUE(RoundTrip(x, y, "A certifier").ok);
    ASSERT_TRUE(WriteFileAtomically(folder / "bon.txt", SavedMessageBytes(y->messages.decrypted)));
    open(folder / "bon.txt");
    runner.Once("FormMsgACerti", [&](QDialog& d) {
        EXPECT_TRUE(y->busy);
        EXPECT_EQ(d.windowTitle(), Tr(txt::kCaptionCertification));
        Click(d, "ButtonCertifier");
        EXPECT_EQ(d.result(), QDialog::Accepted);
    });
    command.Run();
    EXPECT_EQ(sent, 1);
    EXPECT_FALSE(y->busy);
    // Altered: the window says so in maroon, and its certifier is off and says why.
    std::string altered = SavedMessageBytes(y->messages.decrypted);
    altered[altered.rfind("A certifier")] = 'a';
    ASSERT_TRUE(WriteFileAtomically(folder / "altere.txt", altered));
    open(folder / "altere.txt");
    runner.Once("FormMsgACerti", [&](QDialog& d) {
        const auto& verdict = Child<QLabel>(d, "LbConfirmation");
        EXPECT_EQ(verdict.text(), Tr(txt::kDigestNotConfirmed));
        EXPECT_EQ(TextColour(verdict), VerdictColour(false));
        const auto& certifier = Child<QToolButton>(d, "ButtonCertifier");
        EXPECT_FALSE(certifier.isEnabled());
        EXPECT_EQ(certifier.toolTip(), Tr(txt::kNothingToCertify));
        d.reject();
    });
    command.Run();
    EXPECT_EQ(sent, 1);
    // Rich text under a .txt name: its text is what the digest is checked on.
    QTextDocument doc;
    QString lines = FromCp1252(SavedMessageBytes(y->messages.decrypted));
    doc.setPlainText(lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    ASSERT_TRUE(WriteFileAtomically(folder / "riche.txt", WriteRtf(doc)));
    open(folder / "riche.txt");
    runner.Once("FormMsgACerti", [&](QDialog& d) {
        EXPECT_EQ(Child<QLabel>(d, "LbConfirmation").text(), Tr(txt::kDigestConfirmed));
        d.reject();
    });
    command.Run();
    // The open dialog starts in the folder of decrypted messages; cancelled,
    // it does nothing.
    QString start;
    runner.Once(kOpenDialogName, [&](QDialog& d) {
        start = static_cast<QFileDialog&>(d).directory().absolutePath();
    });
    command.Run();
    EXPECT_EQ(start, QDir(QString::fromStdString(folder.string())).absolutePath());
    EXPECT_EQ(runner.Runs().count("FormMsgACerti"), 3);
    EXPECT_FALSE(y->busy);
}

}  // namespace
}  // namespace quarnel::ui
