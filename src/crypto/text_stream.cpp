// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/text_stream.h"

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "crypto/secret_memory.h"
#include "crypto/text_blocks.h"

namespace quarnel {
namespace {

using namespace textblocks;

static_assert(kStreamChunk % (16 * kChunk) == 0, "chunks hold whole batches");

constexpr std::size_t kLineBytes = 34;  // 32 digits and CR LF
constexpr std::size_t kChunkBlocks = kStreamChunk / 16;

std::atomic<unsigned> g_threads{0};

/// The working storage of one thread, kept for the whole stream so that the
/// key's schedule is made once.
struct Worker {
    gf::Scratch s;
    Chunk chunk;
};

/// Blocks a thread takes at a time: one batch, so that at the end of a run
/// the thread that finished first waits a fraction of a millisecond for the
/// other (with four batches a core stood idle for about a tenth of a
/// decryption on two threads), and a thread slowed by other work holds
/// little up.
constexpr std::size_t kPieceBlocks = kChunk;

/// Runs work(first, end, scratch, chunk) over the blocks [0, blocks), in
/// pieces of whole batches that this thread and the workers (started once
/// for the stream) take in turn. The workers' draws go to `s`: draws count
/// the same wherever the blocks went, and the generator only moves on this
/// thread.
class Batches {
  public:
    explicit Batches(gf::Scratch& s, Chunk& chunk)
        : s_(s), chunk_(chunk), threads_(StreamThreads()) {
        (void)gf::ActiveKernel();  // chosen before any worker asks
    }
    ~Batches() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        for (auto& t : threads_running_)
            t.join();
    }
    Batches(const Batches&) = delete;
    Batches& operator=(const Batches&) = delete;

    template <class Work>
    void Run(std::size_t blocks, Work&& work) {
        const std::size_t pieces = (blocks + kPieceBlocks - 1) / kPieceBlocks;
        if (threads_ <= 1 || pieces <= 1) {
            work(std::size_t(0), blocks, s_, chunk_);
            return;
        }
        Start();
        {
            const std::lock_guard lock(mutex_);
            job_ = {&work, &Call<std::remove_reference_t<Work>>, blocks};
            next_.store(0);
            busy_ = workers_.size();
            ++generation_;
        }
        wake_.notify_all();
        Take(job_, s_, chunk_);
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return busy_ == 0; });
        for (auto& w : workers_) {
            s_.draws += w->s.draws;
            w->s.draws = 0;
        }
    }

  private:
    struct Job {
        void* work = nullptr;
        void (*call)(void*, std::size_t, std::size_t, gf::Scratch&, Chunk&) = nullptr;
        std::size_t blocks = 0;
    };
    template <class Work>
    static void Call(void* work, std::size_t first, std::size_t end, gf::Scratch& s, Chunk& c) {
        (*static_cast<Work*>(work))(first, end, s, c);
    }

    void Start() {
        if (!threads_running_.empty()) return;
        for (unsigned i = 1; i < threads_; ++i) {
            workers_.push_back(std::make_unique<Worker>());
            threads_running_.emplace_back([this, &w = *workers_.back()] { Serve(w); });
        }
    }

    void Take(const Job& job, gf::Scratch& s, Chunk& c) {
        for (;;) {
            const std::size_t first = next_.fetch_add(kPieceBlocks);
            if (first >= job.blocks) return;
            job.call(job.work, first, std::min(job.blocks, first + kPieceBlocks), s, c);
        }
    }

    void Serve(Worker& w) {
        std::uint64_t seen = 0;
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
                if (stop_) return;
                seen = generation_;
                job = job_;
            }
            Take(job, w.s, w.chunk);
            {
                const std::lock_guard lock(mutex_);
                --busy_;
            }
            done_.notify_one();
        }
    }

    gf::Scratch& s_;
    Chunk& chunk_;
    unsigned threads_;
    std::vector<std::unique_ptr<Worker>> workers_;
    std::vector<std::thread> threads_running_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    Job job_;
    std::atomic<std::size_t> next_{0};
    std::size_t busy_ = 0;
    std::uint64_t generation_ = 0;
    bool stop_ = false;
};

