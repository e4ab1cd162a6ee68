// SPDX-License-Identifier: GPL-3.0-or-later
// The scripted server against a bare client socket: a line protocol session
// with a mismatch, the ways a script ends, HTTP framing, and the limits.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>

#include <functional>
#include <memory>
#include <string>

#include "event_loop.h"
#include "scripted_server.h"

namespace quarnel::test {
namespace {

// A client that keeps what it got and whether the server closed.
struct Client {
    explicit Client(const ScriptedServer& server) {
        QObject::connect(&socket, &QTcpSocket::readyRead,
                         [this] { got += socket.readAll().toStdString(); });
        QObject::connect(&socket, &QTcpSocket::connected, [this] { connected = true; });
        QObject::connect(&socket, &QTcpSocket::disconnected, [this] { closed = true; });
        socket.connectToHost("127.0.0.1", server.port());
        EXPECT_TRUE(RunUntil([this] { return connected; }));
    }
    void Write(const std::string& bytes) { socket.write(bytes.data(), qint64(bytes.size())); }
    // Writes `bytes`, then waits for the server's answer `reply`.
    bool Say(const std::string& bytes, const std::string& reply) {
        got.clear();
        Write(bytes);
        return RunUntil([&] { return got == reply; });
    }

    QTcpSocket socket;
    std::string got;
    bool connected = false;
    bool closed = false;
};

// What a test could pass falsely without: every byte received kept, a
// mismatch and an unmet Expect reported, Reset not a graceful close.
TEST(ScriptedServer, PlaysALineSessionAndRecordsAMismatch) {
    const Script mail{step::Send("220 ready\r\n"), step::ExpectLine("EHLO x"),
                      step::Send("250 ok\r\n"),    step::ExpectLine("MAIL FROM:<a@b>"),
                      step::Send("250 ok\r\n"),    step::ExpectLine("DATA"),
                      step::Send("354 go\r\n"),    step::ExpectData(),
                      step::Send("250 queued\r\n")};
    ScriptedServer server({mail});
    ASSERT_TRUE(server.Listen());

    Client smtp(server);
    ASSERT_TRUE(RunUntil([&] { return smtp.got == "220 ready\r\n"; }));
    ASSERT_TRUE(smtp.Say("EHLO x\r\n", "250 ok\r\n"));
    ASSERT_TRUE(smtp.Say("MAIL FROM:<c@d>\r\n", "250 ok\r\n"));  // recorded, goes on
    // The message dot-stuffed, its end split over two writes.
    ASSERT_TRUE(smtp.Say("DATA\r\n", "354 go\r\n"));
    smtp.Write("line\r\n..dot\r\n.\r");
    ASSERT_TRUE(RunUntil([&] { return server.Received(0).ends_with(".\r"); }));
    ASSERT_TRUE(smtp.Say("\n", "250 queued\r\n"));
    ASSERT_TRUE(RunUntil([&] { return smtp.closed; }));  // the script ran out
    EXPECT_EQ(server.Received(0), "EHLO x\r\nMAIL FROM:<c@d>\r\nDATA\r\nline\r\n..dot\r\n.\r\n");
    EXPECT_EQ(server.Taken(0),
              (std::vector<std::string>{"EHLO x", "MAIL FROM:<c@d>", "DATA", "line\r\n..dot\r\n"}));
    EXPECT_EQ(server.Failures(),
              (std::vector<std::string>{"connection 0: step 3 ExpectLine \"MAIL FROM:<a@b>\": "
                                        "took \"MAIL FROM:<c@d>\""}));
}

TEST(ScriptedServer, DropFlushesResetDiscardsSilenceHoldsAndUnmetExpectsAreReported) {
    ScriptedServer server({{step::Send("flushed"), step::Drop()},
                           {step::Send("discarded"), step::Reset()},
                           {step::Pause(50), step::Send("hello\r\n"), step::Silence()},
                           {step::ExpectLine("QUIT"), step::Send("bye\r\n")}});
    ASSERT_TRUE(server.Listen());

    Client dropped(server);
    ASSERT_TRUE(RunUntil([&] { return dropped.closed; }));
    EXPECT_EQ(dropped.got, "flushed");
    Client reset(server);
    ASSERT_TRUE(RunUntil([&] { return reset.closed; }));
    EXPECT_EQ(reset.got, "");

    Client silent(server);
    ASSERT_TRUE(RunUntil([&] { return silent.got == "hello\r\n"; }));
    silent.Write("ignored\r\n");
    ASSERT_TRUE(RunUntil([&] { return server.Received(2) == "ignored\r\n"; }));
    EXPECT_FALSE(silent.closed);
    EXPECT_EQ(server.Failures(), std::vector<std::string>{});

    // An Expect still waiting is reported; once the client leaves, as unmet.
    Client leaving(server);
    leaving.Write("QU");
    ASSERT_TRUE(RunUntil([&] { return server.Received(3) == "QU"; }));
    EXPECT_EQ(server.Failures(),
              std::vector<std::string>{
                  "connection 3, step 0 ExpectLine \"QUIT\": still waiting, has \"QU\""});
    leaving.socket.disconnectFromHost();
    const std::vector<std::string> unmet{
        "connection 3: closed by the client before step 0 "
        "ExpectLine \"QUIT\" was met, has \"QU\""};
    EXPECT_TRUE(RunUntil([&] { return server.Failures() == unmet; }));
}

TEST(ScriptedServer, AnHttpRequestEndsAfterItsContentLengthAndABadLengthIsAFault) {
    ScriptedServer server({{step::ExpectHttp(), step::Send("HTTP/1.0 200 OK\r\n\r\n")}});
    ASSERT_TRUE(server.Listen());
    const std::string head = "POST / HTTP/1.0\r\nHost: h\r\ncontent-LENGTH:  5 \r\n\r\n";
    Client client(server);
    client.Write(head + "ab");
    ASSERT_TRUE(RunUntil([&] { return server.Received(0).size() == head.size() + 2; }));
    EXPECT_TRUE(server.Taken(0).empty());  // not before the whole content
    ASSERT_TRUE(client.Say("cde", "HTTP/1.0 200 OK\r\n\r\n"));
    EXPECT_EQ(server.Taken(0), std::vector<std::string>{head + "abcde"});
    EXPECT_EQ(server.Failures(), std::vector<std::string>{});

    Client bad(server);
    bad.Write("POST / HTTP/1.0\r\nContent-Length: 5x\r\n\r\n");
    ASSERT_TRUE(RunUntil([&] { return bad.closed; }));
    ASSERT_EQ(server.Failures().size(), 1u);
    EXPECT_EQ(server.Failures()[0].rfind("connection 1: step 0 ExpectHttp: malformed", 0), 0u);
}

TEST(ScriptedServer, AConnectionIsCutPastTheBufferLimitOrWhenAnExpectOutlastsItsTime) {
    ScriptedServer server({{step::Silence()}});
    ASSERT_TRUE(server.Listen());
    Client client(server);
    client.Write(std::string(ScriptedServer::kMaxBuffered, 'x'));
    ASSERT_TRUE(
        RunUntil([&] { return server.Received(0).size() == ScriptedServer::kMaxBuffered; }));
    EXPECT_FALSE(client.closed);
    EXPECT_EQ(server.Failures(), std::vector<std::string>{});
    client.Write("y");
    ASSERT_TRUE(RunUntil([&] { return client.closed; }));
    EXPECT_EQ(server.Received(0).size(), ScriptedServer::kMaxBuffered);
    EXPECT_EQ(server.Failures(),
              std::vector<std::string>{"connection 0: sent more than 1048576 bytes"});

    constexpr int kShortLimitMs = 200;
    ScriptedServer slow({{step::ExpectLine()}}, kShortLimitMs);
    ASSERT_TRUE(slow.Listen());
    QElapsedTimer elapsed;
    elapsed.start();
    Client late(slow);
    late.Write("EHL");
    ASSERT_TRUE(RunUntil([&] { return late.closed; }));
    EXPECT_GE(elapsed.elapsed(), kShortLimitMs);
    EXPECT_EQ(slow.Failures(),
              std::vector<std::string>{"connection 0: step 0 ExpectLine: nothing complete within "
                                       "200 ms, has \"EHL\""});
}

}  // namespace
}  // namespace quarnel::test
