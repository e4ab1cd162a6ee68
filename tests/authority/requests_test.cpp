// Request bodies: the layout the authority reads, their side effects on the
// key store and the version code, and golden copies for fixed clocks.

#include <gtest/gtest.h>

#include "authority/connection.h"
#include "authority/requests.h"
#include "authority/texts.h"
#include "crypto/hextext.h"
#include "holder_fixture.h"
#include "messages/format.h"
#include "store/atomic_file.h"
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

    BuildResult Build(HolderContext& ctx, std::string_view kind) {
        ctx.requestKind = std::string(kind);
        return BuildOutgoingBody(ctx);
    }

    // Compares with tests/data/authority/<name>; QUARNEL_UPDATE_GOLDEN=1 rewrites it.
    void ExpectGolden(const Lines& body, const std::string& name) {
        const auto path = std::filesystem::path(QUARNEL_TEST_DATA_DIR) / "authority" / name;
        const std::string bytes = JoinLinesCrLf(body);
        if (std::getenv("QUARNEL_UPDATE_GOLDEN")) {
            std::filesystem::create_directories(path.parent_path());
            ASSERT_TRUE(WriteFileAtomically(path, bytes));
        }
        const auto golden = ReadWholeFile(path);
        ASSERT_TRUE(golden) << path;
        EXPECT_EQ(bytes, *golden) << name;
    }

    test::TempDir dir;
};

TEST_F(Requests, AffiliationAddressLineCarriesTheDateCodeAndTheTaCode) {
    auto ctx = NewHolder(dir.path(), 'F', "MARTIN");
    ctx->settings.taCode = "1F4";
    ASSERT_TRUE(Build(*ctx, kind::kAffiliation).ok);
    EXPECT_EQ(ctx->outgoingBody[2],
              "0005C260"
              "0"
              "0"
              "00000000000"
              "1F4"
              "00000000");
    EXPECT_EQ(ctx->outgoingBody[2].size(), 32u);
}

TEST_F(Requests, AffiliationCreatesTheOwnRecordOnceAndReplacesItsTaKeyWhenRepeated) {
    auto ctx = NewHolder(dir.path(), 'A', "DUPONT");
    ctx->settings.versionCode = "D300A";
    ASSERT_TRUE(Build(*ctx, kind::kAffiliation).ok);
    ASSERT_EQ(ctx->keyStore.size(), 1u);
    EXPECT_EQ(ctx->OwnRecord(), (Record{"0FF00000000", QuadToHex(ctx->taKey)}));
    EXPECT_EQ(ctx->settings.versionCode, "D400F");
    EXPECT_EQ(ctx->ownDigit, '0');

    ctx->programState = 1;
    ctx->taKey = Quad{1, 2, 3, 4};
    ASSERT_TRUE(Build(*ctx, kind::kAffiliation).ok);
    ASSERT_EQ(ctx->keyStore.size(), 1u);
    EXPECT_EQ(ctx->OwnRecord(), (Record{"0FF00000000", QuadToHex(Quad{1, 2, 3, 4})}));
}

TEST_F(Requests, TheAuthorityOpensTheAffiliationRequestWithItsPrivateExponent) {
    auto ctx = NewHolder(dir.path(), 'D', "LEBLANC");
    ASSERT_TRUE(Build(*ctx, kind::kAffiliation).ok);
    const Lines& body = ctx->outgoingBody;
    EXPECT_EQ(body.front(), FrenchTextCp1252(txt::kTitle00));
    EXPECT_EQ(body.back(), kEndMarkerLine);
    Lines wire;
    ASSERT_TRUE(ta::SplitRequestData(RequestData(body), wire));
    const auto exponent = ReadWholeFile(test::TestTaDir() / "private-exponent-0FF.txt");
    ta::AffiliationRequest opened;
    std::string why;
    ASSERT_TRUE(ta::OpenAffiliationRequest(wire, HexToBig(SplitLines(*exponent)[0]), opened, why))
        << why;
    EXPECT_EQ(opened.taKey, ctx->taKey);
    EXPECT_EQ(opened.publicHex, ctx->publicHex);
    EXPECT_EQ(SplitAtLineBreaks(opened.identity.text), ctx->settings.identity);
    EXPECT_EQ(opened.identity.code, "D400F");
    EXPECT_EQ(opened.identity.field1, '0');
    EXPECT_EQ(opened.identity.field2, 'D');
    EXPECT_EQ(DateTimeText(opened.identity.dateTime), "05/12/2026 14:03:07");
}

