// quarnel-tool against the vectors, and its handling of bad input.

#include <gtest/gtest.h>

#include "crypto/dh_constants.h"
#include "run_command.h"
#include "store/atomic_file.h"
#include "store/ta_parameters.h"
#include "temp_dir.h"
#include "vector_support.h"

namespace quarnel {
namespace {

using test::Quote;
using test::RunCommand;
using test::TempDir;

std::string Tool(const std::string& args) {
    return std::string(QUARNEL_BIN_DIR) + "/quarnel-tool " + args;
}

std::string FirstLine(const std::string& s) { return s.substr(0, s.find('\n')); }

TEST(QuarnelTool, CipherAgreesWithTheVectors) {
    const auto j = test::LoadVectors("cipher_block_masked.json");
    int n = 0;
    for (const auto& c : j["cases"]) {
        const auto& in = c["inputs"];
        const auto& out = c["outputs"];
        if (!out.contains("enciphered") || n++ > 8) continue;
        const std::string args = "crypto cipher " + in["x"].get<std::string>() + " " +
                                 in["key"].get<std::string>() + " --mask " +
                                 in["mask"].get<std::string>();
        auto r = RunCommand(Tool(args));
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(FirstLine(r.out), out["enciphered"]);
        r = RunCommand(Tool("crypto cipher " + out["enciphered"].get<std::string>() + " " +
                     in["inverse_key"].get<std::string>() + " --mask " +
                     in["mask"].get<std::string>() + " --decipher"));
        EXPECT_EQ(FirstLine(r.out), out["deciphered_with_inverse"]);
    }
}

TEST(QuarnelTool, PrimitivesAgreeWithTheVectors) {
    auto first = [](const std::string& file) { return test::LoadVectors(file)["cases"]; };
    const auto exp = first("exp_block_B.json")[5];
    EXPECT_EQ(FirstLine(RunCommand(Tool("crypto exp-block " + exp["inputs"]["x"].get<std::string>() + " " +
                                 exp["inputs"]["key"].get<std::string>() + " --variant B"))
                            .out),
              exp["outputs"]["result"]);
    const auto mul = first("mul_mod_p.json")[7];
    EXPECT_EQ(FirstLine(RunCommand(Tool("crypto mul-mod-p " + mul["inputs"]["a"].get<std::string>() + " " +
                                 mul["inputs"]["b"].get<std::string>()))
                            .out),
              mul["outputs"]["product"]);
    const auto hex = first("condense_hex.json")[9];
    EXPECT_EQ(FirstLine(RunCommand(Tool("crypto condense-hex '" + hex["inputs"]["text"].get<std::string>() +
                                 "'"))
                            .out),
              hex["outputs"]["digest"]);
    const auto mp = first("mod_pow_big.json")[3];
    const auto r = RunCommand(Tool("crypto modpow " + mp["inputs"]["base"].get<std::string>() + " " +
                            mp["inputs"]["exponent"].get<std::string>() + " " +
                            mp["inputs"]["modulus"].get<std::string>()));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(FirstLine(r.out), mp["outputs"]["result"]);
}

TEST(QuarnelTool, TextsEncipherAndDecipherThroughFiles) {
    TempDir dir;
    const auto j = test::LoadVectors("encipher_text.json");
    for (const auto& c : j["cases"]) {
        const auto& in = c["inputs"];
        const std::string plain = test::Bytes(in["plain_b16"]);
        ASSERT_TRUE(WriteFileAtomically(dir / "plain", plain));
        const std::string enc = Tool(
            "crypto encipher-text --key " + in["key"].get<std::string>() + " --mask " +
            in["mask"].get<std::string>() + " --date " + in["datetime"]["hex"].get<std::string>() +
            " --code " + in["code"].get<std::string>() + " --field1 " +
            in["field1"].get<std::string>() + " --field2 " + in["field2"].get<std::string>() + " " +
            Quote((dir / "plain").string()));
        const auto r = RunCommand(enc + " > " + Quote((dir / "lines").string()));
        ASSERT_EQ(r.exitCode, 0);
        std::string want;
        for (const auto& l : c["outputs"]["lines"]) want += l.get<std::string>() + "\n";
        EXPECT_EQ(*ReadWholeFile(dir / "lines"), want);
        const auto d = RunCommand(Tool("crypto decipher-text --key " +
                                in["inverse_key"].get<std::string>() + " --mask " +
                                in["mask"].get<std::string>() + " " +
                                Quote((dir / "lines").string()) + " --out " +
                                Quote((dir / "back").string())));
        ASSERT_EQ(d.exitCode, 0);
        EXPECT_NE(d.out.find("code " + in["code"].get<std::string>()), std::string::npos);
        EXPECT_EQ(*ReadWholeFile(dir / "back"), plain);
    }
}

TEST(QuarnelTool, ChecksAndDumpsFiles) {
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTaPr.0FF",
                                    JoinLinesCrLf(TaParameterLines(SystemBase()))));
    auto r = RunCommand(Tool("digest-ta " + Quote((dir / "QuarnelTaPr.0FF").string())));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(FirstLine(r.out), TaParameterLines(SystemBase())[8]);

    const std::string store = "00000003\r\n1F400000123\r\n" + std::string(32, 'A') + "\r\n \r\n";
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTit.kpr", store));
    r = RunCommand(Tool("check-store " + Quote((dir / "QuarnelTit.kpr").string())));
    EXPECT_EQ(r.exitCode, 0) << r.out;
    r = RunCommand(Tool("dump " + Quote((dir / "QuarnelTit.kpr").string())));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("1: " + std::string(32, 'A')), std::string::npos);

    // A key store read as a correspondent list fails the check: exit 1.
    r = RunCommand(Tool("check-store --category A " + Quote((dir / "QuarnelTit.kpr").string())));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("15"), std::string::npos) << r.out;
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTit.kpr", store.substr(0, 30)));
    r = RunCommand(Tool("check-store " + Quote((dir / "QuarnelTit.kpr").string())));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("line"), std::string::npos) << r.out;
}

TEST(QuarnelTool, BadArgumentsGiveOneLineAndExitCodeTwo) {
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomically(dir / "QuarnelTaPr.0FF", "short\r\n"));
    const std::vector<std::string> cases = {
         "crypto cipher 12G4 00", "crypto cipher " + std::string(33, '1') + " 1",
          "crypto cipher 1", "crypto exp-block 1 2 --variant C", "crypto modpow 2 3 0",
          "crypto encipher-text --key 1 --mask 0 --date 1 --code D400F --field1 1 --field2 F",
          "crypto decipher-text --key 1 --mask 0 " + Quote((dir / "QuarnelTaPr.0FF").string()),
          "crypto nothing", "frobnicate", "dump " + Quote((dir / "none").string()),
          "digest-ta " + Quote((dir / "QuarnelTaPr.0FF").string()),
          "crypto cipher 1 2 --bogus"};
    for (const std::string& args : cases) {
        SCOPED_TRACE(args);
        const auto r = RunCommand(Tool(args) + " 2>&1 >/dev/null");
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
        EXPECT_EQ(r.out.rfind("quarnel-tool: ", 0), 0u) << r.out;
    }
}

}  // namespace
}  // namespace quarnel
