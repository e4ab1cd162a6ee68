// SPDX-License-Identifier: GPL-3.0-or-later
// Randomized comparison of every path of the library with the literal
// oracle: blocks one by one and in batches, both directions (so both
// variants of the power), masks, the four invalid blocks, condensation
// chains and whole texts. The generator must stand where the oracle's wipes
// leave it, too. The vectors hold ExpBlock alone to the oracle.
//
// The oracle costs about 300 us a block, so the default run is sized for CI
// (20000 block cases per direction, shared by all paths). For a long run:
//   QUARNEL_EQUIVALENCE_CASES=2000000 tests/crypto_tests --gtest_filter='*Oracle*'

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <memory>
#include <vector>

#include "cipher_under_test.h"
#include "crypto/bignum.h"
#include "crypto/hextext.h"
#include "crypto/random.h"
#include "crypto/text_stream.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "test_rng.h"

namespace quarnel::test {
namespace {

constexpr int kShards = 8;
const Quad kAllOnes{~0u, ~0u, ~0u, ~0u};
const Quad kTop{0, 0, 0, 0x80000000u};
const Quad kLow127{~0u, ~0u, ~0u, 0x7FFFFFFFu};  // value p
const Quad kPMinus2{0xFFFFFFFDu, ~0u, ~0u, 0x7FFFFFFFu};
const Quad kInvalid[4] = {Quad{}, kTop, kLow127, kAllOnes};

/// Random inputs that reach the corners: invalid blocks, small and extreme
/// values, keys (the powers' exponents) of both parities, of value 0, small,
/// sparse or short, zero masks.
class Sampler {
  public:
    explicit Sampler(std::uint32_t seed) : rng_(seed) {}
    Quad Any() { return Quad{rng_(), rng_(), rng_(), rng_()}; }
    std::uint32_t Below(std::uint32_t n) { return rng_() % n; }

    Quad Block() {
        const std::uint32_t r = Below(64);
        if (r == 0) return kInvalid[Below(4)];
        if (r == 1) return Quad{Below(4), 0, 0, Below(2) ? 0x80000000u : 0};  // values 0..3
        if (r == 2) return Quad{~0u - Below(4), ~0u, ~0u, ~0u >> Below(2)};   // near p
        return Any();
    }
    Quad Key() {
        const std::uint32_t r = Below(32);
        if (r == 0) return Below(2) ? Quad{} : kTop;  // value 0
        if (r == 1) return Quad{Below(16), 0, 0, 0};
        if (r == 2) return kLow127;
        if (r == 3) return kPMinus2;
        if (r == 4) return Quad{0, 0, 0, 1u << Below(32)};  // sparse exponents
        if (r == 5) return Quad{rng_(), rng_(), rng_(), 0};
        return Any();
    }
    Quad Mask() { return Below(4) == 0 ? Quad{} : Any(); }

    /// Whole blocks, one in eight invalid, the last cut short ("U" padding).
    std::string Text(std::size_t blocks) {
        std::string text;
        for (std::size_t b = 0; b < blocks; ++b)
            text += HexToText(QuadToHex(Below(8) == 0 ? kInvalid[Below(4)] : Any()));
        text.resize(text.size() - (text.empty() ? 0 : Below(16)));
        return text;
    }

    /// A key and its inverse modulo p (Fermat), as the key store supplies them.
    std::pair<Quad, Quad> KeyPair() {
        Quad v = Any();
        v[3] &= 0x7FFFFFFFu;
        if (!IsValidBlock(v)) v[0] = 3;
        Quad r{1, 0, 0, 0};
        Quad b = v;
        for (int i = 0; i < 127; ++i, b = MulModP(b, b)) {
            if ((kPMinus2[std::size_t(i / 32)] >> (i % 32)) & 1) r = MulModP(r, b);
        }
        return {JoinBlock(v, Below(2) == 0), JoinBlock(r, true)};
    }

