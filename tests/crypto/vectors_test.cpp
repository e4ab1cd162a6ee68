// Runs every case of every known-answer vector file, through the literal
// oracle and through every path of the library.

#include <gtest/gtest.h>
#include <bit>
#include <filesystem>
#include <set>

#include "cipher_under_test.h"
#include "crypto/cipher.h"
#include "crypto/own_keys.h"
#include "crypto/random.h"
#include "crypto/text_cipher.h"
#include "store/key_store.h"
#include "store/record_list.h"
#include "vector_support.h"

namespace quarnel::test {
namespace {

double DoubleOf(const Json& d) {
    return HexToDate(d.at("hex").get<std::string>());
}

class Vectors : public PerImplementation {};

void CheckCipher(const CipherImpl& impl, const std::string& file, bool masked) {
    const Json j = LoadVectors(file);
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(file + " case " + std::to_string(n));
        const auto& in = c["inputs"];
        const auto& out = c["outputs"];
        const Quad x = Q(in["x"]);
        const Quad key = Q(in["key"]);
        const Quad mask = masked ? Q(in["mask"]) : Quad{};
        if (out.contains("enciphered")) {
            SetSeed(0);
            const Quad e = impl.cipherBlockMasked(x, key, mask, Direction::Encipher);
            EXPECT_EQ(H(e), out["enciphered"]);
            // The wipes move the generator as the vectors' readings say.
            EXPECT_EQ(WordToHex(Seed()), out["encipher_consumption_from_seed_0"]["seed_after"]);
            if (!masked) {
                EXPECT_EQ(e, impl.cipherBlock(x, key, Direction::Encipher));
            }
            if (out.contains("deciphered_with_inverse")) {
                SetSeed(0);
                EXPECT_EQ(
                    H(impl.cipherBlockMasked(e, Q(in["inverse_key"]), mask, Direction::Decipher)),
                    out["deciphered_with_inverse"]);
                EXPECT_EQ(WordToHex(Seed()), out["decipher_consumption_from_seed_0"]["seed_after"]);
            }
        }
        if (out.contains("deciphered")) {
            EXPECT_EQ(H(impl.cipherBlockMasked(x, key, mask, Direction::Decipher)),
                      out["deciphered"]);
        }
        ++n;
    }
    ReportCount(file, n);
}

TEST_P(Vectors, CipherBlock) {
    CheckCipher(impl(), "cipher_block.json", false);
}
TEST_P(Vectors, CipherBlockMasked) {
    CheckCipher(impl(), "cipher_block_masked.json", true);
}

TEST_P(Vectors, CondenseHex) {
    const Json j = LoadVectors("condense_hex.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        Quad d{1, 1, 1, 1};
        EXPECT_EQ(impl().condenseHex(c["inputs"]["text"].get<std::string>(), d),
                  c["outputs"]["ok"]);
        EXPECT_EQ(H(d), c["outputs"]["digest"]);
        ++n;
    }
    ReportCount("condense_hex.json", n);
}

TEST_P(Vectors, CondenseText) {
    const Json j = LoadVectors("condense_text.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        Quad d{1, 1, 1, 1};
        EXPECT_EQ(impl().condenseText(Bytes(c["inputs"]["text_b16"]), d), c["outputs"]["ok"]);
        EXPECT_EQ(H(d), c["outputs"]["digest"]);
        ++n;
    }
    ReportCount("condense_text.json", n);
}

TEST_P(Vectors, DateToHex) {
    const Json j = LoadVectors("date_to_hex.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto& in = c["inputs"];
        if (in.contains("double")) {
            const double v = DoubleOf(in["double"]);
            EXPECT_EQ(DateToHex(v), c["outputs"]["DateToHex"]);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(HexToDate(DateToHex(v))),
                      std::bit_cast<std::uint64_t>(v));
        } else {
            const double v = HexToDate(in["HexToDate_text"].get<std::string>());
            EXPECT_EQ(DateToHex(v), c["outputs"]["double"]["hex"]);
        }
        ++n;
    }
    ReportCount("date_to_hex.json", n);
}

