// SPDX-License-Identifier: GPL-3.0-or-later
// The road from a correspondent's key to a queued message through the main
// window: the correspondents window's Correspondre, the composer, the
// encryption, and the main window that then asks for the dispatch.

#include <QTextEdit>

#include "event_loop.h"
#include "holder_setup.h"
#include "mail/outgoing_queue.h"
#include "mail/sent_log.h"
#include "mail/windows/form_smtp.h"
#include "messages/windows/form_redac.h"
#include "scripted_server.h"
#include "shell_fixture.h"
#include "store/windows/form_liste.h"
#include "ta/core/issuing.h"

namespace quarnel {
namespace {

class MessageRoad : public test::ShellFixture {};

TEST_F(MessageRoad, CorrespondreLeadsToAQueuedMessageAndTheDispatchButton) {
    // A correspondent issued for the holder as HolderFiles seals it.
    const ta::RandomSource random = test::SeededRandom(7);
    const ta::Affiliate other = test::NewAffiliate('A', "1F401000007", "DUPONT", '1', random);
    auto [aboutOther, aboutHolder] =
        test::RecordsForPair(files.Affiliate(), other, ta::RandomKey(random));
    Affiliated();
    files.WriteList("QuarnelTitA.dat", {aboutOther});
    ASSERT_EQ(Start(), StartupEnd::Completed);
    EXPECT_FALSE(main->Button(Command::Dispatch).isEnabled());

    main->findChild<QAction*>("MenuPrives")->trigger();
    runner.Once("FormRedac", [](QDialog& d) {
        auto& redac = static_cast<ui::FormRedac&>(d);
        EXPECT_EQ(redac.windowTitle(), "Rédaction d'un message chiffré");
        redac.Editor().insertPlainText("Bonjour");
        redac.ChiffrerClick();
    });
    boxes.Answer(ui::kNo);  // not saved
    // The sending window takes it over; Plus tard queues it.
    runner.Once("FormSmtp", [](QDialog& d) { static_cast<ui::FormSmtp&>(d).PlusTardClick(); });
    main->Windows().liste->MenuTexteClick(Kind::PlainMessage);

    EXPECT_EQ(runner.Runs().count("FormRedac"), 1);
    EXPECT_EQ(runner.Runs().count("FormSmtp"), 1);
    ASSERT_EQ(ctx.mail.outgoingQueue.size(), 1u) << boxes.Texts().join('\n').toStdString();
    RecordList saved;
    ASSERT_TRUE(LoadRecordList(OutgoingQueuePath(ctx), saved));
    EXPECT_EQ(saved, ctx.mail.outgoingQueue);
    EXPECT_EQ(Information(), "Des messages chiffrés doivent encore être expédiés.");
    EXPECT_TRUE(main->Button(Command::Dispatch).isEnabled());
    EXPECT_FALSE(ctx.busy);

    // Expédition hands the queue to the relay.
    namespace step = test::step;
    test::ScriptedServer relay(
        {{step::Send("220 relay\r\n"), step::ExpectLine(), step::Send("250 hello\r\n"),
          step::ExpectLine("RSET"), step::Send("250 reset\r\n"), step::ExpectLine(),
          step::Send("250 sender\r\n"), step::ExpectLine(), step::Send("250 recipient\r\n"),
          step::ExpectLine("DATA"), step::Send("354 go\r\n"), step::ExpectData(),
          step::Send("250 queued\r\n"), step::ExpectLine("QUIT"), step::Send("221 bye\r\n")}});
    ASSERT_TRUE(relay.Listen());
    ctx.settings.smtpServer = "127.0.0.1:" + std::to_string(relay.port());
    runner.Once("FormSmtp", [&](QDialog& d) {
        auto& smtp = static_cast<ui::FormSmtp&>(d);
        smtp.MaintenantClick();
        ASSERT_TRUE(test::RunUntil([&] { return !smtp.Sending(); }));
        QCoreApplication::processEvents();
        smtp.AnnulerClick();
    });
    main->Button(Command::Dispatch).click();
    EXPECT_TRUE(relay.Failures().empty()) << relay.Failures().front();
    ASSERT_EQ(relay.Taken(0).size(), 7u);
    EXPECT_NE(relay.Taken(0)[5].find("X-Mailer: QuarnelSys"), std::string::npos);
    EXPECT_TRUE(ctx.mail.outgoingQueue.empty());
    EXPECT_EQ(ctx.mail.sentLog.Count(SentLogPath(ctx)), 1u);
    EXPECT_EQ(Information(), "Les messages chiffrés ont été envoyés.");
    EXPECT_FALSE(main->Button(Command::Dispatch).isEnabled());
}

}  // namespace
}  // namespace quarnel
