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

/// The whole mail, CR LF lines, not dot-stuffed. Attachments are read as
/// streams while encoding. Throws std::runtime_error naming the file when an
/// attachment cannot be opened.
[[nodiscard]] std::string BuildMail(const OutgoingMail& mail);

// ---- Parsing (mime_parse.cpp): ParsedMail, ParseMail, ParseMailHeaders in mime_parse.h ----

}  // namespace quarnel