  private:
    Rng rng_;
};

// ---- Blocks, one by one and in batches under one key.

class BlocksAgainstOracle : public ::testing::TestWithParam<int> {};

TEST_P(BlocksAgainstOracle, BothDirectionsOnEveryPath) {
    const int shard = GetParam();
    const char* env = std::getenv("QUARNEL_EQUIVALENCE_CASES");
    const std::size_t total = env != nullptr ? std::strtoull(env, nullptr, 10) : 20000;
    const std::size_t cases = total / kShards + (shard == 0 ? total % kShards : 0);
    Sampler sample(7919u * std::uint32_t(shard + 1));
    for (std::size_t done = 0; done < cases;) {
        // Groups of blocks under one key: the batch path takes the larger ones.
        const std::size_t n = std::min<std::size_t>(1 + sample.Below(40), cases - done);
        const Quad key = sample.Key();
        const Quad mask = sample.Mask();
        std::vector<Quad> blocks(n);
        for (Quad& b : blocks)
            b = sample.Block();
        for (Direction d : {Direction::Encipher, Direction::Decipher}) {
            SCOPED_TRACE("key " + QuadToHex(key) + " mask " + QuadToHex(mask) + " direction " +
                         std::to_string(int(d)));
            std::vector<Quad> want(n);
            std::vector<std::uint32_t> seeds(n + 1);  // the generator before each block
            SetSeed(seeds[0] = sample.Any()[0]);
            for (std::size_t i = 0; i < n; ++i) {
                want[i] = literal::CipherBlockMasked(blocks[i], key, mask, d);
                seeds[i + 1] = Seed();
            }
            OnEveryPath([&] {
                for (std::size_t i = 0; i < n; ++i) {
                    SetSeed(seeds[i]);
                    ASSERT_EQ(CipherBlockMasked(blocks[i], key, mask, d), want[i])
                        << "block " << QuadToHex(blocks[i]);
                    ASSERT_EQ(Seed(), seeds[i + 1]) << "generator after a block";
                }
                std::vector<Quad> batch = blocks;
                SetSeed(seeds[0]);
                CipherBlocksMasked(batch, key, mask, d);
                ASSERT_EQ(batch, want) << "batch of " << n;
                ASSERT_EQ(Seed(), seeds[n]) << "generator after a batch";
            });
            if (HasFatalFailure()) return;
        }
        done += n;
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, BlocksAgainstOracle, ::testing::Range(0, kShards));

// ---- Powers alone, with exponents of all 128 bits (the cipher's stay below 2^127).

TEST(PowersAgainstOracle, ExponentsOfEveryWidthOnEveryPath) {
    Sampler sample(31);
    for (int i = 0; i < 600; ++i) {
        const Quad v = sample.Any();
        const Quad k = i % 2 ? sample.Any() : sample.Key();  // small, sparse, short, p, 0, 2^127
        const Variant var = i % 4 < 2 ? Variant::A : Variant::B;
        const Quad want = literal::FieldPow(v, k, var);
        SCOPED_TRACE("v " + QuadToHex(v) + " k " + QuadToHex(k) + " variant " +
                     std::to_string(int(var)));
        OnEveryPath([&] { ASSERT_EQ(FieldPow(v, k, var), want); });
        if (HasFatalFailure()) return;
    }
}

// ---- Condensation chains, with invalid pieces anywhere, and one chain
// longer than the library's buffer with an invalid piece at its very end.

TEST(CondensationAgainstOracle, ChainsWithInvalidBlocksOnEveryPath) {
    Sampler sample(41);
    auto longText = [&](bool invalidAtTheEnd) {
        std::string text;
        for (int b = 0; b < 530; ++b)
            text += HexToText(QuadToHex(sample.Any()));
        return text + "tail" +
               (invalidAtTheEnd ? std::string(12, 'U') + HexToText(QuadToHex(kAllOnes)) : "");
    };
    for (int i = 0; i < 302; ++i) {
        const std::string text = i < 300 ? sample.Text(sample.Below(7)) : longText(i == 301);
        // Hexadecimal texts of any length, some not hexadecimal at all.
        std::string hex = TextToHex(text.substr(0, sample.Below(40)));
        if (i % 5 == 0 && !hex.empty()) hex[sample.Below(std::uint32_t(hex.size()))] = "g x"[i % 3];
        if (i % 7 == 0) hex += "abc";
        Quad want{};
        Quad wantHex{};
        SetSeed(3);
        const bool wantOk = literal::CondenseText(text, want);
        const std::uint32_t seedAfterText = Seed();
        SetSeed(4);
        const bool wantHexOk = literal::CondenseHex(hex, wantHex);
        const std::uint32_t seedAfterHex = Seed();
        SCOPED_TRACE("text " + TextToHex(text.substr(0, 200)) + " hex " + hex);
        OnEveryPath([&] {
            Quad got{1, 2, 3, 4};
            SetSeed(3);
            ASSERT_EQ(CondenseText(text, got), wantOk);
            ASSERT_EQ(got, want);
            ASSERT_EQ(Seed(), seedAfterText);
            SetSeed(4);
            ASSERT_EQ(CondenseHex(hex, got), wantHexOk);
            ASSERT_EQ(got, wantHex);
            ASSERT_EQ(Seed(), seedAfterHex);
        });
        if (HasFatalFailure()) return;
    }
}

// ---- Whole texts of every length and of every byte, one after another in
// one list (one beyond the library's buffer), read back in turn. Each step
// leaves the generator where the oracle's leaves it, the failures (a wrong
// key, an altered header) too.

TEST(TextsAgainstOracle, OneAfterAnotherOnEveryPath) {
    struct Text {
        std::string plain;
        std::pair<Quad, Quad> keys;  // key and inverse
        Quad mask;
    };
    Sampler sample(47);
    std::vector<Text> texts;
    std::vector<std::size_t> lengths = {0, 1, 15, 16, 17, 95, 96, 97, 255, 256, 257, 16 * 520 + 3};
    for (int i = 0; i < 10; ++i)
        lengths.push_back(sample.Below(1000));
    for (std::size_t length : lengths) {
        std::string plain(length, '\0');
        for (char& c : plain)
            c = char(sample.Below(256));
        texts.push_back({plain, sample.KeyPair(), sample.Mask()});
    }
    // Texts ending in the padding character keep it.
    for (std::string plain : {"ends in UUU", "U", "UUUUUUUUUUUUUUUU"})
        texts.push_back({plain, sample.KeyPair(), sample.Mask()});
    const double when = 46361.6543210123;
    // The generator after each step.
    auto run = [&](const CipherImpl& impl, Lines& lines) {
        std::vector<std::uint32_t> seeds;
        SetSeed(10);
        lines = {"a line before"};
        for (const Text& t : texts) {
            EXPECT_TRUE(
                impl.EncipherText("0A1B2", 'C', '7', lines, t.mask, t.keys.first, t.plain, when));
            seeds.push_back(Seed());
        }
        std::size_t index = 1;
        for (const Text& t : texts) {
            SCOPED_TRACE(t.plain.size());
            DecipheredText d;
            std::size_t wrong = index;
            EXPECT_FALSE(impl.DecipherText(lines, wrong, t.keys.first, t.mask, d));
            EXPECT_EQ(wrong, index);
            Lines altered(lines.begin() + std::ptrdiff_t(index), lines.end());
            altered[0][3] = altered[0][3] == '0' ? '1' : '0';
            std::string header;
            EXPECT_FALSE(impl.VerifyHeader(altered, 0, t.keys.second, t.mask, header));
            seeds.push_back(Seed());
            EXPECT_TRUE(impl.DecipherText(lines, index, t.keys.second, t.mask, d));
            seeds.push_back(Seed());
            EXPECT_EQ(d.text, t.plain);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(d.dateTime), std::bit_cast<std::uint64_t>(when));
            EXPECT_EQ(d.code + d.field1 + d.field2, "0A1B2C7");
        }
        EXPECT_EQ(index, lines.size());
        return seeds;
    };
    Lines want;
    const auto wantSeeds = run(ImplOf(Under::Literal), want);
    OnEveryPath([&] {
        Lines got;
        EXPECT_EQ(run(ImplOf(Under::Portable), got), wantSeeds);  // the library, path forced
        EXPECT_EQ(got, want);
    });
}

// ---- Streamed texts (attachment files) against the texts held whole: the
// same bytes, the same generator afterwards, whatever the pieces the input
// comes in, and the same failures.

/// A source giving `text` at most `piece` bytes at a time.
StreamSource PiecesOf(const std::string& text, std::size_t piece) {
    auto at = std::make_shared<std::size_t>(0);
    return [&text, piece, at](char* data, std::size_t size) {
        const std::size_t n = std::min({size, piece, text.size() - *at});
        std::copy_n(text.data() + *at, n, data);
        *at += n;
        return std::optional<std::size_t>(n);
    };
}

struct Streamed {
    StreamResult result;
    std::string bytes;
    DecipheredText header;
    std::uint32_t seed;
};

Streamed DecipherStreamed(const std::string& file, std::size_t piece, const Quad& key,
                          const Quad& mask) {
    Streamed out;
    SetSeed(9);
    out.result = DecipherStream(
        key, mask, file.size(), PiecesOf(file, piece),
        [&](std::string_view b) { return out.bytes.append(b), true; }, out.header);
    out.seed = Seed();
    return out;
}

/// DecipherText on the file's lines (leading "<" lines dropped), as the
/// received attachments were read whole.
Streamed DecipherWhole(const std::string& file, const Quad& key, const Quad& mask) {
    Streamed out;
    Lines lines = SplitLines(file);
    const auto noise = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.empty() || l[0] != '<'; });
    lines.erase(lines.begin(), noise);
    SetSeed(9);
    std::size_t index = 0;
    const bool ok = DecipherText(lines, index, key, mask, out.header);
    out.seed = Seed();
    out.result = ok ? StreamResult::Done : StreamResult::Undecipherable;
    out.bytes = std::move(out.header.text);
    return out;
}

