// SPDX-License-Identifier: GPL-3.0-or-later
// quarnel-tool crypto: each primitive on hexadecimal arguments.

#include <iostream>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/datetime.h"
#include "crypto/hextext.h"
#include "crypto/text_cipher.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "tool_support.h"

namespace quarnel::tool {
namespace {

char FieldArg(Args& args, const std::string& name) {
    const std::string v = args.RequiredOption(name);
    if (v.size() != 1 || !IsUpperHex(v)) {
        throw UsageError(name + " must be one hexadecimal digit (0-9, A-F)");
    }
    return v[0];
}

int Cipher(Args& args) {
    const auto mask = args.Option("--mask");
    const auto pos = args.Positional(2, 2);
    const Quad x = ParseQuadArg("BLOCK", pos[0]);
    const Quad key = ParseQuadArg("KEY", pos[1]);
    const Quad m = mask ? ParseQuadArg("--mask", *mask) : Quad{};
    const Direction dir = args.Flag("--decipher") ? Direction::Decipher : Direction::Encipher;
    std::cout << QuadToHex(CipherBlockMasked(x, key, m, dir)) << '\n';
    return 0;
}

int ExpBlockCmd(Args& args) {
    const std::string variant = args.RequiredOption("--variant");
    if (variant != "A" && variant != "B") throw UsageError("--variant must be A or B");
    const auto pos = args.Positional(2, 2);
    const Quad x = ParseQuadArg("BLOCK", pos[0]);
    const Quad key = ParseQuadArg("KEY", pos[1]);
    std::cout << QuadToHex(ExpBlock(x, key, variant == "A" ? Variant::A : Variant::B)) << '\n';
    return 0;
}

int MulModPCmd(Args& args) {
    const auto pos = args.Positional(2, 2);
    std::cout << QuadToHex(MulModP(ParseQuadArg("A", pos[0]), ParseQuadArg("B", pos[1]))) << '\n';
    return 0;
}

int PrintDigest(bool ok, const Quad& digest) {
    std::cout << QuadToHex(digest) << '\n';
    if (!ok) {
        std::cerr << "quarnel-tool: condensation failed: a piece is not a valid block\n";
        return 1;
    }
    return 0;
}

int CondenseTextCmd(Args& args) {
    const std::string text = ReadInput(args.Positional(0, 1));
    Quad digest{};
    const bool ok = CondenseText(text, digest);
    return PrintDigest(ok, digest);
}

int CondenseHexCmd(Args& args) {
    const auto pos = args.Positional(1, 1);
    Quad digest{};
    const bool ok = CondenseHex(pos[0], digest);
    return PrintDigest(ok, digest);
}

int EncipherTextCmd(Args& args) {
    const Quad key = ParseQuadArg("--key", args.RequiredOption("--key"));
    const Quad mask = ParseQuadArg("--mask", args.RequiredOption("--mask"));
    const std::string date = args.RequiredOption("--date");
    if (date.size() != 16 || !IsUpperHex(date)) {
        throw UsageError("--date must be 16 upper-case hexadecimal digits");
    }
    const std::string code = args.RequiredOption("--code");
    if (code.size() != 5 || !IsUpperHex(code)) {
        throw UsageError("--code must be 5 upper-case hexadecimal digits");
    }
    const char f1 = FieldArg(args, "--field1");
    const char f2 = FieldArg(args, "--field2");
    const std::string text = ReadInput(args.Positional(0, 1));
    Lines lines;
    if (!EncipherText(code, f1, f2, lines, mask, key, text, HexToDate(date))) {
        throw UsageError("the text is too long to encipher");
    }
    std::string out;
    out.reserve(lines.size() * 33);
    for (const auto& l : lines) {
        out += l;
        out += '\n';
    }
    std::cout << out;
    return 0;
}

int DecipherTextCmd(Args& args) {
    const Quad key = ParseQuadArg("--key", args.RequiredOption("--key"));
    const Quad mask = ParseQuadArg("--mask", args.RequiredOption("--mask"));
    const auto out = args.Option("--out");
    const Lines lines = SplitLines(ReadInput(args.Positional(0, 1)));
    std::size_t index = 0;
    DecipheredText d;
    if (!DecipherText(lines, index, key, mask, d)) {
        throw UsageError(
            "the header does not decipher with this key and mask, or blocks are missing");
    }
    std::cout << "date " << DateToHex(d.dateTime) << ' ' << DateTimeText(d.dateTime) << '\n'
              << "code " << d.code << '\n'
              << "field1 " << d.field1 << '\n'
              << "field2 " << d.field2 << '\n';
    std::cout.flush();
    WriteOutput(out, d.text);
    return 0;
}

int ModPowCmd(Args& args) {
    const auto pos = args.Positional(3, 3);
    const auto base = ParseWordsArg("BASE", pos[0]);
    const auto exp = ParseWordsArg("EXP", pos[1]);
    const auto mod = ParseWordsArg("MOD", pos[2]);
    std::vector<Word> result(mod.size());
    int used = 0;
    if (!ModPow(base, exp, mod, result, used)) throw UsageError("MOD must not be zero");
    result.resize(std::size_t(used));
    std::cout << WordsToHex(result) << '\n';
    return 0;
}

}  // namespace

int RunCryptoCommand(const std::string& sub, Args& args) {
    if (sub == "cipher") return Cipher(args);
    if (sub == "exp-block") return ExpBlockCmd(args);
    if (sub == "mul-mod-p") return MulModPCmd(args);
    if (sub == "condense-text") return CondenseTextCmd(args);
    if (sub == "condense-hex") return CondenseHexCmd(args);
    if (sub == "encipher-text") return EncipherTextCmd(args);
    if (sub == "decipher-text") return DecipherTextCmd(args);
    if (sub == "modpow") return ModPowCmd(args);
    throw UsageError("unknown crypto command \"" + sub + "\" (see quarnel-tool --help)");
}

}  // namespace quarnel::tool