/// The sink on a thread of its own, so that the cipher never waits on a
/// write: each run of bytes is written while the next is made. The bytes of
/// a run must stay as they are until the next Write (or Finish) returns, so
/// the caller fills two buffers in turn.
class WriterThread {
  public:
    explicit WriterThread(const StreamSink& sink) : sink_(sink), thread_([this] { Serve(); }) {}
    ~WriterThread() {
        (void)Finish();
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    WriterThread(const WriterThread&) = delete;
    WriterThread& operator=(const WriterThread&) = delete;

    /// Waits for the run before, then hands over this one; false when a
    /// write has failed (nothing is written after a failure).
    [[nodiscard]] bool Write(std::string_view bytes) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !pending_; });
        if (failed_) return false;
        bytes_ = bytes;
        pending_ = true;
        lock.unlock();
        changed_.notify_all();
        return true;
    }
    /// Waits for every write; false when one failed.
    [[nodiscard]] bool Finish() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !pending_; });
        return !failed_;
    }

  private:
    void Serve() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stop_ || pending_; });
            if (!pending_) return;
            const std::string_view bytes = bytes_;
            lock.unlock();
            const bool ok = sink_(bytes);
            lock.lock();
            failed_ = failed_ || !ok;
            pending_ = false;
            changed_.notify_all();
        }
    }

    const StreamSink& sink_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string_view bytes_;
    bool pending_ = false;
    bool failed_ = false;
    bool stop_ = false;
    std::thread thread_;  // last: it starts once the rest is made
};

/// HexToQuad of a line seen a piece at a time, in constant memory: leading
/// blanks go, leading zeros do not count, more than 32 digits or any other
/// character give 0.
struct LineScan {
    bool started = false;
    bool bad = false;
    unsigned digits = 0;
    U128 value = 0;

    void Feed(const char* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            const char c = p[i];
            if (!started) {
                if (c == ' ') continue;
                started = true;
            }
            const unsigned d = DigitOf(c);
            if (d >= 16) {
                bad = true;
            } else if (digits > 0 || d != 0) {
                if (digits < 32) value = (value << 4) | d;
                digits = std::min(digits + 1, 33u);
            }
        }
    }
    U128 Value() const { return started && !bad && digits <= 32 ? value : 0; }
};

/// The reading half of a stream on a thread of its own: the next run of
/// bytes is read while the one before is parsed, so that the workers never
/// wait on a read. The source is called from that thread only, one call at
/// a time, and not again after it ended or failed.
class ReaderThread {
  public:
    explicit ReaderThread(const StreamSource& source)
        : source_(source), buffer_(kStreamChunk), thread_([this] { Serve(); }) {}
    ~ReaderThread() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    ReaderThread(const ReaderThread&) = delete;
    ReaderThread& operator=(const ReaderThread&) = delete;

    /// The next run of bytes, in `into` (which must be kStreamChunk bytes
    /// and is taken in exchange): its size, 0 at the end, nothing on a
    /// read error.
    std::optional<std::size_t> Next(std::vector<char>& into) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return ready_; });
        into.swap(buffer_);
        const std::optional<std::size_t> got = got_;
        ready_ = false;
        wanted_ = got && *got > 0;
        lock.unlock();
        changed_.notify_all();
        return got;
    }

  private:
    void Serve() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stop_ || wanted_; });
            if (stop_) return;
            wanted_ = false;
            lock.unlock();
            const std::optional<std::size_t> got = source_(buffer_.data(), buffer_.size());
            lock.lock();
            got_ = got;
            ready_ = true;
            changed_.notify_all();
        }
    }

    const StreamSource& source_;
    std::vector<char> buffer_;  ///< the thread's, while it reads
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::size_t> got_;
    bool wanted_ = true;  ///< the first run is read at once
    bool ready_ = false;
    bool stop_ = false;
    std::thread thread_;  // last: it starts once the rest is made
};

