// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/ta_parameters.h"

#include <algorithm>

#include "crypto/bignum.h"
#include "crypto/compare.h"
#include "crypto/hextext.h"
#include "crypto/text_cipher.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"

namespace quarnel {

bool ParseTaParameters(const std::vector<std::string>& lines, TaParameters& out,
                       std::string* problem) {
    auto fail = [&](std::string why) {
        if (problem) *problem = std::move(why);
        return false;
    };
    if (lines.size() != 9) return fail(std::to_string(lines.size()) + " lines instead of 9");
    std::string hex;
    for (std::size_t i = 0; i < 9; ++i) {
        if (!IsHexText(lines[i], 32)) {
            return fail("line " + std::to_string(i + 1) +
                        " is not 32 upper-case hexadecimal digits");
        }
        if (i < 8) hex += lines[i];
    }
    Quad digest{};
    if (!CondenseHex(hex, digest)) return fail("the public value cannot be condensed");
    if (!EqualDigests(QuadToHex(digest), lines[8])) {
        return fail("the digest of the public value is " + QuadToHex(digest) + ", line 9 says " +
                    lines[8]);
    }
    out.publicHex = hex;
    out.publicValue = HexToBig(hex);
    out.digest = digest;
    return true;
}

bool ReadTaParameterFile(const std::filesystem::path& file, TaParameters& out,
                         std::string* problem) {
    const std::string name = file.filename().string();
    const std::string prefix = kTaParameterPrefix;
    if (name.rfind(prefix, 0) != 0 || !IsHexText(name.substr(prefix.size()), 3)) {
        if (problem) *problem = "the file name is not QuarnelTaPr. followed by a 3-digit TA code";
        return false;
    }
    const auto bytes = ReadWholeFile(file);
    if (!bytes) {
        if (problem) *problem = "cannot read " + file.string();
        return false;
    }
    TaParameters p;
    if (!ParseTaParameters(SplitLines(*bytes), p, problem)) return false;
    p.code = name.substr(prefix.size());
    out = std::move(p);
    return true;
}

std::optional<std::filesystem::path> FindTaParameterFile(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kTaParameterPrefix, 0) == 0 && entry.is_regular_file(ec)) {
            found.push_back(entry.path());
        }
    }
    if (found.empty()) return std::nullopt;
    return *std::min_element(found.begin(), found.end());
}

std::vector<std::string> TaParameterLines(const Big& publicValue) {
    const std::string hex = BigToHex(publicValue);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < 8; ++i)
        lines.push_back(hex.substr(32 * i, 32));
    Quad digest{};
    (void)CondenseHex(hex, digest);
    lines.push_back(QuadToHex(digest));
    return lines;
}

}  // namespace quarnel
