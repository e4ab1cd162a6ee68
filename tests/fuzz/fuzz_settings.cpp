// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: what parses is written back (as SaveSettings would,
// lines without control characters) in a form that parses again.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "holder/settings.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    HolderContext ctx;
    std::string problem;
    if (!ParseSettings(SplitLines(bytes), ctx.settings, &problem)) return 0;
    DeriveIdentityValues(ctx);
    const auto lines = SettingsLines(ctx.settings);
    for (const auto& line : lines) {
        for (const char c : line) {
            if (static_cast<unsigned char>(c) < 0x20) return 0;  // SaveSettings refuses these
        }
    }
    Settings again;
    if (!ParseSettings(SplitLines(JoinLinesCrLf(lines)), again, &problem)) std::abort();
    return 0;
}