TEST_F(Requests, KeyRequestsHaveOnlyTheirAddressLine) {
    auto ctx = NewHolder(dir.path(), 'A', "DUPONT");
    ctx->ownNumber = "0FF01000000";
    ctx->correspondentNumber = "0FF00002000";
    for (auto k : {kind::kKey, kind::kKeyUpdate}) {
        ASSERT_TRUE(Build(*ctx, k).ok);
        const Lines& body = ctx->outgoingBody;
        ASSERT_EQ(body.size(), 4u);
        EXPECT_EQ(body[2], std::string(k) +
                               "05C26000"
                               "0FF00002000"
                               "0FF01000000");
        EXPECT_EQ(RequestData(body).size(), 99u);
        EXPECT_EQ(RequestData(body).substr(0, 33), kSeparatorLine + "Z");
        ExpectGolden(body, "request-" + std::string(k) + ".txt");
    }
    EXPECT_EQ(ctx->settings.versionCode, "D400F");  // untouched by kinds 10 and 11
    ctx->correspondentNumber = "0FF0000200";
    EXPECT_EQ(Build(*ctx, kind::kKey).problem, txt::kBadCorrespondentNumber);
}

TEST_F(Requests, SignedRequestsNeedTheOwnSigningKeyAndOpenWithIt) {
    auto ctx = NewHolder(dir.path(), 'F', "MARTIN");
    ctx->requestKind = "01";
    ctx->outgoingBody = {"previous"};
    ctx->settings.versionCode = "D300A";
    ctx->certificationData = "x";
    for (auto k : {kind::kUpdate, kind::kCertification}) {
        const BuildResult r = Build(*ctx, k);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.problem, txt::kNoSigningKey);
    }
    EXPECT_EQ(ctx->outgoingBody, Lines{"previous"});
    EXPECT_EQ(ctx->settings.versionCode, "D300A");

    // With the record the authority issues, both open with the signing key.
    ta::Affiliate me;
    me.number = "0FF00002000";
    me.category = 'F';
    me.identity = ctx->settings.identity;
    me.signingKey = ta::RandomKey(ta::SeededRandom(3));
    me.taKey = ctx->taKey;
    ctx->keyStore = {ta::OwnKeyRecord(me)};
    ctx->ownNumber = me.number;
    ctx->certificationData = "address\rdigest\rsignature\r05/12/2026 14:03:07";
    ctx->firstAffiliation = true;
    ASSERT_TRUE(Build(*ctx, kind::kUpdate).ok);
    EXPECT_EQ(ctx->outgoingBody[0], FrenchTextCp1252(txt::kTitle01Ack));
    EXPECT_EQ(ctx->outgoingBody[2],
              "0105C26"
              "000"
              "00000000000"
              "0FF00002000");
    ExpectGolden(ctx->outgoingBody, "request-01.txt");
    for (auto [k, text] : {std::pair{kind::kUpdate, JoinWithCarriageReturns(me.identity)},
                           std::pair{kind::kCertification, ctx->certificationData}}) {
        ctx->firstAffiliation = false;
        ASSERT_TRUE(Build(*ctx, k).ok);
        Lines wire;
        ASSERT_TRUE(ta::SplitRequestData(RequestData(ctx->outgoingBody), wire));
        DecipheredText opened;
        std::string why;
        ASSERT_TRUE(ta::OpenSignedRequest(wire, me.signingKey, opened, why)) << why;
        EXPECT_EQ(opened.text, text);
        EXPECT_FALSE(ta::OpenSignedRequest(wire, ta::RandomKey(ta::SeededRandom(4)), opened, why));
    }
    EXPECT_EQ(ctx->outgoingBody[0], FrenchTextCp1252(txt::kTitle18));
    EXPECT_EQ(ctx->settings.versionCode, "D400F");
    ExpectGolden(ctx->outgoingBody, "request-18.txt");
}

