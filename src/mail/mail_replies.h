// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What SMTP and POP3 servers answer, cut into replies without sockets: the
// clients feed these readers what arrives (and the fuzz targets feed them
// anything).

#include <QByteArray>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "mail/mail_limits.h"

namespace quarnel {

/// One SMTP reply: its code (0 when the last line does not start with three
/// digits) and its lines joined by LF, line ends removed.
struct SmtpReply {
    int code = 0;
    std::string text;
};

/// Cuts SMTP replies from the bytes received, each line held to
/// kMaxReplyLine bytes and each reply to kMaxReplyLines lines. Lines end in
/// CR LF; a bare LF ends a line too. "ddd-" lines continue a reply.
class SmtpReplyReader {
  public:
    enum class Fault { None, LineTooLong, TooManyLines };

    void Append(std::string_view bytes) { inbox_.append(bytes); }
    /// The next whole reply; nothing when more bytes are needed or on a
    /// fault, after which the reader gives no more replies.
    [[nodiscard]] std::optional<SmtpReply> Next();
    [[nodiscard]] Fault fault() const { return fault_; }
    void Clear();

  private:
    std::string inbox_;  ///< received bytes not yet taken
    std::string text_;   ///< the lines of the reply so far
    std::size_t lines_ = 0;
    Fault fault_ = Fault::None;
};

/// Cuts POP3 lines (CR LF, without it) from the bytes received.
class Pop3LineReader {
  public:
    enum class Result { Line, More, TooLong, NoCrLf };

    void Append(const QByteArray& bytes) { pending_ += bytes; }
    /// The next line when Line; More when none is complete yet; TooLong when
    /// a line (end included) is over `limit` bytes; NoCrLf for a bare LF,
    /// unless `bareLf` lets it end a line.
    [[nodiscard]] Result Next(std::size_t limit, QByteArray& line, bool bareLf = false);
    /// Drops the line under way (after TooLong), up to its end, however many
    /// bytes are still to come; Next goes on with the line after it.
    void DiscardLine() { discarding_ = true; }
    void Clear();

  private:
    QByteArray pending_;
    qsizetype from_ = 0;  ///< the first byte not yet taken
    bool discarding_ = false;
};

/// The verdict of a POP3 status line: true for "+OK", false for "-ERR",
/// nothing for anything else.
[[nodiscard]] std::optional<bool> Pop3Verdict(const QByteArray& line);

/// The two numbers after the status word ("+OK count bytes" of STAT, "+OK n
/// size" of LIST); each is nothing when it is not a number.
struct Pop3Numbers {
    std::optional<qint64> first, second;
};
[[nodiscard]] Pop3Numbers ParsePop3Numbers(const QByteArray& line);

}  // namespace quarnel
