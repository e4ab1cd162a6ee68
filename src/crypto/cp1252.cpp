// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/cp1252.h"

#include <algorithm>
#include <cstdint>

namespace quarnel {
namespace {

// Code points of 0x80-0x9F; the unassigned bytes keep their own value.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The length of the UTF-8 sequence that `lead` begins (1 for a byte that
// begins none).
std::size_t SequenceLength(unsigned char lead) {
    return (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 1;
}

}  // namespace

char32_t Cp1252CodePoint(unsigned char byte) {
    return (byte >= 0x80 && byte < 0xA0) ? kHigh[byte - 0x80] : char32_t(byte);
}

std::optional<unsigned char> Cp1252Byte(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<unsigned char>(codePoint);
    }
    for (int k = 0; k < 32; ++k) {
        if (kHigh[k] == codePoint) return static_cast<unsigned char>(0x80 + k);
    }
    return std::nullopt;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (unsigned char b : cp1252) {
        AppendUtf8(out, Cp1252CodePoint(b));
    }
    return out;
}

bool Utf8ToCp1252(std::string_view utf8, std::string& out) {
    out.clear();
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t len = 0;
        if (b0 < 0x80) {
            cp = b0;
            len = 1;
        } else if ((b0 & 0xE0) == 0xC0) {
            cp = b0 & 0x1F;
            len = 2;
        } else if ((b0 & 0xF0) == 0xE0) {
            cp = b0 & 0x0F;
            len = 3;
        } else if ((b0 & 0xF8) == 0xF0) {
            cp = b0 & 0x07;
            len = 4;
        } else {
            return false;
        }
        if (i + len > utf8.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto b = static_cast<unsigned char>(utf8[i + k]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        // Overlong forms are not valid UTF-8.
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000)) {
            return false;
        }
        i += len;
        const auto byte = Cp1252Byte(cp);
        if (!byte) return false;
        out += char(*byte);
    }
    return true;
}

std::string Utf8ToCp1252Lossy(std::string_view utf8) {
    std::string out;
    if (Utf8ToCp1252(utf8, out)) return out;
    // Character by character, "?" for each that does not fit.
    out.clear();
    std::string one;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t len =
            std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        out += Utf8ToCp1252(utf8.substr(i, len), one) ? one : std::string("?");
        i += len;
    }
    return out;
}

std::optional<std::string> FirstOutsideCp1252(std::string_view utf8) {
    std::string ignored;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string_view one = utf8.substr(i, n);
        if (!Utf8ToCp1252(one, ignored)) return std::string(one);
        i += n;
    }
    return std::nullopt;
}

std::string DistinctOutsideCp1252(std::string_view utf8) {
    std::string out;
    while (const auto c = FirstOutsideCp1252(utf8)) {
        if (out.find(*c) == std::string::npos) out += *c;
        utf8.remove_prefix(utf8.find(*c) + c->size());
    }
    return out;
}

}  // namespace quarnel
