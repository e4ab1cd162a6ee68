// SPDX-License-Identifier: GPL-3.0-or-later
// The authority's HTTP front, its refusals of requests it cannot accept, and
// its initialisation.

#include <gtest/gtest.h>

#include "protocol/body.h"
#include "store/ta_parameters.h"
#include "ta/server/http_listener.h"
#include "ta/service/authority_service.h"
#include "ta/service/storage.h"
#include "ta_builders.h"
#include "temp_dir.h"

namespace quarnel::ta {
namespace {

const std::filesystem::path kTestTa = std::filesystem::path(QUARNEL_TEST_DATA_DIR) / "ta";

std::string Post(const std::string& target, const std::string& body,
                 const std::string& length = "") {
    return "POST " + target + " HTTP/1.0\r\nHost: x\r\ncontent-length: " +
           (length.empty() ? std::to_string(body.size()) : length) + "\r\n\r\n" + body;
}

TEST(HttpFront, TakesThePathDirectOrAsAProxyForwardsItAndRefusesTheRest) {
    for (const std::string target : {"/QuarnelSys/", "http://ta.example:50255/QuarnelSys/"}) {
        const ParsedRequest r = ParseHttpRequest(Post(target, "ABCZ"));
        EXPECT_TRUE(r.complete);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.body, "ABCZ");
    }
    const std::string whole = Post("/QuarnelSys/", "ABCZ");
    EXPECT_FALSE(ParseHttpRequest(whole.substr(0, whole.size() - 2)).complete);
    EXPECT_FALSE(ParseHttpRequest("POST /QuarnelSys/ HTTP/1.0\r\nHost: x").complete);
    EXPECT_EQ(ParseHttpRequest(Post("/other/", "A")).status, 404);
    EXPECT_EQ(ParseHttpRequest("GET /QuarnelSys/ HTTP/1.0\r\n\r\n").status, 405);
    EXPECT_EQ(ParseHttpRequest("POST /QuarnelSys/ HTTP/1.0\r\n\r\n").status, 411);
    // What one connection may hold: a header up to kMaxHeader, a body up to kMaxBody.
    const ParsedRequest atLimit =
        ParseHttpRequest(Post("/QuarnelSys/", "", std::to_string(kMaxBody)));
    EXPECT_FALSE(atLimit.complete);
    EXPECT_EQ(atLimit.needed, Post("/QuarnelSys/", "", std::to_string(kMaxBody)).size() + kMaxBody);
    EXPECT_EQ(ParseHttpRequest(Post("/QuarnelSys/", "", std::to_string(kMaxBody + 1))).status, 413);
    EXPECT_EQ(ParseHttpRequest(Post("/QuarnelSys/", "", "x")).status, 400);
    // The header, its empty line included, up to kMaxHeader bytes, whatever
    // follows it at once.
    const std::string head = "POST /QuarnelSys/ HTTP/1.0\r\nContent-Length: 0\r\nX: ";
    const std::string full = head + std::string(kMaxHeader - head.size() - 4, 'p') + "\r\n\r\n";
    EXPECT_EQ(ParseHttpRequest(full + "more").status, 0);
    EXPECT_EQ(ParseHttpRequest(head + "p" + full.substr(head.size())).status, 431);
    EXPECT_FALSE(ParseHttpRequest(std::string(kMaxHeader - 1, 'a')).complete);
    EXPECT_EQ(ParseHttpRequest(std::string(kMaxHeader, 'a')).status, 431);
}

TEST(Service, RefusalsSayWhy) {
    test::TempDir dir;
    for (const auto& e : std::filesystem::directory_iterator(kTestTa))
        std::filesystem::copy_file(e.path(), dir.path() / e.path().filename());
    std::string error;
    const auto service = AuthorityService::Open(dir.path(), error, test::SeededRandom(1));
    ASSERT_TRUE(service) << error;
    EXPECT_EQ(service->Handle("not lines").status, 400);
    const std::string unknown = "0FF00002000";
    struct Case {
        std::string kind, recipient, sender;
        int status;
        std::string reasonNames;
    };
    // A key asked by an unknown sender, an unknown kind, an affiliation
    // request addressed to another authority, and one truncated.
    for (const Case& c :
         {Case{"10", "0FF01000000", unknown, 403, unknown}, Case{"30", kNoNumber, unknown, 400, ""},
          Case{"00", kNoNumber, "1AB00000000", 403, ""},
          Case{"00", kNoNumber, "0FF00000000", 400, ""}}) {
        const Reply r = service->Handle(
            kSeparatorLine + "Z" + c.kind +
            AddressLine(Kind::Key, "05C26", '0', '0', c.recipient, c.sender).substr(2) + "Z" +
            kEndMarkerLine + "Z");
        EXPECT_EQ(r.status, c.status) << c.kind << " " << r.reason;
        EXPECT_NE(r.reason.find(c.reasonNames), std::string::npos) << r.reason;
    }
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
    EXPECT_EQ(service->DefaultPort(), 50416);  // 50000 + code
    // An exponent that does not belong to the parameter file is refused.
    std::filesystem::copy_file(kTestTa / "private-exponent-0FF.txt",
                               dir.path() / "private-exponent-1A0.txt",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_FALSE(AuthorityService::Open(dir.path(), error));
}

TEST(SharedStore, DatabaseAddressesAndTheExponentFileAreCheckedBeforeUse) {
    DatabaseAddress a;
    std::string error;
    ASSERT_TRUE(
        ParseDatabaseUrl("postgresql://ta@db.example:5433/quarnel?sslmode=require", a, error))
        << error;
    EXPECT_EQ(a.user + "@" + a.host + ":" + std::to_string(a.port) + "/" + a.name + " " + a.options,
              "ta@db.example:5433/quarnel sslmode=require");
    const std::string base = "postgresql://ta@db/";
    EXPECT_TRUE(
        ParseDatabaseUrl(base + std::string(kMaxDatabaseUrlLength - base.size(), 'q'), a, error));
    for (const std::string& bad :
         {base + std::string(kMaxDatabaseUrlLength + 1 - base.size(), 'q'),
          std::string("mysql://ta@db/quarnel"), std::string("postgresql://ta@db/"),
          std::string("postgresql://ta@db/x?password=p")}) {
        EXPECT_FALSE(ParseDatabaseUrl(bad, a, error)) << bad;
    }
    // A password in the address: refused, and told where it goes.
    EXPECT_FALSE(ParseDatabaseUrl("postgresql://ta:secret@db/quarnel", a, error));
    EXPECT_NE(error.find("QUARNEL_TA_DB_PASSWORD"), std::string::npos) << error;

    test::TempDir dir;
    const auto file = dir.path() / "exponent";
    std::filesystem::copy_file(kTestTa / "private-exponent-0FF.txt", file);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    EXPECT_FALSE(CheckExponentFile(file, error));
    EXPECT_NE(error.find("chmod 600"), std::string::npos) << error;
    std::filesystem::permissions(file, std::filesystem::perms::group_read,
                                 std::filesystem::perm_options::remove);
    EXPECT_TRUE(CheckExponentFile(file, error)) << error;
    std::filesystem::resize_file(file, kMaxExponentFileSize);
    EXPECT_TRUE(CheckExponentFile(file, error)) << error;
    std::filesystem::resize_file(file, kMaxExponentFileSize + 1);
    EXPECT_FALSE(CheckExponentFile(file, error));
    EXPECT_FALSE(CheckExponentFile(dir.path(), error));
}

}  // namespace
}  // namespace quarnel::ta