void ExpectDeciphered(const Json& want, bool ok, const DecipheredText& d, std::size_t index) {
    EXPECT_EQ(ok, want["ok"]);
    if (want.contains("index") && !want["index"].is_null()) {
        EXPECT_EQ(index, want["index"]);
    }
    if (!ok) return;
    EXPECT_EQ(TextToHex(d.text), want["text_b16"]);
    EXPECT_EQ(DateToHex(d.dateTime), want["datetime"]["hex"]);
    EXPECT_EQ(d.code, want["code"]);
    EXPECT_EQ(std::string(1, d.field1), want["field1"]);
    EXPECT_EQ(std::string(1, d.field2), want["field2"]);
}

TEST_P(Vectors, DecipherText) {
    const Json j = LoadVectors("decipher_text.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto& in = c["inputs"];
        Lines lines;
        for (const auto& l : in["lines"])
            lines.push_back(Latin1(l));
        std::size_t index = in["index"];
        DecipheredText d;
        const bool ok = impl().decipherText(lines, index, Q(in["key"]), Q(in["mask"]), d);
        ExpectDeciphered(c["outputs"], ok, d, index);
        if (!ok) {
            EXPECT_EQ(index, in["index"].get<std::size_t>()) << "index moved on failure";
        }
        ++n;
    }
    ReportCount("decipher_text.json", n);
}

TEST_P(Vectors, EncipherText) {
    const Json j = LoadVectors("encipher_text.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto& in = c["inputs"];
        const auto& out = c["outputs"];
        Lines lines;
        const std::string code = in["code"];
        ASSERT_TRUE(impl().encipherText(
            code, in["field1"].get<std::string>()[0], in["field2"].get<std::string>()[0], lines,
            Q(in["mask"]), Q(in["key"]), Bytes(in["plain_b16"]), DoubleOf(in["datetime"])));
        EXPECT_EQ(lines, out["lines"].get<Lines>());
        std::string header;
        const Quad inv = Q(in["inverse_key"]);
        EXPECT_TRUE(impl().verifyHeader(lines, 0, inv, Q(in["mask"]), header));
        EXPECT_EQ(header, out["header_text"]);
        std::size_t index = 0;
        DecipheredText d;
        const bool ok = impl().decipherText(lines, index, inv, Q(in["mask"]), d);
        ExpectDeciphered(out["decipher"], ok, d, index);
        ++n;
    }
    ReportCount("encipher_text.json", n);
}

void CheckExpBlock(const CipherImpl& impl, const std::string& file, Variant v) {
    const Json j = LoadVectors(file);
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        EXPECT_EQ(H(impl.expBlock(Q(c["inputs"]["x"]), Q(c["inputs"]["key"]), v)),
                  c["outputs"]["result"]);
        ++n;
    }
    ReportCount(file, n);
}

TEST_P(Vectors, ExpBlockA) {
    CheckExpBlock(impl(), "exp_block_A.json", Variant::A);
}
TEST_P(Vectors, ExpBlockB) {
    CheckExpBlock(impl(), "exp_block_B.json", Variant::B);
}

void CheckFieldPow(const CipherImpl& impl, const std::string& file, Variant v) {
    const Json j = LoadVectors(file);
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        EXPECT_EQ(H(impl.fieldPow(Q(c["inputs"]["v"]), Q(c["inputs"]["k"]), v)),
                  c["outputs"]["result"]);
        ++n;
    }
    ReportCount(file, n);
}

TEST_P(Vectors, FieldPowA) {
    CheckFieldPow(impl(), "field_pow_A.json", Variant::A);
}
TEST_P(Vectors, FieldPowB) {
    CheckFieldPow(impl(), "field_pow_B.json", Variant::B);
}

