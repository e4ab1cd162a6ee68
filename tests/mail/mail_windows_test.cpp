// SPDX-License-Identifier: GPL-3.0-or-later
// The sending, receiving and mailbox windows offscreen, against scripted
// loopback servers: their buttons, log lines, information lines, and what
// stays on disk and on the server after each fault. What the mail holds and
// how the retrieval sorts it: the logic's own tests; the windows wired to each
// other and to real servers: tests/e2e.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "crypto/own_keys.h"
#include "event_loop.h"
#include "holder/program_state.h"
#include "holder_fixture.h"
#include "mail/incoming.h"
#include "mail/mail_state.h"
#include "mail/mailbox.h"
#include "mail/mime.h"
#include "mail/outgoing_queue.h"
#include "mail/sent_log.h"
#include "mail/windows/commands.h"
#include "mail/windows/form_courrier.h"
#include "mail/windows/form_pop3.h"
#include "mail/windows/form_smtp.h"
#include "mail/windows/new_mail_watch.h"
#include "mail/windows/texts.h"
#include "mail_scripts.h"
#include "mail_servers.h"
#include "messages/decryption.h"
#include "protocol/body.h"
#include "scripted_server.h"
#include "scripted_windows.h"
#include "store/record_list.h"
#include "temp_dir.h"
#include "window_host.h"
#include "window_test_support.h"
#include "windowkit/save_failure.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {
namespace {

using test::Child;
using test::Click;
namespace step = test::step;

const std::string kOwn = "01000000017";
const MailLimits kShortLimits{std::chrono::milliseconds(2000), std::chrono::milliseconds(500),
                              std::chrono::milliseconds(500)};

QString Information(const HolderContext& ctx) {
    return ctx.information ? Tr(ctx.information) : QString();
}

OutgoingMessage Message(const std::string& subject) {
    return {"Message destin\xE9 au correspondant, " + subject,
            "dest@example.org",
            subject,
            {"titre", kSeparatorLine, "adresse", "ligne", kEndMarkerLine},
            {}};
}

// A relay that takes one message, or refuses it at `refuseAt` ("RCPT", "DATA").
test::Script Relay(const std::string& refuseAt = {}) {
    test::Script s{step::Send("220 relay\r\n"), step::ExpectLine(), step::Send("250 hello\r\n")};
    auto answer = [&](const std::string& command, const std::string& ok) {
        s.push_back(step::ExpectLine(
            [command](const std::string& l) { return l.rfind(command, 0) == 0; }, command));
        s.push_back(step::Send(refuseAt == command ? "550 refused: " + command + "\r\n" : ok));
    };
    answer("RSET", "250 reset\r\n");
    answer("MAIL", "250 sender ok\r\n");
    if (refuseAt == "MAIL") return s;
    answer("RCPT", "250 recipient ok\r\n");
    if (refuseAt == "RCPT") return s;
    answer("DATA", "354 go on\r\n");
    s.push_back(step::ExpectData());
    s.push_back(step::Send(refuseAt == "CONTENT" ? "554 content refused\r\n" : "250 queued\r\n"));
    s.push_back(step::ExpectLine("QUIT"));
    s.push_back(step::Send("221 bye\r\n"));
    return s;
}

struct MailWindows : ::testing::Test {
    test::TempDir dir;
    HolderContext ctx;
    MailState mail;
    ScriptedMessageBoxes boxes;
    ScriptedModalRunner runner;
    QWidget mainWindow;
    std::unique_ptr<FormSmtp> smtp;

