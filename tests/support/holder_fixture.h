// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Holders and an in-process reference authority: a holder context as the
// options dialog leaves it (settings, identity, key set-up against an
// authority's parameter file), holders taken through the first affiliation,
// and the authority's service on a copy of tests/data/ta; messages between
// two holders x and y, sent as the mail would carry them (TwoHolders makes
// the pair of holder_setup.h in memory).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/program_data.h"
#include "authority/connection.h"
#include "authority/flows.h"
#include "authority/replies.h"
#include "authority/requests.h"
#include "crypto/bignum.h"
#include "crypto/datetime.h"
#include "crypto/own_keys.h"
#include "crypto/random.h"
#include "holder_setup.h"
#include "messages/decryption.h"
#include "messages/encryption.h"
#include "protocol/body.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "ta/service/authority_service.h"
#include "temp_dir.h"

namespace quarnel::test {

inline std::filesystem::path TestTaDir() {
    return std::filesystem::path(QUARNEL_TEST_DATA_DIR) / "ta";
}

/// Compares `bytes` with tests/data/`name`; QUARNEL_UPDATE_GOLDEN=1 writes
/// the file anew (after a deliberate change of a format).
inline void ExpectGolden(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::path(QUARNEL_TEST_DATA_DIR) / name;
    if (std::getenv("QUARNEL_UPDATE_GOLDEN")) {
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(WriteFileAtomically(path, bytes));
    }
    const auto golden = ReadWholeFile(path);
    ASSERT_TRUE(golden) << path;
    EXPECT_EQ(bytes, *golden) << name;
}

/// A holder in state 0 with its folders in `folder` and its key set-up done
/// against the authority of `parameterFile`.
inline std::unique_ptr<ProgramData> NewHolder(
    const std::filesystem::path& folder, char category, const std::string& name,
    std::uint32_t exponentSeed = 1,
    const std::filesystem::path& parameterFile = TestTaDir() / "QuarnelTaPr.0FF") {
    auto ctx = std::make_unique<ProgramData>();
    ctx->dataFolder = ctx->programFolder = folder;
    SetFolders(*ctx);
    Settings& s = ctx->settings;
    s.category = category;
    s.taAddress = "127.0.0.1";
    s.taPortChoice = 'A';
    s.versionCode = "D400F";
    s.identity = IdentityOf(category, name);
    EXPECT_TRUE(ReadTaParameterFile(parameterFile, ctx->ta));
    s.taCode = ctx->ta.code;
    Big exponent{};
    SetSeed(exponentSeed);
    RandomWords(exponent);
    KeySetup setup = KeyInitialise(exponent, ctx->ta.publicValue);
    ctx->authority.publicHex = setup.publicHex;
    ctx->authority.publicDigest = setup.publicDigest;
    ctx->authority.taKey = std::move(setup.taKey);
    ctx->authority.pendingPassword = SecretString("secret");
    return ctx;
}

/// What the authority's sequences work on, for one holder.
inline AuthorityScope Scope(ProgramData& p) {
    return {p, p.authority, p.messages};
}

/// The hooks of the authority's sequences for one holder.
using HooksFor = std::function<FlowHooks(ProgramData&)>;

/// A holder in root/name through the whole first affiliation.
inline std::unique_ptr<ProgramData> AffiliatedHolder(
    const std::filesystem::path& root, char category, const std::string& name, std::uint32_t seed,
    const HooksFor& hooks,
    const std::filesystem::path& parameterFile = TestTaDir() / "QuarnelTaPr.0FF") {
    auto ctx = NewHolder(root / name, category, name, seed, parameterFile);
    EXPECT_EQ(RunFirstAffiliation(Scope(*ctx), hooks(*ctx)).status, FlowStatus::Done);
    return ctx;
}

/// x (F, MARTIN) and y (A, DUPONT), each holding a key for the other.
inline void AffiliatePair(const std::filesystem::path& root, const HooksFor& hooks,
                          std::unique_ptr<ProgramData>& x, std::unique_ptr<ProgramData>& y,
                          const std::filesystem::path& parameterFile = TestTaDir() /
                                                                       "QuarnelTaPr.0FF") {
    x = AffiliatedHolder(root, 'F', "MARTIN", 1, hooks, parameterFile);
    y = AffiliatedHolder(root, 'A', "DUPONT", 2, hooks, parameterFile);
    ASSERT_EQ(RunKeyRequest(Scope(*x), hooks(*x), y->ownNumber, false).status, FlowStatus::Done);
    ASSERT_EQ(RunKeyRequest(Scope(*y), hooks(*y), x->ownNumber, false).status, FlowStatus::Done);
}

/// The reference authority on a copy of tests/data/ta, seeded.
class InProcessTa {
  public:
    InProcessTa() {
        for (const auto& e : std::filesystem::directory_iterator(TestTaDir())) {
            std::filesystem::copy_file(e.path(), dir_.path() / e.path().filename());
        }
        std::string error;
        service_ = ta::AuthorityService::Open(dir_.path(), error, test::SeededRandom(99));
        EXPECT_TRUE(service_) << error;
    }
    ta::AuthorityService& service() { return *service_; }

