// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP replies at the client: the whole reply at once, and fed to the
// reader in pieces (the first byte gives their size) as a socket delivers
// them; both must agree on what they read.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "authority/connection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    if (size == 0) return 0;
    const std::size_t piece = std::size_t(data[0]) + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    HttpReplyReader at_once;
    (void)at_once.Feed(bytes);
    const HttpReply& whole = at_once.reply();
    HttpReplyReader reader;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        if (reader.Feed(bytes.substr(at, piece)) != HttpReplyReader::State::Reading) break;
    }
    const HttpReply& read = reader.reply();
    if (read.headerComplete != whole.headerComplete || read.status != whole.status ||
        read.contentLength != whole.contentLength || reader.Close() != at_once.Close() ||
        reader.Body() != at_once.Body()) {
        std::abort();
    }
    (void)reader.Arrived();
    (void)StatusDetail(read.statusLine);
    (void)ResolveLocation(HttpTarget{"127.0.0.1", 50255, "/QuarnelSys/"}, read.location);
    return 0;
}
