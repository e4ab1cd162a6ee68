// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MIME mail with GMime: building what is sent (mime_build.cpp) and parsing
// what a mailbox holds (mime_parse.cpp).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "mail/mime_parse.h"

namespace quarnel {

// ---- Building (mime_build.cpp) ----

/// A mail to build.
struct OutgoingMail {
    std::string fromAddress, fromName, subject;
    std::vector<std::string> to;
    std::vector<std::string> bodyLines;  ///< without line ends
    std::vector<std::filesystem::path> attachments;
};

/// A Message-ID (without its angle brackets, RFC 5322 3.6.4): 256 random
/// bits in hexadecimal, "@", the domain of `fromAddress`.
[[nodiscard]] std::string MessageId(const std::string& fromAddress);

/// The whole mail, CR LF lines, not dot-stuffed; header texts in UTF-8 (the
/// subject and display name are encoded as RFC 2047 where not ASCII, file
/// names as RFC 2231), a Message-ID of MessageId(). Attachments are read as
/// streams while encoding. Throws std::runtime_error naming the file when an
/// attachment cannot be opened.
[[nodiscard]] std::string BuildMail(const OutgoingMail& mail);

// ---- Parsing (mime_parse.cpp): ParsedMail, ParseMail, ParseMailHeaders in mime_parse.h ----

}  // namespace quarnel