    void SetUp() override {
        ctx.dataFolder = dir.path();
        ctx.settings.sentEncryptedFolder = (dir.path() / "envoyes").string();
        ctx.settings.receivedEncryptedFolder = (dir.path() / "recus").string();
        std::filesystem::create_directories(dir.path() / "envoyes");
        ctx.email = "moi@example.org";
        ctx.displayName = "MARTIN Paul";
        ctx.ownNumber = kOwn;
        smtp = std::make_unique<FormSmtp>(ctx, mail, &mainWindow);
        smtp->SetLimits(kShortLimits);
    }
    QString Action(QDialog& d) { return Child<QPlainTextEdit>(d, "MemoAction").toPlainText(); }
    // Whether the window's log holds `text`; the log when it does not.
    ::testing::AssertionResult Logs(QDialog& d, const QString& text) {
        if (Action(d).contains(text)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << Action(d).toStdString();
    }
    bool On(QDialog& d, const char* button) { return Child<QPushButton>(d, button).isEnabled(); }
    static RecordList Load(const std::filesystem::path& path) {
        RecordList list;
        (void)LoadRecordList(path, list);
        return list;
    }
    RecordList Queued() { return Load(OutgoingQueuePath(ctx)); }
    RecordList SentLog() { return Load(SentLogPath(ctx)); }
    // `server` listening; its address.
    static std::string Serve(test::ScriptedServer& server) {
        EXPECT_TRUE(server.Listen());
        return server.Address();
    }
    // Account "paul" with its mail password stored, and the received folder.
    void ReadyToReceive(const std::string& password) {
        ctx.settings.accountName = "paul";
        ctx.keyStore = {Record(6, "0123456789ABCDEF0123456789ABCDEF")};
        ASSERT_TRUE(StoreMailPassword(ctx.keyStore, '0', password));
        std::filesystem::create_directories(dir.path() / "recus");
    }
    void Send(FormSmtp& f) {
        f.MaintenantClick();
        ASSERT_TRUE(test::RunUntil([&] { return !f.Sending(); }, 10000));
        QCoreApplication::processEvents();
    }
};

TEST_F(MailWindows, SingleModeButtonsOutcomesAndInformationLines) {
    // Shown: "Transmission" while open, the log's three lines, the body.
    runner.Once("FormSmtp", [&](QDialog& d) {
        EXPECT_EQ(Information(ctx), "Transmission");
        EXPECT_EQ(d.windowTitle(), "Envoi du courrier chiffré");
        EXPECT_EQ(Action(d),
                  "Message chiffré prêt à être envoyé\nMessage destiné au "
                  "correspondant, A\nObjet : A");
        EXPECT_TRUE(On(d, "BitBtnMaintenant") && On(d, "BitBtnPlusTard") && On(d, "BitBtnAnnuler"));
        EXPECT_FALSE(d.findChild<QAction*>("EditCopy")->isEnabled());
        smtp->EditSelectAllClick();
        smtp->EditCopyClick();
        EXPECT_EQ(Information(ctx), "Le message chiffré est placé dans le presse-papiers.");
        EXPECT_TRUE(QApplication::clipboard()->text().startsWith("titre\n" + QString(32, 'F')));
        boxes.Answer(kNo);
        d.reject();
    });
    EXPECT_EQ(smtp->ShowFor(Message("A"), mainWindow), FormSmtp::Outcome::Cancelled);
    EXPECT_EQ(Information(ctx), "En attente");
    EXPECT_TRUE(mail.outgoingQueue.empty());

    // The relay accepts: logged as sent.
    test::ScriptedServer relay({Relay()});
    ctx.settings.smtpServer = Serve(relay);
    runner.Once("FormSmtp", [&](QDialog& d) {
        Send(*smtp);
        EXPECT_TRUE(Logs(d, "Message bien transmis"));
        EXPECT_FALSE(On(d, "BitBtnMaintenant") || On(d, "BitBtnPlusTard"));
        EXPECT_FALSE(Child<QPushButton>(d, "BitBtnMaintenant").toolTip().isEmpty());
        EXPECT_TRUE(On(d, "BitBtnAnnuler"));
        EXPECT_EQ(Child<QPushButton>(d, "BitBtnAnnuler").text(), "&Fermer");
        smtp->AnnulerClick();  // sent: nothing to ask
    });
    const std::size_t asked = boxes.ShownBoxes().size();
    EXPECT_EQ(smtp->ShowFor(Message(""), mainWindow), FormSmtp::Outcome::Sent);
    EXPECT_EQ(boxes.ShownBoxes().size(), asked);
    EXPECT_EQ(Information(ctx), "Le message chiffré a été envoyé.");
    EXPECT_TRUE(relay.Failures().empty()) << relay.Failures().front();
    EXPECT_EQ(SentLog().size(), 1u);
}

// Each way out of the sending window with an encrypted message not sent:
// one question, its default the outgoing queue; dropped only when asked.
TEST_F(MailWindows, EveryWayOutKeepsAnEncryptedMessageUnlessDropped) {
    using Way = std::function<void(QDialog&)>;
    const Way escape = [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); };
    const Way annuler = [](QDialog& d) { Click(d, "BitBtnAnnuler"); };
    const Way titleBar = [](QDialog& d) { d.close(); };
    const Way plusTard = [](QDialog& d) { Click(d, "BitBtnPlusTard"); };
    const struct {
        const char* what;
        Way way;
        std::optional<BoxButton> answer;           // nothing: no question
        std::optional<FormSmtp::Outcome> outcome;  // nothing: still open
        std::size_t queued;
    } ways[] = {
        {"Escape, queued", escape, kYes, FormSmtp::Outcome::Queued, 1},
        {"Annuler, dropped", annuler, kNo, FormSmtp::Outcome::Cancelled, 1},
        {"title bar, back", titleBar, kCancel, std::nullopt, 1},
        {"Plus tard", plusTard, std::nullopt, FormSmtp::Outcome::Queued, 2},
    };
    for (const auto& w : ways) {
        const std::size_t before = boxes.ShownBoxes().size();
        if (w.answer) boxes.Answer(*w.answer);
        bool open = false;
        runner.Once("FormSmtp", [&](QDialog& d) {
            w.way(d);
            open = d.isVisible();
            if (!open) return;
            EXPECT_TRUE(On(d, "BitBtnMaintenant")) << w.what;
            boxes.Answer(kNo);
            smtp->AnnulerClick();
        });
        const FormSmtp::Outcome outcome = smtp->ShowFor(Message(w.what), mainWindow);
        if (w.outcome) {
            EXPECT_FALSE(open) << w.what;
            EXPECT_EQ(outcome, *w.outcome) << w.what;
        } else {
            EXPECT_TRUE(open) << w.what;
        }
        EXPECT_EQ(Queued().size(), w.queued) << w.what;
        ASSERT_EQ(boxes.ShownBoxes().size() > before, bool(w.answer)) << w.what;
        if (!w.answer) continue;
        const auto& asked = boxes.ShownBoxes()[std::size_t(before)];
        EXPECT_EQ(asked.text, Tr(txt::kSmtpKeepQuestion)) << w.what;
        EXPECT_EQ(asked.captions.front(), (std::pair{kYes, Tr(txt::kSmtpQueueIt)})) << w.what;
    }
    EXPECT_EQ(MessageOfQueueRecord(Queued()[0]), Message("Escape, queued"));
}

TEST_F(MailWindows, ARefusedOrUnreachableRelayLosesNothing) {
    // Refused at RCPT: the server's text in a box, nothing logged as sent,
    // the message still on show with both buttons back.
    test::ScriptedServer relay({Relay("RCPT")});
    ctx.settings.smtpServer = Serve(relay);
    runner.Once("FormSmtp", [&](QDialog& d) {
        Send(*smtp);
        EXPECT_TRUE(Logs(d, "Echec de la transmission du message chiffré"));
        EXPECT_TRUE(On(d, "BitBtnMaintenant") && On(d, "BitBtnPlusTard"));
        EXPECT_TRUE(Child<QPlainTextEdit>(d, "MemoMsg").toPlainText().startsWith("titre"));
        smtp->PlusTardClick();
    });
    EXPECT_EQ(smtp->ShowFor(Message("A"), mainWindow), FormSmtp::Outcome::Queued);
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_TRUE(boxes.Texts()[0].contains("550 refused: RCPT")) << boxes.Texts()[0].toStdString();
    EXPECT_TRUE(mail.sentLog.Pending().empty());
    EXPECT_FALSE(std::filesystem::exists(SentLogPath(ctx)));
    EXPECT_EQ(Queued().size(), 1u);
}

// While the relay is spoken to Annuler stops the exchange (the message stays,
// nothing in a box); a connection that fails says why in words, naming the
// server; Maintenant tries again from the window; the bytes sent show.
TEST_F(MailWindows, AnnulerStopsTheExchangeAndMaintenantTriesAgain) {
    const auto stalled =
        test::Script{step::Send("220 relay\r\n"), step::ExpectLine("EHLO IdSMTP"), step::Silence()};
    test::ScriptedServer relay({stalled, {step::Silence()}, Relay()});
    ctx.settings.smtpServer = Serve(relay);
    const QString server = QString::fromStdString(relay.Address());
    // Time to click before the relay's silence counts.
    smtp->SetLimits({std::chrono::milliseconds(2000), std::chrono::milliseconds(10000),
                     std::chrono::milliseconds(500)});
    runner.Once("FormSmtp", [&](QDialog& d) {
        smtp->MaintenantClick();
        ASSERT_TRUE(
            test::RunUntil([&] { return Action(d).contains("Connexion au transmetteur"); }));
        EXPECT_TRUE(On(d, "BitBtnAnnuler"));
        EXPECT_FALSE(On(d, "BitBtnMaintenant") || On(d, "BitBtnPlusTard"));
        EXPECT_FALSE(Child<QPushButton>(d, "BitBtnAnnuler").toolTip().isEmpty());
        smtp->PlusTardClick();  // a late click on Plus tard: the exchange goes on
        EXPECT_TRUE(smtp->Sending() && Queued().empty());
        smtp->AnnulerClick();
        ASSERT_TRUE(test::RunUntil([&] { return On(d, "BitBtnMaintenant"); }));
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(Logs(d, "Envoi interrompu à votre demande"));
        EXPECT_TRUE(Child<QPlainTextEdit>(d, "MemoMsg").toPlainText().startsWith("titre"));

        // Connected, then not a word: said so in words, no step number.
        smtp->SetLimits(kShortLimits);
        Send(*smtp);
        EXPECT_TRUE(
            Logs(d, "Le serveur " + server + " n'a pas répondu dans les 1 s après la connexion."));
        EXPECT_FALSE(Action(d).contains("étape"));

        Send(*smtp);
        EXPECT_TRUE(Logs(d, "Message bien transmis"));
        const QStringList sizes =
            Child<QLabel>(d, "LabelTransfer").text().split(QStringLiteral(" sur "));
        ASSERT_EQ(sizes.size(), 2);
        EXPECT_EQ(sizes[0], sizes[1]);
        smtp->AnnulerClick();
    });
    EXPECT_EQ(smtp->ShowFor(Message("A"), mainWindow), FormSmtp::Outcome::Sent);
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join('\n').toStdString();
    EXPECT_EQ(SentLog().size(), 1U);
}

TEST_F(MailWindows, TheQueueWalkStopsAtARefusalAndAnnulerPutsTheShownMessageBack) {
    for (const char* s : {"A", "B", "C"})
        ASSERT_EQ(QueueMessage(ctx, mail, Message(s)), SaveResult::Saved);
    test::WindowHost host;
    DispatchCommand dispatch(ctx, host, *smtp, 0);

    // Escape does nothing in queue mode; Annuler puts A back at the head.
    runner.Once("FormSmtp", [&](QDialog& d) {
        EXPECT_TRUE(mail.queueMode);
        d.reject();
        EXPECT_TRUE(d.isVisible());
        smtp->AnnulerClick();
    });
    dispatch.Run();
    ASSERT_EQ(Queued().size(), 3u);
    EXPECT_EQ(MessageOfQueueRecord(Queued()[0]), Message("A"));
    EXPECT_FALSE(ctx.busy);

    // A goes, B is refused: B back at its place, C still behind, the walk over.
    test::ScriptedServer relay({Relay(), Relay("CONTENT")});
    ctx.settings.smtpServer = Serve(relay);
    runner.Once("FormSmtp", [&](QDialog& d) {
        Send(*smtp);
        ASSERT_TRUE(smtp->Shown());
        EXPECT_EQ(smtp->Shown()->subject, "B");
        Send(*smtp);
        EXPECT_FALSE(On(d, "BitBtnMaintenant") || On(d, "BitBtnPlusTard"));
        EXPECT_TRUE(Action(d).endsWith("Le message reste dans la file d'attente."));
        smtp->AnnulerClick();
    });
    dispatch.Run();
    ASSERT_EQ(SentLog().size(), 1u);
    EXPECT_EQ(SentLog()[0][1], Message("A").addresseeLine);
    ASSERT_EQ(Queued().size(), 2u);
    EXPECT_EQ(MessageOfQueueRecord(Queued()[0]), Message("B"));
    EXPECT_EQ(MessageOfQueueRecord(Queued()[1]), Message("C"));
    EXPECT_EQ(Information(ctx), "En attente");

    // Plus tard puts the message on show after the others.
    runner.Once("FormSmtp", [&](QDialog&) { smtp->PlusTardClick(); });
    dispatch.Run();
    EXPECT_EQ(MessageOfQueueRecord(Queued()[1]), Message("B"));

    // The rest goes: "Les messages chiffrés ont été envoyés." is the caller's.
    test::ScriptedServer relay2({Relay()});
    ctx.settings.smtpServer = Serve(relay2);
    DispatchCommand sendAll(ctx, host, *smtp, txt::kSmtpSentInfo);
    runner.Once("FormSmtp", [&](QDialog&) {
        Send(*smtp);
        Send(*smtp);
        EXPECT_FALSE(mail.queueMode);
        smtp->AnnulerClick();
    });
    sendAll.Run();
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(SentLog().size(), 3u);
    EXPECT_EQ(ctx.information, txt::kSmtpSentInfo);
}

// Our mail for the holder from DUPONT Jean.
std::string OurMail(const std::string& subject, Kind kind = Kind::PlainMessage) {
    return BuildMail(
        {"x@y.org",
         "DUPONT Jean",
         subject,
         {"moi@example.org"},
         {"Message chiffr\xE9", kSeparatorLine,
          AddressLine(kind, "12345", '1', '1', kOwn, "01000000023"), "ABCDEF", kEndMarkerLine},
         {}});
}

// Each mail's lines in the window's log, the buttons after the retrieval,
// and Déchiffrer: stopped by the person, the message stays first.
TEST_F(MailWindows, RetirerLogsEachMailAndDechiffrerTakesTheFirstWaiting) {
    FormPop3 pop3(ctx, mail, &mainWindow);
    pop3.SetLimits(kShortLimits);
    ctx.settings.pop3Server = "127.0.0.1:1";
    ctx.settings.accountName = "paul";
    // No mail password stored: said in the log and in a box, buttons back.
    runner.Once("FormPop3", [&](QDialog& d) {
        EXPECT_TRUE(On(d, "BitBtnRetirer") && On(d, "BitBtnAnnuler"));
        EXPECT_FALSE(On(d, "BitBtnDechiffrer"));
        pop3.RetirerClick();
        EXPECT_TRUE(On(d, "BitBtnRetirer") && On(d, "BitBtnAnnuler"));
    });
    pop3.ShowReceiving(mainWindow);
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_EQ(Information(ctx), "En attente");

    ReadyToReceive("motdepasse");
    // Our mailer's name in lower case is somebody else's: plain mail.
    std::string plainMail =
        BuildMail({"x@y.org", "X", "Bonjour", {"moi@example.org"}, {"Bonjour."}, {}});
    plainMail.replace(plainMail.find("QuarnelSys"), 10, "quarnelsys");
    test::Script script = test::pop3::LogIn("paul", "motdepasse", "+OK 2 9000\r\n");
    test::pop3::Fetch(script, 1, plainMail, true);
    test::pop3::Fetch(script, 2, OurMail("Devis"));
    script.insert(script.end(), {step::ExpectLine("DELE 2"), step::Send("+OK\r\n"),
                                 step::ExpectLine("QUIT"), step::Send("+OK bye\r\n")});
    test::ScriptedServer server({script});
    ctx.settings.pop3Server = Serve(server);
    Lines decrypted;
    QString subject;
    bool stop = true;
    pop3.decrypt = [&](Lines& text, const QString& s) {
        decrypted = text;
        subject = s;
        return std::exchange(stop, false) ? BlockOutcome::Cancelled : BlockOutcome::Taken;
    };
    runner.Once("FormPop3", [&](QDialog& d) {
        pop3.RetirerClick();
        ASSERT_TRUE(test::RunUntil([&] { return !pop3.Receiving(); }, 10000));
        for (const char* line :
             {"Message en clair n°1 laissé sur le serveur", "Réception du message chiffré n°2",
              "provenant de DUPONT Jean", "objet : Devis", "Déconnexion du serveur Pop3"})
            EXPECT_TRUE(Logs(d, QString::fromUtf8(line)));
        EXPECT_TRUE(On(d, "BitBtnDechiffrer") && On(d, "BitBtnAnnuler"));
        EXPECT_FALSE(On(d, "BitBtnRetirer"));
        EXPECT_EQ(d.focusWidget(), &Child<QPushButton>(d, "BitBtnDechiffrer"));
        pop3.DechiffrerClick();
        EXPECT_TRUE(Action(d).endsWith(
            "Déchiffrement annulé : le message reste le premier de la liste d'attente."));
        EXPECT_FALSE(Action(d).contains("Message déchiffré"));
        EXPECT_EQ(pop3.Waiting().size(), 1u);
        EXPECT_TRUE(On(d, "BitBtnDechiffrer"));
        pop3.DechiffrerClick();
        EXPECT_TRUE(Action(d).endsWith("Message déchiffré"));
        EXPECT_FALSE(On(d, "BitBtnDechiffrer"));
        EXPECT_TRUE(On(d, "BitBtnAnnuler"));
    });
    pop3.ShowReceiving(mainWindow);
    EXPECT_TRUE(server.Failures().empty()) << server.Failures().front();
    EXPECT_EQ(subject, "Devis");
    ASSERT_GE(decrypted.size(), 4u);
    EXPECT_EQ(decrypted.front(), kSeparatorLine);
    EXPECT_EQ(decrypted.back(), kEndMarkerLine);
}

// Annuler stops a retrieval under way (nothing deleted) and Retirer tries
// again from the window; one cut short says so, Retirer back and what was
// accepted waiting; the password going in clear is said once per retrieval.
TEST_F(MailWindows, AnnulerStopsTheRetrievalAndRetirerTriesAgain) {
    FormPop3 pop3(ctx, mail, &mainWindow);
    pop3.SetLimits({std::chrono::milliseconds(2000), std::chrono::milliseconds(10000),
                    std::chrono::milliseconds(500)});
    ReadyToReceive("pw");
    test::Script slow = test::pop3::LogIn("paul", "pw", "+OK 0 0\r\n");
    slow.back() = step::Send("+OK\r\n");
    slow.push_back(step::Silence());  // the list never ends
    // Message 1 taken, the line reset while message 2 comes.
    test::Script cut = test::pop3::LogIn("paul", "pw", "+OK 2 900\r\n");
    test::pop3::Fetch(cut, 1, OurMail("Un", Kind::RichMessage));
    cut.insert(cut.end(), {step::ExpectLine("TOP 2 0"), step::Reset()});
    test::ScriptedServer server({slow, cut});
    ctx.settings.pop3Server = Serve(server);
    const QString clear =
        QStringLiteral("Le serveur 127.0.0.1:%1 est joint sans chiffrement").arg(server.port());
    runner.Once("FormPop3", [&](QDialog& d) {
        pop3.RetirerClick();
        ASSERT_TRUE(test::RunUntil(
            [&] { return server.connections() > 0 && server.Taken(0).size() >= 4; }));
        EXPECT_TRUE(pop3.Receiving());
        EXPECT_TRUE(On(d, "BitBtnAnnuler"));
        EXPECT_FALSE(On(d, "BitBtnRetirer"));
        pop3.AnnulerClick();
        EXPECT_FALSE(pop3.Receiving());
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(Action(d).endsWith(
            "Réception interrompue à votre demande : rien n'est effacé du serveur."))
            << Action(d).toStdString();
        EXPECT_TRUE(On(d, "BitBtnRetirer") && On(d, "BitBtnAnnuler"));
        pop3.RetirerClick();
        ASSERT_TRUE(test::RunUntil([&] { return !pop3.Receiving(); }, 10000));
        EXPECT_TRUE(Logs(d, "Echec de la transmission d'un message"));
        EXPECT_TRUE(On(d, "BitBtnRetirer") && On(d, "BitBtnDechiffrer"));
        EXPECT_EQ(Action(d).count(clear), 2);
    });
    pop3.ShowReceiving(mainWindow);
    EXPECT_EQ(pop3.Waiting().size(), 1u);
    // Nothing deleted after the cut: Retrieval.AFaultWhileSorting...
    EXPECT_EQ(server.Received(0).find("DELE"), std::string::npos);
}

// How long this thread has waited, runnable, for a core (the scheduler's own
// count; none where it is not kept).
std::chrono::nanoseconds WaitedForACore() {
    std::ifstream stat("/proc/thread-self/schedstat");
    long long onCore = 0, waiting = 0;
    return std::chrono::nanoseconds(stat >> onCore >> waiting ? waiting : 0);
}

// A long history costs the window nothing: with 10,000 records in the
// received log, a 5 ms timer on the window's thread is never held up more
// than 100 ms while the receiving window fetches and logs ten messages.
TEST_F(MailWindows, RetirerWithALongLogNeverHoldsTheWindowUp) {
    constexpr int kLogged = 10000, kMails = 10;
    WindowHooks hooks;
    hooks.saveRunner = SaveOnLongJob(&mainWindow);  // as the program runs its saves
    ctx.LendHooks(&hooks);
    ReadyToReceive("pw");
    const std::filesystem::path received = dir.path() / "recus";
    Lines text{kSeparatorLine,
               AddressLine(Kind::PlainMessage, "12345", '1', '1', kOwn, "01000000023")};
    text.resize(28, "0123456789ABCDEF0123456789ABCDEF");
    text.push_back(kEndMarkerLine);
    RecordList old;
    for (int i = 0; i < kLogged; ++i)
        old.push_back(ReceivedLogRecord(45000.5, "X", "ancien " + std::to_string(i), text));
    ASSERT_EQ(SaveRecordList(old, received / "MsgChifE.dat", {}), SaveResult::Saved);
    ASSERT_GE(std::filesystem::file_size(received / "MsgChifE.dat"), kSaveAwayBytes);
    BeginReadMarks(ctx, mail.receivedLog);  // as the start-up does: the old mail was read

    test::Script script =
        test::pop3::LogIn("paul", "pw", "+OK " + std::to_string(kMails) + " 9000\r\n");
    // Each mail its own bytes: the same bytes twice would be one mail.
    for (int n = 1; n <= kMails; ++n)
        test::pop3::Fetch(script, n, OurMail("Nouveau " + std::to_string(n)));
    for (int n = 1; n <= kMails; ++n)
        script.insert(script.end(),
                      {step::ExpectLine("DELE " + std::to_string(n)), step::Send("+OK\r\n")});
    script.insert(script.end(), {step::ExpectLine("QUIT"), step::Send("+OK\r\n")});
    test::ScriptedServer server({script});
    ctx.settings.pop3Server = Serve(server);

    FormPop3 pop3(ctx, mail, &mainWindow);
    pop3.SetLimits(kShortLimits);
    std::chrono::nanoseconds largest{};
    runner.Once("FormPop3", [&](QDialog&) {
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        // Each gap less the time the thread was ready but not given a core:
        // a loaded machine is not the window's fault.
        auto last = std::chrono::steady_clock::now();
        auto lastWaited = WaitedForACore();
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const auto now = std::chrono::steady_clock::now();
            const auto waited = WaitedForACore();
            largest = std::max(largest, (now - last) - (waited - lastWaited));
            last = now;
            lastWaited = waited;
        });
        tick.start(5);
        pop3.RetirerClick();
        ASSERT_TRUE(test::RunUntil([&] { return !pop3.Receiving(); }, 20000));
    });
    pop3.ShowReceiving(mainWindow);
    EXPECT_TRUE(server.Failures().empty()) << server.Failures().front();
    EXPECT_EQ(pop3.Waiting().size(), std::size_t(kMails));
    const auto largestMs = std::chrono::duration_cast<std::chrono::milliseconds>(largest).count();
    RecordProperty("largestDelayMs", int(largestMs));
    EXPECT_LE(largestMs, 100);
    const RecordList log = Load(received / "MsgChifE.dat");
    ASSERT_EQ(log.size(), std::size_t(kLogged + kMails));
    EXPECT_EQ(log.front(), old.front());
    EXPECT_EQ(log.back()[2], "objet : Nouveau 10");
}

