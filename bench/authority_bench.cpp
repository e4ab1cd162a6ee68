// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of the authority's work per request: run build/bin/authority_bench.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "authority/connection.h"
#include "authority/replies.h"
#include "authority/requests.h"
#include "crypto/datetime.h"
#include "holder/program_state.h"
#include "protocol/body.h"
#include "ta/core/issuing.h"
#include "ta_builders.h"

namespace quarnel {
namespace {

ta::Affiliate Holder(char category, const std::string& number, const ta::RandomSource& random) {
    ta::Affiliate a;
    a.number = number;
    a.category = category;
    a.identity =
        category == 'A'
            ? std::vector<std::string>{"DUPONT", "jean",   "3 rue haute", "75001", "PARIS",
                                       "-",      "FRANCE", "+33 1 00",    "-",     "j@example.org",
                                       "x"}
            : std::vector<std::string>{
                  "ACME", "-",      "MARTIN",   "claire", "1 quai bas",    "69001", "LYON",
                  "-",    "FRANCE", "+33 4 00", "-",      "c@example.org", "-"};
    a.affiliationDate = OleNow();
    a.signingKey = ta::RandomKey(random);
    a.taKey = ta::RandomKey(random);
    return a;
}

// What the authority computes for one key request (reply kinds 14 and 15).
void BM_IssueKey(benchmark::State& state) {
    const auto random = test::SeededRandom(1);
    const ta::Affiliate x = Holder('F', "0FF00002000", random);
    const ta::Affiliate y = Holder('A', "0FF01000000", random);
    const Quad k = ta::RandomKey(random);
    for (auto _ : state)
        benchmark::DoNotOptimize(ta::IssueKey(x, y, k, random));
}
BENCHMARK(BM_IssueKey)->Unit(benchmark::kMillisecond);

// What the holder's program does with it: checks and stores the record.
void BM_ProcessKeyReply(benchmark::State& state) {
    const auto random = test::SeededRandom(2);
    const ta::Affiliate x = Holder('F', "0FF00002000", random);
    const ta::Affiliate y = Holder('A', "0FF01000000", random);
    const ta::KeyIssue issue = ta::IssueKey(x, y, ta::RandomKey(random), random);
    Lines lines{issue.w, issue.a, issue.k3, issue.k4, issue.q};
    lines.insert(lines.end(), issue.section.begin(), issue.section.end());
    const Lines reply = ta::ReplyBody(
        AddressLine(Kind::KeyDelivered, "05C26", '0', '0', y.number, x.number), lines);
    const auto folder = std::filesystem::temp_directory_path() / "quarnel-bench";
    std::filesystem::create_directories(folder);
    HolderContext ctx;
    AuthorityState auth;
    state::Affiliated(ctx);
    ctx.ownNumber = x.number;
    ctx.settings.keyFolder = folder.string() + "/";
    ctx.keyStore = {test::OwnKeyRecord(x)};
    for (auto _ : state) {
        const ReplyOutcome o = ProcessTaReplyLines(ctx, auth, reply);
        if (!o.accepted) state.SkipWithError("the reply was refused");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ProcessKeyReply)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarnel
