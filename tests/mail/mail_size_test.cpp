// SPDX-License-Identifier: GPL-3.0-or-later
// The composer's estimate of a mail's size against the mail really built for
// the same message, its attachments enciphered.

#include "mail/mail_size.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "holder_fixture.h"
#include "mail/mime.h"

namespace quarnel {
namespace {

class MailSize : public test::TwoHolders {};

TEST_F(MailSize, TheEstimateIsWithinOnePercentOrOneKilobyteOfTheMailBuilt) {
    const std::string text(5000, 't');
    for (const std::vector<std::size_t>& sizes :
         std::vector<std::vector<std::size_t>>{{}, {1}, {1024, 300 * 1024}, {2 << 20}}) {
        std::vector<std::filesystem::path> files;
        std::vector<std::uint64_t> bytes;
        for (const std::size_t size : sizes) {
            files.push_back(WriteFile("f" + std::to_string(files.size()), std::string(size, 'a')));
            bytes.push_back(size);
        }
        ASSERT_TRUE(Encrypt(x, y, text, false, files).ok);
        OutgoingMail mail{x->email, x->displayName, "Objet", {y->email}, x.body, {}};
        mail.attachments = x->messages.encryptedAttachments;
        const double built = double(BuildMail(mail).size());
        const double estimate = double(EstimatedMailBytes(text.size(), bytes));
        EXPECT_NEAR(estimate, built, std::max(built / 100, 1024.0)) << sizes.size() << " files";
    }
    // A file of 8.7 MB already makes a mail over the providers' 25 MB.
    const std::uint64_t file = 8'700'000;
    EXPECT_GT(EstimatedMailBytes(0, {&file, 1}), kProviderMailLimitBytes);
}

}  // namespace
}  // namespace quarnel
