// The authority's HTTP front and its refusals of requests it cannot accept.

#include <gtest/gtest.h>

#include "messages/format.h"
#include "store/ta_parameters.h"
#include "ta/server/http_listener.h"
#include "ta/service/authority_service.h"
#include "temp_dir.h"

namespace quarnel::ta {
namespace {

std::string Post(const std::string& target, const std::string& body,
                 const std::string& extra = "") {
    return "POST " + target +
           " HTTP/1.0\r\nHost: x\r\ncontent-length: " + std::to_string(body.size()) + "\r\n" +
           extra + "\r\n" + body;
}

TEST(HttpFront, AcceptsThePathDirectOrAsAProxyForwardsIt) {
    for (const std::string target : {"/QuarnelSys/", "http://ta.example:50255/QuarnelSys/"}) {
        const ParsedRequest r = ParseHttpRequest(Post(target, "ABCZ"));
        EXPECT_TRUE(r.complete);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.body, "ABCZ");
    }
    const std::string whole = Post("/QuarnelSys/", "ABCZ");
    EXPECT_FALSE(ParseHttpRequest(whole.substr(0, whole.size() - 2)).complete);
    EXPECT_FALSE(ParseHttpRequest("POST /QuarnelSys/ HTTP/1.0\r\nHost: x").complete);
}

TEST(HttpFront, RefusesWhatIsNotAnAuthorityRequest) {
    EXPECT_EQ(ParseHttpRequest(Post("/other/", "A")).status, 404);
    EXPECT_EQ(ParseHttpRequest("GET /QuarnelSys/ HTTP/1.0\r\n\r\n").status, 405);
    EXPECT_EQ(ParseHttpRequest("POST /QuarnelSys/ HTTP/1.0\r\n\r\n").status, 411);
    EXPECT_EQ(
        ParseHttpRequest("POST /QuarnelSys/ HTTP/1.0\r\nContent-Length: 99999999\r\n\r\n").status,
        413);
    EXPECT_EQ(ParseHttpRequest("POST /QuarnelSys/ HTTP/1.0\r\nContent-Length: x\r\n\r\n").status,
              400);
    EXPECT_EQ(ParseHttpRequest(std::string(70000, 'a')).status, 431);
}

class Service : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto data = std::filesystem::path(QUARNEL_TEST_DATA_DIR) / "ta";
        for (const auto& e : std::filesystem::directory_iterator(data)) {
            std::filesystem::copy_file(e.path(), dir.path() / e.path().filename());
        }
        std::string error;
        service = AuthorityService::Open(dir.path(), error, SeededRandom(1));
        ASSERT_TRUE(service) << error;
    }
    Reply Send(const Lines& lines) {
        std::string data;
        for (const auto& l : lines)
            data += l + "Z";
        return service->Handle(data);
    }
    test::TempDir dir;
    std::unique_ptr<AuthorityService> service;
};

TEST_F(Service, RefusalsSayWhyAndTheDefaultPortFollowsTheCode) {
    EXPECT_EQ(service->code(), "0FF");
    EXPECT_EQ(service->DefaultPort(), 50255);
    EXPECT_EQ(service->Handle("not lines").status, 400);
    const std::string unknown = "0FF00002000";
    Reply r = Send({kSeparatorLine, AddressLine("10", "05C26", '0', '0', "0FF01000000", unknown),
                    kEndMarkerLine});
    EXPECT_EQ(r.status, 403);
    EXPECT_NE(r.reason.find(unknown), std::string::npos);
    r = Send(
        {kSeparatorLine, AddressLine("30", "05C26", '0', '0', kNoNumber, unknown), kEndMarkerLine});
    EXPECT_EQ(r.status, 400);
    // An affiliation request addressed to another authority, or truncated.
    r = Send({kSeparatorLine, AddressLine("00", "05C26", '0', '0', kNoNumber, "1AB00000000"),
              kEndMarkerLine});
    EXPECT_EQ(r.status, 403);
    r = Send({kSeparatorLine, AddressLine("00", "05C26", '0', '0', kNoNumber, "0FF00000000"),
              kEndMarkerLine});
    EXPECT_EQ(r.status, 400);
    EXPECT_FALSE(service->SetRegistered(unknown, true));
}

TEST(Initialise, WritesAParameterFileTheClientAcceptsAndNeverOverwrites) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(InitialiseAuthority(dir.path(), "0fz", error));
    ASSERT_TRUE(InitialiseAuthority(dir.path(), "1A0", error)) << error;
    TaParameters params;
    ASSERT_TRUE(ReadTaParameterFile(dir.path() / "QuarnelTaPr.1A0", params, &error)) << error;
    EXPECT_FALSE(InitialiseAuthority(dir.path(), "1A0", error));
    auto service = AuthorityService::Open(dir.path(), error);
    ASSERT_TRUE(service) << error;
    EXPECT_EQ(service->DefaultPort(), 50416);
    // An exponent that does not belong to the parameter file is refused.
    std::filesystem::copy_file(
        std::filesystem::path(QUARNEL_TEST_DATA_DIR) / "ta" / "private-exponent-0FF.txt",
        dir.path() / "private-exponent-1A0.txt", std::filesystem::copy_options::overwrite_existing);
    EXPECT_FALSE(AuthorityService::Open(dir.path(), error));
}

}  // namespace
}  // namespace quarnel::ta