TEST_P(Vectors, HexToWords) {
    const Json j = LoadVectors("hex_to_words.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const std::string text = Bytes(c["inputs"]["text_b16"]);
        const auto& out = c["outputs"];
        std::vector<Word> words(64);
        int used = 0;
        EXPECT_EQ(HexToWords(text, words, used), out["ok"]);
        EXPECT_EQ(used, out["used"]);
        words.resize(std::size_t(used));
        EXPECT_EQ(HexList(words), out["words"].get<std::vector<std::string>>());
        if (out.contains("HexToWord")) {
            EXPECT_EQ(WordToHex(HexToWord(text)), out["HexToWord"]);
        }
        if (out.contains("HexToQuad")) {
            EXPECT_EQ(H(HexToQuad(text)), out["HexToQuad"]);
        }
        if (out.contains("HexToBig_low4")) {
            const Big b = HexToBig(text);
            EXPECT_EQ(HexList(std::span<const Word>(b.data(), 4)),
                      out["HexToBig_low4"].get<std::vector<std::string>>());
        }
        ++n;
    }
    ReportCount("hex_to_words.json", n);
}

TEST_P(Vectors, HexText) {
    const Json j = LoadVectors("hextext.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto& in = c["inputs"];
        const auto& out = c["outputs"];
        if (in.contains("text_b16")) {
            EXPECT_EQ(TextToHex(Bytes(in["text_b16"])), out["TextToHex"]);
        } else if (in.contains("HexToText_text")) {
            EXPECT_EQ(TextToHex(HexToText(Latin1(in["HexToText_text"]))), out["bytes_b16"]);
        } else if (in.contains("HexByte_text")) {
            EXPECT_EQ(int(HexByte(Latin1(in["HexByte_text"]))), out["byte"].get<int>());
        } else if (in.contains("DateCode_date")) {
            const auto& d = in["DateCode_date"];
            EXPECT_EQ(DateCode(d[0], d[1], d[2]), out["code"]);
        } else {
            EXPECT_EQ(IsHexText(Latin1(in["IsHexText_text"]), in["n"]), out["result"]);
        }
        ++n;
    }
    ReportCount("hextext.json", n);
}

TEST_P(Vectors, KeyInitialise) {
    const Json j = LoadVectors("key_initialise.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto& in = c["inputs"];
        const auto& out = c["outputs"];
        Big exponent{};
        int counter = 8;
        for (std::size_t i = 0; i < 8; ++i) {
            const std::uint32_t ms = in["click_ms"][i];
            SetReseedClock([ms] { return ms; });
            KeyClick(exponent, counter);
            EXPECT_EQ(BigToHex(exponent), out["exponent_after_each_click"][i]);
        }
        SetReseedClock({});
        EXPECT_EQ(counter, 0);
        const KeySetup r = KeyInitialise(exponent, HexToBig(in["ta_public"].get<std::string>()),
                                         HexToBig(in["system_modulus"].get<std::string>()),
                                         HexToBig(in["system_base"].get<std::string>()));
        EXPECT_EQ(r.publicHex, out["public_value"]);
        EXPECT_EQ(H(r.publicDigest), out["public_digest"]);
        EXPECT_EQ(H(r.taKey), out["ta_key"]);
        ++n;
    }
    ReportCount("key_initialise.json", n);
}

TEST_P(Vectors, KeyStore) {
    const Json j = LoadVectors("key_store.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto& in = c["inputs"];
        if (in.contains("records")) {
            EXPECT_EQ(CheckKeyStore(Records(in["records"], false)), c["outputs"]["CheckKeyStore"]);
        } else {
            EXPECT_EQ(std::string(1, KeyGenerationDigit(in["number_of_records"])),
                      c["outputs"]["key_generation_digit"]);
        }
        ++n;
    }
    ReportCount("key_store.json", n);
}

