// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/body.h"

#include <chrono>

#include "crypto/bignum.h"
#include "crypto/datetime.h"
#include "crypto/hextext.h"
#include "protocol/texts.h"

namespace quarnel {

NumberRange NumbersOf(char category) {
    switch (category) {
        case 'F':
            return {0x00002000u, 0x01000000u};
        case 'A':
            return {0x01000000u, 0x08000000u};
        default:
            return {0x08000000u, 0xFFFFFFFFu};
    }
}

char CategoryOfNumber(std::string_view number) {
    const std::string_view middle = number.size() >= 11 ? number.substr(3, 8) : number;
    char category = 'B';
    for (const char c : {'F', 'A', 'D'}) {
        if (middle >= WordToHex(NumbersOf(c).first)) category = c;
    }
    return category;
}

int TitleTextId(Kind kind, bool firstAffiliation, char registrationFlag) {
    switch (kind) {
        case Kind::Affiliation:
            return txt::kTitle00;
        case Kind::Update:
            return firstAffiliation ? txt::kTitle01Ack : txt::kTitle01Update;
        case Kind::Key:
            return txt::kTitle10;
        case Kind::KeyUpdate:
            return txt::kTitle11;
        case Kind::Certification:
            return txt::kTitle18;
        case Kind::PlainMessage:
        case Kind::RichMessage:
            return registrationFlag == '1' ? txt::kTitleMessage : txt::kTitleMessageUnregistered;
        default:
            return 0;
    }
}

std::string AddressLine(Kind kind, std::string_view dateCode, char senderDigit, char recipientDigit,
                        std::string_view recipientNumber, std::string_view senderNumber) {
    std::string line;
    line.reserve(32);
    line += KindText(kind);
    line += dateCode;
    line += '0';
    line += senderDigit;
    line += recipientDigit;
    line += recipientNumber;
    line += senderNumber;
    return line;
}

bool ParseAddressLine(std::string_view line, AddressFields& out) {
    if (line.size() != 32) return false;
    out.kindText = std::string(line.substr(0, 2));
    out.kind = KindOf(out.kindText);
    out.dateCode = std::string(line.substr(2, 5));
    out.senderDigit = line[8];
    out.recipientDigit = line[9];
    out.recipientNumber = std::string(line.substr(10, 11));
    out.senderNumber = std::string(line.substr(21, 11));
    return true;
}

std::string WithoutTrailingBlanks(std::string line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

bool IsEndMarkerLine(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line == kEndMarkerLine;
}

void TakeApartReceivedBody(Lines& body, std::vector<std::string>& attachmentNames) {
    attachmentNames.clear();
    while (!body.empty() && WithoutTrailingBlanks(body.back()).empty())
        body.pop_back();
    std::vector<std::string> names;
    while (!body.empty() && !IsEndMarkerLine(body.back())) {
        std::string name = WithoutTrailingBlanks(std::move(body.back()));
        body.pop_back();
        if (!name.empty()) names.push_back(std::move(name));
    }
    attachmentNames.assign(names.rbegin(), names.rend());
}

bool CheckBodyStructure(Lines& body, std::optional<Kind>& kind, std::string* problem) {
    auto fail = [&](std::string why) {
        if (problem) *problem = std::move(why);
        return false;
    };
    std::size_t first = 0;
    while (first < body.size() && body[first] != kSeparatorLine)
        ++first;
    body.erase(body.begin(), body.begin() + std::ptrdiff_t(first));
    if (body.size() <= 2) return fail("no separator line followed by an address line");
    const std::string& address = body[1];
    if (address.size() < 2 || !IsUpperHex(address.substr(0, 2))) {
        return fail("the address line does not begin with a request kind");
    }
    const std::string text = address.substr(0, 2);
    const std::optional<Kind> k = KindOf(text);
    for (;;) {
        std::string& last = body.back();
        last = WithoutTrailingBlanks(std::move(last));
        if (!last.empty() || body.size() <= 2) break;
        body.pop_back();
    }
    const std::size_t n = body.size();
    if ((k == Kind::PrivateKey && n != 7) || (k == Kind::Updated && n != 6) ||
        ((k == Kind::KeyDelivered || k == Kind::KeyUpdated) && n < 11) ||
        (IsMessageKind(k) && n < 16)) {
        return fail("kind " + text + " with " + std::to_string(n) + " lines");
    }
    for (std::size_t i = 1; i + 1 < n; ++i) {
        if (!IsHexText(body[i], 32)) {
            return fail("line " + std::to_string(i) + " is not 32 upper-case hexadecimal digits");
        }
    }
    if (body.back() != kEndMarkerLine) return fail("the last line is not the end-marker line");
    kind = k;
    return true;
}

std::optional<double> ParseDateText(std::string_view text) {
    if (text.size() != 10 || text[2] != '/' || text[5] != '/') return std::nullopt;
    int parts[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 3, 6};
    const std::size_t widths[3] = {2, 2, 4};
    for (int p = 0; p < 3; ++p) {
        for (std::size_t i = 0; i < widths[p]; ++i) {
            const char c = text[starts[p] + i];
            if (c < '0' || c > '9') return std::nullopt;
            parts[p] = parts[p] * 10 + (c - '0');
        }
    }
    const std::chrono::year_month_day ymd{std::chrono::year{parts[2]},
                                          std::chrono::month{unsigned(parts[1])},
                                          std::chrono::day{unsigned(parts[0])}};
    if (!ymd.ok() || parts[2] == 0) return std::nullopt;
    return OleFromLocal({parts[2], parts[1], parts[0], 0, 0, 0, 0});
}

std::string JoinWithCarriageReturns(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += '\r';
        out += fields[i];
    }
    return out;
}

std::vector<std::string> SplitAtLineBreaks(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
            out.emplace_back(text.substr(start, i - start));
            if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    return out;
}

std::string ConcatenatedLines(const std::vector<std::string>& lines, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i)
        out += lines[i];
    return out;
}

}  // namespace quarnel
