// SPDX-License-Identifier: GPL-3.0-or-later
// Request bodies: the layout the authority reads, their side effects on the
// key store and the version code, and golden copies for fixed clocks; the
// framing of HTTP replies and redirect locations.

#include <gtest/gtest.h>

#include "authority/connection.h"
#include "authority/requests.h"
#include "authority/texts.h"
#include "crypto/hextext.h"
#include "holder_fixture.h"
#include "protocol/lines.h"
#include "protocol/texts.h"
#include "store/key_store.h"
#include "ta/core/requests.h"

namespace quarnel {
namespace {

using test::FixClocks;
using test::NewHolder;

class Requests : public ::testing::Test {
  protected:
    void SetUp() override { FixClocks(); }
    void TearDown() override { test::ReleaseClocks(); }

    BuildResult Build(ProgramData& ctx, Kind kind) {
        ctx.authority.requestKind = kind;
        return BuildOutgoingBody(ctx, ctx.authority, ctx.messages);
    }
    static void ExpectGolden(const ProgramData& ctx) {
        test::ExpectGolden(
            "authority/request-" + std::string(KindText(*ctx.authority.requestKind)) + ".txt",
            JoinLinesCrLf(ctx.authority.outgoingBody));
    }
    // The request data as the authority splits it.
    static Lines Wire(const ProgramData& ctx) {
        Lines wire;
        EXPECT_TRUE(ta::SplitRequestData(RequestData(ctx.authority.outgoingBody), wire));
        return wire;
    }

    test::TempDir dir;
};

TEST_F(Requests, AnAffiliationRequestCreatesTheOwnRecordOnceAndReplacesItsKeyWhenRepeated) {
    auto ctx = NewHolder(dir.path(), 'A', "DUPONT");
    ctx->settings.versionCode = "D300A";
    FixClocks();  // after the key set-up's draws
    ASSERT_TRUE(Build(*ctx, Kind::Affiliation).ok);
    ExpectGolden(*ctx);
    ASSERT_EQ(ctx->keyStore.size(), 1u);
    EXPECT_EQ(ctx->OwnRecord(), (Record{"0FF00000000", QuadToHex(*ctx->authority.taKey)}));
    EXPECT_EQ(ctx->settings.versionCode, "D400F");
    EXPECT_EQ(ctx->ownDigit, '0');
    // What it carries is what the authority opens: the reply processing tests
    // are affiliated through it.

    // Repeated (state 1), to another authority: one own record, line 1 replaced.
    state::AffiliationRequested(*ctx);
    *ctx->authority.taKey = Quad{1, 2, 3, 4};
    ctx->settings.taCode = "1F4";
    ASSERT_TRUE(Build(*ctx, Kind::Affiliation).ok);
    ASSERT_EQ(ctx->keyStore.size(), 1u);
    EXPECT_EQ(ctx->OwnRecord(), (Record{"0FF00000000", QuadToHex(Quad{1, 2, 3, 4})}));
    EXPECT_EQ(ctx->authority.outgoingBody[2],
              "0005C260"
              "0"
              "0"
              "00000000000"
              "1F4"
              "00000000");
}

TEST_F(Requests, KeyRequestsHaveOnlyTheirAddressLine) {
    auto ctx = NewHolder(dir.path(), 'A', "DUPONT");
    ctx->ownNumber = "0FF01000000";
    ctx->authority.correspondentNumber = "0FF00002000";
    for (auto k : {Kind::Key, Kind::KeyUpdate}) {
        ASSERT_TRUE(Build(*ctx, k).ok);
        const Lines& body = ctx->authority.outgoingBody;
        ASSERT_EQ(body.size(), 4u);
        EXPECT_EQ(body[2], std::string(KindText(k)) +
                               "05C26000"
                               "0FF00002000"
                               "0FF01000000");
        EXPECT_EQ(RequestData(body), kSeparatorLine + "Z" + body[2] + "Z" + kEndMarkerLine + "Z");
        ExpectGolden(*ctx);
    }
    EXPECT_EQ(ctx->settings.versionCode, "D400F");  // untouched by kinds 10 and 11
    ctx->authority.correspondentNumber = "0FF0000200";
    EXPECT_EQ(Build(*ctx, Kind::Key).problem, txt::kBadCorrespondentNumber);
}

TEST_F(Requests, SignedRequestsNeedTheOwnSigningKeyAndOpenWithIt) {
    auto ctx = NewHolder(dir.path(), 'F', "MARTIN");
    ctx->authority.outgoingBody = {"previous"};
    ctx->settings.versionCode = "D300A";
    ctx->messages.certificationData = "x";
    for (auto k : {Kind::Update, Kind::Certification}) {
        const BuildResult r = Build(*ctx, k);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.problem, txt::kNoSigningKey);
    }
    // A user message is encrypted, never built as a request.
    EXPECT_EQ(Build(*ctx, Kind::PlainMessage).problem, txt::kNotARequestKind);
    EXPECT_EQ(ctx->authority.outgoingBody, Lines{"previous"});
    EXPECT_EQ(ctx->settings.versionCode, "D300A");

