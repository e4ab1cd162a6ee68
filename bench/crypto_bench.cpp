// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of the cryptographic core: build/bin/crypto_bench.
//
// Every cipher benchmark runs once per path of this processor and once for
// the literal form, in the same run, so that the ratios hold on
// one machine at one moment. "per_block" is the time per 128-bit block.
// The literal texts of 1 MiB take about 20 s each; the README shows a filter
// that leaves them out.

#include <benchmark/benchmark.h>
#ifdef QUARNEL_BENCH_GMP
#include <gmp.h>
#endif

#include <time.h>

#include <functional>
#include <string>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/cipher_path.h"
#include "crypto/dh_constants.h"
#include "crypto/gf127.h"
#include "crypto/random.h"
#include "crypto/text_cipher.h"
#include "literal_cipher.h"

namespace quarnel {
namespace {

const Quad kKey = HexToQuad("9BD9ED158BB87F46B6E1F66DF3A7DB35");
const Quad kInverse = HexToQuad("AE5A4540640542E136CD064716DE0E58");
const Quad kMask = HexToQuad("F44174B95D499343596D98F6A8B5E23B");

/// The cipher operations of one implementation under benchmark.
struct Under {
    std::string name;
    bool literal = false;
    CipherPath path = CipherPath::Portable;
};

Quad Cipher(const Under& u, const Quad& x, const Quad& key, Direction d) {
    return u.literal ? literal::CipherBlockMasked(x, key, kMask, d)
                     : CipherBlockMasked(x, key, kMask, d);
}

bool Condense(const Under& u, std::string_view text, Quad& digest) {
    return u.literal ? literal::CondenseText(text, digest) : CondenseText(text, digest);
}

bool Encipher(const Under& u, Lines& lines, std::string_view text) {
    return u.literal ? literal::EncipherText("D400F", '1', 'F', lines, kMask, kKey, text, 46361.5)
                     : EncipherText("D400F", '1', 'F', lines, kMask, kKey, text, 46361.5);
}

bool Decipher(const Under& u, const Lines& lines, DecipheredText& out) {
    std::size_t index = 0;
    return u.literal ? literal::DecipherText(lines, index, kInverse, kMask, out)
                     : DecipherText(lines, index, kInverse, kMask, out);
}

void PerBlock(benchmark::State& state, double blocks) {
    state.counters["per_block"] = benchmark::Counter(
        blocks, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

std::string Text(std::size_t bytes) {
    std::string text(bytes, ' ');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = char('a' + i % 26);
    return text;
}

// One block after another, each through the whole cipher on its own.
void LoneBlock(benchmark::State& state, const Under& u, Direction d) {
    Quad x = HexToQuad("0123456789ABCDEF0123456789ABCDEF");
    const Quad key = d == Direction::Encipher ? kKey : kInverse;
    for (auto _ : state) {
        x = Cipher(u, x, key, d);
        benchmark::DoNotOptimize(x);
    }
    PerBlock(state, 1);
}

// Many blocks under one key: the batch path.
void Batch(benchmark::State& state, Direction d) {
    std::vector<Quad> blocks(4096);
    for (std::size_t i = 0; i < blocks.size(); ++i)
        blocks[i] = Quad{Word(i), 1, 2, 3};
    const Quad key = d == Direction::Encipher ? kKey : kInverse;
    for (auto _ : state) {
        CipherBlocksMasked(blocks, key, kMask, d);
        benchmark::DoNotOptimize(blocks.data());
    }
    PerBlock(state, double(blocks.size()));
}

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// The batch cipher against its arithmetic floor: the field squarings and
// products one block needs (both powers, by the key's schedule) times their
// batched costs, measured in the same iterations as the cipher on thread CPU
// time, so that other work on the machine moves both alike.
void CipherFloor(benchmark::State& state, Direction d) {
    const Quad key = d == Direction::Encipher ? kKey : kInverse;
    const gf::PowCost cost = gf::CostOf(gf::MakeSchedule(gf::KeyValue(key)));
    std::vector<Quad> blocks(4096);
    for (std::size_t i = 0; i < blocks.size(); ++i)
        blocks[i] = Quad{Word(i), 1, 2, 3};
    gf::U128 z[gf::kBatch];
    gf::U128 factors[gf::kBatch];
    for (int i = 0; i < gf::kBatch; ++i) {
        z[i] = gf::FromQuad(Quad{Word(i), 5, 6, 7});
        factors[i] = gf::FromQuad(Quad{7, Word(i), 5, 6});
    }
    constexpr int kRounds = 4096;
    const gf::Kernel& kernel = gf::ActiveKernel();
    double cipher = 0, squaring = 0, product = 0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        CipherBlocksMasked(blocks, key, kMask, d);
        const double t1 = ThreadSeconds();
        for (Variant v : {Variant::A, Variant::B})
            kernel.batchSquarings(z, kRounds / 2, v);
        const double t2 = ThreadSeconds();
        for (Variant v : {Variant::A, Variant::B})
            kernel.batchProducts(z, factors, kRounds / 2, v);
        const double t3 = ThreadSeconds();
        benchmark::DoNotOptimize(blocks.data());
        benchmark::DoNotOptimize(z);
        cipher += t1 - t0;
        squaring += t2 - t1;
        product += t3 - t2;
    }
    const double n = double(state.iterations());
    const double perBlock = cipher / n / double(blocks.size());
    const double perSquaring = squaring / n / (kRounds * gf::kBatch);
    const double perProduct = product / n / (kRounds * gf::kBatch);
    // Two powers a block, one of each variant.
    const double floor = 2 * (cost.squarings * perSquaring + cost.products * perProduct);
    state.counters["squarings"] = 2 * cost.squarings;
    state.counters["products"] = 2 * cost.products;
    state.counters["squaring_ns"] = 1e9 * perSquaring;
    state.counters["product_ns"] = 1e9 * perProduct;
    state.counters["floor_ns"] = 1e9 * floor;
    state.counters["block_ns"] = 1e9 * perBlock;
    state.counters["over_floor"] = perBlock / floor;
}

void CondenseBlocks(benchmark::State& state, const Under& u, std::size_t bytes) {
    const std::string text = Text(bytes);
    for (auto _ : state) {
        Quad d{};
        benchmark::DoNotOptimize(Condense(u, text, d));
    }
    PerBlock(state, double(bytes / 16));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

void EncipherBytes(benchmark::State& state, const Under& u, std::size_t bytes) {
    const std::string text = Text(bytes);
    for (auto _ : state) {
        Lines lines;
        benchmark::DoNotOptimize(Encipher(u, lines, text));
    }
    PerBlock(state, double(bytes / 16));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

void DecipherBytes(benchmark::State& state, const Under& u, std::size_t bytes) {
    Lines lines;
    (void)EncipherText("D400F", '1', 'F', lines, kMask, kKey, Text(bytes), 46361.5);
    for (auto _ : state) {
        DecipheredText out;
        benchmark::DoNotOptimize(Decipher(u, lines, out));
    }
    PerBlock(state, double(bytes / 16));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

void FieldPowLone(benchmark::State& state, const Under& u, Variant v) {
    Quad x = HexToQuad("0123456789ABCDEF0123456789ABCDEF");
    for (auto _ : state) {
        x = u.literal ? literal::FieldPow(x, kKey, v) : FieldPow(x, kKey, v);
        benchmark::DoNotOptimize(x);
    }
}

void KeyInitialiseBench(benchmark::State& state) {
    SetSeed(1);
    Big ta{};
    RandomKeyWords(ta);
    for (auto _ : state) {
        Big e{};
        RandomKeyWords(e);
        const KeySetup r = KeyInitialise(e, ta);
        benchmark::DoNotOptimize(*r.taKey);
    }
}

/// The authority's operands: a holder's public value and a private exponent
/// of full length.
struct AuthorityOperands {
    Big y{};
    Big x{};
    AuthorityOperands() {
        SetSeed(2);
        RandomKeyWords(y);
        RandomKeyWords(x);
        y = ModPowBig(SystemBase(), y, SystemModulus());
    }
};

// The authority's exponentiation, by the general and by the secret form.
void AuthorityPower(benchmark::State& state, Big (*power)(const Big&, const Big&, const Big&)) {
    const auto [y, x] = AuthorityOperands();
    for (auto _ : state) {
        const Big s = power(y, x, SystemModulus());
        benchmark::DoNotOptimize(s);
    }
}

#ifdef QUARNEL_BENCH_GMP
// The same power by GMP: mpz_powm, and mpz_powm_sec (whose steps do not
// depend on the exponent, as ModPowBigSecret's).
void GmpPower(benchmark::State& state, bool secret) {
    const auto [y, x] = AuthorityOperands();
    const auto load = [](mpz_t z, const Big& b) {
        mpz_init(z);
        mpz_import(z, b.size(), -1, sizeof(Word), 0, 0, b.data());
    };
    mpz_t base, exponent, modulus, result;
    load(base, y);
    load(exponent, x);
    load(modulus, SystemModulus());
    mpz_init(result);
    for (auto _ : state) {
        if (secret) {
            mpz_powm_sec(result, base, exponent, modulus);
        } else {
            mpz_powm(result, base, exponent, modulus);
        }
        benchmark::DoNotOptimize(result);
    }
    Big mine = ModPowBigSecret(y, x, SystemModulus());
    Big theirs{};
    mpz_export(theirs.data(), nullptr, -1, sizeof(Word), 0, 0, result);
    if (mine != theirs) state.SkipWithError("GMP gives another result");
    for (mpz_t* z : {&base, &exponent, &modulus, &result})
        mpz_clear(*z);
}
#endif

constexpr std::size_t kMiB = 1 << 20;

/// Registers `run` under "name/under", forcing the path before it runs.
template <class Run>
benchmark::internal::Benchmark* Add(const std::string& name, const Under& u, Run run) {
    return benchmark::RegisterBenchmark((name + "/" + u.name).c_str(),
                                        [u, run](benchmark::State& state) {
                                            if (!u.literal) (void)ForceCipherPath(u.path);
                                            run(state, u);
                                        });
}

const bool kRegistered = [] {
    std::vector<Under> all;
    for (CipherPath p : {CipherPath::Avx512, CipherPath::Clmul, CipherPath::Portable}) {
        if (CipherPathSupported(p)) all.push_back(Under{CipherPathName(p), false, p});
    }
    const Under literalForm{"literal", true, CipherPath::Portable};
    all.push_back(literalForm);
    const auto us = benchmark::kMicrosecond;
    const auto ms = benchmark::kMillisecond;
    for (const Under& u : all) {
        Add("BlockEncipher", u, [](auto& s, const Under& v) {
            LoneBlock(s, v, Direction::Encipher);
        })->Unit(us);
        Add("BlockDecipher", u, [](auto& s, const Under& v) {
            LoneBlock(s, v, Direction::Decipher);
        })->Unit(us);
        Add("FieldPowA", u, [](auto& s, const Under& v) {
            FieldPowLone(s, v, Variant::A);
        })->Unit(us);
        Add("Condense1KiB", u, [](auto& s, const Under& v) {
            CondenseBlocks(s, v, 1024);
        })->Unit(us);
        if (u.literal) continue;
        for (const Direction d : {Direction::Encipher, Direction::Decipher}) {
            const std::string way = d == Direction::Encipher ? "Encipher" : "Decipher";
            Add("Batch" + way, u, [d](auto& s, const Under&) { Batch(s, d); })->Unit(us);
            Add("CipherFloor/" + way, u, [d](auto& s, const Under&) {
                CipherFloor(s, d);
            })->Unit(ms);
        }
    }
    // Whole texts of 1 MiB; the literal form enciphers and condenses once only
    // (about 20 s each).
    for (const Under& u : all) {
        auto* e =
            Add("EncipherText1MiB", u, [](auto& s, const Under& v) { EncipherBytes(s, v, kMiB); });
        auto* c =
            Add("CondenseText1MiB", u, [](auto& s, const Under& v) { CondenseBlocks(s, v, kMiB); });
        for (auto* b : {e, c}) {
            b->Unit(ms);
            if (u.literal) b->Iterations(1);
        }
        if (u.literal) continue;
        Add("DecipherText1MiB", u, [](auto& s, const Under& v) {
            DecipherBytes(s, v, kMiB);
        })->Unit(ms);
    }
    // An attachment of 10 MiB through the section functions that the message
    // layer enciphers attachments with, on the path in use.
    const Under best{CipherPathName(BestCipherPath()), false, BestCipherPath()};
    Add("EncipherText10MiB", best, [](auto& s, const Under& v) {
        EncipherBytes(s, v, 10 * kMiB);
    })->Unit(ms);
    Add("DecipherText10MiB", best, [](auto& s, const Under& v) {
        DecipherBytes(s, v, 10 * kMiB);
    })->Unit(ms);
    benchmark::RegisterBenchmark("KeyInitialise", KeyInitialiseBench)->Unit(ms);
    benchmark::RegisterBenchmark("AuthorityPower/ModPowBig", AuthorityPower, ModPowBig)->Unit(us);
    benchmark::RegisterBenchmark("AuthorityPower/ModPowBigSecret", AuthorityPower, ModPowBigSecret)
        ->Unit(us);
#ifdef QUARNEL_BENCH_GMP
    benchmark::RegisterBenchmark("AuthorityPower/gmp_powm", GmpPower, false)->Unit(us);
    benchmark::RegisterBenchmark("AuthorityPower/gmp_powm_sec", GmpPower, true)->Unit(us);
#endif
    return true;
}();

}  // namespace
}  // namespace quarnel