void ExpectSame(const Streamed& got, const Streamed& want) {
    EXPECT_EQ(got.result, want.result);
    EXPECT_EQ(got.bytes, want.bytes);
    EXPECT_EQ(got.seed, want.seed);
    if (want.result != StreamResult::Done) return;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.header.dateTime),
              std::bit_cast<std::uint64_t>(want.header.dateTime));
    EXPECT_EQ(got.header.code + got.header.field1 + got.header.field2,
              want.header.code + want.header.field1 + want.header.field2);
}

TEST(StreamsAgainstWholeTexts, SizesAroundEveryChunkAndBatchOnEveryPath) {
    Sampler sample(12);
    const std::size_t chunk = kStreamChunk;
    for (const std::size_t size :
         {std::size_t(0), std::size_t(1), std::size_t(15), std::size_t(16), std::size_t(17),
          std::size_t(16 * 512 + 1), chunk - 1, chunk, chunk + 1, 2 * chunk + 5}) {
        SCOPED_TRACE(size);
        std::string plain(size, '\0');
        for (char& c : plain)
            c = char(sample.Below(256));
        // Not a structured binding: clang 14 cannot capture one in a lambda.
        const auto pair = sample.KeyPair();
        const auto& key = pair.first;
        const auto& inverse = pair.second;
        const Quad mask = sample.Mask();
        const double when = 46361.25 + double(size);
        const auto check = [&](unsigned threads) {
            SCOPED_TRACE(threads);
            SetStreamThreads(threads);
            SetSeed(7);
            Lines lines;
            ASSERT_TRUE(EncipherText("0A1B2", 'C', '7', lines, mask, key, plain, when));
            const std::uint32_t wantSeed = Seed();
            const std::string want = JoinLinesCrLf(lines);

            SetSeed(7);
            std::string got;
            std::uint64_t reported = 0;
            const StreamResult r = EncipherStream(
                "0A1B2", 'C', '7', mask, key, size, when, PiecesOf(plain, 100003),
                [&](std::string_view b) { return got.append(b), true; },
                [&](std::uint64_t done, std::uint64_t total) {
                    EXPECT_EQ(total, size);
                    EXPECT_GT(done, reported);
                    reported = done;
                    return true;
                });
            ASSERT_EQ(r, StreamResult::Done);
            EXPECT_EQ(Seed(), wantSeed);
            EXPECT_EQ(got, want);
            EXPECT_EQ(reported, size);

            const Streamed whole = DecipherWhole(want, inverse, mask);
            EXPECT_EQ(whole.bytes, plain);
            ExpectSame(DecipherStreamed(want, 100003, inverse, mask), whole);
            if (size <= 17) ExpectSame(DecipherStreamed(want, 1, inverse, mask), whole);
        };
        OnEveryPath([&] { check(1); });
        check(2);  // the best path, split across threads
        check(7);
        SetStreamThreads(0);
    }
}

