// SPDX-License-Identifier: GPL-3.0-or-later
// Encrypting and decrypting whole messages between two holders of the
// reference authority: bytes of message text per second, attachments aside.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <time.h>

#include <algorithm>
#include <cstdlib>

#include "app/program_data.h"
#include "crypto/cipher.h"
#include "crypto/cipher_path.h"
#include "crypto/random.h"
#include "crypto/text_stream.h"
#include "holder_setup.h"
#include "messages/decryption.h"
#include "messages/encryption.h"
#include "store/atomic_file.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

struct Pair {
    test::TempDir root;
    ta::RandomSource random = test::SeededRandom(1);
    ta::Affiliate x = test::NewAffiliate('F', "0FF00002000", "MARTIN", '1', random);
    ta::Affiliate y = test::NewAffiliate('A', "0FF01000000", "DUPONT", '0', random);
    std::unique_ptr<ProgramData> from = test::ContextOf(x, root.path() / "x");
    std::unique_ptr<ProgramData> to = test::ContextOf(y, root.path() / "y");

    Pair() {
        test::GivePairRecords(*from, x, *to, y, random);
        from->messages.recipientCategory = 'A';
        from->messages.recipientRecord = from->correspondents.a[0];
    }
    /// The message's body as the program encrypts it, into `body`.
    bool Encrypt(std::string_view text) {
        MessageProblem problem;
        return BuildMessageBody(*from, from->messages, Kind::PlainMessage, text, body, problem);
    }
    Lines body;
};

std::string Text(std::size_t size) {
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = char('a' + i % 26);
    return text;
}

