// Reply processing against the reference authority's own answers: the
// acceptance rules, each refusal leaving the stores as they were, and the
// caller sequences with their failure handling.

#include <gtest/gtest.h>

#include "authority/requests.h"
#include "authority/texts.h"
#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/hextext.h"
#include "crypto/own_keys.h"
#include "holder_fixture.h"
#include "messages/format.h"
#include "store/atomic_file.h"
#include "store/key_store.h"

namespace quarnel {
namespace {

using test::NewHolder;

class Replies : public ::testing::Test {
  protected:
    void SetUp() override { test::FixClocks(); }
    void TearDown() override { test::ReleaseClocks(); }

    // A holder affiliated through the whole first-affiliation sequence.
    std::unique_ptr<HolderContext> Affiliated(char category, const std::string& name,
                                              std::uint32_t seed) {
        auto dirPath = root.path() / name;
        std::filesystem::create_directories(dirPath);
        auto ctx = NewHolder(dirPath, category, name, seed);
        const FlowResult r = RunFirstAffiliation(*ctx, ta.Hooks());
        EXPECT_EQ(r.status, FlowStatus::Done) << ta.last.reason;
        return ctx;
    }

    // The authority's reply body to the request `kind` of `ctx`, not applied.
    Lines ReplyTo(HolderContext& ctx, std::string_view kind) {
        ctx.requestKind = std::string(kind);
        EXPECT_TRUE(BuildOutgoingBody(ctx).ok);
        const ta::Reply r = ta.service().Handle(RequestData(ctx.outgoingBody));
        EXPECT_EQ(r.status, 200) << r.reason;
        return SplitLines(r.body);
    }

    static std::string JoinCrLf(const Lines& lines) { return JoinLinesCrLf(lines); }

