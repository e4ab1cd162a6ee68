// SPDX-License-Identifier: GPL-3.0-or-later
// quarnel-tool against the vectors, and its handling of bad input.

#include <gtest/gtest.h>

#include "crypto/dh_constants.h"
#include "protocol/lines.h"
#include "run_command.h"
#include "store/atomic_file.h"
#include "store/ta_parameters.h"
#include "temp_dir.h"
#include "vector_support.h"

namespace quarnel {
namespace {

using test::Json;
using test::Quote;

test::CommandResult Tool(const std::string& args) {
    return test::RunCommand(std::string(QUARNEL_BIN_DIR) + "/quarnel-tool " + args);
}

std::string S(const Json& j) {
    return j.get<std::string>();
}

/// The named input fields of a vector case, as arguments (as options with `dashes`).
std::string Fields(const Json& in, std::initializer_list<const char*> names, bool dashes = false) {
    std::string args;
    for (const char* name : names)
        args += (dashes ? std::string(" --") + name : "") + " " + Quote(S(in[name]));
    return args;
}

void ExpectFirstLine(const std::string& args, const Json& want, int exitCode = 0) {
    const auto r = Tool(args);
    EXPECT_EQ(r.exitCode, exitCode) << args;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), want) << args;
}

TEST(QuarnelTool, PrimitivesAgreeWithTheVectors) {
    int n = 0;
    const Json blocks = test::LoadVectors("cipher_block_masked.json");
    for (const auto& c : blocks["cases"]) {
        const Json& in = c["inputs"];
        const Json& out = c["outputs"];
        if (!out.contains("enciphered") || n++ > 8) continue;
        const std::string mask = Fields(in, {"mask"}, true);
        ExpectFirstLine("crypto cipher" + Fields(in, {"x", "key"}) + mask, out["enciphered"]);
        ExpectFirstLine("crypto cipher " + S(out["enciphered"]) + Fields(in, {"inverse_key"}) +
                            mask + " --decipher",
                        out["deciphered_with_inverse"]);
    }
    auto pick = [](const char* file, int i) { return test::LoadVectors(file)["cases"][i]; };
    const Json exp = pick("exp_block_B.json", 5);
    ExpectFirstLine("crypto exp-block --variant B" + Fields(exp["inputs"], {"x", "key"}),
                    exp["outputs"]["result"]);
    const Json mul = pick("mul_mod_p.json", 7);
    ExpectFirstLine("crypto mul-mod-p" + Fields(mul["inputs"], {"a", "b"}),
                    mul["outputs"]["product"]);
    const Json hex = pick("condense_hex.json", 9);
    ExpectFirstLine("crypto condense-hex" + Fields(hex["inputs"], {"text"}),
                    hex["outputs"]["digest"], hex["outputs"]["ok"] ? 0 : 1);
    const Json mp = pick("mod_pow_big.json", 3);
    ExpectFirstLine("crypto modpow" + Fields(mp["inputs"], {"base", "exponent", "modulus"}),
                    mp["outputs"]["result"]);
}

TEST(QuarnelTool, TextsEncipherAndDecipherThroughFiles) {
    test::TempDir dir;
    const std::string files =
        " " + Quote((dir / "plain").string()) + " > " + Quote((dir / "lines").string());
    const Json texts = test::LoadVectors("encipher_text.json");
    for (const auto& c : texts["cases"]) {
        const Json& in = c["inputs"];
        const std::string plain = test::Bytes(in["plain_b16"]);
        ASSERT_TRUE(WriteFileAtomically(dir / "plain", plain));
        ASSERT_EQ(Tool("crypto encipher-text --date " + S(in["datetime"]["hex"]) +
                       Fields(in, {"key", "mask", "code", "field1", "field2"}, true) + files)
                      .exitCode,
                  0);
        std::string want;
        for (const auto& l : c["outputs"]["lines"])
            want += S(l) + "\n";
        EXPECT_EQ(*ReadWholeFile(dir / "lines"), want);
        const auto d = Tool("crypto decipher-text --key" + Fields(in, {"inverse_key"}) +
                            Fields(in, {"mask"}, true) + " --out " +
                            Quote((dir / "back").string()) + " " + Quote((dir / "lines").string()));
        ASSERT_EQ(d.exitCode, 0);
        EXPECT_NE(d.out.find("code " + S(in["code"])), std::string::npos);
        EXPECT_EQ(*ReadWholeFile(dir / "back"), plain);
    }
}

