#include "resources/texts.h"

#include <array>
#include <unordered_map>

#include "crypto/cp1252.h"

namespace quarnel {

std::span<const std::span<const TextEntry>> AllTextTables() {
    static const std::array<std::span<const TextEntry>, 6> tables = {
        CommonTexts(), AppTexts(), StoreTexts(), MessagesTexts(), AuthorityTexts(), MailTexts()};
    return tables;
}

const char* FrenchText(int id) {
    static const auto index = [] {
        std::unordered_map<int, const char*> m;
        for (auto table : AllTextTables()) {
            for (const TextEntry& e : table)
                m.emplace(e.id, e.french);
        }
        return m;
    }();
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
