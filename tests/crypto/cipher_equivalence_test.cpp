// Randomized comparison of every path of the library with the literal
// oracle: blocks one by one and in batches, both directions, both variants,
// masks, the four invalid blocks, condensation chains and whole texts. The
// generator must stand where the oracle's wipes leave it, too.
//
// The oracle costs about 300 us a block, so the default run is sized for CI
// (20000 block cases per direction, shared by all paths). For a long run:
//   QUARNEL_EQUIVALENCE_CASES=2000000 tests/crypto_tests --gtest_filter='*Oracle*'

#include <gtest/gtest.h>

#include <cstdlib>
#include <span>
#include <vector>

#include "cipher_under_test.h"
#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/cipher_path.h"
#include "crypto/hextext.h"
#include "crypto/random.h"
#include "crypto/text_cipher.h"
#include "literal_cipher.h"
#include "test_rng.h"

namespace quarnel::test {
namespace {

constexpr int kShards = 8;
const Quad kAllOnes{~0u, ~0u, ~0u, ~0u};
const Quad kTop{0, 0, 0, 0x80000000u};
const Quad kLow127{~0u, ~0u, ~0u, 0x7FFFFFFFu};
const Quad kInvalid[4] = {Quad{}, kTop, kLow127, kAllOnes};

std::size_t BlockCasesPerDirection() {
    const char* env = std::getenv("QUARNEL_EQUIVALENCE_CASES");
    return env != nullptr ? std::strtoull(env, nullptr, 10) : 20000;
}

std::vector<Under> SupportedPaths() {
    std::vector<Under> paths;
    for (Under u : kLibraryPaths) {
        if (CipherPathSupported(PathOf(u))) paths.push_back(u);
    }
    return paths;
}

/// Random inputs that reach the corners: invalid blocks, small and extreme
/// values, keys of both parities and of value 0, zero masks.
class Sampler {
  public:
    explicit Sampler(std::uint32_t seed) : rng_(seed) {}

    Quad Any() { return Quad{rng_(), rng_(), rng_(), rng_()}; }

    Quad Block() {
        switch (rng_() % 64) {
            case 0:
                return kInvalid[rng_() % 4];
            case 1:
                return Quad{rng_() % 4, 0, 0, rng_() % 2 ? 0x80000000u : 0};  // values 0..3
            case 2:
                return Quad{~0u - rng_() % 4, ~0u, ~0u, ~0u >> (rng_() % 2)};  // near p
            default:
                return Any();
        }
    }

    Quad Key() {
        switch (rng_() % 32) {
            case 0:
                return rng_() % 2 ? Quad{} : kTop;  // value 0
            case 1:
                return Quad{rng_() % 16, 0, 0, 0};  // small values
            case 2:
                return kLow127;  // value p
            case 3:
                return Quad{0xFFFFFFFDu, ~0u, ~0u, 0x7FFFFFFFu};  // value p - 2
            default:
                return Any();
        }
    }

    Quad Mask() { return rng_() % 4 == 0 ? Quad{} : Any(); }

    std::uint32_t Below(std::uint32_t n) { return rng_() % n; }