/// The lines of a source as SplitLines cuts them, one value at a time.
class LineReader {
  public:
    LineReader(const StreamSource& source, LineShape shape)
        : reader_(source), buffer_(kStreamChunk), exact_(shape == LineShape::Exact) {}

    bool failed() const { return failed_; }
    bool badShape() const { return badShape_; }
    bool exact() const { return exact_; }
    std::uint64_t consumed() const { return consumed_; }
    /// The 32 digits at p as a block (lower case only when not exact); false
    /// when one is not a digit in this reading.
    bool LineAt(const char* p, U128& value) const { return HexLineAt(p, !exact_, value); }
    /// A line of the usual shape at p: 32 digits, CR, LF.
    bool RegularAt(const char* p, U128& value) const {
        return LineAt(p, value) && p[32] == '\r' && p[33] == '\n';
    }

    /// True when the input has ended; bytes left mark the shape bad.
    bool AtEnd() {
        if (Fill()) {
            badShape_ = true;
            return false;
        }
        return !failed_;
    }

    /// The next line's value and whether it is mail noise (begins with "<");
    /// false at the end of the input or on a read error.
    bool Next(U128& value, bool& noise) {
        if (!Fill()) return false;
        if (pendingLf_) {
            pendingLf_ = false;
            if (buffer_[pos_] == '\n' && (++pos_, !Fill())) return false;
        }
        // Nearly every line: 32 digits and CR LF, read without a search.
        if (len_ - pos_ >= kLineBytes && buffer_[pos_ + 32] == '\r' && buffer_[pos_ + 33] == '\n') {
            if (LineAt(buffer_.data() + pos_, value)) {
                noise = false;
                pos_ += kLineBytes;
                return true;
            }
        }
        noise = buffer_[pos_] == '<';
        if (exact_ && !noise) return NextExact(value);
        std::size_t end = FindEnd(pos_);
        if (end < len_) {
            value = HexValue(std::string_view(buffer_.data() + pos_, end - pos_));
            pos_ = end;
            SkipEnd();
            return true;
        }
        // The line goes on in the next piece of the input.
        LineScan scan;
        for (;;) {
            scan.Feed(buffer_.data() + pos_, len_ - pos_);
            pos_ = len_;
            if (!Fill()) {
                if (failed_) return false;
                break;
            }
            end = FindEnd(pos_);
            if (end < len_) {
                scan.Feed(buffer_.data() + pos_, end - pos_);
                pos_ = end;
                SkipEnd();
                break;
            }
        }
        value = scan.Value();
        return true;
    }

    /// The whole lines of 34 bytes at the read position, as far as the
    /// buffer holds them and at most `most`: their first byte, and their
    /// number in `count` (0 at the end of the input or on an error). The
    /// caller checks their shape (RegularAt) and moves on with SkipRegular
    /// over those of the usual shape.
    const char* PeekRegular(std::size_t most, std::size_t& count) {
        count = 0;
        if (!Fill()) return nullptr;
        if (pendingLf_) {
            pendingLf_ = false;
            if (buffer_[pos_] == '\n' && (++pos_, !Fill())) return nullptr;
        }
        // Whole lines in the buffer; their ends are checked with their
        // digits, on the workers (RegularAt).
        count = std::min(most, (len_ - pos_) / kLineBytes);
        return buffer_.data() + pos_;
    }
    void SkipRegular(std::size_t count) { pos_ += kLineBytes * count; }

  private:
    /// A line that the fast path did not take (cut between two pieces of
    /// the input, or not of the shape): its 34 bytes one at a time.
    bool NextExact(U128& value) {
        char line[kLineBytes];
        for (std::size_t i = 0; i < kLineBytes; ++i) {
            if (!Fill()) {
                // Cut at a line's start is the short text DecipherText sees.
                badShape_ = !failed_ && i > 0;
                return false;
            }
            line[i] = buffer_[pos_++];
        }
        if (!LineAt(line, value) || line[32] != '\r' || line[33] != '\n') {
            badShape_ = true;
            return false;
        }
        return true;
    }

