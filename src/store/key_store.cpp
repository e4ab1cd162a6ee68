// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/key_store.h"

#include "crypto/hextext.h"

namespace quarnel {

bool CheckKeyStore(const RecordList& store, std::vector<std::string>* problems) {
    bool ok = true;
    auto report = [&](std::string what) {
        ok = false;
        if (problems) problems->push_back(std::move(what));
    };
    if (store.empty()) report("the key store holds no record");
    for (std::size_t r = 0; r < store.size(); ++r) {
        const Record& rec = store[r];
        const std::string where = "record " + std::to_string(r + 1);
        if (rec.size() != 2 && rec.size() != 6 && rec.size() != 7) {
            report(where + ": " + std::to_string(rec.size()) + " lines instead of 2, 6 or 7");
            if (!problems) return false;
        }
        for (std::size_t i = 0; i < rec.size(); ++i) {
            const std::size_t want = i == 0 ? 11 : 32;
            if (!IsHexText(rec[i], want)) {
                report(where + ", line " + std::to_string(i) + ": not " + std::to_string(want) +
                       " upper-case hexadecimal digits");
                if (!problems) return false;
            }
        }
    }
    return ok;
}

char KeyGenerationDigit(std::size_t records) {
    if (records == 0) return '0';
    return kHexDigits[(records - 1) % 16];
}

bool IsUpdatePending(const Record& own) {
    return own.size() > 3 && own[3] == kZeroLine;
}

}  // namespace quarnel