TEST(StreamsAgainstWholeTexts, OddLinesCutTextsAndWrongKeysFailAlike) {
    Sampler sample(5);
    const std::string plain = sample.Text(40);
    const auto [key, inverse] = sample.KeyPair();
    const Quad mask = sample.Mask();
    Lines lines;
    ASSERT_TRUE(EncipherText("0A1B2", 'C', '7', lines, mask, key, plain, 46000.5));
    const std::string crlf = JoinLinesCrLf(lines);
    std::vector<std::string> files;
    files.push_back("<noise>\r\n<more\r\n" + crlf);  // mail noise before the text
    std::string mixed;  // LF, CR and CR LF ends, blanks and zeros before digits
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = i % 3 == 1 ? "   00000000000" + lines[i] : lines[i];
        mixed += line + (i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r" : "\r\n");
    }
    files.push_back(mixed);
    files.push_back(mixed.substr(0, mixed.size() - 40));    // the last line cut
    files.push_back(crlf.substr(0, crlf.size() - 34 * 3));  // blocks missing
    std::string altered = crlf;
    altered[40] = altered[40] == '0' ? '1' : '0';  // the second header line
    files.push_back(altered);
    std::string oddBlock = crlf;
    oddBlock.replace(34 * 5, 32, "12345678901234567890123456789012345");  // 35 digits: 0
    files.push_back(oddBlock);
    files.push_back("");
    files.push_back("<only noise\r\n");
    for (const std::string& file : files) {
        SCOPED_TRACE(file.substr(0, 40));
        const Streamed want = DecipherWhole(file, inverse, mask);
        for (const std::size_t piece : {std::size_t(1), std::size_t(7), std::size_t(4096)})
            ExpectSame(DecipherStreamed(file, piece, inverse, mask), want);
        ExpectSame(DecipherStreamed(file, 4096, key, mask), DecipherWhole(file, key, mask));
    }

    // A few odd lines among many of the usual shape, which are read on
    // several threads.
    Lines many;
    ASSERT_TRUE(EncipherText("0A1B2", 'C', '7', many, mask, key, sample.Text(3000), 46000.5));
    std::string sparse = JoinLinesCrLf(many);
    sparse[34 * 700] = ' ';           // a blank before 31 digits
    sparse[34 * 1500 + 9] = 'G';      // not a digit: the line counts as 0
    sparse.erase(34 * 2000 + 32, 1);  // a line ended by LF alone
    const Streamed want = DecipherWhole(sparse, inverse, mask);
    for (const unsigned threads : {1u, 3u}) {
        SetStreamThreads(threads);
        for (const std::size_t piece : {std::size_t(4096), std::size_t(100003)})
            ExpectSame(DecipherStreamed(sparse, piece, inverse, mask), want);
    }
    SetStreamThreads(0);
}

