// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/texts.h"

#include <unordered_map>

#include "crypto/cp1252.h"

namespace quarnel {

namespace {

// Filled before main() and only read afterwards.
struct Registry {
    std::vector<std::span<const TextEntry>> tables;
    std::unordered_map<int, const char*> index;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

bool RegisterTexts(std::span<const TextEntry> table) {
    Registry& r = TheRegistry();
    for (const auto& known : r.tables) {
        if (known.data() == table.data()) return true;
    }
    r.tables.push_back(table);
    for (const TextEntry& e : table)
        r.index.emplace(e.id, e.french);
    return true;
}

std::vector<std::span<const TextEntry>> AllTextTables() {
    return TheRegistry().tables;
}

const char* FrenchText(int id) {
    const auto& index = TheRegistry().index;
    const auto it = index.find(id);
    return it == index.end() ? "" : it->second;
}

std::string FillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> args) {
    return FillPlaceholders(pattern, std::span<const std::string_view>(args.begin(), args.size()));
}

std::string FillPlaceholders(std::string_view pattern, std::span<const std::string_view> args) {
    std::string out;
    auto arg = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
            arg != args.end()) {
            out += *arg++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string FrenchTextCp1252(int id) {
    std::string out;
    (void)Utf8ToCp1252(FrenchText(id), out);
    return out;
}

}  // namespace quarnel
