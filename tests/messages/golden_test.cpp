// The bytes of a message body and of an encrypted attachment file for a fixed
// nonce, clock and pair of holders, against the files kept in
// tests/data/messages; the golden body is a message the other holder reads.

#include "message_fixture.h"

namespace quarnel {
namespace {

using test::TwoHolders;

TEST_F(TwoHolders, GoldenBodyAndAttachmentForAFixedNonceAndClock) {
    const std::string text = "Bonjour Jean,\r\nvoici la facture.\r\n\xC0 bient\xF4t.";
    const std::string invoice = "Facture n\xB0 12 : 1 250,00 \x80\r\n";
    const auto attachment = WriteFile("facture.txt", invoice);
    SetSeed(20261205);
    ASSERT_TRUE(Encrypt(x, y, text, false, {attachment}).ok);
    const Lines& body = x->outgoingBody;
    // What does not depend on the nonce, spelled out.
    EXPECT_EQ(body[0], "Message chiffr\xE9 par \"QuarnelSys\"");
    EXPECT_EQ(body[2],
              "2005C26000"
              "0FF01000000"
              "0FF00002000");
    EXPECT_EQ(body.back(), "facture.txt");
    test::ExpectGolden("messages/message-20.txt", JoinLinesCrLf(body));
    test::ExpectGolden("messages/message-20-facture.txt", *ReadWholeFile(x.Sent() / "facture.txt"));

    Deliver(x, y);
    const auto golden =
        ReadWholeFile(std::filesystem::path(QUARNEL_TEST_DATA_DIR) / "messages" / "message-20.txt");
    ASSERT_TRUE(golden);
    ASSERT_TRUE(Receive(y, SplitLines(*golden)).ok);
    EXPECT_EQ(y->decrypted.text, text);
    EXPECT_EQ(*ReadWholeFile(y.Decrypted() / "facture.txt"), invoice);
}

}  // namespace
}  // namespace quarnel
