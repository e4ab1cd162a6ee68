// Two holders and the real reference authority over HTTP on loopback: each
// in its own data folder, they affiliate, acknowledge, ask each other's keys
// and update them; the authority is restarted midway and keeps its state.

#include <gtest/gtest.h>

#include <set>

#include "app/settings.h"
#include "authority/exchange.h"
#include "authority/requests.h"
#include "authority/texts.h"
#include "crypto/hextext.h"
#include "crypto/own_keys.h"
#include "holder_fixture.h"
#include "messages/format.h"
#include "store/key_store.h"
#include "ta_server.h"

namespace quarnel {
namespace {

[[maybe_unused]] auto* const kQt =
    ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);  // gtest owns it

// The connection window's part without the window: send, accept what can be
// accepted, and process it.
bool ExchangeOverHttp(HolderContext& ctx, bool* httpError = nullptr) {
    TaExchange exchange;
    std::vector<int> log;
    QObject::connect(&exchange, &TaExchange::logged,
                     [&](int id, const QString&) { log.push_back(id); });
    exchange.Prepare(ctx);
    exchange.Send();
    if (!test::RunUntil([&] { return exchange.accepterEnabled() || exchange.annulerEnabled(); },
                        20000)) {
        return false;
    }
    if (httpError) *httpError = std::count(log.begin(), log.end(), txt::kLogErrorNumber) > 0;
    if (!exchange.accepterEnabled()) return false;
    exchange.Stop();
    return ProcessTaReply(ctx, exchange.MemoText()).accepted;
}

// The exchange over HTTP, and the settings written as the shell writes them.
FlowHooks Http(HolderContext& ctx) {
    return {[](HolderContext& c) { return ExchangeOverHttp(c); },
            [&ctx] { return SaveSettings(ctx, SettingsPath(ctx)); }};
}

class AuthorityOverHttp : public ::testing::Test {
  protected:
    std::unique_ptr<HolderContext> Holder(char category, const std::string& name,
                                          std::uint32_t seed) {
        const auto folder = root.path() / name;
        std::filesystem::create_directories(folder);
        // The parameter file lies beside the program.
        std::filesystem::copy_file(ta.ParameterFile(), folder / ta.ParameterFile().filename());
        auto ctx =
            test::NewHolder(folder, category, name, seed, folder / ta.ParameterFile().filename());
        SetDefaultFolders(*ctx);
        return ctx;
    }

