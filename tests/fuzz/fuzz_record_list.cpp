// SPDX-License-Identifier: GPL-3.0-or-later
// Record-list files (the correspondent lists, the key store): what parses
// must be written back in a form that parses again.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "store/record_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RecordList list;
    LoadError error;
    if (ParseRecordList(bytes, list, &error)) {
        if (const auto written = SerializeRecordList(list)) {
            RecordList again;
            if (!ParseRecordList(*written, again)) std::abort();
            FreeRecordList(again, true);
        }
    }
    FreeRecordList(list, true);
    return 0;
}
