// The real reference authority over HTTP on loopback: the requests it
// refuses, and affiliations in flight at once. (Two holders that affiliate
// and exchange keys across a restart: tests/authority/windows_test.cpp.)

#include <gtest/gtest.h>

#include <set>

#include "authority/requests.h"
#include "crypto/hextext.h"
#include "crypto/own_keys.h"
#include "holder_fixture.h"
#include "store/key_store.h"
#include "ta_server.h"

namespace quarnel {
namespace {

class AuthorityOverHttp : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(ta.ok()); }
    std::unique_ptr<HolderContext> Holder(char category, const std::string& name,
                                          std::uint32_t seed) {
        return test::NewHolder(root.path() / name, category, name, seed, ta.ParameterFile());
    }
    std::unique_ptr<HolderContext> Affiliated(char category, const std::string& name,
                                              std::uint32_t seed) {
        return test::AffiliatedHolder(root.path(), category, name, seed, test::Http,
                                      ta.ParameterFile());
    }

    test::TempDir root;
    test::TaServer ta;
};

TEST_F(AuthorityOverHttp, RefusedRequestsGetAStatusWithTheirReasonAndStoreNothing) {
    auto a = Affiliated('A', "DUPONT", 11);
    // A key for nobody.
    bool httpError = false;
    a->correspondentNumber = ta.code() + "0000FFFF";
    a->requestKind = "10";
    ASSERT_TRUE(BuildOutgoingBody(*a).ok);
    EXPECT_FALSE(test::ExchangeOverHttp(*a, &httpError));
    EXPECT_TRUE(httpError);
    // A request signed with another key.
    a->requestKind = "01";
    ASSERT_TRUE(BuildOutgoingBody(*a).ok);
    a->outgoingBody[3] = QuadToHex(Quad{1, 2, 3, 4});
    EXPECT_FALSE(test::ExchangeOverHttp(*a));
    ASSERT_GE(ta.log().size(), 5u);
    EXPECT_NE(ta.log()[3].find("-> 404 Correspondant inconnu"), std::string::npos) << ta.log()[3];
    EXPECT_NE(ta.log()[4].find("-> 403 Clef erron"), std::string::npos) << ta.log()[4];
    EXPECT_EQ(a->correspondents.Total(), 0u);
}

TEST_F(AuthorityOverHttp, ConcurrentAffiliationsGetDistinctNumbers) {
    std::vector<std::unique_ptr<HolderContext>> holders;
    std::vector<std::unique_ptr<TaExchange>> exchanges;
    for (int i = 0; i < 6; ++i) {
        holders.push_back(Holder('F', "H" + std::to_string(i), std::uint32_t(20 + i)));
        holders.back()->requestKind = "00";
        ASSERT_TRUE(BuildOutgoingBody(*holders.back()).ok);
        holders.back()->programState = 1;
        exchanges.push_back(std::make_unique<TaExchange>());
        exchanges.back()->Prepare(*holders.back());
    }
    for (auto& e : exchanges)
        e->Send();  // all in flight at once
    ASSERT_TRUE(test::RunUntil(
        [&] {
            return std::all_of(exchanges.begin(), exchanges.end(),
                               [](const auto& e) { return e->accepterEnabled(); });
        },
        20000));
    std::set<std::string> numbers;
    for (std::size_t i = 0; i < holders.size(); ++i) {
        exchanges[i]->Stop();
        ASSERT_TRUE(ProcessTaReply(*holders[i], exchanges[i]->MemoText()).accepted);
        numbers.insert(holders[i]->ownNumber);
    }
    EXPECT_EQ(numbers.size(), holders.size());
}

}  // namespace
}  // namespace quarnel