    test::TempDir root;
    test::TaServer ta;
};

TEST_F(AuthorityOverHttp, TwoHoldersAffiliateAndExchangeKeysAcrossARestart) {
    ASSERT_TRUE(ta.ok());
    auto a = Holder('A', "DUPONT", 11);
    auto d = Holder('D', "LEBLANC", 12);
    ASSERT_EQ(RunFirstAffiliation(*a, Http(*a)).status, FlowStatus::Done);
    ASSERT_EQ(RunFirstAffiliation(*d, Http(*d)).status, FlowStatus::Done);
    EXPECT_EQ(a->ownNumber, ta.code() + "01000000");
    EXPECT_EQ(d->ownNumber, ta.code() + "08000000");
    EXPECT_EQ(a->settings.versionCode, "D400F");
    EXPECT_EQ(ta.log().size(), 5u);  // "listening on", then one line per request

    ta.Stop();
    ASSERT_TRUE(ta.Start());

    ASSERT_EQ(RunKeyRequest(*a, Http(*a), d->ownNumber, false).status, FlowStatus::Done);
    ASSERT_EQ(RunKeyRequest(*d, Http(*d), a->ownNumber, false).status, FlowStatus::Done);
    ASSERT_EQ(RunKeyRequest(*a, Http(*a), d->ownNumber, true).status, FlowStatus::Done);
    d->settings.identity[4] = "2 quai haut";  // moved: an update
    ASSERT_EQ(RunAffiliationUpdate(*d, Http(*d)).status, FlowStatus::Done);
    EXPECT_EQ(d->information, txt::kAffiliationUpdated);
    EXPECT_EQ(ta.log().size(), 5u);
    for (std::size_t i = 1; i < ta.log().size(); ++i) {
        EXPECT_NE(ta.log()[i].find("-> 200"), std::string::npos) << ta.log()[i];
    }

    // On disk: each key store holds the own record with its password, each
    // list the other holder's record, and nothing else was written.
    for (HolderContext* h : {a.get(), d.get()}) {
        RecordList store;
        ASSERT_TRUE(LoadRecordList(h->KeyStorePath(), store));
        ASSERT_TRUE(CheckKeyStore(store));
        ASSERT_EQ(store.size(), 1u);
        EXPECT_EQ(store[0].size(), 7u);
        EXPECT_EQ(store[0][0], h->ownNumber);
        EXPECT_NE(store[0][3], kZeroLine);
        EXPECT_EQ(h->programState, 2);
        // The settings on disk are those the authority sealed.
        HolderContext reread;
        ASSERT_TRUE(LoadSettings(reread, SettingsPath(*h)));
        EXPECT_EQ(reread.settings.identity, h->settings.identity);
        EXPECT_EQ(reread.settings.versionCode, "D400F");
        OwnKey s;
        ASSERT_TRUE(OwnSigningKey(store, '0', s));
        RecordSeal seal;
        ASSERT_TRUE(ReadRecordSeal(store, s.key, seal));
        reread.keyStore = store;
        reread.ownNumber = store[0][0];
        EXPECT_TRUE(CheckSettingsDigest(reread, seal.sealed));
    }
    RecordList listD, listA;
    ASSERT_TRUE(LoadRecordList(root.path() / "DUPONT" / "QuarnelTitD.dat", listD));
    ASSERT_TRUE(LoadRecordList(root.path() / "LEBLANC" / "QuarnelTitA.dat", listA));
    ASSERT_EQ(listD.size(), 1u);
    ASSERT_EQ(listA.size(), 1u);
    EXPECT_TRUE(CheckCorrespondentList(listD, 'D'));
    EXPECT_TRUE(CheckCorrespondentList(listA, 'A'));
    EXPECT_EQ(listD[0][8], d->ownNumber);
    EXPECT_EQ(listA[0][6], a->ownNumber);
    EXPECT_FALSE(std::filesystem::exists(root.path() / "DUPONT" / "QuarnelTitA.dat"));
    EXPECT_FALSE(std::filesystem::exists(root.path() / "DUPONT" / "QuarnelTitF.dat"));
}

TEST_F(AuthorityOverHttp, RefusedRequestsGetAStatusWithTheirReasonAndStoreNothing) {
    ASSERT_TRUE(ta.ok());
    auto a = Holder('A', "DUPONT", 11);
    ASSERT_EQ(RunFirstAffiliation(*a, Http(*a)).status, FlowStatus::Done);
    // A key for nobody.
    bool httpError = false;
    a->correspondentNumber = ta.code() + "0000FFFF";
    a->requestKind = "10";
    ASSERT_TRUE(BuildOutgoingBody(*a).ok);
    EXPECT_FALSE(ExchangeOverHttp(*a, &httpError));
    EXPECT_TRUE(httpError);
    // A request signed with another key.
    a->requestKind = "01";
    ASSERT_TRUE(BuildOutgoingBody(*a).ok);
    a->outgoingBody[3] = QuadToHex(Quad{1, 2, 3, 4});
    EXPECT_FALSE(ExchangeOverHttp(*a));
    ASSERT_GE(ta.log().size(), 5u);
    EXPECT_NE(ta.log()[3].find("-> 404 Correspondant inconnu"), std::string::npos) << ta.log()[3];
    EXPECT_NE(ta.log()[4].find("-> 403 Clef erron"), std::string::npos) << ta.log()[4];
    EXPECT_EQ(a->correspondents.Total(), 0u);
}

TEST_F(AuthorityOverHttp, ConcurrentAffiliationsGetDistinctNumbers) {
    ASSERT_TRUE(ta.ok());
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