TEST_P(Vectors, LoadRecordList) {
    const Json j = LoadVectors("load_record_list.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        RecordList list;
        EXPECT_EQ(ParseRecordList(Bytes(c["inputs"]["file_b16"]), list), c["outputs"]["ok"]);
        EXPECT_EQ(list, Records(c["outputs"]["records"], true));
        ++n;
    }
    ReportCount("load_record_list.json", n);
}

TEST_P(Vectors, ModPow) {
    const Json j = LoadVectors("mod_pow.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto& in = c["inputs"];
        const auto mod = WordList(in["modulus"]);
        std::vector<Word> result(mod.size());
        int used = 0;
        ASSERT_TRUE(ModPow(WordList(in["base"]), WordList(in["exponent"]), mod, result, used));
        EXPECT_EQ(used, c["outputs"]["used"]);
        result.resize(c["outputs"]["result"].size());
        EXPECT_EQ(HexList(result), c["outputs"]["result"].get<std::vector<std::string>>());
        ++n;
    }
    ReportCount("mod_pow.json", n);
}

TEST_P(Vectors, ModPowBig) {
    const Json j = LoadVectors("mod_pow_big.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto& in = c["inputs"];
        const Big r = ModPowBig(HexToBig(in["base"].get<std::string>()),
                                HexToBig(in["exponent"].get<std::string>()),
                                HexToBig(in["modulus"].get<std::string>()));
        EXPECT_EQ(BigToHex(r), c["outputs"]["result"]);
        ++n;
    }
    ReportCount("mod_pow_big.json", n);
}

TEST_P(Vectors, MulBlock) {
    const Json j = LoadVectors("mul_block.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        EXPECT_EQ(H(impl().mulBlock(Q(c["inputs"]["x"]), Q(c["inputs"]["key"]))),
                  c["outputs"]["result"]);
        ++n;
    }
    ReportCount("mul_block.json", n);
}

TEST_P(Vectors, MulModP) {
    const Json j = LoadVectors("mul_mod_p.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        EXPECT_EQ(H(impl().mulModP(Q(c["inputs"]["a"]), Q(c["inputs"]["b"]))),
                  c["outputs"]["product"]);
        ++n;
    }
    ReportCount("mul_mod_p.json", n);
}

TEST_P(Vectors, MulWords) {
    const Json j = LoadVectors("mul_words.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto a = WordList(c["inputs"]["a"]);
        const auto b = WordList(c["inputs"]["b"]);
        const auto& out = c["outputs"];
        std::vector<Word> p(a.size() + b.size());
        EXPECT_EQ(MulWords(a, b, p), out["used"]);
        EXPECT_EQ(HexList(p), out["product"].get<std::vector<std::string>>());
        std::vector<Word> s(2 * a.size());
        EXPECT_EQ(SquareWords(a, s), out["square_used"]);
        EXPECT_EQ(HexList(s), out["square_of_a"].get<std::vector<std::string>>());
        ++n;
    }
    ReportCount("mul_words.json", n);
}

