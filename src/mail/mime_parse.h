// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Parsing what a mailbox holds (with GMime): the headers, the text parts and
// the attachments, within limits, since every byte comes from outside. A
// retrieved mail is parsed from its file: its attachments stay there until
// they are written out, a piece at a time.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarnel {

/// The biggest mail parsed in memory (ParseMail); a file may be as big as
/// RETR takes.
inline constexpr std::size_t kMaxParsedMail = std::size_t(64) << 20;
/// The most MIME parts one mail may hold, and how deep multiparts may nest.
inline constexpr std::size_t kMaxMailParts = 1000;
inline constexpr int kMaxMailDepth = 16;
/// The most header lines kept.
inline constexpr std::size_t kMaxMailHeaders = 1000;
/// The most decoded bytes of text parts (and forwarded mails) one mail may
/// hold: they are held in memory. An encrypted text of the most lines a
/// received message may hold takes less than half.
inline constexpr std::size_t kMaxMailText = std::size_t(16) << 20;

/// Takes one piece of decoded content; false stops the writing.
using ContentSink = std::function<bool(std::string_view piece)>;

struct MailAttachment {
    std::string fileName;  ///< as the mail gives it (decoded, UTF-8), not yet checked
    std::string content;   ///< decoded bytes, when held in memory
    /// When set, the decoded bytes are read from the mail's file instead:
    /// each piece goes to the sink; false when the content could not be read
    /// or the sink stopped.
    std::function<bool(const ContentSink&)> source = {};

    /// Hands the decoded bytes to `sink`, from memory or from the file.
    [[nodiscard]] bool WriteTo(const ContentSink& sink) const;
};

struct ParsedMail {
    /// Every header in order, name as written, value unfolded and decoded (UTF-8).
    std::vector<std::pair<std::string, std::string>> headers;
    bool multipart = false;
    /// Every text part (or the single body) in document order,
    /// transfer-decoded bytes, lines as in the mail (CR LF or LF).
    std::vector<std::string> textParts;
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
    /// The parsed message the attachments' sources read from.
    std::shared_ptr<void> message_;
};

/// Why a mail was not parsed.
enum class MailParseFault {
    None,
    NotAMail,     ///< no header block GMime can read, or a file that cannot be read
    Structure,    ///< over kMaxMailParts, kMaxMailDepth or kMaxMailHeaders
    TextTooLong,  ///< text parts over kMaxMailText
};

/// Parses a whole mail held in memory (CR LF or LF lines, dots already
/// unstuffed; at most kMaxParsedMail), its attachments decoded into memory;
/// false (with `out` cleared) when it is over a limit or not a mail at all.
[[nodiscard]] bool ParseMail(std::string_view raw, ParsedMail& out);
/// Parses a mail from its file; the attachments keep reading the file
/// (through their source) while `out` lives.
[[nodiscard]] MailParseFault ParseMailFile(const std::filesystem::path& file, ParsedMail& out);
/// Parses the headers only (the answer of TOP n 0).
[[nodiscard]] bool ParseMailHeaders(std::string_view raw, ParsedMail& out);

}  // namespace quarnel