    // With the record the authority issues, both open with the signing key.
    ta::Affiliate me = test::NewAffiliate('F', "0FF00002000", "MARTIN", '0', test::SeededRandom(3));
    me.taKey = *ctx->authority.taKey;
    ctx->keyStore = {test::OwnKeyRecord(me)};
    ctx->ownNumber = me.number;
    ctx->messages.certificationData = "address\rdigest\rsignature\r05/12/2026 14:03:07";
    ctx->authority.firstAffiliation = true;
    ASSERT_TRUE(Build(*ctx, Kind::Update).ok);
    EXPECT_EQ(ctx->authority.outgoingBody[2],
              "0105C26"
              "000"
              "00000000000"
              "0FF00002000");
    ExpectGolden(*ctx);
    ctx->authority.firstAffiliation = false;
    for (auto [k, text] : {std::pair{Kind::Update, JoinWithCarriageReturns(me.identity)},
                           std::pair{Kind::Certification, ctx->messages.certificationData}}) {
        ASSERT_TRUE(Build(*ctx, k).ok);
        EXPECT_EQ(ctx->authority.outgoingBody[0],
                  FrenchTextCp1252(k == Kind::Update ? txt::kTitle01Update : txt::kTitle18));
        DecipheredText opened;
        std::string why;
        ASSERT_TRUE(ta::OpenSignedRequest(Wire(*ctx), me.signingKey, opened, why)) << why;
        EXPECT_EQ(opened.text, text);
        EXPECT_FALSE(
            ta::OpenSignedRequest(Wire(*ctx), ta::RandomKey(test::SeededRandom(4)), opened, why));
    }
    EXPECT_EQ(ctx->settings.versionCode, "D400F");
    ExpectGolden(*ctx);
}

TEST_F(Requests, TheCertificationBodyLayoutSpelledOut) {
    auto ctx = NewHolder(dir.path(), 'F', "MARTIN");
    ta::Affiliate me = test::NewAffiliate('F', "0FF00002000", "MARTIN", '0', test::SeededRandom(3));
    me.taKey = *ctx->authority.taKey;
    ctx->keyStore = {test::OwnKeyRecord(me)};
    ctx->ownNumber = me.number;
    ctx->messages.certificationData.clear();  // 0 characters: nothing to certify
    EXPECT_EQ(Build(*ctx, Kind::Certification).problem, txt::kNoCertificationData);
    for (const std::size_t n : {16u, 17u, 32u, 33u}) {
        SCOPED_TRACE(n);
        ctx->messages.certificationData = std::string(n, 'c');
        ASSERT_TRUE(Build(*ctx, Kind::Certification).ok);
        const Lines& body = ctx->authority.outgoingBody;
        EXPECT_EQ(body[0], "Demande de certification d'une signature");
        EXPECT_EQ(body[1], std::string(32, 'F'));
        // Kind, date code of 05/12/2026, "0", own key digit, "0", no number, own number.
        EXPECT_EQ(body[2],
                  "18"
                  "05C26"
                  "000"
                  "00000000000"
                  "0FF00002000");
        // The nonce line, two header lines, one line per 16 characters, the end marker.
        const std::size_t blocks = n <= 16 ? 1 : n <= 32 ? 2 : 3;
        EXPECT_EQ(body.size(), 3 + 1 + 2 + blocks + 1);
        EXPECT_EQ(body.back(), std::string(32, '0'));
        DecipheredText opened;
        std::string why;
        ASSERT_TRUE(ta::OpenSignedRequest(Wire(*ctx), me.signingKey, opened, why)) << why;
        EXPECT_EQ(opened.text, std::string(n, 'c'));
        EXPECT_EQ(opened.code + opened.field1 + opened.field2, "D400F0F");
    }
}

// How a reply ends, whole or in one-byte pieces as a slow link delivers it:
// the state once the connection closes, and the body read.
TEST(Connection, RepliesEndAsTheyAnnounceOrAreRefused) {
    using S = HttpReplyReader::State;
    const std::string ok = "HTTP/1.0 200 OK\r\n";
    struct Case {
        std::string bytes;
        S state;
        std::string body;
    };
    for (const Case& c : {
             Case{ok + "Content-LENGTH: 3\r\n\r\nabcdef", S::Complete, "abc"},
             Case{ok + "Content-Length: 9\r\n\r\nabc", S::Incomplete, "abc"},
             Case{ok + "\r\nabc", S::Complete, "abc"},  // no length: the close ends it
             Case{ok + "Content-Length: 3\r\n", S::Incomplete, ""},
             Case{"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 102 Processing\r\nX: y\r\n\r\n" + ok +
                      "Content-Length: 2\r\n\r\nab",
                  S::Complete, "ab"},
             // Chunks (with an extension and a trailer) override a length.
             Case{ok + "Transfer-Encoding: chunked\r\nContent-Length: 1\r\n\r\n"
                       "3;x=y\r\nabc\r\n0A\r\n0123456789\r\n0\r\nT: v\r\n\r\nafter",
                  S::Complete, "abc0123456789"},
             Case{ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n", S::Incomplete, "abc"},
             Case{ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nabcd\r\n", S::BadFraming, "abc"},
             Case{ok + "Transfer-Encoding: chunked\r\n\r\nz\r\n", S::BadFraming, ""},
             Case{ok + "Transfer-Encoding: gzip, chunked\r\n\r\n", S::UnsupportedEncoding, ""},
             Case{ok + "Content-Length: 2\r\nContent-Length: 3\r\n\r\nabc", S::BadFraming, ""},
             Case{ok + "Content-Length: 3\r\nContent-Length: 3\r\n\r\nabc", S::Complete, "abc"},
             Case{ok + "Content-Length: 3x\r\n\r\nabc", S::BadFraming, ""},
         }) {
        HttpReplyReader whole, trickled;
        (void)whole.Feed(c.bytes);
        for (const char byte : c.bytes)
            (void)trickled.Feed(std::string_view(&byte, 1));
        for (HttpReplyReader* r : {&whole, &trickled}) {
            EXPECT_EQ(r->Close(), c.state) << c.bytes;
            EXPECT_EQ(r->Body(), c.body) << c.bytes;
        }
    }
    // A chunk announced beyond the reply's limit ends the reading at once.
    HttpReplyReader big;
    EXPECT_EQ(big.Feed(ok + "Transfer-Encoding: chunked\r\n\r\n100001\r\n"), S::ReplyTooLong);
}

// (An absolute location followed, and one of another scheme refused: the
// exchange's redirect test.)
TEST(Connection, RedirectLocations) {
    const HttpReply r = ParseHttpReply("HTTP/1.0 302 Found\r\nlocation: /y/\r\n\r\n");
    EXPECT_EQ(r.status, 302);
    const HttpTarget base{"ta", 50255, "/QuarnelSys/"};
    EXPECT_EQ(ResolveLocation(base, r.location)->Url(), "http://ta:50255/y/");
    EXPECT_FALSE(ResolveLocation(base, "http://x:99999/"));
}

}  // namespace
}  // namespace quarnel