TEST_F(MailWindows, NewMailComesWithoutAskingOnlyWhileIdleAndAFailureIsOneLine) {
    if (const std::string why = test::Pop3Server::MissingReason(); !why.empty())
        GTEST_SKIP() << why;
    test::TempDir maildir;
    test::Pop3Server server(maildir.path() / "Maildir", "paul", "motdepasse");
    ASSERT_TRUE(server.Running()) << server.Log();
    ReadyToReceive("motdepasse");
    state::Loaded(ctx, ctx.OwnRecord(), false);
    ctx.settings.pop3Server = server.Address();
    server.Drop(OurMail("Devis"));
    FormPop3 pop3(ctx, mail, &mainWindow);
    test::WindowHost host;
    NewMailWatch watch(ctx, pop3, host);
    SetInformation(ctx, txt::kIdle);

    // Off until chosen, and nothing while Busy.
    EXPECT_FALSE(watch.On());
    ctx.busy = true;
    watch.Apply(true, std::chrono::milliseconds(50));
    QTest::qWait(400);
    EXPECT_EQ(server.Count(), 1u);
    EXPECT_TRUE(pop3.Waiting().empty());

    // Idle: into the receiving window's waiting list, holding Busy meanwhile.
    ctx.busy = false;
    bool heldBusy = false;
    ASSERT_TRUE(test::RunUntil(
        [&] {
            heldBusy = heldBusy || ctx.busy;
            return watch.NewCount() == 1 && !watch.Retrieving();
        },
        10000));
    EXPECT_TRUE(heldBusy);
    EXPECT_FALSE(ctx.busy);
    ASSERT_EQ(pop3.Waiting().size(), 1u);
    EXPECT_EQ(pop3.Waiting()[0][0], "Devis");
    EXPECT_EQ(Information(ctx), "En attente") << "given back";
    EXPECT_EQ(NewMailCaptionPrefix(watch.NewCount()), "(1) ");
    EXPECT_EQ(NewMailLine(2), QString::fromUtf8("2 nouveaux messages attendent dans « Courrier "
                                                "entrant »."));
    ASSERT_TRUE(test::RunUntil([&] { return server.Count() == 0; }, 5000));

    // Opening the receiving window: seen.
    runner.Once("FormPop3", [](QDialog&) {});
    pop3.ShowReceiving(mainWindow);
    EXPECT_EQ(watch.NewCount(), 0);

    // A refused password: a line under the information, no box, and the
    // next period tries again.
    ASSERT_TRUE(StoreMailPassword(ctx.keyStore, '0', "mauvais"));
    server.Drop(OurMail("Facture"));
    ASSERT_TRUE(test::RunUntil([&] { return ctx.information == txt::kCollectionFailed; }, 15000));
    EXPECT_NE(ctx.informationNote.find("[AUTH] Authentication failed"), std::string::npos)
        << ctx.informationNote;
    EXPECT_TRUE(boxes.Texts().empty());
    ASSERT_TRUE(StoreMailPassword(ctx.keyStore, '0', "motdepasse"));
    ASSERT_TRUE(test::RunUntil([&] { return watch.NewCount() == 1; }, 15000));
    EXPECT_EQ(pop3.Waiting().back()[0], "Facture");
    watch.Apply(false, std::chrono::milliseconds(50));
}