TEST_P(Vectors, OwnKeys) {
    const Json j = LoadVectors("own_keys.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto& in = c["inputs"];
        const auto& out = c["outputs"];
        const RecordList store = Records(j["stores"][in["store"].get<std::string>()], false);
        const char digit = in["digit"].get<std::string>()[0];
        OwnKey s;
        OwnKey u;
        const bool ok = OwnSigningKey(store, digit, s);
        EXPECT_EQ(ok, out["ok"]);
        EXPECT_EQ(OwnUnwrappingKey(store, digit, u), out["ok"]);
        EXPECT_EQ(H(s.key), out["signing_key"]);
        EXPECT_EQ(H(u.key), out["unwrapping_key"]);
        EXPECT_EQ(H(s.taKey), out["ta_key_after"]);
        if (!ok) {
            ++n;
            continue;
        }
        EXPECT_EQ(s.record, out["record_used"]);
        const auto& seal = out["ReadRecordSeal_on_current_record"];
        RecordSeal r;
        const bool sealOk = ReadRecordSeal(store, s.key, r);
        EXPECT_EQ(sealOk, seal["ok"]);
        EXPECT_EQ(r.sealed, seal["sealed"]);
        if (sealOk) {
            EXPECT_EQ(DateToHex(r.header.dateTime), seal["datetime"]["hex"]);
            EXPECT_EQ(r.header.code, seal["code"]);
            EXPECT_EQ(std::string(1, r.header.field1), seal["field1"]);
            EXPECT_EQ(std::string(1, r.header.field2), seal["field2"]);
            EXPECT_TRUE(r.header.text.empty());
        }
        ++n;
    }
    for (const auto& c : j["password_cases"]) {
        SCOPED_TRACE("password case " + std::to_string(n));
        const auto& in = c["inputs"];
        const auto& out = c["outputs"];
        RecordList store = Records(j["stores"][in.value("store", "store1")], false);
        const char digit = in.value("digit", "0")[0];
        if (out.contains("record_unchanged")) {
            store.back().push_back(std::string(32, 'A'));
            store.back().push_back(std::string(32, 'B'));
            const RecordList before = store;
            EXPECT_FALSE(StoreMailPassword(store, digit, Bytes(in["password_b16"])));
            EXPECT_EQ(store, before);
        } else if (!in.contains("password_b16")) {
            std::string pw;
            EXPECT_EQ(ReadMailPassword(store, digit, pw), out["read_ok"]);
        } else {
            EXPECT_TRUE(StoreMailPassword(store, digit, Bytes(in["password_b16"])));
            ASSERT_EQ(store.back().size(), 7u);
            EXPECT_EQ(store.back()[6], out["line6"]);
            std::string pw;
            EXPECT_EQ(ReadMailPassword(store, digit, pw), out["read_ok"]);
            EXPECT_EQ(TextToHex(pw), out["read_back_b16"]);
        }
        ++n;
    }
    ReportCount("own_keys.json", n);
}

TEST_P(Vectors, Prng) {
    const Json j = LoadVectors("prng.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const std::uint32_t ms = c["inputs"]["ms_of_day"];
        const auto& out = c["outputs"];
        SetReseedClock([ms] { return ms; });
        Reseed();
        std::vector<std::uint32_t> draws;
        for (int i = 0; i < 10; ++i)
            draws.push_back(RandomBelow(65536));
        EXPECT_EQ(draws, out["RandomBelow65536_x10"].get<std::vector<std::uint32_t>>());
        Reseed();
        draws.clear();
        for (int i = 0; i < 5; ++i)
            draws.push_back(RandomBelow(26));
        EXPECT_EQ(draws, out["RandomBelow26_x5"].get<std::vector<std::uint32_t>>());
        Reseed();
        Quad w{};
        RandomWords(w);
        EXPECT_EQ(HexList(w), out["RandomWords4"].get<std::vector<std::string>>());
        Reseed();
        EXPECT_EQ(H(RandomQuad()), out["RandomQuad"]);
        EXPECT_EQ(WordToHex(Seed()), out["seed_after_RandomQuad"]);
        EXPECT_EQ(RandomHex32(), out["RandomHex32"]);
        SetReseedClock({});
        ++n;
    }
    ReportCount("prng.json", n);
}

TEST_P(Vectors, PrngSequence) {
    const Json j = LoadVectors("prng_sequence.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const std::uint32_t ms = c["inputs"]["ms_of_day"];
        const auto& out = c["outputs"];
        SetReseedClock([ms] { return ms; });
        Reseed();
        const Quad key = RandomQuad();
        const Quad mask = RandomQuad();
        EXPECT_EQ(H(key), out["key"]);
        EXPECT_EQ(H(mask), out["mask"]);
        Lines lines;
        ASSERT_TRUE(impl().encipherText("D400F", '1', 'F', lines, mask, key, "seventeen chars!!",
                                        45000.25));
        EXPECT_EQ(lines, out["lines"].get<Lines>());
        Quad digest{};
        EXPECT_TRUE(impl().condenseText("some text", digest));
        EXPECT_EQ(H(digest), out["digest"]);
        SetReseedClock({});
        ++n;
    }
    ReportCount("prng_sequence.json", n);
}