void BM_EncryptMessage(benchmark::State& state) {
    Pair p;
    const std::string text = Text(std::size_t(state.range(0)));
    for (auto _ : state) {
        if (!p.Encrypt(text)) state.SkipWithError("not encrypted");
        benchmark::DoNotOptimize(p.body.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EncryptMessage)->Arg(1 << 10)->Arg(64 << 10);

void BM_DecryptMessage(benchmark::State& state) {
    Pair p;
    const std::string text = Text(std::size_t(state.range(0)));
    if (!p.Encrypt(text)) state.SkipWithError("not encrypted");
    const Lines body = p.body;
    for (auto _ : state) {
        if (!ReadReceivedBody(*p.to, p.to->messages, body, {}).ok)
            state.SkipWithError("not decrypted");
        benchmark::DoNotOptimize(p.to->messages.decrypted.text.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DecryptMessage)->Arg(1 << 10)->Arg(64 << 10);

// A short message with an attachment of `mib` MiB, through the message-level
// functions: the attachment file is read, enciphered and written (sending),
// then read, deciphered and written (receiving), fsync included, on one and
// on two threads.
struct AttachmentPair : Pair {
    std::filesystem::path file = root.path() / "rapport.bin";
    std::size_t size;
    explicit AttachmentPair(std::size_t mib) : size(mib << 20) {
        // Written a piece at a time: the peak memory counted is the work's.
        StreamingFileWriter w(file);
        std::string piece(1u << 20, '\0');
        bool ok = w.Open();
        for (std::size_t done = 0; done < size; done += piece.size()) {
            for (std::size_t i = 0; i < piece.size(); ++i)
                piece[i] = char(((done + i) * 131) >> 3);
            ok = ok && w.Write(piece);
        }
        if (!ok || !w.Commit()) std::abort();
        from->messages.attachments = {file};
    }
    bool Send() {
        if (!Encrypt("Voici le rapport.")) return false;
        const auto received = PathFromSetting(to->settings.receivedEncryptedFolder);
        for (const auto& f : from->messages.encryptedAttachments) {
            std::filesystem::copy_file(f, received / f.filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
        return true;
    }
    void ClearSent() {
        for (const auto& f : from->messages.encryptedAttachments)
            std::filesystem::remove(f);
    }
    bool Receive() {
        const bool ok = ReadReceivedBody(*to, to->messages, body, {}).ok &&
                        to->messages.decrypted.attachments.size() == 1;
        for (const auto& f : to->messages.decrypted.attachments)
            std::filesystem::remove(f);
        return ok;
    }
};

/// The process's peak resident size, in MiB.
double PeakMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

/// The raw batch cipher on one thread, on the path in use, measured once a
/// run: seconds per block, the median of runs over keys of every shape (the
/// cost of a key's powers varies a little with its bits).
double CipherPerBlock(Direction d) {
    static double per[2] = {0, 0};
    double& p = per[d == Direction::Encipher ? 1 : 0];
    if (p > 0) return p;
    std::vector<Quad> blocks(4096);
    for (std::size_t i = 0; i < blocks.size(); ++i)
        blocks[i] = Quad{Word(i), 1, 2, 3};
    std::vector<double> runs;
    std::uint32_t x = 12345;
    for (int r = 0; r < 32; ++r) {
        Quad key{};
        for (Word& w : key)
            w = x = x * 1664525u + 1013904223u;
        const double t0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
        CipherBlocksMasked(blocks, key, key, d);
        runs.push_back(Seconds(CLOCK_THREAD_CPUTIME_ID) - t0);
    }
    std::sort(runs.begin(), runs.end());
    return p = runs[runs.size() / 2] / double(blocks.size());
}

/// Real and process CPU time of the timed parts of a benchmark.
struct Clocks {
    double real = 0;
    double cpu = 0;
    double real0 = 0;
    double cpu0 = 0;
    void Start() {
        real0 = Seconds(CLOCK_MONOTONIC);
        cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    }
    void Stop() {
        real += Seconds(CLOCK_MONOTONIC) - real0;
        cpu += Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    }
};

/// Counters of an attachment benchmark: its throughput against the raw batch
/// cipher on the same path, by real time and by the process's CPU time
/// (which other work on the machine does not inflate).
void Report(benchmark::State& state, const Clocks& c, std::size_t bytes, Direction d) {
    const double blocks = double(state.iterations()) * double(bytes / 16);
    const double cipher = CipherPerBlock(d);
    state.counters["of_cipher_real"] = cipher * blocks / c.real;
    state.counters["of_cipher_cpu"] = cipher * blocks / c.cpu;
    state.counters["real_over_cpu"] = c.real / c.cpu;
    state.SetLabel(CipherPathName(ActiveCipherPath()));
}

// Arguments: MiB, threads.
void BM_AttachmentEncrypt(benchmark::State& state) {
    AttachmentPair p(std::size_t(state.range(0)));
    SetStreamThreads(unsigned(state.range(1)));
    const double baseline = PeakMiB();
    Clocks clocks;
    for (auto _ : state) {
        clocks.Start();
        if (!p.Encrypt("Voici le rapport.")) state.SkipWithError("refused");
        clocks.Stop();
        state.PauseTiming();
        p.ClearSent();
        state.ResumeTiming();
    }
    SetStreamThreads(0);
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
    state.counters["peak_MiB_above_start"] = PeakMiB() - baseline;
    Report(state, clocks, p.size, Direction::Encipher);
}
BENCHMARK(BM_AttachmentEncrypt)
    ->ArgsProduct({{10, 64, 200}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_AttachmentDecrypt(benchmark::State& state) {
    AttachmentPair p(std::size_t(state.range(0)));
    if (!p.Send()) state.SkipWithError("refused");
    SetStreamThreads(unsigned(state.range(1)));
    const double baseline = PeakMiB();
    Clocks clocks;
    for (auto _ : state) {
        clocks.Start();
        if (!p.Receive()) state.SkipWithError("not decrypted");
        clocks.Stop();
    }
    SetStreamThreads(0);
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
    state.counters["peak_MiB_above_start"] = PeakMiB() - baseline;
    Report(state, clocks, p.size, Direction::Decipher);
}
BENCHMARK(BM_AttachmentDecrypt)
    ->ArgsProduct({{10, 64, 200}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Sending then receiving one message with a 10 MiB attachment, with fsync:
// real_over_cpu is what the disk adds. Argument: threads.
void BM_Attachment10MiBRound(benchmark::State& state) {
    AttachmentPair p(10);
    SetStreamThreads(unsigned(state.range(0)));
    Clocks clocks;
    for (auto _ : state) {
        clocks.Start();
        if (!p.Send() || !p.Receive()) state.SkipWithError("lost");
        clocks.Stop();
        state.PauseTiming();
        p.ClearSent();
        state.ResumeTiming();
    }
    SetStreamThreads(0);
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
    state.counters["real_over_cpu"] = clocks.real / clocks.cpu;
    state.SetLabel(CipherPathName(ActiveCipherPath()));
}
BENCHMARK(BM_Attachment10MiBRound)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace quarnel
