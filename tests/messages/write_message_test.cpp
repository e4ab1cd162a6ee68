// SPDX-License-Identifier: GPL-3.0-or-later
// From a chosen correspondent to a queued encrypted message, offscreen,
// between two holders made with the authority's issuing arithmetic: the
// composer, the code page check, the encryption under the progress dialog,
// the queued record, and its reading at the recipient.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>

#include "holder_fixture.h"
#include "mail/outgoing_queue.h"
#include "mail/windows/commands.h"
#include "messages/texts.h"
#include "messages/windows/form_redac.h"
#include "messages/windows/write_message.h"
#include "rtf/rtf.h"
#include "scripted_windows.h"
#include "window_host.h"
#include "window_test_support.h"
#include "windowkit/long_job.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {
namespace {

using test::Child;

// What the main window is told: its state evaluated (busy or not, Expédition
// enabled or not), its information line reset.
class Host : public test::WindowHost {
  public:
    Host(HolderContext& ctx, MailState& mail) : ctx_(ctx), mail_(mail) {}
    void EvaluateState() override {
        busyWhenEvaluated = ctx_.busy;
        dispatch = DispatchCommand::EnabledIn(FactsOf(ctx_, mail_.outgoingQueue.empty()));
    }
    void ResetInformation() override { ++resets; }

    int resets = 0;
    bool busyWhenEvaluated = true;
    std::optional<bool> dispatch;

  private:
    HolderContext& ctx_;
    MailState& mail_;
};

class Writing : public test::TwoHolders {
  protected:
    void SetUp() override {
        TwoHolders::SetUp();
        state::Affiliated(*x);
        x->messages.recipientCategory = 'A';
        const int i = FindCorrespondent(x->correspondents, 'A', y->ownNumber);
        ASSERT_GE(i, 0);
        x->messages.recipientRecord = x->correspondents.a[std::size_t(i)];
        redac = std::make_unique<FormRedac>(*x, x->messages, nullptr);
        host = std::make_unique<Host>(*x, x->mail);
        write = std::make_unique<WriteMessage>(*x, x->messages, *host, *redac);
        // Queued rather than sent: the recipient reads it from the queue.
        QObject::connect(write.get(), &WriteMessage::Encrypted, write.get(),
                         [this](const OutgoingMessage& m) { (void)QueueMessage(*x, x->mail, m); });
    }
    void Write(Kind kind, const QString& subject, const QString& text,
               const std::vector<std::filesystem::path>& files = {}) {
        runner.Once("FormRedac", [=, this](QDialog& d) {
            auto& r = static_cast<FormRedac&>(d);
            test::Type(r, "EditObjet", subject);
            r.Editor().insertPlainText(text);
            QStringList paths;
            for (const auto& f : files)
                paths << QString::fromStdString(f.string());
            if (!paths.isEmpty()) {
                ASSERT_TRUE(r.AddAttachments(paths));
            }
            if (kind == Kind::RichMessage) {
                r.Editor().selectAll();
                QTest::keyClick(&r.Editor(), Qt::Key_B, Qt::ControlModifier);
            }
            boxes.Answer(kNo);  // not saved
            r.ChiffrerClick();
        });
        write->Run(kind);
    }
    /// The last queued message, read as the recipient reads its mail.
    /// (The queue's file: the outgoing queue's test.)
    ReceiveOutcome ReceiveLastQueued(OutgoingMessage& queued) {
        queued = *MessageOfQueueRecord(x->mail.outgoingQueue.back());
        for (const auto& p : queued.attachmentPaths) {
            std::filesystem::copy_file(p, y.Received() / std::filesystem::path(p).filename());
        }
        return Receive(y, queued.body);
    }

    /// The composer's handler: `text` typed, then Chiffrer.
    static ScriptedModalRunner::Handler Encrypting(const QString& text) {
        return [text](QDialog& d) {
            static_cast<FormRedac&>(d).Editor().insertPlainText(text);
            static_cast<FormRedac&>(d).ChiffrerClick();
        };
    }

