#pragma once
// Holders with their working folders under a test folder, affiliated with an
// authority reached through the hooks the test gives (in process or HTTP).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "authority/flows.h"
#include "holder_fixture.h"
#include "holder_setup.h"
#include "store/holder_context.h"

namespace quarnel::test {

/// The hooks of the authority's sequences for one holder.
using HooksFor = std::function<FlowHooks(HolderContext&)>;

/// A holder in root/name with its working folders, through the whole first
/// affiliation.
inline std::unique_ptr<HolderContext> AffiliatedHolder(
    const std::filesystem::path& root, char category, const std::string& name, std::uint32_t seed,
    const HooksFor& hooks,
    const std::filesystem::path& parameterFile = TestTaDir() / "QuarnelTaPr.0FF") {
    const auto dir = root / name;
    std::filesystem::create_directories(dir);
    auto ctx = NewHolder(dir, category, name, seed, parameterFile);
    SetFolders(ctx->settings, dir);
    EXPECT_EQ(RunFirstAffiliation(*ctx, hooks(*ctx)).status, FlowStatus::Done);
    return ctx;
}

/// x (F, MARTIN) and y (A, DUPONT), each holding a key for the other.
inline void AffiliatePair(
    const std::filesystem::path& root, const HooksFor& hooks, std::unique_ptr<HolderContext>& x,
    std::unique_ptr<HolderContext>& y,
    const std::filesystem::path& parameterFile = TestTaDir() / "QuarnelTaPr.0FF") {
    x = AffiliatedHolder(root, 'F', "MARTIN", 1, hooks, parameterFile);
    y = AffiliatedHolder(root, 'A', "DUPONT", 2, hooks, parameterFile);
    ASSERT_EQ(RunKeyRequest(*x, hooks(*x), y->ownNumber, false).status, FlowStatus::Done);
    ASSERT_EQ(RunKeyRequest(*y, hooks(*y), x->ownNumber, false).status, FlowStatus::Done);
}

}  // namespace quarnel::test
