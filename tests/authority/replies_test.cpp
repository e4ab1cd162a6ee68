// SPDX-License-Identifier: GPL-3.0-or-later
// Reply processing against the reference authority's own answers: the
// acceptance rules, each refusal leaving the stores as they were, and the
// caller sequences with their failure handling.

#include <gtest/gtest.h>

#include "authority/requests.h"
#include "authority/texts.h"
#include "crypto/cipher.h"
#include "crypto/hextext.h"
#include "crypto/own_keys.h"
#include "holder/texts.h"
#include "holder_fixture.h"
#include "protocol/lines.h"
#include "store/key_store.h"

namespace quarnel {
namespace {

// `lines` with line `i` replaced by `text`, as a reply text.
std::string With(Lines lines, std::size_t i, std::string text) {
    lines[i] = std::move(text);
    return JoinLinesCrLf(lines);
}

class Replies : public ::testing::Test {
  protected:
    void SetUp() override { test::FixClocks(); }
    void TearDown() override { test::ReleaseClocks(); }

    std::unique_ptr<ProgramData> Affiliated(char category, const std::string& name,
                                            std::uint32_t seed) {
        return test::AffiliatedHolder(root.path(), category, name, seed, ta.EveryHolder());
    }
    // a (A, DUPONT) and f (F, MARTIN), affiliated.
    void AffiliateAAndF() {
        a = Affiliated('A', "DUPONT", 1);
        f = Affiliated('F', "MARTIN", 2);
    }
    ReplyRefusal Refusal(ProgramData& ctx, const std::string& reply) {
        return ProcessTaReply(ctx, ctx.authority, reply).refusal;
    }
    // `ctx` asks the authority the key for `number`.
    FlowStatus AskKey(ProgramData& ctx, const std::string& number, bool update = false) {
        return RunKeyRequest(test::Scope(ctx), ta.Hooks(ctx), number, update).status;
    }