    ScriptedMessageBoxes boxes;
    ScriptedModalRunner runner;
    std::unique_ptr<FormRedac> redac;
    std::unique_ptr<Host> host;
    std::unique_ptr<WriteMessage> write;
};

TEST_F(Writing, PlainAndRichMessagesWithFilesAreQueuedAndReadByTheRecipient) {
    const auto a = WriteFile("devis.pdf", std::string(70000, 'd'));
    const auto b = WriteFile("plan.txt", "plan");
    Write(Kind::PlainMessage, "Devis", "Bonjour,\nci-joint le devis à 100 €.", {a, b});
    ASSERT_EQ(x->mail.outgoingQueue.size(), 1u);
    const auto& dest = Child<QLabel>(*redac, "LabelDest");
    EXPECT_TRUE(dest.text().startsWith("Message destiné au correspondant non enregistré, DUPONT"));
    EXPECT_EQ(dest.palette().color(QPalette::WindowText), VerdictColour(false));
    EXPECT_FALSE(x->busy);
    EXPECT_FALSE(host->busyWhenEvaluated);
    EXPECT_EQ(host->dispatch, std::optional<bool>(true));
    EXPECT_EQ(x->information, txt::kMessageBeingEncrypted);  // until the main window evaluates

    OutgoingMessage queued;
    ReceiveOutcome got = ReceiveLastQueued(queued);
    ASSERT_TRUE(got.ok) << got.problem;
    EXPECT_EQ(queued.subject, "Devis");
    EXPECT_EQ(queued.recipientAddress, x->messages.recipientRecord[5]);  // category A
    EXPECT_TRUE(queued.addresseeLine.starts_with("Message destin"));
    EXPECT_EQ(queued.attachmentPaths.size(), 2u);
    EXPECT_EQ(y->messages.decrypted.kind, Kind::PlainMessage);
    EXPECT_EQ(y->messages.decrypted.text, ToCp1252("Bonjour,\r\nci-joint le devis à 100 €."));
    ASSERT_EQ(y->messages.decrypted.attachments.size(), 2u);
    EXPECT_EQ(ReadWholeFile(y->messages.decrypted.attachments[1]), "plan");
    EXPECT_TRUE(x->messages.attachments.empty());
    EXPECT_TRUE(redac->Editor().toPlainText().isEmpty());

    Write(Kind::RichMessage, "", "En gras", {b});
    ASSERT_EQ(x->mail.outgoingQueue.size(), 2u);
    got = ReceiveLastQueued(queued);
    ASSERT_TRUE(got.ok) << got.problem;
    EXPECT_EQ(y->messages.decrypted.kind, Kind::RichMessage);
    QTextDocument shown;
    ASSERT_TRUE(ReadRtf(y->messages.decrypted.text, shown));
    EXPECT_EQ(shown.toPlainText(), "En gras");
    QTextCursor inside(shown.findBlockByNumber(0));
    inside.movePosition(QTextCursor::NextCharacter);
    EXPECT_EQ(inside.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(Writing, NothingIsQueuedWhenCancelledBusyOrRefused) {
    // Cancelled composer.
    runner.Once("FormRedac", [](QDialog& d) {
        static_cast<FormRedac&>(d).Editor().insertPlainText("brouillon");
        QTest::keyClick(&static_cast<FormRedac&>(d).Editor(), Qt::Key_Escape);
    });
    write->Run(Kind::PlainMessage);
    // Busy: the composer does not even show.
    x->busy = true;
    write->Run(Kind::PlainMessage);
    x->busy = false;
    EXPECT_EQ(runner.Runs(), QStringList{"FormRedac"});

    // A plain text code page 1252 cannot hold: named before anything is
    // enciphered; Yes goes back to the composer, No gives up.
    runner.Once("FormRedac", Encrypting("x \u03A9 \u2603 \u03A9"));
    runner.Once("FormRedac", Encrypting(""));
    boxes.Answer(kNo);      // not saved
    boxes.Answer(kCancel);  // back to the text
    boxes.Answer(kNo);      // not saved
    boxes.Answer(kNo);      // give up
    write->Run(Kind::PlainMessage);
    EXPECT_EQ(runner.Runs().size(), 3);
    const QStringList refusal = boxes.Texts().filter("message simple");
    ASSERT_EQ(refusal.size(), 2);
    EXPECT_TRUE(refusal[0].contains(": \u03A9\u2603\n")) << refusal[0].toStdString();

    // A correspondent record that fails its check: the box, and the composer
    // back with the text.
    x->messages.recipientRecord[12][0] ^= 1;  // a key line (category A)
    runner.Once("FormRedac", Encrypting("texte"));
    QString kept;
    runner.Once("FormRedac", [&](QDialog& d) {
        kept = static_cast<FormRedac&>(d).Editor().toPlainText();
        boxes.Answer(kNo);  // dropped
        static_cast<FormRedac&>(d).WindowCloseClick();
    });
    boxes.Answer(kNo);  // not saved
    write->Run(Kind::PlainMessage);
    EXPECT_EQ(kept, "texte");
    const auto altered = std::find_if(boxes.ShownBoxes().begin(), boxes.ShownBoxes().end(),
                                      [](const auto& b) { return b.text.contains("altéré"); });
    ASSERT_NE(altered, boxes.ShownBoxes().end());
    EXPECT_EQ(altered->text, "Le fichier QuarnelTitA.dat est altéré.");
    EXPECT_EQ(altered->buttons, unsigned(kCancel));
    EXPECT_EQ(host->resets, 1);

    EXPECT_TRUE(x->mail.outgoingQueue.empty());
    EXPECT_FALSE(std::filesystem::exists(OutgoingQueuePath(*x)));
    EXPECT_FALSE(x->busy);
}

// Annuler while the files are enciphered (the job hears it at its first
// progress): nothing queued, and the composer back as it was. (No file left
// in the sent folder, on a stop or a refusal: the streaming and verification
// tests.)
TEST_F(Writing, AnnulerDuringTheEncryptionBringsTheComposerBackAsItWas) {
    const auto file = WriteFile("archive.bin", std::string(100000, 'a'));
    write->runJob = [](QWidget*, const QString&, const auto& job, bool* cancelled) {
        const bool built = job([](const QString&, std::uint64_t, std::uint64_t) { return false; });
        if (cancelled) *cancelled = true;
        return built;
    };
    runner.Once("FormRedac", [&](QDialog& d) {
        auto& r = static_cast<FormRedac&>(d);
        test::Type(r, "EditObjet", "Archive");
        r.Editor().insertPlainText("la pièce");
        ASSERT_TRUE(r.AddAttachments({QString::fromStdString(file.string())}));
        boxes.Answer(kNo);  // not saved
        r.ChiffrerClick();
    });
    runner.Once("FormRedac", [&](QDialog& d) {
        auto& r = static_cast<FormRedac&>(d);
        EXPECT_EQ(Child<QLineEdit>(r, "EditObjet").text(), "Archive");
        EXPECT_EQ(r.Editor().toPlainText(), "la pièce");
        EXPECT_EQ(x->messages.attachments, std::vector<std::filesystem::path>{file});
        boxes.Answer(kNo);  // dropped
        r.WindowCloseClick();
    });
    write->Run(Kind::PlainMessage);
    EXPECT_EQ(runner.Runs(), QStringList(2, "FormRedac"));
    EXPECT_TRUE(x->mail.outgoingQueue.empty());
    EXPECT_EQ(host->resets, 1);
    EXPECT_FALSE(x->busy);
}

}  // namespace
}  // namespace quarnel::ui
