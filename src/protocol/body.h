// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line layout shared by every body: user messages, requests to the TA and
// the TA's replies. Outgoing: title line, separator line, address line,
// kind-specific lines, end-marker line (then attachment names for messages).
// Received: the same without the title line, the separator at index 0.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/text_cipher.h"
#include "protocol/kinds.h"

namespace quarnel {

inline const std::string kSeparatorLine(32, 'F');
inline const std::string kEndMarkerLine(32, '0');
/// The most attachment names a received body may list: the names are not
/// covered by the digest and each costs a file write.
inline constexpr std::size_t kMaxAttachmentNames = 1000;
/// Eleven "0": the recipient number of requests that name none.
inline const std::string kNoNumber(11, '0');

/// The affiliation numbers of a list category (A, D or F), by characters
/// 4-11 of the number: from `first` up to before `end`.
struct NumberRange {
    std::uint32_t first;
    std::uint32_t end;
};
NumberRange NumbersOf(char category);
/// The list category of an affiliation number: 'F' from "00002000", 'A' from
/// "01000000", 'D' from "08000000"; below, 'B' (no list).
char CategoryOfNumber(std::string_view number);

/// Resource number of the title line of an outgoing body of `kind`.
/// Kind 01 has two titles (acknowledgement when `firstAffiliation`); user
/// messages have two (unregistered sender when `registrationFlag` is not "1").
/// 0 for a kind without title.
int TitleTextId(Kind kind, bool firstAffiliation, char registrationFlag);

/// The 32-character address line: kind, date code, "0", sender digit,
/// recipient digit, recipient number (11), sender number (11).
std::string AddressLine(Kind kind, std::string_view dateCode, char senderDigit, char recipientDigit,
                        std::string_view recipientNumber, std::string_view senderNumber);

struct AddressFields {
    std::optional<Kind> kind;     ///< positions 1-2; nothing for an unknown kind
    std::string kindText;         ///< positions 1-2 as written
    std::string dateCode;         ///< positions 3-7
    char senderDigit = '0';       ///< position 9
    char recipientDigit = '0';    ///< position 10
    std::string recipientNumber;  ///< positions 11-21
    std::string senderNumber;     ///< positions 22-32
};

/// Fields of a 32-character address line; false for any other length.
[[nodiscard]] bool ParseAddressLine(std::string_view line, AddressFields& out);

/// `line` without its trailing blanks and tabs, as mail transports add them.
std::string WithoutTrailingBlanks(std::string line);
/// The end-marker line, trailing blanks and tabs aside.
[[nodiscard]] bool IsEndMarkerLine(std::string_view line);

/// Takes a received body apart: trailing empty (or blank) lines go, and every
/// line after the last end-marker line (trailing blanks aside) moves, in
/// order, to `attachmentNames` (trailing blanks removed, empty names dropped).
void TakeApartReceivedBody(Lines& body, std::vector<std::string>& attachmentNames);

/// The structure check of a received body. Lines before the first separator
/// are removed and trailing blanks and tabs and empty last lines dropped (so `body` is
/// normalised in place). On success `kind` holds the body's kind (nothing for
/// two digits that name no kind).
[[nodiscard]] bool CheckBodyStructure(Lines& body, std::optional<Kind>& kind,
                                      std::string* problem = nullptr);

/// A date text "dd/mm/yyyy" (as correspondent records keep it) as a date-time
/// value at midnight; nothing unless it is a real date in exactly that form.
std::optional<double> ParseDateText(std::string_view text);

/// Fields joined with one carriage return between them (identity texts).
std::string JoinWithCarriageReturns(const std::vector<std::string>& fields);
/// The reverse: a text split at carriage returns (and line feeds).
std::vector<std::string> SplitAtLineBreaks(std::string_view text);
/// The first `count` lines one after the other (the text a record check
/// condenses).
std::string ConcatenatedLines(const std::vector<std::string>& lines,
                              std::size_t count = std::size_t(-1));

}  // namespace quarnel