    /// Data at pos_: false at the end of the input or on a read error.
    bool Fill() {
        while (pos_ == len_) {
            if (eof_ || failed_) return false;
            const std::optional<std::size_t> got = reader_.Next(buffer_);
            if (!got) {
                failed_ = true;
                return false;
            }
            pos_ = 0;
            len_ = *got;
            consumed_ += *got;
            if (*got == 0) eof_ = true;
        }
        return true;
    }
    std::size_t FindEnd(std::size_t from) const {
        const char* p = buffer_.data();
        while (from < len_ && p[from] != '\r' && p[from] != '\n')
            ++from;
        return from;
    }
    void SkipEnd() {
        const bool cr = buffer_[pos_] == '\r';
        ++pos_;
        if (!cr) return;
        if (pos_ < len_) {
            if (buffer_[pos_] == '\n') ++pos_;
        } else {
            pendingLf_ = true;  // a CR LF cut between two pieces
        }
    }

    ReaderThread reader_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    std::uint64_t consumed_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool pendingLf_ = false;
    bool badShape_ = false;
    bool exact_;
};

/// Reads exactly `size` bytes, or fails.
bool ReadFull(const StreamSource& source, char* data, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const std::optional<std::size_t> n = source(data + got, size - got);
        if (!n || *n == 0) return false;
        got += *n;
    }
    return true;
}

/// A plain-text buffer: pages of its own, out of core dumps, wiped when
/// released.
struct PlainBuffer {
    SecretPages bytes;
    explicit PlainBuffer(std::size_t size) : bytes(size) {}
};

}  // namespace

void SetStreamThreads(unsigned n) {
    g_threads.store(n, std::memory_order_relaxed);
}

