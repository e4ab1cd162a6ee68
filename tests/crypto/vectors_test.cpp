// SPDX-License-Identifier: GPL-3.0-or-later
// Runs every case of every known-answer vector file, through the literal
// oracle and through every path of the library: each checker computes a
// case's outputs, and every output field of the file must match. A file
// without a checker fails, and so does a checker without its file.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>

#include "cipher_under_test.h"
#include "crypto/own_keys.h"
#include "crypto/random.h"
#include "store/key_store.h"
#include "store/record_list.h"
#include "vector_support.h"

namespace quarnel::test {
namespace {

/// One case of a file, with the implementation it runs through.
struct Case {
    const CipherImpl& impl;
    const Json& in;
    const Json& out;
    const Json& file;
    std::string S(const char* name) const { return in[name].get<std::string>(); }
    Quad Q(const char* name) const { return test::Q(in[name]); }
    Big B(const char* name) const { return HexToBig(S(name)); }
};
/// Computes the outputs of a case, named and shaped as in the file.
using Checker = std::function<Json(const Case&)>;

/// Every output field of the file must equal the computed one, but the
/// optional readings of the generator (draw counts, and its state after a
/// whole key set-up or sequence; after one block it is checked) and the
/// other implementation's renderings of doubles.
void ExpectFields(const Json& want, const Json& got, const std::string& path) {
    for (const auto& [key, value] : want.items()) {
        const std::string at = path + "/" + key;
        if (key == "prng_draws" || key == "repr" || at == "/key_initialise_consumption" ||
            at == "/final_RandomQuad" || at == "/seed_after") {
            continue;
        }
        if (!got.contains(key)) {
            ADD_FAILURE() << at << " is not checked";
        } else if (value.is_object()) {
            ExpectFields(value, got[key], at);
        } else {
            EXPECT_EQ(got[key], value) << at;
        }
    }
}

Json DateJson(double d) {
    return {{"hex", DateToHex(d)}};
}

/// What DecipherText gives; the fields of the text are null when it failed.
Json Deciphered(bool ok, const DecipheredText& d, std::size_t index) {
    Json got = {{"ok", ok}, {"index", index}};
    for (const char* key : {"text_b16", "datetime", "code", "field1", "field2"})
        got[key] = nullptr;
    if (ok) {
        got["text_b16"] = TextToHex(d.text);
        got["datetime"] = DateJson(d.dateTime);
        got["code"] = d.code;
        got["field1"] = std::string(1, d.field1);
        got["field2"] = std::string(1, d.field2);
    }
    return got;
}

Json Cipher(const Case& c, bool masked) {
    const Quad mask = masked ? c.Q("mask") : Quad{};
    Json got;
    SetSeed(0);
    const Quad e = c.impl.CipherBlockMasked(c.Q("x"), c.Q("key"), mask, Direction::Encipher);
    got["enciphered"] = H(e);
    // The wipes move the generator as the vectors' readings say.
    got["encipher_consumption_from_seed_0"]["seed_after"] = WordToHex(Seed());
    if (!masked) {
        EXPECT_EQ(c.impl.CipherBlock(c.Q("x"), c.Q("key"), Direction::Encipher), e);
    }
    if (c.in.contains("inverse_key")) {
        SetSeed(0);
        got["deciphered_with_inverse"] =
            H(c.impl.CipherBlockMasked(e, c.Q("inverse_key"), mask, Direction::Decipher));
        got["decipher_consumption_from_seed_0"]["seed_after"] = WordToHex(Seed());
    }
    got["deciphered"] =
        H(c.impl.CipherBlockMasked(c.Q("x"), c.Q("key"), mask, Direction::Decipher));
    return got;
}

Json Digest(bool ok, const Quad& digest) {
    return {{"ok", ok}, {"digest", H(digest)}};
}

using PowerOp = Quad (*)(const Quad&, const Quad&, Variant);

Checker Power(PowerOp CipherImpl::*op, const char* a, const char* b, Variant v) {
    return [=](const Case& c) { return Json{{"result", H((c.impl.*op)(c.Q(a), c.Q(b), v))}}; };
}

Json OwnKeys(const Case& c) {
    RecordList store = Records(c.file["stores"][c.in.value("store", "store1")], false);
    const char digit = c.in.value("digit", "0")[0];
    Json got;
    if (c.out.contains("signing_key")) {
        OwnKey s;
        OwnKey u;
        const bool ok = OwnSigningKey(store, digit, s);
        EXPECT_EQ(OwnUnwrappingKey(store, digit, u), ok);
        got = {{"ok", ok},
               {"record_used", ok ? Json(s.record) : Json()},
               {"signing_key", H(*s.key)},
               {"unwrapping_key", H(*u.key)},
               {"ta_key_after", H(*s.taKey)}};
        RecordSeal r;
        if (ok) {
            const bool sealOk = ReadRecordSeal(store, *s.key, r);
            got["ReadRecordSeal_on_current_record"] = Deciphered(sealOk, r.header, 0);
            got["ReadRecordSeal_on_current_record"]["sealed"] = r.sealed;
            EXPECT_TRUE(r.header.text.empty()) << "the seal carries a header only";
        }
        return got;
    }
    // The mailbox password cases.
    std::string pw;
    if (c.out.contains("record_unchanged")) {
        store.back().resize(8, std::string(32, 'A'));
        const RecordList before = store;
        EXPECT_FALSE(StoreMailPassword(store, digit, Bytes(c.in["password_b16"])));
        return {{"record_unchanged", store == before}};
    }
    if (c.in.contains("password_b16")) {
        // Stored twice: the second replaces line 6 in place.
        EXPECT_TRUE(StoreMailPassword(store, digit, Bytes(c.in["password_b16"])));
        EXPECT_TRUE(StoreMailPassword(store, digit, Bytes(c.in["password_b16"])));
        got["line6"] = store.back().size() == 7 ? store.back()[6] : "";
    }
    got["read_ok"] = ReadMailPassword(store, digit, pw);
    got["read_back_b16"] = TextToHex(pw);
    return got;
}

Json KeyInitialiseCase(const Case& c) {
    Json got;
    Big exponent{};
    int counter = 8;
    for (std::size_t i = 0; i < 8; ++i) {
        const std::uint32_t ms = c.in["click_ms"][i];
        SetReseedClock([ms] { return ms; });
        KeyClick(exponent, counter);
        got["exponent_after_each_click"].push_back(BigToHex(exponent));
    }
    SetReseedClock({});
    const Big eighth = exponent;
    KeyClick(exponent, counter);  // a ninth click changes nothing
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(exponent, eighth);
    const KeySetup r =
        KeyInitialise(exponent, c.B("ta_public"), c.B("system_modulus"), c.B("system_base"));
    EXPECT_NE(exponent, eighth) << "the exponent is wiped";
    EXPECT_NE(exponent, Big{}) << "with random words, not zeros";
    got["public_value"] = r.publicHex;
    got["public_digest"] = H(r.publicDigest);
    got["ta_key"] = H(*r.taKey);
    return got;
}

Json Prng(const Case& c) {
    const std::uint32_t ms = c.in["ms_of_day"];
    SetReseedClock([ms] { return ms; });
    Json got;
    for (const auto& [name, n, below] :
         {std::tuple{"RandomBelow65536_x10", 10, 65536u}, {"RandomBelow26_x5", 5, 26u}}) {
        Reseed();
        for (int i = 0; i < n; ++i)
            got[name].push_back(RandomBelow(below));
    }
    Reseed();
    Quad w{};
    RandomWords(w);
    got["RandomWords4"] = HexList(w);
    Reseed();
    got["RandomQuad"] = H(RandomQuad());
    got["seed_after_RandomQuad"] = WordToHex(Seed());
    got["RandomHex32"] = RandomHex32();
    SetReseedClock({});
    return got;
}

const std::map<std::string, Checker>& Checkers() {
    using V = Variant;
    static const std::map<std::string, Checker> checkers = {
        {"cipher_block.json", [](const Case& c) { return Cipher(c, false); }},
        {"cipher_block_masked.json", [](const Case& c) { return Cipher(c, true); }},
        {"condense_hex.json",
         [](const Case& c) {
             Quad d{1, 1, 1, 1};
             return Digest(c.impl.CondenseHex(c.S("text"), d), d);
         }},
        {"condense_text.json",
         [](const Case& c) {
             Quad d{1, 1, 1, 1};
             return Digest(c.impl.CondenseText(Bytes(c.in["text_b16"]), d), d);
         }},
        {"date_to_hex.json",
         [](const Case& c) {
             if (!c.in.contains("double")) {
                 return Json{{"double", DateJson(HexToDate(c.S("HexToDate_text")))}};
             }
             const double v = HexToDate(c.in["double"]["hex"].get<std::string>());
             EXPECT_EQ(std::bit_cast<std::uint64_t>(HexToDate(DateToHex(v))),
                       std::bit_cast<std::uint64_t>(v));
             return Json{{"DateToHex", DateToHex(v)}};
         }},
        {"decipher_text.json",
         [](const Case& c) {
             Lines lines;
             for (const auto& l : c.in["lines"])
                 lines.push_back(Latin1(l));
             std::size_t index = c.in["index"];
             DecipheredText d;
             const bool ok = c.impl.DecipherText(lines, index, c.Q("key"), c.Q("mask"), d);
             return Deciphered(ok, d, index);
         }},
        {"encipher_text.json",
         [](const Case& c) {
             Lines lines;
             EXPECT_TRUE(c.impl.EncipherText(
                 c.S("code"), c.S("field1")[0], c.S("field2")[0], lines, c.Q("mask"), c.Q("key"),
                 Bytes(c.in["plain_b16"]), HexToDate(c.in["datetime"]["hex"].get<std::string>())));
             std::string header;
             EXPECT_TRUE(c.impl.VerifyHeader(lines, 0, c.Q("inverse_key"), c.Q("mask"), header));
             std::size_t index = 0;
             DecipheredText d;
             const bool ok = c.impl.DecipherText(lines, index, c.Q("inverse_key"), c.Q("mask"), d);
             return Json{
                 {"lines", lines}, {"header_text", header}, {"decipher", Deciphered(ok, d, index)}};
         }},
        {"exp_block_A.json", Power(&CipherImpl::ExpBlock, "x", "key", V::A)},
        {"exp_block_B.json", Power(&CipherImpl::ExpBlock, "x", "key", V::B)},
        {"field_pow_A.json", Power(&CipherImpl::FieldPow, "v", "k", V::A)},
        {"field_pow_B.json", Power(&CipherImpl::FieldPow, "v", "k", V::B)},
        {"hex_to_words.json",
         [](const Case& c) {
             const std::string text = Bytes(c.in["text_b16"]);
             std::vector<Word> words(64);
             int used = 0;
             const bool ok = HexToWords(text, words, used);
             words.resize(std::size_t(used));
             const Big big = HexToBig(text);
             return Json{{"ok", ok},
                         {"used", used},
                         {"words", HexList(words)},
                         {"HexToWord", WordToHex(HexToWord(text))},
                         {"HexToQuad", H(HexToQuad(text))},
                         {"HexToBig_low4", HexList(std::span(big).first(4))}};
         }},
        {"hextext.json",
         [](const Case& c) {
             const Json& in = c.in;
             if (in.contains("text_b16"))
                 return Json{{"TextToHex", TextToHex(Bytes(in["text_b16"]))}};
             if (in.contains("HexToText_text")) {
                 return Json{{"bytes_b16", TextToHex(HexToText(Latin1(in["HexToText_text"])))}};
             }
             if (in.contains("HexByte_text")) {
                 return Json{{"byte", int(HexByte(Latin1(in["HexByte_text"])))}};
             }
             if (in.contains("DateCode_date")) {
                 const Json& d = in["DateCode_date"];
                 return Json{{"code", DateCode(d[0], d[1], d[2])}};
             }
             return Json{{"result", IsHexText(Latin1(in["IsHexText_text"]), in["n"])}};
         }},
        {"key_initialise.json", KeyInitialiseCase},
        {"key_store.json",
         [](const Case& c) {
             if (c.in.contains("records")) {
                 return Json{{"CheckKeyStore", CheckKeyStore(Records(c.in["records"], false))}};
             }
             return Json{{"key_generation_digit",
                          std::string(1, KeyGenerationDigit(c.in["number_of_records"]))}};
         }},
        {"load_record_list.json",
         [](const Case& c) {
             RecordList list;
             const bool ok = ParseRecordList(Bytes(c.in["file_b16"]), list);
             Json records = Json::array();
             for (const Record& r : list) {
                 records.push_back(Json::array());
                 for (const std::string& line : r)
                     records.back().push_back(TextToHex(line));
             }
             return Json{{"ok", ok}, {"records", records}};
         }},
        {"mod_pow.json",
         [](const Case& c) {
             const auto mod = WordList(c.in["modulus"]);
             std::vector<Word> result(mod.size());
             int used = 0;
             EXPECT_TRUE(
                 ModPow(WordList(c.in["base"]), WordList(c.in["exponent"]), mod, result, used));
             result.resize(std::size_t(used));
             return Json{{"used", used}, {"result", HexList(result)}};
         }},
        {"mod_pow_big.json",
         [](const Case& c) {
             return Json{
                 {"result", BigToHex(ModPowBig(c.B("base"), c.B("exponent"), c.B("modulus")))}};
         }},
        {"mul_block.json",
         [](const Case& c) {
             return Json{{"result", H(c.impl.MulBlock(c.Q("x"), c.Q("key")))}};
         }},
        {"mul_mod_p.json",
         [](const Case& c) {
             return Json{{"product", H(c.impl.MulModP(c.Q("a"), c.Q("b")))}};
         }},
        {"mul_words.json",
         [](const Case& c) {
             const auto a = WordList(c.in["a"]);
             const auto b = WordList(c.in["b"]);
             std::vector<Word> p(a.size() + b.size());
             std::vector<Word> s(2 * a.size());
             const int used = MulWords(a, b, p);
             const int squareUsed = SquareWords(a, s);
             return Json{{"used", used},
                         {"product", HexList(p)},
                         {"square_used", squareUsed},
                         {"square_of_a", HexList(s)}};
         }},
        {"own_keys.json", OwnKeys},
        {"prng.json", Prng},
        {"prng_sequence.json",
         [](const Case& c) {
             const std::uint32_t ms = c.in["ms_of_day"];
             SetReseedClock([ms] { return ms; });
             Reseed();
             const Quad key = RandomQuad();
             const Quad mask = RandomQuad();
             Lines lines;
             EXPECT_TRUE(c.impl.EncipherText("D400F", '1', 'F', lines, mask, key,
                                             "seventeen chars!!", 45000.25));
             Quad digest{};
             EXPECT_TRUE(c.impl.CondenseText("some text", digest));
             SetReseedClock({});
             return Json{
                 {"key", H(key)}, {"mask", H(mask)}, {"lines", lines}, {"digest", H(digest)}};
         }},
        {"reduce_words.json",
         [](const Case& c) {
             const auto m = WordList(c.in["modulus"]);
             std::vector<Word> norm(m.size());
             int k = 0;
             int shift = 0;
             NormaliseModulus(m, norm, k, shift);
             norm.resize(std::size_t(k));
             auto x = WordList(c.in["x"]);
             int used = int(x.size());
             x.push_back(0);
             ReduceWords(x, used, norm, k, shift);
             x.resize(std::size_t(used));
             return Json{{"k", k},
                         {"shift", shift},
                         {"normalised", HexList(norm)},
                         {"used", used},
                         {"remainder", HexList(x)}};
         }},
        {"save_record_list.json",
         [](const Case& c) {
             const auto bytes = SerializeRecordList(Records(c.in["records"], true));
             return Json{{"file_b16", bytes ? TextToHex(*bytes) : "none"}};
         }},
        {"words_to_hex.json",
         [](const Case& c) {
             auto w = WordList(c.in["words"]);
             w.resize(c.in["n"]);
             return Json{{"WordsToHex", WordsToHex(w)}, {"BigToHex", BigToHex(w)}};
         }},
    };
    return checkers;
}

std::string VectorFolder() {
    return std::string(QUARNEL_TEST_DATA_DIR) + "/vectors";
}

std::vector<std::string> VectorFiles() {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(VectorFolder(), ec)) {
        if (e.path().extension() == ".json") files.push_back(e.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class Vectors : public ::testing::TestWithParam<std::tuple<Under, std::string>> {
  protected:
    void SetUp() override {
        if (!Enter(std::get<0>(GetParam()))) GTEST_SKIP() << "path not supported here";
    }
    RestoreBestPath restore_;
};

TEST_P(Vectors, EveryCase) {
    const auto& [under, file] = GetParam();
    const auto checker = Checkers().find(file);
    ASSERT_NE(checker, Checkers().end()) << file << " has no checker: it is not run";
    const Json j = LoadVectors(file);
    std::size_t n = 0;
    // own_keys.json holds its password cases apart.
    for (const char* list : {"cases", "password_cases"}) {
        for (const auto& c : j.value(list, Json::array())) {
            SCOPED_TRACE(file + " " + list + " " + std::to_string(n++));
            ExpectFields(c["outputs"],
                         checker->second({ImplOf(under), c["inputs"], c["outputs"], j}), "");
        }
    }
    // A count per file shows that every file was read.
    std::cout << "[ vectors  ] " << file << ": " << n << " cases\n";
    EXPECT_GT(n, 0u) << file << " has no case";
}

std::string CaseName(const ::testing::TestParamInfo<Vectors::ParamType>& p) {
    const std::string file = std::get<1>(p.param);
    return file.substr(0, file.size() - 5) + "_" + NameOf(std::get<0>(p.param));
}

INSTANTIATE_TEST_SUITE_P(Files, Vectors,
                         ::testing::Combine(::testing::ValuesIn(kEveryImplementation),
                                            ::testing::ValuesIn(VectorFiles())),
                         CaseName);

TEST(VectorFolder, EveryCheckerHasItsFile) {
    for (const auto& [file, checker] : Checkers()) {
        EXPECT_TRUE(std::filesystem::exists(VectorFolder() + "/" + file)) << file;
    }
}

}  // namespace
}  // namespace quarnel::test
