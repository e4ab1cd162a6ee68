// SPDX-License-Identifier: GPL-3.0-or-later
// Attachments too large to hold: streamed both ways in bounded memory, with
// progress, a stop that leaves no file, and spoilt files that leave no part.

#include <sys/resource.h>

#include "crypto/text_stream.h"
#include "holder_fixture.h"
#include "messages/encryption.h"
#include "messages/texts.h"

namespace quarnel {
namespace {

using test::TwoHolders;

/// Every name in the folder, temporary files included.
std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        names.push_back(e.path().filename().string());
    return names;
}

/// A file of `size` patterned bytes, written a chunk at a time.
std::filesystem::path PatternFile(const std::filesystem::path& path, std::size_t size) {
    std::filesystem::create_directories(path.parent_path());
    StreamingFileWriter w(path);
    EXPECT_TRUE(w.Open());
    std::string piece(kStreamChunk, '\0');
    for (std::size_t done = 0; done < size; done += piece.size()) {
        for (std::size_t i = 0; i < piece.size(); ++i)
            piece[i] = char(((done + i) * 131) >> 3);
        EXPECT_TRUE(
            w.Write(std::string_view(piece).substr(0, std::min(piece.size(), size - done))));
    }
    EXPECT_TRUE(w.Commit());
    return path;
}

bool SameFiles(const std::filesystem::path& a, const std::filesystem::path& b) {
    StreamingFileReader ra(a);
    StreamingFileReader rb(b);
    if (!ra.ok() || !rb.ok() || ra.size() != rb.size()) return false;
    std::string pa(kStreamChunk, '\0');
    std::string pb(kStreamChunk, '\0');
    for (;;) {
        const auto na = ra.Read(pa.data(), pa.size());
        std::size_t nb = 0;
        while (na && nb < *na) {
            const auto got = rb.Read(pb.data() + nb, *na - nb);
            if (!got || *got == 0) return false;
            nb += *got;
        }
        if (!na || pa.compare(0, *na, pb, 0, *na) != 0) return false;
        if (*na == 0) return true;
    }
}

long PeakKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

class Streaming : public TwoHolders {
  protected:
    /// The message as the composer sends it, with a progress callback.
    bool Send(const std::filesystem::path& file, const StreamProgress& progress,
              MessageProblem& problem) {
        const int i = FindCorrespondent(x->correspondents, 'A', y->ownNumber);
        if (i < 0) return false;
        x->messages.recipientCategory = 'A';
        x->messages.recipientRecord = x->correspondents.a[std::size_t(i)];
        x->messages.attachments = {file};
        body.clear();
        return BuildMessageBody(*x, x->messages, Kind::PlainMessage, "pièce jointe", body, problem,
                                progress);
    }
    ReceiveOutcome Read(const StreamProgress& progress = {}) {
        return ReadReceivedBody(*y, y->messages, body, {}, {}, progress);
    }
    Lines body;
};

TEST_F(Streaming, ChunksBothWaysWithProgressAndAStopThatLeavesNoFile) {
    const std::size_t size = 3 * kStreamChunk + 5;
    const auto file = PatternFile(root.path() / "files" / "film.bin", size);
    MessageProblem problem;
    int calls = 0;
    EXPECT_FALSE(Send(
        file, [&](std::uint64_t, std::uint64_t) { return ++calls < 2; }, problem));
    EXPECT_TRUE(problem.cancelled);
    EXPECT_TRUE(body.empty());
    EXPECT_TRUE(NamesIn(x.Sent()).empty());

    std::uint64_t last = 0;
    ASSERT_TRUE(Send(
        file,
        [&](std::uint64_t done, std::uint64_t total) {
            EXPECT_EQ(total, size);
            last = done;
            return true;
        },
        problem));
    EXPECT_EQ(last, size);
    Deliver(x, y);

    // Stopped while reading: nothing stays, and the previous message stands.
    calls = 0;
    y->messages.decrypted.digest = "avant";
    ReceiveOutcome o = Read([&](std::uint64_t, std::uint64_t) { return ++calls < 2; });
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.cancelled);
    EXPECT_EQ(o.refusal, ReceiveRefusal::Cancelled);
    EXPECT_EQ(y->messages.decrypted.digest, "avant");
    EXPECT_TRUE(NamesIn(y.Decrypted()).empty());

    const std::uint64_t encrypted = std::filesystem::file_size(x.Sent() / "film.bin");
    o = Read([&](std::uint64_t done, std::uint64_t total) {
        EXPECT_EQ(total, encrypted);
        last = done;
        return done <= total;
    });
    ASSERT_TRUE(o.ok);
    EXPECT_FALSE(o.cancelled);
    EXPECT_EQ(last, encrypted);
    ASSERT_EQ(y->messages.decrypted.attachments.size(), 1u);
    EXPECT_TRUE(SameFiles(y->messages.decrypted.attachments[0], file));

    // A file cut short: an empty file and the notice, never a part of it.
    std::filesystem::resize_file(y.Received() / "film.bin",
                                 std::filesystem::file_size(y.Received() / "film.bin") - 100);
    std::filesystem::remove(y.Decrypted() / "film.bin");
    ASSERT_TRUE(Read().ok);
    const DecryptedMessage& m = y->messages.decrypted;
    ASSERT_EQ(m.notices.size(), 1u);
    EXPECT_EQ(m.notices[0].text, txt::kAttachmentUndecipherable);
    EXPECT_EQ(std::filesystem::file_size(y.Decrypted() / "film.bin"), 0u);
    EXPECT_EQ(NamesIn(y.Decrypted()), std::vector<std::string>{"film.bin"});
}

// A bound on memory, not on time: 64 MiB each way stays far below what
// holding the file and its lines would take (eight times its size).
TEST_F(Streaming, A64MiBAttachmentTakesBoundedMemory) {
    const auto file = PatternFile(root.path() / "files" / "disque.img", std::size_t(64) << 20);
    const long before = PeakKiB();
    MessageProblem problem;
    ASSERT_TRUE(Send(file, {}, problem));
    Deliver(x, y);
    ASSERT_TRUE(Read().ok);
    ASSERT_EQ(y->messages.decrypted.attachments.size(), 1u);
    EXPECT_LE(PeakKiB() - before, 32 * 1024);
    EXPECT_TRUE(SameFiles(y->messages.decrypted.attachments[0], file));
}

}  // namespace
}  // namespace quarnel