    test::TempDir root;
    test::InProcessTa ta;
};

TEST_F(Replies, FirstAffiliationStoresTheKeyThePasswordAndTheSeal) {
    auto ctx = Affiliated('F', "MARTIN", 1);
    EXPECT_EQ(ctx->programState, 2);
    EXPECT_EQ(ctx->information, txt::kAffiliationConfirmed);
    EXPECT_TRUE(ctx->firstAffiliation);
    EXPECT_EQ(ctx->ownNumber, "0FF00002000");  // first of the employees' range
    ASSERT_EQ(ctx->keyStore.size(), 1u);
    EXPECT_EQ(ctx->OwnRecord().size(), 7u);
    std::string password;
    ASSERT_TRUE(ReadMailPassword(ctx->keyStore, ctx->ownDigit, password));
    EXPECT_EQ(password, "secret");
    EXPECT_TRUE(ctx->pendingPassword.empty());
    EXPECT_TRUE(ta.outcome.captionChanged);
    // What was written is what is held.
    RecordList onDisk;
    ASSERT_TRUE(LoadRecordList(ctx->KeyStorePath(), onDisk));
    EXPECT_EQ(onDisk, ctx->keyStore);
    EXPECT_TRUE(CheckKeyStore(onDisk));
    // An update after that says whether the holder is registered.
    ASSERT_TRUE(ta.service().SetRegistered(ctx->ownNumber, true));
    EXPECT_EQ(RunAffiliationUpdate(*ctx, ta.Hooks()).status, FlowStatus::Done);
    EXPECT_EQ(ctx->registrationFlag, '1');
    EXPECT_EQ(ctx->information, txt::kAffiliationUpdatedRegistered);
}

TEST_F(Replies, KeysForBothHoldersOfDifferentCategories) {
    auto a = Affiliated('A', "DUPONT", 1);
    auto f = Affiliated('F', "MARTIN", 2);
    ASSERT_EQ(a->ownNumber, "0FF01000000");
    EXPECT_EQ(RunKeyRequest(*a, ta.Hooks(), f->ownNumber, false).status, FlowStatus::Done);
    EXPECT_EQ(ta.outcome.listCategory, 'F');
    EXPECT_EQ(a->information, txt::kKeyDelivered);
    EXPECT_EQ(RunKeyRequest(*f, ta.Hooks(), a->ownNumber, false).status, FlowStatus::Done);
    ASSERT_EQ(a->correspondents.f.size(), 1u);
    ASSERT_EQ(f->correspondents.a.size(), 1u);
    const Record aboutF = a->correspondents.f[0];
    const Record aboutA = f->correspondents.a[0];
    EXPECT_EQ(aboutF[8], f->ownNumber);
    EXPECT_EQ(aboutA[6], a->ownNumber);
    EXPECT_EQ(aboutF[13], aboutA[13]);  // A's writing key is F's key line 3
    EXPECT_EQ(aboutA[11], aboutF[15]);
    RecordList fileF;
    ASSERT_TRUE(LoadRecordList(root.path() / "DUPONT" / "QuarnelTitF.dat", fileF));
    EXPECT_EQ(fileF, a->correspondents.f);
    EXPECT_TRUE(CheckCorrespondentList(fileF, 'F'));

    // The records work: the recipient reads with the key unwrapped from line 3.
    OwnKey ua, uf;
    ASSERT_TRUE(OwnUnwrappingKey(a->keyStore, '0', ua));
    ASSERT_TRUE(OwnUnwrappingKey(f->keyStore, '0', uf));
    const Quad m{1, 2, 3, 4};
    const Quad written = CipherBlock(
        m, CipherBlock(HexToQuad(aboutF[13]), ua.key, Direction::Encipher), Direction::Encipher);
    const Quad readKey = CipherBlock(HexToQuad(aboutF[15]), uf.key, Direction::Encipher);
    EXPECT_EQ(CipherBlock(written, readKey, Direction::Decipher), m);

    // A key update replaces the record, which moves to the end of its list.
    auto f2 = Affiliated('F', "BERNARD", 3);
    EXPECT_EQ(RunKeyRequest(*a, ta.Hooks(), f2->ownNumber, false).status, FlowStatus::Done);
    ASSERT_EQ(a->correspondents.f.size(), 2u);
    EXPECT_EQ(RunKeyRequest(*a, ta.Hooks(), f->ownNumber, true).status, FlowStatus::Done);
    EXPECT_EQ(a->information, txt::kKeyUpdated);
    ASSERT_EQ(a->correspondents.f.size(), 2u);
    EXPECT_EQ(a->correspondents.f[0][8], f2->ownNumber);
    EXPECT_EQ(a->correspondents.f[1][8], f->ownNumber);
    EXPECT_NE(a->correspondents.f[1][13], aboutF[13]);  // a fresh pair key
}

TEST_F(Replies, TheProgramStateDecidesWhichKindsAreAccepted) {
    auto a = Affiliated('A', "DUPONT", 1);
    auto f = Affiliated('F', "MARTIN", 2);
    a->correspondentNumber = f->ownNumber;
    const Lines keyReply = ReplyTo(*a, kind::kKey);
    a->programState = 1;
    EXPECT_EQ(ProcessTaReply(*a, JoinCrLf(keyReply)).refusal, ReplyRefusal::NotInThisState);
    a->programState = 0;
    EXPECT_EQ(ProcessTaReply(*a, JoinCrLf(keyReply)).refusal, ReplyRefusal::NotInThisState);
    a->programState = 5;
    EXPECT_TRUE(ProcessTaReply(*a, "noise\r\n" + JoinCrLf(keyReply)).accepted);
    EXPECT_EQ(a->programState, 2);

    // A private-key reply is refused once affiliated.
    auto fresh = NewHolder(root.path(), 'D', "LEBLANC", 4);
    const Lines privateKey = ReplyTo(*fresh, kind::kAffiliation);
    a->programState = 2;
    EXPECT_EQ(ProcessTaReply(*a, JoinCrLf(privateKey)).refusal, ReplyRefusal::NotInThisState);
    // Another holder's reply is refused in state 2.
    EXPECT_EQ(ProcessTaReply(*f, JoinCrLf(keyReply)).refusal, ReplyRefusal::NotForThisHolder);
    EXPECT_EQ(ProcessTaReply(*a, "FFFF\r\n").refusal, ReplyRefusal::NoSeparator);
    Lines userMessage = keyReply;
    userMessage[1].replace(0, 2, "20");
    EXPECT_EQ(ProcessTaReply(*a, JoinCrLf(userMessage)).refusal, ReplyRefusal::NotAReplyKind);
    Lines broken = keyReply;
    broken[3][5] = 'a';
    EXPECT_EQ(ProcessTaReply(*a, JoinCrLf(broken)).refusal, ReplyRefusal::Malformed);
}

TEST_F(Replies, ARefusedPrivateKeyLeavesTheOwnRecordAsItWas) {
    auto ctx = NewHolder(root.path(), 'A', "DUPONT", 1);
    const Lines reply = ReplyTo(*ctx, kind::kAffiliation);
    ctx->programState = 1;
    const Record before = ctx->OwnRecord();

    Lines wrongDigit = reply;
    wrongDigit[1][8] = '1';
    EXPECT_EQ(ProcessTaReply(*ctx, JoinCrLf(wrongDigit)).refusal, ReplyRefusal::WrongGeneration);
    EXPECT_EQ(ctx->OwnRecord(), before);

    Lines badSeal = reply;
    badSeal[3] = QuadToHex(Quad{5, 6, 7, 8});
    EXPECT_EQ(ProcessTaReply(*ctx, JoinCrLf(badSeal)).refusal, ReplyRefusal::BadSeal);
    EXPECT_EQ(ctx->OwnRecord(), before);
    EXPECT_EQ(ctx->ownNumber, "0FF00000000");
    EXPECT_EQ(ctx->programState, 1);

    // The identity typed since the request no longer matches the seal.
    ctx->settings.identity[0] = "DURAND";
    EXPECT_EQ(ProcessTaReply(*ctx, JoinCrLf(reply)).refusal, ReplyRefusal::BadSeal);
    EXPECT_EQ(ctx->OwnRecord(), before);
    ctx->settings.identity[0] = "DUPONT";

    // A retry with the good reply works on the record as it was.
    ctx->pendingPassword = "again";
    const ReplyOutcome ok = ProcessTaReply(*ctx, JoinCrLf(reply));
    ASSERT_TRUE(ok.accepted);
    EXPECT_EQ(ctx->OwnRecord().size(), 7u);
    EXPECT_EQ(ctx->information, txt::kPrivateKeyDelivered);
}

TEST_F(Replies, ARefusedUpdateKeepsTheOldSeal) {
    auto ctx = Affiliated('D', "LEBLANC", 1);
    ctx->firstAffiliation = false;
    const Lines reply = ReplyTo(*ctx, kind::kUpdate);
    const Record before = ctx->OwnRecord();
    Lines bad = reply;
    bad[4] = QuadToHex(Quad{9, 9, 9, 9});
    EXPECT_EQ(ProcessTaReply(*ctx, JoinCrLf(bad)).refusal, ReplyRefusal::BadSeal);
    EXPECT_EQ(ctx->OwnRecord(), before);
    EXPECT_TRUE(ProcessTaReply(*ctx, JoinCrLf(reply)).accepted);
    EXPECT_EQ(ctx->information, txt::kAffiliationUpdated);
}

TEST_F(Replies, AKeyReplyThatDoesNotCheckChangesNoList) {
    auto a = Affiliated('A', "DUPONT", 1);
    auto f = Affiliated('F', "MARTIN", 2);
    a->correspondentNumber = f->ownNumber;
    const Lines reply = ReplyTo(*a, kind::kKey);
    Lines badCheck = reply;
    badCheck[3] = QuadToHex(Quad{1, 1, 1, 1});
    EXPECT_EQ(ProcessTaReply(*a, JoinCrLf(badCheck)).refusal, ReplyRefusal::BadCheckValue);
    Lines badSection = reply;
    badSection[7] = QuadToHex(Quad{1, 1, 1, 1});
    EXPECT_EQ(ProcessTaReply(*a, JoinCrLf(badSection)).refusal, ReplyRefusal::BadSection);
    EXPECT_TRUE(a->correspondents.f.empty());
    EXPECT_FALSE(std::filesystem::exists(root.path() / "DUPONT" / "QuarnelTitF.dat"));

    // Records that would not fit a list: a category other than A, D, F, and
    // a record text whose size does not fit its category.
    const RecordList store = a->keyStore;
    OwnKey s;
    ASSERT_TRUE(OwnSigningKey(store, '0', s));
    ta::Affiliate me{a->ownNumber, 'A', '0', a->settings.identity, "D400F", '0', 0, s.key, {}};
    for (char category : {'C', 'A'}) {
        ta::Affiliate odd{"0FF00002001",
                          category,
                          '0',
                          test::IdentityOf('F', "X"),
                          "D400F",
                          '0',
                          0,
                          ta::RandomKey(ta::SeededRandom(5)),
                          {}};
        const ta::KeyIssue issue =
            ta::IssueKey(me, odd, ta::RandomKey(ta::SeededRandom(6)), ta::SeededRandom(7));
        Lines lines{issue.w, issue.a, issue.k3, issue.k4, issue.q};
        lines.insert(lines.end(), issue.section.begin(), issue.section.end());
        const Lines body =
            ta::ReplyBody(AddressLine("14", "05C26", '0', '0', odd.number, a->ownNumber), lines);
        EXPECT_EQ(ProcessTaReply(*a, JoinCrLf(body)).refusal, ReplyRefusal::BadRecord);
    }
    EXPECT_EQ(a->correspondents.Total(), 0u);
}

TEST_F(Replies, ACertificateIsDeliveredForAMessageOfAKnownSender) {
    auto a = Affiliated('A', "DUPONT", 1);
    auto f = Affiliated('F', "MARTIN", 2);
    OwnKey sf;
    ASSERT_TRUE(OwnSigningKey(f->keyStore, '0', sf));
    const Quad digest{11, 22, 33, 44};
    const std::string address = AddressLine("20", "05C26", '0', '0', a->ownNumber, f->ownNumber);
    for (bool genuine : {true, false}) {
        const Quad signer = genuine ? sf.key : Quad{3, 3, 3, 3};
        a->certificationData = address + "\r" + QuadToHex(digest) + "\r" +
                               QuadToHex(CipherBlock(digest, signer, Direction::Encipher)) +
                               "\r05/12/2026 14:03:07";
        ASSERT_EQ(RunCertificationRequest(*a, ta.Hooks()).status, FlowStatus::Done);
        EXPECT_TRUE(ta.outcome.showCertificate);
        EXPECT_EQ(a->information, txt::kCertificateDelivered);
        EXPECT_NE(a->certificateText.find(address), std::string::npos);
        EXPECT_EQ(a->certificateText.find("NON CERTIFI") == std::string::npos, genuine);
    }
}

TEST_F(Replies, FailedExchangesLeaveTheStatesTheHolderCanResumeFrom) {
    auto ctx = NewHolder(root.path(), 'A', "DUPONT", 1);
    int calls = 0;
    FlowHooks failing{[&](HolderContext&) { return ++calls, false; },
                      [] { return SaveResult::Saved; }};
    EXPECT_EQ(RunFirstAffiliation(*ctx, failing).status, FlowStatus::Failed);
    EXPECT_EQ(ctx->programState, 1);
    EXPECT_EQ(ctx->requestKind, "00");
    RecordList onDisk;
    ASSERT_TRUE(LoadRecordList(ctx->KeyStorePath(), onDisk));
    EXPECT_EQ(onDisk, ctx->keyStore);
    EXPECT_EQ(onDisk[0].size(), 2u);

    // The acknowledgement fails: state 5, seal zeroed and saved.
    int step = 0;
    FlowHooks ackFails{[&](HolderContext& c) { return ++step == 1 && ta.Exchange(c); },
                       [] { return SaveResult::Saved; }};
    EXPECT_EQ(RunFirstAffiliation(*ctx, ackFails).status, FlowStatus::Failed);
    EXPECT_EQ(ctx->programState, 5);
    EXPECT_EQ(ctx->OwnRecord()[3], kZeroLine);
    onDisk.clear();
    ASSERT_TRUE(LoadRecordList(ctx->KeyStorePath(), onDisk));
    EXPECT_EQ(onDisk[0][3], kZeroLine);

    // The update from state 5 restores the seal.
    bool settingsSaved = false;
    FlowHooks update{[&](HolderContext& c) { return ta.Exchange(c); },
                     [&] { return settingsSaved = true, SaveResult::Saved; }};
    EXPECT_EQ(RunAffiliationUpdate(*ctx, update).status, FlowStatus::Done);
    EXPECT_EQ(ctx->programState, 2);
    EXPECT_NE(ctx->OwnRecord()[3], kZeroLine);
    EXPECT_TRUE(settingsSaved);

    EXPECT_EQ(RunKeyRequest(*ctx, failing, "0FF00002000", false).status, FlowStatus::Failed);
    EXPECT_EQ(ctx->information, txt::kEnAttente);
    // The authority refuses a key for an unknown affiliate, and stores nothing.
    EXPECT_EQ(RunKeyRequest(*ctx, ta.Hooks(), "0FF00002000", false).status, FlowStatus::Failed);
    EXPECT_EQ(ta.last.status, 404);
    EXPECT_EQ(ctx->correspondents.Total(), 0u);
}

}  // namespace
}  // namespace quarnel
