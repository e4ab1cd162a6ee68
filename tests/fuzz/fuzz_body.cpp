// SPDX-License-Identifier: GPL-3.0-or-later
// Received bodies: y reads what x sent, with one attachment file. The input
// is the body's bytes, a NUL, then the bytes of the attachment file every
// attachment name of the body stands for. y holds x's record, so seeds of
// make_corpus decipher and the fuzzer works past the structure check.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string_view>

#include "fuzz_holders.h"
#include "messages/decryption.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"

namespace {

struct State {
    std::filesystem::path root = quarnel::fuzz::ScratchFolder("body");
    quarnel::fuzz::FixedPair pair = quarnel::fuzz::MakeFixedPair(root);
    std::filesystem::path attachment = root / "attachment";
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    State& s = fuzz::Shared<State>();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view body = input.substr(0, nul);
    const std::string_view file =
        nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
    {
        std::ofstream out(s.attachment, std::ios::binary | std::ios::trunc);
        out.write(file.data(), std::streamsize(file.size()));
    }
    ProgramData& y = *s.pair.y;
    y.messages = MessageState{};
    const AttachmentSource attachments =
        [&s](const std::string&) -> std::optional<std::filesystem::path> { return s.attachment; };
    (void)ReadReceivedBody(
        y, y.messages, SplitLines(body), [](const Lines&) { return false; }, attachments);
    // Decrypted attachments land in y's folder: keep it from growing.
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(
             PathFromSetting(y.settings.decryptedFilesFolder), ec)) {
        std::filesystem::remove_all(e.path(), ec);
    }
    return 0;
}