TEST_F(Requests, GoldenAffiliationRequest) {
    auto ctx = NewHolder(dir.path(), 'A', "DUPONT");
    FixClocks();
    ASSERT_TRUE(Build(*ctx, kind::kAffiliation).ok);
    ExpectGolden(ctx->outgoingBody, "request-00.txt");
}

TEST(Connection, PortsProxyAndUrl) {
    Settings s;
    s.taAddress = "ta.example";
    s.taCode = "1F4";
    s.taPortChoice = 'A';
    TaConnection c = ConfigureTaConnection(s);
    EXPECT_EQ(c.port, 50500);
    EXPECT_TRUE(c.proxyHost.empty());
    EXPECT_EQ(c.replyTimeoutMs, 120000);
    s.taPortChoice = 'B';
    s.proxyAddress = "p";
    c = ConfigureTaConnection(s);
    EXPECT_EQ(c.port, 80);
    EXPECT_TRUE(c.proxyHost.empty());
    s.proxyAddress = "proxy.lan";
    s.proxyPort = "3128";
    c = ConfigureTaConnection(s);
    EXPECT_EQ(c.proxyHost, "proxy.lan");
    EXPECT_EQ(c.proxyPort, 3128);
    EXPECT_EQ(ConnectedTimeoutMs("00"), 120000);
    EXPECT_EQ(ConnectedTimeoutMs("10"), 30000);
}

TEST(Connection, RequestBytesDirectAndThroughAProxy) {
    const HttpTarget t{"ta.example", 50255, "/QuarnelSys/"};
    const std::string direct = HttpRequestBytes(t, false, "ABCZ");
    EXPECT_EQ(direct,
              "POST /QuarnelSys/ HTTP/1.0\r\n"
              "Host: ta.example\r\n"
              "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
              "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
              "Content-type: application/x-www-form-urlencoded\r\n"
              "Content-Length: 4\r\n"
              "Pragma:no-cache\r\n"
              "Connection:keep-alive\r\n"
              "\r\n"
              "ABCZ");
    const std::string proxied = HttpRequestBytes(t, true, "ABCZ");
    EXPECT_EQ(proxied.substr(0, proxied.find("Host:")),
              "POST http://ta.example:50255/QuarnelSys/ HTTP/1.0\r\n"
              "Proxy-Connection: Keep-Alive\r\n");
}

TEST(Connection, RepliesAndLocations) {
    const HttpReply r = ParseHttpReply(
        "HTTP/1.0 302 Found\r\nlocation: http://other:81/x/\r\ncontent-LENGTH: 3\r\n\r\nabc");
    EXPECT_EQ(r.status, 302);
    EXPECT_EQ(r.location, "http://other:81/x/");
    EXPECT_TRUE(r.BodyComplete(r.bodyStart + 3));
    EXPECT_FALSE(r.BodyComplete(r.bodyStart + 2));
    EXPECT_EQ(StatusDetail("HTTP/1.0 404 Not Found"), " 404 Not Found");
    EXPECT_FALSE(ParseHttpReply("HTTP/1.0 200 OK\r\nContent-Length: 3\r\n").headerComplete);
    const HttpTarget base{"ta", 50255, "/QuarnelSys/"};
    auto next = ResolveLocation(base, "http://other:81/x/");
    ASSERT_TRUE(next);
    EXPECT_EQ(next->host, "other");
    EXPECT_EQ(next->port, 81);
    EXPECT_EQ(next->path, "/x/");
    EXPECT_EQ(ResolveLocation(base, "/y/")->host, "ta");
    EXPECT_FALSE(ResolveLocation(base, "ftp://x/"));
    EXPECT_FALSE(ResolveLocation(base, "http://x:99999/"));
    EXPECT_TRUE(ReplyCanBeAccepted({kSeparatorLine, kEndMarkerLine}));
    EXPECT_FALSE(ReplyCanBeAccepted({kEndMarkerLine, kSeparatorLine}));
    EXPECT_FALSE(ReplyCanBeAccepted({}));
}

}  // namespace
}  // namespace quarnel