unsigned StreamThreads() {
    if (const unsigned n = g_threads.load(std::memory_order_relaxed); n > 0) return n;
    if (const char* env = std::getenv("QUARNEL_THREADS")) {
        char* end = nullptr;
        const unsigned long n = std::strtoul(env, &end, 10);
        if (end != env && *end == '\0' && n > 0) return unsigned(std::min(n, 256ul));
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

StreamResult EncipherStream(std::string_view code, char field1, char field2, const Quad& mask,
                            const Quad& key, std::uint64_t size, double dateTime,
                            const StreamSource& source, const StreamSink& sink,
                            const StreamProgress& progress) {
    if (!ValidFields(code, field1, field2)) return StreamResult::Refused;
    const std::uint64_t n = (size + 15) / 16;
    if (n > 0x7FFFFFFFu) return StreamResult::Refused;
    const std::size_t pad = std::size_t(16 * n - size);

    const U128 k = gf::KeyValue(key);
    const U128 m = gf::FromQuad(mask);
    gf::Scratch s;
    Chunk chunk;
    U128 first;
    U128 second;
    EncipherHeader(HeaderText(dateTime, std::size_t(n), pad, code, field1, field2), k, m, s, chunk,
                   first, second);
    // Two buffers of lines: one is written while the next is made.
    std::string outs[2] = {std::string(kLineBytes * (kStreamChunk / 16), '\0'),
                           std::string(kLineBytes * (kStreamChunk / 16), '\0')};
    WriterThread writer(sink);
    char* o = outs[0].data();
    for (const U128 line : {first, second}) {
        o = PutHexLine(line, o);
        *o++ = '\r';
        *o++ = '\n';
    }
    if (!writer.Write(std::string_view(outs[0].data(), std::size_t(o - outs[0].data()))))
        return StreamResult::WriteFailed;
    // The literal form wipes each plain block, the header and the padded text.
    s.draws += 8 * n + 8 + 16 * n;

    PlainBuffer plain(std::size_t(std::min<std::uint64_t>(size, kStreamChunk)));
    Batches batches(s, chunk);
    for (std::uint64_t done = 0, turn = 1; done < size; ++turn) {
        std::string& out = outs[turn % 2];
        const std::size_t want = std::size_t(std::min<std::uint64_t>(kStreamChunk, size - done));
        if (!ReadFull(source, plain.bytes.data(), want)) return StreamResult::ReadFailed;
        const std::string_view piece(plain.bytes.data(), want);
        const std::size_t blocks = (want + 15) / 16;
        // Lines of fixed width: each range writes its own part of `out`.
        batches.Run(blocks, [&](std::size_t from, std::size_t end, gf::Scratch& ws, Chunk& wc) {
            char* line = out.data() + kLineBytes * from;
            for (std::size_t i = from; i < end;) {
                const std::size_t count = EncipherBatch(piece, i, end, k, m, ws, wc);
                for (std::size_t j = 0; j < count; ++j) {
                    line = PutHexLine(wc.blocks[j], line);
                    *line++ = '\r';
                    *line++ = '\n';
                }
                i += count;
            }
        });
        if (!writer.Write(std::string_view(out.data(), kLineBytes * blocks)))
            return StreamResult::WriteFailed;
        done += want;
        if (progress && !progress(done, size)) return StreamResult::Cancelled;
    }
    // A file that grew while it was read is not the file that was measured.
    char extra;
    const std::optional<std::size_t> more = source(&extra, 1);
    if (!more || *more != 0) return StreamResult::ReadFailed;
    return writer.Finish() ? StreamResult::Done : StreamResult::WriteFailed;
}

StreamResult DecipherStream(const Quad& key, const Quad& mask, std::uint64_t total,
                            const StreamSource& source, const StreamSink& sink,
                            DecipheredText& header, const StreamProgress& progress,
                            LineShape shape) {
    LineReader lines(source, shape);
    const auto lost = [&] {
        if (lines.failed()) return StreamResult::ReadFailed;
        return lines.badShape() ? StreamResult::BadLine : StreamResult::Undecipherable;
    };
    U128 v0 = 0;
    U128 v1 = 0;
    bool noise = true;
    while (noise) {
        if (!lines.Next(v0, noise)) return lost();
    }
    if (!lines.Next(v1, noise)) return lost();
    // Mail noise comes before the text only.
    if (noise && lines.exact()) return StreamResult::BadLine;

    const U128 k = gf::KeyValue(key);
    const U128 m = gf::FromQuad(mask);
    gf::Scratch s;
    std::string text;
    if (!DecipherHeader(v0, v1, k, m, s, text)) return StreamResult::Undecipherable;
    const std::string_view h(text);
    const auto n = static_cast<std::int32_t>(HexToWord(h.substr(16, 8)));
    if (n < 0) return StreamResult::Undecipherable;
    DecipheredText fields;
    fields.dateTime = HexToDate(h.substr(0, 16));
    const std::size_t pad = DigitOf(h[24]);
    fields.code = std::string(h.substr(25, 5));
    fields.field1 = h[30];
    fields.field2 = h[31];

    // A text cut short fails before any block in DecipherText: its draws
    // are those of the header alone.
    const std::uint64_t headerDraws = s.draws;
    s.draws += 8 * std::uint64_t(n);  // the literal form wipes each deciphered block
    const gf::Kernel& kernel = gf::ActiveKernel();
    Chunk chunk;
    Batches batches(s, chunk);
    // Two buffers of plain bytes: one is written while the next is made.
    PlainBuffer outs[2] = {PlainBuffer(kStreamChunk), PlainBuffer(kStreamChunk)};
    WriterThread writer(sink);
    std::vector<U128> values(std::min<std::size_t>(std::size_t(n), kChunkBlocks));
    const std::size_t blocks = std::size_t(n);
    // Deciphers values[first, end) into `out` on a worker.
    const auto decipher = [&](PlainBuffer& out, std::size_t first, std::size_t end, gf::Scratch& ws,
                              Chunk& wc) {
        for (std::size_t j = first; j < end;) {
            const std::size_t c = std::min(kChunk, end - j);
            U128* b = wc.Take(c);
            std::copy_n(values.data() + j, c, b);
            kernel.cipherBlocks(b, c, k, m, Direction::Decipher, ws);
            for (std::size_t x = 0; x < c; ++x)
                BytesOfBlock(b[x], out.bytes.data() + 16 * (j + x));
            j += c;
        }
    };
    // Blocks read but not deciphered yet, as ranges of the chunk.
    std::vector<std::pair<std::size_t, std::size_t>> later;
    // The pieces of a run deciphered, with their draws: only those wholly
    // before the run's first odd line count, for the lines from there on are
    // read again and deciphered again.
    struct Piece {
        std::size_t end = 0;  ///< 0: not deciphered
        std::uint64_t draws = 0;
    };
    std::vector<Piece> pieces;
    for (std::size_t i = 0, turn = 0; i < blocks; ++turn) {
        PlainBuffer& out = outs[turn % 2];
        const std::size_t count = std::min(kChunkBlocks, blocks - i);
        later.clear();
        for (std::size_t j = 0; j < count;) {
            // Lines of the usual shape are parsed on every thread, each
            // worker deciphering its lines while they are in its cache; a
            // line that is not all digits, and the lines of any other shape,
            // are read one by one as before and deciphered after the chunk.
            std::size_t run = 0;
            const char* regular = lines.PeekRegular(count - j, run);
            std::atomic<std::size_t> firstOdd{run};
            pieces.assign((run + kPieceBlocks - 1) / kPieceBlocks, Piece{});
            batches.Run(run, [&](std::size_t first, std::size_t end, gf::Scratch& ws, Chunk& wc) {
                if (first == end) return;
                for (std::size_t x = first; x < end; ++x) {
                    if (!lines.RegularAt(regular + kLineBytes * x, values[j + x])) {
                        std::size_t seen = firstOdd.load();
                        while (x < seen && !firstOdd.compare_exchange_weak(seen, x)) {
                        }
                        return;
                    }
                }
                const std::uint64_t before = ws.draws;
                decipher(out, j + first, j + end, ws, wc);
                pieces[first / kPieceBlocks] = {end, ws.draws - before};
                ws.draws = before;
            });
            const std::size_t parsed = firstOdd.load();
            std::size_t kept = 0;
            for (const Piece& piece : pieces) {
                if (piece.end == 0 || piece.end > parsed) break;
                s.draws += piece.draws;
                kept = piece.end;
            }
            lines.SkipRegular(parsed);
            if (kept < parsed) later.emplace_back(j + kept, j + parsed);
            j += parsed;
            if (parsed == run && run > 0) continue;
            if (j == count) continue;
            later.emplace_back(j, j + 1);
            const bool got = lines.Next(values[j++], noise);
            if (!got || (noise && lines.exact())) {
                s.draws = headerDraws;
                return got ? StreamResult::BadLine : lost();
            }
        }
        for (const auto& range : later) {
            const std::size_t from = range.first;  // clang 14 captures no structured binding
            batches.Run(range.second - from,
                        [&](std::size_t first, std::size_t end, gf::Scratch& ws, Chunk& wc) {
                            decipher(out, from + first, from + end, ws, wc);
                        });
        }
        i += count;
        const std::size_t used = 16 * count - (i == blocks ? pad : 0);  // the last block's padding
        if (!writer.Write(std::string_view(out.bytes.data(), used)))
            return StreamResult::WriteFailed;
        if (progress && !progress(lines.consumed(), total)) return StreamResult::Cancelled;
    }
    if (lines.exact() && !lines.AtEnd()) {
        s.draws = headerDraws;
        return lost();
    }
    if (!writer.Finish()) return StreamResult::WriteFailed;
    header = std::move(fields);
    return StreamResult::Done;
}

}  // namespace quarnel
