// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/hextext.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "crypto/datetime.h"

namespace quarnel {
namespace {

bool IsUpperHexDigit(char c) {
    return HexDigitValue(c) >= 0 && c < 'a';
}

// Upper-case digits only; anything else counts as 0.
unsigned StrictDigit(char c) {
    return IsUpperHexDigit(c) ? unsigned(HexDigitValue(c)) : 0;
}

}  // namespace

std::string TextToHex(std::string_view bytes) {
    std::string s;
    s.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        s += kHexDigits[b >> 4];
        s += kHexDigits[b & 0xF];
    }
    return s;
}

std::string HexToText(std::string_view hex) {
    std::string s;
    s.reserve(hex.size() / 2);
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        s += char(16 * StrictDigit(hex[i]) + StrictDigit(hex[i + 1]));
    }
    return s;
}

std::string DateToHex(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    std::string s;
    for (int i = 0; i < 8; ++i) {
        const auto b = unsigned((bits >> (8 * i)) & 0xFF);
        s += kHexDigits[b >> 4];
        s += kHexDigits[b & 0xF];
    }
    return s;
}

double HexToDate(std::string_view hex) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) {
        const std::size_t at = std::size_t(2 * i);
        const unsigned hi = at < hex.size() ? StrictDigit(hex[at]) : 0;
        const unsigned lo = at + 1 < hex.size() ? StrictDigit(hex[at + 1]) : 0;
        bits |= std::uint64_t(16 * hi + lo) << (8 * i);
    }
    return std::bit_cast<double>(bits);
}

std::uint8_t HexByte(std::string_view two) {
    auto value = [](char ch) {
        int c = static_cast<unsigned char>(ch);
        if (c > '@') c -= 7;
        return c - '0';
    };
    const int first = two.size() > 0 ? value(two[0]) : 0;
    const int second = two.size() > 1 ? value(two[1]) : 0;
    return std::uint8_t(unsigned(16 * first + second) & 0xFFu);
}

std::string DateCode(int day, int month, int year) {
    std::string s;
    s += char('0' + (day / 10) % 10);
    s += char('0' + day % 10);
    s += kHexDigits[month & 0xF];
    const int yy = ((year % 100) + 100) % 100;
    s += char('0' + yy / 10);
    s += char('0' + yy % 10);
    return s;
}

std::string DateCode() {
    const LocalDateTime now = LocalNow();
    return DateCode(now.day, now.month, now.year);
}

bool IsUpperHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsUpperHexDigit);
}

bool IsHexText(std::string_view text, std::size_t n) {
    return text.size() == n && IsUpperHex(text);
}

}  // namespace quarnel
