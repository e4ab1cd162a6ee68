// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the known-answer vector files.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "crypto/bignum.h"
#include "crypto/hextext.h"
#include "crypto/records.h"

namespace quarnel::test {

using Json = nlohmann::json;

inline Json LoadVectors(const std::string& name) {
    const std::string path = std::string(QUARNEL_TEST_DATA_DIR) + "/vectors/" + name;
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << "cannot open " << path;
    Json j;
    if (in.good()) in >> j;
    return j;
}

/// Bytes of a "_b16" field.
inline std::string Bytes(const Json& hex) {
    return HexToText(hex.get<std::string>());
}

/// A JSON string whose characters stand for bytes (Latin-1).
inline std::string Latin1(const Json& s) {
    const std::string utf8 = s.get<std::string>();
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += char(c);
        } else {
            const auto c2 = static_cast<unsigned char>(utf8[++i]);
            out += char(((c & 0x1F) << 6) | (c2 & 0x3F));
        }
    }
    return out;
}

inline Quad Q(const Json& hex) {
    return HexToQuad(hex.get<std::string>());
}
inline std::string H(const Quad& q) {
    return QuadToHex(q);
}

inline std::vector<Word> WordList(const Json& list) {
    std::vector<Word> w;
    for (const auto& x : list)
        w.push_back(HexToWord(x.get<std::string>()));
    return w;
}

inline std::vector<std::string> HexList(std::span<const Word> w) {
    std::vector<std::string> out;
    for (Word x : w)
        out.push_back(WordToHex(x));
    return out;
}

inline RecordList Records(const Json& records, bool b16) {
    RecordList list;
    for (const auto& r : records) {
        Record rec;
        for (const auto& line : r)
            rec.push_back(b16 ? Bytes(line) : Latin1(line));
        list.push_back(rec);
    }
    return list;
}

}  // namespace quarnel::test
