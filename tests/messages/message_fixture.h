#pragma once
// Messages between two holders x and y, sent as the mail would carry them.
// TwoHolders makes the pair in memory with the authority's issuing
// arithmetic: each has its own key record, settings, working folders and the
// other's correspondent record.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "authority/requests.h"
#include "crypto/cipher.h"
#include "crypto/own_keys.h"
#include "holder_fixture.h"
#include "messages/decryption.h"
#include "store/atomic_file.h"

namespace quarnel::test {

struct Holder {
    ta::Affiliate affiliate;  ///< as the authority keeps it (TwoHolders)
    std::unique_ptr<HolderContext> ctx;

    HolderContext& operator*() const { return *ctx; }
    HolderContext* operator->() const { return ctx.get(); }
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

class Messages : public ::testing::Test {
  protected:
    /// Builds the outgoing body of a message from `from` to `to`.
    static BuildResult Encrypt(Holder& from, const Holder& to, const std::string& text,
                               bool rich = false,
                               std::vector<std::filesystem::path> attachments = {}) {
        const char category = to->settings.category;
        const int i = FindCorrespondent(from->correspondents, category, to->ownNumber);
        EXPECT_GE(i, 0);
        from->recipientCategory = category;
        from->recipientRecord = i < 0 ? Record{} : (*from->correspondents.ForCategory(category))[i];
        from->requestKind = rich ? "21" : "20";
        from->attachments = std::move(attachments);
        return BuildOutgoingBody(*from, text);
    }

    /// The mail's way: the encrypted attachment files land in the recipient's
    /// received folder, the body lines arrive with the title line.
    static void Deliver(const Holder& from, const Holder& to) {
        for (const auto& path : from->encryptedAttachments) {
            std::filesystem::copy_file(path, to.Received() / path.filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }

    static ReceiveOutcome Receive(Holder& to, const Lines& body,
                                  const TaReplyHandler& replies = {}) {
        return ReadReceivedBody(*to, body, replies);
    }

    /// Encrypts, delivers and reads; the outcome of the recipient's reading.
    static ReceiveOutcome RoundTrip(Holder& from, Holder& to, const std::string& text,
                                    bool rich = false,
                                    std::vector<std::filesystem::path> attachments = {}) {
        const BuildResult built = Encrypt(from, to, text, rich, std::move(attachments));
        EXPECT_TRUE(built.ok) << built.problem << " " << from->messageProblemDetail;
        Deliver(from, to);
        return Receive(to, from->outgoingBody);
    }

    std::filesystem::path WriteFile(const std::string& name, const std::string& bytes) {
        const std::filesystem::path dir = root.path() / "files";
        std::filesystem::create_directories(dir);
        EXPECT_TRUE(WriteFileAtomically(dir / name, bytes));
        return dir / name;
    }

    TempDir root;
    Holder x;  // F, MARTIN
    Holder y;  // A, DUPONT
};

class TwoHolders : public Messages {
  protected:
    void SetUp() override {
        SetLocalClock([] { return LocalDateTime{2026, 12, 5, 14, 3, 7, 250}; });
        SetReseedClock([] { return 4242u; });
        SetSeed(4242);
        x = MakeHolder('F', "0FF00002000", "MARTIN", '1');
        y = MakeHolder('A', "0FF01000000", "DUPONT", '0');
        Pair(x, y);
    }
    void TearDown() override { ReleaseClocks(); }

    Holder MakeHolder(char category, const std::string& number, const std::string& name,
                      char flag) {
        Holder h;
        h.affiliate = NewAffiliate(category, number, name, flag, random);
        h.ctx = ContextOf(h.affiliate, root.path() / name);
        return h;
    }
    /// Gives each holder the other's correspondent record.
    void Pair(Holder& a, Holder& b) { GivePairRecords(*a, a.affiliate, *b, b.affiliate, random); }

    ta::RandomSource random = ta::SeededRandom(2026);
};

}  // namespace quarnel::test