    test::TempDir root;
    test::InProcessTa ta;
    std::unique_ptr<ProgramData> a, f;
};

TEST_F(Replies, AffiliationKeysForBothCategoriesAReplacementAndTheRegistration) {
    AffiliateAAndF();
    EXPECT_TRUE(ta.outcome.captionChanged);
    EXPECT_EQ(f->State(), ProgramState::Affiliated);
    EXPECT_EQ(f->information, txt::kAffiliationConfirmed);
    EXPECT_TRUE(f->authority.firstAffiliation);
    EXPECT_EQ(f->ownNumber, "0FF00002000");  // first of the employees' range
    EXPECT_EQ(a->ownNumber, "0FF01000000");
    ASSERT_EQ(f->keyStore.size(), 1u);
    EXPECT_EQ(f->OwnRecord().size(), 7u);  // with the mailbox password
    EXPECT_TRUE(f->authority.pendingPassword->empty());

    EXPECT_EQ(AskKey(*a, f->ownNumber), FlowStatus::Done);
    EXPECT_EQ(ta.outcome.listCategory, 'F');
    EXPECT_EQ(a->information, txt::kKeyDelivered);
    EXPECT_EQ(AskKey(*f, a->ownNumber), FlowStatus::Done);
    ASSERT_EQ(a->correspondents.f.size(), 1u);
    ASSERT_EQ(f->correspondents.a.size(), 1u);
    const Record aboutF = a->correspondents.f[0];
    const Record aboutA = f->correspondents.a[0];
    EXPECT_EQ(aboutF[8], f->ownNumber);
    EXPECT_EQ(aboutA[6], a->ownNumber);
    EXPECT_EQ(aboutF[13], aboutA[13]);  // A's writing key is F's key line 3
    EXPECT_EQ(aboutA[11], aboutF[15]);

    // A key update replaces the record, which moves to the end of its list.
    auto f2 = Affiliated('F', "BERNARD", 3);
    EXPECT_EQ(AskKey(*a, f2->ownNumber), FlowStatus::Done);
    EXPECT_EQ(AskKey(*a, f->ownNumber, true), FlowStatus::Done);
    EXPECT_EQ(a->information, txt::kKeyUpdated);
    ASSERT_EQ(a->correspondents.f.size(), 2u);
    EXPECT_EQ(a->correspondents.f[0][8], f2->ownNumber);
    EXPECT_EQ(a->correspondents.f[1][8], f->ownNumber);
    EXPECT_NE(a->correspondents.f[1][13], aboutF[13]);  // a fresh pair key

    // An update after the authority registered the holder says so.
    ASSERT_TRUE(ta.service().SetRegistered(f->ownNumber, true));
    EXPECT_EQ(RunAffiliationUpdate(test::Scope(*f), ta.Hooks(*f)).status, FlowStatus::Done);
    EXPECT_EQ(f->registrationFlag, '1');
    EXPECT_EQ(f->information, txt::kAffiliationUpdatedRegistered);
}

TEST_F(Replies, ARefusedPrivateKeyOrUpdateLeavesTheOwnRecordAsItWas) {
    auto ctx = test::NewHolder(root.path(), 'A', "DUPONT", 1);
    const Lines reply = ta.ReplyTo(*ctx, Kind::Affiliation);
    state::AffiliationRequested(*ctx);
    const Record before = ctx->OwnRecord();
    std::string wrongDigit = reply[1];
    wrongDigit[8] = '1';
    EXPECT_EQ(Refusal(*ctx, With(reply, 1, wrongDigit)), ReplyRefusal::WrongGeneration);
    EXPECT_EQ(ctx->OwnRecord(), before);
    EXPECT_EQ(Refusal(*ctx, With(reply, 3, QuadToHex(Quad{5, 6, 7, 8}))), ReplyRefusal::BadSeal);
    EXPECT_EQ(ctx->OwnRecord(), before);
    EXPECT_EQ(ctx->ownNumber, "0FF00000000");
    EXPECT_EQ(ctx->State(), ProgramState::NotAffiliated);
    Lines extra = reply;  // one line more than a private key reply has
    extra.insert(extra.end() - 1, QuadToHex(Quad{5, 6, 7, 8}));
    EXPECT_EQ(Refusal(*ctx, JoinLinesCrLf(extra)), ReplyRefusal::Malformed);
    // The identity typed since the request no longer matches the seal.
    ctx->settings.identity[0] = "DURAND";
    EXPECT_EQ(Refusal(*ctx, JoinLinesCrLf(reply)), ReplyRefusal::BadSeal);
    EXPECT_EQ(ctx->OwnRecord(), before);
    ctx->settings.identity[0] = "DUPONT";

    // A retry with the good reply works on the record as it was.
    ctx->authority.pendingPassword = SecretString("again");
    ASSERT_TRUE(ProcessTaReply(*ctx, ctx->authority, JoinLinesCrLf(reply)).accepted);
    EXPECT_EQ(ctx->OwnRecord().size(), 7u);
    EXPECT_EQ(ctx->information, txt::kPrivateKeyDelivered);
    // Once affiliated, the same reply again is refused: it would wipe the
    // mailbox password with an empty one.
    const Record affiliated = ctx->OwnRecord();
    for (const ProgramState state :
         {ProgramState::Affiliated, ProgramState::VersionChanged, ProgramState::SettingsAltered,
          ProgramState::UpdateNecessary}) {
        test::ReachState(*ctx, state);
        EXPECT_EQ(Refusal(*ctx, JoinLinesCrLf(reply)), ReplyRefusal::NotInThisState) << int(state);
        EXPECT_EQ(ctx->OwnRecord(), affiliated);
        EXPECT_EQ(ctx->State(), state);
    }

    // A refused update keeps the old seal.
    ctx->authority.firstAffiliation = false;
    const Lines update = ta.ReplyTo(*ctx, Kind::Update);
    const Record sealed = ctx->OwnRecord();
    EXPECT_EQ(Refusal(*ctx, With(update, 4, QuadToHex(Quad{9, 9, 9, 9}))), ReplyRefusal::BadSeal);
    EXPECT_EQ(ctx->OwnRecord(), sealed);
    EXPECT_TRUE(ProcessTaReply(*ctx, ctx->authority, JoinLinesCrLf(update)).accepted);
    EXPECT_EQ(ctx->information, txt::kAffiliationUpdated);
}

TEST_F(Replies, KeyRepliesOutOfStateOrShapeOrThatDoNotCheckOrFitChangeNoList) {
    AffiliateAAndF();
    a->authority.correspondentNumber = f->ownNumber;
    const Lines reply = ta.ReplyTo(*a, Kind::Key);
    const std::string keyText = JoinLinesCrLf(reply);
    for (const ProgramState state : {ProgramState::NotInitialised, ProgramState::NotAffiliated}) {
        test::ReachState(*a, state);
        EXPECT_EQ(Refusal(*a, keyText), ReplyRefusal::NotInThisState) << int(state);
    }
    state::Affiliated(*a);
    // A private-key reply is refused once affiliated.
    auto fresh = test::NewHolder(root.path() / "LEBLANC", 'D', "LEBLANC", 4);
    EXPECT_EQ(Refusal(*a, JoinLinesCrLf(ta.ReplyTo(*fresh, Kind::Affiliation))),
              ReplyRefusal::NotInThisState);
    EXPECT_EQ(Refusal(*f, keyText), ReplyRefusal::NotForThisHolder);
    EXPECT_EQ(Refusal(*a, "FFFF\r\n"), ReplyRefusal::NoSeparator);
    EXPECT_EQ(Refusal(*a, With(reply, 1, "20" + reply[1].substr(2))), ReplyRefusal::NotAReplyKind);
    EXPECT_EQ(Refusal(*a, With(reply, 3, "a" + reply[3].substr(1))), ReplyRefusal::Malformed);
    const std::string wrong = QuadToHex(Quad{1, 1, 1, 1});
    EXPECT_EQ(Refusal(*a, With(reply, 3, wrong)), ReplyRefusal::BadCheckValue);
    EXPECT_EQ(Refusal(*a, With(reply, 7, wrong)), ReplyRefusal::BadSection);

    // Records that would not fit a list: a category other than A, D, F, and
    // a record text whose size does not fit its category.
    OwnKey s;
    ASSERT_TRUE(OwnSigningKey(a->keyStore, '0', s));
    ta::Affiliate me = test::NewAffiliate('A', a->ownNumber, "DUPONT", '0', test::SeededRandom(5));
    me.signingKey = *s.key;
    for (char category : {'C', 'A'}) {
        ta::Affiliate odd = test::NewAffiliate('F', "0FF00002001", "X", '0', test::SeededRandom(5));
        odd.category = category;
        const ta::KeyIssue issue =
            ta::IssueKey(me, odd, ta::RandomKey(test::SeededRandom(6)), test::SeededRandom(7));
        Lines lines{issue.w, issue.a, issue.k3, issue.k4, issue.q};
        lines.insert(lines.end(), issue.section.begin(), issue.section.end());
        const Lines body = ta::ReplyBody(
            AddressLine(Kind::KeyDelivered, "05C26", '0', '0', odd.number, a->ownNumber), lines);
        EXPECT_EQ(Refusal(*a, JoinLinesCrLf(body)), ReplyRefusal::BadRecord);
    }
    EXPECT_EQ(a->correspondents.Total(), 0u);
    EXPECT_FALSE(std::filesystem::exists(a->dataFolder / "QuarnelTitF.dat"));
    // From states 3-5 it is taken, after noise, and the state stays: only a
    // new seal lifts it.
    for (const ProgramState state : {ProgramState::VersionChanged, ProgramState::SettingsAltered,
                                     ProgramState::UpdateNecessary}) {
        test::ReachState(*a, state);
        EXPECT_TRUE(ProcessTaReply(*a, a->authority, "noise\r\n" + keyText).accepted);
        EXPECT_EQ(a->State(), state);
    }
}

TEST_F(Replies, ACertificateSaysWhetherTheSignatureIsTheSenders) {
    AffiliateAAndF();
    OwnKey sf;
    ASSERT_TRUE(OwnSigningKey(f->keyStore, '0', sf));
    const Quad digest{11, 22, 33, 44};
    struct Case {
        std::string sender;
        Quad signer;
        const char* verdict;
    };
    for (const Case& c : {Case{f->ownNumber, *sf.key, "\r\nCERTIFI\xC9 :"},
                          Case{f->ownNumber, Quad{3, 3, 3, 3}, "NON CERTIFI\xC9 : la signature"},
                          Case{"0FF00009999", *sf.key, "NON CERTIFI\xC9 : l'exp\xE9"}}) {
        const std::string address =
            AddressLine(Kind::PlainMessage, "05C26", '0', '0', a->ownNumber, c.sender);
        a->messages.certificationData =
            address + "\r" + QuadToHex(digest) + "\r" +
            QuadToHex(CipherBlock(digest, c.signer, Direction::Encipher)) + "\r05/12/2026 14:03:07";
        // A certificate does not lift the lock of altered settings.
        test::ReachState(*a, ProgramState::SettingsAltered);
        ASSERT_EQ(RunCertificationRequest(test::Scope(*a), ta.Hooks(*a)).status, FlowStatus::Done);
        EXPECT_EQ(a->State(), ProgramState::SettingsAltered);
        EXPECT_TRUE(ta.outcome.showCertificate);
        EXPECT_EQ(a->information, txt::kCertificateDelivered);
        EXPECT_NE(a->authority.certificateText.find(address), std::string::npos);
        EXPECT_NE(a->authority.certificateText.find(c.verdict), std::string::npos)
            << a->authority.certificateText;
    }
}

TEST_F(Replies, FailedExchangesLeaveTheStatesTheHolderCanResumeFrom) {
    auto ctx = test::NewHolder(root.path(), 'A', "DUPONT", 1);
    // Settings that cannot be written: no key store without them, nothing sent.
    for (const SaveResult settings : {SaveResult::Refused, SaveResult::Aborted}) {
        bool sent = false;
        FlowHooks unsaved{[&] { return sent = true; }, [=] { return settings; }};
        const FlowResult r = RunFirstAffiliation(test::Scope(*ctx), unsaved);
        EXPECT_EQ(r.problem, settings == SaveResult::Refused ? txt::kSettingsRefused : 0);
        EXPECT_FALSE(sent);
        EXPECT_EQ(ctx->State(), ProgramState::NotInitialised);
        EXPECT_TRUE(ctx->keyStore.empty());
        EXPECT_FALSE(std::filesystem::exists(ctx->KeyStorePath()));
    }
    FlowHooks failing{[] { return false; }, [] { return SaveResult::Saved; }};
    EXPECT_EQ(RunFirstAffiliation(test::Scope(*ctx), failing).status, FlowStatus::Failed);
    EXPECT_EQ(ctx->State(), ProgramState::NotAffiliated);
    EXPECT_EQ(ctx->authority.requestKind, Kind::Affiliation);
    RecordList onDisk;
    ASSERT_TRUE(LoadRecordList(ctx->KeyStorePath(), onDisk));
    EXPECT_EQ(onDisk, ctx->keyStore);
    EXPECT_EQ(onDisk[0].size(), 2u);

    // The acknowledgement fails: state 5, seal zeroed and saved.
    int step = 0;
    FlowHooks ackFails{[&] { return ++step == 1 && ta.Exchange(*ctx); },
                       [] { return SaveResult::Saved; }};
    EXPECT_EQ(RunFirstAffiliation(test::Scope(*ctx), ackFails).status, FlowStatus::Failed);
    EXPECT_EQ(ctx->State(), ProgramState::UpdateNecessary);
    EXPECT_EQ(ctx->OwnRecord()[3], kZeroLine);
    onDisk.clear();
    ASSERT_TRUE(LoadRecordList(ctx->KeyStorePath(), onDisk));
    EXPECT_EQ(onDisk[0][3], kZeroLine);

    // The update from state 5 restores the seal.
    bool settingsSaved = false;
    FlowHooks update{[&] { return ta.Exchange(*ctx); },
                     [&] { return settingsSaved = true, SaveResult::Saved; }};
    EXPECT_EQ(RunAffiliationUpdate(test::Scope(*ctx), update).status, FlowStatus::Done);
    EXPECT_EQ(ctx->State(), ProgramState::Affiliated);
    EXPECT_NE(ctx->OwnRecord()[3], kZeroLine);
    EXPECT_TRUE(settingsSaved);

    EXPECT_EQ(RunKeyRequest(test::Scope(*ctx), failing, "0FF00002000", false).status,
              FlowStatus::Failed);
    EXPECT_EQ(ctx->information, txt::kIdle);
    // The authority refuses a key for an unknown affiliate, and stores nothing.
    EXPECT_EQ(AskKey(*ctx, "0FF00002000"), FlowStatus::Failed);
    EXPECT_EQ(ta.last.status, 404);
    EXPECT_EQ(ctx->correspondents.Total(), 0u);
}

}  // namespace
}  // namespace quarnel
