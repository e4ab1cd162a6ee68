// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Enciphered texts too large to hold in memory (attachment files): the plain
// bytes are read a chunk at a time and the lines, each ended by CR LF, go to
// a sink as they are made. The bytes and the generator's state at the end are
// those of EncipherText / DecipherText on the whole text.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "crypto/text_cipher.h"

namespace quarnel {

/// Bytes read at a time (a whole number of the kernels' batches): with the
/// lines made of them it bounds what a stream holds, a few MiB.
inline constexpr std::size_t kStreamChunk = std::size_t(1) << 20;

/// Threads a stream's chunks are split across: `n`, or with 0 (the default)
/// the QUARNEL_THREADS environment variable when it is a positive number,
/// else the cores available. The bytes and the generator are the same for
/// any count.
void SetStreamThreads(unsigned n);
[[nodiscard]] unsigned StreamThreads();

/// Fills up to `size` bytes at `data`: how many (0 at the end), or nothing on
/// a read error.
using StreamSource = std::function<std::optional<std::size_t>(char* data, std::size_t size)>;
/// Takes the next bytes; false when they could not be written.
using StreamSink = std::function<bool(std::string_view bytes)>;
/// Bytes read so far and the total, after each chunk; false stops the work.
using StreamProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

enum class StreamResult {
    Done,
    Refused,         ///< a code or field that is not hexadecimal, or too many blocks
    ReadFailed,      ///< the source failed, or gave other than `size` bytes
    WriteFailed,     ///< the sink refused bytes
    Cancelled,       ///< the progress callback asked to stop
    Undecipherable,  ///< the header does not decipher or the blocks are not all there
    BadLine,         ///< with LineShape::Exact, a line of another shape or bytes after the text
};

/// How DecipherStream reads the lines.
enum class LineShape {
    /// As DecipherText reads a list of lines: leading blanks and zeros, lower
    /// case, any line end; a line that is not a number counts as 0.
    AsDecipherText,
    /// Only what EncipherStream writes: after the leading "<" lines, every
    /// line 32 upper-case digits and CR LF, nothing after the last block.
    Exact,
};

/// EncipherText of the `size` bytes that `source` gives, to `sink` as the
/// lines joined with CR LF.
[[nodiscard]] StreamResult EncipherStream(std::string_view code, char field1, char field2,
                                          const Quad& mask, const Quad& key, std::uint64_t size,
                                          double dateTime, const StreamSource& source,
                                          const StreamSink& sink,
                                          const StreamProgress& progress = {});

/// DecipherText of the lines that `source` gives (file bytes of `total`
/// bytes, lines ended by CR LF, LF or CR, leading lines that begin with "<"
/// skipped as mail noise): the plain bytes go to `sink`, the header's fields
/// to `header` (its text stays empty). On Undecipherable the generator stands
/// where DecipherText's failure leaves it, and so on BadLine, which comes
/// whatever the number of threads.
[[nodiscard]] StreamResult DecipherStream(const Quad& key, const Quad& mask, std::uint64_t total,
                                          const StreamSource& source, const StreamSink& sink,
                                          DecipheredText& header,
                                          const StreamProgress& progress = {},
                                          LineShape shape = LineShape::AsDecipherText);

}  // namespace quarnel