TEST_P(Vectors, ReduceWords) {
    const Json j = LoadVectors("reduce_words.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto& out = c["outputs"];
        const auto m = WordList(c["inputs"]["modulus"]);
        std::vector<Word> norm(m.size());
        int k = 0;
        int shift = 0;
        NormaliseModulus(m, norm, k, shift);
        EXPECT_EQ(k, out["k"]);
        EXPECT_EQ(shift, out["shift"]);
        norm.resize(std::size_t(k));
        EXPECT_EQ(HexList(norm), out["normalised"].get<std::vector<std::string>>());
        auto x = WordList(c["inputs"]["x"]);
        int used = int(x.size());
        x.push_back(0);
        ReduceWords(x, used, norm, k, shift);
        EXPECT_EQ(used, out["used"]);
        x.resize(out["remainder"].size());
        EXPECT_EQ(HexList(x), out["remainder"].get<std::vector<std::string>>());
        ++n;
    }
    ReportCount("reduce_words.json", n);
}

TEST_P(Vectors, SaveRecordList) {
    const Json j = LoadVectors("save_record_list.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        const auto bytes = SerializeRecordList(Records(c["inputs"]["records"], true));
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(TextToHex(*bytes), c["outputs"]["file_b16"]);
        ++n;
    }
    ReportCount("save_record_list.json", n);
}

TEST_P(Vectors, WordsToHex) {
    const Json j = LoadVectors("words_to_hex.json");
    std::size_t n = 0;
    for (const auto& c : j["cases"]) {
        SCOPED_TRACE(n);
        auto w = WordList(c["inputs"]["words"]);
        w.resize(c["inputs"]["n"]);
        EXPECT_EQ(WordsToHex(w), c["outputs"]["WordsToHex"]);
        EXPECT_EQ(BigToHex(w), c["outputs"]["BigToHex"]);
        ++n;
    }
    ReportCount("words_to_hex.json", n);
}

// Every file of the folder must be covered by a test above.
INSTANTIATE_TEST_SUITE_P(Implementations, Vectors,
                         ::testing::Values(Under::Literal, Under::Portable, Under::Clmul,
                                           Under::Avx512),
                         ParamName);

TEST(VectorFolder, EveryFileIsRun) {
    const std::set<std::string> covered = {"cipher_block.json",  "cipher_block_masked.json",
                                           "condense_hex.json",  "condense_text.json",
                                           "date_to_hex.json",   "decipher_text.json",
                                           "encipher_text.json", "exp_block_A.json",
                                           "exp_block_B.json",   "field_pow_A.json",
                                           "field_pow_B.json",   "hex_to_words.json",
                                           "hextext.json",       "key_initialise.json",
                                           "key_store.json",     "load_record_list.json",
                                           "mod_pow.json",       "mod_pow_big.json",
                                           "mul_block.json",     "mul_mod_p.json",
                                           "mul_words.json",     "own_keys.json",
                                           "prng.json",          "prng_sequence.json",
                                           "reduce_words.json",  "save_record_list.json",
                                           "words_to_hex.json"};
    for (const auto& e :
         std::filesystem::directory_iterator(std::string(QUARNEL_TEST_DATA_DIR) + "/vectors")) {
        if (e.path().extension() == ".json") {
            EXPECT_TRUE(covered.count(e.path().filename().string())) << e.path() << " is not run";
        }
    }
}

}  // namespace
}  // namespace quarnel::test
