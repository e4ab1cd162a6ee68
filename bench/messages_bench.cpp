// Encrypting and decrypting whole messages between two holders of the
// reference authority: bytes of message text per second, attachments aside.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>

#include "app/program_data.h"
#include "crypto/random.h"
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
// then read, deciphered and written (receiving), fsync included. Real time:
// the work is split across threads (QUARNEL_THREADS=1 for one).
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

void BM_AttachmentEncrypt(benchmark::State& state) {
    AttachmentPair p(std::size_t(state.range(0)));
    const double baseline = PeakMiB();
    for (auto _ : state) {
        if (!p.Encrypt("Voici le rapport.")) state.SkipWithError("refused");
        state.PauseTiming();
        p.ClearSent();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
    state.counters["peak_MiB_above_start"] = PeakMiB() - baseline;
}
BENCHMARK(BM_AttachmentEncrypt)
    ->Arg(10)
    ->Arg(64)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_AttachmentDecrypt(benchmark::State& state) {
    AttachmentPair p(std::size_t(state.range(0)));
    if (!p.Send()) state.SkipWithError("refused");
    const double baseline = PeakMiB();
    for (auto _ : state) {
        if (!p.Receive()) state.SkipWithError("not decrypted");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
    state.counters["peak_MiB_above_start"] = PeakMiB() - baseline;
}
BENCHMARK(BM_AttachmentDecrypt)
    ->Arg(10)
    ->Arg(64)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Sending then receiving one message with a 10 MiB attachment.
void BM_Attachment10MiBRound(benchmark::State& state) {
    AttachmentPair p(10);
    for (auto _ : state) {
        if (!p.Send() || !p.Receive()) state.SkipWithError("lost");
        state.PauseTiming();
        p.ClearSent();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
}
BENCHMARK(BM_Attachment10MiBRound)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quarnel
