#pragma once
// Holders and an in-process reference authority: fixed clocks, a holder
// context as the options dialog leaves it (settings, identity, key set-up
// against an authority's parameter file), holders taken through the first
// affiliation, and the authority's service on a copy of tests/data/ta.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "authority/connection.h"
#include "authority/flows.h"
#include "authority/replies.h"
#include "authority/requests.h"
#include "crypto/bignum.h"
#include "crypto/datetime.h"
#include "crypto/random.h"
#include "holder_setup.h"
#include "messages/format.h"
#include "store/atomic_file.h"
#include "store/holder_context.h"
#include "ta/service/authority_service.h"
#include "temp_dir.h"

namespace quarnel::test {

inline std::filesystem::path TestTaDir() {
    return std::filesystem::path(QUARNEL_TEST_DATA_DIR) / "ta";
}

/// Fixed clocks: 5 December 2026, 14:03:07 local; random seed from 12345.
inline void FixClocks() {
    SetLocalClock([] { return LocalDateTime{2026, 12, 5, 14, 3, 7, 0}; });
    SetReseedClock([] { return 12345u; });
    SetSeed(12345);
}
inline void ReleaseClocks() {
    SetLocalClock({});
    SetReseedClock({});
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
inline std::unique_ptr<HolderContext> NewHolder(
    const std::filesystem::path& folder, char category, const std::string& name,
    std::uint32_t exponentSeed = 1,
    const std::filesystem::path& parameterFile = TestTaDir() / "QuarnelTaPr.0FF") {
    auto ctx = std::make_unique<HolderContext>();
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
    const KeySetup setup = KeyInitialise(exponent, ctx->ta.publicValue);
    ctx->publicHex = setup.publicHex;
    ctx->publicDigest = setup.publicDigest;
    ctx->taKey = setup.taKey;
    ctx->pendingPassword = "secret";
    return ctx;
}

/// The hooks of the authority's sequences for one holder.
using HooksFor = std::function<FlowHooks(HolderContext&)>;

/// A holder in root/name through the whole first affiliation.
inline std::unique_ptr<HolderContext> AffiliatedHolder(
    const std::filesystem::path& root, char category, const std::string& name, std::uint32_t seed,
    const HooksFor& hooks,
    const std::filesystem::path& parameterFile = TestTaDir() / "QuarnelTaPr.0FF") {
    auto ctx = NewHolder(root / name, category, name, seed, parameterFile);
    EXPECT_EQ(RunFirstAffiliation(*ctx, hooks(*ctx)).status, FlowStatus::Done);
    return ctx;
}

/// x (F, MARTIN) and y (A, DUPONT), each holding a key for the other.
inline void AffiliatePair(const std::filesystem::path& root, const HooksFor& hooks,
                          std::unique_ptr<HolderContext>& x, std::unique_ptr<HolderContext>& y,
                          const std::filesystem::path& parameterFile = TestTaDir() /
                                                                       "QuarnelTaPr.0FF") {
    x = AffiliatedHolder(root, 'F', "MARTIN", 1, hooks, parameterFile);
    y = AffiliatedHolder(root, 'A', "DUPONT", 2, hooks, parameterFile);
    ASSERT_EQ(RunKeyRequest(*x, hooks(*x), y->ownNumber, false).status, FlowStatus::Done);
    ASSERT_EQ(RunKeyRequest(*y, hooks(*y), x->ownNumber, false).status, FlowStatus::Done);
}

/// The reference authority on a copy of tests/data/ta, seeded.
class InProcessTa {
  public:
    InProcessTa() {
        for (const auto& e : std::filesystem::directory_iterator(TestTaDir())) {
            std::filesystem::copy_file(e.path(), dir_.path() / e.path().filename());
        }
        std::string error;
        service_ = ta::AuthorityService::Open(dir_.path(), error, ta::SeededRandom(99));
        EXPECT_TRUE(service_) << error;
    }
    ta::AuthorityService& service() { return *service_; }

    /// The exchange without the window: the reply of the body, accepted.
    bool Exchange(HolderContext& ctx) {
        last = service_->Handle(RequestData(ctx.outgoingBody));
        if (last.status != 200) return false;
        outcome = ProcessTaReply(ctx, last.body);
        return outcome.accepted;
    }
    FlowHooks Hooks() {
        return {[this](HolderContext& c) { return Exchange(c); }, [] { return SaveResult::Saved; }};
    }
    HooksFor EveryHolder() {
        return [this](HolderContext&) { return Hooks(); };
    }

    /// The authority's reply body to the request `kind` of `ctx`, not applied.
    Lines ReplyTo(HolderContext& ctx, std::string_view kind) {
        ctx.requestKind = std::string(kind);
        EXPECT_TRUE(BuildOutgoingBody(ctx).ok);
        const ta::Reply r = service_->Handle(RequestData(ctx.outgoingBody));
        EXPECT_EQ(r.status, 200) << r.reason;
        return SplitLines(r.body);
    }

    ta::Reply last;
    ReplyOutcome outcome;

  private:
    TempDir dir_;
    std::unique_ptr<ta::AuthorityService> service_;
};

}  // namespace quarnel::test