// The mailbox window over three messages y received from x: the filter, the
// search in the decrypted texts (in memory, none when stopped), opening with
// the read state kept over a restart, and deleting after its question.
class MailboxWindow : public test::TwoHolders {};

TEST_F(MailboxWindow, FiltersSearchesOpensAndDeletes) {
    ScriptedMessageBoxes boxes;
    QWidget mainWindow;
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}"
        "\\pard\\f0\\fs20 \\b Gras\\b0  et \\'e9t\\'e9\\par\r\n}";
    struct Sent {
        std::string subject;  // code page 1252
        std::string text;
        bool rich;
        std::vector<std::filesystem::path> files;
    };
    const std::string summer =
        "\xC9t\xE9 \xE0 No\xEBl \xE7"
        "a";
    const std::vector<Sent> messages{
        {"Bonjour", "Bonjour", false, {}},
        {summer, "Voici la facture", false, {WriteFile("facture.pdf", "%PDF")}},
        {"Plans",
         rtf,
         true,
         {WriteFile("plan.png", std::string(70000, '\x89')), WriteFile("vide.txt", "")}}};
    // As a retrieval leaves them: the attachments in the received folder,
    // the text from the separator on (with their names) in the received log.
    for (const Sent& m : messages) {
        ASSERT_TRUE(Encrypt(x, y, m.text, m.rich, m.files).ok);
        Deliver(x, y);
        const Lines text(std::find(x.body.begin(), x.body.end(), kSeparatorLine), x.body.end());
        y->mail.receivedLog.Add(ReceivedLogRecord(45000.5, "MARTIN H\xE9l\xE8ne", m.subject, text));
    }
    ASSERT_EQ(y->mail.receivedLog.Save(ReceivedLogPath(*y), {}), SaveResult::Saved);

    FormCourrier courrier(*y, y->mail, &mainWindow);
    int opened = 0;
    QObject::connect(&courrier, &FormCourrier::OpenRequested, [&](const Lines& entry) {
        Lines text(entry.begin() + 1, entry.end());
        const Lines textAndNames = text;
        ASSERT_TRUE(ReadReceivedBody(*y, y->messages, text, {}).ok);
        const auto sent = std::find_if(messages.begin(), messages.end(),
                                       [&](const Sent& m) { return m.subject == entry.front(); });
        ASSERT_NE(sent, messages.end());
        EXPECT_EQ(y->messages.decrypted.text, sent->text);
        courrier.MarkRead(textAndNames, y->messages.decrypted.identityConfirmed);
        ++opened;
    });
    courrier.ShowMailbox(mainWindow);
    ASSERT_EQ(courrier.Received().Size(), 3u);
    EXPECT_EQ(courrier.Sent().Size(), 0u);
    test::Type(courrier, "EditFiltre", QStringLiteral("ete a noel"));
    ASSERT_EQ(courrier.Received().Size(), 1u);
    EXPECT_EQ(courrier.Received().Row(0).subject, QString::fromUtf8("Été à Noël ça"));
    // The search decrypts in memory: nothing more in the decrypted folder.
    const auto decryptedFiles = [&] {
        return std::distance(std::filesystem::directory_iterator(y.Decrypted()), {});
    };
    const auto before = decryptedFiles();
    const auto search = [&](const QString& words) {
        test::Type(courrier, "EditFiltre", words);
        test::Click(courrier, "BitBtnRechercher");
        QStringList subjects;
        for (std::size_t i = 0; i < courrier.Received().Size(); ++i)
            subjects << courrier.Received().Row(i).subject;
        return subjects;
    };
    EXPECT_EQ(search(QStringLiteral("FACTURE")), QStringList{QString::fromUtf8("Été à Noël ça")});
    EXPECT_EQ(search(QStringLiteral("ete")), QStringList{"Plans"});  // RTF's \'e9t\'e9
    int searches = 0;
    courrier.runJob = [&searches](QWidget*, const QString&, const auto& job, bool* cancelled) {
        ++searches;
        *cancelled = true;
        return job([](const QString&, std::uint64_t, std::uint64_t) { return false; });
    };
    EXPECT_TRUE(search(QStringLiteral("facture")).isEmpty());  // the filter's rows: none
    EXPECT_EQ(decryptedFiles(), before);
    // Nothing to look for, or the program busy: no search at all.
    test::Type(courrier, "EditFiltre", QStringLiteral("  "));
    courrier.RechercherClick();
    test::Type(courrier, "EditFiltre", QStringLiteral("facture"));
    y->busy = true;
    courrier.RechercherClick();
    y->busy = false;
    EXPECT_EQ(searches, 1);
    test::Type(courrier, "EditFiltre", QString());
    for (int row = 0; row < 3; ++row) {
        courrier.SelectReceived(row);
        test::Click(courrier, "BitBtnOuvrir");
    }
    EXPECT_EQ(opened, 3);
    FormCourrier again(*y, y->mail, &mainWindow);  // what a restart reads
    again.Reload();
    for (std::size_t row = 0; row < 3; ++row)
        EXPECT_EQ(again.Received().Row(row).state, ReadState::Confirmed);
    const auto files = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(y.Received())) {
            const std::string name = e.path().filename().string();
            if (name.rfind("MsgChif", 0) != 0) names.push_back(name);
        }
        return names;
    };
    ASSERT_EQ(files().size(), 3u) << testing::PrintToString(files());
    for (std::size_t row = 0; row < 3; ++row) {
        if (again.Received().Row(row).attachments != 2) continue;
        EXPECT_GT(again.Received().Row(row).attachmentBytes, 70000u);
        again.SelectReceived(int(row));
    }
    boxes.Answer(kNo);
    test::Click(again, "BitBtnSupprimer");
    EXPECT_EQ(again.Received().Size(), 3u);
    boxes.Answer(kYes);
    test::Click(again, "BitBtnSupprimer");
    ASSERT_EQ(again.Received().Size(), 2u);
    EXPECT_EQ(files().size(), 1u) << testing::PrintToString(files());
}

}  // namespace
}  // namespace quarnel::ui