    /// The exchange without the window: the reply of the body, accepted.
    bool Exchange(ProgramData& ctx) {
        last = service_->Handle(RequestData(ctx.authority.outgoingBody));
        if (last.status != 200) return false;
        outcome = ProcessTaReply(ctx, ctx.authority, last.body);
        return outcome.accepted;
    }
    FlowHooks Hooks(ProgramData& holder) {
        return {[this, &holder] { return Exchange(holder); }, [] { return SaveResult::Saved; }};
    }
    HooksFor EveryHolder() {
        return [this](ProgramData& holder) { return Hooks(holder); };
    }

    /// The authority's reply body to the request `kind` of `ctx`, not applied.
    Lines ReplyTo(ProgramData& ctx, Kind kind) {
        ctx.authority.requestKind = kind;
        EXPECT_TRUE(BuildOutgoingBody(ctx, ctx.authority, ctx.messages).ok);
        const ta::Reply r = service_->Handle(RequestData(ctx.authority.outgoingBody));
        EXPECT_EQ(r.status, 200) << r.reason;
        return SplitLines(r.body);
    }

    ta::Reply last;
    ReplyOutcome outcome;

  private:
    TempDir dir_;
    std::unique_ptr<ta::AuthorityService> service_;
};

struct Holder {
    ta::Affiliate affiliate;  ///< as the authority keeps it (TwoHolders)
    std::unique_ptr<ProgramData> ctx;
    /// The body of the last message encrypted, as the sending window takes it.
    Lines body;

    ProgramData& operator*() const { return *ctx; }
    ProgramData* operator->() const { return ctx.get(); }
    std::filesystem::path Sent() const {
        return PathFromSetting(ctx->settings.sentEncryptedFolder);
    }
    std::filesystem::path Received() const {
        return PathFromSetting(ctx->settings.receivedEncryptedFolder);
    }
    std::filesystem::path Decrypted() const {
        return PathFromSetting(ctx->settings.decryptedFilesFolder);
    }
};

/// What an encryption gave: the body is in the sender's Holder::body.
struct Encryption {
    bool ok = false;
    MessageProblem problem;
};

class Messages : public ::testing::Test {
  protected:
    /// Encrypts a message from `from` to `to` as the program does once the
    /// correspondent is chosen.
    static Encryption Encrypt(Holder& from, const Holder& to, const std::string& text,
                              bool rich = false,
                              std::vector<std::filesystem::path> attachments = {}) {
        const char category = to->settings.category;
        const int i = FindCorrespondent(from->correspondents, category, to->ownNumber);
        EXPECT_GE(i, 0);
        from->messages.recipientCategory = category;
        from->messages.recipientRecord =
            i < 0 ? Record{} : (*from->correspondents.ForCategory(category))[i];
        from->messages.attachments = std::move(attachments);
        return EncryptForChosen(from, text, rich);
    }
    /// Encrypts for the correspondent and attachments `from` holds already.
    static Encryption EncryptForChosen(Holder& from, const std::string& text, bool rich = false) {
        Encryption r;
        r.ok =
            BuildMessageBody(*from, from->messages, rich ? Kind::RichMessage : Kind::PlainMessage,
                             text, from.body, r.problem);
        return r;
    }

    /// The mail's way: the encrypted attachment files land in the recipient's
    /// received folder, the body lines arrive with the title line.
    static void Deliver(const Holder& from, const Holder& to) {
        for (const auto& path : from->messages.encryptedAttachments) {
            std::filesystem::copy_file(path, to.Received() / path.filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }

    static ReceiveOutcome Receive(Holder& to, const Lines& body,
                                  const TaReplyHandler& replies = {}) {
        return ReadReceivedBody(*to, to->messages, body, replies);
    }

    /// Encrypts, delivers and reads; the outcome of the recipient's reading.
    static ReceiveOutcome RoundTrip(Holder& from, Holder& to, const std::string& text,
                                    bool rich = false,
                                    std::vector<std::filesystem::path> attachments = {}) {
        const Encryption built = Encrypt(from, to, text, rich, std::move(attachments));
        EXPECT_TRUE(built.ok) << built.problem.text << " " << built.problem.detail;
        Deliver(from, to);
        return Receive(to, from.body);
    }

    std::filesystem::path WriteFile(const std::string& name, const std::string& bytes) {
        const std::filesystem::path dir = root.path() / "files";
        std::filesystem::create_directories(dir);
        EXPECT_TRUE(WriteFileAtomically(dir / name, bytes));
        return dir / name;
    }

    TempDir root;
    Holder x;  // F, MARTIN
    Holder y;  // A, DUPONT
};

class TwoHolders : public Messages {
  protected:
    void SetUp() override {
        FixClocks();
        HolderPair p = MakeFixedPair(root.path(), random);
        x.affiliate = std::move(p.xa);
        x.ctx = std::move(p.x);
        y.affiliate = std::move(p.ya);
        y.ctx = std::move(p.y);
    }
    void TearDown() override { ReleaseClocks(); }

    Holder MakeHolder(char category, const std::string& number, const std::string& name,
                      char flag) {
        Holder h;
        h.affiliate = NewAffiliate(category, number, name, flag, random);
        h.ctx = ContextOf(h.affiliate, root.path() / name);
        return h;
    }
    /// Gives each holder the other's correspondent record.
    void Pair(Holder& a, Holder& b) { GivePairRecords(*a, a.affiliate, *b, b.affiliate, random); }

    ta::RandomSource random = test::SeededRandom(2026);
};

}  // namespace quarnel::test