  private:
    Rng rng_;
};

std::string Show(const Quad& q) {
    return QuadToHex(q);
}

// ---- Blocks, one by one and in batches under one key.

class BlocksAgainstOracle : public ::testing::TestWithParam<int> {
  protected:
    void TearDown() override { (void)ForceCipherPath(BestCipherPath()); }
};

TEST_P(BlocksAgainstOracle, BothDirectionsOnEveryPath) {
    const int shard = GetParam();
    const std::size_t total = BlockCasesPerDirection();
    const std::size_t cases = total / kShards + (shard == 0 ? total % kShards : 0);
    Sampler sample(7919u * std::uint32_t(shard + 1));
    const std::vector<Under> paths = SupportedPaths();
    std::size_t done = 0;
    while (done < cases) {
        // Groups of blocks under one key: the batch path takes the larger ones.
        const std::size_t n = std::min<std::size_t>(1 + sample.Below(40), cases - done);
        const Quad key = sample.Key();
        const Quad mask = sample.Mask();
        std::vector<Quad> blocks(n);
        for (Quad& b : blocks)
            b = sample.Block();
        for (Direction d : {Direction::Encipher, Direction::Decipher}) {
            std::vector<Quad> want(n);
            std::vector<std::uint32_t> seeds(n + 1);  // the generator before each block
            seeds[0] = sample.Any()[0];
            SetSeed(seeds[0]);
            for (std::size_t i = 0; i < n; ++i) {
                want[i] = literal::CipherBlockMasked(blocks[i], key, mask, d);
                seeds[i + 1] = Seed();
            }
            for (Under u : paths) {
                ASSERT_TRUE(Enter(u));
                for (std::size_t i = 0; i < n; ++i) {
                    SetSeed(seeds[i]);
                    ASSERT_EQ(CipherBlockMasked(blocks[i], key, mask, d), want[i])
                        << NameOf(u) << " block " << Show(blocks[i]) << " key " << Show(key)
                        << " mask " << Show(mask) << " direction " << int(d);
                    ASSERT_EQ(Seed(), seeds[i + 1]) << NameOf(u) << " generator after a block";
                }
                std::vector<Quad> batch = blocks;
                SetSeed(seeds[0]);
                CipherBlocksMasked(batch, key, mask, d);
                ASSERT_EQ(batch, want) << NameOf(u) << " batch of " << n << " key " << Show(key)
                                       << " mask " << Show(mask) << " direction " << int(d);
                ASSERT_EQ(Seed(), seeds[n]) << NameOf(u) << " generator after a batch";
            }
        }
        done += n;
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, BlocksAgainstOracle, ::testing::Range(0, kShards));

// ---- The pieces of a block: powers of both variants, products.

TEST(PiecesAgainstOracle, PowersOfBothVariantsOnEveryPath) {
    Sampler sample(31);
    const std::vector<Under> paths = SupportedPaths();
    for (int i = 0; i < 600; ++i) {
        const Quad v = sample.Any();
        // Exponents of every size, the top bit included, and the unit p.
        Quad k = sample.Any();
        switch (i % 6) {
            case 0:
                k = Quad{sample.Below(4) + 1, 0, 0, 0};
                break;
            case 1:
                k = Quad{0, 0, 0, 1u << sample.Below(32)};
                break;
            case 2:
                k = kLow127;
                break;
            case 3:
                k[3] = 0;
                break;
        }
        const Variant var = i % 2 ? Variant::A : Variant::B;
        const Quad want = literal::FieldPow(v, k, var);
        const Quad x = sample.Block();
        const Quad key = sample.Key();
        const Quad wantExp = literal::ExpBlock(x, key, var);
        for (Under u : paths) {
            ASSERT_TRUE(Enter(u));
            ASSERT_EQ(FieldPow(v, k, var), want)
                << NameOf(u) << " v " << Show(v) << " k " << Show(k) << " variant " << int(var);
            ASSERT_EQ(ExpBlock(x, key, var), wantExp)
                << NameOf(u) << " x " << Show(x) << " key " << Show(key);
        }
    }
    (void)ForceCipherPath(BestCipherPath());
}

TEST(PiecesAgainstOracle, ProductsModuloP) {
    Sampler sample(37);
    const Quad edges[] = {Quad{},
                          Quad{1, 0, 0, 0},
                          Quad{2, 0, 0, 0},
                          kTop,
                          kLow127,
                          kAllOnes,
                          Quad{0xFFFFFFFEu, ~0u, ~0u, 0x7FFFFFFFu},
                          Quad{0, 0, 0, 0x40000000u}};
    for (const Quad& a : edges) {
        for (const Quad& b : edges)
            ASSERT_EQ(MulModP(a, b), literal::MulModP(a, b));
    }
    for (int i = 0; i < 200000; ++i) {
        const Quad a = sample.Any();
        const Quad b = i % 3 ? sample.Any() : edges[i % 8];
        ASSERT_EQ(MulModP(a, b), literal::MulModP(a, b)) << Show(a) << " * " << Show(b);
        ASSERT_EQ(MulBlock(a, b), literal::MulBlock(a, b)) << Show(a) << " key " << Show(b);
    }
}

// ---- Condensation chains, with invalid pieces anywhere.

/// The 16 bytes whose block is `q` (the first byte the most significant).
std::string BytesOf(const Quad& q) {
    return HexToText(QuadToHex(q));
}

std::string RandomText(Sampler& sample, std::size_t blocks) {
    std::string text;
    for (std::size_t b = 0; b < blocks; ++b) {
        text += sample.Below(8) == 0 ? BytesOf(kInvalid[sample.Below(4)]) : BytesOf(sample.Any());
    }
    text.resize(text.size() - (text.empty() ? 0 : sample.Below(16)));  // "U" padding
    return text;
}

TEST(CondensationAgainstOracle, ChainsWithInvalidBlocksOnEveryPath) {
    Sampler sample(41);
    const std::vector<Under> paths = SupportedPaths();
    for (int i = 0; i < 300; ++i) {
        const std::string text = RandomText(sample, sample.Below(7));
        Quad want{};
        SetSeed(3);
        const bool wantOk = literal::CondenseText(text, want);
        const std::uint32_t seedAfterText = Seed();
        // Hexadecimal texts of any length, some not hexadecimal at all.
        std::string hex = TextToHex(text.substr(0, sample.Below(40)));
        if (i % 5 == 0 && !hex.empty()) hex[sample.Below(std::uint32_t(hex.size()))] = "g x"[i % 3];
        if (i % 7 == 0) hex += "abc";
        Quad wantHex{};
        SetSeed(4);
        const bool wantHexOk = literal::CondenseHex(hex, wantHex);
        const std::uint32_t seedAfterHex = Seed();
        for (Under u : paths) {
            ASSERT_TRUE(Enter(u));
            Quad got{1, 2, 3, 4};
            SetSeed(3);
            ASSERT_EQ(CondenseText(text, got), wantOk) << NameOf(u) << " " << TextToHex(text);
            ASSERT_EQ(got, want) << NameOf(u) << " " << TextToHex(text);
            ASSERT_EQ(Seed(), seedAfterText) << NameOf(u) << " " << TextToHex(text);
            SetSeed(4);
            ASSERT_EQ(CondenseHex(hex, got), wantHexOk) << NameOf(u) << " " << hex;
            ASSERT_EQ(got, wantHex) << NameOf(u) << " " << hex;
            ASSERT_EQ(Seed(), seedAfterHex) << NameOf(u) << " " << hex;
        }
    }
    (void)ForceCipherPath(BestCipherPath());
}

TEST(CondensationAgainstOracle, ALongChainAcrossBufferBoundaries) {
    Sampler sample(43);
    std::string text;
    for (int b = 0; b < 530; ++b)
        text += BytesOf(sample.Any());
    text += "tail";
    Quad want{};
    ASSERT_TRUE(literal::CondenseText(text, want));
    for (Under u : SupportedPaths()) {
        ASSERT_TRUE(Enter(u));
        Quad got{};
        ASSERT_TRUE(CondenseText(text, got)) << NameOf(u);
        EXPECT_EQ(got, want) << NameOf(u);
        // An invalid piece at the very end still fails the whole text.
        EXPECT_FALSE(CondenseText(text + std::string(12, 'U') + BytesOf(kAllOnes), got));
        EXPECT_EQ(got, Quad{});
    }
    (void)ForceCipherPath(BestCipherPath());
}

// ---- Whole texts.

/// A key and its inverse modulo p (Fermat), as the key store supplies them.
struct KeyPair {
    Quad key;
    Quad inverse;
};

KeyPair MakeKeyPair(Sampler& sample) {
    Quad v = sample.Any();
    v[3] &= 0x7FFFFFFFu;
    if (!IsValidBlock(v)) v[0] = 3;
    Quad r{1, 0, 0, 0};
    Quad b = v;
    const Quad e{0xFFFFFFFDu, ~0u, ~0u, 0x7FFFFFFFu};
    for (int i = 0; i < 127; ++i) {
        if ((e[std::size_t(i / 32)] >> (i % 32)) & 1) r = MulModP(r, b);
        b = MulModP(b, b);
    }
    return {JoinBlock(v, sample.Below(2) == 0), JoinBlock(r, true)};
}

TEST(TextsAgainstOracle, ShortTextsEncipherAndDecipherAlike) {
    Sampler sample(47);
    for (int i = 0; i < 6; ++i) {
        const KeyPair keys = MakeKeyPair(sample);
        const Quad mask = sample.Mask();
        const std::string text = RandomText(sample, sample.Below(3));
        // Each step from a seed of its own; the failures (a wrong key, an
        // altered header) consume what the oracle's do.
        Lines want;
        std::uint32_t after[4];
        SetSeed(10);
        ASSERT_TRUE(literal::EncipherText("0A1B2", 'C', '7', want, mask, keys.key, text, 45123.5));
        after[0] = Seed();
        std::size_t wantIndex = 0;
        DecipheredText wantText;
        SetSeed(11);
        ASSERT_TRUE(literal::DecipherText(want, wantIndex, keys.inverse, mask, wantText));
        after[1] = Seed();
        std::size_t index = 0;
        SetSeed(12);
        EXPECT_FALSE(literal::DecipherText(want, index, keys.key, mask, wantText));
        after[2] = Seed();
        Lines altered = want;
        altered[0][3] = altered[0][3] == '0' ? '1' : '0';
        std::string header;
        SetSeed(13);
        EXPECT_FALSE(literal::VerifyHeader(altered, 0, keys.inverse, mask, header));
        after[3] = Seed();
        for (Under u : SupportedPaths()) {
            ASSERT_TRUE(Enter(u));
            Lines got;
            SetSeed(10);
            ASSERT_TRUE(EncipherText("0A1B2", 'C', '7', got, mask, keys.key, text, 45123.5));
            EXPECT_EQ(got, want) << NameOf(u);
            EXPECT_EQ(Seed(), after[0]) << NameOf(u);
            index = 0;
            DecipheredText d;
            SetSeed(11);
            ASSERT_TRUE(DecipherText(want, index, keys.inverse, mask, d)) << NameOf(u);
            EXPECT_EQ(d.text, wantText.text);
            EXPECT_EQ(index, wantIndex);
            EXPECT_EQ(Seed(), after[1]) << NameOf(u);
            index = 0;
            SetSeed(12);
            EXPECT_FALSE(DecipherText(want, index, keys.key, mask, d));
            EXPECT_EQ(Seed(), after[2]) << NameOf(u);
            SetSeed(13);
            EXPECT_FALSE(VerifyHeader(altered, 0, keys.inverse, mask, header));
            EXPECT_EQ(Seed(), after[3]) << NameOf(u);
        }
    }
    (void)ForceCipherPath(BestCipherPath());
}

// The portable path is held to the oracle block by block above; whole texts
// of every length are held to the portable path.
TEST(TextsAcrossPaths, RandomLengthsMatchThePortablePath) {
    Sampler sample(53);
    std::vector<std::size_t> lengths = {0, 1, 15, 16, 17, 95, 96, 97, 255, 256, 257, 16 * 1030 + 3};
    for (int i = 0; i < 40; ++i)
        lengths.push_back(sample.Below(3000));
    for (std::size_t length : lengths) {
        SCOPED_TRACE(length);
        const KeyPair keys = MakeKeyPair(sample);
        const Quad mask = sample.Mask();
        std::string text(length, '\0');
        for (char& c : text)
            c = char(sample.Below(256));
        ASSERT_TRUE(Enter(Under::Portable));
        Lines want{"a line before"};
        ASSERT_TRUE(EncipherText("D400F", '1', 'F', want, mask, keys.key, text, 46000.25));
        for (Under u : SupportedPaths()) {
            ASSERT_TRUE(Enter(u));
            Lines got{"a line before"};
            ASSERT_TRUE(EncipherText("D400F", '1', 'F', got, mask, keys.key, text, 46000.25));
            ASSERT_EQ(got, want) << NameOf(u);
            std::size_t index = 1;
            DecipheredText d;
            ASSERT_TRUE(DecipherText(got, index, keys.inverse, mask, d)) << NameOf(u);
            EXPECT_EQ(d.text, text) << NameOf(u);
            EXPECT_EQ(index, got.size());
            index = 1;
            EXPECT_FALSE(DecipherText(got, index, keys.key, mask, d)) << NameOf(u);
        }
    }
    (void)ForceCipherPath(BestCipherPath());
}

}  // namespace
}  // namespace quarnel::test
