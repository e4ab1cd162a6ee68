// SPDX-License-Identifier: GPL-3.0-or-later
// The message windows offscreen, between two holders affiliated with a real
// quarnel-ta: x writes a rich message with a file in the composer, the body is
// queued; y takes the queued body, decrypts it, sees it in FormMessage, saves
// it as .rtf and .txt, and certifies from the viewer and from the saved files
// through the Certification command; the certificate comes back in FormCerti.
// Altered or wrongly named files are not confirmed and nothing is sent for
// them. (The plain message's road: tests/e2e.)

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest/QTest>

#include "authority/windows/commands.h"
#include "authority/windows/form_tcp_ip.h"
#include "holder_fixture.h"
#include "mail/outgoing_queue.h"
#include "messages/certification.h"
#include "messages/texts.h"
#include "messages/windows/commands.h"
#include "messages/windows/form_certi.h"
#include "messages/windows/form_message.h"
#include "messages/windows/form_msg_a_certi.h"
#include "messages/windows/form_redac.h"
#include "messages/windows/write_message.h"
#include "scripted_windows.h"
#include "ta_server.h"
#include "window_host.h"
#include "window_test_support.h"
#include "windowkit/modal_runner.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {
namespace {

using test::Child;
using test::Click;

using Host = test::WindowHost;

/// One holder's windows, wired as the shell wires them.
struct Desk {
    explicit Desk(ProgramData& h)
        : tcpIp(h, h.authority, nullptr),
          certi(h, nullptr),
          viewer(h, nullptr),
          toCertify(h, nullptr),
          redac(h, h.messages, nullptr),
          request(test::Scope(h), host, AuthorityWindows{.tcpIp = &tcpIp}),
          incoming(h, h.authority, h.messages, host, viewer, certi),
          certification(h, host, toCertify),
          write(h, h.messages, host, redac) {
        // Queued rather than sent: the reader takes it from the queue.
        QObject::connect(&write, &WriteMessage::Encrypted, &write,
                         [&h](const OutgoingMessage& m) { (void)QueueMessage(h, h.mail, m); });
        QObject::connect(&tcpIp, &ui::FormTCP_IP::CertificateDelivered, &certi,
                         [this](const std::string& c) { certi.ShowCertificate(c, host.window); });
        QObject::connect(&viewer, &FormMessage::CertifyRequested, &viewer, [this, &h] {
            (void)CertifyDecryptedMessage(h.messages, [this] { return request.Send(); });
        });
        QObject::connect(&toCertify, &FormMsgACerti::CertifyRequested, &toCertify,
                         [this, &h](const SavedMessage& saved) {
                             (void)CertifySavedMessage(h.messages, saved,
                                                       [this] { return request.Send(); });
                         });
    }
    Host host;
    FormTCP_IP tcpIp;
    FormCerti certi;
    FormMessage viewer;
    FormMsgACerti toCertify;
    FormRedac redac;
    CertificationRequest request;
    IncomingBlock incoming;
    CertificationCommand certification;
    WriteMessage write;
};

class MessageWindows : public test::Messages {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.ok());
        test::AffiliatePair(
            root.path(), [](ProgramData& h) { return test::Http(h); }, x.ctx, y.ctx,
            server.ParameterFile());
        // The connection window sends and accepts whatever it is given.
        runner.Always("FormTCP_IP", [](QDialog& d) {
            Click(d, "BitBtnEnvoyer");
            ASSERT_TRUE(test::RunUntil(
                [&] { return Child<QPushButton>(d, "BitBtnRecevoir").isEnabled(); }, 20000));
            Click(d, "BitBtnRecevoir");
        });
    }

    /// x writes to y in the composer, in bold; the queued message.
    OutgoingMessage Compose(Desk& desk, const QString& text, const std::filesystem::path& file) {
        x->messages.recipientCategory = 'A';
        x->messages.recipientRecord =
            x->correspondents
                .a[std::size_t(FindCorrespondent(x->correspondents, 'A', y->ownNumber))];
        runner.Once("FormRedac", [&](QDialog& d) {
            auto& r = static_cast<FormRedac&>(d);
            test::Type(r, "EditObjet", "Contrat");
            r.Editor().insertPlainText(text);
            EXPECT_TRUE(r.AddAttachments({QString::fromStdString(file.string())}));
            r.Editor().selectAll();
            QTest::keyClick(&r.Editor(), Qt::Key_B, Qt::ControlModifier);
            boxes.Answer(kNo);  // the text itself is not saved
            r.ChiffrerClick();
        });
        desk.write.Run(Kind::RichMessage);
        EXPECT_FALSE(x->mail.outgoingQueue.empty());
        return *MessageOfQueueRecord(x->mail.outgoingQueue.back());
    }

    /// y takes the queued body; in the viewer the message is saved under
    /// each name of `names`, then `inViewer` acts.
    void Read(Desk& desk, const OutgoingMessage& queued,
              const std::vector<std::filesystem::path>& names,
              const std::function<void(QDialog&)>& inViewer) {
        for (const auto& p : queued.attachmentPaths) {
            std::filesystem::copy_file(p, y.Received() / std::filesystem::path(p).filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
        Lines body = queued.body;
        runner.Once("FormMessage", [&](QDialog& d) {
            EXPECT_EQ(Child<QLabel>(d, "LbObjet").text(), "Contrat");
            EXPECT_EQ(Child<QLabel>(d, "LbNom").text(), "MARTIN claire");
            EXPECT_TRUE(Child<QToolButton>(d, "ButtonAgrafe").isVisible());
            for (const auto& name : names) {
                runner.Once(kSaveDialogName, [name](QDialog& s) {
                    AcceptFileDialog(s, QString::fromStdString(name.string()));
                });
                Click(d, "SaveButton");
            }
            if (inViewer) inViewer(d);
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        ASSERT_EQ(desk.incoming.Process(body, QString::fromStdString(queued.subject)),
                  BlockOutcome::Taken);
    }

    /// The Certification command on `file`; whether it was confirmed.
    bool CertifyFile(Desk& desk, const std::filesystem::path& file) {
        runner.Once(kOpenDialogName, [file](QDialog& d) {
            AcceptFileDialog(d, QString::fromStdString(file.string()));
        });
        bool confirmed = false;
        runner.Once("FormMsgACerti", [&](QDialog& d) {
            const auto& certifier = Child<QToolButton>(d, "ButtonCertifier");
            confirmed = certifier.isEnabled();
            const auto& verdict = Child<QLabel>(d, "LbConfirmation");
            EXPECT_EQ(verdict.text(),
                      Tr(confirmed ? txt::kDigestConfirmed : txt::kDigestNotConfirmed));
            EXPECT_EQ(verdict.palette().color(QPalette::WindowText), VerdictColour(confirmed));
            EXPECT_EQ(certifier.toolTip(),
                      Tr(confirmed ? txt::kTipCertify : txt::kNothingToCertify));
            Click(d, "ButtonCertifier");
            if (d.isVisible()) Click(d, "ButtonRetour");
        });
        desk.certification.Run();
        return confirmed;
    }

    /// The certificate FormCerti shows next (closed by Escape and its save
    /// step into the certificates folder).
    void ExpectCertificate(const std::string& digest) {
        runner.Once("FormCerti", [this, digest](QDialog& d) {
            const QString shown = Child<QPlainTextEdit>(d, "MemoCerti").toPlainText();
            EXPECT_TRUE(shown.contains(QString::fromStdString(digest))) << shown.toStdString();
            const auto path = PathFromSetting(y->settings.certificatesFolder) /
                              ("certificat-" + std::to_string(++certificates) + ".txt");
            runner.Once(kSaveDialogName, [path](QDialog& s) {
                AcceptFileDialog(s, QString::fromStdString(path.string()));
            });
            QTest::keyClick(&d, Qt::Key_Escape);
            EXPECT_TRUE(std::filesystem::exists(path));
        });
    }

    std::size_t Requests() const { return server.log().size(); }

    test::TaServer server;
    ScriptedMessageBoxes boxes;
    ScriptedModalRunner runner;
    int certificates = 0;
};

TEST_F(MessageWindows, ComposedQueuedReadSavedAndCertifiedThroughTheWindows) {
    Desk xs(*x);
    Desk ys(*y);
    const std::filesystem::path saved = PathFromSetting(y->settings.decryptedMsgFolder);
    const auto file = WriteFile("annexe.pdf", std::string(5000, 'p'));

    // Rich: certified from the viewer, which stays open; then from its
    // saved .rtf (confirmed) and .txt (not confirmed, nothing sent).
    const OutgoingMessage rich = Compose(xs, "Contrat sign\u00e9.", file);
    Read(ys, rich, {saved / "contrat.rtf", saved / "contrat.txt"}, [&](QDialog& d) {
        ExpectCertificate(y->messages.decrypted.digest);
        const std::size_t before = Requests();
        Click(d, "ButtonCertifier");
        EXPECT_EQ(Requests(), before + 1);
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_EQ(y->messages.decrypted.kind, Kind::RichMessage);
    EXPECT_EQ(ReadWholeFile(y->messages.decrypted.attachments.at(0)), std::string(5000, 'p'));
    const std::string digest = y->messages.decrypted.digest;

    ExpectCertificate(digest);
    std::size_t before = Requests();
    EXPECT_TRUE(CertifyFile(ys, saved / "contrat.rtf"));
    EXPECT_EQ(Requests(), before + 1);
    before = Requests();
    EXPECT_FALSE(CertifyFile(ys, saved / "contrat.txt"));
    std::string altered = *ReadWholeFile(saved / "contrat.rtf");
    altered[altered.rfind("sign")] = 'S';
    ASSERT_TRUE(WriteFileAtomically(saved / "altered.rtf", altered));
    EXPECT_FALSE(CertifyFile(ys, saved / "altered.rtf"));
    EXPECT_EQ(Requests(), before);

    EXPECT_EQ(certificates, 2);
    EXPECT_FALSE(y->busy);
    EXPECT_EQ(runner.Runs().count("FormCerti"), 2);
}

}  // namespace
}  // namespace quarnel::ui
