// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Holders made from what the authority's issuing core gives them, without a
// test framework (the benchmarks use it too): their identities, settings,
// working folders, own key record and each other's correspondent records;
// and E and D, the two directions of the block cipher.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/program_data.h"
#include "crypto/cipher.h"
#include "crypto/datetime.h"
#include "holder/program_state.h"
#include "holder/settings.h"
#include "ta/core/issuing.h"
#include "ta_builders.h"

namespace quarnel::test {

inline Quad E(const Quad& x, const Quad& k) {
    return CipherBlock(x, k, Direction::Encipher);
}
inline Quad D(const Quad& x, const Quad& k) {
    return CipherBlock(x, k, Direction::Decipher);
}

/// An identity record: a private person `name` (A), or an employee of ACME
/// (F) or a lawyer (D) named `name`.
inline std::vector<std::string> IdentityOf(char category, const std::string& name) {
    if (category == 'A') {
        return {name,       "jean", "3 rue haute",      "75001", "PARIS", "-", "FRANCE",
                "+33 1 00", "-",    "jean@example.org", "x"};
    }
    const std::string firm = category == 'F' ? "ACME" : "AVOCAT";
    return {firm,    "-",      name,       "claire", "1 quai bas",         "69001", "LYON",
            "RHONE", "FRANCE", "+33 4 00", "-",      "claire@example.org", "-"};
}

/// The working folders under the data folder, as a first start names them,
/// created.
inline void SetFolders(ProgramData& ctx) {
    SetDefaultFolders(ctx);
    (void)CreateFolders(ctx.settings);
}

/// Brings the program state to `s` through the events that lead there.
inline void ReachState(HolderContext& ctx, ProgramState s) {
    switch (s) {
        case ProgramState::NotInitialised:
            state::Starting(ctx);
            break;
        case ProgramState::NotAffiliated:
            state::AffiliationRequested(ctx);
            break;
        case ProgramState::Affiliated:
            state::Affiliated(ctx);
            break;
        case ProgramState::VersionChanged:
            state::Affiliated(ctx);
            state::VersionChanged(ctx);
            break;
        case ProgramState::SettingsAltered:
            state::Affiliated(ctx);
            state::SettingsAltered(ctx);
            break;
        case ProgramState::UpdateNecessary:
            state::UpdateFailed(ctx);
            break;
    }
}

/// An affiliate as the authority keeps it, with fresh keys.
inline ta::Affiliate NewAffiliate(char category, const std::string& number, const std::string& name,
                                  char registrationFlag, const ta::RandomSource& random) {
    ta::Affiliate a;
    a.number = number;
    a.category = category;
    a.identity = IdentityOf(category, name);
    a.registrationFlag = registrationFlag;
    a.affiliationDate = OleFromLocal({2026, 3, 1, 9, 30, 0, 0});
    a.signingKey = ta::RandomKey(random);
    a.taKey = ta::RandomKey(random);
    return a;
}

/// The holder's context as the program holds it once affiliated (state 2),
/// its folders under `dir`.
inline std::unique_ptr<ProgramData> ContextOf(const ta::Affiliate& a,
                                              const std::filesystem::path& dir) {
    auto ctx = std::make_unique<ProgramData>();
    ProgramData& c = *ctx;
    c.dataFolder = c.programFolder = dir;
    c.settings.category = a.category;
    c.settings.taCode = "0FF";
    c.settings.versionCode = "D400F";
    c.settings.identity = a.identity;
    SetFolders(c);
    c.keyStore = {test::OwnKeyRecord(a)};
    state::Affiliated(c);
    c.ownDigit = a.digit;
    c.ownNumber = a.number;
    c.registrationFlag = a.registrationFlag;
    c.affiliationDate = a.affiliationDate;
    return ctx;
}

/// Gives each holder the other's correspondent record for a fresh pair key.
inline void GivePairRecords(ProgramData& ca, const ta::Affiliate& a, ProgramData& cb,
                            const ta::Affiliate& b, const ta::RandomSource& random) {
    auto [aboutB, aboutA] = test::RecordsForPair(a, b, ta::RandomKey(random));
    ca.correspondents.ForCategory(b.category)->push_back(std::move(aboutB));
    cb.correspondents.ForCategory(a.category)->push_back(std::move(aboutA));
}

}  // namespace quarnel::test
