// SPDX-License-Identifier: GPL-3.0-or-later
// The TA parameter file beside the program.

#include <cstdint>
#include <string_view>

#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/ta_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TaParameters params;
    std::string problem;
    (void)ParseTaParameters(SplitLines(bytes), params, &problem);
    return 0;
}
