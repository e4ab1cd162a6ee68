// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/clipboard_intake.h"

#include "protocol/body.h"

namespace quarnel {

namespace {

// Lines end in CR LF, LF or CR.
Lines SplitText(std::string_view text) {
    Lines lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace

std::optional<Lines> TakeClipboardMessage(std::string_view text, ProgramState state,
                                          std::string_view ownNumber) {
    if (text.size() > kMaxClipboardBytes) return std::nullopt;
    if (state < ProgramState::Affiliated) return std::nullopt;
    Lines lines = SplitText(text);
    std::size_t first = 0;
    while (first < lines.size() && WithoutTrailingBlanks(lines[first]) != kSeparatorLine) {
        if (++first > kMaxLinesBeforeSeparator) return std::nullopt;
    }
    if (lines.size() < first + 3) return std::nullopt;
    AddressFields address;
    if (!ParseAddressLine(WithoutTrailingBlanks(lines[first + 1]), address)) return std::nullopt;
    if (!address.kind || !IsMessageKind(*address.kind)) return std::nullopt;
    if (state == ProgramState::Affiliated && address.recipientNumber != ownNumber)
        return std::nullopt;
    return lines;
}

}  // namespace quarnel
