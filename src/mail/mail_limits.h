// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Limits shared by the mail clients: everything a server sends is bounded,
// in size and in time.

#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace quarnel {

/// The biggest message RETR takes: it goes to disk, not to memory, so the
/// figure is one of disk; a bigger one is left on the server.
inline constexpr std::int64_t kMaxPop3Message = std::int64_t(2) << 30;
/// The slowest transfer rate an honest link keeps up on the whole, in bytes
/// per second: a transfer slower than that over its whole length is cut.
inline constexpr std::int64_t kSlowestTransferRate = 4096;

/// Limits of a mail dialogue (tests shorten them).
struct MailLimits {
    std::chrono::milliseconds connect{30000};  ///< to open the connection
    /// For each reply, and without a byte in either direction during a
    /// transfer (RETR, DATA).
    std::chrono::milliseconds reply{60000};
    std::chrono::milliseconds tlsHandshake{30000};    ///< for the TLS handshake to complete
    std::int64_t slowestRate = kSlowestTransferRate;  ///< see kSlowestTransferRate
    std::int64_t maxMessage = kMaxPop3Message;        ///< see kMaxPop3Message
};

/// How long a transfer of `bytes` may last on the whole: the idle limit,
/// plus the bytes at the slowest rate.
[[nodiscard]] std::chrono::milliseconds TransferCeiling(const MailLimits& limits,
                                                        std::int64_t bytes);

/// The time limits of one transfer on a client's timer: `idle` without a
/// byte (re-armed by Touch at every piece received or written), and a
/// ceiling for the whole. The timer fires at whichever comes first;
/// CeilingReached() tells which it was.
class TransferDeadline {
  public:
    explicit TransferDeadline(QTimer& timer) : timer_(timer) {}
    void Start(std::chrono::milliseconds idle, std::chrono::milliseconds ceiling);
    void Touch();
    void Stop();
    [[nodiscard]] bool running() const { return running_; }
    /// Whether the timer was last armed for the ceiling (a timer may fire a
    /// little early: the clock is not asked again).
    [[nodiscard]] bool CeilingReached() const { return running_ && atCeiling_; }
    /// The ceiling given to Start.
    [[nodiscard]] std::chrono::milliseconds ceiling() const { return length_; }

  private:
    QTimer& timer_;
    std::chrono::milliseconds idle_{0};
    std::chrono::milliseconds length_{0};
    QDeadlineTimer ceiling_;
    bool running_ = false;
    bool atCeiling_ = false;
};

/// The longest reply line a server may send, end of line included; a longer
/// line ends the dialogue.
inline constexpr std::size_t kMaxReplyLine = 4096;
/// The most lines one multi-line reply may hold.
inline constexpr std::size_t kMaxReplyLines = 100;

/// A log line's detail holding several values (for the %s of its text, in
/// order), kept in one string so that every client's `logged` signal keeps
/// one shape.
[[nodiscard]] QString LogDetails(std::initializer_list<QString> values);
/// The values of a LogDetails detail, in order (one, empty, for "").
[[nodiscard]] QStringList SplitLogDetails(const QString& detail);
/// The log line of `pattern` (a text already translated) and a detail: its
/// %s filled in order with the detail's values, or, for a pattern without
/// %s, the detail after " : " when there is one.
[[nodiscard]] QString LogLine(const QString& pattern, const QString& detail);
/// LogLine of a resource text in French (the language of the tools' output
/// and of the error texts the clients hand over).
[[nodiscard]] QString FrenchLogLine(int textId, const QString& detail);

}  // namespace quarnel
