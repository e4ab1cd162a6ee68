// The bytes of a message body and of an encrypted attachment file for a fixed
// nonce, clock and pair of holders, against the files kept in
// tests/data/messages (QUARNEL_WRITE_GOLDEN=1 writes them anew after a
// deliberate change of the format).

#include <cstdlib>

#include "message_fixture.h"

namespace quarnel {
namespace {

using test::TwoHolders;

std::filesystem::path GoldenDir() {
    return std::filesystem::path(QUARNEL_TEST_DATA_DIR) / "messages";
}

void CompareWithGolden(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = GoldenDir() / name;
    if (std::getenv("QUARNEL_WRITE_GOLDEN")) {
        std::filesystem::create_directories(GoldenDir());
        ASSERT_TRUE(WriteFileAtomically(path, bytes));
    }
    const auto golden = ReadWholeFile(path);
    ASSERT_TRUE(golden) << path;
    EXPECT_EQ(bytes, *golden) << name;
}

TEST_F(TwoHolders, GoldenBodyAndAttachmentForAFixedNonceAndClock) {
    const std::string text = "Bonjour Jean,\r\nvoici la facture.\r\n\xC0 bient\xF4t.";
    const std::string invoice = "Facture n\xB0 12 : 1 250,00 \x80\r\n";
    const auto attachment = WriteFile("facture.txt", invoice);
    SetSeed(20261205);
    ASSERT_TRUE(Encrypt(x, y, text, false, {attachment}).ok);
    const Lines& body = x.ctx->outgoingBody;
    // What does not depend on the nonce, spelled out.
    EXPECT_EQ(body[0], "Message chiffr\xE9 par \"QuarnelSys\"");
    EXPECT_EQ(body[2],
              "2005C26000"
              "0FF01000000"
              "0FF00002000");
    EXPECT_EQ(body.back(), "facture.txt");
    CompareWithGolden("message-20.txt", JoinLinesCrLf(body));
    CompareWithGolden("message-20-facture.txt", *ReadWholeFile(x.Sent() / "facture.txt"));

    // The golden body is a message the other holder reads.
    Deliver(x, y);
    const auto golden = ReadWholeFile(GoldenDir() / "message-20.txt");
    ASSERT_TRUE(golden);
    ASSERT_TRUE(Receive(y, SplitLines(*golden)).ok);
    EXPECT_EQ(y.ctx->decrypted.text, text);
    EXPECT_EQ(*ReadWholeFile(y.Decrypted() / "facture.txt"), invoice);
}

}  // namespace
}  // namespace quarnel
