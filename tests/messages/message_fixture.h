#pragma once
// Two holders affiliated with the reference authority, made in memory with
// the authority's issuing arithmetic: each has its own key record, settings,
// working folders and the other's correspondent record. Helpers send a
// message from one to the other as the mail would carry it.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "affiliated_holders.h"
#include "authority/requests.h"
#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "crypto/own_keys.h"
#include "crypto/random.h"
#include "messages/decryption.h"
#include "messages/format.h"
#include "store/atomic_file.h"
#include "store/holder_context.h"
#include "ta/core/issuing.h"
#include "temp_dir.h"

namespace quarnel::test {

struct Holder {
    ta::Affiliate affiliate;
    std::unique_ptr<HolderContext> ctx;
    std::filesystem::path dir;

    std::filesystem::path Sent() const {
        return PathFromSetting(ctx->settings.sentEncryptedFolder);
    }
    std::filesystem::path Received() const {
        return PathFromSetting(ctx->settings.receivedEncryptedFolder);
    }
    std::filesystem::path Decrypted() const {
        return PathFromSetting(ctx->settings.decryptedFilesFolder);
    }
};

class TwoHolders : public ::testing::Test {
  protected:
    void SetUp() override {
        SetLocalClock([] { return LocalDateTime{2026, 12, 5, 14, 3, 7, 250}; });
        SetReseedClock([] { return 4242u; });
        SetSeed(4242);
        x = MakeHolder('F', "0FF00002000", "MARTIN", '1');
        y = MakeHolder('A', "0FF01000000", "DUPONT", '0');
        Pair(x, y);
    }
    void TearDown() override {
        SetLocalClock({});
        SetReseedClock({});
    }

    Holder MakeHolder(char category, const std::string& number, const std::string& name,
                      char flag) {
        Holder h;
        h.affiliate = NewAffiliate(category, number, IdentityOf(category, name), flag, random);
        h.dir = root.path() / name;
        h.ctx = ContextOf(h.affiliate, h.dir);
        return h;
    }

    /// Gives each holder the other's correspondent record.
    void Pair(Holder& a, Holder& b) {
        GivePairRecords(*a.ctx, a.affiliate, *b.ctx, b.affiliate, random);
    }

    /// Chooses `to` as the recipient of `from`'s next message.
    static void Address(Holder& from, const Holder& to) {
        const RecordList& list = *from.ctx->correspondents.ForCategory(to.affiliate.category);
        const int i =
            FindCorrespondent(from.ctx->correspondents, to.affiliate.category, to.affiliate.number);
        ASSERT_GE(i, 0);
        from.ctx->recipientCategory = to.affiliate.category;
        from.ctx->recipientRecord = list[std::size_t(i)];
    }

    /// Builds the outgoing body of a message from `from` to `to`.
    static BuildResult Encrypt(Holder& from, const Holder& to, const std::string& text,
                               bool rich = false,
                               std::vector<std::filesystem::path> attachments = {}) {
        Address(from, to);
        from.ctx->requestKind = rich ? "21" : "20";
        from.ctx->attachments = std::move(attachments);
        return BuildOutgoingBody(*from.ctx, text);
    }

    /// The mail's way: the encrypted attachment files land in the recipient's
    /// received folder, the body lines arrive with the title line.
    static void Deliver(const Holder& from, const Holder& to) {
        for (const auto& path : from.ctx->encryptedAttachments) {
            std::filesystem::copy_file(path, to.Received() / path.filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }

    static ReceiveOutcome Receive(Holder& to, const Lines& body) {
        return ReadReceivedBody(*to.ctx, body, [](HolderContext&, const Lines&) { return false; });
    }

    /// Encrypts, delivers and reads; the outcome of the recipient's reading.
    static ReceiveOutcome RoundTrip(Holder& from, Holder& to, const std::string& text,
                                    bool rich = false,
                                    std::vector<std::filesystem::path> attachments = {}) {
        const BuildResult built = Encrypt(from, to, text, rich, std::move(attachments));
        EXPECT_TRUE(built.ok) << built.problem << " " << from.ctx->messageProblemDetail;
        Deliver(from, to);
        return Receive(to, from.ctx->outgoingBody);
    }

    std::filesystem::path WriteFile(const std::string& name, const std::string& bytes) {
        const std::filesystem::path dir = root.path() / "files";
        std::filesystem::create_directories(dir);
        EXPECT_TRUE(WriteFileAtomically(dir / name, bytes));
        return dir / name;
    }

    TempDir root;
    ta::RandomSource random = ta::SeededRandom(2026);
    Holder x;  // F, registered
    Holder y;  // A, not registered
};

}  // namespace quarnel::test
