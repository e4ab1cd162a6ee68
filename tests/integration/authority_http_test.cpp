// Two holders and the real reference authority over HTTP on loopback: each
// in its own data folder, they affiliate, acknowledge, ask each other's keys
// and update them; the authority is restarted midway and keeps its state.

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

TEST_F(AuthorityOverHttp, TwoHoldersAffiliateAndExchangeKeysAcrossARestart) {
    auto a = Affiliated('A', "DUPONT", 11);
    auto d = Affiliated('D', "LEBLANC", 12);
    EXPECT_EQ(a->ownNumber, ta.code() + "01000000");
    EXPECT_EQ(d->ownNumber, ta.code() + "08000000");
    EXPECT_EQ(ta.log().size(), 5u);  // "listening on", then one line per request

    ta.Stop();
    ASSERT_TRUE(ta.Start());

    ASSERT_EQ(RunKeyRequest(*a, test::Http(*a), d->ownNumber, false).status, FlowStatus::Done);
    ASSERT_EQ(RunKeyRequest(*d, test::Http(*d), a->ownNumber, false).status, FlowStatus::Done);
    ASSERT_EQ(RunKeyRequest(*a, test::Http(*a), d->ownNumber, true).status, FlowStatus::Done);
    d->settings.identity[4] = "2 quai haut";  // moved: an update
    ASSERT_EQ(RunAffiliationUpdate(*d, test::Http(*d)).status, FlowStatus::Done);
    EXPECT_EQ(d->information, txt::kAffiliationUpdated);
    EXPECT_EQ(ta.log().size(), 5u);
    for (std::size_t i = 1; i < ta.log().size(); ++i) {
        EXPECT_NE(ta.log()[i].find("-> 200"), std::string::npos) << ta.log()[i];
    }

    // On disk: each key store holds the own record with its password and a
    // seal over the settings written beside it, each list the other holder's
    // record, and nothing else was written.
    for (HolderContext* h : {a.get(), d.get()}) {
        EXPECT_EQ(h->programState, 2);
        HolderContext reread;
        ASSERT_TRUE(LoadSettings(reread, SettingsPath(*h)));
        EXPECT_EQ(reread.settings.identity, h->settings.identity);
        EXPECT_EQ(reread.settings.versionCode, "D400F");
        ASSERT_TRUE(LoadRecordList(h->KeyStorePath(), reread.keyStore));
        ASSERT_TRUE(CheckKeyStore(reread.keyStore));
        ASSERT_EQ(reread.keyStore.size(), 1u);
        EXPECT_EQ(reread.keyStore[0].size(), 7u);
        reread.ownNumber = reread.keyStore[0][0];
        EXPECT_EQ(reread.ownNumber, h->ownNumber);
        OwnKey s;
        ASSERT_TRUE(OwnSigningKey(reread.keyStore, '0', s));
        RecordSeal seal;
        ASSERT_TRUE(ReadRecordSeal(reread.keyStore, s.key, seal));
        EXPECT_TRUE(CheckSettingsDigest(reread, seal.sealed));
    }
    RecordList listD, listA;
    ASSERT_TRUE(LoadRecordList(a->dataFolder / "QuarnelTitD.dat", listD));
    ASSERT_TRUE(LoadRecordList(d->dataFolder / "QuarnelTitA.dat", listA));
    ASSERT_EQ(listD.size(), 1u);
    ASSERT_EQ(listA.size(), 1u);
    EXPECT_TRUE(CheckCorrespondentList(listD, 'D'));
    EXPECT_TRUE(CheckCorrespondentList(listA, 'A'));
    EXPECT_EQ(listD[0][8], d->ownNumber);
    EXPECT_EQ(listA[0][6], a->ownNumber);
    EXPECT_FALSE(std::filesystem::exists(a->dataFolder / "QuarnelTitA.dat"));
    EXPECT_FALSE(std::filesystem::exists(a->dataFolder / "QuarnelTitF.dat"));
}

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