TEST(StreamsAgainstWholeTexts, StopsWhenAskedAndOnSourcesAndSinksThatFail) {
    const std::string plain(3 * kStreamChunk, 'x');
    const Quad key{3, 0, 0, 0};
    const auto sink = [](std::string_view) { return true; };
    int calls = 0;
    EXPECT_EQ(EncipherStream("0A1B2", 'C', '7', Quad{}, key, plain.size(), 1.0,
                             PiecesOf(plain, kStreamChunk), sink,
                             [&](std::uint64_t, std::uint64_t) { return ++calls < 2; }),
              StreamResult::Cancelled);
    EXPECT_EQ(calls, 2);
    // A file shorter or longer than measured, a sink that fails, a bad code.
    EXPECT_EQ(EncipherStream("0A1B2", 'C', '7', Quad{}, key, plain.size() + 1, 1.0,
                             PiecesOf(plain, 4096), sink),
              StreamResult::ReadFailed);
    EXPECT_EQ(EncipherStream("0A1B2", 'C', '7', Quad{}, key, plain.size() - 1, 1.0,
                             PiecesOf(plain, 4096), sink),
              StreamResult::ReadFailed);
    EXPECT_EQ(EncipherStream("0A1B2", 'C', '7', Quad{}, key, plain.size(), 1.0,
                             PiecesOf(plain, 4096), [](std::string_view) { return false; }),
              StreamResult::WriteFailed);
    EXPECT_EQ(EncipherStream("0A1BG", 'C', '7', Quad{}, key, 0, 1.0, PiecesOf(plain, 1), sink),
              StreamResult::Refused);
    const StreamSource broken = [](char*, std::size_t) { return std::optional<std::size_t>(); };
    DecipheredText header;
    EXPECT_EQ(DecipherStream(key, Quad{}, 0, broken, sink, header), StreamResult::ReadFailed);
}

}  // namespace
}  // namespace quarnel::test
