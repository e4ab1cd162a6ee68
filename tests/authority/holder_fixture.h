#pragma once
// Holders and an in-process reference authority for the authority tests: a
// holder context as the options dialog leaves it (settings, identity, key
// set-up against the test TA 0FF), and the authority's service on a copy of
// tests/data/ta.

#include <filesystem>
#include <memory>
#include <string>

#include "authority/connection.h"
#include "authority/flows.h"
#include "authority/replies.h"
#include "crypto/bignum.h"
#include "crypto/datetime.h"
#include "crypto/random.h"
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

inline std::vector<std::string> IdentityOf(char category, const std::string& name) {
    if (category == 'A') {
        return {name,       "jean", "3 rue haute",      "75001", "PARIS", "-", "FRANCE",
                "+33 1 00", "-",    "jean@example.org", "x"};
    }
    return {category == 'F' ? "ACME" : "AVOCAT",
            "-",
            name,
            "claire",
            "1 quai bas",
            "69001",
            "LYON",
            "RHONE",
            "FRANCE",
            "+33 4 00",
            "-",
            "claire@example.org",
            "-"};
}

/// A holder in state 0 with its key set-up done against the authority of
/// `parameterFile`, data and key folder `folder`.
inline std::unique_ptr<HolderContext> NewHolder(
    const std::filesystem::path& folder, char category, const std::string& name,
    std::uint32_t exponentSeed = 1,
    const std::filesystem::path& parameterFile = TestTaDir() / "QuarnelTaPr.0FF") {
    auto ctx = std::make_unique<HolderContext>();
    ctx->dataFolder = folder;
    ctx->programFolder = folder;
    Settings& s = ctx->settings;
    s.category = category;
    s.taAddress = "127.0.0.1";
    s.taPortChoice = 'A';
    s.keyFolder = folder.string() + "/";
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
    ctx->onSaveFailure = [](const std::filesystem::path&, const std::string&) {
        return SaveChoice::Ignore;
    };
    return ctx;
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
    const std::filesystem::path& dir() const { return dir_.path(); }

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

    ta::Reply last;
    ReplyOutcome outcome;

  private:
    TempDir dir_;
    std::unique_ptr<ta::AuthorityService> service_;
};

}  // namespace quarnel::test
