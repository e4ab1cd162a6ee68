// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/identity.h"

#include "crypto/bignum.h"
#include "crypto/text_cipher.h"

namespace quarnel {

std::size_t IdentityLineCount(char category) {
    switch (category) {
        case 'A':
            return 11;
        case 'D':
        case 'F':
            return 13;
        default:
            return 0;
    }
}

std::optional<std::size_t> IdentityLineTooLong(char category,
                                               const std::vector<std::string>& identity) {
    const std::size_t skipped = category == 'A' ? 2 : 0;
    for (std::size_t i = 0; i < identity.size() && i + skipped < kIdentityLineMax.size(); ++i) {
        if (identity[i].size() > kIdentityLineMax[i + skipped]) return i;
    }
    return std::nullopt;
}

std::vector<std::string> SenderIdentityFields(char category,
                                              const std::vector<std::string>& identity) {
    static constexpr std::size_t kA[] = {0, 1, 4, 5, 6, 9};
    static constexpr std::size_t kDF[] = {0, 1, 2, 3, 6, 7, 8, 11};
    std::vector<std::string> out;
    if (category == 'A' && identity.size() == 11) {
        for (const std::size_t i : kA)
            out.push_back(identity[i]);
    } else if ((category == 'D' || category == 'F') && identity.size() == 13) {
        for (const std::size_t i : kDF)
            out.push_back(identity[i]);
    }
    return out;
}

bool SettingsDigest(const std::string& ownNumber, const std::vector<std::string>& identity,
                    std::string& digest) {
    std::string text = ownNumber;
    for (const auto& line : identity)
        text += line;
    Quad d{};
    if (!CondenseText(text, d)) return false;
    digest = QuadToHex(d);
    return true;
}

}  // namespace quarnel