TEST(QuarnelTool, ChecksAndDumpsFiles) {
    test::TempDir dir;
    const auto taLines = TaParameterLines(SystemBase());
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTaPr.0FF", JoinLinesCrLf(taLines)));
    ExpectFirstLine("digest-ta " + Quote((dir / "QuarnelTaPr.0FF").string()), taLines[8]);

    const std::string store = "00000003\r\n1F400000123\r\n" + std::string(32, 'A') + "\r\n \r\n";
    const std::string storeFile = Quote((dir / "QuarnelTit.kpr").string());
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTit.kpr", store));
    auto r = Tool("check-store " + storeFile);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    r = Tool("dump " + storeFile);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("1: " + std::string(32, 'A')), std::string::npos);
    // A key store read as a correspondent list fails the check: exit 1.
    r = Tool("check-store --category A " + storeFile);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("15"), std::string::npos) << r.out;
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTit.kpr", store.substr(0, 30)));
    r = Tool("check-store " + storeFile);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("line"), std::string::npos) << r.out;
}

TEST(QuarnelTool, BadArgumentsGiveOneLineAndExitCodeTwo) {
    test::TempDir dir;
    const std::string bad = Quote((dir / "QuarnelTaPr.0FF").string());
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTaPr.0FF", "short\r\n"));
    const std::vector<std::string> cases = {
        "crypto cipher 12G4 00",
        "crypto cipher " + std::string(33, '1') + " 1",
        "crypto cipher 1",
        "crypto exp-block 1 2 --variant C",
        "crypto modpow 2 3 0",
        "crypto encipher-text --key 1 --mask 0 --date 1 --code D400F --field1 1 --field2 F",
        "crypto decipher-text --key 1 --mask 0 " + bad,
        "crypto nothing",
        "frobnicate",
        "dump " + Quote((dir / "none").string()),
        "digest-ta " + bad,
        "crypto cipher 1 2 --bogus"};
    for (const std::string& args : cases) {
        SCOPED_TRACE(args);
        const auto r = Tool(args + " 2>&1 >/dev/null");
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
        EXPECT_EQ(r.out.rfind("quarnel-tool: ", 0), 0u) << r.out;
    }
}

TEST(QuarnelTool, RtfPlainTextAndCanonicalForm) {
    test::TempDir dir;
    const std::string file = Quote((dir / "m.rtf").string());
    ASSERT_TRUE(
        WriteFileAtomically(dir / "m.rtf",
                            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\qc\\b Caf\\'e9\\b0\\tab "
                            "x\\line y\\par\\pard\\f0 \\u945?\x1b}"));
    auto r = Tool("rtf " + file);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Caf\xc3\xa9\tx\ny\n\xce\xb1\n");  // the escape character left out
    r = Tool("rtf --canonical " + file);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
              "\\pard\\qc\\b Caf\\'e9\\b0\\tab x\\line y\\par\r\n\\pard\\u945?\\par\r\n}");
    // (That the canonical form reads back to itself:
    // RtfRoundTrip.ComposerDocumentsComeBackByteForByte.)

    // Malformed: one line on standard error, exit code 2. (What the reader
    // refuses, and where: RtfRead.MalformedInputIsRefusedWithItsPlace.)
    ASSERT_TRUE(WriteFileAtomically(dir / "bad.rtf", "{\\rtf1 {{x"));
    r = Tool("rtf --canonical " + Quote((dir / "bad.rtf").string()) + " 2>&1 >/dev/null");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    EXPECT_NE(r.out.find("malformed RTF at byte"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace quarnel
