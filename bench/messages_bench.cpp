// Encrypting and decrypting whole messages between two holders of the
// reference authority: bytes of message text per second, attachments aside.

#include <benchmark/benchmark.h>

#include "app/program_data.h"
#include "authority/requests.h"
#include "crypto/random.h"
#include "holder_setup.h"
#include "messages/decryption.h"
#include "store/atomic_file.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

struct Pair {
    test::TempDir root;
    ta::RandomSource random = ta::SeededRandom(1);
    ta::Affiliate x = test::NewAffiliate('F', "0FF00002000", "MARTIN", '1', random);
    ta::Affiliate y = test::NewAffiliate('A', "0FF01000000", "DUPONT", '0', random);
    std::unique_ptr<ProgramData> from = test::ContextOf(x, root.path() / "x");
    std::unique_ptr<ProgramData> to = test::ContextOf(y, root.path() / "y");

    Pair() {
        test::GivePairRecords(*from, x, *to, y, random);
        from->messages.recipientCategory = 'A';
        from->messages.recipientRecord = from->correspondents.a[0];
        from->authority.requestKind = Kind::PlainMessage;
    }
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
        if (!BuildOutgoingBody(*p.from, p.from->authority, p.from->messages, text).ok)
            state.SkipWithError("not encrypted");
        benchmark::DoNotOptimize(p.from->authority.outgoingBody.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EncryptMessage)->Arg(1 << 10)->Arg(64 << 10);

void BM_DecryptMessage(benchmark::State& state) {
    Pair p;
    const std::string text = Text(std::size_t(state.range(0)));
    if (!BuildOutgoingBody(*p.from, p.from->authority, p.from->messages, text).ok)
        state.SkipWithError("not encrypted");
    const Lines body = p.from->authority.outgoingBody;
    for (auto _ : state) {
        if (!ReadReceivedBody(*p.to, p.to->messages, body, {}).ok)
            state.SkipWithError("not decrypted");
        benchmark::DoNotOptimize(p.to->messages.decrypted.text.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DecryptMessage)->Arg(1 << 10)->Arg(64 << 10);

// A short message with a 10 MiB attachment, through the message-level
// functions: the attachment file is read, enciphered and written (sending),
// then read, deciphered and written (receiving).
struct AttachmentPair : Pair {
    std::filesystem::path file = root.path() / "rapport.bin";
    AttachmentPair() {
        std::string bytes(10u << 20, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 131) >> 3);
        (void)WriteFileAtomically(file, bytes);
        from->messages.attachments = {file};
    }
};

void BM_Attachment10MiBEncrypt(benchmark::State& state) {
    AttachmentPair p;
    for (auto _ : state) {
        if (!BuildOutgoingBody(*p.from, p.from->authority, p.from->messages, "Voici le rapport.")
                 .ok)
            state.SkipWithError("refused");
        state.PauseTiming();
        for (const auto& f : p.from->messages.encryptedAttachments)
            std::filesystem::remove(f);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(10u << 20));
}
BENCHMARK(BM_Attachment10MiBEncrypt)->Unit(benchmark::kMillisecond);

void BM_Attachment10MiBDecrypt(benchmark::State& state) {
    AttachmentPair p;
    if (!BuildOutgoingBody(*p.from, p.from->authority, p.from->messages, "Voici le rapport.").ok)
        state.SkipWithError("refused");
    const auto received = PathFromSetting(p.to->settings.receivedEncryptedFolder);
    for (const auto& f : p.from->messages.encryptedAttachments) {
        std::filesystem::copy_file(f, received / f.filename());
    }
    const Lines body = p.from->authority.outgoingBody;
    for (auto _ : state) {
        if (!ReadReceivedBody(*p.to, p.to->messages, body, {}).ok)
            state.SkipWithError("not decrypted");
        if (p.to->messages.decrypted.attachments.size() != 1)
            state.SkipWithError("attachment lost");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(10u << 20));
}
BENCHMARK(BM_Attachment10MiBDecrypt)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarnel
