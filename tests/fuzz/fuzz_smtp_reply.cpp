// SPDX-License-Identifier: GPL-3.0-or-later
// SMTP replies as the client cuts them: the first byte gives the size of the
// pieces the bytes arrive in; every reply taken is held to the limits.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mail/mail_replies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    if (size == 0) return 0;
    const std::size_t piece = std::size_t(data[0]) * 16 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    SmtpReplyReader reader;
    for (std::size_t at = 0; at < bytes.size() && reader.fault() == SmtpReplyReader::Fault::None;
         at += piece) {
        reader.Append(bytes.substr(at, piece));
        while (const auto reply = reader.Next()) {
            if (reply->code < 0 || reply->code > 999) std::abort();
            if (reply->text.size() > kMaxReplyLine * kMaxReplyLines) std::abort();
        }
    }
    return 0;
}
