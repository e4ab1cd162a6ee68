// SPDX-License-Identifier: GPL-3.0-or-later
// MIME messages from the mailbox: the whole mail, and its headers alone (as
// TOP n 0 gives them).

#include <cstdint>
#include <string_view>

#include "mail/mime_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ParsedMail mail;
    (void)ParseMail(bytes, mail);
    ParsedMail headers;
    (void)ParseMailHeaders(bytes, headers);
    return 0;
}
