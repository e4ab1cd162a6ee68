// Benchmarks of the cryptographic core: run build/bin/crypto_bench.

#include <benchmark/benchmark.h>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/random.h"
#include "crypto/text_cipher.h"

namespace quarnel {
namespace {

const Quad kKey = HexToQuad("9BD9ED158BB87F46B6E1F66DF3A7DB35");
const Quad kInverse = HexToQuad("AE5A4540640542E136CD064716DE0E58");
const Quad kMask = HexToQuad("F44174B95D499343596D98F6A8B5E23B");

void BM_CipherBlockMaskedEncipher(benchmark::State& state) {
    Quad x = HexToQuad("0123456789ABCDEF0123456789ABCDEF");
    for (auto _ : state) {
        x = CipherBlockMasked(x, kKey, kMask, Direction::Encipher);
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_CipherBlockMaskedEncipher)->Unit(benchmark::kMicrosecond);

void BM_CipherBlockMaskedDecipher(benchmark::State& state) {
    Quad x = HexToQuad("0123456789ABCDEF0123456789ABCDEF");
    for (auto _ : state) {
        x = CipherBlockMasked(x, kInverse, kMask, Direction::Decipher);
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_CipherBlockMaskedDecipher)->Unit(benchmark::kMicrosecond);

std::string MegabyteOfText() {
    std::string text(1 << 20, ' ');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = char('a' + i % 26);
    return text;
}

void BM_EncipherText1MiB(benchmark::State& state) {
    const std::string text = MegabyteOfText();
    for (auto _ : state) {
        Lines lines;
        const bool ok = EncipherText("D400F", '1', 'F', lines, kMask, kKey, text, 46361.5);
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_EncipherText1MiB)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CondenseText1MiB(benchmark::State& state) {
    const std::string text = MegabyteOfText();
    for (auto _ : state) {
        Quad d{};
        const bool ok = CondenseText(text, d);
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_CondenseText1MiB)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_KeyInitialise(benchmark::State& state) {
    SetSeed(1);
    Big ta{};
    RandomKeyWords(ta);
    for (auto _ : state) {
        Big e{};
        RandomKeyWords(e);
        const KeySetup r = KeyInitialise(e, ta);
        benchmark::DoNotOptimize(r.taKey);
    }
}
BENCHMARK(BM_KeyInitialise)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarnel
