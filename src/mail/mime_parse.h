#pragma once
// Parsing what a mailbox holds (with GMime): the headers, the last text part
// and the attachments, within limits, since every byte comes from outside.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarnel {

/// The biggest mail parsed (as RETR takes at most).
inline constexpr std::size_t kMaxParsedMail = std::size_t(64) << 20;
/// The most MIME parts one mail may hold, and how deep multiparts may nest.
inline constexpr std::size_t kMaxMailParts = 1000;
inline constexpr int kMaxMailDepth = 16;
/// The most header lines kept.
inline constexpr std::size_t kMaxMailHeaders = 1000;

struct MailAttachment {
    std::string fileName;  ///< as the mail gives it (decoded, UTF-8), not yet checked
    std::string content;   ///< decoded bytes
};

struct ParsedMail {
    /// Every header in order, name as written, value unfolded and decoded (UTF-8).
    std::vector<std::pair<std::string, std::string>> headers;
    bool multipart = false;
    /// The last text part (or the single body), transfer-decoded bytes, lines
    /// as in the mail (CR LF or LF).
    std::string lastTextPart;
    std::vector<MailAttachment> attachments;

    /// Every value of the header `name`, the name compared without regard to case.
    [[nodiscard]] std::vector<std::string> Values(std::string_view name) const;
    /// The first value of `name`, or "".
    [[nodiscard]] std::string Value(std::string_view name) const;
    /// The sender's display name (the address when it has none), decoded.
    [[nodiscard]] const std::string& FromName() const { return fromName_; }
    /// The subject, decoded (UTF-8).
    [[nodiscard]] const std::string& Subject() const { return subject_; }

    std::string fromName_;
    std::string subject_;
};

/// Parses a whole mail (CR LF or LF lines, dots already unstuffed); false
/// (with `out` cleared) when it is over a limit or not a mail at all.
[[nodiscard]] bool ParseMail(std::string_view raw, ParsedMail& out);
/// Parses the headers only (the answer of TOP n 0).
[[nodiscard]] bool ParseMailHeaders(std::string_view raw, ParsedMail& out);

}  // namespace quarnel
