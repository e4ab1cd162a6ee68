// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rich message text: the RTF bytes a composer document is sent as, and the
// reading of RTF from other writers. Writing is canonical (one document, one
// byte string) because a certified message is compared byte for byte.

#include <QStringList>
#include <QTextDocument>
#include <cstddef>
#include <string>
#include <string_view>

namespace quarnel {

inline constexpr int kMaxRtfDepth = 1000;  // group nesting refused past this
inline constexpr std::size_t kMaxRtfBytes = std::size_t{64} << 20;  // larger input refused
inline constexpr int kMaxRtfParagraphs = 200000;                    // paragraphs of a document
inline constexpr int kMaxRtfRuns = 500000;         // differently formatted pieces of text
inline constexpr int kMaxRtfFonts = 4096;          // font table entries
inline constexpr int kMaxRtfColours = 4096;        // colour table entries
inline constexpr int kMaxRtfLists = 4096;          // list table and list override entries, each
inline constexpr int kMaxRtfFontNameLength = 256;  // UTF-16 units of one font name
inline constexpr int kMaxRtfWordLength = 32;       // letters of a control word
inline constexpr int kMaxRtfNumberDigits = 10;     // digits of a control word's number

struct RtfError {
    std::size_t offset = 0;
    std::string reason;
};

/// Reads RTF bytes (7-bit RTF; stray 8-bit bytes taken as code page 1252) into `doc`, replacing its
/// content. Malformed or past a limit: false, `error` says where and why, and `doc` is left as it
/// was.
[[nodiscard]] bool ReadRtf(std::string_view rtf, QTextDocument& doc, RtfError* error = nullptr);

/// The one canonical RTF of `doc` (ASCII bytes; outside code page 1252 as \uN?).
[[nodiscard]] std::string WriteRtf(const QTextDocument& doc);

/// Inserts `lines` as plain paragraphs (the document's default format) before the document's
/// content.
void PrependParagraphs(QTextDocument& doc, const QStringList& lines);

/// Removes the first `count` paragraphs; false when the document has fewer.
[[nodiscard]] bool DropLeadingParagraphs(QTextDocument& doc, int count);

}  // namespace quarnel
