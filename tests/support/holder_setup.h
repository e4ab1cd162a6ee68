// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tests' one holder builder, without a test framework (the benchmarks
// and the fuzz targets use it too): the fixed clocks, holders made from what
// the authority's issuing core gives them (identities, settings, working
// folders, own key record and each other's correspondent records), the fixed
// pair x and y; and E and D, the two directions of the block cipher.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/program_data.h"
#include "crypto/cipher.h"
#include "crypto/datetime.h"
#include "crypto/generator.h"
#include "crypto/hextext.h"
#include "crypto/text_cipher.h"
#include "holder/program_state.h"
#include "holder/settings.h"
#include "protocol/lines.h"
#include "ta/core/issuing.h"
#include "ta_builders.h"

namespace quarnel::test {

/// The one fixed moment and seed of the tests: 5 December 2026, 14:03:07
/// local; random draws from 12345.
inline void FixClocks() {
    SetLocalClock([] { return LocalDateTime{2026, 12, 5, 14, 3, 7, 0}; });
    SetReseedClock([] { return 12345u; });
    SetSeed(12345);
}
inline void ReleaseClocks() {
    SetLocalClock({});
    SetReseedClock({});
}

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

/// x (F, MARTIN) writes to y (A, DUPONT), each holding the other's record.
/// The same seed gives the same keys in every process (the fuzz corpus
/// deciphers in the targets).
struct HolderPair {
    ta::Affiliate xa, ya;
    std::unique_ptr<ProgramData> x, y;
};
inline HolderPair MakeFixedPair(const std::filesystem::path& root,
                                const ta::RandomSource& random = SeededRandom(2026)) {
    HolderPair p;
    p.xa = NewAffiliate('F', "0FF00002000", "MARTIN", '1', random);
    p.ya = NewAffiliate('A', "0FF01000000", "DUPONT", '0', random);
    p.x = ContextOf(p.xa, root / "MARTIN");
    p.y = ContextOf(p.ya, root / "DUPONT");
    GivePairRecords(*p.x, p.xa, *p.y, p.ya, random);
    return p;
}

/// A decrypted message as the viewer saves it, written by hand: its
/// information line (category and registration flag), the sender's fields
/// and the text, under a digest that holds.
inline std::string SavedMessageFile(const std::string& information,
                                    const std::vector<std::string>& fields,
                                    const std::string& message) {
    const std::string address = std::string(21, '0') + "0FF00009000";
    const std::string moment = "01/02/2027 08:09:10";
    Quad d{};
    (void)CondenseText(address + moment + message, d);
    Lines lines{"En-t\xEAte :", address, "", "x", QuadToHex(d), std::string(32, 'B'), "", "x",
                information,    moment,  "", "x"};
    lines.insert(lines.end(), fields.begin(), fields.end());
    lines.insert(lines.end(), {"", "Message :"});
    return JoinLinesCrLf(lines) + message;
}

}  // namespace quarnel::test
